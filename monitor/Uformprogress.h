// The progress dialog: a small borderless window showing five progress pictures,
// one per fifth of its duration, that ends early on the close-dialogs code. Other
// windows find it by its class "TFormProgress" and the application title.
#pragma once

#include <cstdint>

#include "../classlib/ExtCtrls.h"
#include "Uformbase.h"

class TFormProgress : public TFormBase {
public:
    explicit TFormProgress(TComponent* owner);

    // Shows the first step's picture.
    bool PrepareForm(int arg) override;

    TImage* ImgBg;
    TTimer* TimerClose;  // its Tag counts the steps shown

private:
    void FormCreate(TObject* sender);
    void TimerCloseTimer(TObject* sender);
};

// Runs the dialog modally, centred over owner when it is showing, else on the
// screen, until its fifth step (result 1) or bmCloseDialogs (result 2).
void ShowProgress(TFormProgress* form, TForm* owner, uint32_t durationMs);
