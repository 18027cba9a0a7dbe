#include "ProfileText.h"

#include <cstddef>
#include <cstring>

#include "Convert.h"

namespace vyxsim {

namespace {

enum class Kind { Int32, UInt16, UInt8, Bool8, Text, Bytes };

struct Field {
    std::string name;
    size_t offset;
    size_t size;
    Kind kind;
};

constexpr size_t kNet = offsetof(WLProfile, NetworkInfo);

#define WLF(field, kind) \
    { #field, offsetof(WLProfile, field), sizeof(WLProfile::field), kind }
#define NIF(field, kind) \
    { #field, kNet + offsetof(NetworkInfo, field), sizeof(NetworkInfo::field), kind }

std::vector<Field> BuildFields() {
    std::vector<Field> f = {WLF(FuncMode, Kind::Int32)};
    for (size_t i = 0; i < kMacFilterCount; ++i)
        f.push_back({"APMacFilter" + std::to_string(i), offsetof(WLProfile, APMacFilter) + 6 * i, 6,
                     Kind::Bytes});
    const std::vector<Field> rest = {
        WLF(APMacFilterMode, Kind::Int32),
        WLF(APtxPwrLevel, Kind::Int32),
        WLF(Channel, Kind::Int32),
        WLF(AdHocBand, Kind::Int32),
        WLF(TxRate, Kind::Int32),
        WLF(NetworkMode, Kind::Int32),
        WLF(ABGMode, Kind::Int32),
        WLF(ProfileName, Kind::Text),
        WLF(Ssid1, Kind::Text),
        WLF(Ssid2, Kind::Text),
        WLF(Ssid3, Kind::Text),
        WLF(ApSSIDHide, Kind::Int32),
        WLF(WEPEncryptionLevel, Kind::Int32),
        WLF(PassPhrase, Kind::Text),
        WLF(WEPKey1, Kind::Text),
        WLF(WEPKey2, Kind::Text),
        WLF(WEPKey3, Kind::Text),
        WLF(WEPKey4, Kind::Text),
        WLF(DefaultKey, Kind::Int32),
        WLF(WEPKeyFormat, Kind::Int32),
        WLF(AuthenticationMode, Kind::Int32),
        WLF(EncryptionMethod, Kind::Int32),
        WLF(WPAEncryptionType, Kind::Int32),
        WLF(WPAPassphrase, Kind::Text),
        WLF(FragThreshold, Kind::Int32),
        WLF(RTSThreshold, Kind::Int32),
        WLF(PreambleMode, Kind::Int32),
        WLF(PowerMode, Kind::Int32),
        WLF(txPwrLevel, Kind::Int32),
        WLF(LoginName, Kind::Text),
        WLF(LoginPassword, Kind::Text),
        WLF(DomainName, Kind::Text),
        WLF(sCertificate, Kind::Text),
        WLF(sCertificate_Issuer, Kind::Text),
        WLF(sCertAuthority, Kind::Text),
        WLF(sCertAuthority_Issuer, Kind::Text),
        WLF(ValidateServerCert, Kind::Int32),
        WLF(MS8021xAuthMode, Kind::Int32),
        WLF(PeapEap, Kind::Int32),
        WLF(ApplyNetwork, Kind::Bool8),
        NIF(NI_sz_CurProfile, Kind::Text),
        NIF(NI_wFlags, Kind::UInt16),
        NIF(NI_wNetFlags, Kind::UInt16),
        NIF(NI_wPPPFlags, Kind::UInt16),
        NIF(NI_wEthWINSMode, Kind::UInt16),
        NIF(NI_VPI, Kind::UInt8),
        NIF(NI_VCI, Kind::UInt8),
        NIF(NI_wEncapsulation, Kind::UInt16),
        NIF(NI_IpAddr, Kind::Bytes),
        NIF(NI_IpMask, Kind::Bytes),
        NIF(NI_IpGate1, Kind::Bytes),
        NIF(NI_IpGate2, Kind::Bytes),
        NIF(NI_IpDNS1, Kind::Bytes),
        NIF(NI_IpDNS2, Kind::Bytes),
        NIF(NI_IpWINS1, Kind::Bytes),
        NIF(NI_IpWINS2, Kind::Bytes),
        NIF(NI_strScopeId, Kind::Text),
        NIF(NI_strHostName, Kind::Text),
        NIF(NI_strDomain, Kind::Text),
        NIF(NI_strDomSufSearch, Kind::Text),
        NIF(NI_strLoginUsr, Kind::Text),
        NIF(NI_strLoginPsw, Kind::Text),
        NIF(NI_strLoginDom, Kind::Text),
    };
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

#undef WLF
#undef NIF

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = BuildFields();
    return fields;
}

}  // namespace

std::vector<ProfileItem> ProfileToItems(const WLProfile& profile) {
    const auto* base = reinterpret_cast<const uint8_t*>(&profile);
    std::vector<ProfileItem> items;
    for (const Field& f : Fields()) {
        const uint8_t* p = base + f.offset;
        std::string text;
        switch (f.kind) {
            case Kind::Int32: {
                int32_t v;
                std::memcpy(&v, p, 4);
                text = std::to_string(v);
                break;
            }
            case Kind::UInt16: {
                uint16_t v;
                std::memcpy(&v, p, 2);
                text = std::to_string(v);
                break;
            }
            case Kind::UInt8:
                text = std::to_string(*p);
                break;
            case Kind::Bool8:
                text = *p ? "1" : "0";
                break;
            case Kind::Text:
                text = TextField(reinterpret_cast<const char*>(p), f.size);
                break;
            case Kind::Bytes:
                text = HexBytes(p, f.size);
                break;
        }
        items.emplace_back(f.name, text);
    }
    return items;
}

bool ApplyProfileItem(WLProfile& profile, const std::string& name, const std::string& text) {
    auto* base = reinterpret_cast<uint8_t*>(&profile);
    for (const Field& f : Fields()) {
        if (f.name != name) continue;
        uint8_t* p = base + f.offset;
        int64_t v = 0;
        switch (f.kind) {
            case Kind::Int32: {
                if (!ParseInt(text, v)) return false;
                int32_t i = static_cast<int32_t>(static_cast<uint32_t>(v));
                std::memcpy(p, &i, 4);
                return true;
            }
            case Kind::UInt16: {
                if (!ParseInt(text, v)) return false;
                uint16_t u = static_cast<uint16_t>(v);
                std::memcpy(p, &u, 2);
                return true;
            }
            case Kind::UInt8:
                if (!ParseInt(text, v)) return false;
                *p = static_cast<uint8_t>(v);
                return true;
            case Kind::Bool8:
                if (!ParseInt(text, v)) return false;
                *p = v != 0 ? 1 : 0;
                return true;
            case Kind::Text:
                SetTextField(reinterpret_cast<char*>(p), f.size, text);
                return true;
            case Kind::Bytes:
                return DecodeHexBytes(text, p, f.size) > 0 || text.empty();
        }
    }
    return false;
}

}  // namespace vyxsim
