// The monitor as a user's machine runs it, with the stand-in adapter: it attaches, connects by
// itself, shows the link in the tray, lets the adapter go and takes it back, opens its window for
// a second start and ends through the tray menu's hidden close item; its link information page
// shows the connection, its statistics, the lost link and the unplugged adapter; and its profile
// page, worked by the mouse and the keyboard.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <vector>

#include "E2e.h"
#include "core/Umessages.h"
#include "core/Uvyxwlapi.h"
#include "tests/unit/TempDir.h"
#include "tests/unit/win/RegistryKeys.h"
#include "tests/unit/win/Screenshot.h"

namespace {

using namespace e2e;

const char kAdapter[] = "[Adapter]\r\nHWID1=USB\\VID_0001&PID_0002\r\nName1=Test Adapter\r\n";
// Office: WPA-PSK with AES at -50 dBm (90 %), noise -70 dBm (50 %).
const char kNetworks[] =
    "[Network1]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\nRSSI=-50\r\n"
    "Noise=-70\r\nPrivacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n"
    "[Network2]\r\nSSID=Cafe\r\nMAC=00:A0:C5:44:55:66\r\nFrequency=2412000\r\nRSSI=-70\r\n"
    "Privacy=1\r\nMode=1\r\nBand=1\r\nKey=0123456789\r\n";
const char kControl[] = "control (Test Adapter)USB\\VID_0001&PID_0002-9999";
const char kLinkTip[] = "PRV300K\nSignal: Excellent (90%)\nQuality: Good (50%)";
// The message through which the tray icon reports the mouse (TTrayIcon::CallbackMessage).
const UINT kTrayCallback = WM_APP + 0x2F0;

// The top-level windows of a process with a class.
std::vector<HWND> WindowsOf(DWORD pid, const char* cls) {
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

std::string Title(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// Where the link information page's controls lie in the main window's client area: the page at
// 4, 134, its panels at its top left.
POINT OnInfoPage(int x, int y) {
    return {4 + x, 134 + y};
}

// A key pressed or released on the keyboard.
void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

// Shift, Alt and F held down as the user holds them while releasing the right button on the
// tray icon. Injected keys do not reach another process's own key state under Wine: the test
// shares the key state of the program's window thread for the moment and holds Shift and Alt
// there; F is pressed for the whole system.
class HeldCloseKeys {
public:
    explicit HeldCloseKeys(DWORD windowThread) : thread_(windowThread) {
        attached_ = AttachThreadInput(GetCurrentThreadId(), thread_, TRUE) != FALSE;
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
        Key('F', false);
    }
    ~HeldCloseKeys() {
        Key('F', true);
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = keys[VK_MENU] = keys[VK_LMENU] = 0;
        SetKeyboardState(keys);
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

// The left button pressed and released at a point of window's client area.
void ClickIn(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    const LONG w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = p.x * 65535 / w;
        i.mi.dy = p.y * 65535 / h;
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
}

void Press(WORD vk, bool shift = false) {
    if (shift) Key(VK_SHIFT, false);
    Key(vk, false);
    Key(vk, true);
    if (shift) Key(VK_SHIFT, true);
}

// Typed on the keyboard into whatever has the focus.
void Type(const std::string& text) {
    for (char c : text) {
        SHORT vk = VkKeyScanA(c);
        ASSERT_NE(vk, -1) << c;
        Press(LOBYTE(vk), (vk & 0x100) != 0);
    }
}

// What a control of another process shows now (its title may be older).
std::string ShownText(HWND control) {
    char text[512] = {};
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The window that has the keyboard focus in the thread of window.
HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A child window of a class at a point of parent's client area (its top left corner); shown
// only, unless hidden ones count too.
HWND ChildAt(HWND parent, const char* cls, int x, int y, bool shownOnly = true) {
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

// The text of the label whose top left lies at client point p of the window, on a panel shown
// or not.
std::string LabelAt(HWND window, POINT p) {
    HWND label = ChildAt(window, "Static", p.x, p.y, false);
    if (!label) return "(no label)";
    char text[256] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(label, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &n);
    return text;
}

// The one visible top-level window of a class of a process; null until there is one.
HWND ShownWindow(DWORD pid, const char* cls) {
    HWND shown = nullptr;
    WaitUntil([&] {
        for (HWND h : WindowsOf(pid, cls))
            if (IsWindowVisible(h)) shown = h;
        return shown != nullptr;
    });
    return shown;
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
    // "caption|SSID" a row.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) rows.push_back(Text(i, 0) + "|" + Text(i, 1));
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
    // The system tells every window of a change of the devices.
    void DevicesChanged(HWND window) { PostMessageA(window, WM_DEVICECHANGE, 7, 0); }

    TempDir dir_;
    std::string root_;
};

TEST_F(Monitor, ConnectsFollowsTheAdapterOpensForASecondStartAndEndsFromTheTray) {
    StoreProfiles();
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());

    // Attached, polled, connected by itself with the network in range.
    ASSERT_TRUE(LogShows(kControl)) << Log();
    HWND tray = TrayWindow(monitor.Id());
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(TipBecomes(tray, "PRV300K is active")) << Title(tray);
    ASSERT_TRUE(LogShows("auto connect found: Office")) << Log();
    EXPECT_EQ(Count(Log(), "auto connect default"), 0u) << "the default network is not in range";
    EXPECT_NE(Trace().find("VYXWL_SetWLANStatus(\"Office\", mode 1, security 2) -> 1"),
              std::string::npos)
        << Trace();

    std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
    ASSERT_EQ(mains.size(), 1u);
    HWND main = mains[0];
    EXPECT_EQ(Title(main), "Wavelorn");
    EXPECT_FALSE(IsWindowVisible(main));

    // Unplugged: the adapter is let go.
    Scenario(std::string("[Adapter]\r\n") + kNetworks);
    DevicesChanged(main);
    ASSERT_TRUE(LogShows("new total dev 0")) << Log();
    EXPECT_TRUE(TipBecomes(tray, "Wavelorn")) << Title(tray);

    // Plugged back: attached again, and connected with the profile last applied to it.
    Scenario(std::string(kAdapter) + kNetworks);
    DevicesChanged(main);
    ASSERT_TRUE(LogShows(kControl, 2)) << Log();
    ASSERT_TRUE(LogShows("auto connect last: Office")) << Log();
    EXPECT_TRUE(WaitUntil([&] {
        return Count(Trace(), "VYXWL_SetWLANStatus(\"Office\", mode 1, security 2) -> 1") == 2;
    })) << Trace();

    // A second start opens the first one's window and ends.
    {
        Program second(dir_.File("Wavelorn.exe"), "", dir_.Path());
        EXPECT_TRUE(second.WaitEnd());
    }
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 580);
    EXPECT_EQ(r.bottom - r.top, 436);
    WindowPixels shot = CaptureWindow(main);
    size_t differing = 0;
    for (int y = 0; y < shot.Height; y += 7)
        for (int x = 0; x < shot.Width; x += 7) differing += shot.At(x, y) != shot.At(0, 0);
    EXPECT_GT(differing, 100u) << "the window shows its pictures";
    SaveScreenshot(main, "monitor_main");

    // The tray shows the link once a poll finds it up.
    ASSERT_TRUE(TipBecomes(tray, kLinkTip)) << Title(tray);

    // The tray menu with Shift, Alt and F held holds the close item; it ends the program.
    PostMessageA(tray, kTrayCallback, 1, WM_RBUTTONDOWN);
    // The press brings the program to the front.
    ASSERT_TRUE(WaitUntil([&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        return owner == monitor.Id();
    }));
    HWND menu = nullptr;
    {
        HeldCloseKeys keys(GetWindowThreadProcessId(main, nullptr));
        ASSERT_TRUE(keys.Attached());
        PostMessageA(tray, kTrayCallback, 1, WM_RBUTTONUP);
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND m : WindowsOf(monitor.Id(), "#32768"))
                if (IsWindowVisible(m)) menu = m;
            return menu != nullptr;
        }));
    }
    // The last item, chosen as the keyboard chooses it.
    PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(monitor.WaitEnd(10000)) << "the close item was not there";
}

// The page's labels by their places on the status and statistics panels.
const POINT kLbStatus = OnInfoPage(134, 88), kLbSSID = OnInfoPage(134, 103),
            kLbWlMode = OnInfoPage(134, 119), kLbTransfer = OnInfoPage(134, 135),
            kLbChannel = OnInfoPage(134, 151), kLbSecurity = OnInfoPage(134, 167),
            kLbAuthen = OnInfoPage(134, 182), kLbIP = OnInfoPage(312, 88),
            kLbMask = OnInfoPage(312, 103), kLbGateway = OnInfoPage(312, 119),
            kLbDNS = OnInfoPage(312, 135), kLbDHCP = OnInfoPage(312, 151),
            kLbMAC = OnInfoPage(312, 167), kLbPackRx = OnInfoPage(162, 119),
            kLbByteTx = OnInfoPage(162, 167), kLbUpTime = OnInfoPage(318, 135),
            kLbTotalTime = OnInfoPage(318, 151);
// Button centres: More on the animation panel, Statistics and Save Profile on the status panel,
// Refresh on the statistics panel.
const POINT kBtnMore = OnInfoPage(63, 19), kBtnStatistics = OnInfoPage(171, 19),
            kBtnToProf2 = OnInfoPage(279, 19), kBtnRefresh = OnInfoPage(365, 180);

TEST_F(Monitor, TheLinkPageShowsTheConnectionItsStatisticsTheLostLinkAndTheUnplug) {
    // The link comes up a while after the apply; the address is one nobody here can have, so
    // the internet check never gets past its bind.
    const std::string dhcp =
        "[DHCP]\r\nAddress=192.0.2.20\r\nMask=255.255.255.0\r\nGateway=192.0.2.1\r\n"
        "DNS1=192.0.2.53\r\n";
    const std::string adapter = std::string(kAdapter) + "ConnectDelay=4000\r\nTxPower=18\r\n";
    Scenario(adapter + kNetworks + dhcp);
    // A clip that is not there is simply not played.
    ASSERT_TRUE(DeleteFileA(dir_.File("broken.m").c_str()));
    StoreProfiles();
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
        main = mains.empty() ? nullptr : mains[0];
        return main != nullptr;
    }));
    auto shows = [&](POINT label, const std::string& text, DWORD timeoutMs = kTimeoutMs) {
        return WaitUntil([&] { return LabelAt(main, label) == text; }, timeoutMs);
    };

    // The automatic connection: the profile being applied, then the link, then the addresses.
    ASSERT_TRUE(shows(kLbStatus, "Connecting...")) << LabelAt(main, kLbStatus);
    EXPECT_EQ(LabelAt(main, kLbSSID), "Office");
    EXPECT_EQ(LabelAt(main, kLbIP), "0.0.0.0");
    ASSERT_TRUE(shows(kLbStatus, "Connected")) << Log();
    EXPECT_EQ(LabelAt(main, kLbIP), "0.0.0.0") << "the first connected poll reads no address";
    EXPECT_EQ(Count(Log(), "IP renew done"), 0u);
    ASSERT_TRUE(shows(kLbIP, "192.0.2.20")) << Log();
    EXPECT_EQ(Count(Log(), "IP renew done\r\n"), 1u) << "renewed at the poll before";
    EXPECT_EQ(LabelAt(main, kLbMask), "255.255.255.0");
    EXPECT_EQ(LabelAt(main, kLbGateway), "192.0.2.1");
    EXPECT_EQ(LabelAt(main, kLbDNS), "192.0.2.53");
    EXPECT_EQ(LabelAt(main, kLbDHCP), "Enabled");
    EXPECT_EQ(LabelAt(main, kLbSSID), "Office");
    EXPECT_EQ(LabelAt(main, kLbMAC), "00-A0-C5-11-22-33");
    EXPECT_EQ(LabelAt(main, kLbChannel), "6");
    EXPECT_EQ(LabelAt(main, kLbWlMode), "Infrastructure");
    EXPECT_EQ(LabelAt(main, kLbSecurity), "WPA-PSK");
    EXPECT_EQ(LabelAt(main, kLbAuthen), "AES");
    EXPECT_EQ(LabelAt(main, kLbTransfer), "54 Mbps");
    EXPECT_TRUE(LogShows("internet chk 192.0.2.20")) << Log();

    // The window opened: the three panels by their buttons, as the user clicks them.
    PostMessageA(main, kMsgOpenProgram, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    Sleep(300);
    SaveScreenshot(main, "info_animation");
    ClickIn(main, kBtnMore.x, kBtnMore.y);
    Sleep(300);
    SaveScreenshot(main, "info_status");
    // Save Profile: the applied profile stored under the name typed into the prompt.
    ClickIn(main, kBtnToProf2.x, kBtnToProf2.y);
    HWND prompt = ShownWindow(monitor.Id(), "TFormAskInfo");
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(prompt) != nullptr; }));
    Type("Office at work");
    HWND input = ChildAt(prompt, "Edit", 8, 32);
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ShownText(input) == "Office at work"; }))
        << ShownText(input);
    ClickIn(prompt, 104 + 37, 72 + 12);  // OK
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(prompt); }));
    EXPECT_TRUE(WaitUntil([&] { return StoredNames().size() == 3; }));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Default", "Office", "Office at work"}));
    ClickIn(main, kBtnStatistics.x, kBtnStatistics.y);
    Sleep(300);
    SaveScreenshot(main, "info_statistics");

    // The counters grow from poll to poll; Refresh zeroes them and the up time, not the total.
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbPackRx) != "0"; }));
    std::string packets = LabelAt(main, kLbPackRx);
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbPackRx) != packets; }, 10000));
    EXPECT_GT(std::stoull(LabelAt(main, kLbPackRx)), std::stoull(packets));
    EXPECT_NE(LabelAt(main, kLbTotalTime), "00:00:00");
    std::string total = LabelAt(main, kLbTotalTime);
    ClickIn(main, kBtnRefresh.x, kBtnRefresh.y);
    ASSERT_TRUE(shows(kLbPackRx, "0", 2000)) << LabelAt(main, kLbPackRx);
    EXPECT_EQ(LabelAt(main, kLbByteTx), "0");
    EXPECT_EQ(LabelAt(main, kLbUpTime), "00:00:00");
    EXPECT_EQ(LabelAt(main, kLbTotalTime), total);
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbUpTime) != "00:00:00"; }, 10000));
    EXPECT_EQ(LabelAt(main, kLbUpTime), "00:00:03");

    // The network leaves the scenario: the link is lost.
    Scenario(adapter + dhcp);
    ASSERT_TRUE(shows(kLbStatus, "Disconnected")) << LabelAt(main, kLbStatus);
    EXPECT_EQ(LabelAt(main, kLbIP), "0.0.0.0");
    EXPECT_EQ(LabelAt(main, kLbSecurity), "");
    EXPECT_EQ(LabelAt(main, kLbPackRx), "");

    // Unplugged: the page is empty.
    Scenario(std::string("[Adapter]\r\n") + kNetworks);
    DevicesChanged(main);
    ASSERT_TRUE(LogShows("new total dev 0")) << Log();
    ASSERT_TRUE(shows(kLbStatus, "")) << LabelAt(main, kLbStatus);
    for (POINT label : {kLbSSID, kLbIP, kLbMask, kLbMAC, kLbPackRx, kLbTotalTime})
        EXPECT_EQ(LabelAt(main, label), "");
    EXPECT_FALSE(monitor.WaitEnd(0)) << "still running";
}

