// The profile wizard as a user goes through it with the mouse and the keyboard: the first run
// with an empty store, which makes a profile for an open network in range and connects with it;
// and New on the profile page, which makes an ad hoc profile with a static address on a Windows
// that shows the IP settings page. Every page is photographed on the way.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;

// Lobby: open, infrastructure, channel 11 at -60 dBm, between Office and Cafe.
const char kLobby[] =
    "[Network3]\r\nSSID=Lobby\r\nMAC=00:A0:C5:77:88:99\r\nFrequency=2462000\r\nRSSI=-60\r\n"
    "Privacy=0\r\nMode=1\r\nBand=3\r\n";
const char kChannels[] = "[Channels.FCC]\r\nBand1=1-11\r\nBand4=1-13\r\n";

// Places in the wizard's client area: the pages at 4, 133; the button strip ends at 575, 368.
POINT OnPage(int x, int y) {
    return {4 + x, 133 + y};
}
const POINT kBtnManual = {575 - 52, 378}, kBtnNext = {575 - 28, 378}, kBtnSave = kBtnNext;
// The finish page's two buttons, 93 wide, by their top left corners.
const POINT kConnectNetAt = {575 - 93, 368}, kToProfScrAt = {575 - 2 * 93, 368};
const POINT kBtnConnectNet = {kConnectNetAt.x + 46, 382},
            kBtnToProfScr = {kToProfScrAt.x + 46, 382};
// The summary's labels, top to bottom.
const int kSummaryRows[] = {46, 60, 75, 91, 106, 121, 136, 151, 166, 181};

class Wizard : public Monitor {
protected:
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kVersionKey);
        Monitor::TearDown();
    }
    // Wine tells the program it runs on this Windows (winxp: NT 5.1).
    void RunOnWindows(const char* version) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kVersionKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(strlen(version) + 1));
        RegCloseKey(key);
    }

    void Click(HWND window, POINT p) { ClickIn(window, p.x, p.y); }
    // The page shown now, by its class.
    bool Shows(HWND wizard, const char* page) {
        return WaitUntil([&] { return ChildAt(wizard, page, 4, 133) != nullptr; });
    }
    void Shot(HWND window, const std::string& name) {
        EXPECT_TRUE(SaveScreenshot(window, "e2e_wizard_" + name) ||
                    !std::getenv("WL_SCREENSHOT_DIR"));
    }
    // What the control of a class at a place of the page shows.
    std::string TextAt(HWND wizard, const char* cls, int x, int y) {
        HWND control = ChildAt(wizard, cls, 4 + x, 133 + y);
        return control ? ShownText(control) : "(none)";
    }
    std::vector<std::string> Summary(HWND wizard) {
        std::vector<std::string> lines;
        for (int y : kSummaryRows) lines.push_back(LabelAt(wizard, OnPage(179, y)));
        return lines;
    }
    // A stored profile as the driver library hands it out; false when it has none.
    bool Stored(const std::string& name, WLProfile& profile, std::string& address,
                std::string& mask) {
        HMODULE lib = LoadLibraryA((ProgramFolder() + "VYXWL.DLL").c_str());
        if (!lib) return false;
        auto proc = [&](const char* entry) {
            return reinterpret_cast<void*>(GetProcAddress(lib, entry));
        };
        auto setDir = reinterpret_cast<vyxwl::SetWLProfileDir>(proc("VYXWL_SetWLProfileDir"));
        auto get = reinterpret_cast<vyxwl::GetWLProfile>(proc("VYXWL_GetWLProfile"));
        auto text = reinterpret_cast<vyxwl::IPDataToStr>(proc("VYXWL_IPDataToStr"));
        bool found = false;
        if (setDir && get && text) {
            setDir(root_.c_str());
            found = get(name.c_str(), &profile) == 1;
            char buffer[260] = {};
            text(profile.NetworkInfo.NI_IpAddr, buffer);
            address = buffer;
            char maskText[260] = {};
            text(profile.NetworkInfo.NI_IpMask, maskText);
            mask = maskText;
        }
        FreeLibrary(lib);
        return found;
    }
    std::string Setting(const char* section, const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA(section, key, "(none)", value, sizeof(value),
                                 dir_.File("Wavelorn.bin").c_str());
        return value;
    }

    // The network list of the wizard's first page; its window is made as the page is shown.
    static HWND NetworkList(HWND wizard) {
        HWND list = nullptr;
        WaitUntil([&] { return (list = ChildAt(wizard, "SysListView32", 24, 197)) != nullptr; });
        return list;
    }

    static constexpr const char* kVersionKey = "Software\\Wine\\AppDefaults\\Wavelorn.exe";
};

