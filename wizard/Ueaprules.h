// What the wizard's 802.1x pages (WPA and RADIUS) decide without a window: their lists, where
// each EAP type puts the controls, the certificate items, the checks of a forward leave in their
// order, and what that leave stores in the profile.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../core/Uvyxwltypes.h"
#include "Uwizardrules.h"

class CCommonString;

// EAP types, as MS8021xAuthMode numbers them.
constexpr int32_t kEapTLS = 1;
constexpr int32_t kEapTTLS = 2;
constexpr int32_t kEapPEAP = 3;
// Certificate kinds of CAdapter::GetCertificates.
constexpr int32_t kCertClient = 1;
constexpr int32_t kCertAuthority = 3;
// PeapEap: the one inner method offered.
constexpr int32_t kPeapMsChapV2 = 2;
// WPAEncryptionType.
constexpr int32_t kCipherTKIP = 1;
constexpr int32_t kCipherAES = 2;
// AuthenticationMode the WPA page stores: WPA in the 802.11 authentication numbering.
constexpr int32_t kAuthModeWPA = 3;
// The login, password and domain edits.
constexpr int kEapEditMaxLength = 255;

std::vector<WizardChoice> EapTypeChoices(const CCommonString& words);
std::vector<WizardChoice> EapInnerChoices(const CCommonString& words);
std::vector<WizardChoice> EapCipherChoices(const CCommonString& words);

// The page's controls whose place the EAP type decides.
enum EapControl {
    kEapAuthen,
    kEapName,
    kEapPasswd,
    kEapServer,
    kEapCert,
    kEapInner,
    kEapEncry,  // the WPA page's only
    kEapControlCount
};
struct EapLayout {
    std::array<int32_t, kEapControlCount> Top{};
    std::array<bool, kEapControlCount> Shown{};
};
// Every control stands at left 119.
constexpr int32_t kEapControlLeft = 119;
// The places for an EAP type on the WPA page (wpaPage) or the RADIUS page: TLS hides the
// password and the inner method, PEAP shows every control; the RADIUS page has no cipher.
// Hidden controls keep their PEAP places. Any other type lays out as TLS.
EapLayout EapPageLayout(bool wpaPage, int32_t eapType);

// The certificate list an EAP type offers: client certificates for TLS, certificate
// authorities (after "Trust Any") for TTLS and PEAP; 0 for none.
int32_t CertificateKindFor(int32_t eapType);

// One item of the certificate list: its text and the entry it refers to (none for
// "Trust Any").
struct CertificateItem {
    AnsiString Text;
    const CertificateEntry* Entry = nullptr;
};
// The items for an EAP type; they refer into clients or authorities, which must outlive them.
// A client certificate reads "name [issuer]", an authority its name alone; a field without
// its NUL is read no further than its width.
std::vector<CertificateItem> CertificateItems(const CCommonString& words, int32_t eapType,
                                              const std::vector<CertificateEntry>& clients,
                                              const std::vector<CertificateEntry>& authorities);

// What the certificate list selects when a page is entered, by the EAP type selected there
// (a stored type the list lacks falls back to TLS, and must not pick a certificate through
// the fields of the type stored).
struct StoredCertificate {
    bool Look = false;  // select the item of Name and Issuer
    AnsiString Name;
    AnsiString Issuer;
    bool FirstWhenMissing = false;  // "Trust Any" when the stored one is not listed
};
StoredCertificate StoredCertificateFor(const WLProfile& profile, int32_t selectedType);

// The checks of a forward leave, in the order they are made; the first that fails is told.
enum class EapCheck { Passed, EmptyLoginName, EmptyPassword, NoCertificate };
struct EapEntries {
    AnsiString Name;
    AnsiString Password;
    AnsiString Domain;
    bool CertificateSelected = false;
};
EapCheck CheckEapLogin(int32_t eapType, const EapEntries& entries);
// A failed check's message in section "ErMsg", and whether its edit is emptied and focused.
struct EapCheckMessage {
    const char* Key = "";
    const char* English = "";
    EapControl Focus = kEapControlCount;  // kEapControlCount: nothing focused
};
EapCheckMessage EapCheckMessageOf(EapCheck check);

// A forward leave that passed the checks.
struct EapChoice {
    int32_t Type = kEapTLS;
    const CertificateEntry* Certificate = nullptr;  // none, or "Trust Any"
    int32_t Inner = kPeapMsChapV2;
    int32_t Cipher = kCipherTKIP;  // stored by the WPA page only
    EapEntries Entries;
};
// Stores the choice: the EAP type, the certificate into the client or the authority fields by
// the type (the other pair emptied), the inner method, the trimmed texts; the WPA page
// (wpaPage) also its cipher and the WPA authentication mode.
void StoreEapChoice(WLProfile& profile, const EapChoice& choice, bool wpaPage);
