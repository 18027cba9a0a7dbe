// Profiles: the default template, the settings-file section, profiles made
// from survey entries and the security reset.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>

#include "FakeIniFile.h"
#include "core/Udefine.h"
#include "core/Uprofile.h"

namespace {

const char kSection[] = "LastApplyProf";

uint8_t* Bytes(WLProfile& p) {
    return reinterpret_cast<uint8_t*>(&p);
}

WLProfile Filled(uint8_t byte) {
    WLProfile p;
    std::memset(Bytes(p), byte, sizeof p);
    return p;
}

::testing::AssertionResult SameRecord(const WLProfile& expected, const WLProfile& actual) {
    const uint8_t* e = reinterpret_cast<const uint8_t*>(&expected);
    const uint8_t* a = reinterpret_cast<const uint8_t*>(&actual);
    for (size_t i = 0; i < sizeof(WLProfile); ++i)
        if (e[i] != a[i])
            return ::testing::AssertionFailure()
                   << "first difference at offset " << i << ": expected " << int(e[i]) << ", got "
                   << int(a[i]);
    return ::testing::AssertionSuccess();
}

// Printable text of n characters with blanks, quotes, '=' and ';' inside.
AnsiString Text(size_t n, unsigned salt) {
    static const char kChars[] = "abcXYZ019 \t\"'=;[]#-_.";
    AnsiString s;
    for (size_t i = 0; i < n; ++i) s += kChars[(i * 7 + salt) % (sizeof kChars - 1)];
    return s;
}

// Every byte in use: arbitrary numbers and addresses, every text as long as
// its field allows, a few with blanks or quotes at their ends.
WLProfile Busy() {
    WLProfile p;
    for (size_t i = 0; i < sizeof p; ++i) Bytes(p)[i] = static_cast<uint8_t>(i * 131 + 17);
    unsigned salt = 0;
    auto full = [&salt](auto& field) { SetTextField(field, Text(sizeof field - 1, ++salt)); };
    full(p.Ssid1);
    full(p.Ssid2);
    full(p.Ssid3);
    full(p.PassPhrase);
    full(p.WEPKey1);
    full(p.WEPKey2);
    full(p.WEPKey3);
    full(p.WEPKey4);
    full(p.WPAPassphrase);
    full(p.LoginName);
    full(p.LoginPassword);
    full(p.DomainName);
    full(p.sCertificate);
    full(p.sCertificate_Issuer);
    full(p.sCertAuthority);
    full(p.sCertAuthority_Issuer);
    NetworkInfo& ni = p.NetworkInfo;
    full(ni.NI_sz_CurProfile);
    full(ni.NI_strScopeId);
    full(ni.NI_strHostName);
    full(ni.NI_strDomain);
    full(ni.NI_strDomSufSearch);
    full(ni.NI_strLoginUsr);
    full(ni.NI_strLoginPsw);
    full(ni.NI_strLoginDom);
    SetTextField(p.ProfileName, " lead");
    SetTextField(p.Ssid1, "'x'");
    SetTextField(p.Ssid2, "\"both\" ");
    SetTextField(p.WEPKey1, "\tkey");
    SetTextField(p.LoginName, "user\r\n[Setting]\r\nProfRoot=X");
    SetTextField(p.Ssid3,
                 "\x1a"
                 "edge\x1a");
    p.ApplyNetwork = 1;
    // numbers with a closed set of values take one of them, none the read default
    p.NetworkMode = 0;
    p.AdHocBand = 3;
    p.WEPEncryptionLevel = 2;
    p.DefaultKey = 3;
    p.AuthenticationMode = 7;
    p.EncryptionMethod = 6;
    p.WPAEncryptionType = 2;
    p.MS8021xAuthMode = 4;
    p.PeapEap = 1;
    return p;
}

class ProfileText : public ::testing::Test {
protected:
    void SetUp() override { g.SettingsIni.reset(ini = new FakeIniFile); }
    CFAGlobalVar g;
    FakeIniFile* ini = nullptr;
};

TEST_F(ProfileText, RoundTripKeepsKeyedFieldsAndTheCallersReservedBytes) {
    const WLProfile saved = Busy();
    SaveProfile(g, saved, kSection);

    WLProfile loaded = Filled(0xC3);
    ASSERT_TRUE(LoadProfile(g, loaded, kSection));

    WLProfile expected = saved;
    std::memset(expected.Reserved793, 0xC3, sizeof expected.Reserved793);
    std::memset(&expected.Reserved2924, 0xC3, sizeof expected.Reserved2924);
    std::memset(expected.Reserved2933, 0xC3, sizeof expected.Reserved2933);
    std::memset(expected.Reserved3970, 0xC3, sizeof expected.Reserved3970);
    EXPECT_TRUE(SameRecord(expected, loaded));
    EXPECT_EQ(" lead", TextField(loaded.ProfileName));
    EXPECT_EQ("'x'", TextField(loaded.Ssid1));
}

TEST_F(ProfileText, WritesOneKeyPerFieldInRecordOrder) {
    ini->SetRaw(kSection, "Other", "kept");
    ini->SetRaw(kSection, "Channel", "99");
    WLProfile p;
    p.Channel = -5;
    p.NetworkInfo.NI_wFlags = 65535;
    p.NetworkInfo.NI_VCI = 200;
    p.ApplyNetwork = 2;  // a library's "true"
    const uint8_t mac[6] = {0x0A, 0xB1, 0x00, 0xFF, 0x12, 0xCD};
    std::memcpy(p.APMacFilter[15], mac, 6);
    SaveProfile(g, p, kSection);

    std::vector<AnsiString> keys = ini->Keys(kSection);
    ASSERT_EQ(1u + 80u, keys.size());  // "Other", then the 80 keys, Channel rewritten in place
    EXPECT_EQ("Other", keys[0]);
    EXPECT_EQ("FuncMode", keys[2]);
    EXPECT_EQ("APMacFilter0", keys[3]);
    EXPECT_EQ("APMacFilter15", keys[18]);
    EXPECT_EQ("APMacFilterMode", keys[19]);
    EXPECT_EQ("NI_strLoginDom", keys.back());
    EXPECT_EQ(std::set<AnsiString>(keys.begin(), keys.end()).size(), keys.size());

    EXPECT_EQ("kept", *ini->Find(kSection, "Other"));
    EXPECT_EQ("-5", *ini->Find(kSection, "Channel"));
    EXPECT_EQ("65535", *ini->Find(kSection, "NI_wFlags"));
    EXPECT_EQ("200", *ini->Find(kSection, "NI_VCI"));
    EXPECT_EQ("1", *ini->Find(kSection, "ApplyNetwork"));
    EXPECT_EQ("0AB100FF12CD", *ini->Find(kSection, "APMacFilter15"));
    EXPECT_EQ("000000000000", *ini->Find(kSection, "APMacFilter0"));
    EXPECT_EQ("00000000", *ini->Find(kSection, "NI_IpAddr"));
}

TEST_F(ProfileText, NoFileOrNoKeysLoadsNothing) {
    const WLProfile before = Filled(0x5A);
    WLProfile p = before;
    EXPECT_FALSE(LoadProfile(g, p, kSection));
    ini->AddEmptySection(kSection);
    ini->SetRaw("Other", "FuncMode", "1");
    EXPECT_FALSE(LoadProfile(g, p, kSection));
    EXPECT_TRUE(SameRecord(before, p));

    g.SettingsIni.reset();
    SaveProfile(g, p, kSection);
    EXPECT_FALSE(LoadProfile(g, p, kSection));
    EXPECT_TRUE(SameRecord(before, p));
}

TEST_F(ProfileText, MissingKeysLoadTheirDefaults) {
    ini->SetRaw(kSection, "Channel", "11");
    ini->SetRaw(kSection, "ProfileName", "Office");
    WLProfile p = Filled(0x5A);
    ASSERT_TRUE(LoadProfile(g, p, kSection));

    EXPECT_EQ(11, p.Channel);
    EXPECT_EQ(0, p.FuncMode);
    EXPECT_EQ(15, p.TxRate);
    EXPECT_EQ(1, p.NetworkMode);
    EXPECT_EQ(34, p.ABGMode);
    EXPECT_EQ(2, p.AuthenticationMode);
    EXPECT_EQ(1, p.WPAEncryptionType);
    EXPECT_EQ(2346, p.FragThreshold);
    EXPECT_EQ(2347, p.RTSThreshold);
    EXPECT_EQ(2, p.PreambleMode);
    EXPECT_EQ(0, p.PeapEap);
    EXPECT_EQ(0, p.ApplyNetwork);
    EXPECT_EQ("Office", TextField(p.ProfileName));
    EXPECT_EQ("(EditingProfile)", TextField(p.NetworkInfo.NI_sz_CurProfile));
    EXPECT_EQ("", TextField(p.Ssid1));
    EXPECT_EQ("", TextField(p.NetworkInfo.NI_strLoginDom));
    EXPECT_EQ(0, p.NetworkInfo.NI_wNetFlags);
    EXPECT_EQ(0, p.NetworkInfo.NI_VCI);
    // Byte fields and unkeyed bytes stay the caller's.
    EXPECT_EQ(0x5A, p.APMacFilter[0][0]);
    EXPECT_EQ(0x5A, p.APMacFilter[15][5]);
    EXPECT_EQ(0x5A, p.NetworkInfo.NI_IpWINS2[3]);
    EXPECT_EQ(0x5A5A5A5A, p.Reserved2924);
    EXPECT_EQ(0x5A, p.Reserved3970[1]);
}

TEST_F(ProfileText, NumbersReadAsTheFileHoldsThem) {
    struct Case {
        const char* key;
        const char* value;
    };
    ini->SetRaw(kSection, "ProfileName", "Office");
    for (Case c : {Case{"TxRate", "0x10"}, Case{"FuncMode", "-7"}, Case{"Channel", "0XfF"},
                   Case{"NetworkMode", "abc"}, Case{"ABGMode", "12x"}, Case{"NI_wFlags", "65535"},
                   Case{"NI_wPPPFlags", "0xFFFF"}, Case{"NI_VPI", "255"}, Case{"ApplyNetwork", "2"},
                   Case{"APtxPwrLevel", "0xFFFFFFFF"}, Case{"PowerMode", "-2147483648"},
                   Case{"DefaultKey", "3"}, Case{"EncryptionMethod", "+7"}})
        ini->SetRaw(kSection, c.key, c.value);
    WLProfile p;
    ASSERT_TRUE(LoadProfile(g, p, kSection));
    EXPECT_EQ(16, p.TxRate);
    EXPECT_EQ(-7, p.FuncMode);
    EXPECT_EQ(255, p.Channel);
    EXPECT_EQ(1, p.NetworkMode) << "no number gives the read default";
    EXPECT_EQ(34, p.ABGMode);
    EXPECT_EQ(0xFFFF, p.NetworkInfo.NI_wFlags);
    EXPECT_EQ(0xFFFF, p.NetworkInfo.NI_wPPPFlags);
    EXPECT_EQ(255, p.NetworkInfo.NI_VPI);
    EXPECT_EQ(1, p.ApplyNetwork);
    EXPECT_EQ(-1, p.APtxPwrLevel);
    EXPECT_EQ(INT32_MIN, p.PowerMode);
    EXPECT_EQ(3, p.DefaultKey);
    EXPECT_EQ(7, p.EncryptionMethod);

    ini->SetRaw(kSection, "TxRate", "abc");
    ini->SetRaw(kSection, "ApplyNetwork", "0");
    ASSERT_TRUE(LoadProfile(g, p, kSection));
    EXPECT_EQ(15, p.TxRate);
    EXPECT_EQ(0, p.ApplyNetwork);
}

// A section the worker never wrote so: each damage alone, over a sound saved
// profile, makes the whole section count as missing.
TEST_F(ProfileText, DamagedSectionsLoadNothing) {
    struct Damage {
        const char* key;
        const char* value;  // nullptr: the key is removed
    } damages[] = {
        {"ProfileName", nullptr},
        {"ProfileName", ""},
        {"ProfileName", "   "},
        {"ProfileName", "hex:0062"},                // decodes to a name that ends before it starts
        {"ProfileName", "hex:44656661756C740078"},  // "Default", NUL, "x": another name
        {"ProfileName", "hex:486F6D650D0A4F6666696365"},  // a line break inside
        {"ProfileName", "Home\tOffice"},
        {"ProfileName", "Home\x7F"},
        {"NetworkMode", "-1"},
        {"NetworkMode", "2"},
        {"DefaultKey", "7"},
        {"DefaultKey", "-1"},
        {"WEPEncryptionLevel", "-3"},
        {"WEPEncryptionLevel", "4"},
        {"AdHocBand", "4"},
        {"AuthenticationMode", "8"},
        {"EncryptionMethod", "0xFFFFFFFF"},
        {"WPAEncryptionType", "-1"},
        {"WPAEncryptionType", "3"},
        {"MS8021xAuthMode", "5"},
        {"PeapEap", "3"},
        {"NI_VPI", "300"},
        {"NI_VCI", "-1"},
        {"NI_wFlags", "65537"},
        {"NI_wPPPFlags", "-1"},
        {"NI_wNetFlags", "0x10000"},
        {"TxRate", "2147483648"},
        {"FuncMode", "-2147483649"},
        {"Channel", "0x100000000"},
        {"ApplyNetwork", "99999999999999"},
    };
    for (const Damage& d : damages) {
        ini = new FakeIniFile;
        g.SettingsIni.reset(ini);
        SaveProfile(g, Busy(), kSection);
        if (d.value)
            ini->SetRaw(kSection, d.key, d.value);
        else
            ini->Erase(kSection, d.key);
        const WLProfile before = Filled(0x5A);
        WLProfile p = before;
        EXPECT_FALSE(LoadProfile(g, p, kSection)) << d.key << "=" << (d.value ? d.value : "(none)");
        EXPECT_TRUE(SameRecord(before, p)) << d.key;
    }

    // garbage: some 3 KB of lines that are no profile
    AnsiString garbage = "[" + AnsiString(kSection) + "]\r\n";
    for (unsigned i = 0; garbage.size() < 3000; ++i)
        garbage += Format("k%u%c=%s\r\n", i * 7919 % 1000, "xQ;#"[i % 4], Text(40, i).c_str());
    ini = new FakeIniFile;
    g.SettingsIni.reset(ini);
    ini->LoadText(garbage);
    ASSERT_TRUE(ini->SectionExists(kSection));
    WLProfile p = Filled(0x5A);
    EXPECT_FALSE(LoadProfile(g, p, kSection));
    EXPECT_TRUE(SameRecord(Filled(0x5A), p));
}

// One rule for what the system applies and what the system start reads back: a record is usable
// exactly when its saved copy loads again.
TEST_F(ProfileText, AUsableRecordIsOneWhoseSavedCopyLoadsAgain) {
    struct Case {
        const char* what;
        void (*change)(WLProfile&);
        bool usable;
    } cases[] = {
        {"as it is", [](WLProfile&) {}, true},
        {"the editing profile's name",
         [](WLProfile& p) { SetTextField(p.ProfileName, "(EditingProfile)"); }, true},
        {"infrastructure", [](WLProfile& p) { p.NetworkMode = 1; }, true},
        {"any transmit rate", [](WLProfile& p) { p.TxRate = -5; }, true},
        {"no cipher yet", [](WLProfile& p) { p.WPAEncryptionType = 0; }, true},
        {"mode 2", [](WLProfile& p) { p.NetworkMode = 2; }, false},
        {"mode -1", [](WLProfile& p) { p.NetworkMode = -1; }, false},
        {"WEP key 7", [](WLProfile& p) { p.DefaultKey = 7; }, false},
        {"cipher 3", [](WLProfile& p) { p.WPAEncryptionType = 3; }, false},
        {"band 5", [](WLProfile& p) { p.AdHocBand = 5; }, false},
        {"WEP level 4", [](WLProfile& p) { p.WEPEncryptionLevel = 4; }, false},
        {"authentication 8", [](WLProfile& p) { p.AuthenticationMode = 8; }, false},
        {"security 8", [](WLProfile& p) { p.EncryptionMethod = 8; }, false},
        {"EAP type 5", [](WLProfile& p) { p.MS8021xAuthMode = 5; }, false},
        {"inner method 3", [](WLProfile& p) { p.PeapEap = 3; }, false},
        {"no name", [](WLProfile& p) { SetTextField(p.ProfileName, ""); }, false},
        {"a control byte in the name", [](WLProfile& p) { SetTextField(p.ProfileName, "Lab\x01"); },
         false},
    };
    for (const Case& c : cases) {
        WLProfile record = Busy();
        c.change(record);
        EXPECT_EQ(c.usable, ProfileIsUsable(record)) << c.what;
        g.SettingsIni.reset(ini = new FakeIniFile);
        SaveProfile(g, record, kSection);
        WLProfile loaded = Filled(0x5A);
        EXPECT_EQ(c.usable, LoadProfile(g, loaded, kSection)) << c.what;
    }
    EXPECT_TRUE(ProfileIsUsable(Busy()));
}

// A value with a line break inside or Ctrl-Z at its ends
// reads back as it was and never adds lines or sections to the file.
TEST_F(ProfileText, TextsNeverBreakTheirLine) {
    ini->WriteString("Setting", "ProfRoot", "Velmora");
    WLProfile saved = Busy();
    SetTextField(saved.Ssid1,
                 "\x1a"
                 "Cafe\x1a");
    SetTextField(saved.NetworkInfo.NI_strLoginUsr, "\n[LastApplyProf]\nNetworkMode=-1");
    SaveProfile(g, saved, kSection);

    EXPECT_EQ(1u, ini->SectionCount("Setting"));
    EXPECT_EQ(1u, ini->SectionCount(kSection));
    EXPECT_EQ("Velmora", ini->ReadString("Setting", "ProfRoot", ""));
    EXPECT_EQ(nullptr, ini->Find(kSection, "ProfRoot"));
    EXPECT_EQ(80u, ini->Keys(kSection).size());
    EXPECT_EQ(0u, ini->Find(kSection, "LoginName")->find("hex:"));
    EXPECT_EQ(
        "\"\x1a"
        "Cafe\x1a\"",
        *ini->Find(kSection, "Ssid1"));

    WLProfile loaded = Filled(0);
    ASSERT_TRUE(LoadProfile(g, loaded, kSection));
    EXPECT_EQ(
        "\x1a"
        "Cafe\x1a",
        TextField(loaded.Ssid1));
    EXPECT_EQ("user\r\n[Setting]\r\nProfRoot=X", TextField(loaded.LoginName));
    EXPECT_EQ("\n[LastApplyProf]\nNetworkMode=-1", TextField(loaded.NetworkInfo.NI_strLoginUsr));
    EXPECT_EQ(saved.NetworkMode, loaded.NetworkMode);
}

TEST_F(ProfileText, ByteFieldsTakeOnlyTheDecodedBytes) {
    SaveProfile(g, Busy(), kSection);
    ini->Erase(kSection, "APMacFilter3");
    ini->Erase(kSection, "APMacFilter8");  // so a spill from filter 7 would stay
    ini->Erase(kSection, "NI_IpMask");
    ini->SetRaw(kSection, "APMacFilter5", "0A0B0C0D");
    ini->SetRaw(kSection, "APMacFilter6", "");
    ini->SetRaw(kSection, "APMacFilter7", "aabbccddeeff0011");  // too long
    ini->SetRaw(kSection, "NI_IpAddr", "C0A80001FF");
    const WLProfile before = Filled(0x77);
    WLProfile p = before;
    ASSERT_TRUE(LoadProfile(g, p, kSection));

    EXPECT_EQ(0, std::memcmp(p.APMacFilter[3], before.APMacFilter[3], 6));
    const uint8_t partial[6] = {0x0A, 0x0B, 0x0C, 0x0D, 0x77, 0x77};
    EXPECT_EQ(0, std::memcmp(p.APMacFilter[5], partial, 6));
    EXPECT_EQ(0, std::memcmp(p.APMacFilter[6], before.APMacFilter[6], 6));
    const uint8_t lower[6] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(0, std::memcmp(p.APMacFilter[7], lower, 6));
    EXPECT_EQ(0, std::memcmp(p.APMacFilter[8], before.APMacFilter[8], 6));
    const uint8_t ip[4] = {0xC0, 0xA8, 0x00, 0x01};
    EXPECT_EQ(0, std::memcmp(p.NetworkInfo.NI_IpAddr, ip, 4));
    EXPECT_EQ(0, std::memcmp(p.NetworkInfo.NI_IpMask, before.NetworkInfo.NI_IpMask, 4));
}

TEST_F(ProfileText, LongTextsAreCutToTheirFields) {
    ini->SetRaw(kSection, "ProfileName", AnsiString(80, 'p'));
    ini->SetRaw(kSection, "Ssid1", AnsiString(40, 's'));
    ini->SetRaw(kSection, "NI_strLoginDom", AnsiString(100, 'd'));
    WLProfile p = Filled(0x5A);
    ASSERT_TRUE(LoadProfile(g, p, kSection));
    EXPECT_EQ(AnsiString(64, 'p'), TextField(p.ProfileName));
    EXPECT_EQ(AnsiString(32, 's'), TextField(p.Ssid1));
    EXPECT_EQ(AnsiString(67, 'd'), TextField(p.NetworkInfo.NI_strLoginDom));
    EXPECT_EQ(0x5A, p.Reserved3970[0]);
}

class DefaultProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        g.DefProfName = "Default";
        g.DefProfSSID = "ANY";
        g.DefBand = 1;
        g.DefChA = 36;
        g.DefChB = 6;
        g.SupportMode = 34;
        g.WinVer = 7;
    }
    CFAGlobalVar g;
};

