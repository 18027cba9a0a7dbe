// Tolbeck.exe as the control manager runs it: installed by its switches, started, paused,
// continued, stopped and removed, starting the recorder program in its place of the monitor.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <atomic>
#include <string>
#include <vector>

#include "E2e.h"
#include "classlib/Thread.h"
#include "tests/unit/TempDir.h"

namespace {

using namespace e2e;

class Sc {
public:
    explicit Sc(SC_HANDLE h = nullptr) : h_(h) {}
    ~Sc() { Reset(); }
    Sc(const Sc&) = delete;
    Sc& operator=(const Sc&) = delete;
    void Reset(SC_HANDLE h = nullptr) {
        if (h_) CloseServiceHandle(h_);
        h_ = h;
    }
    SC_HANDLE Get() const { return h_; }

private:
    SC_HANDLE h_;
};

size_t ServiceManagers() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    size_t n = 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, "services.exe") == 0) ++n;
    CloseHandle(snapshot);
    return n;
}

class TolbeckService : public ::testing::Test {
protected:
    void SetUp() override {
        // Right after a new prefix's "wineboot -i", Wine keeps two service managers running
        // for as long as any program runs, and each request reaches one of them at random.
        ASSERT_LE(ServiceManagers(), 1u)
            << "two service managers in this Wine prefix: restart the Wine server after "
               "\"wineboot -i\" before running this test";
        // A blank in the folder: the registered command must be quoted.
        folder_ = dir_.Path() + "\\Tolbeck svc\\";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "Tolbeck.exe").c_str(), Exe().c_str(), FALSE));
        scm_.Reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ASSERT_NE(scm_.Get(), nullptr);
        static int counter = 0;
        shortName_ = "E" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    }

    void TearDown() override {
        // Leave no service behind when a test failed half-way.
        for (const std::string& name : {ServiceName(), std::string("Tolbec_PRV610K")}) {
            Sc service(OpenServiceA(scm_.Get(), name.c_str(), SERVICE_ALL_ACCESS));
            if (!service.Get()) continue;
            SERVICE_STATUS status;
            ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
            WaitUntil([&] { return State(service.Get()) == SERVICE_STOPPED; });
            DeleteService(service.Get());
        }
        WaitForServiceProcess();
    }

    std::string Exe() const { return folder_ + "Tolbeck.exe"; }
    std::string ServiceName() const { return "Tolbec_" + shortName_; }

    // Tolbeck.bin naming the recorder, the recorder beside it, and an empty log to fill.
    void UseRecorder() {
        TempDir::WriteFile(folder_ + "Tolbeck.bin",
                           "[Product]\r\nDevShortName=" + shortName_ +
                               "\r\n[Setting]\r\nExecutableFileName=Recorder.exe\r\n"
                               "Parameter=/Service\r\n");
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "e2e_recorder.exe").c_str(),
                              (folder_ + "Recorder.exe").c_str(), FALSE));
        TempDir::WriteFile(folder_ + "Tolbeck.Log", "");
    }

    // Runs Tolbeck.exe with args; it must end by itself.
    void RunTolbeck(const std::string& args) {
        Program p(Exe(), args, folder_);
        ASSERT_TRUE(p.Started());
        ASSERT_TRUE(p.WaitEnd()) << "Tolbeck.exe " << args << " did not end";
    }

    SC_HANDLE OpenByName(const std::string& name) {
        return OpenServiceA(scm_.Get(), name.c_str(), SERVICE_ALL_ACCESS);
    }

    bool Registered(const std::string& name) {
        Sc service(OpenByName(name));
        return service.Get() != nullptr;
    }

    static SERVICE_STATUS_PROCESS Query(SC_HANDLE service) {
        SERVICE_STATUS_PROCESS status{};
        DWORD needed = 0;
        if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                  sizeof(status), &needed))
            status.dwCurrentState = 0;
        return status;
    }
    static DWORD State(SC_HANDLE service) { return Query(service).dwCurrentState; }

    bool WaitForState(SC_HANDLE service, DWORD state) {
        return WaitUntil([&] { return State(service) == state; });
    }

    // Sends a control, repeating it only while the service cannot take it yet: the control
    // manager answers ERROR_SERVICE_CANNOT_ACCEPT_CTRL to a service whose start is pending. Wine's
    // passes a stop on to a starting service that accepts one, and answers
    // ERROR_INVALID_SERVICE_CONTROL when it does not, as ours accepts nothing until it runs. Any
    // other answer fails at once.
    static ::testing::AssertionResult Control(SC_HANDLE service, DWORD control) {
        DWORD error = ERROR_SERVICE_CANNOT_ACCEPT_CTRL;
        WaitUntil([&] {
            DWORD before = State(service);
            SERVICE_STATUS status;
            error = ControlService(service, control, &status) ? ERROR_SUCCESS : GetLastError();
            bool starting = error == ERROR_INVALID_SERVICE_CONTROL &&
                            before == SERVICE_START_PENDING && control == SERVICE_CONTROL_STOP;
            return error != ERROR_SERVICE_CANNOT_ACCEPT_CTRL && !starting;
        });
        if (error == ERROR_SUCCESS) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "control " << control << " refused with " << error << ": " << SystemText(error);
    }

    void StartAndRemember(SC_HANDLE service) {
        ASSERT_TRUE(StartServiceA(service, 0, nullptr)) << GetLastError();
        ASSERT_TRUE(WaitUntil([&] { return Query(service).dwProcessId != 0; }));
        DWORD pid = Query(service).dwProcessId;
        serviceProcess_ = OpenProcess(SYNCHRONIZE, FALSE, pid);
        ASSERT_NE(serviceProcess_, nullptr);
    }

    // The service's process ends after a stop (and must, before its folder can go).
    bool WaitForServiceProcess() {
        if (!serviceProcess_) return true;
        bool ended = WaitForSingleObject(serviceProcess_, kTimeoutMs) == WAIT_OBJECT_0;
        CloseHandle(serviceProcess_);
        serviceProcess_ = nullptr;
        return ended;
    }

    std::string Log() const { return TempDir::ReadFile(folder_ + "Tolbeck.Log"); }

    struct Config {
        std::string displayName, binaryPath, account;
        DWORD serviceType = 0, startType = 0, errorControl = 0;
        bool hasDependencies = false;
    };
    static Config QueryConfig(SC_HANDLE service) {
        Config c;
        DWORD needed = 0;
        QueryServiceConfigA(service, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed + 1);
        auto* qc = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        if (!QueryServiceConfigA(service, qc, needed, &needed)) return c;
        c.displayName = qc->lpDisplayName ? qc->lpDisplayName : "";
        c.binaryPath = qc->lpBinaryPathName ? qc->lpBinaryPathName : "";
        c.account = qc->lpServiceStartName ? qc->lpServiceStartName : "";
        c.serviceType = qc->dwServiceType;
        c.startType = qc->dwStartType;
        c.errorControl = qc->dwErrorControl;
        c.hasDependencies = qc->lpDependencies && qc->lpDependencies[0];
        return c;
    }

    TempDir dir_;
    std::string folder_;
    std::string shortName_;
    Sc scm_;
    HANDLE serviceProcess_ = nullptr;
};

