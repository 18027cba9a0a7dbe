#include <gtest/gtest.h>

#include <set>

#include "FakeIniFile.h"
#include "core/Ucommonstring.h"

TEST(Words, SeventySixEnglishWordsInTableOrder) {
    ASSERT_EQ(CCommonString::kWordCount, 76u);
    CCommonString w;
    EXPECT_EQ(w.Unknow, "N/A");
    EXPECT_EQ(w.Connecting, "Connecting...");
    EXPECT_EQ(w.NotUse, "Not Use");
    EXPECT_EQ(w.Encrypt_None, "Disabled");
    EXPECT_EQ(w._802B, "802.11b");
    EXPECT_EQ(w.Mixed_Mode, "Mixed Mode");
    EXPECT_STREQ(CCommonString::kWords[0].key, "Unknow");
    EXPECT_STREQ(CCommonString::kWords[21].key, "Not Use");
    EXPECT_STREQ(CCommonString::kWords[59].key, "802B");
    EXPECT_STREQ(CCommonString::kWords[75].key, "Mixed_Mode");
    // every key appears once and every entry has a field of its own
    std::set<std::string> keys;
    for (size_t i = 0; i < CCommonString::kWordCount; ++i) {
        keys.insert(CCommonString::kWords[i].key);
        EXPECT_EQ(w.*CCommonString::kWords[i].field, CCommonString::kWords[i].english);
        w.*CCommonString::kWords[i].field = std::to_string(i);
    }
    EXPECT_EQ(keys.size(), 76u);
    for (size_t i = 0; i < CCommonString::kWordCount; ++i)
        EXPECT_EQ(w.*CCommonString::kWords[i].field, std::to_string(i)) << i;
}

TEST(Words, CommonSectionReplacesKeyByKey) {
    FakeIniFile ini("strings.ini");
    ini.WriteString("Common", "Connecting", "Verbindung...");
    ini.WriteString("Common", "Encrypt_None", "Aus");
    ini.WriteString("Common", "Not Use", "Unbenutzt");
    ini.WriteString("Common", "Quality", "");  // present but empty empties the word
    ini.WriteString("Other", "Scanning", "nope");
    CCommonString w;
    w.LoadCommonStrings(ini);
    EXPECT_EQ(w.Connecting, "Verbindung...");
    EXPECT_EQ(w.Scanning, "Scanning");
    EXPECT_EQ(w.Encrypt_None, "Aus");
    EXPECT_EQ(w.Disabled, "Disabled");
    EXPECT_EQ(w.NotUse, "Unbenutzt");
    EXPECT_EQ(w.Quality, "");
}
