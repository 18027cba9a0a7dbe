#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/Ucommonstring.h"
#include "wizard/Ukeyrules.h"

namespace {

std::string Joined(const std::vector<WizardChoice>& choices) {
    std::string out;
    for (const WizardChoice& c : choices) out += c.Text + "=" + std::to_string(c.Value) + " ";
    return out;
}

}  // namespace

TEST(KeyRules, HexKeyFilterUpperCasesCutsToLengthAndAtTheFirstNonHexDigit) {
    struct Case {
        std::string typed;
        int maxLength;
        std::string shown;
    } cases[] = {
        {"ab12", 10, "AB12"},
        {"12g4", 10, "12"},  // the g and all after it go
        {"", 10, ""},
        {"0123456789abcdef", 10, "0123456789"},
        {"12 34", 26, "12"},
        {"\xE9"
         "12",
         26, ""},                           // an 8-bit letter is no digit
        {"0123456789z", 10, "0123456789"},  // cut to the length first
        {"fFaA09", 0, "FFAA09"},
        {std::string(30, 'c'), -1, std::string(30, 'C')},
        {std::string("AB\0CD", 5), 26, "AB"},
    };
    for (const Case& c : cases) EXPECT_EQ(FilterHexKey(c.typed, c.maxLength), c.shown) << c.typed;
}

TEST(KeyRules, KeyLengthsListsAndTheKeyTheCheckRefuses) {
    EXPECT_EQ(WepKeyLength(kWepLevel128), 26);
    for (int32_t level : {kWepLevel64, 0, 3, -1}) EXPECT_EQ(WepKeyLength(level), 10) << level;
    CCommonString words;
    words.AuthModeAuto = "Automatisch";  // the string file's word
    EXPECT_EQ(Joined(WepSizeChoices(words)), "64-bit=1 128-bit=2 ");
    EXPECT_EQ(Joined(WepTxKeyChoices()), "1=0 2=1 3=2 4=3 ");
    EXPECT_EQ(Joined(WepAuthenChoices(words)), "Open=0 Shared=1 Automatisch=2 ");
    EXPECT_EQ(Joined(PskCipherChoices(words)), "TKIP=1 AES=2 ");
    EXPECT_EQ(Joined(ConnectSecurityChoices(words, 1)), "WEP=1 WPA-PSK=2 ");
    for (int32_t adHoc : {0, 2}) EXPECT_EQ(Joined(ConnectSecurityChoices(words, adHoc)), "WEP=1 ");

    // Only a shown key is checked: the transmit key's.
    using E = WepKeyEdit;
    EXPECT_EQ(FirstShortWepKey({E{false, 0, 10}, E{false, 4, 10}, E{true, 10, 10}, E{}}), -1);
    EXPECT_EQ(FirstShortWepKey({E{false, 0, 10}, E{false, 0, 10}, E{true, 9, 10}, E{}}), 2);
    EXPECT_EQ(FirstShortWepKey({E{true, 25, 26}, E{true, 0, 26}, E{}, E{}}), 0);
    EXPECT_EQ(FirstShortWepKey({E{}, E{}, E{}, E{true, 0, 10}}), 3);
}

TEST(KeyRules, LibraryKeysAreReadNoFurtherThanTheirFields) {
    WEPKeyOutput out;
    std::memset(out.Key[0], 'A', sizeof(out.Key[0]));  // no NUL: must not run on into key 2
    std::strcpy(out.Key[1], "0123456789");
    std::memset(out.Key[3], 'F', sizeof(out.Key[3]));
    std::array<AnsiString, kWepKeyCount> keys = WepKeysFromOutput(out);
    EXPECT_EQ(keys, (std::array<AnsiString, kWepKeyCount>{std::string(64, 'A'), "0123456789", "",
                                                          std::string(64, 'F')}));
}