TEST_F(TolbeckService, RunsItsLifeAndLaunchesTheProgramOnce) {
    UseRecorder();
    RunTolbeck("/install /silent");

    Sc service(OpenByName(ServiceName()));
    ASSERT_NE(service.Get(), nullptr) << GetLastError();
    Config config = QueryConfig(service.Get());
    EXPECT_EQ(config.displayName, ServiceName());
    EXPECT_EQ(config.serviceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(config.startType, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(config.errorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(_stricmp(config.binaryPath.c_str(), ("\"" + Exe() + "\"").c_str()), 0)
        << config.binaryPath;
    EXPECT_EQ(config.account, "LocalSystem");
    EXPECT_FALSE(config.hasDependencies);

    // A pause straight after the start lands while the launcher may still be starting the
    // program: it must not hold the launch back, and paused means launched.
    StartAndRemember(service.Get());
    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_PAUSE));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_PAUSED));
    EXPECT_NE(Log().find("Succ: ShellExecute\r\n"), std::string::npos) << Log();
    const std::string out = folder_ + "Recorder.out";
    ASSERT_TRUE(WaitUntil([&] {
        return TempDir::ReadFile(out).find("end\r\n") != std::string::npos;
    })) << "the program was not started while the service was paused";
    std::vector<std::string> record = Lines(TempDir::ReadFile(out));
    ASSERT_EQ(record.size(), 3u);
    EXPECT_EQ(record[0], "arg:/Service");
    EXPECT_EQ(_stricmp(record[1].c_str(), ("cwd:" + folder_.substr(0, folder_.size() - 1)).c_str()),
              0)
        << record[1];

    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_CONTINUE));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_RUNNING));
    EXPECT_EQ(Query(service.Get()).dwControlsAccepted,
              static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE |
                                 SERVICE_ACCEPT_SHUTDOWN));

    // Paused after the launcher has ended, then stopped from the pause.
    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_PAUSE));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_PAUSED));
    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_STOP));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_STOPPED));
    EXPECT_EQ(Query(service.Get()).dwWin32ExitCode, static_cast<DWORD>(NO_ERROR));
    ASSERT_TRUE(WaitForServiceProcess()) << "the service's process did not end";
    service.Reset();

    RunTolbeck("/uninstall /silent");
    EXPECT_FALSE(Registered(ServiceName()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));

    EXPECT_EQ(Count(TempDir::ReadFile(out), "end\r\n"), 1u) << "launched more than once";
    // install run, service run, uninstall run
    std::vector<std::string> expected = {
        "== START LOG ==", "== START LOG ==",    "file: " + folder_ + "Recorder.exe",
        "param: /Service", "Succ: ShellExecute", "== START LOG =="};
    EXPECT_EQ(Lines(Log()), expected);
}