TEST_F(DefaultProfileTest, HoldsTheSettingsAndZeroElsewhere) {
    g.DefProfName = AnsiString(100, 'n');
    g.DefProfSSID = AnsiString(40, 's');
    g.SupportMode = 35;
    g.DefChB = 11;
    g.DefaultProfile = Filled(0xEE);
    BuildDefaultProfile(g);

    WLProfile expected = Filled(0);
    expected.ABGMode = 35;
    expected.AdHocBand = 1;
    expected.Channel = 11;
    expected.TxRate = 15;
    expected.NetworkMode = 1;
    std::memset(expected.ProfileName, 'n', 64);
    std::memset(expected.Ssid1, 's', 32);
    expected.AuthenticationMode = 2;
    expected.WPAEncryptionType = 1;
    expected.FragThreshold = 2346;
    expected.RTSThreshold = 2347;
    expected.PreambleMode = 2;
    std::memset(expected.NetworkInfo.NI_sz_CurProfile, 'n', 100);
    EXPECT_TRUE(SameRecord(expected, g.DefaultProfile));
}

TEST_F(DefaultProfileTest, ChannelFollowsTheBand) {
    g.DefChA = 40;
    g.DefChB = 11;
    for (int32_t band : {0, 1, 3, 21}) {
        g.DefBand = band;
        BuildDefaultProfile(g);
        EXPECT_EQ(11, g.DefaultProfile.Channel) << "band " << band;
        EXPECT_EQ(band, g.DefaultProfile.AdHocBand);
    }
    g.DefBand = 2;
    BuildDefaultProfile(g);
    EXPECT_EQ(40, g.DefaultProfile.Channel);
}

