// The adapter worker's thread: paused and running, the polls and their codes, opening, closing
// and stopping, and the cached records.
#include <cstring>

#include "FakeDriverFiles.h"
#include "classlib/SysUtils.h"
#include "core/UdefineWin.h"
#include "test_adapter_fixture.h"

namespace adaptertest {
namespace {

DWORD WINAPI RunFunction(LPVOID arg) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(arg));
    (*body)();
    return 0;
}

// Runs body on a thread of its own; false when it has not returned within timeoutMs.
bool ReturnsWithin(const std::function<void()>& body, DWORD timeoutMs) {
    HANDLE thread =
        CreateThread(nullptr, 0, RunFunction, new std::function<void()>(body), 0, nullptr);
    bool done = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return done;
}

WLStatus NotConnected() {
    WLStatus s;
    s.MediaConnect = 1;
    return s;
}

bool SameBytes(const WLStatus& a, const WLStatus& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

TEST_F(AdapterTest, PausedUntilOpenedThenPollsOnItsOwn) {
    AdapterTiming timing = FastTiming();
    timing.FirstPollMs = 150;
    timing.PollPeriodMs = 300;
    Create(timing);
    size_t mark = TraceMark();
    // paused with no adapter: nothing is polled, nothing accepted
    EXPECT_FALSE(adapter_->RequestZeroConfig(false));
    PumpFor(100);
    EXPECT_TRUE(TraceSince(mark).empty());
    WLStatus status;
    EXPECT_FALSE(adapter_->GetAdapterStatus(status));

    DWORD start = GetTickCount();
    Open();
    DWORD opened = GetTickCount();
    EXPECT_GE(opened - start + 20, 150u) << "returns only after the first poll";
    // that poll has run, and has posted nothing
    EXPECT_TRUE(adapter_->GetAdapterStatus(status));
    NetworkInfo info;
    EXPECT_TRUE(adapter_->GetAdapterNetworkInfo(info));
    DriverInfo driver;
    EXPECT_TRUE(adapter_->GetDriverInfo(driver));
    PumpFor(0);
    EXPECT_TRUE(notices_.empty());

    std::vector<TraceCall> calls = TraceSince(mark);
    size_t prepared = FindCall(calls, "VYXWL_DevDetect");
    ASSERT_LT(prepared, calls.size());
    EXPECT_EQ(calls[prepared].args, "\"" + std::string(kHwid) + "\"");
    size_t scan = FindCall(calls, "VYXWL_SiteSurveyScan");
    size_t list = FindCall(calls, "VYXWL_EnumWLProfiles");
    size_t poll = FindCall(calls, "VYXWL_QueryOID");
    EXPECT_LT(prepared, scan);
    EXPECT_LT(scan, list);
    EXPECT_LT(list, poll);

    // later polls: one code each, a period apart
    ASSERT_TRUE(WaitForPolls(1));
    DWORD first = GetTickCount();
    ASSERT_TRUE(WaitForPolls(1));
    DWORD second = GetTickCount();
    EXPECT_GE(first - opened + 20, 300u);
    EXPECT_GE(second - first + 20, 300u);
    for (const Notice& n : notices_) {
        EXPECT_EQ(n.code, bmStatusUpdated);
        EXPECT_EQ(n.value, 0);
        EXPECT_FALSE(n.sent);
    }
}

TEST_F(AdapterTest, PreparationSetsGInUsb11OnlyWhenBothAnswersAreZero) {
    Create();
    size_t mark = TraceMark();
    Open();
    EXPECT_EQ(CountCalls(TraceSince(mark), "VYXWL_SetGinUSB11"), 0u);
    adapter_->CloseDevice();

    WriteScenario("USBType=0\r\nGinUSB11=0\r\n");
    mark = TraceMark();
    Open();
    std::vector<TraceCall> calls = TraceSince(mark);
    size_t set = FindCall(calls, "VYXWL_SetGinUSB11");
    ASSERT_LT(set, calls.size());
    EXPECT_EQ(calls[set].args, "1");
    EXPECT_LT(FindCall(calls, "VYXWL_GetGinUSB11"), set);
}

TEST_F(AdapterTest, CommandsRestartThePollWait) {
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 500;
    Create(timing);
    Open();
    // a command every 100 ms: the 500 ms never run out
    DWORD last = GetTickCount();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(adapter_->RequestZeroConfig(false));
        last = GetTickCount();
        PumpFor(100);
    }
    EXPECT_EQ(CountNotices(bmStatusUpdated), 0u);
    ASSERT_TRUE(WaitForPolls(1));
    EXPECT_GE(GetTickCount() - last + 20, 500u);
}

