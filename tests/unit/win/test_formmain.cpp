// The main window: preparation, tray menu, control switches and their questions, page switching
// and the messages it takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "test_formmain_fixture.h"

using namespace mainwin;

namespace {

std::vector<std::string> Captions(TFormMain* form) {
    std::vector<std::string> captions;
    for (int i = 0; i < form->MenuTrayIcon->Count(); ++i)
        captions.push_back(form->MenuTrayIcon->Items(i)->Caption);
    return captions;
}

// The items of the tray menu while it is open.
std::vector<std::string> OpenMenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        items.push_back(text[0] ? text : "-");
    }
    return items;
}

class KeyboardState {
public:
    // Shift and Alt held for this thread's key state; F for the system's, as a user presses it.
    KeyboardState(bool shiftAlt, bool f) : f_(f) {
        GetKeyboardState(saved_);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_MENU] = shiftAlt ? 0x80 : 0;
        SetKeyboardState(keys);
        if (f_) Key(0);
    }
    ~KeyboardState() {
        if (f_) Key(KEYEVENTF_KEYUP);
        SetKeyboardState(saved_);
    }

private:
    static void Key(DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = 'F';
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
    BYTE saved_[256];
    bool f_;
};

}  // namespace

TEST_F(MainWindow, PrepareFormTakesItsWordsInitsPagesAndShowsTheTray) {
    Configure("", 7,
              "[Menu]\r\nItAbout=Info\r\nItClose=Quit\r\n"
              "[FormMain]\r\nDevName=Stick\r\nTrayTipActive=%s %d%% ready\r\n");
    MakeAndPrepare();
    EXPECT_EQ(Captions(form_), (std::vector<std::string>{
                                   "Info", "Use Wireless Configuration Utility",
                                   "Use Windows XP Wireless Configuration", "-", "Open Utility",
                                   "Enable Utiltiy", "Disable Utility", "Quit"}));
    EXPECT_EQ(form_->Texts.TipActive, "Stick %d%% ready");
    EXPECT_EQ(form_->Texts.TipNoLink, "Stick\nSignal: N/A\nQuality: N/A");
    EXPECT_EQ(form_->Texts.TipDefault, "Wavelorn");
    // Pages in layout order, each hidden after its init; then the information page.
    EXPECT_EQ(journal_.Lines, (std::vector<std::string>{"survey init", "profile init", "info init",
                                                        "info enter 0 0"}));
    EXPECT_EQ(form_->ActivePage(), info_);
    EXPECT_TRUE(info_->Visible());
    EXPECT_FALSE(survey_->Visible() || profile_->Visible());
    EXPECT_EQ(form_->ImgTabInfo->ImageIndex(), 1);
    EXPECT_EQ(form_->ImgProfile->ImageIndex(), 0);
    EXPECT_TRUE(form_->TrayIconMain->Visible());
    EXPECT_FALSE(form_->Visible());
    EXPECT_TRUE(form_->UtilityEnabled);
    EXPECT_EQ(form_->ClientWidth(), 580);
    EXPECT_EQ(form_->ClientHeight(), 436);
    EXPECT_EQ(form_->Caption(), Application->Title());
    EXPECT_EQ(Setting("EnableUtility"), "(none)") << "an unchanged value is not written";

    // A first detection finds the adapter: attached, with the tray's active tip.
    ASSERT_TRUE(WaitAttached());
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 2);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "Stick %d%% ready");
    char title[160] = {};
    GetWindowTextA(form_->TrayIconMain->Handle(), title, sizeof(title));
    EXPECT_STREQ(title, "Stick %d%% ready");
}

TEST_F(MainWindow, PowerMessagesBeforePrepareFormAreSafe) {
    Make();
    SendMessageA(form_->Handle(), WM_POWERBROADCAST, 7, 0);
    SendMessageA(form_->Handle(), WM_POWER, 2, 0);
    EXPECT_TRUE(form_->AutoConnectDue);
    EXPECT_TRUE(form_->TimerDevDect->Enabled());
    // The timer finds no thread to ask yet.
    ASSERT_TRUE(PumpUntil([&] { return !form_->TimerDevDect->Enabled(); }));
    EXPECT_EQ(Log().find("StartDetectDev"), std::string::npos);
    // Other power events are no resume.
    form_->AutoConnectDue = false;
    SendMessageA(form_->Handle(), WM_POWERBROADCAST, 4, 0);
    EXPECT_FALSE(form_->AutoConnectDue);
}

