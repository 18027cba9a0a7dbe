// What the WEP and WPA-PSK pages and the quick connect dialog decide without a window: their
// lists, the key filter and key lengths, which key edit a forward leave refuses first, the
// passphrase rule, what a forward leave stores, and when a key press may show a masked entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../core/Uvyxwltypes.h"
#include "Uwizardrules.h"

class CCommonString;

// WEP key sizes, as WEPEncryptionLevel and the size code of VYXWL_PassphraseToWEPKey.
constexpr int32_t kWepLevel64 = 1;
constexpr int32_t kWepLevel128 = 2;
constexpr int kWepKeyCount = 4;
// The WEP page's passphrase edit takes 16 characters; a stored one is cut to the field's 256.
constexpr int kWepPassphraseEditLength = 16;
constexpr size_t kWepPassphraseMax = 256;
// WPA-PSK passphrases.
constexpr int kPskPassphraseMin = 8;
constexpr int kPskPassphraseMax = 63;

// Hexadecimal digits of a key: 26 for 128-bit, 10 for any other level.
int WepKeyLength(int32_t level);

// The key edits' filter: upper case, at most maxLength characters (when above 0), and cut at
// the first character that is not 0-9 or A-F.
AnsiString FilterHexKey(const AnsiString& text, int maxLength);

// The WEP page's lists: key size, transmit key ("1" to "4" for keys 0 to 3), authentication.
std::vector<WizardChoice> WepSizeChoices(const CCommonString& words);
std::vector<WizardChoice> WepTxKeyChoices();
std::vector<WizardChoice> WepAuthenChoices(const CCommonString& words);
// The WPA-PSK page's cipher list: TKIP, AES.
std::vector<WizardChoice> PskCipherChoices(const CCommonString& words);
// The quick connect dialog's security types: WEP, and WPA-PSK on an infrastructure network.
std::vector<WizardChoice> ConnectSecurityChoices(const CCommonString& words, int32_t networkMode);

// A key edit as a forward leave sees it.
struct WepKeyEdit {
    bool Visible = false;
    size_t Length = 0;
    int MaxLength = 0;
};
// The first visible key edit whose text is shorter than its MaxLength, in order 1 to 4; -1
// when there is none.
int FirstShortWepKey(const std::array<WepKeyEdit, kWepKeyCount>& edits);

// The four keys of VYXWL_PassphraseToWEPKey's record, each read no further than its field:
// the library need not end them with a NUL.
std::array<AnsiString, kWepKeyCount> WepKeysFromOutput(const WEPKeyOutput& output);

// What the WEP page stores on a forward leave.
struct WepEntry {
    int32_t Level = kWepLevel64;
    int32_t DefaultKey = 0;
    int32_t AuthenticationMode = 2;
    AnsiString Passphrase;
    std::array<AnsiString, kWepKeyCount> Keys;
};
// The WEP fields of profile from entry (key format always 1); nothing else is touched.
void StoreWepEntry(WLProfile& profile, const WepEntry& entry);

// Blanks and control characters (codes 32 and below) gone from both ends.
AnsiString TrimPskPassphrase(const AnsiString& typed);
// 8 to 63 characters.
bool PskPassphraseFits(const AnsiString& trimmed);
// Authentication of a pre-shared key: WPA-PSK (4) on an infrastructure network, WPA-None (5)
// on any other.
int32_t PskAuthenticationMode(int32_t networkMode);
// What the WPA-PSK page stores on a forward leave of the typed passphrase; false, with the
// profile untouched, when the trimmed passphrase does not fit.
bool StorePskEntry(WLProfile& profile, int32_t cipher, const AnsiString& typed);

// What a key pressed in a masked passphrase or key edit does to the mask. A printable character
// or Backspace over the whole text replaces it and shows in plain; Ctrl+V over the whole text
// shows in plain only once the paste has replaced it (an empty clipboard pastes nothing, and
// the stored secret would stay in view). Ctrl+C and Ctrl+X (which would put the stored secret
// on the clipboard), Enter, Esc and the other control keys, and any key over a part of the
// text, leave it masked. An empty edit always shows what comes.
enum class TMaskedKey { Keep, Unmask, UnmaskIfPasted };
TMaskedKey MaskedKeyAction(char key, size_t textLength, size_t selLength);
