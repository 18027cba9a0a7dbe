#include "Uprofile.h"

#include <cstdint>
#include <cstring>

#include "../classlib/CustomIniFile.h"
#include "Udefine.h"

namespace {

enum class FieldKind { Int32, UInt16, UInt8, Bool8, Text, Bytes };

// The numbers a field of a kind can hold.
constexpr int32_t KindMin(FieldKind kind) {
    return kind == FieldKind::UInt16 || kind == FieldKind::UInt8 ? 0 : INT32_MIN;
}
constexpr int32_t KindMax(FieldKind kind) {
    return kind == FieldKind::UInt16  ? UINT16_MAX
           : kind == FieldKind::UInt8 ? UINT8_MAX
                                      : INT32_MAX;
}

// One key of a profile's section. A run (count above 1) is keyed <key>0 to
// <key>count-1, its fields size bytes apart. A number its kind cannot hold
// marks the section as damaged; one outside min to max makes the profile
// unusable (ProfileIsUsable).
struct KeyedField {
    const char* key;
    size_t offset;
    size_t size;
    size_t count;
    FieldKind kind;
    int32_t intDefault;
    const char* textDefault;
    int32_t min;
    int32_t max;
};

// clang-format off
#define WL_KEYED_IN(T, base, name, kind, intDef, textDef, lo, hi) \
    {#name, (base) + offsetof(T, name), sizeof(T::name), 1, FieldKind::kind, intDef, textDef, lo, hi}
// clang-format on
#define WL_KEYED(T, base, name, kind, intDef, textDef)                          \
    WL_KEYED_IN(T, base, name, kind, intDef, textDef, KindMin(FieldKind::kind), \
                KindMax(FieldKind::kind))
#define WL_INT(name, def) WL_KEYED(WLProfile, 0, name, Int32, def, "")
// A field whose values are lo to hi; its read default among them.
#define WL_ENUM(name, def, lo, hi) WL_KEYED_IN(WLProfile, 0, name, Int32, def, "", lo, hi)
#define WL_TEXT(name, def) WL_KEYED(WLProfile, 0, name, Text, 0, def)
#define WL_NI(name, kind) WL_KEYED(NetworkInfo, offsetof(WLProfile, NetworkInfo), name, kind, 0, "")
#define WL_NI_TEXT(name, def) \
    WL_KEYED(NetworkInfo, offsetof(WLProfile, NetworkInfo), name, Text, 0, def)

// The text form, in the order the keys are written: Save and Load both walk
// this one table. Read defaults are what a missing key loads.
constexpr KeyedField kKeyedFields[] = {
    WL_INT(FuncMode, 0),
    {"APMacFilter", offsetof(WLProfile, APMacFilter), sizeof(WLProfile::APMacFilter[0]),
     kMacFilterCount, FieldKind::Bytes, 0, "", 0, 0},
    WL_INT(APMacFilterMode, 0),
    WL_INT(APtxPwrLevel, 0),
    WL_INT(Channel, 0),
    WL_ENUM(AdHocBand, 0, 0, 3),
    WL_INT(TxRate, 15),
    WL_ENUM(NetworkMode, 1, 0, 1),
    WL_INT(ABGMode, 34),
    WL_TEXT(ProfileName, kEditingProfileName),
    WL_TEXT(Ssid1, ""),
    WL_TEXT(Ssid2, ""),
    WL_TEXT(Ssid3, ""),
    WL_INT(ApSSIDHide, 0),
    WL_ENUM(WEPEncryptionLevel, 0, 0, 3),
    WL_TEXT(PassPhrase, ""),
    WL_TEXT(WEPKey1, ""),
    WL_TEXT(WEPKey2, ""),
    WL_TEXT(WEPKey3, ""),
    WL_TEXT(WEPKey4, ""),
    WL_ENUM(DefaultKey, 0, 0, 3),
    WL_INT(WEPKeyFormat, 0),
    WL_ENUM(AuthenticationMode, 2, 0, 7),
    WL_ENUM(EncryptionMethod, 0, 0, 7),
    WL_ENUM(WPAEncryptionType, 1, 0, 2),  // 0: a record never given a cipher
    WL_TEXT(WPAPassphrase, ""),
    WL_INT(FragThreshold, 2346),
    WL_INT(RTSThreshold, 2347),
    WL_INT(PreambleMode, 2),
    WL_INT(PowerMode, 0),
    WL_INT(txPwrLevel, 0),
    WL_TEXT(LoginName, ""),
    WL_TEXT(LoginPassword, ""),
    WL_TEXT(DomainName, ""),
    WL_TEXT(sCertificate, ""),
    WL_TEXT(sCertificate_Issuer, ""),
    WL_TEXT(sCertAuthority, ""),
    WL_TEXT(sCertAuthority_Issuer, ""),
    WL_INT(ValidateServerCert, 0),
    WL_ENUM(MS8021xAuthMode, 0, 0, 4),
    WL_ENUM(PeapEap, 0, 0, 2),
    WL_KEYED(WLProfile, 0, ApplyNetwork, Bool8, 0, ""),
    WL_NI_TEXT(NI_sz_CurProfile, kEditingProfileName),
    WL_NI(NI_wFlags, UInt16),
    WL_NI(NI_wNetFlags, UInt16),
    WL_NI(NI_wPPPFlags, UInt16),
    WL_NI(NI_wEthWINSMode, UInt16),
    WL_NI(NI_VPI, UInt8),
    WL_NI(NI_VCI, UInt8),
    WL_NI(NI_wEncapsulation, UInt16),
    WL_NI(NI_IpAddr, Bytes),
    WL_NI(NI_IpMask, Bytes),
    WL_NI(NI_IpGate1, Bytes),
    WL_NI(NI_IpGate2, Bytes),
    WL_NI(NI_IpDNS1, Bytes),
    WL_NI(NI_IpDNS2, Bytes),
    WL_NI(NI_IpWINS1, Bytes),
    WL_NI(NI_IpWINS2, Bytes),
    WL_NI_TEXT(NI_strScopeId, ""),
    WL_NI_TEXT(NI_strHostName, ""),
    WL_NI_TEXT(NI_strDomain, ""),
    WL_NI_TEXT(NI_strDomSufSearch, ""),
    WL_NI_TEXT(NI_strLoginUsr, ""),
    WL_NI_TEXT(NI_strLoginPsw, ""),
    WL_NI_TEXT(NI_strLoginDom, ""),
};

#undef WL_NI_TEXT
#undef WL_NI
#undef WL_TEXT
#undef WL_ENUM
#undef WL_INT
#undef WL_KEYED
#undef WL_KEYED_IN

constexpr bool KindFitsSize(const KeyedField& f) {
    switch (f.kind) {
        case FieldKind::Int32:
            return f.size == 4;
        case FieldKind::UInt16:
            return f.size == 2;
        case FieldKind::UInt8:
        case FieldKind::Bool8:
            return f.size == 1;
        case FieldKind::Text:
        case FieldKind::Bytes:
            return f.size > 0;
    }
    return false;
}

// A kind that does not fit its field would write past it; keys out of record
// order would break the file's key order.
constexpr bool TableFitsRecord() {
    size_t end = 0;
    for (const KeyedField& f : kKeyedFields) {
        if (!KindFitsSize(f) || f.count == 0 || f.offset < end) return false;
        if (f.intDefault < f.min || f.intDefault > f.max) return false;
        end = f.offset + f.size * f.count;
    }
    return end <= sizeof(WLProfile);
}
static_assert(TableFitsRecord(),
              "keyed fields must fit their record fields, in record order, with sound defaults");

template <typename Visit>
void ForEachKey(Visit visit) {
    for (const KeyedField& f : kKeyedFields) {
        if (f.count == 1) {
            visit(f, AnsiString(f.key), f.offset);
            continue;
        }
        for (size_t i = 0; i < f.count; ++i)
            visit(f, f.key + std::to_string(i), f.offset + i * f.size);
    }
}

void SaveField(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key,
               const KeyedField& f, const uint8_t* at) {
    switch (f.kind) {
        case FieldKind::Int32: {
            int32_t v;
            std::memcpy(&v, at, sizeof v);
            ini.WriteInteger(section, key, v);
            break;
        }
        case FieldKind::UInt16: {
            uint16_t v;
            std::memcpy(&v, at, sizeof v);
            ini.WriteInteger(section, key, v);
            break;
        }
        case FieldKind::UInt8:
            ini.WriteInteger(section, key, *at);
            break;
        case FieldKind::Bool8:
            ini.WriteBool(section, key, *at != 0);
            break;
        case FieldKind::Text:
            ini.WriteString(section, key, TextField(reinterpret_cast<const char*>(at), f.size));
            break;
        case FieldKind::Bytes: {
            TMemoryStream stream;
            stream.Write(at, f.size);
            ini.WriteBinaryStream(section, key, stream);
            break;
        }
    }
}

// False when the key holds a number that the field cannot hold.
bool LoadField(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key,
               const KeyedField& f, uint8_t* at) {
    switch (f.kind) {
        case FieldKind::Int32:
        case FieldKind::UInt16:
        case FieldKind::UInt8:
        case FieldKind::Bool8: {
            int32_t v = f.intDefault;
            switch (ParseIniNumber(ini.ReadString(section, key, AnsiString()), v)) {
                case IniNumber::None:
                    v = f.intDefault;  // no number, or no key
                    break;
                case IniNumber::OutOfRange:
                    return false;
                case IniNumber::Int32:
                    break;
            }
            if (v < KindMin(f.kind) || v > KindMax(f.kind)) return false;
            if (f.kind == FieldKind::Bool8) v = v != 0;
            // the low bytes of the value, little-endian as the record is
            for (size_t i = 0; i < f.size; ++i)
                at[i] = static_cast<uint8_t>(uint32_t(v) >> (8 * i));
            break;
        }
        case FieldKind::Text:
            SetTextField(reinterpret_cast<char*>(at), f.size,
                         ini.ReadString(section, key, f.textDefault));
            break;
        case FieldKind::Bytes: {
            // Only the decoded bytes replace the field's, from its start.
            TMemoryStream stream;
            size_t n = ini.ReadBinaryStream(section, key, stream);
            if (n > 0) std::memcpy(at, stream.Memory(), n < f.size ? n : f.size);
            break;
        }
    }
    return true;
}

enum : int32_t { kNoSecurity = 0, kWEP = 1, kWPAPSK = 2, kWPA = 3 };
enum : int32_t { kTKIP = 1, kAES = 2 };

// The library's security code of a network in range, as a profile's method
// and cipher (0: keep the template's). Codes come in families 0 (WPA), 100
// (WPA2) and 1000 (both): +10 to +15 WPA, +20 to +25 and +99 WPA-PSK; within
// the runs of six a last digit of 3 or 4 means AES.
void SecurityOfCode(int32_t code, int32_t& method, int32_t& cipher) {
    method = kNoSecurity;
    cipher = 0;
    if (code == 1) method = kWEP;
    if (code <= 1) return;
    for (int32_t family : {0, 100, 1000}) {
        int32_t c = code - family;
        int32_t runCipher = c % 10 == 3 || c % 10 == 4 ? kAES : kTKIP;
        if (c >= 10 && c <= 15) {
            method = kWPA;
            cipher = runCipher;
        } else if (c >= 20 && c <= 25) {
            method = kWPAPSK;
            cipher = runCipher;
        } else if (c == 99) {
            method = kWPAPSK;
            cipher = kTKIP;
        }
        if (method != kNoSecurity) return;
    }
}

}  // namespace

ProfileNameCheck CheckProfileName(const AnsiString& name, const ProfileNameExists& exists) {
    if (name.empty()) return ProfileNameCheck::Empty;
    // The store's key of the profile being edited: any case of it is that key.
    if (SameProfileName(name, kEditingProfileName)) return ProfileNameCheck::Reserved;
    if (name.size() > kMaxProfileNameLength) return ProfileNameCheck::TooLong;
    if (name.find('\\') != AnsiString::npos) return ProfileNameCheck::Backslash;
    if (ProfileNameHasControlByte(name)) return ProfileNameCheck::ControlByte;
    if (exists && exists(name)) return ProfileNameCheck::Exists;
    return ProfileNameCheck::Ok;
}

const char* ProfileNameFault(ProfileNameCheck check) {
    switch (check) {
        case ProfileNameCheck::Empty:
            return "no profile name";
        case ProfileNameCheck::Reserved:
            return "a reserved profile name";
        case ProfileNameCheck::TooLong:
            return "a profile name that is too long";
        case ProfileNameCheck::Backslash:
            return "a backslash in the profile name";
        case ProfileNameCheck::ControlByte:
            return "a control character in the profile name";
        default:
            return "an unusable profile name";
    }
}

bool ProfileIsUsable(const WLProfile& profile) {
    AnsiString name = TextField(profile.ProfileName);
    if (name.empty() || ProfileNameHasControlByte(name)) return false;
    const uint8_t* record = reinterpret_cast<const uint8_t*>(&profile);
    for (const KeyedField& f : kKeyedFields) {
        if (f.kind != FieldKind::Int32 || f.count != 1) continue;
        int32_t v;
        std::memcpy(&v, record + f.offset, sizeof v);
        if (v < f.min || v > f.max) return false;
    }
    return true;
}

bool ProfileNameHasControlByte(const AnsiString& name) {
    for (char c : name)
        if (IsControlByte(c)) return true;
    return false;
}

AnsiString LoggedProfileName(const AnsiString& name) {
    AnsiString shown;
    for (char c : name)
        shown +=
            IsControlByte(c) ? Format("\\x%02X", static_cast<unsigned char>(c)) : AnsiString(1, c);
    return shown;
}

void BuildDefaultProfile(CFAGlobalVar& settings) {
    WLProfile& p = settings.DefaultProfile;
    p = WLProfile{};
    p.ABGMode = settings.SupportMode;
    p.AdHocBand = settings.DefBand;
    p.Channel = settings.DefBand == 2 ? settings.DefChA : settings.DefChB;
    p.TxRate = 15;
    p.NetworkMode = 1;
    SetTextField(p.ProfileName, settings.DefProfName);
    SetTextField(p.Ssid1, settings.DefProfSSID);
    p.AuthenticationMode = 2;
    p.WPAEncryptionType = kTKIP;
    p.FragThreshold = 2346;
    p.RTSThreshold = 2347;
    p.PreambleMode = 2;
    SetTextField(p.NetworkInfo.NI_sz_CurProfile, settings.DefProfName);
    // Only NT 5.x lets the program set the adapter's IP settings; start with DHCP.
    p.ApplyNetwork = settings.WinVer == 5 || settings.WinVer == 6 ? 1 : 0;
}

void SaveProfile(CFAGlobalVar& settings, const WLProfile& profile, const AnsiString& section) {
    if (!settings.SettingsIni) return;
    TCustomIniFile& ini = *settings.SettingsIni;
    const uint8_t* record = reinterpret_cast<const uint8_t*>(&profile);
    ForEachKey([&](const KeyedField& f, const AnsiString& key, size_t offset) {
        SaveField(ini, section, key, f, record + offset);
    });
}

bool LoadProfile(CFAGlobalVar& settings, WLProfile& profile, const AnsiString& section) {
    if (!settings.SettingsIni || !settings.SettingsIni->SectionExists(section)) return false;
    TCustomIniFile& ini = *settings.SettingsIni;
    // A section that does not name its profile, or names it with a control byte, is no saved
    // profile: a NUL in the text form would leave the record another name than the one read.
    AnsiString name = ini.ReadString(section, "ProfileName", AnsiString());
    if (name.empty() || ProfileNameHasControlByte(name)) return false;
    // Into a copy: a damaged section leaves the caller's record as it was.
    WLProfile loaded = profile;
    uint8_t* record = reinterpret_cast<uint8_t*>(&loaded);
    bool sound = true;
    ForEachKey([&](const KeyedField& f, const AnsiString& key, size_t offset) {
        if (sound) sound = LoadField(ini, section, key, f, record + offset);
    });
    if (!sound || !ProfileIsUsable(loaded)) return false;
    profile = loaded;
    return true;
}

void ProfileFromSurveyEntry(const CFAGlobalVar& settings, const SiteSurveyEntry& entry,
                            WLProfile& profile,
                            const std::function<int32_t(uint32_t)>& frequencyToChannel) {
    AnsiString name = TextField(profile.ProfileName);
    profile = settings.DefaultProfile;
    SetTextField(profile.ProfileName, name);
    SetTextField(profile.NetworkInfo.NI_sz_CurProfile, name);
    SetTextField(profile.Ssid1, SsidText(entry.Ssid.Ssid, entry.Ssid.SsidLength));
    profile.NetworkMode = JoinedNetworkMode(entry);
    if (frequencyToChannel) profile.Channel = frequencyToChannel(entry.Configuration.DSConfig);
    profile.ABGMode = settings.SupportMode;
    // 1 b, 2 a, 3 g; the library also reports them as 21 to 23.
    int32_t band = entry.NetworkTypeInUse;
    if (band >= 21 && band <= 23) band -= 20;
    if (band >= 1 && band <= 3) profile.AdHocBand = band;  // else the template's DefBand

    int32_t method, cipher;
    SecurityOfCode(entry.Privacy, method, cipher);
    profile.EncryptionMethod = method;
    if (method == kNoSecurity) profile.WEPEncryptionLevel = 0;
    if (method == kWEP) profile.WEPEncryptionLevel = 1;  // 64-bit
    if (cipher != 0) profile.WPAEncryptionType = cipher;

    profile.ApplyNetwork = 0;
}

void ResetProfileSecurity(const CFAGlobalVar& /*settings*/, WLProfile& profile) {
    profile.EncryptionMethod = kNoSecurity;
    profile.WEPEncryptionLevel = 0;
    profile.DefaultKey = 0;
    profile.MS8021xAuthMode = 0;
    profile.PeapEap = 0;
    profile.WEPKeyFormat = 1;
    profile.AuthenticationMode = 2;
    profile.WPAEncryptionType = kTKIP;
    for (auto* text : {&profile.WPAPassphrase, &profile.LoginName, &profile.LoginPassword,
                       &profile.DomainName, &profile.sCertificate, &profile.sCertificate_Issuer,
                       &profile.sCertAuthority, &profile.sCertAuthority_Issuer})
        SetTextField(*text, "");
    for (auto* key : {&profile.WEPKey1, &profile.WEPKey2, &profile.WEPKey3, &profile.WEPKey4})
        SetTextField(*key, "");
    SetTextField(profile.PassPhrase, "");
}
