// The monitor under Wine for the end-to-end tests: a folder with the program, the stand-in
// adapter and its scenario, the store under a profile root of its own; the user's mouse and
// keys; what the program's windows show to another process.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "E2e.h"
#include "core/Umessages.h"
#include "core/Uvyxwlapi.h"
#include "tests/unit/TempDir.h"
#include "tests/unit/win/RegistryKeys.h"
#include "tests/unit/win/Screenshot.h"
#include "tests/unit/win/XInput.h"

namespace e2e {

inline const char kAdapter[] =
    "[Adapter]\r\nHWID1=USB\\VID_0001&PID_0002\r\nName1=Test Adapter\r\n";
// Office: WPA-PSK with AES at -50 dBm (90 %), noise -70 dBm (50 %).
inline const char kNetworks[] =
    "[Network1]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\nRSSI=-50\r\n"
    "Noise=-70\r\nPrivacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n"
    "[Network2]\r\nSSID=Cafe\r\nMAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-70\r\n"
    "Privacy=1\r\nMode=1\r\nBand=1\r\nKey=0123456789\r\n";
// The message through which the tray icon reports the mouse (TTrayIcon::CallbackMessage).
inline const UINT kTrayCallback = WM_APP + 0x2F0;

// The top-level windows of a process with a class.
inline std::vector<HWND> WindowsOf(DWORD pid, const char* cls) {
    struct Search {
        DWORD pid;
        const char* cls;
        std::vector<HWND> found;
    } search{pid, cls, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char name[64] = {};
            GetClassNameA(hwnd, name, sizeof(name));
            if (owner == s->pid && std::string(name) == s->cls) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string Title(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// Where the link information page's controls lie in the main window's client area: the page at
// 4, 134, its panels at its top left.
inline POINT OnInfoPage(int x, int y) {
    return {4 + x, 134 + y};
}

// A key pressed or released on the keyboard.
inline void Key(WORD vk, bool up) {
    EXPECT_TRUE(xinput::Key(vk, up)) << vk;
}

// Shift, Alt and F held down as the user holds them while releasing the right button on the
// tray icon. The test shares the key state of the program's window thread for the moment, to
// see when that thread has taken the keys.
class HeldCloseKeys {
public:
    explicit HeldCloseKeys(DWORD windowThread) : thread_(windowThread) {
        attached_ = AttachThreadInput(GetCurrentThreadId(), thread_, TRUE) != FALSE;
        Key(VK_SHIFT, false);
        Key(VK_MENU, false);
        Key('F', false);
    }
    // Once window's thread has read the keys: Shift and Alt down in its key state.
    bool Settle(HWND window) {
        return WaitUntil([&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result);
            return GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) < 0;
        });
    }
    ~HeldCloseKeys() {
        Key('F', true);
        Key(VK_MENU, true);
        Key(VK_SHIFT, true);
        if (attached_) AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
    }
    HeldCloseKeys(const HeldCloseKeys&) = delete;
    HeldCloseKeys& operator=(const HeldCloseKeys&) = delete;
    bool Attached() const { return attached_; }

private:
    DWORD thread_;
    bool attached_ = false;
};

// ---- the user's mouse and keys, and what a window shows to another program ----

// The left button pressed and released at a point of window's client area, once the X server
// holds the click; a failure says why it made none.
inline ::testing::AssertionResult Clicked(HWND window, POINT p) {
    ClientToScreen(window, &p);
    if (xinput::Click(p)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the input server made no click: " << xinput::LastError();
}

inline void ClickIn(HWND window, int x, int y) {
    EXPECT_TRUE(Clicked(window, {x, y}));
}

// The name of a screenshot of what went wrong in a step of this program: the program's and the
// test's names ("e2e_wizard.Wizard.Saves.failed_click"), numbered from the second of a test on,
// so that programs running side by side keep each other's.
inline std::string StepShotName(const std::string& what) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    name = name.substr(0, name.rfind('.'));
    if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string(".") + test->test_suite_name() + "." + test->name();
    name += "." + what;
    static std::map<std::string, int> taken;
    if (int n = ++taken[name]; n > 1) name += "." + std::to_string(n);
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-') c = '_';
    return name;
}

// What the mouse and the keys reach there: the window under the point of window's client
// area, the foreground window and the mouse capture, to tell why a click or typing did nothing.
inline std::string InputTargets(HWND window, POINT p) {
    auto describe = [](HWND h) {
        if (!h) return std::string("none");
        char cls[64] = {}, title[64] = {};
        GetClassNameA(h, cls, sizeof(cls));
        GetWindowTextA(h, title, sizeof(title));
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        return std::string(cls) + " \"" + title + "\" of process " + std::to_string(pid);
    };
    ClientToScreen(window, &p);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(0, &gui);
    return "under the point: " + describe(GetAncestor(WindowFromPoint(p), GA_ROOT)) + " / " +
           describe(WindowFromPoint(p)) + "; foreground: " + describe(GetForegroundWindow()) +
           "; capture: " + describe(gui.hwndCapture) + "; window's process " + [&] {
               DWORD pid = 0;
               GetWindowThreadProcessId(window, &pid);
               return std::to_string(pid);
           }();
}

// One click at a point of window, then a wait until done; a click that did nothing says what
// the mouse reached and leaves a screenshot.
inline ::testing::AssertionResult ClickThen(HWND window, POINT p,
                                            const std::function<bool()>& done) {
    ::testing::AssertionResult clicked = Clicked(window, p);
    if (clicked && WaitUntil(done)) return ::testing::AssertionSuccess();
    SaveScreenshot(GetAncestor(window, GA_ROOT), StepShotName("failed_click"));
    if (!clicked) return clicked << "; " << InputTargets(window, p);
    return ::testing::AssertionFailure() << "click did nothing; " << InputTargets(window, p);
}

inline void Press(WORD vk, bool shift = false) {
    EXPECT_TRUE(xinput::Press(vk, shift)) << vk;
}

// Typed on the keyboard into whatever has the focus.
inline void Type(const std::string& text) {
    EXPECT_TRUE(xinput::Type(text)) << text;
}

// What a control of another process shows now (its title may be older).
inline std::string ShownText(HWND control) {
    char text[512] = {};
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The window that has the keyboard focus in the thread of window.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Whether the keys go to control now: its window foreground, the control with the focus.
inline bool TakesKeysNow(HWND control) {
    return GetForegroundWindow() == GetAncestor(control, GA_ROOT) && FocusOf(control) == control;
}

// Once the keys go to control.
inline bool TakesKeys(HWND control) {
    return WaitUntil([&] { return TakesKeysNow(control); });
}

// The left button pressed and released at a point of the screen, as the system takes them from
// a program, wherever they go: seen by a low-level mouse hook while this lives. The system hands
// them on to the window under the point once the hook has seen them, or has passed it over: it
// passes over the hook of a thread that has not looked at its messages for 5 s and is not
// waiting for one, as a test thread blocked on the input server is. So the hook has a thread of
// its own that does nothing but wait for its messages.
class ReleaseWatch {
public:
    explicit ReleaseWatch(POINT screen) : screen_(screen) {
        seen_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        if (thread_) WaitForSingleObject(ready_, INFINITE);
    }
    ~ReleaseWatch() {
        if (thread_) {
            PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        CloseHandle(ready_);
        CloseHandle(seen_);
    }
    ReleaseWatch(const ReleaseWatch&) = delete;
    ReleaseWatch& operator=(const ReleaseWatch&) = delete;

    bool Hooked() const { return hooked_; }
    // Once the button has been pressed and released at the point.
    bool WaitFor() { return WaitForSingleObject(seen_, kTimeoutMs) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI Run(LPVOID arg) {
        auto* self = static_cast<ReleaseWatch*>(arg);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue that WM_QUIT comes to
        watching_ = self;
        HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, Hook, GetModuleHandleA(nullptr), 0);
        self->hooked_ = hook != nullptr;
        SetEvent(self->ready_);
        if (!hook) return 0;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        UnhookWindowsHookEx(hook);
        watching_ = nullptr;
        return 0;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM message, LPARAM data) {
        if (code == HC_ACTION && watching_) {
            POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt;
            bool there = at.x == watching_->screen_.x && at.y == watching_->screen_.y;
            if (message == WM_LBUTTONDOWN) watching_->pressed_ = there;
            if (message == WM_LBUTTONUP && watching_->pressed_ && there) SetEvent(watching_->seen_);
        }
        return CallNextHookEx(nullptr, code, message, data);
    }

    static inline ReleaseWatch* watching_ = nullptr;
    POINT screen_;
    HANDLE seen_ = nullptr, ready_ = nullptr, thread_ = nullptr;
    DWORD threadId_ = 0;
    bool hooked_ = false, pressed_ = false;  // the hook's thread only, once ready
};

// Once the thread of a shown window has taken all the input that had been handed to it: a
// thread paints only when it has no input left to take, so a paint asked for now comes after.
inline bool InputTaken(HWND shown) {
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE);
    return WaitUntil([&] { return !GetUpdateRect(shown, nullptr, FALSE); });
}

// A click at p of window, once the system has been handed it: from then on it goes before any
// input that comes later to the window under the point.
inline ::testing::AssertionResult ClickHandedOn(HWND window, POINT p) {
    POINT screen = p;
    ClientToScreen(window, &screen);
    ReleaseWatch watch(screen);
    if (!watch.Hooked()) return ::testing::AssertionFailure() << "no low-level mouse hook";
    ::testing::AssertionResult clicked = Clicked(window, p);
    if (!clicked) return clicked;
    if (watch.WaitFor()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the system was handed no click there";
}

// A click at p of window into the control there (an edit, a list): once the window's thread has
// taken that click and the control takes the keys, which it may have done before. The control
// at the point is looked up again meanwhile: one that an earlier click enables is not found
// there until the program has enabled it.
inline ::testing::AssertionResult ClickInto(HWND window, POINT p) {
    ::testing::AssertionResult handed = ClickHandedOn(window, p);
    if (!handed) return handed << "; " << InputTargets(window, p);
    POINT screen = p;
    ClientToScreen(window, &screen);
    HWND there = WindowFromPoint(screen);
    if (!there ||
        GetWindowThreadProcessId(there, nullptr) != GetWindowThreadProcessId(window, nullptr))
        return ::testing::AssertionFailure()
               << "the click went to another thread's window; " << InputTargets(window, p);
    if (!InputTaken(there))
        return ::testing::AssertionFailure()
               << "the window's thread does not take its input; " << InputTargets(window, p);
    if (WaitUntil([&] { return TakesKeysNow(WindowFromPoint(screen)); }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the control does not take the keys; " << InputTargets(window, p);
}

// What the edit at p of window holds replaced by text: clicked into, its text selected with
// Shift and typed over.
inline ::testing::AssertionResult TypeOver(HWND window, POINT p, HWND edit,
                                           const std::string& text) {
    if (!edit) return ::testing::AssertionFailure() << "no edit";
    ::testing::AssertionResult clicked = ClickInto(window, p);
    if (!clicked) return clicked;
    Press(VK_END);
    Press(VK_HOME, true);
    Type(text);
    if (WaitUntil([&] { return ShownText(edit) == text; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "shows \"" << ShownText(edit) << "\"; " << InputTargets(window, p);
}

// A child window of a class at a point of parent's client area (its top left corner); shown
// only, unless hidden ones count too.
inline HWND ChildAt(HWND parent, const char* cls, int x, int y, bool shownOnly = true) {
    struct Search {
        HWND parent;
        const char* cls;
        POINT at;
        bool shownOnly;
        HWND found;
    } search{parent, cls, {x, y}, shownOnly, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char name[64] = {};
            GetClassNameA(child, name, sizeof(name));
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, s->parent, reinterpret_cast<POINT*>(&r), 2);
            if (_stricmp(name, s->cls) == 0 && r.left == s->at.x && r.top == s->at.y &&
                (!s->shownOnly || IsWindowVisible(child))) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The name prompt's edit (at 8, 32) holding text, typed by the keys.
inline ::testing::AssertionResult TypeIntoPrompt(HWND prompt, const std::string& text) {
    return TypeOver(prompt, {8 + 120, 32 + 11}, ChildAt(prompt, "Edit", 8, 32), text);
}

// The text of the label whose top left lies at client point p of the window, on a panel shown
// or not.
inline std::string LabelAt(HWND window, POINT p) {
    HWND label = ChildAt(window, "Static", p.x, p.y, false);
    if (!label) return "(no label)";
    char text[256] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(label, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &n);
    return text;
}

// The one visible top-level window of a class of a process; null until there is one.
inline HWND ShownWindow(DWORD pid, const char* cls) {
    HWND shown = nullptr;
    WaitUntil([&] {
        for (HWND h : WindowsOf(pid, cls))
            if (IsWindowVisible(h)) shown = h;
        return shown != nullptr;
    });
    return shown;
}

// The program's message dialog showing text, answered with its Ok button: it must close. A shot
// named is saved before the answer.
inline ::testing::AssertionResult AnswerMessage(DWORD pid, const std::string& text,
                                                const std::string& shot = "") {
    HWND dialog = ShownWindow(pid, "TFormMessage");
    if (!dialog) return ::testing::AssertionFailure() << "no message";
    HWND label = nullptr, ok = nullptr;
    WaitUntil([&] { return (label = ChildAt(dialog, "STATIC", 49, 8)) != nullptr; });
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (Title(child) == "Ok" && IsWindowVisible(child)) ok = child;
    std::string shown = label ? Title(label) : "(no text)";
    if (shown != text) return ::testing::AssertionFailure() << "the message shows " << shown;
    if (!ok) return ::testing::AssertionFailure() << "no Ok on the message";
    if (!shot.empty()) SaveScreenshot(dialog, shot);
    RECT r;
    GetClientRect(ok, &r);
    return ClickThen(ok, {r.right / 2, r.bottom / 2}, [&] { return !IsWindowVisible(dialog); });
}

// A report list view of another process, read through memory of its own.
class RemoteList {
public:
    explicit RemoteList(HWND list) : list_(list) {
        DWORD pid = 0;
        GetWindowThreadProcessId(list, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            memory_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteList() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    bool Usable() const { return memory_ != nullptr; }
    // The texts of a row's first columns joined by "|" ("caption|SSID"), a row.
    std::vector<std::string> Rows(int columns = 2) {
        std::vector<std::string> rows;
        int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string row = Text(i, 0);
            for (int c = 1; c < columns; ++c) row += "|" + Text(i, c);
            rows.push_back(row);
        }
        return rows;
    }
    int Selected() {
        return static_cast<int>(
            SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    // A row's middle, in the list's client area.
    POINT Middle(int row) {
        RECT r = {};
        r.left = LVIR_BOUNDS;
        WriteProcessMemory(process_, memory_, &r, sizeof(r), nullptr);
        SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_, memory_, &r, sizeof(r), nullptr);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(int row) {
        POINT m = Middle(row);
        ClickIn(list_, m.x, m.y);
    }

private:
    static constexpr SIZE_T kSize = 4096;
    static constexpr SIZE_T kText = 1024;
    std::string Text(int row, int column) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = memory_ + kText;
        item.cchTextMax = 256;
        char text[256] = {};
        WriteProcessMemory(process_, memory_, &item, sizeof(item), nullptr);
        WriteProcessMemory(process_, memory_ + kText, text, sizeof(text), nullptr);
        SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_, memory_ + kText, text, sizeof(text) - 1, nullptr);
        return text;
    }

    HWND list_;
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

class Monitor : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        root_ = "Monitor" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        for (const char* file : {"Wavelorn.exe", "VYXWL.DLL", "Wavelorn.ini", "radio.m", "broken.m",
                                 "radioi.m", "brokeni.m"})
            ASSERT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), dir_.File(file).c_str(), FALSE))
                << file;
        TempDir::WriteFile(dir_.File("Wavelorn.Log"), "");
        TempDir::WriteFile(
            dir_.File("Wavelorn.bin"),
            "[Setting]\r\nProfRoot=" + root_ + "\r\n[Product]\r\nHWID0=USB\\VID_0001&PID_0002\r\n");
        Scenario(std::string(kAdapter) + kNetworks);
    }
    void TearDown() override {
        HKEY key;
        std::string store = "SoftWare\\" + root_ + "\\WLProfile";
        if (RegOpenKeyExA(HKEY_CURRENT_USER, store.c_str(), 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            for (const std::string& name : StoredNames()) RegDeleteKeyA(key, name.c_str());
            RegCloseKey(key);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, store.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, ("SoftWare\\" + root_).c_str());
    }

    void Scenario(const std::string& text) {
        TempDir::WriteFile(dir_.File("VYXWL.scn"),
                           text + "[Trace]\r\nFile=" + dir_.File("calls.trace") + "\r\n");
    }
    std::string Log() const { return TempDir::ReadFile(dir_.File("Wavelorn.Log")); }
    std::string Trace() const { return TempDir::ReadFile(dir_.File("calls.trace")); }
    bool LogShows(const std::string& line, size_t times = 1) {
        return WaitUntil([&] { return Count(Log(), line + "\r\n") >= times; });
    }

    // Profiles put into the driver library's store as the library itself stores them.
    void StoreProfiles(const std::vector<WLProfile>& profiles) {
        HMODULE lib = LoadLibraryA((ProgramFolder() + "VYXWL.DLL").c_str());
        ASSERT_NE(lib, nullptr);
        auto setDir = reinterpret_cast<vyxwl::SetWLProfileDir>(
            reinterpret_cast<void*>(GetProcAddress(lib, "VYXWL_SetWLProfileDir")));
        auto set = reinterpret_cast<vyxwl::SetWLProfile>(
            reinterpret_cast<void*>(GetProcAddress(lib, "VYXWL_SetWLProfile")));
        ASSERT_TRUE(setDir && set);
        setDir(root_.c_str());
        for (WLProfile p : profiles) EXPECT_EQ(set(p.ProfileName, &p), 1);
        FreeLibrary(lib);
    }
    void StoreProfiles() {
        // The default profile is for a network out of range: the monitor must find Office.
        StoreProfiles({Infrastructure("Default", "Elsewhere"), OfficeProfile()});
    }
    static WLProfile Infrastructure(const char* name, const char* ssid) {
        WLProfile p;
        SetTextField(p.ProfileName, name);
        SetTextField(p.Ssid1, ssid);
        p.NetworkMode = 1;
        return p;
    }
    static WLProfile OfficeProfile() {
        WLProfile office = Infrastructure("Office", "Office");
        office.EncryptionMethod = 2;
        office.WPAEncryptionType = 2;
        SetTextField(office.WPAPassphrase, "office-secret");
        return office;
    }
    // The names the store holds, in its order.
    std::vector<std::string> StoredNames() const {
        return SubkeyNames(HKEY_CURRENT_USER, "SoftWare\\" + root_ + "\\WLProfile");
    }

    // The tray icon's window: the notification area reports the mouse to it, and its title is
    // the tip the icon shows.
    HWND TrayWindow(DWORD pid) {
        HWND tray = nullptr;
        WaitUntil([&] {
            for (HWND h : WindowsOf(pid, "TUtilityWindow"))
                if (!Title(h).empty()) tray = h;
            return tray != nullptr;
        });
        return tray;
    }
    bool TipBecomes(HWND tray, const std::string& tip) {
        return WaitUntil([&] { return Title(tray) == tip; });
    }
    struct ProfilePage {
        HWND Tray = nullptr;
        HWND Main = nullptr;
        HWND List = nullptr;  // the page's list of profiles
    };
    // Once the monitor has connected by itself with Office: the main window opened by the tray
    // icon's click and its profile tab clicked. Null where a window did not come.
    ProfilePage OpenProfilePage(const Program& monitor) {
        ProfilePage page;
        EXPECT_TRUE(LogShows("auto connect found: Office")) << Log();
        page.Tray = TrayWindow(monitor.Id());
        std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
        if (!page.Tray || mains.size() != 1) return page;
        page.Main = mains[0];
        PostMessageA(page.Tray, kTrayCallback, 1, WM_LBUTTONUP);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(page.Main) != FALSE; }));
        EXPECT_TRUE(ClickThen(page.Main, {250 + 60, 102 + 16}, [&] {
            page.List = ChildAt(page.Main, "SysListView32", 4 + 35, 134 + 94);
            return page.List != nullptr;
        }));
        return page;
    }
    // The system tells every window of a change of the devices.
    void DevicesChanged(HWND window) { PostMessageA(window, WM_DEVICECHANGE, 7, 0); }

    TempDir dir_;
    std::string root_;
};

}  // namespace e2e
