// The main window and the adapter: attach and detach as detection reports them, the tray from
// the worker's status, the automatic connection and the end of the worker threads.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_formmain_fixture.h"

using namespace mainwin;

namespace {

constexpr char kHwidB[] = "USB\\VID_0001&PID_0003";
constexpr char kAdapterB[] = "[Adapter]\r\nHWID1=USB\\VID_0001&PID_0003\r\nName1=Other Adapter\r\n";

bool SameBytes(const WLProfile& a, const WLProfile& b) {
    return std::memcmp(&a, &b, sizeof(WLProfile)) == 0;
}

}  // namespace

TEST_F(MainWindow, AttachTellsPagesAndAboutBoxAndAnEmptyStoreRunsTheFirstRunWizard) {
    FormAbout = NewForm<TFormAbout>(Application);
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    EXPECT_EQ(LogCount("new total dev 1"), 1u);
    EXPECT_EQ(LogCount("control (Test Adapter)USB\\VID_0001&PID_0002-9999"), 1u) << Log();
    std::vector<std::string> changed;
    for (const std::string& l : journal_.Lines)
        if (l.find(" changed ") != std::string::npos) changed.push_back(l);
    EXPECT_EQ(changed, (std::vector<std::string>{ChangedLine("survey", acAttached),
                                                 ChangedLine("profile", acAttached),
                                                 ChangedLine("info", acAttached)}));
    EXPECT_EQ(FormAbout->Adapter, form_->Adapter.get());
    EXPECT_TRUE(form_->AutoConnectDue);
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 2);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "PRV300K is active");

    // The first poll's code: no link yet, and no profile stored.
    FAGlobalVar.EditProfile = Profile("Leftover", "Elsewhere");
    bool pagesToldBeforeWizard = true;
    profile_->Wizard = [&](int) {
        pagesToldBeforeWizard = !journal_.With(EventLine("info", aeStatusUpdated)).empty();
        return false;
    };
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count(EventLine("info", aeStatusUpdated)) == 1; }));
    EXPECT_EQ(journal_.With("profile wizard"),
              std::vector<std::string>{WizardLine(WizardModeFirstRun)});
    EXPECT_FALSE(pagesToldBeforeWizard) << "the pages hear the poll after the wizard";
    EXPECT_TRUE(SameBytes(FAGlobalVar.EditProfile, FAGlobalVar.DefaultProfile));
    EXPECT_FALSE(form_->AutoConnectDue);
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 6);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "PRV300K\nSignal: N/A\nQuality: N/A");
    EXPECT_TRUE(FormAbout->DriverVersionShown);
    EXPECT_FALSE(form_->Visible()) << "a cancelled wizard opens nothing";

    // Due only once.
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count(EventLine("info", aeStatusUpdated)) == 2; }));
    EXPECT_EQ(journal_.With("profile wizard").size(), 1u);
}

TEST_F(MainWindow, FirstRunWizardThatStoredTheDefaultOpensTheWindow) {
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    profile_->Wizard = [&](int) {
        StoreInLibrary(Profile("Default", "Lobby"));
        return true;
    };
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return form_->Visible(); }));
    EXPECT_EQ(journal_.With("profile wizard").size(), 1u);
}

TEST_F(MainWindow, AnUnreadProfileListKeepsTheConnectionDue) {
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    form_->ProfilesUnread = true;
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count(EventLine("info", aeStatusUpdated)) == 1; }));
    EXPECT_TRUE(journal_.With("profile wizard").empty()) << "not the same as no profile";
    EXPECT_TRUE(form_->AutoConnectDue);
    EXPECT_EQ(LogCount("auto connect waits: profile list not loaded"), 1u);

    form_->ProfilesUnread = false;
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count(EventLine("info", aeStatusUpdated)) == 2; }));
    EXPECT_EQ(journal_.With("profile wizard").size(), 1u);
    EXPECT_FALSE(form_->AutoConnectDue);
}

