// The installer's wizard window: borderless and skinned, with three pages (welcome, licence,
// plug the adapter in) and image buttons along its foot. It runs the checks and the packaged
// installer, waits for its completion notice with the progress window, reports the result,
// starts what the installation registered, and offers the user guide with a reader's setup
// when no program opens it. The monitor's profile wizard closes it by its title.
#pragma once

#include <windows.h>

#include "../classlib/ExtCtrls.h"
#include "../classlib/Forms.h"
#include "../monitor/Qximage.h"
#include "Pagelicenseunit.h"
#include "Pageplug.h"
#include "Pagewelcome.h"

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* owner);

    TImage* ImgBackground;
    TQXImage* ImgBtnInstall;
    TQXImage* ImgBtnUserGuide;
    TQXImage* ImgBtnNext;
    TQXImage* ImgBtnCancel;
    TQXImage* ImgBtnExit;
    TWelcomePage* WelcomePage;
    TPlugPage* PlugPage;
    TLicensePage* LicensePage;
    TTimer* TimerCheckAcrobatSetup;

    TSetupPage* CurrentPage = nullptr;
    void ShowCurrentPage();
    // True while this window waits for the installer it started.
    bool Waiting() const { return waiting_; }

    void WndProc(TMessage& msg) override;

private:
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void ImgBtnInstallClick(TObject* sender);
    void ImgBtnCancelClick(TObject* sender);
    void ImgBtnNextClick(TObject* sender);
    void ImgBtnExitClick(TObject* sender);
    void ImgBtnUserGuideClick(TObject* sender);
    void TimerCheckAcrobatSetupTimer(TObject* sender);
    void ImgBackgroundMouseMove(TObject* sender, TShiftState shift, int x, int y);

    TQXImage* NewImageButton(const char* name, TImage* normal, TImage* highlight,
                             void (TMainForm::*click)(TObject*));
    // Shows the button or not; a shown one ends at right, which moves to its left edge.
    void PlaceBottomButton(TQXImage* button, int& right, bool visible);
    void InstallFinished();

    bool waiting_ = false;
    bool installDone_ = false;
    bool closedWhileWaiting_ = false;
    // Ticks of the reader-setup timer without the reader's window, over the program's run.
    int readerMissedTicks_ = 0;
};

extern TMainForm* MainForm;
