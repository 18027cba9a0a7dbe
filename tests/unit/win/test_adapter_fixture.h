// The adapter worker against the stand-in driver library, loaded as the program loads it: a
// settings file and a scenario in a temp folder, a hidden window on the test thread that
// receives the worker's codes, and the library's call trace.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/Uadapter.h"
#include "core/Udefine.h"
#include "core/Uvyxwllib.h"

namespace adaptertest {

constexpr char kHwid[] = "USB\\VID_0001&PID_0002";
constexpr char kDeviceName[] = "Test Adapter";
constexpr char kDeviceSection[] = "USB\\VID_0001&PID_0002-9999";
// One open infrastructure network and the adapter's DHCP address while linked to it.
constexpr char kLobbyNetwork[] =
    "[Network1]\r\nSSID=Lobby\r\nMAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-60\r\n"
    "Privacy=0\r\nMode=1\r\nBand=1\r\n";

struct Notice {
    WPARAM code;
    LPARAM value;
    bool sent;  // by SendMessage, else posted
};

struct TraceCall {
    std::string name;
    std::string args;
    long answer = 0;
    std::string note;
};

inline WLProfile OpenProfile(const std::string& name, const std::string& ssid = "Lobby") {
    WLProfile p;
    p.NetworkMode = 1;
    SetTextField(p.ProfileName, name);
    SetTextField(p.Ssid1, ssid);
    return p;
}

inline void SetAddress(uint8_t (&field)[4], uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    field[0] = a;
    field[1] = b;
    field[2] = c;
    field[3] = d;
}

// Static settings 10.0.0.5/24, gateway and DNS 10.0.0.1.
inline NetworkInfo StaticSettings() {
    NetworkInfo ni;
    ni.NI_wNetFlags = 1;
    SetAddress(ni.NI_IpAddr, 10, 0, 0, 5);
    SetAddress(ni.NI_IpMask, 255, 255, 255, 0);
    SetAddress(ni.NI_IpGate1, 10, 0, 0, 1);
    SetAddress(ni.NI_IpDNS1, 10, 0, 0, 1);
    return ni;
}

inline size_t CountCalls(const std::vector<TraceCall>& calls, const std::string& name) {
    size_t n = 0;
    for (const TraceCall& c : calls) n += c.name == name;
    return n;
}

inline std::vector<std::string> Names(const std::vector<TraceCall>& calls) {
    std::vector<std::string> names;
    for (const TraceCall& c : calls) names.push_back(c.name);
    return names;
}

// Index of the first call of that name at or after from; calls.size() when none.
inline size_t FindCall(const std::vector<TraceCall>& calls, const std::string& name,
                       size_t from = 0) {
    for (size_t i = from; i < calls.size(); ++i)
        if (calls[i].name == name) return i;
    return calls.size();
}

class AdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        static LONG counter = 0;
        root_ = "AdapterTest" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(InterlockedIncrement(&counter));
        trace_ = dir_.File("calls.trace");
        scenario_ = dir_.File("VYXWL.scn");
        WriteSettings("");
        WriteScenario();
        SetEnvironmentVariableA("VYXWL_SCENARIO", scenario_.c_str());
        FAGlobalVar.LoadConfiguration(dir_.File("Wavelorn.exe"));
        FAGlobalVar.WinVer = 7;
        ASSERT_TRUE(DriverLib.LoadDriverLib(BinDir() + "VYXWL.DLL", FAGlobalVar.ProfRoot));
        libStop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        window_ = CreateWindowExA(0, WindowClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    void TearDown() override {
        adapter_.reset();
        if (window_) DestroyWindow(window_);
        DriverLib.UnloadDriverLib();
        CloseHandle(libStop_);
        DeleteRegistryTree(HKEY_CURRENT_USER, "SoftWare\\" + root_);
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
        FAGlobalVar.SettingsIni.reset();
        FAGlobalVar.StringIni.reset();
    }

    // [Setting] with this test's profile root, then more.
    void WriteSettings(const std::string& more) {
        TempDir::WriteFile(dir_.File("Wavelorn.bin"),
                           "[Setting]\r\nProfRoot=" + root_ + "\r\n" + more);
        // readers in this process must not answer from an older copy
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, dir_.File("Wavelorn.bin").c_str());
    }

    // The adapter plugged in with the trace on, then more [Adapter] keys, then the sections.
    void WriteScenario(const std::string& adapterKeys = "",
                       const std::string& sections = kLobbyNetwork) {
        TempDir::WriteFile(scenario_,
                           "[Trace]\r\nFile=" + trace_ + "\r\n[Adapter]\r\nHWID1=" + kHwid +
                               "\r\nName1=" + kDeviceName + "\r\n" + adapterKeys + sections);
    }

