// The wait window of the installer: a spinning figure and a growing meter while the packaged
// installer works. It closes itself at its 121st tick of 500 ms when no completion notice has
// ended the wait before.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/Forms.h"
#include "Setuprules.h"

class TProgressForm : public TForm {
public:
    static constexpr int kSpinnerPictures = 10;

    explicit TProgressForm(TComponent* owner);

    TImage* ImgBackground;
    TImage* ImgMeter;                 // the bar's left part, as wide as the control
    TImage* ImgSG[kSpinnerPictures];  // ImgSG01 ... ImgSG10, stacked
    TTimer* TimerProgress;

private:
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void TimerProgressTimer(TObject* sender);

    ProgressAnimation animation_;
    // The program is brought forward over the installer's dialog once a program run.
    bool installerShownOnce_ = false;
};

extern TProgressForm* ProgressForm;
