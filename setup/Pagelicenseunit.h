// The licence page: the licence file of the package in a read-only rich edit.
#pragma once

#include "../classlib/ComCtrls.h"
#include "Pagepropertyunit.h"

class TLicensePage : public TSetupPage {
public:
    explicit TLicensePage(TComponent* owner);

    // The program's directory + EULA, each time the page is shown; empty without the file.
    void InitPage() override;

    TRichEdit* RichEditLicense;
};