    static AdapterTiming FastTiming() {
        AdapterTiming t;
        t.FirstPollMs = 10;
        t.PollPeriodMs = 60000;  // no later polls unless a test asks for them
        t.AppliedPauseMs = 10;
        t.NoticeTimeoutMs = 1000;
        return t;
    }

    void Create(const AdapterTiming& timing = FastTiming()) {
        adapter_ = std::make_unique<CAdapter>(window_, timing);
    }

    static DeviceRecord Record(const char* hwid = kHwid, const char* name = kDeviceName) {
        return MakeDeviceRecord(name, hwid);
    }

    void Open() {
        DeviceRecord record = Record();
        ASSERT_TRUE(adapter_->OpenDevice(&record));
    }

    // Serves the test thread's messages until done() or the time-out.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
        DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (done()) return true;
            DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
        }
    }
    void PumpFor(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }

    size_t CountNotices(WPARAM code) const {
        size_t n = 0;
        for (const Notice& m : notices_) n += m.code == code;
        return n;
    }
    bool WaitForNotices(WPARAM code, size_t total, DWORD timeoutMs = 5000) {
        return PumpUntil([&] { return CountNotices(code) >= total; }, timeoutMs);
    }
    // n more polls that posted their code from now on
    bool WaitForPolls(size_t n, DWORD timeoutMs = 5000) {
        return WaitForNotices(bmStatusUpdated, CountNotices(bmStatusUpdated) + n, timeoutMs);
    }
    bool WaitForApplied(DWORD timeoutMs = 5000) {
        return WaitForNotices(bmProfileApplied, CountNotices(bmProfileApplied) + 1, timeoutMs);
    }

    std::vector<TraceCall> Trace() const { return TraceSince(0); }
    size_t TraceMark() const { return Trace().size(); }
    std::vector<TraceCall> TraceSince(size_t mark) const {
        std::vector<TraceCall> calls;
        std::string text = TempDir::ReadFile(trace_);
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 2;
            size_t name = line.find("VYXWL_");
            size_t open = line.find('(', name);
            size_t close = line.find(") -> ", open);
            if (name == std::string::npos || open == std::string::npos ||
                close == std::string::npos)
                continue;
            TraceCall call;
            call.name = line.substr(name, open - name);
            call.args = line.substr(open + 1, close - open - 1);
            char* rest = nullptr;
            call.answer = std::strtol(line.c_str() + close + 5, &rest, 10);
            call.note = rest && *rest == ' ' ? std::string(rest + 1) : std::string();
            calls.push_back(call);
        }
        if (mark >= calls.size()) return {};
        return std::vector<TraceCall>(calls.begin() + static_cast<long>(mark), calls.end());
    }

    // Direct library calls of the test itself, under the library lock.
    void StoreInLibrary(const WLProfile& profile) {
        WLProfile copy = profile;
        DriverLibGuard lock(DriverLib, libStop_);
        ASSERT_TRUE(lock);
        DriverLib.VYXWL_SetWLProfile(copy.ProfileName, &copy);
    }
    std::vector<std::string> LibraryProfileNames() {
        std::vector<std::string> names;
        DriverLibGuard lock(DriverLib, libStop_);
        char name[264];
        for (int32_t i = 0; lock; ++i) {
            std::memset(name, 0, sizeof(name));
            if (DriverLib.VYXWL_EnumWLProfiles(i, name) != 1) break;
            names.push_back(name);
        }
        return names;
    }
    void SetLibraryNetworkInfo(const NetworkInfo& info) {
        NetworkInfo copy = info;
        DriverLibGuard lock(DriverLib, libStop_);
        ASSERT_TRUE(lock);
        DriverLib.VYXWL_SetNetworkInfo(&copy);
    }

    TempDir dir_;
    std::string root_;
    std::string trace_;
    std::string scenario_;
    HANDLE libStop_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Notice> notices_;
    // Runs inside the window procedure for every code, sent or posted.
    std::function<void(const Notice&)> onNotice_;
    std::unique_ptr<CAdapter> adapter_;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<AdapterTest*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && BroadcastMsgId != 0 && msg == BroadcastMsgId) {
            Notice notice{wParam, lParam, InSendMessage() != FALSE};
            self->notices_.push_back(notice);
            if (self->onNotice_) self->onNotice_(notice);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    static const char* WindowClass() {
        static const char* name = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "AdapterTestWindow";
            RegisterClassA(&wc);
            return "AdapterTestWindow";
        }();
        return name;
    }
};

}  // namespace adaptertest
