// The link information page's rules: pictures and clips by state, the words and texts of the
// status panel, the meters, the steps after an apply and of the internet check, and the
// statistics panel's 64-bit counters and connected time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/Uinfologic.h"

namespace {

WLStatus Status(int32_t security, int32_t authMode = 0, int32_t cipher = 0, int32_t eap = 0) {
    WLStatus s;
    s.SecurityCode = security;
    s.AuthMode = authMode;
    s.WpaCipher = cipher;
    s.EapMethod = eap;
    return s;
}

WLProfile Applied(int32_t method, int32_t eap) {
    WLProfile p;
    p.EncryptionMethod = method;
    p.MS8021xAuthMode = eap;
    return p;
}

}  // namespace

TEST(InfoRules, PictureStatesShowTheirPictureAndClips) {
    struct Case {
        int32_t state;
        const char* picture;
        TLinkClip radio;
        int left, top;
        TLinkClip internet;
    };
    const std::vector<Case> cases = {
        {1, "ImgInfoAnimate", TLinkClip::RadioDown, 176, 116, TLinkClip::None},
        {2, "ImgInfoAdHoc1", TLinkClip::RadioDown, 192, 116, TLinkClip::None},
        {3, "ImgInfoAdHoc2", TLinkClip::RadioUp, 189, 112, TLinkClip::None},
        {4, "ImgInfoInfra1", TLinkClip::RadioDown, 176, 116, TLinkClip::None},
        {5, "ImgInfoInfra2", TLinkClip::RadioUp, 170, 112, TLinkClip::InternetDown},
        {6, "ImgInfoInfra3", TLinkClip::RadioUp, 173, 112, TLinkClip::InternetUp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("state " + std::to_string(c.state));
        const TPictureLook* look = PictureLook(c.state);
        ASSERT_NE(look, nullptr);
        EXPECT_STREQ(look->Picture, c.picture);
        EXPECT_EQ(look->Radio, c.radio);
        EXPECT_EQ(look->RadioLeft, c.left);
        EXPECT_EQ(look->RadioTop, c.top);
        EXPECT_EQ(look->Internet, c.internet);
    }
    for (int32_t outside : {0, 7, -1, 100}) EXPECT_EQ(PictureLook(outside), nullptr) << outside;
}

TEST(InfoRules, PictureChangesByLinkApplyAndInternetCheck) {
    EXPECT_EQ(ConnectedPicture(false, false), kPictureAdHocUp);
    EXPECT_EQ(ConnectedPicture(false, true), kPictureAdHocUp);
    EXPECT_EQ(ConnectedPicture(true, false), kPictureInfraOffline);
    EXPECT_EQ(ConnectedPicture(true, true), kPictureInfraOnline);

    // Losing the link keeps the kind of network the picture showed.
    const int32_t lost[] = {1, 1, 2, 2, 4, 4, 4, 1};  // from states 0 to 7
    for (int32_t state = 0; state <= 7; ++state)
        EXPECT_EQ(LinkLostPicture(state), lost[state]) << state;

    EXPECT_EQ(ApplyingPicture(1), kPictureInfraDown);
    EXPECT_EQ(ApplyingPicture(0), kPictureAdHocDown);
    EXPECT_EQ(ApplyingPicture(2), kPictureAdHocDown);

    // Only a connected infrastructure picture follows the check.
    for (int32_t state = 0; state <= 7; ++state) {
        SCOPED_TRACE(state);
        EXPECT_EQ(InternetPicture(state, true), state == 5 ? 6 : state);
        EXPECT_EQ(InternetPicture(state, false), state == 6 ? 5 : state);
    }
}

TEST(InfoRules, SecurityAndAuthenticationWords) {
    CCommonString w;
    const std::vector<const char*> security = {"Disabled", "WEP",  "WPA-PSK",  "WPA",
                                               "RADIUS",   "LEAP", "WPA2-PSK", "WPA2"};
    for (int32_t code = 0; code < 8; ++code) EXPECT_EQ(SecurityWord(w, code), security[code]);
    for (int32_t code : {-1, 8, 99, 1020}) EXPECT_EQ(SecurityWord(w, code), "") << code;

    struct Case {
        WLStatus status;
        WLProfile applied;
        const char* word;
    };
    const WLProfile none = Applied(0, 0);
    const std::vector<Case> cases = {
        // none and WEP: the authentication mode
        {Status(0, 0), none, "Open"},
        {Status(1, 1), none, "Shared"},
        {Status(1, 2), none, "Auto Switch"},
        {Status(0, -1), none, "Auto Switch"},
        // pre-shared keys: the cipher
        {Status(2, 0, 1), none, "TKIP"},
        {Status(6, 0, 2), none, "AES"},
        {Status(2, 0, 3), none, ""},
        {Status(6, 0, 0), none, ""},
        // 802.1x: the status's EAP method unless the profile applied with that code has its own
        {Status(3, 0, 0, 1), none, "TLS"},
        {Status(4, 0, 0, 2), none, "TTLS"},
        {Status(7, 0, 0, 3), none, "PEAP"},
        {Status(7, 0, 0, 4), none, ""},
        {Status(3, 0, 0, 1), Applied(3, 2), "TTLS"},
        {Status(3, 0, 0, 3), Applied(3, 5), ""},
        {Status(4, 0, 0, 1), Applied(3, 2), "TLS"},
        {Status(7, 0, 0, 0), Applied(7, 3), "PEAP"},
        // LEAP and unknown codes: nothing
        {Status(5, 0, 1, 1), Applied(5, 1), ""},
        {Status(8, 0, 1, 1), none, ""},
        {Status(-3, 0, 1, 1), none, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.status.SecurityCode) + " auth " +
                     std::to_string(c.status.AuthMode) + " cipher " +
                     std::to_string(c.status.WpaCipher) + " eap " +
                     std::to_string(c.status.EapMethod));
        EXPECT_EQ(AuthenticationWord(w, c.status, c.applied), c.word);
    }

    EXPECT_EQ(NetworkModeWord(w, 1), "Infrastructure");
    EXPECT_EQ(NetworkModeWord(w, 0), "Ad-Hoc");
    EXPECT_EQ(NetworkModeWord(w, 2), "Ad-Hoc");

    // The words are the string file's.
    w.Encrypt_WPA2 = "WPA2 (Unternehmen)";
    w.AuthModeShare = "Gemeinsam";
    EXPECT_EQ(SecurityWord(w, 7), "WPA2 (Unternehmen)");
    EXPECT_EQ(AuthenticationWord(w, Status(1, 1), none), "Gemeinsam");
}

