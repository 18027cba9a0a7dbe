// The profile page's rules: detail words, the list's order, its buttons, the checks of a profile
// name and the name prompt's questions, the name read from a profile file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "monitor/Uprofilelogic.h"

namespace {

WLProfile Profile(int32_t mode, int32_t channel, int32_t method, int32_t wepLevel = 0,
                  int32_t auth = 0, int32_t cipher = 0, int32_t eap = 0) {
    WLProfile p{};
    p.NetworkMode = mode;
    p.Channel = channel;
    p.EncryptionMethod = method;
    p.WEPEncryptionLevel = wepLevel;
    p.AuthenticationMode = auth;
    p.WPAEncryptionType = cipher;
    p.MS8021xAuthMode = eap;
    return p;
}

TTextReader Reader(const std::map<std::string, std::string>& file) {
    return [file](const AnsiString& key, const AnsiString& def) {
        auto it = file.find(key);
        return it == file.end() ? def : AnsiString(it->second);
    };
}

const ProfilePageTexts& English() {
    static const ProfilePageTexts texts = LoadProfilePageTexts(Reader({}), Reader({}));
    return texts;
}

}  // namespace

TEST(ProfileDetails, WordsByModeChannelSecurityAndMethodGroup) {
    struct Case {
        WLProfile profile;
        const char* mode;
        const char* channel;
        const char* security;
        const char* authen;
    } cases[] = {
        // The access point chooses an infrastructure network's channel.
        {Profile(1, 6, 0, 0, 0), "Infrastructure", "Auto", "Disabled", "Open"},
        {Profile(0, 11, 0, 0, 1), "Ad-Hoc", "11", "Disabled", "Shared"},
        {Profile(0, 0, 0, 0, 2), "Ad-Hoc", "Auto", "Disabled", "Auto Switch"},
        {Profile(2, 36, 0, 0, 7), "Ad-Hoc", "36", "Disabled", "Auto Switch"},
        {Profile(1, 0, 1, 1, 0), "Infrastructure", "Auto", "WEP(64-bit)", "Open"},
        {Profile(1, 0, 1, 2, 1), "Infrastructure", "Auto", "WEP(128-bit)", "Shared"},
        {Profile(0, 3, 1, 3, 2), "Ad-Hoc", "3", "WEP(152-bit)", "Auto Switch"},
        {Profile(1, 0, 1, 0, 0), "Infrastructure", "Auto", "WEP", "Open"},
        {Profile(1, 0, 1, 4, 0), "Infrastructure", "Auto", "WEP", "Open"},
        {Profile(1, 0, 2, 0, 0, 1), "Infrastructure", "Auto", "WPA-PSK", "TKIP"},
        {Profile(1, 0, 6, 0, 0, 2), "Infrastructure", "Auto", "WPA2-PSK", "AES"},
        {Profile(1, 0, 2, 0, 0, 3), "Infrastructure", "Auto", "WPA-PSK", ""},
        {Profile(1, 0, 3, 0, 0, 1, 1), "Infrastructure", "Auto", "WPA", "TLS"},
        {Profile(1, 0, 4, 0, 0, 0, 2), "Infrastructure", "Auto", "RADIUS", "TTLS"},
        {Profile(1, 0, 7, 0, 0, 2, 3), "Infrastructure", "Auto", "WPA2", "PEAP"},
        {Profile(1, 0, 3, 0, 0, 0, 4), "Infrastructure", "Auto", "WPA", ""},
        {Profile(1, 0, 5, 0, 0, 0, 1), "Infrastructure", "Auto", "LEAP", ""},
        {Profile(1, 0, 8, 0, 0, 1, 1), "Infrastructure", "Auto", "", ""},
        {Profile(1, 0, -1, 0, 0, 1, 1), "Infrastructure", "Auto", "", ""},
    };
    CCommonString words;
    for (const Case& c : cases) {
        ProfileDetails d = DescribeProfile(c.profile, words);
        SCOPED_TRACE(std::string(c.security) + "/" + c.authen);
        EXPECT_EQ(d.WlMode, c.mode);
        EXPECT_EQ(d.TxRate, "Auto");
        EXPECT_EQ(d.Channel, c.channel);
        EXPECT_EQ(d.Security, c.security);
        EXPECT_EQ(d.Authen, c.authen);
    }
}

