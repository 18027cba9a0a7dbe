// Wavelorn.exe started as a user's machine starts it: the "/Service" run, the
// window instance, a second instance, and a missing driver library.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

#include "E2e.h"
#include "core/Umessages.h"
#include "tests/unit/TempDir.h"

namespace {

using namespace e2e;

const char kAdapter[] =
    "[Adapter]\r\nHWID1=USB\\VID_0001&PID_0002\r\nName1=Test Adapter\r\n"
    "[Network1]\r\nSSID=Lobby\r\nMAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-60\r\n"
    "Privacy=0\r\nMode=1\r\nBand=1\r\n"
    "[Network2]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\nRSSI=-50\r\n"
    "Privacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n";

const char kLastApplied[] =
    "[LastApplyProf]\r\nProfileName=Office\r\nSsid1=Office\r\nNetworkMode=1\r\n"
    "EncryptionMethod=2\r\nWPAEncryptionType=2\r\nWPAPassphrase=office-secret\r\n";

// Whether the process has loaded the library of that file name; a snapshot can fail while the
// process loads one, so it is taken again.
bool HasModule(DWORD pid, const char* name) {
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 20 && snapshot == INVALID_HANDLE_VALUE; ++i) {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
        if (snapshot == INVALID_HANDLE_VALUE) Sleep(50);
    }
    EXPECT_NE(snapshot, INVALID_HANDLE_VALUE) << "no module list of process " << pid;
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32First(snapshot, &entry); more && !found;
         more = Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, name) == 0;
    CloseHandle(snapshot);
    return found;
}

class MonitorStart : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        root_ = "Start" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "Wavelorn.exe").c_str(), Exe().c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "VYXWL.DLL").c_str(),
                              dir_.File("VYXWL.DLL").c_str(), FALSE));
        TempDir::WriteFile(dir_.File("Wavelorn.Log"), "");
        Settings("");
        Scenario(kAdapter);
    }
    std::string Exe() const { return dir_.File("Wavelorn.exe"); }
    void Settings(const std::string& more) {
        TempDir::WriteFile(dir_.File("Wavelorn.bin"),
                           "[Setting]\r\nProfRoot=" + root_ +
                               "\r\n[Product]\r\nHWID0=USB\\VID_0001&PID_0002\r\n" + more);
    }
    void Scenario(const std::string& text) {
        TempDir::WriteFile(dir_.File("VYXWL.scn"),
                           text + "[Trace]\r\nFile=" + dir_.File("calls.trace") + "\r\n");
    }
    std::string Log() const { return TempDir::ReadFile(dir_.File("Wavelorn.Log")); }
    std::string Trace() const { return TempDir::ReadFile(dir_.File("calls.trace")); }
    // Runs the program with args to its end; answers the milliseconds it took.
    DWORD RunToEnd(const std::string& args) {
        DWORD start = GetTickCount();
        Program p(Exe(), args, dir_.Path());
        EXPECT_TRUE(p.Started());
        EXPECT_TRUE(p.WaitEnd());
        return GetTickCount() - start;
    }
    // The window instance's application window, once it runs its message loop.
    HWND AppWindow(DWORD pid) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND h = FindWindowA("TApplication", nullptr); h;
                 h = FindWindowExA(nullptr, h, "TApplication", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(h, &owner);
                if (owner == pid) found = h;
            }
            return found != nullptr;
        });
        return found;
    }

    TempDir dir_;
    std::string root_;
};

