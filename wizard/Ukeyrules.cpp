#include "Ukeyrules.h"

#include "../core/Ucommonstring.h"

namespace {

constexpr char kBackspace = 0x08;
constexpr char kCtrlV = 0x16;
constexpr char kDelete = 0x7F;  // Ctrl+Backspace

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

}  // namespace

int WepKeyLength(int32_t level) {
    return level == kWepLevel128 ? 26 : 10;
}

AnsiString FilterHexKey(const AnsiString& text, int maxLength) {
    AnsiString key = text;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (maxLength > 0 && static_cast<size_t>(maxLength) < key.size()) key.resize(maxLength);
    for (size_t i = 0; i < key.size(); ++i) {
        if (!IsHexDigit(key[i])) {
            key.resize(i);
            break;
        }
    }
    return key;
}

std::vector<WizardChoice> WepSizeChoices(const CCommonString& words) {
    return {{words.WEP_64, kWepLevel64}, {words.WEP_128, kWepLevel128}};
}

std::vector<WizardChoice> WepTxKeyChoices() {
    return {{"1", 0}, {"2", 1}, {"3", 2}, {"4", 3}};
}

std::vector<WizardChoice> WepAuthenChoices(const CCommonString& words) {
    return {{words.AuthModeOpen, 0}, {words.AuthModeShare, 1}, {words.AuthModeAuto, 2}};
}

std::vector<WizardChoice> PskCipherChoices(const CCommonString& words) {
    return {{words.WPA_TKIP, 1}, {words.WPA_AES, 2}};
}

std::vector<WizardChoice> ConnectSecurityChoices(const CCommonString& words, int32_t networkMode) {
    std::vector<WizardChoice> choices = {{words.Encrypt_WEP, 1}};
    if (networkMode == 1) choices.push_back({words.Encrypt_WPA_PSK, 2});
    return choices;
}

int FirstShortWepKey(const std::array<WepKeyEdit, kWepKeyCount>& edits) {
    for (int i = 0; i < kWepKeyCount; ++i) {
        const WepKeyEdit& edit = edits[i];
        if (edit.Visible && edit.MaxLength > 0 && edit.Length < static_cast<size_t>(edit.MaxLength))
            return i;
    }
    return -1;
}

std::array<AnsiString, kWepKeyCount> WepKeysFromOutput(const WEPKeyOutput& output) {
    std::array<AnsiString, kWepKeyCount> keys;
    for (int i = 0; i < kWepKeyCount; ++i) keys[i] = TextField(output.Key[i]);
    return keys;
}

void StoreWepEntry(WLProfile& profile, const WepEntry& entry) {
    profile.WEPEncryptionLevel = entry.Level;
    profile.WEPKeyFormat = 1;
    profile.DefaultKey = entry.DefaultKey;
    SetTextField(profile.PassPhrase, entry.Passphrase.substr(0, kWepPassphraseMax));
    char* const fields[kWepKeyCount] = {profile.WEPKey1, profile.WEPKey2, profile.WEPKey3,
                                        profile.WEPKey4};
    for (int i = 0; i < kWepKeyCount; ++i)
        SetTextField(fields[i], sizeof(profile.WEPKey1), entry.Keys[i]);
    profile.AuthenticationMode = entry.AuthenticationMode;
}

AnsiString TrimPskPassphrase(const AnsiString& typed) {
    size_t first = 0, last = typed.size();
    while (first < last && static_cast<unsigned char>(typed[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(typed[last - 1]) <= ' ') --last;
    return typed.substr(first, last - first);
}

bool PskPassphraseFits(const AnsiString& trimmed) {
    return trimmed.size() >= static_cast<size_t>(kPskPassphraseMin) &&
           trimmed.size() <= static_cast<size_t>(kPskPassphraseMax);
}

int32_t PskAuthenticationMode(int32_t networkMode) {
    return networkMode == 1 ? 4 : 5;
}

bool StorePskEntry(WLProfile& profile, int32_t cipher, const AnsiString& typed) {
    AnsiString trimmed = TrimPskPassphrase(typed);
    if (!PskPassphraseFits(trimmed)) return false;
    SetTextField(profile.WPAPassphrase, trimmed);
    profile.WPAEncryptionType = cipher;
    profile.AuthenticationMode = PskAuthenticationMode(profile.NetworkMode);
    return true;
}

TMaskedKey MaskedKeyAction(char key, size_t textLength, size_t selLength) {
    if (textLength == 0) return TMaskedKey::Unmask;
    if (selLength != textLength) return TMaskedKey::Keep;
    if (key == kCtrlV) return TMaskedKey::UnmaskIfPasted;
    if (key == kBackspace) return TMaskedKey::Unmask;
    bool printable = static_cast<unsigned char>(key) >= ' ' && key != kDelete;
    return printable ? TMaskedKey::Unmask : TMaskedKey::Keep;
}
