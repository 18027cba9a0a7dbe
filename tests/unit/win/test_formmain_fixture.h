// The main window as the program makes it: the application's main form over the skin store, the
// stand-in driver library with a scenario and a call trace, a settings file, a log file, and
// pages that write down every call the window makes on them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "classlib/Application.h"
#include "classlib/Dialogs.h"
#include "classlib/StdCtrls.h"
#include "core/Udebug.h"
#include "core/Udefine.h"
#include "core/Uvyxwllib.h"
#include "monitor/Uformabout.h"
#include "monitor/Uformmain.h"
#include "monitor/Uformres.h"
#include "monitor/Uthreadcloseform.h"

namespace mainwin {

constexpr char kHwid[] = "USB\\VID_0001&PID_0002";
constexpr char kAdapter[] = "[Adapter]\r\nHWID1=USB\\VID_0001&PID_0002\r\nName1=Test Adapter\r\n";
// An open network at -60 dBm (70 %) with noise -80 dBm (30 %), and a WPA-PSK AES one.
constexpr char kNetworks[] =
    "[Network1]\r\nSSID=Lobby\r\nMAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-60\r\n"
    "Noise=-80\r\nPrivacy=0\r\nMode=1\r\nBand=1\r\n"
    "[Network2]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\nRSSI=-50\r\n"
    "Privacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n";

inline WLProfile Profile(const std::string& name, const std::string& ssid, int32_t method = 0,
                         int32_t mode = 1) {
    WLProfile p = FAGlobalVar.DefaultProfile;
    SetTextField(p.ProfileName, name);
    SetTextField(p.Ssid1, ssid);
    p.NetworkMode = mode;
    p.EncryptionMethod = method;
    return p;
}

// What the window did to its pages, one line a call: "<page> <call> <values>".
struct Journal {
    std::vector<std::string> Lines;
    void Add(const std::string& line) { Lines.push_back(line); }
    // The lines that begin with prefix, in order.
    std::vector<std::string> With(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& l : Lines)
            if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
        return out;
    }
    size_t Count(const std::string& line) const {
        size_t n = 0;
        for (const std::string& l : Lines) n += l == line;
        return n;
    }
};

// The journal's lines for what the window tells a page and the profile page's own calls.
inline std::string ChangedLine(const std::string& page, int kind, int reserved = 0) {
    return page + " changed " + std::to_string(kind) + " " + std::to_string(reserved);
}
inline std::string EventLine(const std::string& page, int type, int value = 0) {
    return page + " event " + std::to_string(type) + " " + std::to_string(value);
}
inline std::string WizardLine(int mode) {
    return "profile wizard " + std::to_string(mode);
}
inline std::string StoredLine(LPARAM lParam) {
    return "profile stored " + std::to_string(static_cast<long>(lParam));
}

class FakePage : public TPropertyPageFrame, public IMainListPage {
public:
    FakePage(TComponent* owner, const std::string& tag, Journal* journal)
        : TPropertyPageFrame(owner), Tag_(tag), Log(journal) {
        List = new TEdit(this);
        List->SetBounds(10, 10, 100, 20);
        List->SetParent(this);
    }
    void InitPage() override { Log->Add(Tag_ + " init"); }
    void ClosePage() override { Log->Add(Tag_ + " close"); }
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override {
        Log->Add(Tag_ + " enter " + std::to_string(direction) + " " + std::to_string(mode));
        return TPropertyPageFrame::EnterPage(other, direction, mode);
    }
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override {
        Log->Add(Tag_ + " leave");
        return !RefuseLeave && TPropertyPageFrame::LeavePage(other, direction, mode);
    }
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override {
        Log->Add(ChangedLine(Tag_, kind, reserved) + (adapter ? "" : " null"));
    }
    void AdapterEvent(CAdapter* adapter, int type, int value) override {
        Log->Add(EventLine(Tag_, type, value) + (adapter ? "" : " null"));
    }
    TWinControl* PageList() override { return List; }

    std::string Tag_;
    Journal* Log;
    TEdit* List;
    bool RefuseLeave = false;
};

