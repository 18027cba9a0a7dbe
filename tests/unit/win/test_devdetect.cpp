// Device detection against the stand-in driver library, steered by its scenario file.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "TempDir.h"
#include "classlib/IniFile.h"
#include "core/Udefine.h"
#include "core/Uthreaddevdetect.h"
#include "core/Uvyxwllib.h"

namespace {

const DWORD kPatienceMs = 5000;
const char kHwidA[] = "USB\\VID_0001&PID_000A";
const char kHwidB[] = "USB\\VID_0001&PID_000B";

std::string BinDir() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string path(buf, n);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

// A window of this thread that only collects what is posted to it.
class OwnerWindow {
public:
    OwnerWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DevDetectTestOwner";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
        message = RegisterWindowMessageA("DevDetectTestBroadcast");
    }
    ~OwnerWindow() { DestroyWindow(hwnd); }
    // The device-list messages queued so far; anything else posted with the message counts -1.
    int Take() {
        int count = 0;
        MSG msg;
        while (PeekMessageA(&msg, hwnd, message, message, PM_REMOVE))
            count += msg.wParam == bmDeviceListChanged && msg.lParam == 0 ? 1 : -1000;
        return count;
    }
    HWND hwnd;
    UINT message;
};

class DevDetect : public ::testing::Test {
protected:
    void SetUp() override {
        trace_ = dir_.File("calls.trace");
        SetEnvironmentVariableA("VYXWL_SCENARIO", dir_.File("VYXWL.scn").c_str());
        Plug({});
        ASSERT_TRUE(lib_.LoadDriverLib(BinDir() + "VYXWL.DLL",
                                       "DetectTest" + std::to_string(GetCurrentProcessId())));
        Products({kHwidA, kHwidB});
        passEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    void TearDown() override {
        if (thread_) {
            EXPECT_TRUE(thread_->StopDetect());
            thread_.reset();
        }
        CloseHandle(passEvent_);
        lib_.UnloadDriverLib();
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
    }

    // The adapters plugged in: hardware id and device name; extra: more scenario lines.
    void Plug(const std::vector<std::pair<std::string, std::string>>& adapters,
              const std::string& extra = "") {
        std::string text = "[Trace]\r\nFile=" + trace_ + "\r\n[Adapter]\r\n";
        for (size_t i = 0; i < adapters.size(); ++i) {
            std::string n = std::to_string(i + 1);
            text += "HWID" + n + "=" + adapters[i].first + "\r\nName" + n + "=" +
                    adapters[i].second + "\r\n";
        }
        TempDir::WriteFile(dir_.File("VYXWL.scn"), text + extra);
    }
    // The [Product] list of the settings file.
    void Products(const std::vector<std::string>& ids) {
        std::string text = "[Product]\r\n";
        for (size_t i = 0; i < ids.size(); ++i)
            text += "HWID" + std::to_string(i) + "=" + ids[i] + "\r\n";
        TempDir::WriteFile(dir_.File("Wavelorn.bin"), text);
        settings_.SettingsIni.reset(new TIniFile(dir_.File("Wavelorn.bin")));
    }

    // waitHook: the retry pause; by default it asks for nothing and lets the retry run at once.
    void Start(std::function<DWORD(HANDLE, DWORD)> waitHook = nullptr) {
        DevDetectSetup setup;
        setup.Lib = &lib_;
        setup.Settings = &settings_;
        setup.Message = owner_.message;
        setup.Wait = [this, waitHook](HANDLE stop, DWORD ms) -> DWORD {
            waits_.push_back(ms);  // only the thread touches it until it is read after a pass
            return waitHook ? waitHook(stop, ms) : static_cast<DWORD>(WAIT_TIMEOUT);
        };
        setup.PassDone = [this] {
            ++passes_;
            SetEvent(passEvent_);
        };
        thread_.reset(new CThreadDevDetect(owner_.hwnd, setup));
    }
    // Until the thread has finished this many passes in all.
    bool WaitPasses(int count) {
        while (passes_ < count)
            if (WaitForSingleObject(passEvent_, kPatienceMs) != WAIT_OBJECT_0) return false;
        return passes_ == count;
    }
    // The hardware ids handed to VYXWL_DevDetect, in call order.
    std::vector<std::string> DetectCalls() {
        std::vector<std::string> ids;
        std::string text = TempDir::ReadFile(trace_);
        const std::string call = "VYXWL_DevDetect(\"";
        for (size_t pos = 0; (pos = text.find(call, pos)) != std::string::npos;) {
            pos += call.size();
            ids.push_back(text.substr(pos, text.find('"', pos) - pos));
        }
        return ids;
    }
    std::vector<DeviceRecord> Devices() {
        std::vector<DeviceRecord> list;
        thread_->GetDevices(list);
        return list;
    }

    TempDir dir_;
    std::string trace_;
    CVYXWLLIB lib_;
    CFAGlobalVar settings_;
    OwnerWindow owner_;
    HANDLE passEvent_ = nullptr;
    std::atomic<int> passes_{0};
    std::vector<DWORD> waits_;
    std::unique_ptr<CThreadDevDetect> thread_;
};

TEST(DeviceRecordForm, TextsAreCutAndEveryOtherByteIsZero) {
    DeviceRecord r = MakeDeviceRecord(std::string(200, 'N'), std::string(80, 'H'));
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&r);
    for (int i = 0; i < 197; ++i) {
        unsigned char want = i < 127 ? 'N' : i >= 128 && i < 191 ? 'H' : 0;
        if (i >= 192 && i < 196) want = '9';
        ASSERT_EQ(bytes[i], want) << "byte " << i;
    }
    DeviceRecord other = r;
    EXPECT_TRUE(SameDevice(r, other));
    other.Suffix[4] = 1;  // the terminating NUL counts too
    EXPECT_FALSE(SameDevice(r, other));
}

