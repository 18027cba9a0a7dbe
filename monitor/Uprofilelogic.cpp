#include "Uprofilelogic.h"

#include "../core/Uprofile.h"

namespace {

// The key length word of a WEP level; false for a level without one.
bool KeyLengthWord(int32_t level, const CCommonString& words, AnsiString& word) {
    switch (level) {
        case 1:
            word = words.WEP_64;
            return true;
        case 2:
            word = words.WEP_128;
            return true;
        case 3:
            word = words.WEP_152;
            return true;
        default:
            return false;
    }
}

// The word table's word of the kind, WEP with its key length.
AnsiString SecurityWord(const WLProfile& p, const CCommonString& words) {
    AnsiString level;
    if (p.EncryptionMethod == 1 && KeyLengthWord(p.WEPEncryptionLevel, words, level))
        return words.Encrypt_WEP + "(" + level + ")";
    return ::SecurityWord(words, p.EncryptionMethod);
}

}  // namespace

bool ProfileNameInList(const AnsiString& name, const std::vector<WLProfile>& profiles) {
    for (const WLProfile& p : profiles)
        if (SameProfileName(TextField(p.ProfileName), name)) return true;
    return false;
}

ProfileDetails DescribeProfile(const WLProfile& p, const CCommonString& words) {
    ProfileDetails d;
    d.WlMode = p.NetworkMode == 1 ? words.Infrastructure : words.asAdHoc;
    d.TxRate = words.Auto;
    // An infrastructure network's access point chooses the channel.
    d.Channel = p.Channel != 0 && p.NetworkMode != 1 ? std::to_string(p.Channel) : words.Auto;
    d.Security = SecurityWord(p, words);
    d.Authen = AuthenWord(words, p);
    return d;
}

int CompareProfileRows(const ProfileRowKey& a, const ProfileRowKey& b, int sortColumn,
                       int direction, const AnsiString& defaultName) {
    bool aDefault = SameProfileName(a.Name, defaultName);
    bool bDefault = SameProfileName(b.Name, defaultName);
    if (aDefault != bDefault) return aDefault ? -1 : 1;
    if (aDefault) return 0;
    int result =
        sortColumn == kSortBySsid ? CompareText(a.Ssid, b.Ssid) : CompareText(a.Name, b.Name);
    int sign = (result > 0) - (result < 0);
    return direction < 0 ? -sign : sign;
}

void SortHeaderClicked(int column, int& sortColumn, int& direction) {
    if (sortColumn == column) {
        direction = -direction;
    } else {
        sortColumn = column;
    }
}

ProfileButtons ProfileButtonsFor(bool attached, bool controlOn, bool selected,
                                 bool selectedIsDefault) {
    ProfileButtons b;
    if (!attached || !controlOn) return b;
    b.New = b.Import = true;
    b.Connect = b.Edit = b.Export = selected;
    b.Delete = selected && !selectedIsDefault;
    return b;
}

ProfilePageTexts LoadProfilePageTexts(const TTextReader& frameProfile, const TTextReader& erMsg) {
    ProfilePageTexts t;
    t.AskProfNameCaption = frameProfile("AskProfNameCaption", "Create connection profile");
    t.AskProfNamePrompt = frameProfile("AskProfNamePrompt", "Enter a name for the new profile:");
    t.ProfNameUseBySystem =
        frameProfile("ProfNameUseBySystem", "Enter a name for the new profile:");
    t.ProfNameExists =
        frameProfile("ProfNameExists", "A profile with given name already exists.\nReplace it?");
    t.PromptReProfile = frameProfile("PromptReProfile",
                                     "A profile with the name \"%s\" already exists. Replace it?");
    t.ErProfileName = erMsg("ErProfileName",
                            "A profile name holds at most 64 characters, no backslash and "
                            "no control character.");
    t.ErImportProfile = erMsg("ErImportProfile", "The profile \"%s\" could not be imported.");
    t.ErDeleteProfile = erMsg("ErDeleteProfile", "The profile \"%s\" could not be deleted.");
    t.ErUseProfile = erMsg("ErUseProfile", kUnusableProfileText);
    return t;
}

bool RunProfileNamePrompt(const ProfileNamePrompt& prompt, AnsiString& name) {
    auto stillWanted = [&prompt] { return !prompt.StillWanted || prompt.StillWanted(); };
    const ProfilePageTexts& texts = *prompt.Texts;
    for (;;) {
        AnsiString typed;
        if (!prompt.Ask(typed) || !stillWanted()) return false;
        int answer = 0;
        switch (CheckProfileName(typed, prompt.Exists)) {
            case ProfileNameCheck::Ok:
                name = typed;
                return true;
            case ProfileNameCheck::Empty:
                continue;
            case ProfileNameCheck::Reserved:
                prompt.Message(kMsgExclamation | kMsgOk, texts.ProfNameUseBySystem);
                break;
            case ProfileNameCheck::TooLong:
            case ProfileNameCheck::Backslash:
            case ProfileNameCheck::ControlByte:
                prompt.Message(kMsgExclamation | kMsgOk, texts.ErProfileName);
                break;
            case ProfileNameCheck::Exists:
                answer = prompt.Message(kMsgQuestion | kMsgYesNo, texts.ProfNameExists);
                if (answer == kAnswerNo) break;
                if (answer != kAnswerYes || !stillWanted()) return false;
                name = typed;
                return true;
        }
        if (!stillWanted()) return false;
    }
}

ImportName ReadImportName(const AnsiString& file, const IniListReader& read) {
    ImportName result;
    result.Name = read(file, "WLANProfile", "ProfileName", "");
    result.Check = CheckProfileName(result.Name, nullptr);
    return result;
}

AnsiString ImportSkippedLine(const AnsiString& file, const ImportName& name) {
    return "import skipped " + file + ": " + ProfileNameFault(name.Check) + " \"" +
           LoggedProfileName(name.Name) + "\"";
}