TEST_F(MonitorStart, ServiceRunAppliesTheLastAppliedProfileAndWaits) {
    Settings(kLastApplied);
    DWORD took = RunToEnd("/sErViCe ignored");
    std::string log = Log();
    EXPECT_NE(log.find("== START LOG ==\r\nParam(1) /sErViCe\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Param(2)"), std::string::npos) << "later arguments are not looked at";
    EXPECT_NE(log.find("Succ: read last apply profile\r\nSucc: connect\r\nlogin instance end\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(Trace().find("VYXWL_SetWLANStatus(\"Office\", mode 1, security 2) -> 1"),
              std::string::npos)
        << Trace();
    EXPECT_GE(took, 3000u) << "the link is given 3000 ms before the run ends";
}

TEST_F(MonitorStart, ServiceRunWithoutLastProfileAppliesAnEmptyNetworkName) {
    DWORD took = RunToEnd("/Service");
    std::string log = Log();
    EXPECT_NE(log.find("Fail: read last apply profile\r\nSucc: connect\r\n"), std::string::npos)
        << log;
    EXPECT_NE(Trace().find("VYXWL_SetWLANStatus(\"\", mode 1, security 0) -> 1"), std::string::npos)
        << Trace();
    EXPECT_GE(took, 3000u);
}

// A damaged copy of the last applied profile is not applied: the run logs it and goes on as
// when there is none. The runs go side by side, each in a folder and with a root of its own.
TEST_F(MonitorStart, ServiceRunTreatsADamagedLastProfileAsMissing) {
    const std::string sound =
        "Ssid1=Office\r\nNetworkMode=1\r\nEncryptionMethod=2\r\nWPAEncryptionType=2\r\n";
    std::string garbage;
    for (int i = 0; garbage.size() < 3000; ++i)
        garbage += "g" + std::to_string(i) + "=\x7f\x01[Setting];" + std::to_string(i * 7) +
                   "\r\njunk line " + std::to_string(i) + "\r\n";
    const std::string damaged[] = {
        garbage,
        sound,  // no ProfileName
        "ProfileName=Office\r\nNetworkMode=-1\r\n" + sound,
        "ProfileName=Office\r\nDefaultKey=7\r\n" + sound,
        "ProfileName=Office\r\nWEPEncryptionLevel=-3\r\n" + sound,
        "ProfileName=Office\r\nNI_VPI=300\r\n" + sound,
        "ProfileName=hex:4F66666963650078\r\n" + sound,  // "Office", NUL, "x"
    };
    struct Run {
        std::unique_ptr<TempDir> dir;
        std::unique_ptr<Program> program;
    };
    std::vector<Run> runs;
    for (const std::string& section : damaged) {
        Run run{std::make_unique<TempDir>(), nullptr};
        const TempDir& d = *run.dir;
        ASSERT_TRUE(CopyFileA(Exe().c_str(), d.File("Wavelorn.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(dir_.File("VYXWL.DLL").c_str(), d.File("VYXWL.DLL").c_str(), FALSE));
        TempDir::WriteFile(d.File("Wavelorn.Log"), "");
        TempDir::WriteFile(
            d.File("Wavelorn.bin"),
            "[Setting]\r\nProfRoot=" + root_ + "_" + std::to_string(runs.size()) +
                "\r\n[Product]\r\nHWID0=USB\\VID_0001&PID_0002\r\n[LastApplyProf]\r\n" + section);
        TempDir::WriteFile(d.File("VYXWL.scn"), std::string(kAdapter) + "[Trace]\r\nFile=" +
                                                    d.File("calls.trace") + "\r\n");
        run.program = std::make_unique<Program>(d.File("Wavelorn.exe"), "/Service", d.Path());
        ASSERT_TRUE(run.program->Started());
        runs.push_back(std::move(run));
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_TRUE(runs[i].program->WaitEnd()) << i;
        std::string log = TempDir::ReadFile(runs[i].dir->File("Wavelorn.Log"));
        std::string trace = TempDir::ReadFile(runs[i].dir->File("calls.trace"));
        EXPECT_NE(
            log.find("Fail: read last apply profile\r\nSucc: connect\r\nlogin instance end\r\n"),
            std::string::npos)
            << i << ": " << log;
        EXPECT_NE(trace.find("VYXWL_WLProfileToWLStatus(\"Default\")"), std::string::npos)
            << i << ": " << trace;
        EXPECT_NE(trace.find("VYXWL_SetWLANStatus(\"\", mode 1, security 0) -> 1"),
                  std::string::npos)
            << i << ": " << trace;
    }
}

TEST_F(MonitorStart, ServiceRunWithoutAdapterAppliesNothing) {
    Settings(kLastApplied);
    Scenario("[Adapter]\r\n");
    DWORD took = RunToEnd("/SERVICE");
    std::string log = Log();
    EXPECT_NE(log.find("Param(1) /SERVICE\r\nlogin instance end\r\n"), std::string::npos) << log;
    std::string trace = Trace();
    EXPECT_NE(trace.find("VYXWL_DevDetect(\"USB\\VID_0001&PID_0002\") -> 0"), std::string::npos)
        << trace;
    EXPECT_EQ(trace.find("VYXWL_SetWLANStatus"), std::string::npos) << trace;
    EXPECT_LT(took, 3000u);
}

TEST_F(MonitorStart, ServiceRunWithoutHardwareIdsAsksOnceWithAnEmptyOne) {
    TempDir::WriteFile(dir_.File("Wavelorn.bin"), "[Setting]\r\nProfRoot=" + root_ + "\r\n");
    RunToEnd("/Service");
    std::string trace = Trace();
    EXPECT_EQ(Count(trace, "VYXWL_DevDetect("), 1u) << trace;
    EXPECT_NE(trace.find("VYXWL_DevDetect(\"\") -> 0"), std::string::npos) << trace;
}

TEST_F(MonitorStart, ServiceRunLeavesTheAdapterToARunningWindowInstance) {
    HANDLE instance = CreateMutexA(nullptr, FALSE, (root_ + "_Mutex").c_str());
    ASSERT_NE(instance, nullptr);
    RunToEnd("/Service");
    EXPECT_NE(Log().find("ONE_INSTANCE_MUTEX_NAME exists"), std::string::npos) << Log();
    EXPECT_EQ(Trace().find("VYXWL_SetWLANStatus"), std::string::npos);
    CloseHandle(instance);
    // the run only looked: no instance mutex is left behind or created
    HANDLE probe = OpenMutexA(SYNCHRONIZE, FALSE, (root_ + "_Mutex").c_str());
    EXPECT_EQ(probe, nullptr);
    if (probe) CloseHandle(probe);
}

TEST_F(MonitorStart, ServiceRunGivesWayToAnotherServiceRun) {
    HANDLE login = CreateMutexA(nullptr, TRUE, (root_ + "_Login_Mutex").c_str());
    ASSERT_NE(login, nullptr);
    RunToEnd("/Service");
    EXPECT_NE(Log().find("ONE_LOGIN_MUTEX_NAME exists"), std::string::npos) << Log();
    EXPECT_EQ(Trace().find("VYXWL_SetWLANStatus"), std::string::npos);
    ReleaseMutex(login);
    CloseHandle(login);
}

TEST_F(MonitorStart, WindowInstanceWaitsForTheServiceRunThenRunsUntilClosed) {
    HANDLE login = CreateMutexA(nullptr, TRUE, (root_ + "_Login_Mutex").c_str());
    ASSERT_NE(login, nullptr);
    Program monitor(Exe(), "", dir_.Path());
    ASSERT_TRUE(
        WaitUntil([&] { return Log().find("waiting login instance end") != std::string::npos; }));
    // still waiting: no instance mutex yet
    HANDLE probe = OpenMutexA(SYNCHRONIZE, FALSE, (root_ + "_Mutex").c_str());
    EXPECT_EQ(probe, nullptr);
    if (probe) CloseHandle(probe);
    ReleaseMutex(login);
    CloseHandle(login);

    HWND app = AppWindow(monitor.Id());
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(IsWindowVisible(app));
    char title[64] = {};
    GetWindowTextA(app, title, sizeof(title));
    EXPECT_STREQ(title, "Wavelorn");
    EXPECT_NE(Log().find("Succ: wait login instance end"), std::string::npos) << Log();
    // At rest with its windows hidden, the monitor has not loaded the common controls (some
    // 3 MB under Wine): a list makes its window when first shown.
    Settle(app);
    EXPECT_TRUE(HasModule(monitor.Id(), "user32.dll"));
    EXPECT_FALSE(HasModule(monitor.Id(), "comctl32.dll"));
    probe = OpenMutexA(SYNCHRONIZE, FALSE, (root_ + "_Mutex").c_str());
    EXPECT_NE(probe, nullptr) << "the window instance holds the instance mutex";
    if (probe) CloseHandle(probe);

    PostMessageA(app, WM_CLOSE, 0, 0);
    EXPECT_TRUE(monitor.WaitEnd());
}

// A top-level window that counts the broadcast codes it is sent.
struct BroadcastListener {
    static UINT message;
    static int openUtility;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == message && w == bmOpenUtility) ++openUtility;
        return DefWindowProcA(h, msg, w, l);
    }
};
UINT BroadcastListener::message = 0;
int BroadcastListener::openUtility = 0;

TEST_F(MonitorStart, SecondInstanceWakesTheFirstAndEnds) {
    BroadcastListener::message = RegisterWindowMessageA((root_ + "_BroadcastMsg").c_str());
    BroadcastListener::openUtility = 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BroadcastListener::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "E2eBroadcastListener";
    RegisterClassA(&wc);
    HWND listener = CreateWindowExA(0, wc.lpszClassName, "listener", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, wc.hInstance, nullptr);
    ASSERT_NE(listener, nullptr);

    Program first(Exe(), "", dir_.Path());
    HWND app = AppWindow(first.Id());
    ASSERT_NE(app, nullptr);

    Program second(Exe(), "", dir_.Path());
    // the second instance's broadcast waits for this thread's window: serve it meanwhile
    DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < kTimeoutMs) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        ended = second.WaitEnd(20);
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(BroadcastListener::openUtility, 1);
    // the first instance runs on
    EXPECT_FALSE(first.WaitEnd(0));
    PostMessageA(app, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitEnd());
    DestroyWindow(listener);
}

TEST_F(MonitorStart, RefusesToStartWithoutACompleteDriverLibrary) {
    for (const char* variant : {"", "missing-entry\\"}) {
        DeleteFileA(dir_.File("VYXWL.DLL").c_str());
        if (*variant) {
            ASSERT_TRUE(CopyFileA((ProgramFolder() + variant + "VYXWL.DLL").c_str(),
                                  dir_.File("VYXWL.DLL").c_str(), FALSE));
        }
        TempDir::WriteFile(dir_.File("Wavelorn.Log"), "");
        Program monitor(Exe(), "", dir_.Path());
        ASSERT_TRUE(monitor.Started());
        // with a taskbar the user is told in a message box
        if (FindWindowA("Shell_TrayWnd", nullptr)) {
            MessageBoxSeen box;
            ASSERT_TRUE(TakeMessageBox(monitor.Id(), box)) << variant;
            EXPECT_EQ(box.text, "Failed to load VYXWL.DLL library file.");
        }
        EXPECT_TRUE(monitor.WaitEnd()) << variant;
        EXPECT_NE(Log().find("Failed to load VYXWL.DLL library file.\r\n"), std::string::npos)
            << Log();
        EXPECT_EQ(Log().find("Param("), std::string::npos) << "no further start-up";
    }
}

}  // namespace
