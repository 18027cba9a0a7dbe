// The monitor as a user's machine runs it, with the stand-in adapter: it attaches, connects by
// itself, shows the link in the tray, lets the adapter go and takes it back, opens its window for
// a second start and ends through the tray menu's hidden close item; its link information page
// shows the connection, its statistics, the lost link and the unplugged adapter.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2e.h"
#include "core/Umessages.h"
#include "core/Uvyxwlapi.h"
#include "tests/unit/TempDir.h"
#include "tests/unit/win/Screenshot.h"
#include "tests/unit/win/UserInput.h"

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

// The text of the label whose top left lies at client point p of the window.
std::string LabelAt(HWND window, POINT p) {
    struct Search {
        HWND window;
        POINT p;
        HWND found;
    } search{window, p, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[32] = {};
            GetClassNameA(child, cls, sizeof(cls));
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, s->window, reinterpret_cast<POINT*>(&r), 2);
            if (_stricmp(cls, "Static") == 0 && r.left == s->p.x && r.top == s->p.y) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) return "(no label)";
    char text[256] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(search.found, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &n);
    return text;
}

// The real mouse's left button pressed and released at client point p of the window.
void ClickAt(HWND window, POINT p) {
    ClientToScreen(window, &p);
    userinput::ClickScreen(p);
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
        Key(0);
    }
    ~HeldCloseKeys() {
        Key(KEYEVENTF_KEYUP);
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
    static void Key(DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = 'F';
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
    DWORD thread_;
    bool attached_ = false;
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
            for (const char* name : {"Default", "Office"}) RegDeleteKeyA(key, name);
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
    void StoreProfiles() {
        HMODULE lib = LoadLibraryA((ProgramFolder() + "VYXWL.DLL").c_str());
        ASSERT_NE(lib, nullptr);
        auto setDir = reinterpret_cast<vyxwl::SetWLProfileDir>(
            reinterpret_cast<void*>(GetProcAddress(lib, "VYXWL_SetWLProfileDir")));
        auto set = reinterpret_cast<vyxwl::SetWLProfile>(
            reinterpret_cast<void*>(GetProcAddress(lib, "VYXWL_SetWLProfile")));
        ASSERT_TRUE(setDir && set);
        setDir(root_.c_str());
        // The default profile is for a network out of range: the monitor must find Office.
        WLProfile away;
        SetTextField(away.ProfileName, "Default");
        SetTextField(away.Ssid1, "Elsewhere");
        away.NetworkMode = 1;
        WLProfile office;
        SetTextField(office.ProfileName, "Office");
        SetTextField(office.Ssid1, "Office");
        office.NetworkMode = 1;
        office.EncryptionMethod = 2;
        office.WPAEncryptionType = 2;
        SetTextField(office.WPAPassphrase, "office-secret");
        EXPECT_EQ(set("Default", &away), 1);
        EXPECT_EQ(set("Office", &office), 1);
        FreeLibrary(lib);
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
// Button centres: More on the animation panel, Statistics on the status panel, Refresh on the
// statistics panel.
const POINT kBtnMore = OnInfoPage(63, 19), kBtnStatistics = OnInfoPage(171, 19),
            kBtnRefresh = OnInfoPage(365, 180);

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
    ClickAt(main, kBtnMore);
    Sleep(300);
    SaveScreenshot(main, "info_status");
    ClickAt(main, kBtnStatistics);
    Sleep(300);
    SaveScreenshot(main, "info_statistics");

    // The counters grow from poll to poll; Refresh zeroes them and the up time, not the total.
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbPackRx) != "0"; }));
    std::string packets = LabelAt(main, kLbPackRx);
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbPackRx) != packets; }, 10000));
    EXPECT_GT(std::stoull(LabelAt(main, kLbPackRx)), std::stoull(packets));
    EXPECT_NE(LabelAt(main, kLbTotalTime), "00:00:00");
    std::string total = LabelAt(main, kLbTotalTime);
    ClickAt(main, kBtnRefresh);
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

}  // namespace
