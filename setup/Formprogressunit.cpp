#include "Formprogressunit.h"

#include <windows.h>

#include "../classlib/Application.h"
#include "../core/Uforeground.h"
#include "Formresourceunit.h"

TProgressForm* ProgressForm = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"ImgBackground", 0, 0, 280, 80}, {"ImgMeter", 97, 46, 140, 22}, {"ImgSG01", 22, 17, 47, 47},
    {"ImgSG02", 22, 17, 47, 47},      {"ImgSG03", 22, 17, 47, 47},   {"ImgSG04", 22, 17, 47, 47},
    {"ImgSG05", 22, 17, 47, 47},      {"ImgSG06", 22, 17, 47, 47},   {"ImgSG07", 22, 17, 47, 47},
    {"ImgSG08", 22, 17, 47, 47},      {"ImgSG09", 22, 17, 47, 47},   {"ImgSG10", 22, 17, 47, 47},
};

// The class of the packaged installer's dialogs.
const char kInstallerDialogClass[] = "DlgcacClsName";

}  // namespace

TProgressForm::TProgressForm(TComponent* owner) : TForm(owner) {
    SetClientWidth(280);
    SetClientHeight(80);
    ImgBackground = NewControl<TImage>(this, this, kLayout, "ImgBackground");
    LoadResourcePicture(ImgBackground, "ImgSetupProgressBG");
    ImgMeter = NewControl<TImage>(this, this, kLayout, "ImgMeter");
    LoadResourcePicture(ImgMeter, "ImgSetupMeter");
    for (int i = 0; i < kSpinnerPictures; ++i) {
        AnsiString name = Format("ImgSG%02d", i + 1);
        ImgSG[i] = NewControl<TImage>(this, this, kLayout, name.c_str());
        LoadResourcePicture(ImgSG[i], name.c_str());
    }
    TimerProgress = NewComponent<TTimer>(this, "TimerProgress");
    TimerProgress->SetEnabled(false);
    TimerProgress->SetInterval(kProgressTickMs);
    TimerProgress->OnTimer = Bind(this, &TProgressForm::TimerProgressTimer);
    OnShow = Bind(this, &TProgressForm::FormShow);
    OnClose = Bind(this, &TProgressForm::FormClose);
}

void TProgressForm::FormShow(TObject*) {
    animation_ = ProgressAnimation{};
    ImgMeter->SetWidth(0);
    TimerProgress->SetEnabled(true);
}

void TProgressForm::FormClose(TObject*, TCloseAction&) {
    TimerProgress->SetEnabled(false);
}

void TProgressForm::TimerProgressTimer(TObject*) {
    ProgressTick tick = AdvanceProgress(animation_);
    ImgSG[tick.Picture]->BringToFront();
    ImgMeter->SetWidth(tick.MeterWidth);
    if (tick.Close) {
        TimerProgress->SetEnabled(false);
        Close();
    }
    if (!installerShownOnce_ && FindWindowA(kInstallerDialogClass, nullptr)) {
        // The application's window owns ours: they all come over the installer's dialog.
        BringWindowToFront(Application->Handle());
        installerShownOnce_ = true;
    }
}