TEST_F(MainWindow, DeviceChangesAreDebouncedAndIgnoredOnRequest) {
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    form_->DeviceTimerMs = 300;
    DWORD last = 0;
    for (int i = 0; i < 3; ++i) {
        SendMessageA(form_->Handle(), WM_DEVICECHANGE, 7, 0);
        last = GetTickCount();
        PumpUntil([] { return false; }, 100);
    }
    SendMessageA(form_->Handle(), WM_DEVICECHANGE, 0x8000, 0);  // logged, no restart
    ASSERT_TRUE(PumpUntil([&] { return LogCount("StartDetectDev") == 1; }));
    EXPECT_GE(GetTickCount() - last, 280u) << "one detection, a full interval after the last";
    EXPECT_EQ(LogCount("WM_DEVICECHANGE 7 0"), 3u);
    EXPECT_EQ(LogCount("WM_DEVICECHANGE 32768 0"), 1u);

    // While the worker changes IP settings, device changes are only logged.
    Send(bmIgnoreDeviceChange, dcIgnore);
    SendMessageA(form_->Handle(), WM_DEVICECHANGE, 7, 0);
    EXPECT_EQ(LogCount("WM_DEVICECHANGE 7 1"), 1u);
    EXPECT_FALSE(form_->TimerDevDect->Enabled());
    Send(bmIgnoreDeviceChange, dcHeed);
    SendMessageA(form_->Handle(), WM_DEVICECHANGE, 7, 0);
    EXPECT_TRUE(form_->TimerDevDect->Enabled());
}

TEST_F(MainWindow, TrayMenuItemsAndTheHiddenCloseItem) {
    Configure("EnableZeroCfg=0\r\n", 6);
    MakeAndPrepare();
    auto popup = [&](bool shiftAlt, bool f) {
        KeyboardState keys(shiftAlt, f);
        std::vector<std::string> shown;
        OneShot reader(10, [&] {
            HMENU menu = form_->MenuTrayIcon->Handle();
            if (!menu) return false;
            shown = OpenMenuItems(menu);
            EndMenu();
            return true;
        });
        HWND tray = form_->TrayIconMain->Handle();
        SendMessageA(tray, TTrayIcon::CallbackMessage, 1, WM_RBUTTONDOWN);
        SendMessageA(tray, TTrayIcon::CallbackMessage, 1, WM_RBUTTONUP);
        EXPECT_TRUE(reader.Done);
        return shown;
    };
    const std::vector<std::string> plain = {"About", "Use Windows XP Wireless Configuration", "-",
                                            "Open Utility", "Disable Utility"};
    EXPECT_EQ(popup(false, false), plain);
    EXPECT_EQ(popup(true, false), plain);
    EXPECT_EQ(popup(false, true), plain);
    std::vector<std::string> withClose = plain;
    withClose.push_back("Close Utility");
    EXPECT_EQ(popup(true, true), withClose);
    // Built anew for every popup: the close item does not stay.
    EXPECT_EQ(popup(false, false), plain);
}

TEST_F(MainWindow, CloseItemClosesPagesThenStopsDetectionAndWorker) {
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    journal_.Lines.clear();
    // What the window does when it closes; the test program itself goes on.
    TCloseEvent formClose = form_->OnClose;
    std::vector<bool> threadsEnded;
    form_->OnClose = [&](TObject* sender, TCloseAction& action) {
        formClose(sender, action);
        threadsEnded = {form_->DevDetect->Finished(), form_->Adapter->Finished()};
        action = caNone;
    };
    form_->MenuItClose->Click();
    EXPECT_EQ(journal_.Lines,
              (std::vector<std::string>{"survey close", "profile close", "info close"}));
    EXPECT_EQ(threadsEnded, (std::vector<bool>{true, true}));
}