TEST_F(DefaultProfileTest, AppliesIpSettingsByDhcpOnlyOnNt5) {
    for (int32_t ver = 0; ver <= 7; ++ver) {
        g.WinVer = ver;
        BuildDefaultProfile(g);
        EXPECT_EQ(ver == 5 || ver == 6 ? 1 : 0, g.DefaultProfile.ApplyNetwork) << "WinVer " << ver;
        EXPECT_EQ(0, g.DefaultProfile.NetworkInfo.NI_wNetFlags & 7);
    }
}

class SurveyProfile : public DefaultProfileTest {
protected:
    void SetUp() override {
        DefaultProfileTest::SetUp();
        g.WinVer = 6;  // a template that applies IP settings
        g.DefBand = 5;
        BuildDefaultProfile(g);
        g.SupportMode = 99;  // changed after the template was built
        SetTextField(entry.Ssid.Ssid, "Cafe");
        entry.Ssid.SsidLength = 4;
        entry.Configuration.DSConfig = 5180000;
        entry.InfrastructureMode = 0;
        entry.NetworkTypeInUse = 22;
        entry.Privacy = 23;
    }
    WLProfile FromEntry() {
        WLProfile p = Busy();
        SetTextField(p.ProfileName, "Home");
        ProfileFromSurveyEntry(g, entry, p, [this](uint32_t khz) {
            askedKHz = khz;
            return 36;
        });
        return p;
    }
    SiteSurveyEntry entry;
    uint32_t askedKHz = 0;
};

