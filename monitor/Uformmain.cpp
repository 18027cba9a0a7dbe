#include "Uformmain.h"

#include "../classlib/Application.h"
#include "../core/Udebug.h"
#include "../core/Udefine.h"
#include "../core/UdefineWin.h"
#include "../core/Uforeground.h"
#include "../core/Uprofile.h"
#include "../core/Uvyxwllib.h"
#include "Uformabout.h"
#include "Uformmessage.h"
#include "Uformprogress.h"
#include "Uformres.h"
#include "Uskinwindow.h"
#include "Uthreadcloseform.h"

TFormMain* FormMain = nullptr;
TMainPageFactory MainPageFactory;

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 580, 436},           {"BtnClose", 544, 8, 27, 27},
    {"ImgTabInfo", 4, 102, 119, 32},     {"ImgTabSiteSurvey", 127, 102, 119, 32},
    {"ImgProfile", 250, 102, 119, 32},   {"FrameSiteSurvey1", 4, 134, 447, 268},
    {"FrameProfile1", 4, 134, 447, 268}, {"FrameInfo1", 4, 134, 447, 268},
    {"ImgAdapter", 453, 134, 123, 269},
};

constexpr int kCornerEllipse = 20;
constexpr int kMessageQuestionYesNo = 36;

// The message dialog breaks lines where the text has a backslash followed by "n", as the
// string file writes them.
const char kIsUseUtility[] =
    "Your Adapter is currently using the Windows XP Wireless Zero Configuration Utility."
    "\\nDo you want to switch to the Tervalo Wireless Network Monitor?";
const char kIsUseZeroCfg[] =
    "Your Adapter is currently using the Tervalo Wireless Network Monitor."
    "\\nDo you want to switch to the Windows XP Wireless Zero Configuration utility?";

TBitmap* Face(TImage* image) {
    return image->Picture()->Bitmap();
}

// A page whose unit the program does not hold: the skin's page background alone.
class TBlankPage : public TPropertyPageFrame {
public:
    explicit TBlankPage(TComponent* owner) : TPropertyPageFrame(owner) {
        static const ControlSpec kPageLayout[] = {{"ImgBG", 0, 0, 447, 268}};
        ImgBG = NewControl<TImage>(this, this, kPageLayout, "ImgBG");
    }
    void InitPage() override {
        if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgFrameBG->Picture());
        TPropertyPageFrame::InitPage();
    }

private:
    TImage* ImgBG;
};

// The question of "FormMain" key (text when the string file has none) answered Yes.
bool SwitchConfirmed(TFormMain* form, const char* key, const char* text) {
    AnsiString question = FAGlobalVar.ReadTextString("FormMain", key, text);
    return form->ShowMainMessage(kMessageQuestionYesNo, question) == mrYes;
}

WLProfile NetworkAsProfile(const SiteSurveyEntry& entry) {
    WLProfile profile;
    ProfileFromSurveyEntry(FAGlobalVar, entry, profile, DriverChannel);
    return profile;
}

}  // namespace