TEST_F(AdapterTest, CloseDevicePausesAndForgets) {
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 30;
    Create(timing);
    Open();
    ASSERT_TRUE(WaitForPolls(1));
    adapter_->CloseDevice();
    EXPECT_FALSE(adapter_->IsDeviceOpen());
    WLStatus status;
    NetworkInfo info;
    DriverInfo driver;
    std::vector<WLProfile> profiles;
    EXPECT_FALSE(adapter_->GetAdapterStatus(status));
    EXPECT_FALSE(adapter_->GetAdapterNetworkInfo(info));
    EXPECT_FALSE(adapter_->GetDriverInfo(driver));
    EXPECT_FALSE(adapter_->GetProfiles(profiles));
    EXPECT_FALSE(adapter_->ApplyProfile(OpenProfile("Lobby")));

    // paused: no more polls, no more codes
    size_t mark = TraceMark();
    size_t codes = notices_.size();
    PumpFor(200);
    EXPECT_TRUE(TraceSince(mark).empty());
    EXPECT_EQ(notices_.size(), codes);
    // closing what is closed returns at once
    EXPECT_TRUE(ReturnsWithin([&] { adapter_->CloseDevice(); }, 2000));

    // and it opens again, polling as before
    Open();
    EXPECT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_TRUE(WaitForPolls(2));
}

TEST_F(AdapterTest, OpeningAnotherAdapterClosesTheFirst) {
    WriteScenario("HWID2=USB\\VID_0001&PID_0003\r\nName2=Second Adapter\r\n");
    WriteSettings(
        "[USB\\VID_0001&PID_0002]\r\nSupportMode=7\r\n"
        "[USB\\VID_0001&PID_0003]\r\nSupportMode=9\r\n");
    Create();
    Open();
    DriverInfo driver;
    ASSERT_TRUE(adapter_->GetDriverInfo(driver));
    EXPECT_EQ(driver.SupportMode, 7);

    size_t mark = TraceMark();
    DeviceRecord second = Record("USB\\VID_0001&PID_0003", "Second Adapter");
    ASSERT_TRUE(adapter_->OpenDevice(&second));
    std::vector<TraceCall> calls = TraceSince(mark);
    size_t detect = FindCall(calls, "VYXWL_DevDetect");
    ASSERT_LT(detect, calls.size());
    EXPECT_EQ(calls[detect].args, "\"USB\\VID_0001&PID_0003\"");
    // its driver facts are read anew at its first poll
    ASSERT_TRUE(adapter_->GetDriverInfo(driver));
    EXPECT_EQ(driver.SupportMode, 9);

    // the same record again: prepared, scanned and loaded once more, still open
    mark = TraceMark();
    ASSERT_TRUE(adapter_->OpenDevice(&second));
    calls = TraceSince(mark);
    EXPECT_EQ(CountCalls(calls, "VYXWL_DevDetect"), 1u);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SiteSurveyScan"), 1u);
    EXPECT_TRUE(adapter_->IsDeviceOpen());
    EXPECT_FALSE(adapter_->OpenDevice(nullptr));
}