TEST_F(TolbeckService, WithoutSettingsTakesDefaultsAndKeepsRunningWhenTheProgramIsMissing) {
    TempDir::WriteFile(folder_ + "Tolbeck.Log", "");
    RunTolbeck("/install /silent");

    Sc service(OpenByName("Tolbec_PRV610K"));
    ASSERT_NE(service.Get(), nullptr) << GetLastError();
    EXPECT_EQ(QueryConfig(service.Get()).displayName, "Tolbec_PRV610K");

    StartAndRemember(service.Get());
    ASSERT_TRUE(WaitUntil([&] { return Log().find("Fail: ShellExecute") != std::string::npos; }));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_RUNNING));
    std::vector<std::string> expected = {
        "== START LOG ==", "== START LOG ==", "file: " + folder_ + "VYXCfg.exe", "param: /Service",
        "Fail: ShellExecute 2"};
    EXPECT_EQ(Lines(Log()), expected);

    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_STOP));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_STOPPED));
    ASSERT_TRUE(WaitForServiceProcess());
    service.Reset();
    RunTolbeck("/UNINSTALL /SILENT");
    EXPECT_FALSE(Registered("Tolbec_PRV610K"));
}

TEST_F(TolbeckService, StopRightAfterTheStartWaitsForTheLaunch) {
    UseRecorder();
    RunTolbeck("/install /silent");
    Sc service(OpenByName(ServiceName()));
    ASSERT_NE(service.Get(), nullptr);
    StartAndRemember(service.Get());
    ASSERT_TRUE(Control(service.Get(), SERVICE_CONTROL_STOP));
    ASSERT_TRUE(WaitForState(service.Get(), SERVICE_STOPPED));
    EXPECT_NE(Log().find("Succ: ShellExecute\r\n"), std::string::npos) << Log();
    ASSERT_TRUE(WaitForServiceProcess());
}

TEST_F(TolbeckService, LogsOnlyIntoItsOwnLogFile) {
    UseRecorder();
    const std::string log = folder_ + "Tolbeck.Log";
    const std::string numbered = folder_ + "Tolbeck_000.Log";
    // No log file: none is made.
    ASSERT_TRUE(DeleteFileA(log.c_str()));
    RunTolbeck("/install /silent");
    EXPECT_FALSE(TempDir::Exists(log));

    // Held by another process: no numbered log in its place.
    TempDir::WriteFile(log, "");
    HANDLE held = CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    RunTolbeck("/uninstall /silent");
    CloseHandle(held);
    EXPECT_FALSE(TempDir::Exists(numbered));
    EXPECT_EQ(TempDir::ReadFile(log), "");
    EXPECT_FALSE(Registered(ServiceName()));
}