TFormMain::TFormMain(TComponent* owner) : TFormBase(owner) {
    SetClientWidth(580);
    SetClientHeight(436);

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgBG->OnMouseMove = Bind(this, &TFormMain::ImgBGMouseMove);

    BtnClose = NewControl<TTrifaceBtn>(this, this, kLayout, "BtnClose");
    BtnClose->SetCursor(crHandPoint);
    BtnClose->SetTabStop(false);
    BtnClose->SetNoFocusRect(true);
    BtnClose->OnClick = Bind(this, &TFormMain::BtnCloseClick);

    auto tab = [this](const char* name) {
        auto* image = NewControl<TQXImage>(this, this, kLayout, name);
        // The window picks the selected face itself: a refused page switch keeps the tabs.
        image->SetImageStyle(qsButton);
        image->SetImageSource(qsrcImage);
        image->SetCursor(crHandPoint);
        return image;
    };
    ImgTabInfo = tab("ImgTabInfo");
    ImgTabSiteSurvey = tab("ImgTabSiteSurvey");
    ImgProfile = tab("ImgProfile");
    if (FormRes) {
        ImgTabInfo->SetImage(0, FormRes->ImgTabInfoN);
        ImgTabInfo->SetImage(1, FormRes->ImgTabInfoH);
        ImgTabSiteSurvey->SetImage(0, FormRes->ImgTabSiteSurveyN);
        ImgTabSiteSurvey->SetImage(1, FormRes->ImgTabSiteSurveyH);
        ImgProfile->SetImage(0, FormRes->ImgProfileN);
        ImgProfile->SetImage(1, FormRes->ImgProfileH);
    }
    ImgTabInfo->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        ShowPage(FrameInfo1);
    };
    ImgTabSiteSurvey->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        ShowPage(FrameSiteSurvey1);
    };
    ImgProfile->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        ShowPage(FrameProfile1);
    };

    FrameSiteSurvey1 = MakePage(TMainPageKind::SiteSurvey, "FrameSiteSurvey1");
    FrameProfile1 = MakePage(TMainPageKind::Profile, "FrameProfile1");
    FrameInfo1 = MakePage(TMainPageKind::Info, "FrameInfo1");

    ImgAdapter = NewControl<TImage>(this, this, kLayout, "ImgAdapter");

    MenuTrayIcon = NewComponent<TPopupMenu>(this, "MenuTrayIcon");
    auto item = [this](const char* name, const char* caption,
                       void (TFormMain::*handler)(TObject*)) {
        auto* menuItem = NewComponent<TMenuItem>(this, name);
        menuItem->Caption = caption;
        if (handler) menuItem->OnClick = Bind(this, handler);
        MenuTrayIcon->Add(menuItem);
        return menuItem;
    };
    MenuItAbout = item("MenuItAbout", "About", &TFormMain::MenuItAboutClick);
    MenuItUseUtility = item("MenuItUseUtility", "Use Wireless Configuration Utility",
                            &TFormMain::MenuItUseUtilityClick);
    MenuItUseZeroCfg = item("MenuItUseZeroCfg", "Use Windows XP Wireless Configuration",
                            &TFormMain::MenuItUseZeroCfgClick);
    N1 = item("N1", "-", nullptr);
    MenuItOpen = item("MenuItOpen", "Open Utility", &TFormMain::MenuItOpenClick);
    MenuItEnable = item("MenuItEnable", "Enable Utiltiy", &TFormMain::MenuItEnableClick);
    MenuItDisable = item("MenuItDisable", "Disable Utility", &TFormMain::MenuItDisableClick);
    MenuItClose = item("MenuItClose", "Close Utility", &TFormMain::MenuItCloseClick);

    TimerDevDect = NewComponent<TTimer>(this, "TimerDevDect");
    TimerDevDect->SetEnabled(false);
    TimerDevDect->SetInterval(DeviceTimerMs);
    TimerDevDect->OnTimer = Bind(this, &TFormMain::TimerDevDectTimer);

    TrayIconMain = NewComponent<TTrayIcon>(this, "TrayIconMain");
    if (FormRes) TrayIconMain->SetIcons(FormRes->imgListTrayIcon);
    TrayIconMain->OnClick = Bind(this, &TFormMain::TrayIconMainClick);
    TrayIconMain->OnMouseDown = Bind(this, &TFormMain::TrayIconMainMouseDown);
    TrayIconMain->OnMouseUp = Bind(this, &TFormMain::TrayIconMainMouseUp);

    OnCreate = Bind(this, &TFormMain::FormCreate);
    OnClose = Bind(this, &TFormMain::FormClose);
    OnDestroy = Bind(this, &TFormMain::FormDestroy);
}

TPropertyPageFrame* TFormMain::MakePage(TMainPageKind kind, const char* name) {
    TPropertyPageFrame* page = MainPageFactory ? MainPageFactory(this, kind) : nullptr;
    if (!page) page = new TBlankPage(this);
    page->Name = name;
    page->SetBoundsFrom(kLayout, sizeof(kLayout) / sizeof(kLayout[0]));
    page->Font()->SetName("Arial");
    page->Font()->SetSize(8);
    page->SetParent(this);
    page->Hide();
    return page;
}

IMainProfilePage* TFormMain::ProfilePage() const {
    return dynamic_cast<IMainProfilePage*>(FrameProfile1);
}

void TFormMain::FormCreate(TObject*) {
    MakeBorderless(this, FormRes ? FormRes->ImgMainBG->Picture() : nullptr, kCornerEllipse);
    auto list = [](TPropertyPageFrame* page) -> TWinControl* {
        auto* listPage = dynamic_cast<IMainListPage*>(page);
        return listPage ? listPage->PageList() : nullptr;
    };
    PageHost.Add(FrameSiteSurvey1, ImgTabSiteSurvey, list(FrameSiteSurvey1));
    PageHost.Add(FrameProfile1, ImgProfile, list(FrameProfile1));
    PageHost.Add(FrameInfo1, ImgTabInfo, this);
    BindBroadcasts();
}

