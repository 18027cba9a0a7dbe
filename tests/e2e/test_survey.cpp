// The site survey page as a user works it under Wine with the stand-in adapter: the window
// opened from the tray, the survey tab, the networks' rows strongest first, a header clicked to
// sort, a row's details, and an open network joined with Connect.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;
using Rows = std::vector<std::string>;

// An open network on channel 11 at -60 dBm (70 %), besides Office (90 %) and Cafe (50 %); and
// the addresses a connection gets, so that the progress dialog closes as soon as they show.
const char kAirport[] =
    "[Network3]\r\nSSID=Airport\r\nMAC=00:A0:C5:77:88:99\r\nFrequency=2462000\r\nRSSI=-60\r\n"
    "Noise=-80\r\nPrivacy=0\r\nMode=1\r\nBand=3\r\n"
    "[DHCP]\r\nAddress=192.0.2.20\r\nMask=255.255.255.0\r\nGateway=192.0.2.1\r\n"
    "DNS1=192.0.2.53\r\n";

// Places in the main window's client area: the page lies at 4, 134.
POINT OnSurveyPage(int x, int y) {
    return {4 + x, 134 + y};
}
const POINT kList = OnSurveyPage(37, 95), kHeaderSsid = OnSurveyPage(54, 80),
            kHeaderSignal = OnSurveyPage(178, 80), kConnect = OnSurveyPage(378, 198);

class Survey : public Monitor {
protected:
    // Started, connected by itself with Office, its window opened on the survey tab.
    void OpenSurvey(Program& monitor) {
        ASSERT_TRUE(monitor.Started() && LogShows("auto connect found: Office")) << Log();
        tray_ = TrayWindow(monitor.Id());
        std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
        ASSERT_TRUE(tray_ && mains.size() == 1);
        main_ = mains[0];
        PostMessageA(tray_, kTrayCallback, 1, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }));
        ASSERT_TRUE(WaitUntil([&] {
            ClickIn(main_, 127 + 60, 102 + 16);
            list_ = ChildAt(main_, "SysListView32", kList.x, kList.y);
            return list_ != nullptr;
        }));
    }
    // The five details of the selected network, joined by "|".
    std::string Details() {
        std::string text;
        for (int top = 100; top <= 164; top += 16)
            text += (top == 100 ? "" : "|") + LabelAt(main_, OnSurveyPage(312, top));
        return text;
    }
    void Click(POINT p) { ClickIn(main_, p.x, p.y); }
    bool Traced(const std::string& line) {
        return WaitUntil([&] { return Trace().find(line) != std::string::npos; });
    }

    HWND tray_ = nullptr;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(Survey, ListsStrongestFirstSortsByAHeaderShowsDetailsAndJoinsAnOpenNetwork) {
    Scenario(std::string(kAdapter) + kNetworks + kAirport);
    StoreProfiles();
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_NO_FATAL_FAILURE(OpenSurvey(monitor));
    RemoteList rows(list_);
    ASSERT_TRUE(rows.Usable());

    // Entering the page scans: 3 seconds later the rows, strongest first, the first selected.
    ASSERT_TRUE(WaitUntil([&] { return rows.Rows(3).size() == 3; })) << Trace();
    EXPECT_EQ(rows.Rows(3), (Rows{"Office|6|90%", "Airport|11|70%", "Cafe|1|50%"}));
    EXPECT_TRUE(WaitUntil([&] {
        return rows.Selected() == 0 &&
               Details() == "Office|Infrastructure|6|WPA-PSK|00-A0-C5-11-22-33";
    })) << Details();
    Sleep(300);
    SaveScreenshot(main_, "survey_page");

    // Signal again: weakest first; SSID then keeps that direction.
    Click(kHeaderSignal);
    EXPECT_TRUE(WaitUntil([&] { return rows.Rows(1) == Rows{"Cafe", "Airport", "Office"}; }));
    Click(kHeaderSsid);
    EXPECT_TRUE(WaitUntil([&] { return rows.Rows(1) == Rows{"Airport", "Cafe", "Office"}; }));

    // The open network's details, then Connect: applied at once, no key asked, nothing stored;
    // the link page shows it, and so does the tray.
    rows.Click(0);
    ASSERT_TRUE(WaitUntil([&] {
        return Details() == "Airport|Infrastructure|11|Disabled|00-A0-C5-77-88-99";
    })) << Details();
    Click(kConnect);
    EXPECT_TRUE(Traced("VYXWL_SetWLANStatus(\"Airport\", mode 1, security 0) -> 1")) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(list_); }));
    EXPECT_NE(ChildAt(main_, "TFrameInfo", 4, 134), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return LabelAt(main_, OnInfoPage(134, 103)) == "Airport"; }));
    EXPECT_TRUE(WaitUntil([&] {
        return Title(tray_).rfind("PRV300K\nSignal: Very good (70%)\n", 0) == 0;
    })) << Title(tray_);
    EXPECT_EQ(StoredNames(), (Rows{"Default", "Office"}));
}

}  // namespace