TEST_F(SurveyProfile, TemplateWithTheNetworkAndTheProfilesOwnName) {
    WLProfile p = FromEntry();
    EXPECT_EQ(5180000u, askedKHz);

    WLProfile expected = g.DefaultProfile;
    SetTextField(expected.ProfileName, "Home");
    SetTextField(expected.NetworkInfo.NI_sz_CurProfile, "Home");
    SetTextField(expected.Ssid1, "Cafe");
    expected.NetworkMode = 0;
    expected.Channel = 36;
    expected.ABGMode = 99;
    expected.AdHocBand = 2;
    expected.EncryptionMethod = 2;
    expected.WPAEncryptionType = 2;
    expected.ApplyNetwork = 0;
    EXPECT_TRUE(SameRecord(expected, p));
}

TEST_F(SurveyProfile, SsidTakesAtMost32Bytes) {
    std::memset(entry.Ssid.Ssid, 'N', 32);
    entry.Ssid.SsidLength = 40;
    EXPECT_EQ(AnsiString(32, 'N'), TextField(FromEntry().Ssid1));
    entry.Ssid.SsidLength = 0;
    EXPECT_EQ("", TextField(FromEntry().Ssid1));
}

TEST_F(SurveyProfile, BandFromTheNetworkType) {
    const int32_t cases[][2] = {{1, 1},  {21, 1}, {2, 2}, {22, 2}, {3, 3},
                                {23, 3}, {0, 5},  {4, 5}, {20, 5}, {-1, 5}};
    for (const auto& c : cases) {
        entry.NetworkTypeInUse = c[0];
        EXPECT_EQ(c[1], FromEntry().AdHocBand) << "NetworkTypeInUse " << c[0];
    }
}

