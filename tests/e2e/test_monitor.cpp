// The monitor as a user's machine runs it, with the stand-in adapter: it attaches, connects by
// itself, shows the link in the tray, lets the adapter go and takes it back, opens its window for
// a second start and ends through the tray menu's hidden close item.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "E2e.h"
#include "core/Uvyxwlapi.h"
#include "tests/unit/TempDir.h"
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
        for (const char* file : {"Wavelorn.exe", "VYXWL.DLL", "Wavelorn.ini"})
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

}  // namespace