TEST_F(MainWindow, ZeroConfigurationHandOverOnXpAsksAndWritesSettings) {
    // Both on in the settings: control wins, and on NT 5.1/5.2 the wish is written off.
    Configure("EnableZeroCfg=1\r\n", 6);
    Scenario(std::string(kAdapter) + "WZCService=1\r\n" + kNetworks);  // the service stopped
    MakeAndPrepare();
    EXPECT_FALSE(form_->ZeroCfgOn);
    EXPECT_EQ(Setting("EnableZeroCfg"), "0");
    ASSERT_TRUE(WaitAttached());
    closeThreads_ = true;

    form_->Answer = mrNo;
    form_->MenuItUseZeroCfgClick(nullptr);
    ASSERT_EQ(form_->Questions.size(), 1u);
    EXPECT_EQ(form_->Questions[0].substr(0, 3), "36 ");
    EXPECT_NE(form_->Questions[0].find("Do you want to switch to the Windows XP Wireless Zero"),
              std::string::npos);
    EXPECT_FALSE(form_->ZeroCfgOn);
    EXPECT_TRUE(form_->UtilityEnabled);

    journal_.Lines.clear();
    form_->Answer = mrYes;
    form_->MenuItUseZeroCfgClick(nullptr);
    EXPECT_TRUE(form_->ZeroCfgOn);
    EXPECT_FALSE(form_->UtilityEnabled);
    EXPECT_EQ(Setting("EnableZeroCfg"), "1");
    EXPECT_EQ(Setting("EnableUtility"), "0");
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 0);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "Disabled");
    EXPECT_EQ(journal_.With("info event"),
              std::vector<std::string>{EventLine("info", aeControlSwitched, 0)});
    // The worker hands the adapter to the system's service.
    ASSERT_TRUE(PumpUntil(
        [&] { return Trace().find("VYXWL_Set_WZCService(1) -> 1") != std::string::npos; }));

    // Open with control off asks to take the adapter back; No leaves everything.
    form_->Questions.clear();
    form_->Answer = mrNo;
    Post(bmOpenUtility, 0);
    ASSERT_TRUE(PumpUntil([&] { return !form_->Questions.empty(); }));
    EXPECT_NE(form_->Questions[0].find("Tervalo Wireless Network Monitor?"), std::string::npos);
    EXPECT_FALSE(form_->UtilityEnabled);
    EXPECT_TRUE(journal_.With("profile wizard").empty());

    form_->Answer = mrYes;
    form_->AutoConnectDue = false;
    form_->MenuItEnableClick(nullptr);
    EXPECT_TRUE(form_->UtilityEnabled);
    EXPECT_FALSE(form_->ZeroCfgOn);
    EXPECT_TRUE(form_->AutoConnectDue);
    EXPECT_EQ(Setting("EnableZeroCfg"), "0");
    EXPECT_EQ(Setting("EnableUtility"), "1");
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 2);
    ASSERT_TRUE(PumpUntil(
        [&] { return Trace().find("VYXWL_Set_WZCService(0) -> 1") != std::string::npos; }));
}

TEST_F(MainWindow, ElsewhereTheZeroConfigurationWishOnlyMakesEnableAsk) {
    Configure("EnableZeroCfg=1\r\nEnableUtility=0\r\n", 7);
    MakeAndPrepare();
    closeThreads_ = true;
    EXPECT_TRUE(form_->ZeroCfgOn);
    EXPECT_FALSE(form_->UtilityEnabled);
    form_->MenuItUseZeroCfgClick(nullptr);  // on already: nothing
    form_->SetZeroConfigEnabled(false);     // no such service here: nothing
    EXPECT_TRUE(form_->ZeroCfgOn);
    EXPECT_EQ(Setting("EnableZeroCfg"), "1");
    form_->BuildTrayMenu();
    EXPECT_FALSE(form_->MenuItUseZeroCfg->Visible || form_->MenuItUseUtility->Visible);
    EXPECT_TRUE(form_->MenuItEnable->Visible);
    EXPECT_FALSE(form_->MenuItDisable->Visible);

    form_->Answer = mrYes;
    form_->MenuItEnableClick(nullptr);
    EXPECT_EQ(form_->Questions.size(), 1u);
    EXPECT_TRUE(form_->UtilityEnabled);
    EXPECT_TRUE(form_->ZeroCfgOn) << "kept: only NT 5.1 and 5.2 switch it";
    EXPECT_EQ(Setting("EnableUtility"), "1");
}

TEST_F(MainWindow, SwitchingControlOffHidesTheWindowThroughTheCloseDialogsThread) {
    MakeAndPrepare();
    closeThreads_ = true;
    form_->Show();
    ASSERT_TRUE(form_->Visible());
    form_->MenuItDisableClick(nullptr);
    EXPECT_FALSE(form_->UtilityEnabled);
    EXPECT_EQ(Setting("EnableUtility"), "0");
    ASSERT_TRUE(PumpUntil([&] { return !form_->Visible(); }));
    // The second switch-off is no switch.
    form_->MenuItDisableClick(nullptr);
    EXPECT_EQ(Setting("EnableUtility"), "0");
}

TEST_F(MainWindow, TabsSwitchPagesUnlessThePageRefusesToGo) {
    MakeAndPrepare();
    form_->Show();
    journal_.Lines.clear();
    // A click on the site survey tab.
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 110));
    SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(140, 110));
    EXPECT_EQ(journal_.Lines, (std::vector<std::string>{"info leave", "survey enter 0 0"}));
    EXPECT_EQ(form_->ActivePage(), survey_);
    EXPECT_TRUE(survey_->Visible());
    EXPECT_FALSE(info_->Visible());
    EXPECT_EQ(form_->ImgTabSiteSurvey->ImageIndex(), 1);
    EXPECT_EQ(form_->ImgTabInfo->ImageIndex(), 0);
    EXPECT_EQ(GetFocus(), survey_->List->Handle()) << "the page's list takes the focus";

    survey_->RefuseLeave = true;
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(260, 110));
    SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(260, 110));
    EXPECT_EQ(form_->ActivePage(), survey_);
    EXPECT_FALSE(profile_->Visible());
    EXPECT_EQ(form_->ImgProfile->ImageIndex(), 0);
    EXPECT_EQ(form_->ImgTabSiteSurvey->ImageIndex(), 1);
    survey_->RefuseLeave = false;

    EXPECT_FALSE(form_->ShowPage(nullptr));
    EXPECT_EQ(form_->ActivePage(), survey_);
}

