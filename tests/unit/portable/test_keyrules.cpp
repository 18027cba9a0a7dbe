#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/Ucommonstring.h"
#include "wizard/Ukeyrules.h"

namespace {

std::vector<std::string> Texts(const std::vector<WizardChoice>& choices) {
    std::vector<std::string> out;
    for (const WizardChoice& c : choices) out.push_back(c.Text + "=" + std::to_string(c.Value));
    return out;
}

}  // namespace

TEST(KeyRules, HexKeyFilterUpperCasesCutsToLengthAndAtTheFirstNonHexDigit) {
    struct Case {
        const char* typed;
        int maxLength;
        const char* shown;
    } cases[] = {
        {"ab12", 10, "AB12"},
        {"12g4", 10, "12"},  // the g and all after it go
        {"g", 10, ""},
        {"", 10, ""},
        {"0123456789abcdef", 10, "0123456789"},
        {"0123456789ABCDEF0123456789FF", 26, "0123456789ABCDEF0123456789"},
        {"0123456789abcdef", 0, "0123456789ABCDEF"},  // no limit
        {"0123456789abcdef", -1, "0123456789ABCDEF"},
        {"12 34", 26, "12"},
        {"12-34", 26, "12"},
        {"\xE9"
         "12",
         26, ""},  // an 8-bit letter is no digit
        {"fFaA09", 26, "FFAA09"},
        // the cut to the length comes first: a bad character past it does not matter
        {"0123456789z", 10, "0123456789"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterHexKey(c.typed, c.maxLength), c.shown) << c.typed << " " << c.maxLength;
    // A key text with a NUL inside stops there.
    EXPECT_EQ(FilterHexKey(std::string("AB\0CD", 5), 26), "AB");
}

TEST(KeyRules, KeyLengthsAndTheListsOfThePages) {
    EXPECT_EQ(WepKeyLength(kWepLevel64), 10);
    EXPECT_EQ(WepKeyLength(kWepLevel128), 26);
    for (int32_t other : {0, 3, -1, 152}) EXPECT_EQ(WepKeyLength(other), 10) << other;

    CCommonString words;
    EXPECT_EQ(Texts(WepSizeChoices(words)), (std::vector<std::string>{"64-bit=1", "128-bit=2"}));
    EXPECT_EQ(Texts(WepTxKeyChoices()), (std::vector<std::string>{"1=0", "2=1", "3=2", "4=3"}));
    EXPECT_EQ(Texts(WepAuthenChoices(words)),
              (std::vector<std::string>{"Open=0", "Shared=1", "Auto Switch=2"}));
    EXPECT_EQ(Texts(PskCipherChoices(words)), (std::vector<std::string>{"TKIP=1", "AES=2"}));
    EXPECT_EQ(Texts(ConnectSecurityChoices(words, 1)),
              (std::vector<std::string>{"WEP=1", "WPA-PSK=2"}));
    for (int32_t adHoc : {0, 2, -1})
        EXPECT_EQ(Texts(ConnectSecurityChoices(words, adHoc)), (std::vector<std::string>{"WEP=1"}));
    // The words come from the string file's table.
    words.Encrypt_WEP = "Schluessel";
    words.AuthModeAuto = "Automatisch";
    EXPECT_EQ(ConnectSecurityChoices(words, 0)[0].Text, "Schluessel");
    EXPECT_EQ(WepAuthenChoices(words)[2].Text, "Automatisch");
}

TEST(KeyRules, OnlyTheVisibleKeyIsCheckedAndTheFirstShortOneIsRefused) {
    using E = WepKeyEdit;
    struct Case {
        std::array<WepKeyEdit, kWepKeyCount> edits;
        int refused;
    } cases[] = {
        // transmit key 3 full; the hidden ones may be empty or partial
        {{E{false, 0, 10}, E{false, 4, 10}, E{true, 10, 10}, E{false, 0, 10}}, -1},
        {{E{false, 0, 10}, E{false, 0, 10}, E{true, 9, 10}, E{false, 0, 10}}, 2},
        {{E{true, 25, 26}, E{false, 0, 26}, E{false, 0, 26}, E{false, 0, 26}}, 0},
        {{E{true, 26, 26}, E{false, 0, 26}, E{false, 0, 26}, E{false, 0, 26}}, -1},
        {{E{false, 10, 10}, E{false, 10, 10}, E{false, 10, 10}, E{true, 0, 10}}, 3},
        // two shown (no transmit key chosen yet would not do this, but the order holds)
        {{E{false, 0, 10}, E{true, 3, 10}, E{true, 0, 10}, E{false, 0, 10}}, 1},
        // none shown: nothing to refuse
        {{E{false, 0, 10}, E{false, 0, 10}, E{false, 0, 10}, E{false, 0, 10}}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstShortWepKey(c.edits), c.refused);
}

TEST(KeyRules, LibraryKeysAreReadNoFurtherThanTheirFields) {
    WEPKeyOutput out;
    // Key 1 fills its field with no NUL: key 2's text must not run on into it.
    std::memset(out.Key[0], 'A', sizeof(out.Key[0]));
    std::strcpy(out.Key[1], "0123456789");
    std::memset(out.Key[3], 'F', sizeof(out.Key[3]));
    out.Reserved0 = 0x41414141;
    std::array<AnsiString, kWepKeyCount> keys = WepKeysFromOutput(out);
    EXPECT_EQ(keys[0], std::string(64, 'A'));
    EXPECT_EQ(keys[1], "0123456789");
    EXPECT_EQ(keys[2], "");
    EXPECT_EQ(keys[3], std::string(64, 'F'));
    // Through the filter as the page shows them.
    EXPECT_EQ(FilterHexKey(keys[0], WepKeyLength(kWepLevel128)), std::string(26, 'A'));
}

TEST(KeyRules, WepEntryStoresOnlyItsFieldsAndCutsLongTexts) {
    WLProfile profile;
    SetTextField(profile.Ssid1, "Cafe");
    profile.EncryptionMethod = 1;
    profile.WPAEncryptionType = 2;
    SetTextField(profile.WPAPassphrase, "untouched");
    profile.WEPKeyFormat = 0;
    WLProfile before = profile;

    WepEntry entry;
    entry.Level = kWepLevel128;
    entry.DefaultKey = 2;
    entry.AuthenticationMode = 1;
    entry.Passphrase = std::string(300, 'p');
    entry.Keys = {"", "0123", std::string(26, 'C'), std::string(80, 'D')};
    StoreWepEntry(profile, entry);

    EXPECT_EQ(profile.WEPEncryptionLevel, kWepLevel128);
    EXPECT_EQ(profile.WEPKeyFormat, 1);
    EXPECT_EQ(profile.DefaultKey, 2);
    EXPECT_EQ(profile.AuthenticationMode, 1);
    EXPECT_EQ(TextField(profile.PassPhrase), std::string(256, 'p'));
    EXPECT_EQ(TextField(profile.WEPKey1), "");
    EXPECT_EQ(TextField(profile.WEPKey2), "0123");
    EXPECT_EQ(TextField(profile.WEPKey3), std::string(26, 'C'));
    EXPECT_EQ(TextField(profile.WEPKey4), std::string(58, 'D'));  // the field's width less NUL

    // Nothing but the WEP fields changed.
    WLProfile rest = profile;
    rest.WEPEncryptionLevel = before.WEPEncryptionLevel;
    rest.WEPKeyFormat = before.WEPKeyFormat;
    rest.DefaultKey = before.DefaultKey;
    rest.AuthenticationMode = before.AuthenticationMode;
    std::memcpy(rest.PassPhrase, before.PassPhrase, sizeof(rest.PassPhrase));
    for (auto field :
         {&WLProfile::WEPKey1, &WLProfile::WEPKey2, &WLProfile::WEPKey3, &WLProfile::WEPKey4})
        std::memcpy(rest.*field, before.*field, sizeof(rest.WEPKey1));
    EXPECT_EQ(std::memcmp(&rest, &before, sizeof(rest)), 0);
}

TEST(KeyRules, PassphraseIsTrimmedAndMustHoldEightToSixtyThreeCharacters) {
    struct Case {
        std::string typed;
        bool accepted;
        std::string stored;
    } cases[] = {
        {"  1234567  ", false, ""},  // 7 with blanks around
        {"\t12345678\r\n", true, "12345678"},
        {"12345678", true, "12345678"},
        {"1234 5678", true, "1234 5678"},  // inner blanks stay
        {std::string(63, 'x'), true, std::string(63, 'x')},
        {std::string(64, 'x'), false, ""},
        {" " + std::string(63, 'x') + " ", true, std::string(63, 'x')},
        {"", false, ""},
        {std::string(20, ' '), false, ""},
        {"\x01\x1F"
         "abcdefgh\x7F",
         true, "abcdefgh\x7F"},  // 127 is above 32
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PskPassphraseFits(TrimPskPassphrase(c.typed)), c.accepted) << c.typed;
        WLProfile profile;
        profile.NetworkMode = 1;
        SetTextField(profile.WPAPassphrase, "old");
        profile.WPAEncryptionType = 9;
        profile.AuthenticationMode = 2;
        EXPECT_EQ(StorePskEntry(profile, 2, c.typed), c.accepted) << c.typed;
        if (c.accepted) {
            EXPECT_EQ(TextField(profile.WPAPassphrase), c.stored);
            EXPECT_EQ(profile.WPAEncryptionType, 2);
            EXPECT_EQ(profile.AuthenticationMode, 4);
        } else {
            // refused: the profile as it was
            EXPECT_EQ(TextField(profile.WPAPassphrase), "old");
            EXPECT_EQ(profile.WPAEncryptionType, 9);
            EXPECT_EQ(profile.AuthenticationMode, 2);
        }
    }
    // WPA-None on anything but an infrastructure network.
    EXPECT_EQ(PskAuthenticationMode(1), 4);
    for (int32_t mode : {0, 2, -1}) EXPECT_EQ(PskAuthenticationMode(mode), 5) << mode;
    WLProfile adHoc;
    adHoc.NetworkMode = 0;
    ASSERT_TRUE(StorePskEntry(adHoc, 1, "adhoc-secret"));
    EXPECT_EQ(adHoc.AuthenticationMode, 5);
    EXPECT_EQ(adHoc.WPAEncryptionType, 1);
}

TEST(KeyRules, OnlyKeysThatReplaceTheWholeMaskedTextUnmaskIt) {
    struct Case {
        char key;
        size_t length;
        size_t selected;
        bool unmasks;
    } cases[] = {
        {'a', 10, 10, true},
        {'0', 10, 10, true},
        {' ', 10, 10, true},
        {'\xE9', 10, 10, true},  // an 8-bit character is typed as well
        {0x08, 10, 10, true},    // Backspace
        {0x16, 10, 10, true},    // Ctrl+V pastes over it
        {0x03, 10, 10, false},   // Ctrl+C would copy the secret in plain
        {0x18, 10, 10, false},   // Ctrl+X likewise
        {0x0D, 10, 10, false},   // Enter
        {0x1B, 10, 10, false},   // Esc
        {0x01, 10, 10, false},   // Ctrl+A
        {0x7F, 10, 10, false},   // Ctrl+Backspace
        // part of the text selected, or none: it stays masked
        {'a', 10, 9, false},
        {'a', 10, 0, false},
        {0x08, 10, 3, false},
        // an empty edit shows what is typed into it
        {'a', 0, 0, true},
        {0x03, 0, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnmaskOnKeyPress(c.key, c.length, c.selected), c.unmasks)
            << static_cast<int>(static_cast<unsigned char>(c.key)) << " " << c.length << " "
            << c.selected;
}