class FakeProfilePage : public FakePage, public IMainProfilePage {
public:
    FakeProfilePage(TComponent* owner, Journal* journal) : FakePage(owner, "profile", journal) {
        OpenDlg = new TOpenDialog(this);
        SaveDlg = new TSaveDialog(this);
    }
    bool RunProfileWizard(int mode) override {
        Log->Add(WizardLine(mode));
        return Wizard ? Wizard(mode) : false;
    }
    bool OnProfileStored(LPARAM lParam) override {
        Log->Add(StoredLine(lParam));
        return StoreAnswer;
    }
    TOpenDialog* ProfileOpenDialog() override { return OpenDlg; }
    TOpenDialog* ProfileSaveDialog() override { return SaveDlg; }

    std::function<bool(int mode)> Wizard;
    bool StoreAnswer = true;
    TOpenDialog* OpenDlg;
    TSaveDialog* SaveDlg;
};

class FakeInfoPage : public FakePage, public IMainInfoPage {
public:
    FakeInfoPage(TComponent* owner, Journal* journal) : FakePage(owner, "info", journal) {}
    void ShowStatusPanel() override { Log->Add("info back"); }
};

// Answers the window's questions as the test says and can hold back the profile list.
class TTestFormMain : public TFormMain {
public:
    explicit TTestFormMain(TComponent* owner) : TFormMain(owner) {}
    int ShowMainMessage(int flags, const AnsiString& text) override {
        Questions.push_back(std::to_string(flags) + " " + text);
        return Answer;
    }
    std::vector<std::string> Questions;
    int Answer = mrNo;
    bool ProfilesUnread = false;

protected:
    bool ReadStoredProfiles(std::vector<WLProfile>& profiles) override {
        return !ProfilesUnread && TFormMain::ReadStoredProfiles(profiles);
    }
};

// Serves the thread's messages until done() or the time-out; false on time-out. Conditions that
// other threads make true without a message are looked at every 10 ms.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (done()) return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        DWORD slice = timeoutMs - spent < 10 ? timeoutMs - spent : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

// Serves the thread's messages until the handle is signalled; false on time-out.
inline bool PumpUntilSignalled(HANDLE handle, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - spent, QS_ALLINPUT);
    }
}

