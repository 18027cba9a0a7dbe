// The monitor as a user's machine runs it, with the stand-in adapter: it attaches, connects by
// itself, shows the link in the tray, lets the adapter go and takes it back, opens its window for
// a second start and ends through the tray menu's hidden close item; its link information page
// shows the connection, its statistics, the lost link and the unplugged adapter; and its profile
// page, worked by the mouse and the keyboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;

const char kControl[] = "control (Test Adapter)USB\\VID_0001&PID_0002-9999";
const char kLinkTip[] = "PRV300K\nSignal: Excellent (90%)\nQuality: Good (50%)";

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
        ASSERT_TRUE(keys.Settle(main));
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
    SaveScreenshot(main, "info_animation");
    auto panelShows = [&](POINT label) {
        return [&main, label] { return ChildAt(main, "Static", label.x, label.y) != nullptr; };
    };
    ASSERT_TRUE(ClickThen(main, kBtnMore, panelShows(kLbStatus)));
    SaveScreenshot(main, "info_status");
    // Save Profile: the applied profile stored under the name typed into the prompt.
    ClickIn(main, kBtnToProf2.x, kBtnToProf2.y);
    HWND prompt = ShownWindow(monitor.Id(), "TFormAskInfo");
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(prompt) != nullptr; }));
    ASSERT_TRUE(TypeIntoPrompt(prompt, "Office at work"));
    ASSERT_TRUE(ClickThen(prompt, {104 + 37, 72 + 12}, [&] { return !IsWindowVisible(prompt); }));
    EXPECT_TRUE(WaitUntil([&] { return StoredNames().size() == 3; }));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Default", "Office", "Office at work"}));
    ASSERT_TRUE(ClickThen(main, kBtnStatistics, panelShows(kLbPackRx)));
    SaveScreenshot(main, "info_statistics");

    // The counters grow from poll to poll; Refresh zeroes them and the up time, not the total.
    // A label's next text, and the tick count before the last reading that still showed the
    // old one: the poll that changed it read the tick count after that.
    auto changes = [&](POINT label, const std::string& from, std::string& to, DWORD& notBefore) {
        return WaitUntil(
            [&] {
                DWORD now = GetTickCount();
                to = LabelAt(main, label);
                if (to == from) notBefore = now;
                return to != from;
            },
            10000);
    };
    ASSERT_TRUE(WaitUntil([&] { return LabelAt(main, kLbPackRx) != "0"; }));
    DWORD lastPoll = GetTickCount();
    std::string packets = LabelAt(main, kLbPackRx), grown;
    ASSERT_TRUE(changes(kLbPackRx, packets, grown, lastPoll));
    EXPECT_GT(std::stoull(grown), std::stoull(packets));
    EXPECT_NE(LabelAt(main, kLbTotalTime), "00:00:00");
    std::string total = LabelAt(main, kLbTotalTime);
    DWORD nextPoll = GetTickCount();
    ClickIn(main, kBtnRefresh.x, kBtnRefresh.y);
    ASSERT_TRUE(shows(kLbPackRx, "0", 2000)) << LabelAt(main, kLbPackRx);
    const DWORD refreshed = GetTickCount();
    EXPECT_EQ(LabelAt(main, kLbByteTx), "0");
    EXPECT_EQ(LabelAt(main, kLbUpTime), "00:00:00");
    EXPECT_EQ(LabelAt(main, kLbTotalTime), total);
    std::string upTime;
    ASSERT_TRUE(changes(kLbUpTime, "00:00:00", upTime, nextPoll));
    const DWORD seen = GetTickCount();
    // The whole seconds of the tick count from the last poll before the refresh to the poll
    // after it: within a second of the time between them, however slow the machine. That poll
    // came after lastPoll and before refreshed; the next after nextPoll and before seen.
    ASSERT_EQ(upTime.size(), 8u) << upTime;
    const long long shownMs = (std::stoi(upTime.substr(0, 2)) * 3600LL +
                               std::stoi(upTime.substr(3, 2)) * 60 + std::stoi(upTime.substr(6))) *
                              1000;
    const long long leastMs = static_cast<long long>(nextPoll) - refreshed,
                    mostMs = static_cast<long long>(seen) - lastPoll;
    EXPECT_TRUE(shownMs > leastMs - 1000 && shownMs < mostMs + 1000)
        << upTime << " for polls " << leastMs << " to " << mostMs << " ms apart";

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
    // The tray icon's click opens the window; its profile tab shows the page.
    ProfilePage page = OpenProfilePage(monitor);
    HWND tray = page.Tray, main = page.Main, list = page.List;
    ASSERT_NE(list, nullptr);
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
    ASSERT_TRUE(TakesKeys(FocusOf(save)));
    EXPECT_EQ(ShownText(FocusOf(save)), "Office.qjw");
    std::string file = dir_.File("office-copy.qjw");
    Press(VK_END);
    Press(VK_HOME, true);
    Type(file);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return TempDir::Exists(file); })) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(save); }));
    // the file is there before all of it is written
    EXPECT_TRUE(
        WaitUntil([&] { return TempDir::ReadFile(file).find("ItemData1=") != std::string::npos; }));

    // Import it back over Office: the program's own question, answered by its OK button.
    ClickIn(main, kImport.x, kImport.y);
    HWND open = ShownWindow(monitor.Id(), "#32770");
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(open) != nullptr; }));
    ASSERT_TRUE(TakesKeys(FocusOf(open)));
    EXPECT_EQ(ShownText(FocusOf(open)), "*.qjw");
    Press(VK_END);
    Press(VK_HOME, true);
    Type(file);
    Press(VK_RETURN);
    ASSERT_TRUE(AnswerMessage(monitor.Id(),
                              "A profile with the name \"Office\" already exists. Replace it?",
                              "profile_replace_question"));
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
    ASSERT_TRUE(ClickThen(main, kConnect, [&] {
        return Trace().find("VYXWL_SetWLANStatus(\"Cafe\", mode 1, security 1) -> 1") !=
               std::string::npos;
    })) << Trace();
    EXPECT_TRUE(WaitUntil([&] {
        return Title(tray).rfind("PRV300K\nSignal: Good (50%)\n", 0) == 0;
    })) << Title(tray);
}