bool TFormMain::PrepareForm(int arg) {
    ImgBG->Picture()->Assign(FormRes->ImgMainBG->Picture());
    BtnClose->SetFaces(Face(FormRes->ImgBtnCloseN));
    BtnClose->SetFacesDown(Face(FormRes->ImgBtnCloseH));
    BtnClose->SetFacesOver(Face(FormRes->ImgBtnCloseH));

    ReadTexts(FAGlobalVar.TextSection("Menu"), {{MenuItAbout, "ItAbout"},
                                                {MenuItUseUtility, "ItUseUtility"},
                                                {MenuItUseZeroCfg, "ItUseZeroCfg"},
                                                {MenuItOpen, "ItOpen"},
                                                {MenuItEnable, "ItEnable"},
                                                {MenuItDisable, "ItDisable"},
                                                {MenuItClose, "ItClose"}});

    const CCommonString& words = FAGlobalVar.Words;
    Texts = LoadTrayTexts(FAGlobalVar.TextSection("FormMain"), FAGlobalVar.AppTitle, words.Disabled,
                          words.Signal, words.Quality);

    if (FormAbout) FormAbout->PrepareForm(arg);

    PageHost.InitPages();
    ImgAdapter->Picture()->Assign(FormRes->ImgAdapterD->Picture());
    SetTray(TrayForAdapter(Texts, false, UtilityEnabled));
    TrayIconMain->SetVisible(true);

    ZeroCfgOn = FAGlobalVar.ReadSettingBool("Setting", "EnableZeroCfg", false);
    UtilityEnabled = FAGlobalVar.ReadSettingBool("Setting", "EnableUtility", true);
    SetUtilityEnabled(UtilityEnabled);

    ShowPage(FrameInfo1);

    CreateWorkers();
    DevDetect->RequestDetect(2);
    return TFormBase::PrepareForm(arg);
}

void TFormMain::CreateWorkers() {
    if (!Adapter) {
        Adapter.reset(new CAdapter(Handle(), WorkerTiming));
        Adapter->ShowProgressHook = RunProgressDialog;
    }
    if (!DevDetect) DevDetect.reset(new CThreadDevDetect(Handle()));
}

// ---- messages ----

// Every code but those of the wizard; only the open request goes on to the base handling.
void TFormMain::BindBroadcasts() {
    OnBroadcast(
        bmOpenUtility,
        [this](LPARAM) {
            // A second instance broadcasts the code and waits: let it go before the window or
            // the wizard, which runs modally, opens.
            if (InSendMessage()) ReplyMessage(0);
            MenuItOpenClick(this);
        },
        TBaseHandling::Run);
    OnBroadcast(bmDeviceListChanged, [this](LPARAM) { OnDeviceListChanged(); });
    OnBroadcast(bmStatusUpdated, [this](LPARAM lParam) {
        OnAdapterEvent(aeStatusUpdated, static_cast<int>(lParam));
    });
    OnBroadcast(bmShowPage, [this](LPARAM lParam) { OnPageRequest(lParam); });
    OnBroadcast(bmProfileSaved, [this](LPARAM lParam) -> LRESULT {
        if (IMainProfilePage* page = ProfilePage()) return page->OnProfileStored(lParam) ? 1 : 0;
        DebugPrint("profile saved %d: no profile page", static_cast<int>(lParam));
        return 0;
    });
    OnBroadcast(bmProfileApplied, [this](LPARAM lParam) {
        OnAdapterEvent(aeProfileApplied, static_cast<int>(lParam));
    });
    OnBroadcast(bmCloseDialogs, [this](LPARAM) { CloseDialogsAndHide(); });
    OnBroadcast(bmIgnoreDeviceChange,
                [this](LPARAM lParam) { IgnoreDeviceChange = lParam == dcIgnore; });
}

void TFormMain::WndProc(TMessage& msg) {
    if (msg.Msg == kMsgOpenProgram) {
        // The sender is let go before the window opens.
        if (InSendMessage()) ReplyMessage(1);
        msg.Result = 1;
        MenuItOpenClick(this);
        return;
    }
    if (IsResumeMessage(msg.Msg, msg.WParam)) {
        OnResume();
    } else if (msg.Msg == WM_DEVICECHANGE) {
        DebugPrint("WM_DEVICECHANGE %d %d", static_cast<int>(msg.WParam),
                   IgnoreDeviceChange ? 1 : 0);
        if (DeviceChangeRestartsTimer(msg.WParam, IgnoreDeviceChange)) RestartDeviceTimer();
    }
    TFormBase::WndProc(msg);
}