// Runs body once from a timer of this thread, inside whatever modal loop runs then.
class OneShot {
public:
    OneShot(UINT delayMs, std::function<bool()> body) : timer_(new TTimer(nullptr)) {
        timer_->SetInterval(delayMs);
        timer_->OnTimer = [this, body](TObject*) {
            if (!body()) return;  // not yet: try at the next tick
            timer_->SetEnabled(false);
            Done = true;
        };
    }
    ~OneShot() { timer_->Free(); }
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;
    bool Done = false;

private:
    TTimer* timer_;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& e) {
            errors_.push_back(e.Message);
        };
        static LONG counter = 0;
        root_ = "MainWin" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(InterlockedIncrement(&counter));
        scenario_ = dir_.File("VYXWL.scn");
        trace_ = dir_.File("calls.trace");
        log_ = dir_.File("Wavelorn.Log");
        Scenario(std::string(kAdapter) + kNetworks);
        SetEnvironmentVariableA("VYXWL_SCENARIO", scenario_.c_str());
        Configure("", 7);
        ASSERT_TRUE(DriverLib.LoadDriverLib(BinDir() + "VYXWL.DLL", FAGlobalVar.ProfRoot));
        libStop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        CloseDebugLog();
        TempDir::WriteFile(log_, "");
        ASSERT_TRUE(GlobalDebugLog().Open(log_));
        if (!FormRes) FormRes = NewForm<TFormRes>(Application);
        MainPageFactory = [this](TComponent* owner, TMainPageKind kind) -> TPropertyPageFrame* {
            switch (kind) {
                case TMainPageKind::SiteSurvey:
                    return survey_ = new FakePage(owner, "survey", &journal_);
                case TMainPageKind::Profile:
                    return profile_ = new FakeProfilePage(owner, &journal_);
                case TMainPageKind::Info:
                    return info_ = new FakeInfoPage(owner, &journal_);
            }
            return nullptr;
        };
    }

    void TearDown() override {
        if (form_) {
            if (closeThreads_) WaitForCloseThreads();
            form_->Free();
            form_ = nullptr;
        }
        FormMain = nullptr;
        if (FormAbout) {
            FormAbout->Free();
            FormAbout = nullptr;
        }
        MainPageFactory = nullptr;
        DriverLib.UnloadDriverLib();
        CloseHandle(libStop_);
        DeleteRegistryTree(HKEY_CURRENT_USER, "SoftWare\\" + root_);
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
        FAGlobalVar.SettingsIni.reset();
        FAGlobalVar.StringIni.reset();
        CloseDebugLog();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors_.empty()) << errors_.front();
    }

    // The settings file ([Setting] with this test's root and more keys, the adapter in
    // [Product]), an empty string file unless given, read as the program reads them.
    void Configure(const std::string& moreSettings, int32_t winVer,
                   const std::string& strings = "[FormMain]\r\n",
                   const std::string& moreProducts = "") {
        std::string settings = dir_.File("Wavelorn.bin");
        TempDir::WriteFile(settings, "[Setting]\r\nProfRoot=" + root_ + "\r\n" + moreSettings +
                                         "[Product]\r\nHWID0=" + kHwid + "\r\n" + moreProducts);
        TempDir::WriteFile(dir_.File("Wavelorn.ini"), strings);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, settings.c_str());
        FAGlobalVar.LoadConfiguration(dir_.File("Wavelorn.exe"));
        FAGlobalVar.WinVer = winVer;
    }
    void Scenario(const std::string& text) {
        TempDir::WriteFile(scenario_, text + "[Trace]\r\nFile=" + trace_ + "\r\n");
    }
    std::string Setting(const char* key) {
        char value[64] = {};
        std::string file = dir_.File("Wavelorn.bin");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        GetPrivateProfileStringA("Setting", key, "(none)", value, sizeof(value), file.c_str());
        return value;
    }

    // The main window as the start-up code makes it, with the worker's waits shortened.
    void Make() {
        Application->CreateForm(form_);
        FormMain = form_;
        AdapterTiming timing;
        timing.FirstPollMs = 10;
        timing.PollPeriodMs = pollMs_;
        timing.AppliedPauseMs = 10;
        timing.StopTimeoutMs = 2000;
        form_->WorkerTiming = timing;
        form_->DeviceTimerMs = 100;
    }
    void MakeAndPrepare() {
        Make();
        ASSERT_TRUE(form_->PrepareForm(0));
    }
    bool WaitAttached() {
        return PumpUntil([&] { return form_->CurDevice != nullptr; });
    }
    void Post(WPARAM code, LPARAM value) {
        PostMessageA(form_->Handle(), BroadcastMsgId, code, value);
    }
    void Send(WPARAM code, LPARAM value) {
        SendMessageA(form_->Handle(), BroadcastMsgId, code, value);
    }

    std::string Log() const { return TempDir::ReadFile(log_); }
    size_t LogCount(const std::string& line) const {
        std::string text = "\r\n" + Log();
        size_t n = 0;
        std::string needle = "\r\n" + line + "\r\n";
        for (size_t pos = text.find(needle); pos != std::string::npos;
             pos = text.find(needle, pos + 2))
            ++n;
        return n;
    }
    std::string Trace() const { return TempDir::ReadFile(trace_); }

    void StoreInLibrary(const WLProfile& profile) {
        WLProfile copy = profile;
        DriverLibGuard lock(DriverLib, libStop_);
        ASSERT_TRUE(lock);
        ASSERT_EQ(DriverLib.VYXWL_SetWLProfile(copy.ProfileName, &copy), 1);
    }

    // The close-dialogs threads of a test end before its window goes: one started now ends
    // after those started before.
    void WaitForCloseThreads() {
        bool done = false;
        CThreadCloseForm::Start([&done] { done = true; });
        EXPECT_TRUE(PumpUntil([&] { return done; }, 10000));
    }

    TempDir dir_;
    std::string root_;
    std::string scenario_;
    std::string trace_;
    std::string log_;
    HANDLE libStop_ = nullptr;
    Journal journal_;
    FakePage* survey_ = nullptr;
    FakeProfilePage* profile_ = nullptr;
    FakeInfoPage* info_ = nullptr;
    TTestFormMain* form_ = nullptr;
    UINT pollMs_ = 60000;  // no polls after the first unless a test wants them
    bool closeThreads_ = false;
    std::vector<std::string> errors_;
};

}  // namespace mainwin