TEST(ProfileDetails, TranslatedWordsAreUsedByTheirOwnKeys) {
    CCommonString words;
    words.Encrypt_WEP = "Wep";
    words.WEP_128 = "128 Bit";
    words.Auto = "Automatisch";
    words.PreambleAuto = "unused";
    words.AuthModeAuto = "Wechsel";
    words.asAdHoc = "Direkt";
    ProfileDetails d = DescribeProfile(Profile(0, 0, 1, 2, 5), words);
    EXPECT_EQ(d.WlMode, "Direkt");
    EXPECT_EQ(d.TxRate, "Automatisch");
    EXPECT_EQ(d.Channel, "Automatisch");
    EXPECT_EQ(d.Security, "Wep(128 Bit)");
    EXPECT_EQ(d.Authen, "Wechsel");
    // An emptied key length word still shows its brackets: the level is known.
    words.WEP_64 = "";
    EXPECT_EQ(DescribeProfile(Profile(1, 0, 1, 1), words).Security, "Wep()");
}

TEST(ProfileNames, CaseOfAToZAloneIsIgnored) {
    EXPECT_EQ(CompareText("Office", "oFFICE"), 0);
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("Off", "office"), 0);
    EXPECT_GT(CompareText("office", "Off"), 0);
    EXPECT_EQ(CompareText("", ""), 0);
    // Bytes above 127 are not letters here: the registry of an ANSI program may fold them
    // otherwise, so they never count as the same.
    EXPECT_NE(CompareText("Caf\xE9", "CAF\xC9"), 0);
    EXPECT_NE(CompareText("a[", "A{"), 0);

    std::vector<WLProfile> stored(2);
    SetTextField(stored[0].ProfileName, "Home");
    SetTextField(stored[1].ProfileName, "Office");
    EXPECT_TRUE(ProfileNameInList("OFFICE", stored));
    EXPECT_TRUE(ProfileNameInList("home", stored));
    EXPECT_FALSE(ProfileNameInList("Offic", stored));
    EXPECT_FALSE(ProfileNameInList("", stored));
}

TEST(ProfileNames, ChecksInTheirOrder) {
    const std::string longest(kMaxProfileNameLength, 'n');
    auto exists = [](const AnsiString& n) { return SameProfileName(n, "Office"); };
    struct Case {
        std::string name;
        ProfileNameCheck check;
    } cases[] = {
        {"", ProfileNameCheck::Empty},
        {"(EditingProfile)", ProfileNameCheck::Reserved},
        {"(editingprofile)", ProfileNameCheck::Reserved},  // the same key in the store
        {longest, ProfileNameCheck::Ok},
        {longest + "n", ProfileNameCheck::TooLong},
        {longest + "\\", ProfileNameCheck::TooLong},
        {"Home\\Office", ProfileNameCheck::Backslash},
        {"\\", ProfileNameCheck::Backslash},
        {"office", ProfileNameCheck::Exists},
        {"Office", ProfileNameCheck::Exists},
        {"Office 2", ProfileNameCheck::Ok},
        {"Home/Office", ProfileNameCheck::Ok},
        // The library would take these only up to the NUL: another name than the one checked.
        {std::string("Office\0x", 8), ProfileNameCheck::ControlByte},
        {std::string("\0Office", 7), ProfileNameCheck::ControlByte},
        {std::string(1, '\0'), ProfileNameCheck::ControlByte},
        {longest.substr(1) + '\0', ProfileNameCheck::ControlByte},
        {longest + '\0', ProfileNameCheck::TooLong},
        {"Home\tOffice", ProfileNameCheck::ControlByte},
        {"Home\x1F", ProfileNameCheck::ControlByte},
        {"Home\x7F", ProfileNameCheck::ControlByte},
        {"Home~ \x80"
         "Caf\xE9\xFF",
         ProfileNameCheck::Ok},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckProfileName(c.name, exists), c.check) << c.name;
        ProfileNameCheck without =
            c.check == ProfileNameCheck::Exists ? ProfileNameCheck::Ok : c.check;
        EXPECT_EQ(CheckProfileName(c.name, nullptr), without) << c.name;
    }
}