void TFormMain::RestartDeviceTimer() {
    TimerDevDect->SetEnabled(false);
    TimerDevDect->SetInterval(DeviceTimerMs);
    TimerDevDect->SetEnabled(true);
}

void TFormMain::TimerDevDectTimer(TObject*) {
    TimerDevDect->SetEnabled(false);
    if (!DevDetect) return;
    DebugPrint("StartDetectDev");
    DevDetect->RequestDetect(2);
}

void TFormMain::OnResume() {
    DetachDevice();
    // A power message can come before PrepareForm has made the thread.
    if (DevDetect) DevDetect->ClearDevices();
    RestartDeviceTimer();
    AutoConnectDue = true;
}

void TFormMain::OnPageRequest(LPARAM lParam) {
    if (lParam == spInfoPage) {
        ShowPage(FrameInfo1);
        if (auto* info = dynamic_cast<IMainInfoPage*>(FrameInfo1)) info->ShowStatusPanel();
    } else if (lParam == spProfilePage) {
        ShowPage(FrameProfile1);
    }
}

void TFormMain::CloseDialogsAndHide() {
    if (IMainProfilePage* page = ProfilePage()) {
        for (TOpenDialog* dialog : {page->ProfileOpenDialog(), page->ProfileSaveDialog()}) {
            if (!dialog || !dialog->Handle()) continue;
            HWND parent = GetParent(dialog->Handle());
            if (parent) EndDialog(parent, mrCancel);
        }
    }
    Hide();
}

// ---- pages ----

bool TFormMain::ShowPage(TPropertyPageFrame* page) {
    return PageHost.Jump(page);
}

void TFormMain::NotifyPagesAdapterChanged(int kind, int reserved) {
    PageHost.AdapterChanged(Adapter.get(), kind, reserved);
    if (FormAbout) FormAbout->AdapterChanged(Adapter.get(), kind, reserved);
}

void TFormMain::NotifyPagesAdapterEvent(int type, int value) {
    PageHost.AdapterEvent(Adapter.get(), type, value);
    if (FormAbout) FormAbout->AdapterEvent(Adapter.get(), type, value);
}

// ---- control of the adapter ----

void TFormMain::SetUtilityEnabled(bool on) {
    if (UtilityEnabled != on) {
        UtilityEnabled = on;
        FAGlobalVar.WriteSettingBool("Setting", "EnableUtility", UtilityEnabled);
    }
    if (UtilityEnabled && ZeroCfgOn) SetZeroConfigEnabled(false);
    SetTray(TrayForAdapter(Texts, CurDevice != nullptr, UtilityEnabled));
    OnAdapterEvent(aeControlSwitched, UtilityEnabled ? 1 : 0);
    if (!UtilityEnabled) CThreadCloseForm::Start([this] { OnCloseFormThreadDone(); });
}

void TFormMain::SetZeroConfigEnabled(bool on) {
    if (!ZeroConfigSupported(FAGlobalVar.WinVer)) return;
    if (ZeroCfgOn != on) {
        ZeroCfgOn = on;
        FAGlobalVar.WriteSettingBool("Setting", "EnableZeroCfg", ZeroCfgOn);
    }
    if (UtilityEnabled && ZeroCfgOn) SetUtilityEnabled(false);
    if (CurDevice && Adapter) Adapter->RequestZeroConfig(ZeroCfgOn);
}

void TFormMain::OnCloseFormThreadDone() {
    BtnCloseClick(this);
}

int TFormMain::ShowMainMessage(int flags, const AnsiString& text) {
    TAutoFree<TFormMessage> dialog(NewForm<TFormMessage>(Application));
    return ShowMessageBox(dialog.get(), nullptr, flags, text);
}

// ---- menu and tray ----

void TFormMain::MenuItAboutClick(TObject*) {
    if (FormAbout) FormAbout->Show();
}

void TFormMain::MenuItUseUtilityClick(TObject* sender) {
    MenuItEnableClick(sender);
}

