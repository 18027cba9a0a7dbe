#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/Udefine.h"
#include "core/Umessages.h"
#include "wizard/Uwizardrules.h"

namespace {

using P = TWizardPage;
using B = TWizardButton;

const char* Name(P page) {
    static const char* const names[] = {"None",    "WlNetwork", "Network", "NetType",
                                        "Channel", "Security",  "WEP",     "WPAPSK",
                                        "WPA",     "Radius",    "Confirm", "Finish"};
    return names[static_cast<int>(page)];
}

}  // namespace

TEST(WizardRoute, NextPageByModeSecurityAndWindowsVersion) {
    struct Case {
        P current;
        int32_t networkMode;
        int32_t encryption;
        int32_t winVer;
        P next;
        bool clearsApplyNetwork;
    } cases[] = {
        {P::None, 1, 0, 7, P::WlNetwork, false},
        // the IP settings page only on 2000 and XP/2003
        {P::WlNetwork, 1, 0, 5, P::Network, false},
        {P::WlNetwork, 1, 0, 6, P::Network, false},
        {P::WlNetwork, 1, 0, 7, P::NetType, true},
        {P::WlNetwork, 1, 0, 4, P::NetType, true},
        {P::WlNetwork, 1, 0, 1, P::NetType, true},
        {P::Network, 0, 0, 6, P::NetType, false},
        // infrastructure skips the channel page
        {P::NetType, 1, 0, 6, P::Security, false},
        {P::NetType, 0, 0, 6, P::Channel, false},
        {P::NetType, 2, 0, 6, P::Channel, false},
        {P::Channel, 0, 0, 6, P::Security, false},
        {P::Security, 1, 0, 6, P::Confirm, false},
        {P::Security, 1, 1, 6, P::WEP, false},
        {P::Security, 1, 2, 6, P::WPAPSK, false},
        {P::Security, 1, 3, 6, P::WPA, false},
        {P::Security, 1, 4, 6, P::Radius, false},
        // kinds the page never leaves behind still end at the summary
        {P::Security, 1, 5, 6, P::Confirm, false},
        {P::Security, 1, 6, 6, P::Confirm, false},
        {P::Security, 1, -1, 6, P::Confirm, false},
        {P::WEP, 0, 1, 6, P::Confirm, false},
        {P::WPAPSK, 1, 2, 6, P::Confirm, false},
        {P::WPA, 1, 3, 6, P::Confirm, false},
        {P::Radius, 1, 4, 6, P::Confirm, false},
        {P::Confirm, 1, 0, 6, P::None, false},
        {P::Finish, 1, 0, 6, P::None, false},
    };
    auto every = [](P) { return true; };
    for (const Case& c : cases) {
        WLProfile profile;
        profile.NetworkMode = c.networkMode;
        profile.EncryptionMethod = c.encryption;
        WizardStep step = NextWizardPage(c.current, profile, c.winVer, every);
        EXPECT_STREQ(Name(step.Page), Name(c.next))
            << Name(c.current) << " mode " << c.networkMode << " security " << c.encryption
            << " winver " << c.winVer;
        EXPECT_EQ(step.ClearApplyNetwork, c.clearsApplyNetwork) << Name(c.current);
    }
    for (P p : {P::WEP, P::WPAPSK, P::WPA, P::Radius}) EXPECT_TRUE(IsSecurityPage(p)) << Name(p);
    // A security page the window does not hold yet leads to the summary; the others stay.
    auto noWpa = [](P page) { return page != P::WPA; };
    for (int32_t method = 0; method <= 4; ++method) {
        WLProfile profile;
        profile.NetworkMode = 1;
        profile.EncryptionMethod = method;
        P none = NextWizardPage(P::Security, profile, 6, nullptr).Page;
        EXPECT_STREQ(Name(none), "Confirm") << method;
        P some = NextWizardPage(P::Security, profile, 6, noWpa).Page;
        const char* expected[] = {"Confirm", "WEP", "WPAPSK", "Confirm", "Radius"};
        EXPECT_STREQ(Name(some), expected[method]) << method;
    }
    for (P p : {P::None, P::Security, P::Confirm, P::Network}) EXPECT_FALSE(IsSecurityPage(p));
}