// The profile page as a user works it: the window opened from the tray, the profile tab, the
// store's profiles with the details of a WEP one, a profile deleted, one exported to a file and
// imported back over itself, and a connection made with another.
TEST_F(Monitor, ProfilePageListsDeletesExportsImportsAndConnects) {
    Scenario(std::string(kAdapter) +
             "[Network1]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\n"
             "RSSI=-50\r\nNoise=-70\r\nPrivacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n");
    WLProfile cafe = Infrastructure("Cafe", "Cafe");
    cafe.EncryptionMethod = 1;
    cafe.WEPEncryptionLevel = 1;
    SetTextField(cafe.WEPKey1, "0123456789");
    StoreProfiles({Infrastructure("Default", "Elsewhere"), OfficeProfile(), cafe,
                   Infrastructure("Spare", "Spare")});
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());
    ASSERT_TRUE(LogShows("auto connect found: Office")) << Log();
    HWND tray = TrayWindow(monitor.Id());
    ASSERT_NE(tray, nullptr);
    std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
    ASSERT_EQ(mains.size(), 1u);
    HWND main = mains[0];

    // The tray icon's click opens the window; its profile tab shows the page.
    PostMessageA(tray, kTrayCallback, 1, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        ClickIn(main, 250 + 60, 102 + 16);
        list = ChildAt(main, "SysListView32", 4 + 35, 134 + 94);
        return list != nullptr;
    }));
    RemoteList rows(list);
    ASSERT_TRUE(rows.Usable());
    using Rows = std::vector<std::string>;
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows().size() == 4; }));
    EXPECT_EQ(rows.Rows(),
              (Rows{"Default|Elsewhere", "Cafe|Cafe", "Office|Office", "Spare|Spare"}));
    EXPECT_EQ(rows.Selected(), 0);

    // The WEP profile's details.
    auto detail = [&](int top) {
        HWND label = ChildAt(main, "STATIC", 4 + 313, 134 + top);
        return label ? Title(label) : std::string("(no label)");
    };
    rows.Click(1);
    ASSERT_TRUE(WaitUntil([&] { return detail(148) == "WEP(64-bit)"; })) << detail(148);
    EXPECT_EQ(detail(100), "Infrastructure");
    EXPECT_EQ(detail(116), "Auto");
    EXPECT_EQ(detail(132), "Auto");
    EXPECT_EQ(detail(164), "Open");
    SaveScreenshot(main, "profile_page_wep");

    // Delete: the row and the stored profile go.
    const POINT kDelete = {4 + 388 + 28, 134 + 234 + 10}, kExport = {4 + 331 + 28, 134 + 244},
                kImport = {4 + 274 + 28, 134 + 244}, kConnect = {4 + 275 + 38, 134 + 188 + 10};
    rows.Click(3);
    ASSERT_TRUE(WaitUntil([&] { return rows.Selected() == 3; }));
    ClickIn(main, kDelete.x, kDelete.y);
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows().size() == 3; })) << rows.Rows().size();
    EXPECT_EQ(rows.Rows(), (Rows{"Default|Elsewhere", "Cafe|Cafe", "Office|Office"}));
    EXPECT_EQ(rows.Selected(), 2) << "the last row went: the new last one is selected";
    EXPECT_EQ(StoredNames(), (Rows{"Cafe", "Default", "Office"}));

    // Export Office: the save dialog proposes its name; the user types a path and Return.
    ClickIn(main, kExport.x, kExport.y);
    HWND save = ShownWindow(monitor.Id(), "#32770");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(Title(save), "Wavelorn Message");
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(save) != nullptr; }));
    EXPECT_EQ(ShownText(FocusOf(save)), "Office.qjw");
    std::string file = dir_.File("office-copy.qjw");
    Press(VK_END);
    Press(VK_HOME, true);
    Type(file);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return TempDir::Exists(file); })) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(save); }));
    EXPECT_NE(TempDir::ReadFile(file).find("ItemData1="), std::string::npos);

    // Import it back over Office: the program's own question, answered by its OK button.
    ClickIn(main, kImport.x, kImport.y);
    HWND open = ShownWindow(monitor.Id(), "#32770");
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(open) != nullptr; }));
    EXPECT_EQ(ShownText(FocusOf(open)), "*.qjw");
    Press(VK_END);
    Press(VK_HOME, true);
    Type(file);
    Press(VK_RETURN);
    HWND question = ShownWindow(monitor.Id(), "TFormMessage");
    ASSERT_NE(question, nullptr);
    HWND text = nullptr, ok = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        text = ChildAt(question, "STATIC", 49, 8);
        return text != nullptr;
    }));
    EXPECT_EQ(Title(text), "A profile with the name \"Office\" already exists. Replace it?");
    SaveScreenshot(question, "profile_replace_question");
    for (HWND child = GetWindow(question, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (Title(child) == "Ok" && IsWindowVisible(child)) ok = child;
    ASSERT_NE(ok, nullptr);
    RECT r;
    GetClientRect(ok, &r);
    ClickIn(ok, r.right / 2, r.bottom / 2);
    ASSERT_TRUE(WaitUntil([&] {
        return Trace().find("VYXWL_RegImportProfile(\"" + file + "\", \"Office\") -> 1") !=
               std::string::npos;
    })) << Trace();
    ASSERT_TRUE(WaitUntil([&] { return rows.Selected() == 2; }));
    EXPECT_EQ(rows.Rows(), (Rows{"Default|Elsewhere", "Cafe|Cafe", "Office|Office"}));
    EXPECT_EQ(StoredNames(), (Rows{"Cafe", "Default", "Office"}));

    // Connect with Cafe once its network is in range: the library is told, the tray shows it.
    Scenario(std::string(kAdapter) + kNetworks);
    rows.Click(1);
    ASSERT_TRUE(WaitUntil([&] { return rows.Selected() == 1; }));
    ClickIn(main, kConnect.x, kConnect.y);
    ASSERT_TRUE(WaitUntil([&] {
        return Trace().find("VYXWL_SetWLANStatus(\"Cafe\", mode 1, security 1) -> 1") !=
               std::string::npos;
    })) << Trace();
    EXPECT_TRUE(WaitUntil([&] {
        return Title(tray).rfind("PRV300K\nSignal: Good (50%)\n", 0) == 0;
    })) << Title(tray);
}

}  // namespace