TEST_F(MainWindow, PageRequestsWorkWhileTheWindowIsHidden) {
    MakeAndPrepare();
    form_->ShowPage(profile_);
    journal_.Lines.clear();
    Send(bmShowPage, spInfoPage);
    EXPECT_EQ(form_->ActivePage(), info_);
    EXPECT_EQ(journal_.With("info"), (std::vector<std::string>{"info enter 0 0", "info back"}));
    EXPECT_FALSE(form_->Visible());
    Send(bmShowPage, spProfilePage);
    EXPECT_EQ(form_->ActivePage(), profile_);
    Send(bmShowPage, spProfilePage + 1);  // no page
    EXPECT_EQ(form_->ActivePage(), profile_);

    // The sender learns whether the store took the profile.
    EXPECT_EQ(SendMessageA(form_->Handle(), BroadcastMsgId, bmProfileSaved, WizardModeEdit), 1);
    profile_->StoreAnswer = false;
    EXPECT_EQ(SendMessageA(form_->Handle(), BroadcastMsgId, bmProfileSaved, WizardModeFirstRun), 0);
    EXPECT_EQ(
        journal_.With("profile stored"),
        (std::vector<std::string>{StoredLine(WizardModeEdit), StoredLine(WizardModeFirstRun)}));
    // Codes the window does not handle leave everything as it is.
    journal_.Lines.clear();
    // 4 is only an event type; bmApplyPickedNetwork is the wizard's.
    for (WPARAM code :
         {WPARAM(0), WPARAM(aeControlSwitched), bmApplyPickedNetwork, bmIgnoreDeviceChange + 1})
        Send(code, 1);
    EXPECT_TRUE(journal_.Lines.empty());
}

TEST_F(MainWindow, CloseDialogsCodeEndsTheProfileFileDialogAndHides) {
    MakeAndPrepare();
    form_->Show();
    OneShot closer(20, [&] {
        if (!profile_->OpenDlg->Handle()) return false;
        Post(bmCloseDialogs, 0);
        return true;
    });
    EXPECT_FALSE(profile_->OpenDlg->Execute());
    EXPECT_TRUE(closer.Done);
    ASSERT_TRUE(PumpUntil([&] { return !form_->Visible(); }));
    EXPECT_EQ(form_->ModalResult(), 0) << "code 9 never ends a run of the main window";
}

namespace {

// A message sent from a thread of its own, as another program sends it.
struct ForeignSend {
    HWND window;
    UINT message;
    WPARAM wParam;
    std::atomic<bool> answered{false};
    std::atomic<LRESULT> result{0};

    static DWORD WINAPI Run(LPVOID p) {
        auto* self = static_cast<ForeignSend*>(p);
        self->result = SendMessageA(self->window, self->message, self->wParam, 0);
        self->answered = true;
        return 0;
    }
};

}  // namespace

TEST_F(MainWindow, OpenRequestFromAnotherProgramIsAnsweredBeforeTheWizardRuns) {
    MakeAndPrepare();
    // Both are answered before the wizard runs: a second instance that broadcasts bmOpenUtility
    // must not hang until the wizard closes.
    for (UINT message : {UINT(kMsgOpenProgram), UINT(BroadcastMsgId)}) {
        ForeignSend send;
        send.window = form_->Handle();
        send.message = message;
        send.wParam = message == kMsgOpenProgram ? 0 : bmOpenUtility;
        bool answeredInWizard = true;
        HANDLE sender = nullptr;
        profile_->Wizard = [&](int) {
            PumpUntilSignalled(sender, 200);
            answeredInWizard = send.answered;
            return false;
        };
        sender = CreateThread(nullptr, 0, ForeignSend::Run, &send, 0, nullptr);
        ASSERT_NE(sender, nullptr);
        // The sender thread ends when its send is answered.
        EXPECT_TRUE(PumpUntilSignalled(sender));
        CloseHandle(sender);
        EXPECT_TRUE(answeredInWizard) << message;
        if (message == kMsgOpenProgram) {
            EXPECT_EQ(send.result.load(), 1);
        }
    }
    EXPECT_EQ(
        journal_.With("profile wizard"),
        (std::vector<std::string>{WizardLine(WizardModeFirstRun), WizardLine(WizardModeFirstRun)}));
}