TEST(WizardButtons, StripsPlacedEdgeToEdgeFromTheRight) {
    const std::map<B, int32_t> widths = {{B::Manual, 104},  {B::Next, 57}, {B::Back, 57},
                                         {B::Exit, 57},     {B::Save, 57}, {B::ConnectNet, 93},
                                         {B::ToProfScr, 93}};
    struct Case {
        P page;
        int mode;
        std::vector<B> buttons;
        std::vector<int32_t> lefts;
    } cases[] = {
        {P::WlNetwork, WizardModeNew, {B::Manual, B::Exit}, {471, 414}},
        {P::Confirm, WizardModeEdit, {B::Save, B::Back, B::Exit}, {518, 461, 404}},
        {P::Network, WizardModeNew, {B::Next, B::Back}, {518, 461}},
        {P::NetType, WizardModeFirstRun, {B::Next, B::Back}, {518, 461}},
        {P::Channel, WizardModeNew, {B::Next, B::Back}, {518, 461}},
        {P::Security, WizardModeNew, {B::Next, B::Back}, {518, 461}},
        {P::WEP, WizardModeNew, {B::Next, B::Back}, {518, 461}},
        {P::Finish, WizardModeNew, {B::ConnectNet, B::ToProfScr}, {482, 389}},
        {P::Finish, WizardModeEdit, {B::ConnectNet, B::ToProfScr}, {482, 389}},
        {P::Finish, WizardModeFirstRun, {B::ConnectNet}, {482}},
        {P::None, WizardModeNew, {}, {}},
    };
    int32_t right = 12345;  // whatever an earlier strip left: index 0 starts again
    for (const Case& c : cases) {
        std::vector<B> strip = WizardButtonStrip(c.page, c.mode);
        EXPECT_EQ(strip, c.buttons) << Name(c.page) << " mode " << c.mode;
        std::vector<int32_t> lefts;
        for (size_t i = 0; i < strip.size(); ++i)
            lefts.push_back(PlaceStripButton(right, static_cast<int>(i), widths.at(strip[i])));
        EXPECT_EQ(lefts, c.lefts) << Name(c.page);
    }
}

