// The main window's decisions: tray tips and icons, tray menu, message routes and the automatic
// connection's choice of profile.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/Udefine.h"
#include "core/Uprofile.h"
#include "monitor/Umainlogic.h"

namespace {

TrayTexts Texts(const std::map<std::string, std::string>& file = {}) {
    auto read = [&file](const char* key, const AnsiString& def) {
        auto it = file.find(key);
        return it == file.end() ? def : AnsiString(it->second);
    };
    return LoadTrayTexts(read, "Wavelorn", "Disabled", "Signal", "Quality");
}

WLStatus Linked(int32_t signalDbm, int32_t noiseDbm) {
    WLStatus s;
    s.MediaConnect = 0;
    s.SignalDbm = signalDbm;
    s.NoiseDbm = noiseDbm;
    return s;
}

}  // namespace

TEST(MainTray, TextsFromTheStringFileWithTheirDefaults) {
    TrayTexts d = Texts();
    EXPECT_EQ(d.DevName, "PRV300K");
    EXPECT_EQ(d.TipDefault, "Wavelorn");
    EXPECT_EQ(d.TipActive, "PRV300K is active");
    EXPECT_EQ(d.TipNoLink, "PRV300K\nSignal: N/A\nQuality: N/A");
    EXPECT_EQ(d.VeryGood, "Very good");

    TrayTexts f = Texts({{"DevName", "Stick"}, {"TrayTipDefault", "Idle"}, {"Poor", "Weak"}});
    EXPECT_EQ(f.TipDefault, "Idle");
    EXPECT_EQ(f.TipActive, "Stick is active");
    EXPECT_EQ(f.TipNoLink, "Stick\nSignal: N/A\nQuality: N/A");
    EXPECT_EQ(SignalWord(f, 10), "Weak");
}

TEST(MainTray, ActiveTipFillsOnlyTheFirstPlaceholderAndKeepsOtherPercentSigns) {
    // A translator's text is never a printf format: %d, %n and a second %s stay as written.
    EXPECT_EQ(Texts({{"TrayTipActive", "%d%% %s on %s %n"}}).TipActive, "%d%% PRV300K on %s %n");
    EXPECT_EQ(Texts({{"TrayTipActive", "Active"}}).TipActive, "Active");
    EXPECT_EQ(Texts({{"TrayTipActive", "100% %s"}, {"DevName", "%s%n"}}).TipActive, "100% %s%n");
    EXPECT_EQ(FillFirstPlaceholder("%", "x"), "%");
    EXPECT_EQ(FillFirstPlaceholder("%%s", "x"), "%x");
}

TEST(MainTray, SignalWordsAndIconsAtTheirBoundaries) {
    TrayTexts t = Texts();
    const std::vector<std::pair<int, const char*>> words = {
        {-5, "No signal"}, {0, "No signal"},  {1, "Poor"},       {25, "Poor"},
        {26, "Good"},      {50, "Good"},      {51, "Very good"}, {75, "Very good"},
        {76, "Excellent"}, {100, "Excellent"}};
    for (const auto& w : words) EXPECT_EQ(SignalWord(t, w.first), w.second) << w.first;
    const std::vector<std::pair<int, int>> icons = {{0, 6},  {29, 6}, {30, 7}, {59, 7},
                                                    {60, 8}, {89, 8}, {90, 9}, {100, 9}};
    for (const auto& i : icons) EXPECT_EQ(SignalIcon(i.first), i.second) << i.first;
}

TEST(MainTray, StatusRowsShowLinkSignalAndQuality) {
    TrayTexts t = Texts();
    // -60 dBm is 70 %, -80 dBm 30 %.
    TrayState linked = TrayForStatus(t, Linked(-60, -80));
    EXPECT_EQ(linked.Icon, 8);
    EXPECT_EQ(linked.Tip, "PRV300K\nSignal: Very good (70%)\nQuality: Good (30%)");

    // Only the low 16 bits of the dBm fields count.
    TrayState high = TrayForStatus(t, Linked(0x7FFF0000 | 0xFFD3, 0));  // -45 dBm; 0 is -95
    EXPECT_EQ(high.Icon, 9);
    EXPECT_EQ(high.Tip, "PRV300K\nSignal: Excellent (100%)\nQuality: No signal (0%)");

    WLStatus down = Linked(-50, -50);
    down.MediaConnect = 1;
    TrayState noLink = TrayForStatus(t, down);
    EXPECT_EQ(noLink.Icon, 6);
    EXPECT_EQ(noLink.Tip, t.TipNoLink);
}

