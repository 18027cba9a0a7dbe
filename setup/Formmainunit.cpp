#include "Formmainunit.h"

// after windows.h
#include <shellapi.h>

#include "../classlib/Application.h"
#include "../monitor/Uskinwindow.h"
#include "Formprogressunit.h"
#include "Formresourceunit.h"
#include "Setupsettings.h"

TMainForm* MainForm = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"ImgBackground", 0, 0, 580, 436},    {"ImgBtnInstall", 398, 26, 163, 40},
    {"ImgBtnUserGuide", 72, 380, 78, 17}, {"ImgBtnNext", 144, 380, 57, 17},
    {"ImgBtnCancel", 192, 380, 66, 17},   {"ImgBtnExit", 248, 380, 42, 17},
    {"WelcomePage", 0, 60, 580, 307},     {"PlugPage", 0, 60, 580, 307},
    {"LicensePage", 0, 60, 580, 307},
};

constexpr int kCornerEllipse = 25;
// Where the buttons along the foot end: their right edge on the welcome page and on the others.
constexpr int kWelcomeRight = 422;
constexpr int kStepRight = 574;
constexpr int kWelcomeInstallLeft = 336;
constexpr int kWelcomeInstallTop = 246;

AnsiString GuidePath() {
    return ProgramDirectory() + SetupSettings.UserGuide;
}

// FindExecutable's answer for the file: SE_ERR_NOASSOC when no program opens its type.
intptr_t AssociatedProgram(const AnsiString& file) {
    char program[MAX_PATH + 1] = {};
    return reinterpret_cast<intptr_t>(FindExecutableA(file.c_str(), "C:\\", program));
}

