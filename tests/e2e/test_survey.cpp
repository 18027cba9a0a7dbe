// The site survey page as a user works it under Wine with the stand-in adapter: the window
// opened from the tray, the survey tab, the networks' rows strongest first, a header clicked to
// sort, a row's details, an open network joined with Connect, and secured ones joined with the
// key typed into the quick connect dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;
using Rows = std::vector<std::string>;

// An open network on channel 11 at -60 dBm (70 %), besides Office (90 %) and Cafe (50 %);
// entries the page must not list (no MAC, no name, a name claiming 40 bytes); and the addresses
// a connection gets, so that the progress dialog closes as soon as they show.
const char kAirport[] =
    "[Survey]\r\nJunk=1\r\n[Network3]\r\nSSID=Airport\r\nMAC=00:A0:C5:77:88:99\r\n"
    "Frequency=2462000\r\nRSSI=-60\r\nNoise=-80\r\nPrivacy=0\r\nMode=1\r\nBand=3\r\n"
    "[DHCP]\r\nAddress=192.0.2.20\r\nMask=255.255.255.0\r\nGateway=192.0.2.1\r\n"
    "DNS1=192.0.2.53\r\n";

// Places in the main window's client area (the page lies at 4, 134) and in the dialog's.
POINT OnSurveyPage(int x, int y) {
    return {4 + x, 134 + y};
}
const POINT kTab = {127 + 60, 102 + 16}, kList = OnSurveyPage(37, 95),
            kHeaderSsid = OnSurveyPage(54, 80), kHeaderSignal = OnSurveyPage(178, 80),
            kConnect = OnSurveyPage(378, 198), kWepKey = {145, 309}, kPassphrase = {145, 295},
            kDialogConnect = {539, 382};

TEST_F(Monitor, SurveyListsSortsShowsDetailsAndJoinsOpenWepAndWpaPskNetworks) {
    Scenario(std::string(kAdapter) + kNetworks + kAirport);
    StoreProfiles({Infrastructure("Default", "Elsewhere")});  // no network of it in range
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started() && LogShows("new total dev 1")) << Log();
    HWND tray = TrayWindow(monitor.Id());
    std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
    ASSERT_TRUE(tray && mains.size() == 1);
    HWND main = mains[0], list = nullptr;
    PostMessageA(tray, kTrayCallback, 1, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    ASSERT_TRUE(ClickThen(main, kTab, [&] {
        return (list = ChildAt(main, "SysListView32", kList.x, kList.y)) != nullptr;
    }));
    RemoteList rows(list);
    ASSERT_TRUE(rows.Usable());
    auto showing = [&](const char* cls) -> HWND {
        for (HWND h : WindowsOf(monitor.Id(), cls))
            if (IsWindowVisible(h)) return h;
        return nullptr;
    };
    auto details = [&] {
        std::string text;
        for (int top = 100; top <= 164; top += 16)
            text += (top == 100 ? "" : "|") + LabelAt(main, OnSurveyPage(312, top));
        return text;
    };

    // The scan: "Searching" meanwhile; 3 seconds later the rows, strongest first, the first
    // selected with its details.
    if (ChildAt(main, "TPanel", OnSurveyPage(61, 139).x, OnSurveyPage(61, 139).y))
        SaveScreenshot(main, "survey_searching");
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows(3).size() == 3; })) << Trace();
    EXPECT_EQ(rows.Rows(3), (Rows{"Office|6|90%", "Airport|11|70%", "Cafe|1|50%"}));
    EXPECT_TRUE(WaitUntil([&] {
        return rows.Selected() == 0 &&
               details() == "Office|Infrastructure|6|WPA-PSK|00-A0-C5-11-22-33";
    })) << details();
    Settle(main);
    SaveScreenshot(main, "survey_page");

    // Signal again: weakest first; SSID then keeps that direction, from now on.
    const Rows bySignal = {"Cafe", "Airport", "Office"}, bySsid = {"Airport", "Cafe", "Office"};
    EXPECT_TRUE(ClickThen(main, kHeaderSignal, [&] { return rows.Rows(1) == bySignal; }));
    EXPECT_TRUE(ClickThen(main, kHeaderSsid, [&] { return rows.Rows(1) == bySsid; }));

    // Each network joined: the open one at once, the others with the WEP key or the WPA-PSK
    // passphrase typed into the quick connect dialog, which takes the window's place. The link
    // page and the tray show the link.
    struct Case {
        const char* details;
        POINT entry;
        const char* typed;  // null: no dialog
        const char* applied;
        const char* signal;
    } cases[] = {
        {"Airport|Infrastructure|11|Disabled|00-A0-C5-77-88-99",
         {},
         nullptr,
         "(\"Airport\", mode 1, security 0) -> 1",
         "Very good (70%)"},
        {"Cafe|Infrastructure|1|WEP|00-A0-C5-44-55-66", kWepKey, "0123456789",
         "(\"Cafe\", mode 1, security 1) -> 1", "Good (50%)"},
        {"Office|Infrastructure|6|WPA-PSK|00-A0-C5-11-22-33", kPassphrase, "office-secret",
         "(\"Office\", mode 1, security 2) -> 1", "Excellent (90%)"},
    };
    for (int row = 0; row < 3; ++row) {
        const Case& c = cases[row];
        SCOPED_TRACE(c.details);
        // Back on the survey tab (a new scan), the network's row, Connect.
        ASSERT_TRUE(ClickThen(main, kTab, [&] { return IsWindowVisible(list) != FALSE; }));
        ASSERT_TRUE(WaitUntil([&] { return rows.Rows(1) == bySsid; }));
        ASSERT_TRUE(ClickThen(list, rows.Middle(row), [&] { return details() == c.details; }))
            << details();
        ASSERT_TRUE(ClickThen(main, kConnect, [&] {
            return showing("TFormConnectSet") != nullptr || showing("TFormProgress") != nullptr;
        }));
        if (c.typed) {
            HWND dialog = showing("TFormConnectSet");
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
            HWND edit = ChildAt(dialog, "Edit", c.entry.x - 30, c.entry.y - 10);
            ASSERT_TRUE(TypeOver(dialog, c.entry, edit, c.typed));
            ASSERT_TRUE(
                ClickThen(dialog, kDialogConnect, [&] { return !IsWindowVisible(dialog); }));
        }
        EXPECT_TRUE(WaitUntil([&] {
            return Trace().find(std::string("VYXWL_SetWLANStatus") + c.applied) !=
                   std::string::npos;
        })) << Trace();
        EXPECT_TRUE(WaitUntil([&] {
            return IsWindowVisible(main) && ChildAt(main, "TFrameInfo", 4, 134) != nullptr;
        })) << "the link page";
        EXPECT_FALSE(IsWindowVisible(list));
        EXPECT_TRUE(WaitUntil([&] {
            return Title(tray).rfind(std::string("PRV300K\nSignal: ") + c.signal, 0) == 0;
        })) << Title(tray);
        // The progress dialog closes once the connection has its addresses.
        EXPECT_TRUE(WaitUntil([&] { return showing("TFormProgress") == nullptr; }));
    }
    // Each under the name of the profile being edited, which the store never keeps.
    EXPECT_EQ(Count(Trace(), "VYXWL_WLProfileToWLStatus(\"(EditingProfile)\") -> 1"), 3u);
    EXPECT_EQ(StoredNames(), Rows{"Default"});
}

}  // namespace
