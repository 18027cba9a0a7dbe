// What the profile page decides without a window: the words of a profile's details, the order
// of the list with the default profile first, which buttons a state enables, the checks of a
// profile name typed into the prompt or read from a profile file, and the prompt's loop of
// questions. The link information page's own name prompt uses the same checks and loop, tested
// against the worker's list instead of the page's rows.
//
// The driver library keeps profiles as registry keys, where letter case does not count: every
// name compared with a stored one ignores the case of A to Z.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../classlib/Classes.h"
#include "../core/Ucommonstring.h"
#include "../core/Uprofile.h"
#include "../core/Uvyxwltypes.h"

// A stored profile of that name, case ignored (the worker's list, for the link page's prompt).
bool ProfileNameInList(const AnsiString& name, const std::vector<WLProfile>& profiles);

// The five detail labels of the selected profile.
struct ProfileDetails {
    AnsiString WlMode;
    AnsiString TxRate;
    AnsiString Channel;
    AnsiString Security;
    AnsiString Authen;
};
ProfileDetails DescribeProfile(const WLProfile& profile, const CCommonString& words);

// Sort keys of the list: by name (the page's start) or by SSID; directions 1 and -1.
constexpr int kSortByName = 5;
constexpr int kSortBySsid = 1;
constexpr int kSortAscending = 1;

struct ProfileRowKey {
    AnsiString Name;
    AnsiString Ssid;
};

// The list's order, negative when a goes first: the default profile first in either direction,
// then by the sort column's text times the direction. A strict weak order: a row compares
// equal to itself, the default one too.
int CompareProfileRows(const ProfileRowKey& a, const ProfileRowKey& b, int sortColumn,
                       int direction, const AnsiString& defaultName);
// A click on a column header: the current column reverses the direction, another one takes its
// place and keeps it.
void SortHeaderClicked(int column, int& sortColumn, int& direction);

// What the page's buttons show as enabled.
struct ProfileButtons {
    bool New = false;
    bool Import = false;
    bool Connect = false;
    bool Edit = false;
    bool Export = false;
    bool Delete = false;
};
// controlOn: the program controls the adapter. The default profile is never deleted.
ProfileButtons ProfileButtonsFor(bool attached, bool controlOn, bool selected,
                                 bool selectedIsDefault);

// Message flags (the system message box's values) and answers.
constexpr int kMsgOk = 0x00;
constexpr int kMsgOkCancel = 0x01;
constexpr int kMsgYesNo = 0x04;
constexpr int kMsgStop = 0x10;
constexpr int kMsgQuestion = 0x20;
constexpr int kMsgExclamation = 0x30;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// The texts of the page: section "FrameProfile", and "ErMsg" for what goes wrong.
struct ProfilePageTexts {
    AnsiString AskProfNameCaption;
    AnsiString AskProfNamePrompt;
    AnsiString ProfNameUseBySystem;
    AnsiString ProfNameExists;
    AnsiString PromptReProfile;  // its first "%s" is the name; never a format
    AnsiString ErProfileName;    // a name too long, with a backslash or a control character
    AnsiString ErImportProfile;  // "%s": the name
    AnsiString ErDeleteProfile;  // "%s": the name
    AnsiString ErUseProfile;     // "%s": the name of a profile that is not ProfileIsUsable
};
// [ErMsg] "ErUseProfile" in English; the wizard's finish page says it too.
constexpr char kUnusableProfileText[] =
    "The profile \"%s\" holds settings that cannot be used. It was not applied.";
ProfilePageTexts LoadProfilePageTexts(const TTextReader& frameProfile, const TTextReader& erMsg);

// One use of the name prompt: its dialog, the message dialog, the store and the caller's own
// test whether it can still go on after each modal run (an adapter may have gone meanwhile).
struct ProfileNamePrompt {
    // Runs the prompt once; false when it was not answered with OK. name: the trimmed input.
    std::function<bool(AnsiString& name)> Ask;
    std::function<int(int flags, const AnsiString& text)> Message;
    ProfileNameExists Exists;
    std::function<bool()> StillWanted;  // none: always
    const ProfilePageTexts* Texts = nullptr;
};
// Asks until a usable name is typed: an empty one asks again, a reserved or unusable one is
// told and asks again, an existing one asks whether to replace it (No asks again). True with
// the name when it is to be used.
bool RunProfileNamePrompt(const ProfileNamePrompt& prompt, AnsiString& name);

// Reads one value of a numbered item list of an INI file: (file, section, item, default).
using IniListReader = std::function<AnsiString(const AnsiString& file, const AnsiString& section,
                                               const AnsiString& item, const AnsiString& def)>;
struct ImportName {
    AnsiString Name;
    ProfileNameCheck Check = ProfileNameCheck::Empty;  // never Exists
};
// The profile name a profile file gives (section "WLANProfile", item "ProfileName"), checked.
ImportName ReadImportName(const AnsiString& file, const IniListReader& read);
// The debug log's line for a file skipped for its name.
AnsiString ImportSkippedLine(const AnsiString& file, const ImportName& name);