TEST_F(Wizard, FirstRunMakesAProfileForAnOpenNetworkAndConnects) {
    Scenario(std::string(kAdapter) + kNetworks + kLobby);
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());

    // Nothing stored: the first poll opens the wizard on its network list.
    HWND wizard = ShownWindow(monitor.Id(), "TFormProfSet");
    ASSERT_NE(wizard, nullptr) << Log();
    RemoteList rows(NetworkList(wizard));
    ASSERT_TRUE(rows.Usable());
    using Rows = std::vector<std::string>;
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows().size() == 3; })) << rows.Rows().size();
    EXPECT_EQ(rows.Rows(), (Rows{"Office|6", "Lobby|11", "Cafe|1"})) << "strongest first";
    Shot(wizard, "list");

    // Lobby picked, then through the pages by Next: no IP settings page on this Windows.
    rows.Click(1);
    ASSERT_TRUE(WaitUntil([&] { return rows.Selected() == 1; }));
    Click(wizard, kBtnManual);
    ASSERT_TRUE(Shows(wizard, "TFrameNetType"));
    EXPECT_EQ(TextAt(wizard, "Edit", 89, 158), "Lobby");
    Shot(wizard, "network_type");
    Click(wizard, kBtnNext);
    ASSERT_TRUE(Shows(wizard, "TFrameSecurity"));
    EXPECT_EQ(TextAt(wizard, "ComboBox", 119, 49), "Disabled");
    Shot(wizard, "security_type");
    Click(wizard, kBtnNext);
    ASSERT_TRUE(Shows(wizard, "TFrameConfirm"));
    EXPECT_EQ(Summary(wizard), (Rows{"Lobby", "Infrastructure", "Auto", "Mixed Mode", "Disabled",
                                     "Auto Switch", "Auto", "Auto", "Auto", "Auto"}));
    Shot(wizard, "summary");

    // Save: stored under the default name; the finish page offers Connect alone.
    Click(wizard, kBtnSave);
    ASSERT_TRUE(WaitUntil([&] { return StoredNames() == Rows{"Default"}; })) << Trace();
    // The finish page is known by its Connect: the summary goes before the buttons are placed.
    ASSERT_TRUE(WaitUntil([&] {
        return ChildAt(wizard, "TFrameConfirm", 4, 133) == nullptr &&
               ChildAt(wizard, "Button", kConnectNetAt.x, kConnectNetAt.y) != nullptr;
    }));
    EXPECT_EQ(ChildAt(wizard, "Button", kToProfScrAt.x, kToProfScrAt.y), nullptr);
    Shot(wizard, "finish");

    Click(wizard, kBtnConnectNet);
    ASSERT_TRUE(WaitUntil([&] {
        return Trace().find("VYXWL_SetWLANStatus(\"Lobby\", mode 1, security 0) -> 1") !=
               std::string::npos;
    })) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wizard); }));
    EXPECT_TRUE(WaitUntil([&] { return Setting("LastApplyProf", "ProfileName") == "Default"; }))
        << TempDir::ReadFile(dir_.File("Wavelorn.bin"));
    EXPECT_EQ(Setting("LastApplyProf", "Ssid1"), "Lobby");
    WLProfile stored;
    std::string address, mask;
    ASSERT_TRUE(Stored("Default", stored, address, mask));
    EXPECT_EQ(TextField(stored.Ssid1), "Lobby");
    EXPECT_EQ(stored.NetworkMode, 1);
    EXPECT_EQ(stored.EncryptionMethod, 0);
    EXPECT_FALSE(monitor.WaitEnd(0)) << "still running";
}