void TFormMain::MenuItEnableClick(TObject*) {
    if (UtilityEnabled) return;
    if (ZeroCfgOn && !SwitchConfirmed(this, "IsUseUtility", kIsUseUtility)) return;
    SetUtilityEnabled(true);
    AutoConnectDue = true;
}

void TFormMain::MenuItDisableClick(TObject*) {
    if (UtilityEnabled) SetUtilityEnabled(false);
}

void TFormMain::MenuItUseZeroCfgClick(TObject*) {
    if (ZeroCfgOn) return;
    if (UtilityEnabled && !SwitchConfirmed(this, "IsUseZeroCfg", kIsUseZeroCfg)) return;
    SetZeroConfigEnabled(true);
}

void TFormMain::MenuItOpenClick(TObject* sender) {
    if (!UtilityEnabled) {
        MenuItEnableClick(sender);
        if (!UtilityEnabled) return;
    }
    if (Visible() || ProfileWizardShowing() || (ConnectSetForm && ConnectSetForm->Visible())) {
        Application->Restore();
    } else if (RegistryProfileExists(FAGlobalVar)) {
        Show();
    } else {
        RunFirstProfileWizard();
    }
    BringWindowToFront(Application->Handle());
}

void TFormMain::MenuItCloseClick(TObject*) {
    Close();
}

void TFormMain::BtnCloseClick(TObject*) {
    Hide();
}

void TFormMain::ImgBGMouseMove(TObject*, TShiftState shift, int, int) {
    DragByBackground(this, shift);
}

void TFormMain::TrayIconMainClick(TObject* sender) {
    MenuItOpenClick(sender);
}

void TFormMain::TrayIconMainMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button == mbRight) BringWindowToFront(Application->Handle());
}

void TFormMain::TrayIconMainMouseUp(TObject*, TMouseButton button, TShiftState shift, int, int) {
    if (button != mbRight) return;
    HWND foreground = GetForegroundWindow();
    DWORD owner = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &owner);
    if (!TrayMenuMayOpen(foreground != nullptr, owner == GetCurrentProcessId())) return;
    POINT cursor;
    GetCursorPos(&cursor);
    BuildTrayMenu();
    if ((shift & ssShift) && (shift & ssAlt) && (GetAsyncKeyState('F') & 0x8000))
        MenuItClose->Visible = true;
    MenuTrayIcon->Popup(cursor.x, cursor.y);
    PostMessageA(Handle(), WM_NULL, 0, 0);
}

void TFormMain::BuildTrayMenu() {
    TrayMenuItems items = TrayMenuFor(FAGlobalVar.WinVer, ZeroCfgOn, UtilityEnabled, false);
    MenuItAbout->Visible = items.About;
    MenuItUseUtility->Visible = items.UseUtility;
    MenuItUseZeroCfg->Visible = items.UseZeroCfg;
    MenuItOpen->Visible = items.Open;
    MenuItEnable->Visible = items.Enable;
    MenuItDisable->Visible = items.Disable;
    MenuItClose->Visible = items.Close;
}

void TFormMain::SetTray(const TrayState& state) {
    TrayIconMain->SetIconIndex(state.Icon);
    // The tray's own window carries the tip as its title, so what the notification area shows
    // can be read from outside the program (support tools, tests).
    if (TrayIconMain->SetHint(CutTrayTip(state.Tip)))
        SetWindowTextA(TrayIconMain->Handle(), TrayIconMain->Hint().c_str());
}

// ---- adapters and status ----

void TFormMain::OnDeviceListChanged() {
    std::vector<DeviceRecord> devices;
    if (DevDetect) DevDetect->GetDevices(devices);
    DebugPrint("new total dev %d", static_cast<int>(devices.size()));
    if (CurDevice) {
        bool present = false;
        for (const DeviceRecord& d : devices) present = present || SameDevice(d, *CurDevice);
        if (!present) DetachDevice();
    }
    if (!CurDevice && !devices.empty()) AttachDevice(&devices.front());
}

void TFormMain::AttachDevice(const DeviceRecord* record) {
    if (!record) return;
    if (CurDevice) {
        if (SameDevice(*record, *CurDevice)) return;
        DetachDevice();
    }
    DebugPrint("control (%s)%s-%s", TextField(record->Name).c_str(),
               TextField(record->HardwareId).c_str(), TextField(record->Suffix).c_str());
    CurDevice.reset(new DeviceRecord(*record));
    if (Adapter) Adapter->OpenDevice(CurDevice.get());
    ImgAdapter->Picture()->Assign(FormRes->ImgAdapterA->Picture());
    if (UtilityEnabled) AutoConnectDue = true;
    SetTray(TrayForAdapter(Texts, true, UtilityEnabled));
    NotifyPagesAdapterChanged(acAttached, 0);
}