TEST(ProfileList, DefaultFirstThenByColumnInEitherDirection) {
    const std::vector<ProfileRowKey> rows = {
        {"cafe", "Zeta"}, {"Office", "alpha"}, {"Default", "ANY"}, {"Beach", "Mid"}, {"attic", ""}};
    auto order = [&](int column, int direction, const char* def) {
        std::vector<ProfileRowKey> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const ProfileRowKey& a, const ProfileRowKey& b) {
                             return CompareProfileRows(a, b, column, direction, def) < 0;
                         });
        std::vector<std::string> names;
        for (const ProfileRowKey& r : sorted) names.push_back(r.Name);
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(order(kSortByName, 1, "Default"),
              (Names{"Default", "attic", "Beach", "cafe", "Office"}));
    EXPECT_EQ(order(kSortByName, -1, "Default"),
              (Names{"Default", "Office", "cafe", "Beach", "attic"}));
    EXPECT_EQ(order(kSortBySsid, 1, "Default"),
              (Names{"Default", "attic", "Office", "Beach", "cafe"}));
    EXPECT_EQ(order(kSortBySsid, -1, "Default"),
              (Names{"Default", "cafe", "Beach", "Office", "attic"}));
    // Any column but the SSID's sorts by name; the default name is one of the store's.
    EXPECT_EQ(order(3, 1, "OFFICE"), (Names{"Office", "attic", "Beach", "cafe", "Default"}));
    EXPECT_EQ(order(kSortByName, 1, ""), (Names{"attic", "Beach", "cafe", "Default", "Office"}));
}

TEST(ProfileList, TheOrderIsStrictAndWeakForEveryColumnAndDirection) {
    const std::vector<ProfileRowKey> rows = {{"Default", "x"}, {"default", "y"}, {"B", "x"},
                                             {"b", "X"},       {"a", "z"},       {"C", ""}};
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (int column : {kSortByName, kSortBySsid}) {
        for (int direction : {1, -1}) {
            auto cmp = [&](const ProfileRowKey& a, const ProfileRowKey& b) {
                return CompareProfileRows(a, b, column, direction, "Default");
            };
            for (const ProfileRowKey& a : rows) {
                EXPECT_EQ(cmp(a, a), 0) << a.Name;
                for (const ProfileRowKey& b : rows) {
                    EXPECT_EQ(sign(cmp(a, b)), -sign(cmp(b, a))) << a.Name << " " << b.Name;
                    for (const ProfileRowKey& c : rows) {
                        if (cmp(a, b) < 0 && cmp(b, c) < 0) {
                            EXPECT_LT(cmp(a, c), 0) << a.Name << b.Name << c.Name;
                        }
                        if (cmp(a, b) == 0 && cmp(b, c) == 0) {
                            EXPECT_EQ(cmp(a, c), 0) << a.Name << b.Name << c.Name;
                        }
                    }
                }
            }
        }
    }
}

TEST(ProfileList, HeaderClicksReverseTheirColumnAndKeepTheDirectionForTheOther) {
    int column = kSortByName, direction = kSortAscending;
    const std::vector<std::pair<int, std::pair<int, int>>> clicks = {
        {kSortByName, {kSortByName, -1}}, {kSortBySsid, {kSortBySsid, -1}},
        {kSortBySsid, {kSortBySsid, 1}},  {kSortByName, {kSortByName, 1}},
        {kSortByName, {kSortByName, -1}}, {kSortByName, {kSortByName, 1}}};
    for (const auto& click : clicks) {
        SortHeaderClicked(click.first, column, direction);
        EXPECT_EQ(column, click.second.first);
        EXPECT_EQ(direction, click.second.second);
    }
}