TEST(MainTray, EveryTipIsCutToTheNotificationAreasField) {
    std::string longName(200, 'N');
    TrayTexts t = Texts({{"DevName", longName}, {"TrayTipDefault", std::string(300, 'D')}});
    std::vector<TrayState> states = {TrayForAdapter(t, false, true), TrayForAdapter(t, true, true),
                                     TrayNoLink(t), TrayForStatus(t, Linked(-60, -60))};
    for (const TrayState& s : states) {
        EXPECT_EQ(s.Tip.size(), kTrayTipMax);
        EXPECT_EQ(s.Tip.substr(0, 100), std::string(100, s.Tip[0]));
    }
    EXPECT_EQ(CutTrayTip(std::string(127, 'x')).size(), 127u);
    EXPECT_EQ(CutTrayTip("short"), "short");
}

TEST(MainTrayMenu, ItemsShownByVersionControlAndKeys) {
    // Other versions than NT 5.1/5.2 never show a zero-configuration item.
    for (bool zero : {false, true}) {
        TrayMenuItems m = TrayMenuFor(7, zero, true, false);
        EXPECT_FALSE(m.UseZeroCfg);
        EXPECT_FALSE(m.UseUtility);
    }
    TrayMenuItems xpUtility = TrayMenuFor(6, false, true, false);
    EXPECT_TRUE(xpUtility.UseZeroCfg);
    EXPECT_FALSE(xpUtility.UseUtility);
    EXPECT_TRUE(xpUtility.Disable);
    EXPECT_FALSE(xpUtility.Enable);
    EXPECT_TRUE(xpUtility.About && xpUtility.Open);
    EXPECT_FALSE(xpUtility.Close);

    TrayMenuItems xpZero = TrayMenuFor(6, true, false, false);
    EXPECT_FALSE(xpZero.UseZeroCfg);
    EXPECT_TRUE(xpZero.UseUtility);
    EXPECT_TRUE(xpZero.Enable);
    EXPECT_FALSE(xpZero.Disable);

    EXPECT_TRUE(TrayMenuFor(5, false, false, true).Close);

    EXPECT_TRUE(TrayMenuMayOpen(false, false));
    EXPECT_TRUE(TrayMenuMayOpen(true, true));
    EXPECT_FALSE(TrayMenuMayOpen(true, false));
}

TEST(MainMessages, ResumeAndDeviceChangeDecisions) {
    for (uintptr_t w = 0; w < 12; ++w) {
        EXPECT_EQ(IsResumeMessage(kMsgPower, w), w == 2 || w == 3) << w;
        EXPECT_EQ(IsResumeMessage(kMsgPowerBroadcast, w), w == 6 || w == 7) << w;
        EXPECT_FALSE(IsResumeMessage(kMsgDeviceChange, w));
        EXPECT_EQ(DeviceChangeRestartsTimer(w, false), w == 7) << w;
        EXPECT_FALSE(DeviceChangeRestartsTimer(w, true));
    }
}

namespace {

class AutoConnect : public ::testing::Test {
protected:
    AutoConnect() {
        convert = [this](const SiteSurveyEntry& e) {
            WLProfile p;
            ProfileFromSurveyEntry(settings, e, p, [](uint32_t) { return 6; });
            return p;
        };
    }