TEST(InfoRules, BssidRateLevelAndMeterTexts) {
    const uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x0B, 0xFE, 0x09};
    EXPECT_EQ(BssidText(bssid), "00-A0-C5-0B-FE-09");

    struct RateCase {
        uint8_t units;
        const char* text;
    };
    for (const RateCase& c : std::vector<RateCase>{
             {108, "54 Mbps"}, {11, "5 Mbps"}, {2, "1 Mbps"}, {0, "0 Mbps"}, {255, "127 Mbps"}})
        EXPECT_EQ(RateText(c.units, "Mbps"), c.text) << static_cast<int>(c.units);
    EXPECT_EQ(RateText(22, "Mbit/s"), "11 Mbit/s");

    EXPECT_EQ(LevelText(-92, "dBm"), "-92 dBm");
    EXPECT_EQ(LevelText(18, "dBm"), "18 dBm");
    EXPECT_EQ(LevelText(0, "dB"), "0 dB");

    struct MeterCase {
        int32_t field;
        int image;
    };
    const std::vector<MeterCase> meters = {
        {-95, 0},  {-120, 0},       {0, 0},          {-45, 10},
        {-44, 10}, {-20, 10},       {-70, 5},        {-60, 7},
        {-94, 0},  {0x0001FFB5, 4}, {0x7FFF0000, 0}, {-32768, 0},
        {-50, 9},  {-51, 8},        {30, 10},        {static_cast<int32_t>(0xFFFFFFBAu), 5},
    };
    for (const MeterCase& c : meters) EXPECT_EQ(MeterImage(c.field), c.image) << c.field;
}

TEST(InfoRules, AddressesTheInternetCheckAndTheStepsAfterAnApply) {
    EXPECT_EQ(AddressOrZero(""), "0.0.0.0");
    EXPECT_EQ(AddressOrZero("10.0.0.7"), "10.0.0.7");

    struct ReadyCase {
        const char* address;
        const char* dns;
        bool ready;
    };
    const std::vector<ReadyCase> ready = {
        {"192.168.1.20", "192.168.1.1", true}, {"192.168.1.20", "", false},
        {"192.168.1.20", "0.0.0.0", false},    {"", "192.168.1.1", false},
        {"0.0.0.0", "192.168.1.1", false},     {"0.0.0.0", "0.0.0.0", false},
    };
    for (const ReadyCase& c : ready)
        EXPECT_EQ(AddressReady(c.address, c.dns), c.ready) << c.address << " / " << c.dns;

    struct CheckCase {
        const char* shown;
        const char* checking;
        TInternetStep step;
    };
    const std::vector<CheckCase> checks = {
        {"0.0.0.0", "", TInternetStep::Stop},
        {"", "192.168.1.5", TInternetStep::Stop},
        {"0.0.0.0", "192.168.1.5", TInternetStep::Stop},
        {"192.168.1.5", "", TInternetStep::Start},
        {"192.168.1.5", "192.168.1.5", TInternetStep::Keep},
        {"192.168.1.6", "192.168.1.5", TInternetStep::Start},
    };
    for (const CheckCase& c : checks)
        EXPECT_EQ(InternetCheckStep(c.shown, c.checking), c.step) << c.shown << " / " << c.checking;

    // After an apply: poll 1 waits, poll 2 renews, from poll 3 on the settings are read.
    int32_t countdown = kRenewAfterPolls;
    std::vector<TIPStep> steps;
    for (int poll = 0; poll < 4; ++poll) steps.push_back(NextIPStep(countdown));
    EXPECT_EQ(steps,
              (std::vector<TIPStep>{TIPStep::Wait, TIPStep::Renew, TIPStep::Read, TIPStep::Read}));
    EXPECT_EQ(countdown, 0);
    countdown = -1;
    EXPECT_EQ(NextIPStep(countdown), TIPStep::Read);
    EXPECT_EQ(countdown, -1);
}