TEST(ProfileList, ButtonsFollowAdapterControlAndSelection) {
    struct Case {
        bool attached, controlOn, selected, isDefault;
        const char* enabled;  // N new, I import, C connect, E edit, X export, D delete
    } cases[] = {
        {false, true, true, false, ""},    {true, false, true, false, ""},
        {true, true, false, false, "NI"},  {true, true, true, false, "NICEXD"},
        {true, true, true, true, "NICEX"}, {false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        ProfileButtons b = ProfileButtonsFor(c.attached, c.controlOn, c.selected, c.isDefault);
        std::string on;
        if (b.New) on += 'N';
        if (b.Import) on += 'I';
        if (b.Connect) on += 'C';
        if (b.Edit) on += 'E';
        if (b.Export) on += 'X';
        if (b.Delete) on += 'D';
        EXPECT_EQ(on, c.enabled) << c.attached << c.controlOn << c.selected << c.isDefault;
    }
}

TEST(ProfilePageTexts, BuiltInEnglishAndTheStringFilesOwn) {
    const ProfilePageTexts& e = English();
    EXPECT_EQ(e.AskProfNameCaption, "Create connection profile");
    EXPECT_EQ(e.AskProfNamePrompt, "Enter a name for the new profile:");
    EXPECT_EQ(e.ProfNameUseBySystem, "Enter a name for the new profile:");
    EXPECT_EQ(e.ProfNameExists, "A profile with given name already exists.\nReplace it?");
    EXPECT_EQ(e.PromptReProfile, "A profile with the name \"%s\" already exists. Replace it?");
    EXPECT_NE(e.ErImportProfile.find("%s"), std::string::npos);
    EXPECT_NE(e.ErDeleteProfile.find("%s"), std::string::npos);

    ProfilePageTexts t = LoadProfilePageTexts(
        Reader({{"PromptReProfile", "Ersetzen %s?"}, {"ErImportProfile", "wrong section"}}),
        Reader({{"ErDeleteProfile", "Nicht geloescht: %s"}}));
    EXPECT_EQ(t.PromptReProfile, "Ersetzen %s?");
    EXPECT_EQ(t.ErDeleteProfile, "Nicht geloescht: %s");
    EXPECT_EQ(t.ErImportProfile, e.ErImportProfile);
    EXPECT_EQ(t.AskProfNameCaption, e.AskProfNameCaption);
}

namespace {

// A scripted use of the prompt: what the user types (a leading '!' cancels instead), how the
// questions are answered, and when the caller stops wanting the name.
struct PromptScript {
    PromptScript(std::vector<std::string> typedTexts, std::vector<int> answersGiven,
                 int wanted = 1000)
        : typed(std::move(typedTexts)), answers(std::move(answersGiven)), wantedFor(wanted) {}

    std::vector<std::string> typed;
    std::vector<int> answers;
    int wantedFor;  // the caller's test answers true this many times

    std::vector<std::string> messages;
    int asked = 0;

    bool Run(AnsiString& name) {
        size_t answer = 0;
        ProfileNamePrompt prompt;
        prompt.Texts = &English();
        prompt.Ask = [&](AnsiString& input) {
            if (static_cast<size_t>(asked) >= typed.size()) return false;
            const std::string& t = typed[static_cast<size_t>(asked++)];
            if (!t.empty() && t[0] == '!') return false;
            input = t;
            return true;
        };
        prompt.Message = [&](int flags, const AnsiString& text) {
            messages.push_back(std::to_string(flags) + " " + text);
            return answer < answers.size() ? answers[answer++] : kAnswerOk;
        };
        prompt.Exists = [](const AnsiString& n) { return SameProfileName(n, "Office"); };
        prompt.StillWanted = [&] { return wantedFor-- > 0; };
        return RunProfileNamePrompt(prompt, name);
    }
};

}  // namespace

TEST(ProfileNamePrompt, AsksUntilANameIsUsableOrTheUserGivesUp) {
    const std::string reserved = "48 Enter a name for the new profile:";
    const std::string unusable = "48 " + English().ErProfileName;
    const std::string exists = "36 A profile with given name already exists.\nReplace it?";
    struct Case {
        const char* what;
        PromptScript script;
        bool result;
        const char* name;
        int asked;
        std::vector<std::string> messages;
    } cases[] = {
        {"new name", {{"Home"}, {}}, true, "Home", 1, {}},
        {"cancel", {{"!"}, {}}, false, "", 1, {}},
        {"empty asks again silently", {{"", "", "Home"}, {}}, true, "Home", 3, {}},
        {"reserved", {{"(EditingProfile)", "Home"}, {}}, true, "Home", 2, {reserved}},
        {"backslash", {{"a\\b", "!"}, {}}, false, "", 2, {unusable}},
        {"too long", {{std::string(65, 'x'), "ok"}, {}}, true, "ok", 2, {unusable}},
        {"control byte", {{"a\tb", "ok"}, {}}, true, "ok", 2, {unusable}},
        {"exists, Yes", {{"office"}, {kAnswerYes}}, true, "office", 1, {exists}},
        {"exists, No asks again", {{"Office", "Home"}, {kAnswerNo}}, true, "Home", 2, {exists}},
        {"exists, closed", {{"Office", "Home"}, {2}}, false, "", 1, {exists}},
        {"exists, No, then cancel", {{"Office", "!"}, {kAnswerNo}}, false, "", 2, {exists}},
        // The adapter went while the prompt or a question ran: nothing more is asked.
        {"gone during the prompt", {{"Home"}, {}, 0}, false, "", 1, {}},
        {"gone during the question", {{"Office", "Home"}, {kAnswerYes}, 1}, false, "", 1, {exists}},
        {"gone after the message", {{"(EditingProfile)", "Home"}, {}, 1}, false, "", 1, {reserved}},
    };
    for (Case& c : cases) {
        AnsiString name;
        EXPECT_EQ(c.script.Run(name), c.result) << c.what;
        EXPECT_EQ(name, c.name) << c.what;
        EXPECT_EQ(c.script.asked, c.asked) << c.what;
        EXPECT_EQ(c.script.messages, c.messages) << c.what;
    }
}

TEST(ProfileImport, NameFromTheFileIsCheckedBeforeItIsUsed) {
    std::map<std::string, std::string> names = {
        {"a.qjw", "Office"},
        {"empty.qjw", ""},
        {"reserved.qjw", "(EditingProfile)"},
        {"long.qjw", std::string(65, 'L')},
        {"slash.qjw", "..\\..\\Run"},
        {"nul.qjw", std::string("Default\0x", 9)},  // what "hex:44656661756C740078" reads as
    };
    std::vector<std::string> asked;
    IniListReader read = [&](const AnsiString& file, const AnsiString& section,
                             const AnsiString& item, const AnsiString& def) -> AnsiString {
        asked.push_back(section + "/" + item + "/" + def);
        auto it = names.find(file);
        return it == names.end() ? def : AnsiString(it->second);
    };
    struct Case {
        const char* file;
        ProfileNameCheck check;
    } cases[] = {
        {"a.qjw", ProfileNameCheck::Ok},           {"missing.qjw", ProfileNameCheck::Empty},
        {"empty.qjw", ProfileNameCheck::Empty},    {"reserved.qjw", ProfileNameCheck::Reserved},
        {"long.qjw", ProfileNameCheck::TooLong},   {"slash.qjw", ProfileNameCheck::Backslash},
        {"nul.qjw", ProfileNameCheck::ControlByte}};
    for (const Case& c : cases) {
        ImportName n = ReadImportName(c.file, read);
        EXPECT_EQ(n.Check, c.check) << c.file;
        EXPECT_EQ(n.Name, names.count(c.file) ? names[c.file] : "") << c.file;
    }
    EXPECT_EQ(asked.front(), "WLANProfile/ProfileName/");
    EXPECT_EQ(ImportSkippedLine("C:\\p\\slash.qjw", ReadImportName("slash.qjw", read)),
              "import skipped C:\\p\\slash.qjw: a backslash in the profile name \"..\\..\\Run\"");
    EXPECT_EQ(ImportSkippedLine("e.qjw", ReadImportName("empty.qjw", read)),
              "import skipped e.qjw: no profile name \"\"");
    EXPECT_EQ(ImportSkippedLine("n.qjw", ReadImportName("nul.qjw", read)),
              "import skipped n.qjw: a control character in the profile name \"Default\\x00x\"");
}