TEST(WizardPages, SsidTrimmedAndCut) {
    struct Case {
        std::string typed;
        std::string kept;
    } cases[] = {
        {"Lobby", "Lobby"},
        {"  Lobby  ", "Lobby"},
        {"\tMy Net\r\n", "My Net"},  // blanks inside stay
        {"   ", ""},
        {std::string("\x01\x1F ok \x7F", 8), "ok \x7F"},  // only characters up to blank go
        {std::string(40, 'x'), std::string(32, 'x')},
        {"  " + std::string(32, 'y') + "z  ", std::string(32, 'y')},  // trimmed, then cut
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(WizardSsid(c.typed), c.kept) << c.typed;
}

TEST(WizardPages, NetworkTypeStoresModeAndSsid) {
    struct Case {
        bool infrastructure;
        std::string typed;
        bool accepted;
        int32_t networkMode;
        std::string ssid;  // Ssid1 afterwards
        int32_t abgMode;   // ABGMode afterwards
    } cases[] = {
        {true, "  Lobby ", true, 1, "Lobby", 34},
        {true, "", true, 1, "", 34},           // infrastructure may leave the SSID empty
        {false, "Cell", true, 0, "Cell", 11},  // ad hoc keeps the wireless mode
        {false, "", false, 0, "Old", 11},      // refused: only the mode has changed
        {false, " \t ", false, 0, "Old", 11},
        {false, std::string(40, 'c'), true, 0, std::string(32, 'c'), 11},
    };
    for (const Case& c : cases) {
        WLProfile p;
        p.NetworkMode = 7;
        p.ABGMode = 11;
        SetTextField(p.Ssid1, "Old");
        EXPECT_EQ(StoreNetworkType(p, c.infrastructure, c.typed, 34), c.accepted) << c.typed;
        EXPECT_EQ(p.NetworkMode, c.networkMode) << c.typed;
        EXPECT_EQ(TextField(p.Ssid1), c.ssid) << c.typed;
        EXPECT_EQ(p.ABGMode, c.abgMode) << c.typed;
    }
}

TEST(WizardPages, SecurityChoiceKeepsOrResetsTheKeys) {
    CFAGlobalVar g;
    struct Case {
        int32_t before;
        int32_t chosen;
        bool keysKept;
    } cases[] = {
        {1, 1, true},  {2, 2, true},  {1, 0, false},
        {0, 2, false}, {6, 0, false},  // WPA2-PSK from the store, shown as Disabled: reset
        {4, 3, false},
    };
    for (const Case& c : cases) {
        WLProfile p;
        p.EncryptionMethod = c.before;
        p.AuthenticationMode = 0;
        SetTextField(p.WEPKey1, "0123456789");
        SetTextField(p.WPAPassphrase, "secret-words");
        StoreSecurityChoice(g, p, c.chosen);
        EXPECT_EQ(p.EncryptionMethod, c.chosen);
        EXPECT_EQ(TextField(p.WEPKey1), c.keysKept ? "0123456789" : "") << c.before << c.chosen;
        EXPECT_EQ(TextField(p.WPAPassphrase), c.keysKept ? "secret-words" : "");
        // the reset's authentication mode: Auto Switch
        EXPECT_EQ(p.AuthenticationMode, c.keysKept ? 0 : 2);
    }
}

TEST(WizardPages, ChannelModesAndTheirBands) {
    CFAGlobalVar g;
    struct ModeCase {
        int32_t supportMode;
        std::vector<int32_t> values;
    } modes[] = {
        {34, {kModeMixed, kModeGOnly}},  // the default code: all bands
        {1, {kModeMixed}},               // b only
        {3, {kModeMixed, kModeGOnly}},   // g only still offers both
        {2, {}},                         // a only: no mode
        {11, {kModeMixed, kModeGOnly}},
        {13, {kModeMixed}},
        {12, {kModeMixed, kModeGOnly}},
        {22, {}},
    };
    for (const ModeCase& c : modes) {
        std::vector<WizardChoice> choices =
            ChannelModeChoices(g.Words, BandModeMask(c.supportMode));
        std::vector<int32_t> values;
        for (const WizardChoice& ch : choices) values.push_back(ch.Value);
        EXPECT_EQ(values, c.values) << c.supportMode;
    }
    g.Words.Mixed_Mode = "Gemischt";
    std::vector<WizardChoice> words = ChannelModeChoices(g.Words, 7);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].Text, "Gemischt");
    EXPECT_EQ(words[1].Text, "G-Only");

    struct BandCase {
        int32_t mode;
        std::vector<int32_t> bands;
    } bands[] = {
        {kModeMixed, {1}}, {kModeGOnly, {4}}, {0, {2, 1}},  {34, {2, 1}},
        {2, {2}},          {13, {2, 1}},      {12, {2, 4}},
    };
    for (const BandCase& c : bands) EXPECT_EQ(ChannelBandsForMode(c.mode), c.bands) << c.mode;
}

TEST(WizardPages, SecurityKindsByNetworkMode) {
    CFAGlobalVar g;
    auto values = [&](int32_t networkMode) {
        std::string out;
        for (const WizardChoice& c : SecurityChoices(g.Words, networkMode))
            out += std::to_string(c.Value) + "=" + c.Text + " ";
        return out;
    };
    EXPECT_EQ(values(1), "0=Disabled 1=WEP 2=WPA-PSK 3=WPA 4=RADIUS ");
    EXPECT_EQ(values(0), "0=Disabled 1=WEP ");
    EXPECT_EQ(values(2), "0=Disabled 1=WEP ");
    g.Words.Encrypt_None = "Aus";
    EXPECT_EQ(values(0), "0=Aus 1=WEP ");
}