intptr_t ShellOpen(const AnsiString& file) {
    return reinterpret_cast<intptr_t>(
        ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

void InformUser(const char* text) {
    SetupMessageBox(text, SetupSettings.MsgTitle, MB_OK | MB_ICONINFORMATION);
}

void OpenGuide(const AnsiString& guide) {
    if (ShellOpen(guide) <= 32) InformUser(kCannotOpenGuideText);
}

// The flag is on for the scope's life, also when it ends by an exception.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    SetPosition(poScreenCenter);
    SetClientWidth(580);
    SetClientHeight(436);

    ImgBackground = NewControl<TImage>(this, this, kLayout, "ImgBackground");
    ImgBackground->SetAutoSize(true);
    ImgBackground->OnMouseMove = Bind(this, &TMainForm::ImgBackgroundMouseMove);

    TResourceForm* res = ResourceForm;
    ImgBtnInstall = NewImageButton("ImgBtnInstall", res->ImgBtnInstallNormal,
                                   res->ImgBtnInstallHighlight, &TMainForm::ImgBtnInstallClick);
    ImgBtnUserGuide =
        NewImageButton("ImgBtnUserGuide", res->ImgBtnUserGuideNormal, res->ImgBtnUserGuideHighlight,
                       &TMainForm::ImgBtnUserGuideClick);
    ImgBtnNext = NewImageButton("ImgBtnNext", res->ImgBtnNextNormal, res->ImgBtnNextHighlight,
                                &TMainForm::ImgBtnNextClick);
    ImgBtnCancel = NewImageButton("ImgBtnCancel", res->ImgBtnCancelNormal,
                                  res->ImgBtnCancelHighlight, &TMainForm::ImgBtnCancelClick);
    ImgBtnExit = NewImageButton("ImgBtnExit", res->ImgBtnExitNormal, res->ImgBtnExitHighlight,
                                &TMainForm::ImgBtnExitClick);

    WelcomePage = NewControl<TWelcomePage>(this, this, kLayout, "WelcomePage");
    PlugPage = NewControl<TPlugPage>(this, this, kLayout, "PlugPage");
    LicensePage = NewControl<TLicensePage>(this, this, kLayout, "LicensePage");

    TimerCheckAcrobatSetup = NewComponent<TTimer>(this, "TimerCheckAcrobatSetup");
    TimerCheckAcrobatSetup->SetEnabled(false);
    TimerCheckAcrobatSetup->SetInterval(kReaderTimerFirstMs);
    TimerCheckAcrobatSetup->OnTimer = Bind(this, &TMainForm::TimerCheckAcrobatSetupTimer);

    OnCreate = Bind(this, &TMainForm::FormCreate);
    OnShow = Bind(this, &TMainForm::FormShow);
    OnClose = Bind(this, &TMainForm::FormClose);
}

TQXImage* TMainForm::NewImageButton(const char* name, TImage* normal, TImage* highlight,
                                    void (TMainForm::*click)(TObject*)) {
    auto* button = NewControl<TQXImage>(this, this, kLayout, name);
    button->SetImageStyle(qsPushButton);
    button->SetImageSource(qsrcImage);
    button->SetMouseOverEffect(true);
    button->SetAutoSize(true);
    button->SetCursor(crHandPoint);
    button->SetImage(0, normal);
    button->SetImage(1, highlight);
    button->OnClick = Bind(this, click);
    return button;
}

void TMainForm::FormCreate(TObject*) {
    // Already installed: the program ends as soon as its message loop starts.
    if (IsAutorunInstalled()) Application->Terminate();
    SetCaption(Application->Title());
    if (!HasAdministratorRights()) {
        Application->MessageBox(kNoAdminText, kNoAdminTitle, MB_OK);
        Application->Terminate();
    }
    MakeBorderless(this, nullptr, kCornerEllipse);
}

void TMainForm::FormShow(TObject*) {
    CurrentPage = WelcomePage;
    ShowCurrentPage();
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    // Closed from outside while the installer runs: the wait ends, nothing more is started.
    if (!waiting_ || installDone_) return;
    closedWhileWaiting_ = true;
    ProgressForm->Close();
}

void TMainForm::ShowCurrentPage() {
    int right = kStepRight;
    WelcomePage->Hide();
    LicensePage->Hide();
    PlugPage->Hide();
    if (CurrentPage == WelcomePage) {
        ImgBtnInstall->SetBounds(kWelcomeInstallLeft, kWelcomeInstallTop, ImgBtnInstall->Width(),
                                 ImgBtnInstall->Height());
        ImgBackground->Picture()->Assign(ResourceForm->ImgBgWelcome->Picture());
        right = kWelcomeRight;
    } else if (CurrentPage == LicensePage) {
        ImgBackground->Picture()->Assign(ResourceForm->ImgBgStep->Picture());
        LicensePage->Show();
    } else if (CurrentPage == PlugPage) {
        PlugPage->Show();
    }
    CurrentPage->InitPage();
    PlaceBottomButton(ImgBtnExit, right, CurrentPage == WelcomePage);
    PlaceBottomButton(ImgBtnNext, right, CurrentPage != WelcomePage);
    PlaceBottomButton(ImgBtnUserGuide, right, CurrentPage == WelcomePage);
    PlaceBottomButton(ImgBtnCancel, right, CurrentPage == LicensePage);
}

void TMainForm::PlaceBottomButton(TQXImage* button, int& right, bool visible) {
    button->SetVisible(visible);
    if (!visible) return;
    right -= button->Width();
    button->SetLeft(right);
}

void TMainForm::ImgBtnInstallClick(TObject*) {
    if (!CheckPackage()) return;  // its message has been shown
    CurrentPage = LicensePage;
    ShowCurrentPage();
}

void TMainForm::ImgBtnCancelClick(TObject*) {
    CurrentPage = WelcomePage;
    ShowCurrentPage();
}

void TMainForm::ImgBtnNextClick(TObject*) {
    if (CurrentPage == PlugPage) {
        Close();
        return;
    }
    if (CurrentPage != LicensePage || waiting_) return;
    // The installer did not start and RunSetup has said so: there is nothing to wait for.
    if (!RunSetup()) return;
    installDone_ = false;
    closedWhileWaiting_ = false;
    {
        FlagScope wait(waiting_);
        CentreOver(ProgressForm, this);
        ProgressForm->ShowModal();
    }
    if (closedWhileWaiting_) return;
    StartRegisteredApplication();
}

void TMainForm::ImgBtnExitClick(TObject*) {
    if (Application->MessageBox(SetupSettings.MsgExit, SetupSettings.MsgTitle, MB_YESNO) != IDNO)
        Close();
}

void TMainForm::WndProc(TMessage& msg) {
    if (msg.Msg == WM_INSTALLDONE) {
        // A notice outside this run's wait is not this run's result.
        if (waiting_ && !installDone_) InstallFinished();
        msg.Result = 0;
        return;
    }
    TForm::WndProc(msg);
}

void TMainForm::InstallFinished() {
    installDone_ = true;
    // Gone before the result shows; the wait's loop ends at its next turn.
    ProgressForm->Close();
    ProgressForm->Hide();
    if (!CheckInstallResult()) {
        Close();  // the failure has been shown
        return;
    }
    CurrentPage = PlugPage;
    ShowCurrentPage();
    BringWindowToTop(Handle());
}

void TMainForm::ImgBackgroundMouseMove(TObject*, TShiftState shift, int, int) {
    DragByBackground(this, shift);
}

void TMainForm::ImgBtnUserGuideClick(TObject*) {
    AnsiString guide = GuidePath();
    if (AssociatedProgram(guide) != SE_ERR_NOASSOC) {
        OpenGuide(guide);
        return;
    }
    if (SetupMessageBox(kReaderMissingText, SetupSettings.MsgTitle, MB_YESNO) != IDYES) return;
    if (ShellOpen(ProgramDirectory() + SetupSettings.AcrobatReader) <= 32) {
        InformUser(kReaderSetupMissingText);
        return;
    }
    TimerCheckAcrobatSetup->SetInterval(kReaderTimerFirstMs);
    TimerCheckAcrobatSetup->SetEnabled(true);
}

void TMainForm::TimerCheckAcrobatSetupTimer(TObject*) {
    bool readerShown = FindWindowA(nullptr, SetupSettings.AcrobatReaderTitle.c_str()) != nullptr;
    switch (ReaderSetupTimerTick(readerShown, readerMissedTicks_)) {
        case ReaderTimerStep::PollEverySecond:
            TimerCheckAcrobatSetup->SetInterval(kReaderTimerPollMs);
            return;
        case ReaderTimerStep::KeepWaiting:
            return;
        case ReaderTimerStep::Finish:
            break;
    }
    TimerCheckAcrobatSetup->SetEnabled(false);
    AnsiString guide = GuidePath();
    if (AssociatedProgram(guide) > 32) OpenGuide(guide);
}