TEST_F(AdapterTest, StoppedWorkerRefusesEverythingAndNeverBlocks) {
    Create();
    Open();
    EXPECT_TRUE(adapter_->StopAdapter());
    EXPECT_TRUE(adapter_->Finished());
    EXPECT_FALSE(adapter_->IsDeviceOpen());

    // the stop stays in force: an open skips every library call
    size_t mark = TraceMark();
    DeviceRecord record = Record();
    EXPECT_FALSE(adapter_->OpenDevice(&record));
    EXPECT_TRUE(TraceSince(mark).empty());
    // the ended thread acknowledges nothing; waiting for it must not hang
    EXPECT_TRUE(ReturnsWithin(
        [&] {
            adapter_->PauseAdapter();
            adapter_->ResumeAdapter();
            adapter_->CloseDevice();
        },
        5000));
    EXPECT_TRUE(adapter_->StopAdapter());
}

// Notes, when the worker's members go, whether its thread had ended by then.
class EndWitness : public IpHelperApi {
public:
    EndWitness(HANDLE thread, bool* ended) : thread_(thread), ended_(ended) {}
    ~EndWitness() override { *ended_ = WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO*, ULONG*) override { return ERROR_NOT_SUPPORTED; }
    DWORD GetInterfaceInfo(IP_INTERFACE_INFO*, ULONG*) override { return ERROR_NOT_SUPPORTED; }
    DWORD IpReleaseAddress(IP_ADAPTER_INDEX_MAP*) override { return ERROR_NOT_SUPPORTED; }
    DWORD IpRenewAddress(IP_ADAPTER_INDEX_MAP*) override { return ERROR_NOT_SUPPORTED; }

private:
    HANDLE thread_;
    bool* ended_;
};

TEST_F(AdapterTest, ThreadOutlivingTheStopIsWaitedForBeforeItsObjectGoes) {
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 1;
    timing.StopTimeoutMs = 100;
    Create(timing);
    HANDLE thread = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), adapter_->Handle(), GetCurrentProcess(),
                                &thread, SYNCHRONIZE, FALSE, 0));
    bool endedFirst = false;
    adapter_->IpHelper = std::make_shared<EndWitness>(thread, &endedFirst);
    Open();
    // every poll from now on spends 1200 ms inside the library
    WriteScenario("", std::string(kLobbyNetwork) + "[Delay]\r\nVYXWL_QueryOID=1200\r\n");
    PumpFor(300);
    EXPECT_FALSE(adapter_->StopAdapter()) << "the poll outlives the stop time-out";
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    adapter_.reset();
    EXPECT_TRUE(endedFirst) << "members freed under a running thread";
    CloseHandle(thread);
}

TEST_F(AdapterTest, StatusPollNeverKeepsStaleLinkData) {
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 20;
    Create(timing);
    Open();
    WLStatus status;
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_TRUE(SameBytes(status, NotConnected()));

    ASSERT_TRUE(adapter_->ApplyProfile(OpenProfile("Lobby")));
    ASSERT_TRUE(WaitForApplied());
    ASSERT_TRUE(WaitForPolls(2));
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_EQ(status.MediaConnect, 0);
    EXPECT_EQ(SsidText(status.Ssid, status.SsidLength), "Lobby");
    EXPECT_EQ(status.SignalDbm, -60);
    NetworkInfo linked;
    ASSERT_TRUE(adapter_->GetAdapterNetworkInfo(linked));
    EXPECT_EQ(linked.NI_IpAddr[0], 192);
    EXPECT_EQ(linked.NI_IpAddr[3], 20);

    // failing queries: the zeroed record, not connected; the last IP settings stay
    WriteScenario("", std::string(kLobbyNetwork) +
                          "[Fail]\r\nVYXWL_QueryOID=1\r\nVYXWL_GetNetworkInfo=0\r\n");
    ASSERT_TRUE(WaitForPolls(2));
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_TRUE(SameBytes(status, NotConnected()));
    NetworkInfo kept;
    ASSERT_TRUE(adapter_->GetAdapterNetworkInfo(kept));
    EXPECT_EQ(std::memcmp(&kept, &linked, sizeof(kept)), 0);

    // a second status answer that fails: what the read wrote stays, marked not connected
    WriteScenario("MoreToCome=2\r\n");
    ASSERT_TRUE(WaitForPolls(2));
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_EQ(status.MediaConnect, 1);
    EXPECT_EQ(SsidText(status.Ssid, status.SsidLength), "Lobby");

    // the network goes: not connected, nothing of it left
    WriteScenario("", "");
    ASSERT_TRUE(WaitForPolls(2));
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_TRUE(SameBytes(status, NotConnected()));
}