TEST(KeyRules, WepEntryStoresOnlyItsFieldsCutToTheirWidths) {
    WLProfile profile;
    SetTextField(profile.Ssid1, "Cafe");
    SetTextField(profile.WPAPassphrase, "untouched");
    profile.WPAEncryptionType = 2;
    WLProfile expected = profile;
    WepEntry entry{kWepLevel128,
                   2,
                   1,
                   std::string(300, 'p'),
                   {"", "0123", std::string(26, 'C'), std::string(80, 'D')}};
    StoreWepEntry(profile, entry);
    expected.WEPEncryptionLevel = kWepLevel128;
    expected.WEPKeyFormat = 1;
    expected.DefaultKey = 2;
    expected.AuthenticationMode = 1;
    SetTextField(expected.PassPhrase, std::string(256, 'p'));
    SetTextField(expected.WEPKey2, "0123");
    SetTextField(expected.WEPKey3, std::string(26, 'C'));
    SetTextField(expected.WEPKey4, std::string(58, 'D'));  // the field less its NUL
    EXPECT_EQ(std::memcmp(&profile, &expected, sizeof(profile)), 0);
}

TEST(KeyRules, PskPassphraseIsTrimmedAndTakenWithEightToSixtyThreeCharacters) {
    struct Case {
        std::string typed;
        const char* stored;  // null: refused
    } cases[] = {
        {"  1234567  ", nullptr},
        {"\t12345678\r\n", "12345678"},
        {"1234 5678", "1234 5678"},
        {std::string(64, 'x'), nullptr},
        {std::string(20, ' '), nullptr},
        {"\x01"
         "abcdefgh\x7F",
         "abcdefgh\x7F"},
    };
    for (const Case& c : cases) {
        WLProfile profile;
        profile.NetworkMode = 1;
        SetTextField(profile.WPAPassphrase, "old");
        WLProfile before = profile;
        ASSERT_EQ(StorePskEntry(profile, 2, c.typed), c.stored != nullptr) << c.typed;
        if (!c.stored) {
            EXPECT_EQ(std::memcmp(&profile, &before, sizeof(profile)), 0) << c.typed;
            continue;
        }
        EXPECT_EQ(TextField(profile.WPAPassphrase), c.stored);
        EXPECT_EQ(profile.WPAEncryptionType, 2);
        EXPECT_EQ(profile.AuthenticationMode, 4);
    }
    std::string longest(63, 'x');
    EXPECT_TRUE(PskPassphraseFits(longest));
    WLProfile adHoc;
    adHoc.NetworkMode = 0;
    ASSERT_TRUE(StorePskEntry(adHoc, 1, "adhoc-secret"));
    EXPECT_EQ(adHoc.AuthenticationMode, 5);  // WPA-None
}

TEST(KeyRules, OnlyKeysThatReplaceTheWholeMaskedTextUnmaskIt) {
    // a, 8-bit e and Backspace replace the text; Ctrl+V replaces it only when the clipboard
    // holds text, which shows once the paste is done; Ctrl+C and Ctrl+X would put it on the
    // clipboard in plain; Enter, Esc, Ctrl+A and Ctrl+Backspace replace nothing.
    struct Case {
        char key;
        TMaskedKey whole;
    } cases[] = {{'a', TMaskedKey::Unmask},
                 {' ', TMaskedKey::Unmask},
                 {'\xE9', TMaskedKey::Unmask},
                 {'\x08', TMaskedKey::Unmask},
                 {'\x16', TMaskedKey::UnmaskIfPasted},
                 {'\x03', TMaskedKey::Keep},
                 {'\x18', TMaskedKey::Keep},
                 {'\x0D', TMaskedKey::Keep},
                 {'\x1B', TMaskedKey::Keep},
                 {'\x01', TMaskedKey::Keep},
                 {'\x7F', TMaskedKey::Keep}};
    for (const Case& c : cases) {
        EXPECT_EQ(MaskedKeyAction(c.key, 10, 10), c.whole) << int(c.key);
        EXPECT_EQ(MaskedKeyAction(c.key, 10, 9), TMaskedKey::Keep)
            << "part selected " << int(c.key);
        EXPECT_EQ(MaskedKeyAction(c.key, 10, 0), TMaskedKey::Keep)
            << "none selected " << int(c.key);
        EXPECT_EQ(MaskedKeyAction(c.key, 0, 0), TMaskedKey::Unmask) << "an empty edit shows it";
    }
}