TEST_F(MainWindow, AdaptersComeAndGoAndTheLastAppliedProfileReconnects) {
    Configure("", 7, "[FormMain]\r\n", std::string("HWID1=") + kHwidB + "\r\n");
    StoreInLibrary(Profile("Lobby", "Lobby"));
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    closeThreads_ = true;
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return journal_.Count(EventLine("info", aeProfileApplied)) == 1; }));
    EXPECT_EQ(LogCount("auto connect found: Lobby"), 1u);

    // A replaced by B: A detached, then B attached in the same handling.
    auto replug = [&](const std::string& adapter) {
        journal_.Lines.clear();
        Scenario(adapter + kNetworks);
        SendMessageA(form_->Handle(), WM_DEVICECHANGE, 7, 0);
    };
    replug(kAdapterB);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count(ChangedLine("info", acAttached)) == 1; }));
    EXPECT_EQ(journal_.With("info changed"),
              (std::vector<std::string>{ChangedLine("info", acDetached),
                                        ChangedLine("info", acAttached)}));
    EXPECT_EQ(LogCount("control (Other Adapter)USB\\VID_0001&PID_0003-9999"), 1u);

    // Unplugged: detached, the tray back to its default.
    replug("[Adapter]\r\n");
    ASSERT_TRUE(PumpUntil([&] { return form_->CurDevice == nullptr; }));
    EXPECT_EQ(journal_.With("survey changed"),
              std::vector<std::string>{ChangedLine("survey", acDetached)});
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 0);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "Wavelorn");
    EXPECT_EQ(LogCount("new total dev 0"), 1u);

    // A back: attached again, and the profile last applied to it is taken first.
    replug(kAdapter);
    ASSERT_TRUE(WaitAttached());
    EXPECT_TRUE(form_->AutoConnectDue);
    Post(bmStatusUpdated, 0);
    ASSERT_TRUE(PumpUntil([&] { return LogCount("auto connect last: Lobby") == 1; })) << Log();
    EXPECT_EQ(LogCount("control (Test Adapter)USB\\VID_0001&PID_0002-9999"), 2u);
}

TEST_F(MainWindow, ResumeFromSuspendDetachesAndFindsTheAdapterAgain) {
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    closeThreads_ = true;
    form_->AutoConnectDue = false;
    journal_.Lines.clear();
    SendMessageA(form_->Handle(), WM_POWERBROADCAST, 7, 0);
    EXPECT_EQ(form_->CurDevice, nullptr);
    EXPECT_EQ(journal_.With("info changed"),
              std::vector<std::string>{ChangedLine("info", acDetached)});
    EXPECT_TRUE(form_->AutoConnectDue);
    // The same adapter counts as new after the known ones were forgotten.
    ASSERT_TRUE(WaitAttached());
    EXPECT_EQ(LogCount("StartDetectDev"), 1u);
    EXPECT_EQ(LogCount("control (Test Adapter)USB\\VID_0001&PID_0002-9999"), 2u);
}

TEST_F(MainWindow, WithControlOffPollsLeaveTheTrayAndConnectNothing) {
    Configure("EnableUtility=0\r\n", 7);
    MakeAndPrepare();
    closeThreads_ = true;
    ASSERT_TRUE(WaitAttached());
    EXPECT_FALSE(form_->AutoConnectDue);
    EXPECT_EQ(form_->TrayIconMain->IconIndex(), 0);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "Disabled");
    Post(bmStatusUpdated, 0);
    Post(bmProfileApplied, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return journal_.Count(EventLine("info", aeProfileApplied)) == 1; }));
    EXPECT_EQ(journal_.Count(EventLine("info", aeStatusUpdated)), 1u);
    EXPECT_EQ(form_->TrayIconMain->Hint(), "Disabled");
    EXPECT_TRUE(journal_.With("profile wizard").empty());
}

TEST_F(MainWindow, WorkerRunsTheProgressDialogForAWindowsRequest) {
    StoreInLibrary(Profile("Lobby", "Lobby"));
    MakeAndPrepare();
    ASSERT_TRUE(WaitAttached());
    HWND progress = nullptr;
    OneShot closer(20, [&] {
        progress = FindWindowA("TFormProgress", Application->Title().c_str());
        if (!progress) return false;
        PostMessageA(progress, BroadcastMsgId, bmCloseDialogs, 0);
        return true;
    });
    EXPECT_TRUE(form_->Adapter->ApplyProfileByName("Lobby", form_));
    EXPECT_TRUE(closer.Done);
    EXPECT_FALSE(IsWindow(progress)) << "made for the one use and freed";
}

TEST_F(MainWindow, AWorkerStuckInTheDriverIsLeftToEndOnItsOwn) {
    pollMs_ = 20;
    Make();
    form_->WorkerTiming.StopTimeoutMs = 100;
    ASSERT_TRUE(form_->PrepareForm(0));
    ASSERT_TRUE(WaitAttached());
    Scenario(std::string(kAdapter) + kNetworks + "[Delay]\r\nVYXWL_QueryOID=2500\r\n");
    // Polls come every 20 ms: after this the worker waits inside the slow call.
    PumpUntil([] { return false; }, 200);
    HANDLE worker = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), form_->Adapter->Handle(), GetCurrentProcess(),
                                &worker, SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0));
    DWORD start = GetTickCount();
    form_->Free();
    form_ = nullptr;
    DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 1200u) << "the window does not wait for the driver";
    EXPECT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(worker, &code);
    EXPECT_EQ(code, 0u) << "the worker ended its own way, freeing its own object";
    CloseHandle(worker);
}
