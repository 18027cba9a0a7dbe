// The installer's pages: the shared base page with the installer's page layout, 580 x 307 with
// one picture that each page fills with its own.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TSetupPage : public TPropertyPageFrame {
public:
    // picture: the RCDATA picture of the page, none for an empty one.
    TSetupPage(TComponent* owner, const char* picture);

    TImage* ImgBackground;
};
