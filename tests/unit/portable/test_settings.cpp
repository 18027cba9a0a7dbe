#include <gtest/gtest.h>

#include "FakeIniFile.h"
#include "core/Udefine.h"

TEST(WindowsVersion, CodeTable) {
    struct Case {
        uint32_t platform, major, minor;
        int32_t code;
    } cases[] = {
        {1, 4, 0, 0}, {1, 4, 10, 3}, {1, 4, 90, 4}, {1, 4, 3, 2}, {2, 4, 0, 1},  {2, 5, 0, 5},
        {2, 5, 1, 6}, {2, 5, 2, 6},  {2, 3, 51, 7}, {2, 6, 1, 7}, {2, 10, 0, 7}, {0, 3, 1, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.platform, c.major, c.minor), c.code)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(Settings, DefaultsWithoutFiles) {
    CFAGlobalVar g;
    g.LoadSettings("Wavelorn");
    EXPECT_EQ(g.AppTitle, "Wavelorn");
    EXPECT_EQ(g.MsgTitle, "Wavelorn Message");
    EXPECT_EQ(g.ProfRoot, "Velmora");
    EXPECT_EQ(g.MutexName, "Velmora_Mutex");
    EXPECT_EQ(g.LoginMutexName, "Velmora_Login_Mutex");
    EXPECT_EQ(g.BroadcastMsgName, "Velmora_BroadcastMsg");
    EXPECT_EQ(g.DefProfName, "Default");
    EXPECT_EQ(g.DefProfSSID, "ANY");
    EXPECT_EQ(g.SupportMode, 34);
    EXPECT_EQ(g.DefBand, 1);
    EXPECT_EQ(g.DefChB, 6);
    EXPECT_EQ(g.DefChA, 36);
    EXPECT_EQ(g.Words.Connected, "Connected");
    // without files the thin operations answer their defaults and write nothing
    EXPECT_EQ(g.ReadTextString("FormMain", "X", "dflt"), "dflt");
    EXPECT_EQ(g.ReadSettingString("Setting", "X", "d"), "d");
    EXPECT_EQ(g.ReadSettingInteger("Setting", "X", 9), 9);
    EXPECT_TRUE(g.ReadSettingBool("Setting", "EnableUtility", true));
    g.WriteSettingBool("Setting", "EnableUtility", false);
}

TEST(Settings, SettingsFileReplacesEachValue) {
    CFAGlobalVar g;
    auto* settings = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(settings);
    settings->WriteString("Setting", "ProfRoot", "Acme");
    settings->WriteString("Setting", "DefProfName", "Office");
    settings->WriteString("Setting", "DefProfSSID", "corp");
    settings->WriteString("Setting", "SupportMode", "0x22");
    settings->WriteString("Setting", "DefBand", "2");
    settings->WriteString("Setting", "DefChA", "40");
    settings->WriteString("Setting", "DefChB", "junk");
    g.LoadSettings("Wavelorn");
    EXPECT_EQ(g.MutexName, "Acme_Mutex");
    EXPECT_EQ(g.LoginMutexName, "Acme_Login_Mutex");
    EXPECT_EQ(g.BroadcastMsgName, "Acme_BroadcastMsg");
    EXPECT_EQ(g.DefProfName, "Office");
    EXPECT_EQ(g.DefProfSSID, "corp");
    EXPECT_EQ(g.SupportMode, 34);
    EXPECT_EQ(g.DefBand, 2);
    EXPECT_EQ(g.DefChA, 40);
    EXPECT_EQ(g.DefChB, 6);
    // no string file: titles from the program name
    EXPECT_EQ(g.AppTitle, "Wavelorn");

    g.WriteSettingBool("Setting", "EnableZeroCfg", true);
    EXPECT_EQ(settings->ReadString("Setting", "EnableZeroCfg", ""), "1");
    g.WriteSettingBool("Setting", "EnableZeroCfg", false);
    EXPECT_EQ(settings->ReadString("Setting", "EnableZeroCfg", ""), "0");
    EXPECT_FALSE(g.ReadSettingBool("Setting", "EnableZeroCfg", true));
}

TEST(Settings, EmptyProfRootGivesBareSuffixes) {
    CFAGlobalVar g;
    auto* settings = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(settings);
    settings->WriteString("Setting", "ProfRoot", "");
    g.LoadSettings("Wavelorn");
    EXPECT_EQ(g.MutexName, "_Mutex");
    EXPECT_EQ(g.LoginMutexName, "_Login_Mutex");
    EXPECT_EQ(g.BroadcastMsgName, "_BroadcastMsg");
}

TEST(Settings, StringFileGivesTitlesAndWords) {
    CFAGlobalVar g;
    g.SettingsIni.reset(new FakeIniFile("Wavelorn.bin"));
    auto* strings = new FakeIniFile("Wavelorn.ini");
    g.StringIni.reset(strings);
    strings->WriteString("Utility", "AppTitle", "Funkmonitor");
    strings->WriteString("Common", "Scanning", "Suche");
    g.LoadSettings("Wavelorn");
    EXPECT_EQ(g.AppTitle, "Funkmonitor");
    // the message title's default is formed from the program name
    EXPECT_EQ(g.MsgTitle, "Wavelorn Message");
    EXPECT_EQ(g.Words.Scanning, "Suche");
    EXPECT_EQ(g.ReadTextString("Utility", "AppTitle", "x"), "Funkmonitor");
    EXPECT_EQ(g.ReadTextString("Utility", "Missing", "x"), "x");
    // a section's reader answers from that section alone
    TTextReader utility = g.TextSection("Utility");
    EXPECT_EQ(utility("AppTitle", "x"), "Funkmonitor");
    EXPECT_EQ(utility("Scanning", "x"), "x");
    EXPECT_EQ(g.TextSection("Common")("Scanning", "x"), "Suche");
}

namespace {

// The settings with one [Setting] key written as TIniFile writes it; log gets what is refused.
void LoadSetting(CFAGlobalVar& g, const char* key, const AnsiString& value,
                 std::vector<AnsiString>& log) {
    g.Log = [&log](const AnsiString& line) { log.push_back(line); };
    auto* settings = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(settings);
    settings->WriteString("Setting", key, value);
    g.LoadSettings("Wavelorn");
}

}  // namespace

// Numbers that are none of their key's values leave the default and are logged.
TEST(Settings, ValuesOutsideTheirRangeTakeTheDefault) {
    struct Case {
        const char* key;
        const char* text;
        int32_t CFAGlobalVar::*field;
        int32_t expected;
        bool logged;
    } cases[] = {
        {"DefBand", "-5", &CFAGlobalVar::DefBand, 1, true},
        {"DefBand", "0", &CFAGlobalVar::DefBand, 1, true},
        {"DefBand", "4", &CFAGlobalVar::DefBand, 1, true},
        {"DefBand", "3", &CFAGlobalVar::DefBand, 3, false},
        {"DefBand", "x", &CFAGlobalVar::DefBand, 1, false},
        {"DefChB", "1000", &CFAGlobalVar::DefChB, 6, true},
        {"DefChB", "0", &CFAGlobalVar::DefChB, 6, true},
        {"DefChB", "15", &CFAGlobalVar::DefChB, 6, true},
        {"DefChB", "14", &CFAGlobalVar::DefChB, 14, false},
        {"DefChB", "1", &CFAGlobalVar::DefChB, 1, false},
        {"DefChA", "197", &CFAGlobalVar::DefChA, 36, true},
        {"DefChA", "-36", &CFAGlobalVar::DefChA, 36, true},
        {"DefChA", "165", &CFAGlobalVar::DefChA, 165, false},
        {"SupportMode", "0xFFFFFFFF", &CFAGlobalVar::SupportMode, 34, true},
        {"SupportMode", "99999999999", &CFAGlobalVar::SupportMode, 34, true},
        {"SupportMode", "0", &CFAGlobalVar::SupportMode, 34, true},
        {"SupportMode", "14", &CFAGlobalVar::SupportMode, 34, true},
        {"SupportMode", "33", &CFAGlobalVar::SupportMode, 33, false},
        {"SupportMode", "0x15", &CFAGlobalVar::SupportMode, 21, false},
    };
    for (const Case& c : cases) {
        CFAGlobalVar g;
        std::vector<AnsiString> log;
        LoadSetting(g, c.key, c.text, log);
        EXPECT_EQ(g.*c.field, c.expected) << c.key << "=" << c.text;
        ASSERT_EQ(log.size(), c.logged ? 1u : 0u) << c.key << "=" << c.text;
        if (c.logged) {
            EXPECT_NE(log[0].find(AnsiString(c.key) + "=" + c.text), AnsiString::npos) << log[0];
        }
    }
}

// A default profile name the store cannot take is damaged: the store would be asked for another
// name than the one the pages compare with (one cut at a NUL or at the field's end), or for a
// path of keys (a backslash). It leaves "Default" and is logged.
TEST(Settings, DefaultProfileNameTheStoreCannotTakeTakesTheDefault) {
    const std::string longest(64, 'n');
    struct Case {
        std::string name;
        const char* fault;  // nullptr: taken as it is
    } cases[] = {
        {"Office", nullptr},
        {"Caf\xE9 ~", nullptr},
        {longest, nullptr},
        {std::string("Office\0x", 8), "a control character in the profile name"},
        {std::string("\0Office", 7), "a control character in the profile name"},
        {"Home\tOffice", "a control character in the profile name"},
        {"Home\r\nOffice", "a control character in the profile name"},
        {"Office\x7F", "a control character in the profile name"},
        {"a\\b", "a backslash in the profile name"},
        {"\\", "a backslash in the profile name"},
        {longest + "x", "a profile name that is too long"},
    };
    for (const Case& c : cases) {
        CFAGlobalVar g;
        std::vector<AnsiString> log;
        LoadSetting(g, "DefProfName", c.name, log);
        EXPECT_EQ(g.DefProfName, c.fault ? std::string("Default") : c.name) << c.name;
        ASSERT_EQ(log.size(), c.fault ? 1u : 0u) << c.name;
        if (c.fault) {
            EXPECT_EQ(log[0],
                      std::string("[Setting] DefProfName: ") + c.fault + ", \"Default\" taken");
        }
    }
}