TEST(WizardSummary, TenLinesFromTheProfile) {
    CFAGlobalVar g;
    auto ip = [](const uint8_t* a) {
        return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) +
               "." + std::to_string(a[3]);
    };
    auto profile = [](int32_t netMode, int32_t channel, int32_t abg, int32_t method) {
        WLProfile p;
        SetTextField(p.Ssid1, "Lobby");
        p.NetworkMode = netMode;
        p.Channel = channel;
        p.ABGMode = abg;
        p.EncryptionMethod = method;
        p.AuthenticationMode = 2;
        const uint8_t addr[4] = {192, 168, 1, 20}, mask[4] = {255, 255, 255, 0},
                      gate[4] = {192, 168, 1, 1}, dns[4] = {10, 0, 0, 53};
        std::memcpy(p.NetworkInfo.NI_IpAddr, addr, 4);
        std::memcpy(p.NetworkInfo.NI_IpMask, mask, 4);
        std::memcpy(p.NetworkInfo.NI_IpGate1, gate, 4);
        std::memcpy(p.NetworkInfo.NI_IpDNS1, dns, 4);
        return p;
    };
    struct Case {
        const char* what;
        WLProfile p;
        const char* lines;  // joined by '|'
    } cases[] = {
        {"open infrastructure, DHCP with addresses stored", profile(1, 6, 34, 0),
         "Lobby|Infrastructure|Auto|Mixed Mode|Disabled|Auto Switch|Auto|Auto|Auto|Auto"},
        {"ad hoc channel 0", profile(0, 0, 1, 0),
         "Lobby|Ad-Hoc|Auto|B-Only|Disabled|Auto Switch|Auto|Auto|Auto|Auto"},
        {"ad hoc channel 11", profile(0, 11, 3, 1),
         "Lobby|Ad-Hoc|11|G-Only|WEP|Auto Switch|Auto|Auto|Auto|Auto"},
    };
    for (const Case& c : cases) {
        ConfirmTexts lines = ConfirmLines(g.Words, c.p, ip);
        std::string joined;
        for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "|" : "") + lines[i];
        EXPECT_EQ(joined, c.lines) << c.what;
    }

    // security and authentication, by kind
    struct SecCase {
        int32_t method;
        int32_t level;   // WEPEncryptionLevel
        int32_t auth;    // AuthenticationMode
        int32_t cipher;  // WPAEncryptionType
        int32_t eap;     // MS8021xAuthMode
        const char* security;
        const char* authen;
    } kinds[] = {
        {0, 0, 0, 0, 0, "Disabled", "Open"},
        {0, 0, 1, 0, 0, "Disabled", "Shared"},
        {1, 1, 0, 0, 0, "WEP(64-bit)", "Open"},
        {1, 2, 1, 0, 0, "WEP(128-bit)", "Shared"},
        {1, 3, 5, 0, 0, "WEP(152-bit)", "Auto Switch"},
        {1, 0, 2, 0, 0, "WEP", "Auto Switch"},
        {1, 4, 2, 0, 0, "WEP", "Auto Switch"},
        {2, 0, 0, 1, 0, "WPA-PSK", "TKIP"},
        {2, 0, 0, 2, 0, "WPA-PSK", "AES"},
        {2, 0, 0, 0, 0, "WPA-PSK", ""},
        {3, 0, 0, 2, 1, "WPA", "TLS"},
        {3, 0, 0, 2, 2, "WPA", "TTLS"},
        {4, 0, 0, 0, 3, "RADIUS", "PEAP"},
        {4, 0, 0, 0, 4, "RADIUS", ""},
    };
    for (const SecCase& k : kinds) {
        WLProfile p = profile(1, 0, 34, k.method);
        p.WEPEncryptionLevel = k.level;
        p.AuthenticationMode = k.auth;
        p.WPAEncryptionType = k.cipher;
        p.MS8021xAuthMode = k.eap;
        ConfirmTexts lines = ConfirmLines(g.Words, p, ip);
        EXPECT_EQ(lines[kConfirmSecurity], k.security) << k.method << "/" << k.level;
        EXPECT_EQ(lines[kConfirmAuthen], k.authen) << k.method << "/" << k.auth;
    }

    // a static address shows four of the five addresses; other flag bits do not count
    WLProfile fixed = profile(1, 0, 34, 0);
    fixed.NetworkInfo.NI_wNetFlags = 0x0007;
    ConfirmTexts lines = ConfirmLines(g.Words, fixed, ip);
    EXPECT_EQ(lines[kConfirmIp], "192.168.1.20");
    EXPECT_EQ(lines[kConfirmMask], "255.255.255.0");
    EXPECT_EQ(lines[kConfirmGateway], "192.168.1.1");
    EXPECT_EQ(lines[kConfirmDns], "10.0.0.53");
    fixed.NetworkInfo.NI_wNetFlags = 0x0006;
    EXPECT_EQ(ConfirmLines(g.Words, fixed, ip)[kConfirmIp], "Auto");

    // words of the string file, also inside the WEP line's brackets; no '%' is a format
    g.Words.Encrypt_WEP = "WEP %s";
    g.Words.WEP_128 = "128 Bit";
    g.Words.Auto = "Automatisch";
    WLProfile wep = profile(0, 0, 34, 1);
    wep.WEPEncryptionLevel = 2;
    lines = ConfirmLines(g.Words, wep, ip);
    EXPECT_EQ(lines[kConfirmSecurity], "WEP %s(128 Bit)");
    EXPECT_EQ(lines[kConfirmChannel], "Automatisch");
}