TEST_F(DevDetect, ReportsAnArrivalAndADepartureOnceEach) {
    Plug({{kHwidA, "Adapter A"}});
    Start();
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(1));
    EXPECT_EQ(owner_.Take(), 1);
    std::vector<DeviceRecord> list(1);  // appended to, not replaced
    thread_->GetDevices(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(SameDevice(list[1], MakeDeviceRecord("Adapter A", kHwidA)));

    // Still there: no message and no retry.
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(2));
    EXPECT_EQ(owner_.Take(), 0);
    EXPECT_TRUE(waits_.empty());

    // Unplugged: one message, the list is empty, and a change ends the retries.
    Plug({});
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(3));
    EXPECT_EQ(owner_.Take(), 1);
    EXPECT_TRUE(Devices().empty());
    EXPECT_TRUE(waits_.empty());

    // Nothing there and nothing known: two passes, 1500 ms apart, no message.
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(5));
    EXPECT_EQ(waits_, std::vector<DWORD>{1500});
    EXPECT_EQ(owner_.Take(), 0);
    // A answered at once in the first two passes, then A and B were asked each time
    EXPECT_EQ(DetectCalls().size(), 8u);

    // Forgotten while plugged in: reported again.
    Plug({{kHwidA, "Adapter A"}});
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(6));
    EXPECT_EQ(owner_.Take(), 1);
    thread_->ClearDevices();
    EXPECT_TRUE(Devices().empty());
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(7));
    EXPECT_EQ(owner_.Take(), 1);
    EXPECT_EQ(Devices().size(), 1u);
}

TEST_F(DevDetect, OnlyTheFirstPresentAdapterOfTheProductListCounts) {
    // Plugged in the other order than the list names them; C is not plugged in.
    Products({"USB\\VID_0001&PID_000C", kHwidB, kHwidA});
    Plug({{kHwidA, "Adapter A"}, {kHwidB, std::string(200, 'B')}});
    Start();
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(1));
    EXPECT_EQ(DetectCalls(), (std::vector<std::string>{"USB\\VID_0001&PID_000C", kHwidB}));
    std::vector<DeviceRecord> list = Devices();
    ASSERT_EQ(list.size(), 1u);
    // A name longer than the record holds is cut to its first 127 characters.
    EXPECT_TRUE(SameDevice(list[0], MakeDeviceRecord(std::string(127, 'B'), kHwidB)));
    EXPECT_EQ(owner_.Take(), 1);
}

TEST_F(DevDetect, WithoutProductListTheEmptyIdIsOfferedAndItsAnswerReported) {
    settings_.SettingsIni.reset(new TIniFile(dir_.File("missing.bin")));
    Plug({{kHwidA, "Adapter A"}}, "[Fail]\r\nVYXWL_DevDetect=1\r\n");
    Start();
    thread_->RequestDetect(2);
    ASSERT_TRUE(WaitPasses(1));
    EXPECT_EQ(DetectCalls(), std::vector<std::string>{""});
    std::vector<DeviceRecord> list = Devices();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(SameDevice(list[0], MakeDeviceRecord("", "")));
    EXPECT_EQ(owner_.Take(), 1);
}

TEST_F(DevDetect, StopDuringTheRetryPauseEndsWithoutAnotherPass) {
    HANDLE pausing = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Start([pausing](HANDLE stop, DWORD ms) {
        SetEvent(pausing);
        return WaitForSingleObject(stop, ms);
    });
    thread_->RequestDetect(2);
    ASSERT_EQ(WaitForSingleObject(pausing, kPatienceMs), WAIT_OBJECT_0);
    DWORD start = GetTickCount();
    EXPECT_TRUE(thread_->StopDetect());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(passes_, 1);
    EXPECT_EQ(DetectCalls().size(), 2u);  // A and B, once
    CloseHandle(pausing);
}

TEST_F(DevDetect, WaitsForTheLibraryLockAndGivesUpOnStop) {
    Plug({{kHwidA, "Adapter A"}});
    HANDLE ours = CreateEventA(nullptr, FALSE, FALSE, nullptr);

    // Held by someone else: no call until it is free again.
    ASSERT_TRUE(lib_.LockDriverLib(ours));
    Start();
    thread_->RequestDetect(2);
    EXPECT_EQ(WaitForSingleObject(passEvent_, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(DetectCalls().empty());
    lib_.UnlockDriverLib();
    ASSERT_TRUE(WaitPasses(1));
    EXPECT_EQ(DetectCalls().size(), 1u);
    EXPECT_EQ(owner_.Take(), 1);
    // Given back after the pass: taken again here.
    ASSERT_EQ(WaitForSingleObject(lib_.DriverLibLock.Get(), 0), WAIT_OBJECT_0);

    // Still held at the stop: the pass ends without a call, and the lock stays ours.
    thread_->ClearDevices();
    thread_->RequestDetect(2);
    EXPECT_EQ(WaitForSingleObject(passEvent_, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(thread_->StopDetect());
    EXPECT_EQ(DetectCalls().size(), 1u);
    EXPECT_EQ(owner_.Take(), 0);
    EXPECT_EQ(WaitForSingleObject(lib_.DriverLibLock.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    lib_.UnlockDriverLib();
    CloseHandle(ours);
}

}  // namespace