void TFormMain::DetachDevice() {
    if (!CurDevice) return;
    NotifyPagesAdapterChanged(acDetached, 0);
    ImgAdapter->Picture()->Assign(FormRes->ImgAdapterD->Picture());
    if (Adapter) Adapter->CloseDevice();
    CurDevice.reset();
    SetTray(TrayForAdapter(Texts, false, UtilityEnabled));
    CThreadCloseForm::Start();
}

void TFormMain::OnAdapterEvent(int type, int value) {
    if (!CurDevice || !Adapter) return;
    if (type == aeStatusUpdated && UtilityEnabled) {
        WLStatus status;
        if (Adapter->GetAdapterStatus(status)) {
            UpdateTrayFromStatus(status);
            if (AutoConnectDue) {
                AutoConnectDue = false;
                if (!AutoConnect()) AutoConnectDue = true;
            }
        } else {
            SetTray(TrayNoLink(Texts));
        }
    } else if (type == aeProfileApplied && UtilityEnabled) {
        SetTray(TrayNoLink(Texts));
    }
    // The wizard of an automatic connection runs its own message loop: the adapter may be gone.
    if (!CurDevice) return;
    NotifyPagesAdapterEvent(type, value);
}

void TFormMain::UpdateTrayFromStatus(const WLStatus& status) {
    SetTray(TrayForStatus(Texts, status));
}

bool TFormMain::ReadStoredProfiles(std::vector<WLProfile>& profiles) {
    return Adapter && Adapter->GetProfiles(profiles);
}

bool TFormMain::AutoConnect() {
    Adapter->RequestZeroConfig(false);
    std::vector<WLProfile> profiles;
    std::vector<SiteSurveyEntry> scan;
    bool read = ReadStoredProfiles(profiles);
    Adapter->GetSiteSurvey(scan);
    switch (AutoConnectStepFor(read, profiles.size())) {
        case AutoConnectStep::StayDue:
            DebugPrint("auto connect waits: profile list not loaded");
            return false;
        case AutoConnectStep::FirstRunWizard:
            RunFirstProfileWizard();
            return true;
        case AutoConnectStep::Choose:
            break;
    }
    AnsiString last;
    Adapter->GetLastAppliedName(last);
    AutoConnectChoice choice =
        ChooseAutoConnectProfile(profiles, scan, last, FAGlobalVar.DefProfName, NetworkAsProfile);
    if (!choice.Profile) return true;
    Adapter->ApplyProfileByName(TextField(choice.Profile->ProfileName), nullptr);
    DebugPrint("%s", AutoConnectLogLine(choice).c_str());
    return true;
}

void TFormMain::RunFirstProfileWizard() {
    if (ProfileWizardShowing()) return;
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    bool done = false;
    if (IMainProfilePage* page = ProfilePage()) {
        done = page->RunProfileWizard(WizardModeFirstRun);
    } else {
        DebugPrint("RunProfileWizard(%d): no profile page", WizardModeFirstRun);
    }
    if (done && !Visible()) MenuItOpenClick(this);
}

// ---- closing ----

void TFormMain::FormClose(TObject*, TCloseAction&) {
    PageHost.ClosePages();
    if (DevDetect) DevDetect->StopDetect();
    if (Adapter) Adapter->StopAdapter();
}

void TFormMain::FormDestroy(TObject*) {
    StopThreads();
}

void TFormMain::StopThreads() {
    TimerDevDect->SetEnabled(false);
    // A thread that did not stop in time frees itself when it ends; never under its feet.
    if (DevDetect) {
        DevDetect->StopDetect();
        ReleaseThread(DevDetect);
    }
    if (Adapter) {
        Adapter->StopAdapter();
        ReleaseThread(Adapter);
    }
    CurDevice.reset();
}

bool ControlOnFor(TControl* page) {
    return dynamic_cast<TFormBase*>(GetParentForm(page)) && FormMain && FormMain->UtilityEnabled;
}

void RunProgressDialog(TForm* owner, int ms) {
    TAutoFree<TFormProgress> dialog(NewForm<TFormProgress>(Application));
    ShowProgress(dialog.get(), owner, static_cast<uint32_t>(ms));
}