TEST_F(TolbeckService, SwitchesTakeEitherLeadInAnyCase) {
    UseRecorder();
    // Without "/" or "-" it is no switch: the program tries to serve and ends.
    RunTolbeck("INSTALL SILENT");
    EXPECT_FALSE(Registered(ServiceName()));

    // A message box would keep the program from ending.
    RunTolbeck("-iNsTaLl sIlEnT");
    {
        Sc service(OpenByName(ServiceName()));
        ASSERT_NE(service.Get(), nullptr);
        EXPECT_EQ(QueryConfig(service.Get()).displayName, ServiceName());
    }
    RunTolbeck("-UnInStAlL -Silent");
    EXPECT_FALSE(Registered(ServiceName()));
}

TEST_F(TolbeckService, WithoutSilentTellsTheOutcomeInAMessageBox) {
    UseRecorder();
    struct Case {
        const char* args;
        std::string text;
    } cases[] = {
        {"/install", "Service installed successfully"},
        {"/INSTALL", "Service \"" + ServiceName() + "\" failed to install with error: \"" +
                         SystemText(ERROR_SERVICE_EXISTS) + "\""},
        {"-uninstall", "Service uninstalled successfully"},
        {"-Uninstall", "Service \"" + ServiceName() + "\" failed to uninstall with error: \"" +
                           SystemText(ERROR_SERVICE_DOES_NOT_EXIST) + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        Program p(Exe(), c.args, folder_);
        ASSERT_TRUE(p.Started());
        MessageBoxSeen box;
        ASSERT_TRUE(TakeMessageBox(p.Id(), box)) << "no message box";
        EXPECT_EQ(box.title, "Tolbeck");
        EXPECT_EQ(box.text, c.text);
        ASSERT_TRUE(p.WaitEnd());
    }
    EXPECT_FALSE(Registered(ServiceName()));
}

// The thread base the service's launcher stands on.

class FlagThread : public TThread {
public:
    FlagThread(bool suspended, std::atomic<int>& runs, std::atomic<bool>& sawTerminate, bool loop)
        : TThread(suspended), runs_(runs), sawTerminate_(sawTerminate), loop_(loop) {}

protected:
    void Execute() override {
        ++runs_;
        while (loop_ && !Terminated()) SwitchToThread();
        sawTerminate_ = Terminated();
    }

private:
    std::atomic<int>& runs_;
    std::atomic<bool>& sawTerminate_;
    bool loop_;
};

TEST(Thread, RunsOnceWhenCreatedRunningAndOnlyAfterResumeWhenSuspended) {
    std::atomic<int> runs{0};
    std::atomic<bool> sawTerminate{false};
    auto running = MakeThread<FlagThread>(false, runs, sawTerminate, false);
    running->WaitFor();
    EXPECT_TRUE(running->Finished());
    EXPECT_EQ(runs, 1);

    auto suspended = MakeThread<FlagThread>(true, runs, sawTerminate, false);
    EXPECT_TRUE(suspended->Suspended());
    EXPECT_FALSE(suspended->WaitFor(50));
    EXPECT_EQ(runs, 1);
    suspended->Resume();
    suspended->WaitFor();
    EXPECT_EQ(runs, 2);
}

TEST(Thread, DestroyingEndsASuspendedThreadAndNeverStartsAnUnstartedOne) {
    std::atomic<int> runs{0};
    std::atomic<bool> sawTerminate{false};
    {
        auto thread = MakeThread<FlagThread>(false, runs, sawTerminate, true);
        ASSERT_TRUE(WaitUntil([&] { return runs == 1; }));
        thread->Suspend();
        EXPECT_TRUE(thread->Suspended());
    }  // must resume it and see it end
    EXPECT_TRUE(sawTerminate);

    { auto never = MakeThread<FlagThread>(true, runs, sawTerminate, true); }
    EXPECT_EQ(runs, 1);
}

TEST(Thread, KeepsTheTextOfAnEscapedException) {
    struct Throwing : TThread {
        Throwing() : TThread(false) {}
        void Execute() override { throw std::runtime_error("launch broke"); }
    };
    auto thread = MakeThread<Throwing>();
    thread->WaitFor();
    EXPECT_EQ(thread->FatalError(), "launch broke");
}

}  // namespace