    static SiteSurveyEntry Network(const std::string& ssid, int32_t privacy, int32_t mode = 1) {
        SiteSurveyEntry e;
        e.Ssid.SsidLength = static_cast<uint32_t>(ssid.size());
        std::memcpy(e.Ssid.Ssid, ssid.data(), ssid.size());
        e.Privacy = privacy;
        e.InfrastructureMode = mode;
        e.Configuration.DSConfig = 2437000;
        return e;
    }
    static WLProfile Profile(const std::string& name, const std::string& ssid, int32_t method = 0,
                             int32_t mode = 1, int32_t cipher = 1) {
        WLProfile p;
        SetTextField(p.ProfileName, name);
        SetTextField(p.Ssid1, ssid);
        p.NetworkMode = mode;
        p.EncryptionMethod = method;
        p.WPAEncryptionType = cipher;
        return p;
    }
    bool Matches(const WLProfile& p, const std::vector<SiteSurveyEntry>& scan) {
        return ProfileMatchesScan(p, scan, convert);
    }
    AutoConnectChoice Choose(const std::vector<WLProfile>& profiles,
                             const std::vector<SiteSurveyEntry>& scan, const std::string& last,
                             const std::string& def = "Default") {
        return ChooseAutoConnectProfile(profiles, scan, last, def, convert);
    }

    CFAGlobalVar settings;
    SurveyToProfile convert;
};

}  // namespace

TEST_F(AutoConnect, OpenAnyProfileTakesOnlyOpenInfrastructureNetworks) {
    for (const char* ssid : {"ANY", ""}) {
        WLProfile any = Profile("any", ssid);
        EXPECT_TRUE(Matches(any, {Network("Office", 23), Network("Lobby", 0)})) << ssid;
        EXPECT_FALSE(Matches(any, {Network("Office", 23)})) << ssid;
        EXPECT_FALSE(Matches(any, {Network("Party", 0, 0)})) << ssid;
        // the survey's 2 (auto or unknown) is joined as infrastructure
        EXPECT_TRUE(Matches(any, {Network("Unknown", 0, 2)})) << ssid;
        EXPECT_FALSE(Matches(any, {})) << ssid;
    }
    // "ANY" only stands for any network when the profile is open and infrastructure.
    EXPECT_FALSE(Matches(Profile("wep", "ANY", 1), {Network("Lobby", 0), Network("Cafe", 1)}));
    EXPECT_FALSE(Matches(Profile("adhoc", "ANY", 0, 0), {Network("Lobby", 0)}));
    // A network really named "ANY" is matched by name.
    EXPECT_TRUE(Matches(Profile("wep", "ANY", 1), {Network("ANY", 1)}));
}

TEST_F(AutoConnect, MatchNeedsNameModeSecurityAndWpaCipher) {
    std::vector<SiteSurveyEntry> scan = {Network("Office", 23),   // WPA-PSK AES
                                         Network("Cafe", 1),      // WEP
                                         Network("Party", 0, 0),  // ad hoc, open
                                         Network("Corp", 11)};    // WPA TKIP
    EXPECT_TRUE(Matches(Profile("o", "Office", 2, 1, 2), scan));
    EXPECT_FALSE(Matches(Profile("o", "Office", 2, 1, 1), scan)) << "TKIP against AES";
    EXPECT_FALSE(Matches(Profile("o", "office", 2, 1, 2), scan)) << "the name's case counts";
    EXPECT_FALSE(Matches(Profile("o", "Office", 0), scan));
    EXPECT_TRUE(Matches(Profile("c", "Cafe", 1, 1, 2), scan)) << "the cipher counts for WPA only";
    EXPECT_FALSE(Matches(Profile("c", "Cafe", 1, 0), scan));
    EXPECT_TRUE(Matches(Profile("p", "Party", 0, 0), scan));
    EXPECT_TRUE(Matches(Profile("w", "Corp", 3, 1, 1), scan));
    EXPECT_FALSE(Matches(Profile("w", "Corp", 3, 1, 2), scan));
    // Security kinds the survey never reports are never in range.
    for (int32_t method : {4, 5, 6, 7})
        EXPECT_FALSE(Matches(Profile("x", "Office", method, 1, 2), scan));
}

