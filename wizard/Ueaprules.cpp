#include "Ueaprules.h"

#include "../core/Ucommonstring.h"

std::vector<WizardChoice> EapTypeChoices(const CCommonString& words) {
    return {{words.Authen_TLS, kEapTLS}, {words.Authen_PEAP, kEapPEAP}};
}

std::vector<WizardChoice> EapInnerChoices(const CCommonString& words) {
    return {{words.EAP_MSCHAP_2, kPeapMsChapV2}};
}

std::vector<WizardChoice> EapCipherChoices(const CCommonString& words) {
    return {{words.WPA_TKIP, kCipherTKIP}, {words.WPA_AES, kCipherAES}};
}

EapLayout EapPageLayout(bool wpaPage, int32_t eapType) {
    // Tops by control, in EapControl's order; the RADIUS page's spacing is wider.
    static const std::array<int32_t, kEapControlCount> kWpaPeap = {49, 72, 95, 118, 141, 163, 186};
    static const std::array<int32_t, kEapControlCount> kWpaTls = {49, 82, 95, 113, 145, 163, 177};
    static const std::array<int32_t, kEapControlCount> kRadiusPeap = {49,  76,  103, 130,
                                                                      158, 185, 0};
    static const std::array<int32_t, kEapControlCount> kRadiusTls = {49, 81, 103, 113, 145, 185, 0};
    bool peap = eapType == kEapPEAP;
    EapLayout layout;
    if (wpaPage) {
        layout.Top = peap ? kWpaPeap : kWpaTls;
    } else {
        layout.Top = peap ? kRadiusPeap : kRadiusTls;
    }
    layout.Shown.fill(true);
    layout.Shown[kEapPasswd] = peap;
    layout.Shown[kEapInner] = peap;
    layout.Shown[kEapEncry] = wpaPage;
    return layout;
}

int32_t CertificateKindFor(int32_t eapType) {
    if (eapType == kEapTLS) return kCertClient;
    if (eapType == kEapTTLS || eapType == kEapPEAP) return kCertAuthority;
    return 0;
}

std::vector<CertificateItem> CertificateItems(const CCommonString& words, int32_t eapType,
                                              const std::vector<CertificateEntry>& clients,
                                              const std::vector<CertificateEntry>& authorities) {
    std::vector<CertificateItem> items;
    switch (CertificateKindFor(eapType)) {
        case kCertClient:
            for (const CertificateEntry& entry : clients)
                // Joined, never used as a format: the names are the certificates' own.
                items.push_back(
                    {TextField(entry.Name) + " [" + TextField(entry.Issuer) + "]", &entry});
            break;
        case kCertAuthority:
            items.push_back({words.TrustAny, nullptr});
            for (const CertificateEntry& entry : authorities)
                items.push_back({TextField(entry.Name), &entry});
            break;
        default:
            break;
    }
    return items;
}

StoredCertificate StoredCertificateFor(const WLProfile& profile, int32_t selectedType) {
    StoredCertificate stored;
    switch (CertificateKindFor(selectedType)) {
        case kCertClient:
            stored.Look = true;
            stored.Name = TextField(profile.sCertificate);
            stored.Issuer = TextField(profile.sCertificate_Issuer);
            break;
        case kCertAuthority:
            stored.Look = true;
            stored.Name = TextField(profile.sCertAuthority);
            stored.Issuer = TextField(profile.sCertAuthority_Issuer);
            stored.FirstWhenMissing = true;
            break;
        default:
            break;
    }
    return stored;
}

EapCheck CheckEapLogin(int32_t eapType, const EapEntries& entries) {
    bool tls = eapType == kEapTLS;
    bool withPassword = eapType == kEapTTLS || eapType == kEapPEAP;
    if ((tls || withPassword) && TrimBlanks(entries.Name).empty()) return EapCheck::EmptyLoginName;
    if (withPassword && TrimBlanks(entries.Password).empty()) return EapCheck::EmptyPassword;
    if (tls && !entries.CertificateSelected) return EapCheck::NoCertificate;
    return EapCheck::Passed;
}

EapCheckMessage EapCheckMessageOf(EapCheck check) {
    switch (check) {
        case EapCheck::EmptyLoginName:
            return {"ErEmptyLoginName", "The login name is empty.\\nPlease enter a login name.",
                    kEapName};
        case EapCheck::EmptyPassword:
            return {"ErEmptyPw", "The password is empty.\\nPlease enter a password.", kEapPasswd};
        case EapCheck::NoCertificate:
            return {"ErSelCert", "You must specify a certificate.", kEapControlCount};
        case EapCheck::Passed:
            break;
    }
    return {};
}

void StoreEapChoice(WLProfile& profile, const EapChoice& choice, bool wpaPage) {
    profile.MS8021xAuthMode = choice.Type;
    SetTextField(profile.sCertificate, "");
    SetTextField(profile.sCertificate_Issuer, "");
    SetTextField(profile.sCertAuthority, "");
    SetTextField(profile.sCertAuthority_Issuer, "");
    if (const CertificateEntry* entry = choice.Certificate) {
        switch (CertificateKindFor(choice.Type)) {
            case kCertClient:
                SetTextField(profile.sCertificate, TextField(entry->Name));
                SetTextField(profile.sCertificate_Issuer, TextField(entry->Issuer));
                break;
            case kCertAuthority:
                SetTextField(profile.sCertAuthority, TextField(entry->Name));
                SetTextField(profile.sCertAuthority_Issuer, TextField(entry->Issuer));
                break;
            default:
                break;
        }
    }
    profile.PeapEap = choice.Inner;
    if (wpaPage) {
        profile.WPAEncryptionType = choice.Cipher;
        profile.AuthenticationMode = kAuthModeWPA;
    }
    SetTextField(profile.LoginName, TrimBlanks(choice.Entries.Name));
    SetTextField(profile.LoginPassword, TrimBlanks(choice.Entries.Password));
    SetTextField(profile.DomainName, TrimBlanks(choice.Entries.Domain));
}