class DriverFacts : public AdapterTest {
protected:
    void SetUp() override {
        AdapterTest::SetUp();
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        name_ = "wltest_" + std::to_string(GetCurrentProcessId()) + ".sys";
        file_ = std::string(windows) + "\\System32\\Drivers\\" + name_;
        // this program carries a version resource: 5.1.2600.2180
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        ASSERT_TRUE(CopyFileA(self, file_.c_str(), FALSE));
    }
    void TearDown() override {
        AdapterTest::TearDown();
        DeleteFileA(file_.c_str());
    }
    DriverInfo OpenAndRead() {
        DriverInfo info;
        adapter_->CloseDevice();
        DeviceRecord record = Record();
        EXPECT_TRUE(adapter_->OpenDevice(&record));
        EXPECT_TRUE(adapter_->GetDriverInfo(info));
        return info;
    }
    std::string name_;
    std::string file_;
};

TEST_F(DriverFacts, FileVersionMacAndSupportMode) {
    // the library's path leads nowhere: the file is found in System32\Drivers
    WriteScenario("MAC=02:56:59:0A:BC:0D\r\nDriverPath=Nowhere\\" + name_ + "\r\n");
    WriteSettings("SupportMode=20\r\n[USB\\VID_0001&PID_0002]\r\nSupportMode=7\r\n");
    Create();
    DriverInfo info = OpenAndRead();
    EXPECT_STREQ(info.Version, "5.1.2600.2180");
    EXPECT_EQ(AnsiCompareText(info.DriverPath, file_), 0) << info.DriverPath;
    EXPECT_STREQ(info.MacAddress, "02-56-59-0A-BC-0D");
    EXPECT_EQ(info.Reserved1, 0);
    EXPECT_EQ(info.Reserved2, 0);
    EXPECT_EQ(info.SupportMode, 7);

    // the adapter's own mode 0 or missing: [Setting], else 34
    WriteSettings("SupportMode=20\r\n[USB\\VID_0001&PID_0002]\r\nSupportMode=0\r\n");
    EXPECT_EQ(OpenAndRead().SupportMode, 20);
    WriteSettings("");
    EXPECT_EQ(OpenAndRead().SupportMode, 34);

    // no driver file anywhere
    DeleteFileA(file_.c_str());
    info = OpenAndRead();
    EXPECT_STREQ(info.Version, "");
    EXPECT_STREQ(info.DriverPath, "");
}

// A 64-bit test program is no WOW64 process: the worker is given one that is, whose SysWOW64
// holds no driver.
class Wow64Files final : public FakeDriverFiles {
protected:
    bool Exists(const std::string& seen) override {
        DWORD attrs = GetFileAttributesA(seen.c_str());
        return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
    }
    AnsiString Version(const std::string& seen) override { return GetFileVersionString(seen, 4); }
};

TEST_F(DriverFacts, Wow64LooksInTheNativeSystemFolder) {
    WriteScenario("DriverPath=System32\\Drivers\\" + name_ + "\r\n");
    Create();
    auto files = std::make_shared<Wow64Files>();
    adapter_->DriverFiles = files;
    DriverInfo info = OpenAndRead();
    EXPECT_STREQ(info.Version, "5.1.2600.2180");
    EXPECT_EQ(AnsiCompareText(info.DriverPath, file_), 0) << info.DriverPath;
    EXPECT_EQ(files->Calls, "off exists version on ");
}

}  // namespace
}  // namespace adaptertest