TEST(InfoRules, CountersAre64BitSinceTheirBaseline) {
    TLinkStatistics stats;
    const uint64_t big = 5000000000ull;  // beyond 32 bits
    const uint64_t top = 0xFFFFFFFFFFFFFFFFull;

    struct Poll {
        bool refreshFirst;
        TCounters current;
        TCounters shown;
    };
    const std::vector<Poll> polls = {
        {false, {5000, 300, big, 7}, {5000, 300, big, 7}},
        {true, {5045, 330, big + 1500, 7}, {45, 30, 1500, 0}},
        // a received-packet count that fell below its baseline: 0, then on from there
        {false, {20, 360, big + 3000, 7}, {0, 60, 3000, 0}},
        {false, {65, 390, top, 8}, {45, 90, top - big, 1}},
        {true, {65, 390, top, 8}, {0, 0, 0, 0}},
        {false, {110, 420, top, 4294967304ull}, {45, 30, 0, 4294967296ull}},
    };
    for (size_t i = 0; i < polls.size(); ++i) {
        SCOPED_TRACE("poll " + std::to_string(i + 1));
        if (polls[i].refreshFirst) stats.Restart();
        EXPECT_EQ(stats.Account(polls[i].current), polls[i].shown);
        EXPECT_EQ(stats.CounterLast, polls[i].current);
    }

    // A reset zeroes the baselines and keeps the last counts.
    stats.Reset();
    EXPECT_EQ(stats.CounterBase, (TCounters{0, 0, 0, 0}));
    EXPECT_EQ(stats.CounterLast, (TCounters{110, 420, top, 4294967304ull}));

    WLStatus status;
    status.RxPackets = 1;
    status.TxPackets = 2;
    status.RxBytes = big;
    status.TxBytes = top;
    EXPECT_EQ(StatusCounters(status), (TCounters{1, 2, big, top}));

    const std::vector<std::pair<uint64_t, const char*>> texts = {
        {0, "0"},
        {20, "20"},
        {4294967296ull, "4294967296"},
        {top, "18446744073709551615"},
    };
    for (const auto& t : texts) EXPECT_EQ(CounterText(t.first), t.second);
}

TEST(InfoRules, ConnectedTimeCountsOnlyAcrossConnectedPolls) {
    TLinkStatistics stats;
    // The first poll only takes the tick.
    for (uint32_t tick : {10000u, 13000u, 16000u}) stats.AccountConnectedTime(tick);
    EXPECT_EQ(stats.TotalSeconds, 6u);
    EXPECT_EQ(stats.UpSeconds(), 6u);
    EXPECT_EQ(FormatDuration(stats.UpSeconds()), "00:00:06");

    // A disconnection between polls is not counted.
    stats.StopCounting();
    stats.AccountConnectedTime(40000);
    stats.AccountConnectedTime(43999);
    EXPECT_EQ(stats.TotalSeconds, 9u);

    // The tick count wrapped: that poll adds nothing, the next counts again.
    stats.AccountConnectedTime(1500);
    EXPECT_EQ(stats.TotalSeconds, 9u);
    stats.AccountConnectedTime(4500);
    EXPECT_EQ(stats.TotalSeconds, 12u);

    // Refresh at 100 s: a poll at 103 s shows 3 s up and 1:43 in all.
    stats.TotalSeconds = 100;
    stats.Restart();
    stats.AccountConnectedTime(7500);
    EXPECT_EQ(stats.TotalSeconds, 103u);
    EXPECT_EQ(FormatDuration(stats.UpSeconds()), "00:00:03");
    EXPECT_EQ(FormatDuration(stats.TotalSeconds), "00:01:43");

    // An up-time baseline beyond the total is dropped.
    stats.UpBaseSeconds = 500;
    EXPECT_EQ(stats.UpSeconds(), 103u);
    EXPECT_EQ(stats.UpBaseSeconds, 0u);

    stats.Reset();
    EXPECT_EQ(stats.TotalSeconds, 0u);
    EXPECT_EQ(stats.UpBaseSeconds, 0u);
    EXPECT_EQ(stats.LastTickSeconds, 0u);

    const std::vector<std::pair<uint32_t, const char*>> durations = {
        {0, "00:00:00"},
        {59, "00:00:59"},
        {3600, "01:00:00"},
        {86399, "23:59:59"},
        {86400, "1, 00:00:00"},
        {90061, "1, 01:01:01"},
        {4294967295u, "49710, 06:28:15"},
    };
    for (const auto& d : durations) EXPECT_EQ(FormatDuration(d.first), d.second) << d.first;
}
