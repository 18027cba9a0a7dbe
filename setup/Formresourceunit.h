// The picture store of the installer's window: a form that is never shown and only holds the
// faces of the window's image buttons and its two backgrounds. Each picture is the program's
// RCDATA resource of the same name. It must exist before the main window is made, since the
// buttons take their faces from it.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/Forms.h"

class TResourceForm : public TForm {
public:
    // Loads every picture; a missing one throws.
    explicit TResourceForm(TComponent* owner);

    TImage* ImgBtnInstallNormal = nullptr;  // 163 x 40
    TImage* ImgBtnInstallHighlight = nullptr;
    TImage* ImgBtnUserGuideNormal = nullptr;  // 78 x 17
    TImage* ImgBtnUserGuideHighlight = nullptr;
    TImage* ImgBtnNextNormal = nullptr;  // 57 x 17
    TImage* ImgBtnNextHighlight = nullptr;
    TImage* ImgBtnCancelNormal = nullptr;  // 66 x 17
    TImage* ImgBtnCancelHighlight = nullptr;
    TImage* ImgBtnExitNormal = nullptr;  // 42 x 17
    TImage* ImgBtnExitHighlight = nullptr;
    TImage* ImgBgWelcome = nullptr;  // the window's background on the welcome page
    TImage* ImgBgStep = nullptr;     // and on the other pages
};

extern TResourceForm* ResourceForm;

// The program's RCDATA picture of that name into image; a missing one throws.
void LoadResourcePicture(TImage* image, const char* name);