TEST_F(AutoConnect, LastThenDefaultThenFirstInListOrder) {
    std::vector<SiteSurveyEntry> scan = {Network("Lobby", 0), Network("Office", 23)};
    std::vector<WLProfile> profiles = {Profile("Away", "Elsewhere"), Profile("Lobby", "Lobby"),
                                       Profile("Office", "Office", 2, 1, 2),
                                       Profile("Default", "Lobby")};
    AutoConnectChoice last = Choose(profiles, scan, "Office");
    EXPECT_EQ(last.Profile, &profiles[2]);
    EXPECT_EQ(AutoConnectLogLine(last), "auto connect last: Office");

    // The last applied one out of range gives way to the default.
    AutoConnectChoice def = Choose(profiles, scan, "Away");
    EXPECT_EQ(def.Profile, &profiles[3]);
    EXPECT_EQ(AutoConnectLogLine(def), "auto connect default: Default");

    // Neither: the first in list order that is in range.
    AutoConnectChoice found = Choose(profiles, scan, "Away", "Missing");
    EXPECT_EQ(found.Profile, &profiles[1]);
    EXPECT_EQ(AutoConnectLogLine(found), "auto connect found: Lobby");

    // Names are the store's: the case of A to Z does not count.
    AutoConnectChoice spelt = Choose(profiles, scan, "OFFICE", "default");
    EXPECT_EQ(spelt.Profile, &profiles[2]);
    EXPECT_EQ(spelt.Reason, AutoConnectReason::Last);
    EXPECT_EQ(Choose(profiles, scan, "Away", "DEFAULT").Profile, &profiles[3]);

    AutoConnectChoice none = Choose({profiles[0]}, scan, "Away");
    EXPECT_EQ(none.Profile, nullptr);
    EXPECT_EQ(none.Reason, AutoConnectReason::None);
    EXPECT_EQ(AutoConnectLogLine(none), "");
}

TEST_F(AutoConnect, AdHocLastOrDefaultNeedsNoNetworkInRange) {
    std::vector<SiteSurveyEntry> scan = {Network("Lobby", 0)};
    // WPA2-PSK never matches a survey, yet an ad hoc profile is still taken by name.
    std::vector<WLProfile> profiles = {Profile("Office", "Office", 2, 1, 2),
                                       Profile("Default", "Cell", 6, 0)};
    AutoConnectChoice c = Choose(profiles, scan, "Office");
    EXPECT_EQ(c.Profile, &profiles[1]);
    EXPECT_EQ(c.Reason, AutoConnectReason::Default);
    EXPECT_EQ(Choose(profiles, scan, "Default", "").Reason, AutoConnectReason::Last);
    // Not found by the third rule, which needs a match.
    EXPECT_EQ(Choose(profiles, scan, "", "").Profile, nullptr);
}

// A profile the system start could not read back is never chosen, by no rule: the next start
// would apply the default profile without a network instead.
TEST_F(AutoConnect, AnUnusableProfileIsNeverChosen) {
    std::vector<SiteSurveyEntry> scan = {Network("Lobby", 0), Network("Lab", 0, 2),
                                         Network("Office", 23)};
    WLProfile lab = Profile("Lab", "Lab");
    lab.NetworkMode = 2;
    WLProfile office = Profile("Office", "Office", 2, 1, 2);
    office.DefaultKey = 7;
    WLProfile cell = Profile("Cell", "Cell", 0, 0);
    cell.AdHocBand = 5;
    WLProfile anon = Profile("", "Lobby");
    std::vector<WLProfile> profiles = {lab, office, cell, anon, Profile("Spare", "Lobby")};
    ASSERT_TRUE(Matches(office, scan) && Matches(anon, scan));
    for (const char* last : {"Lab", "Office", "Cell", ""}) {
        AutoConnectChoice c = Choose(profiles, scan, last, last);
        EXPECT_EQ(c.Profile, &profiles[4]) << last;
        EXPECT_EQ(c.Reason, AutoConnectReason::Found) << last;
    }
    profiles.pop_back();
    EXPECT_EQ(Choose(profiles, scan, "Lab", "Cell").Profile, nullptr);
}