// A profile file a user was handed, as the library's export writes one: its items in order.
std::string ProfileFile(const std::vector<std::pair<std::string, std::string>>& items) {
    std::string text = "[WLANProfile]\r\nCount=" + std::to_string(items.size()) + "\r\n";
    for (size_t i = 0; i < items.size(); ++i) {
        std::string n = std::to_string(i + 1);
        text += "ItemName" + n + "=" + items[i].first + "\r\nItemData" + n + "=" + items[i].second +
                "\r\n";
    }
    return text;
}

// Profiles whose settings the system start could not read back, imported from files: Connect
// tells the user and applies nothing, and the next system start applies the profile last
// connected with, not the default one without a network.
TEST_F(Monitor, AProfileTheSystemStartCannotReadIsNeverConnectedWith) {
    StoreProfiles();
    const std::string lab = dir_.File("lab.qjw"), cipher = dir_.File("cipher.qjw");
    TempDir::WriteFile(
        lab, ProfileFile({{"ProfileName", "Lab"}, {"Ssid1", "LabNet"}, {"NetworkMode", "2"}}));
    TempDir::WriteFile(cipher, ProfileFile({{"ProfileName", "Cipher"},
                                            {"NetworkMode", "1"},
                                            {"Ssid1", "Office"},
                                            {"EncryptionMethod", "2"},
                                            {"WPAEncryptionType", "3"},
                                            {"WPAPassphrase", "office-secret"}}));
    const std::string officeApplied = "VYXWL_SetWLANStatus(\"Office\", mode 1, security 2) -> 1";
    {
        Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
        ASSERT_TRUE(monitor.Started());
        ProfilePage page = OpenProfilePage(monitor);
        ASSERT_NE(page.List, nullptr);
        HWND main = page.Main;
        RemoteList rows(page.List);
        ASSERT_TRUE(rows.Usable());
        ASSERT_TRUE(WaitUntil([&] { return Count(Trace(), officeApplied) == 1; })) << Trace();
        const POINT kImport = {4 + 274 + 28, 134 + 244}, kConnect = {4 + 275 + 38, 134 + 188 + 10};

        using Import = std::pair<std::string, std::string>;  // the file, the profile's name
        for (const auto& [file, name] : std::vector<Import>{{lab, "Lab"}, {cipher, "Cipher"}}) {
            // Imported through the open dialog, by its path typed and Return.
            ClickIn(main, kImport.x, kImport.y);
            HWND open = ShownWindow(monitor.Id(), "#32770");
            ASSERT_NE(open, nullptr) << name;
            ASSERT_TRUE(WaitUntil([&] { return FocusOf(open) != nullptr; })) << name;
            ASSERT_TRUE(TakesKeys(FocusOf(open))) << name;
            Press(VK_END);
            Press(VK_HOME, true);
            Type(file);
            Press(VK_RETURN);
            int row = -1;
            ASSERT_TRUE(WaitUntil([&] {
                std::vector<std::string> shown = rows.Rows(1);
                for (size_t i = 0; i < shown.size(); ++i)
                    if (shown[i] == name) row = static_cast<int>(i);
                return row >= 0 && rows.Selected() == row;
            })) << name
                << ": " << Trace();

            // Connect: the user is told, nothing is applied.
            ClickIn(main, kConnect.x, kConnect.y);
            ASSERT_TRUE(
                AnswerMessage(monitor.Id(),
                              "The profile \"" + name +
                                  "\" holds settings that cannot be used. It was not applied.",
                              "profile_unusable_" + name));
        }
        EXPECT_EQ(Count(Trace(), "VYXWL_SetWLANStatus("), 1u) << Trace();
        EXPECT_EQ(Count(Trace(), "VYXWL_WLProfileToWLStatus(\"Lab\""), 0u);
        EXPECT_EQ(Count(Trace(), "VYXWL_WLProfileToWLStatus(\"Cipher\""), 0u);
    }  // the machine goes down with the monitor running

    // The system start: the profile last connected with, read back and applied.
    Program service(dir_.File("Wavelorn.exe"), "/Service", dir_.Path());
    ASSERT_TRUE(service.Started());
    ASSERT_TRUE(service.WaitEnd());
    EXPECT_TRUE(LogShows("Succ: read last apply profile")) << Log();
    EXPECT_EQ(Count(Log(), "Fail: read last apply profile"), 0u) << Log();
    EXPECT_EQ(Count(Trace(), officeApplied), 2u) << Trace();
    EXPECT_EQ(Count(Trace(), "VYXWL_SetWLANStatus("), 2u) << Trace();
}

}  // namespace