// The survey's 2 (auto or unknown) and any other value but 0 give infrastructure: a profile made
// from a network in range holds only what the settings file's copy of the last applied profile
// loads again, so the "/Service" run never falls back to a profile without a network.
TEST_F(SurveyProfile, ModeAndEverythingElseLoadAgainFromTheLastAppliedCopy) {
    g.DefBand = 1;  // a template as the settings give it
    BuildDefaultProfile(g);
    const int32_t modes[][2] = {{0, 0},  {1, 1},       {2, 1},      {3, 1},
                                {-1, 1}, {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& mode : modes) {
        for (int32_t type : {0, 1, 22, 99, -1}) {
            for (int32_t privacy : {0, 1, 13, 23, 1099, 5, -7}) {
                entry.InfrastructureMode = mode[0];
                entry.NetworkTypeInUse = type;
                entry.Privacy = privacy;
                const WLProfile made = FromEntry();
                EXPECT_EQ(mode[1], made.NetworkMode) << "mode " << mode[0];
                EXPECT_TRUE(ProfileIsUsable(made)) << "mode " << mode[0];
                g.SettingsIni.reset(new FakeIniFile);
                SaveProfile(g, made, kSection);
                WLProfile loaded = g.DefaultProfile;
                ASSERT_TRUE(LoadProfile(g, loaded, kSection))
                    << "mode " << mode[0] << ", type " << type << ", privacy " << privacy;
                EXPECT_TRUE(SameRecord(made, loaded)) << "mode " << mode[0];
            }
        }
    }
}

TEST_F(SurveyProfile, SecurityFromTheLibrarysCode) {
    // Markers in the template show what a code leaves alone.
    g.DefaultProfile.WPAEncryptionType = 7;
    g.DefaultProfile.WEPEncryptionLevel = 3;
    const std::set<int32_t> wpaTkip = {10, 11, 12, 15, 110, 111, 112, 115, 1010, 1011, 1012, 1015};
    const std::set<int32_t> wpaAes = {13, 14, 113, 114, 1013, 1014};
    const std::set<int32_t> pskTkip = {20,  21,  22,   25,   99,   120,  121, 122,
                                       125, 199, 1020, 1021, 1022, 1025, 1099};
    const std::set<int32_t> pskAes = {23, 24, 123, 124, 1023, 1024};

    std::vector<int32_t> codes = {INT_MIN, INT_MIN + 5, -1000, 1101, 1199, 2020, INT_MAX};
    for (int32_t code = -30; code <= 1300; ++code) codes.push_back(code);
    for (int32_t code : codes) {
        entry.Privacy = code;
        WLProfile p = FromEntry();
        int32_t method = 0, cipher = 7, level = 0;
        if (code == 1) method = 1, level = 1;
        if (wpaTkip.count(code)) method = 3, cipher = 1, level = 3;
        if (wpaAes.count(code)) method = 3, cipher = 2, level = 3;
        if (pskTkip.count(code)) method = 2, cipher = 1, level = 3;
        if (pskAes.count(code)) method = 2, cipher = 2, level = 3;
        EXPECT_EQ(method, p.EncryptionMethod) << "code " << code;
        EXPECT_EQ(cipher, p.WPAEncryptionType) << "code " << code;
        EXPECT_EQ(level, p.WEPEncryptionLevel) << "code " << code;
    }
}

TEST(ProfileSecurity, ResetTouchesOnlyTheSecurityFields) {
    CFAGlobalVar g;
    WLProfile p = Busy();
    WLProfile expected = p;
    ResetProfileSecurity(g, p);

    expected.EncryptionMethod = 0;
    expected.WEPEncryptionLevel = 0;
    expected.DefaultKey = 0;
    expected.MS8021xAuthMode = 0;
    expected.PeapEap = 0;
    expected.WEPKeyFormat = 1;
    expected.AuthenticationMode = 2;
    expected.WPAEncryptionType = 1;
    for (auto* text : {&expected.WPAPassphrase, &expected.LoginName, &expected.LoginPassword,
                       &expected.DomainName, &expected.sCertificate, &expected.sCertificate_Issuer,
                       &expected.sCertAuthority, &expected.sCertAuthority_Issuer})
        std::memset(*text, 0, sizeof *text);
    for (auto* key : {&expected.WEPKey1, &expected.WEPKey2, &expected.WEPKey3, &expected.WEPKey4})
        std::memset(*key, 0, sizeof *key);
    std::memset(expected.PassPhrase, 0, sizeof expected.PassPhrase);
    EXPECT_TRUE(SameRecord(expected, p));
}

}  // namespace
