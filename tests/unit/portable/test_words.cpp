#include <gtest/gtest.h>

#include <set>

#include "FakeIniFile.h"
#include "core/Ucommonstring.h"
#include "monitor/Uprofilelogic.h"
#include "wizard/Uwizardrules.h"

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

namespace {

WLProfile Secured(int32_t method, int32_t auth, int32_t cipher, int32_t eap) {
    WLProfile p{};
    p.EncryptionMethod = method;
    p.AuthenticationMode = auth;
    p.WPAEncryptionType = cipher;
    p.MS8021xAuthMode = eap;
    return p;
}

}  // namespace

TEST(Words, AuthenWordReadsTheFieldOfTheSecurityKind) {
    struct Case {
        int32_t method, auth, cipher, eap;
        const char* word;
    } cases[] = {
        // open and WEP: the authentication mode, whatever the cipher and method say
        {0, 0, 1, 1, "Open"},
        {0, 1, 1, 1, "Shared"},
        {0, 2, 0, 0, "Auto Switch"},
        {1, 0, 2, 3, "Open"},
        {1, 1, 0, 0, "Shared"},
        {1, 7, 0, 0, "Auto Switch"},
        // the pre-shared key kinds: the cipher
        {2, 1, 1, 1, "TKIP"},
        {2, 0, 2, 0, "AES"},
        {2, 0, 0, 1, ""},
        {2, 0, 3, 0, ""},
        {6, 0, 1, 0, "TKIP"},
        {6, 1, 2, 2, "AES"},
        {6, 0, 4, 0, ""},
        // the 802.1x kinds: the inner method
        {3, 1, 1, 1, "TLS"},
        {3, 0, 0, 2, "TTLS"},
        {3, 0, 0, 3, "PEAP"},
        {3, 0, 2, 0, ""},
        {4, 0, 0, 1, "TLS"},
        {4, 0, 0, 4, ""},
        {7, 0, 0, 2, "TTLS"},
        {7, 0, 0, 3, "PEAP"},
        // LEAP and codes without a kind: nothing
        {5, 1, 1, 1, ""},
        {8, 1, 1, 1, ""},
        {-1, 0, 1, 1, ""},
    };
    CCommonString w;
    for (const Case& c : cases)
        EXPECT_EQ(AuthenWord(w, Secured(c.method, c.auth, c.cipher, c.eap)), c.word)
            << c.method << " " << c.auth << "/" << c.cipher << "/" << c.eap;
    w.AuthModeShare = "Gemeinsam";
    w.WPA_AES = "AES-CCMP";
    EXPECT_EQ(AuthenWord(w, Secured(1, 1, 0, 0)), "Gemeinsam");
    EXPECT_EQ(AuthenWord(w, Secured(6, 0, 2, 0)), "AES-CCMP");
}

// The profile page's details and the wizard's summary take the security's second word from one
// table, for every kind.
TEST(Words, ProfilePageAndSummaryShowTheSameAuthenWord) {
    CCommonString w;
    for (int32_t method = -1; method <= 8; ++method)
        for (int32_t value = 0; value <= 3; ++value) {
            WLProfile p = Secured(method, value, value, value);
            AnsiString word = AuthenWord(w, p);
            EXPECT_EQ(DescribeProfile(p, w).Authen, word) << method << "/" << value;
            EXPECT_EQ(ConfirmLines(w, p, nullptr)[kConfirmAuthen], word) << method << "/" << value;
        }
}