TEST_F(Wizard, NewOnTheProfilePageMakesAnAdHocProfileWithAStaticAddress) {
    RunOnWindows("winxp");
    Scenario(std::string(kAdapter) + kNetworks + kChannels);
    StoreProfiles();
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());

    // The profile page, its New button, the name typed into the prompt and Return.
    HWND main = OpenProfilePage(monitor).Main;
    ASSERT_NE(main, nullptr);
    ClickIn(main, 4 + 160 + 28, 134 + 234 + 10);
    HWND prompt = ShownWindow(monitor.Id(), "TFormAskInfo");
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(prompt) != nullptr; }));
    ASSERT_TRUE(TypeIntoPrompt(prompt, "Cell"));
    Press(VK_RETURN);
    HWND wizard = ShownWindow(monitor.Id(), "TFormProfSet");
    ASSERT_NE(wizard, nullptr);
    EXPECT_FALSE(IsWindowVisible(prompt));
    RemoteList rows(NetworkList(wizard));
    ASSERT_TRUE(rows.Usable());
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows().size() == 2; }));

    // Nothing picked: Next leads to the IP settings page on this Windows.
    Click(wizard, kBtnManual);
    ASSERT_TRUE(Shows(wizard, "TFrameNetwork"));
    Click(wizard, OnPage(64 + 20, 88 + 8));  // the static choice's label
    // The address typed octet by octet, '.' going on to the next; the mask proposed when its
    // frame is entered; the gateway typed too.
    ASSERT_TRUE(ClickInto(wizard, OnPage(124 + 4 + 11, 127 + 2 + 7)));
    Type("192.168.5.9");
    ASSERT_TRUE(ClickInto(wizard, OnPage(124 + 4 + 11, 156 + 2 + 7)));
    ASSERT_TRUE(ClickInto(wizard, OnPage(124 + 4 + 11, 185 + 2 + 7)));
    Type("192.168.5.1");
    Shot(wizard, "ip_settings");
    Click(wizard, kBtnNext);
    ASSERT_TRUE(Shows(wizard, "TFrameNetType"));

    // Ad hoc, named by keys.
    Click(wizard, OnPage(64 + 20, 107 + 7));
    POINT name = OnPage(89, 158);
    ASSERT_TRUE(TypeOver(wizard, OnPage(89 + 50, 158 + 11), ChildAt(wizard, "Edit", name.x, name.y),
                         "Cell"));
    Shot(wizard, "network_type_adhoc");
    Click(wizard, kBtnNext);

    // The channel page: the last channel of the list, chosen with the keyboard.
    ASSERT_TRUE(Shows(wizard, "TFrameChannel"));
    EXPECT_EQ(TextAt(wizard, "ComboBox", 116, 49), "6");
    HWND channels = ChildAt(wizard, "ComboBox", OnPage(116, 49).x, OnPage(116, 49).y);
    ASSERT_TRUE(ClickThen(wizard, OnPage(116 + 20, 49 + 10),
                          [&] { return SendMessageA(channels, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    Press(VK_END);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return TextAt(wizard, "ComboBox", 116, 49) == "11"; }));
    Shot(wizard, "channel");
    Click(wizard, kBtnNext);
    ASSERT_TRUE(Shows(wizard, "TFrameSecurity"));
    Shot(wizard, "security_type_adhoc");
    Click(wizard, kBtnNext);

    ASSERT_TRUE(Shows(wizard, "TFrameConfirm"));
    using Rows = std::vector<std::string>;
    EXPECT_EQ(Summary(wizard),
              (Rows{"Cell", "Ad-Hoc", "11", "Mixed Mode", "Disabled", "Auto Switch", "192.168.5.9",
                    "255.255.255.0", "192.168.5.1", ""}));
    Shot(wizard, "summary_adhoc");
    Click(wizard, kBtnSave);
    ASSERT_TRUE(WaitUntil([&] { return StoredNames().size() == 3; })) << Trace();
    EXPECT_EQ(StoredNames(), (Rows{"Cell", "Default", "Office"}));
    ASSERT_TRUE(WaitUntil(
        [&] { return ChildAt(wizard, "Button", kToProfScrAt.x, kToProfScrAt.y) != nullptr; }));
    Shot(wizard, "finish_new");

    // The stored record holds what the pages took.
    WLProfile stored;
    std::string address, mask;
    ASSERT_TRUE(Stored("Cell", stored, address, mask));
    EXPECT_EQ(TextField(stored.Ssid1), "Cell");
    EXPECT_EQ(stored.NetworkMode, 0);
    EXPECT_EQ(stored.Channel, 11);
    EXPECT_EQ(stored.NetworkInfo.NI_wNetFlags & 0x7, 0x7);
    EXPECT_EQ(stored.ApplyNetwork, 1);
    EXPECT_EQ(address, "192.168.5.9");
    EXPECT_EQ(mask, "255.255.255.0");

    // To the profile page: the new profile is listed there, after those the page had.
    Click(wizard, kBtnToProfScr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wizard); }));
    RemoteList profiles(ChildAt(main, "SysListView32", 4 + 35, 134 + 94));
    EXPECT_TRUE(WaitUntil([&] { return profiles.Rows().size() == 3; }));
    EXPECT_EQ(profiles.Rows(), (Rows{"Default|Elsewhere", "Office|Office", "Cell|Cell"}));
}

}  // namespace
