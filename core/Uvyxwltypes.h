// The fixed-layout records exchanged with the driver library, and the one way
// text gets into and out of their fixed-width fields. Every record is packed,
// little-endian and checked below for size and field offsets, so the 32-bit,
// 64-bit and native builds all agree with the library.
//
// Every member starts zeroed: a record handed to the library is clean unless
// the caller filled it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "../classlib/AnsiString.h"

constexpr uint32_t kMaxSsidLength = 32;
constexpr uint32_t kMaxSurveyEntries = 256;
constexpr uint32_t kMacFilterCount = 16;

#pragma pack(push, 1)

// Link state and counters, filled by VYXWL_GetWLANStatus. Built from a profile
// by VYXWL_WLProfileToWLStatus, it is wholly the library's.
struct WLStatus {
    uint8_t Bssid[6]{};
    uint8_t Reserved6[2]{};
    uint32_t SsidLength{};  // 0 to 32
    char Ssid[32]{};        // no NUL when 32 bytes long
    uint8_t Reserved44[76]{};
    int32_t SignalDbm{};
    int32_t LinkMode{};  // 1 infrastructure, else ad hoc
    uint8_t Reserved128[20]{};
    uint32_t FrequencyKHz{};
    uint8_t Reserved152[44]{};
    int32_t AuthMode{};  // 0 open, 1 shared, else auto switch
    uint64_t RxPackets{};
    uint64_t TxPackets{};
    uint64_t RxBytes{};
    uint64_t TxBytes{};
    uint8_t Reserved232[4]{};
    int32_t SecurityCode{};  // numbered as WLProfile::EncryptionMethod
    int32_t WpaCipher{};     // 1 TKIP, 2 AES
    uint8_t Reserved244[2344]{};
    int32_t EapMethod{};  // 1 TLS, 2 TTLS, 3 PEAP
    uint8_t Reserved2592[24]{};
    int32_t TxPowerDbm{};
    uint8_t Reserved2620[8]{};
    uint8_t LinkTxRate{};  // 500 kbit/s units
    uint8_t Reserved2629[7]{};
    uint8_t LinkRxRate{};
    uint8_t Reserved2637[119]{};
    int32_t MediaConnect{};  // 0 connected, 1 not connected
    int32_t NoiseDbm{};
    uint8_t Reserved2764[220]{};
};

// One adapter to look for, handed to VYXWL_DevDetect.
struct DeviceEntry {
    uint8_t Reserved0[256]{};
    char HardwareId[128]{};  // in
    char DeviceName[132]{};  // out
};

// NDIS_802_11_SSID
struct WLSsid {
    uint32_t SsidLength{};
    char Ssid[32]{};  // no NUL when 32 bytes long
};

// NDIS_802_11_CONFIGURATION_FH
struct WLConfigurationFH {
    uint32_t Length{};
    uint32_t HopPattern{};
    uint32_t HopSet{};
    uint32_t DwellTime{};
};

// NDIS_802_11_CONFIGURATION
struct WLConfiguration {
    uint32_t Length{};
    uint32_t BeaconPeriod{};
    uint32_t ATIMWindow{};
    uint32_t DSConfig{};  // frequency in kHz
    WLConfigurationFH FHConfig{};
};

// One network in range: NDIS_WLAN_BSSID and 16 bytes of the library's own.
struct SiteSurveyEntry {
    uint32_t Length{};
    uint8_t MacAddress[6]{};
    uint8_t Reserved[2]{};
    WLSsid Ssid{};
    int32_t Privacy{};  // the library's security code
    int32_t Rssi{};     // dBm
    int32_t NetworkTypeInUse{};
    WLConfiguration Configuration{};
    int32_t InfrastructureMode{};  // 1 infrastructure, 0 ad hoc
    uint8_t SupportedRates[8]{};
    uint8_t Reserved104[16]{};
};

// Filled by VYXWL_SiteSurveyGet; read through SurveyEntryCount.
struct SiteSurveyBuffer {
    uint32_t Count{};
    SiteSurveyEntry Entries[kMaxSurveyEntries]{};
};

struct CertificateEntry {
    char Name[256]{};
    char Issuer[256]{};
};

// Written by VYXWL_PassphraseToWEPKey.
struct WEPKeyOutput {
    int32_t Reserved0{};
    char Key[4][64]{};
};

// IP settings: the tail of a profile and the record of VYXWL_Get/SetNetworkInfo.
struct NetworkInfo {
    char NI_sz_CurProfile[260]{};
    uint16_t NI_wFlags{};
    uint16_t NI_wNetFlags{};  // bit 0: static address and DNS
    uint16_t NI_wPPPFlags{};
    uint16_t NI_wEthWINSMode{};
    uint8_t NI_VPI{};
    uint8_t NI_VCI{};
    uint16_t NI_wEncapsulation{};
    uint8_t NI_IpAddr[4]{};  // the library's form; see VYXWL_IPDataToStr
    uint8_t NI_IpMask[4]{};
    uint8_t NI_IpGate1[4]{};
    uint8_t NI_IpGate2[4]{};
    uint8_t NI_IpDNS1[4]{};
    uint8_t NI_IpDNS2[4]{};
    uint8_t NI_IpWINS1[4]{};
    uint8_t NI_IpWINS2[4]{};
    char NI_strScopeId[132]{};
    char NI_strHostName[132]{};
    char NI_strDomain[132]{};
    char NI_strDomSufSearch[132]{};
    char NI_strLoginUsr[68]{};
    char NI_strLoginPsw[68]{};
    char NI_strLoginDom[68]{};
};

// One complete set of connection settings.
struct WLProfile {
    int32_t FuncMode{};
    uint8_t APMacFilter[kMacFilterCount][6]{};
    int32_t APMacFilterMode{};
    int32_t APtxPwrLevel{};
    int32_t Channel{};
    int32_t AdHocBand{};  // 1 802.11b, 2 802.11a, 3 802.11g
    int32_t TxRate{};
    int32_t NetworkMode{};  // 1 infrastructure, 0 ad hoc
    int32_t ABGMode{};      // coded as [Setting] SupportMode
    char ProfileName[65]{};
    char Ssid1[33]{};
    char Ssid2[33]{};
    char Ssid3[33]{};
    int32_t ApSSIDHide{};
    int32_t WEPEncryptionLevel{};  // 0 none, 1 64-bit, 2 128-bit, 3 152-bit
    char PassPhrase[257]{};
    char WEPKey1[59]{};
    char WEPKey2[59]{};
    char WEPKey3[59]{};
    char WEPKey4[59]{};
    uint8_t Reserved793[3]{};
    int32_t DefaultKey{};  // 0 to 3
    int32_t WEPKeyFormat{};
    int32_t AuthenticationMode{};  // NDIS_802_11_AUTHENTICATION_MODE
    int32_t EncryptionMethod{};    // 0 none, 1 WEP, 2 WPA-PSK, 3 WPA, 4 RADIUS, 5 LEAP, 6, 7 WPA2
    int32_t WPAEncryptionType{};   // 1 TKIP, 2 AES
    char WPAPassphrase[260]{};
    int32_t FragThreshold{};
    int32_t RTSThreshold{};
    int32_t PreambleMode{};
    int32_t PowerMode{};
    int32_t txPwrLevel{};
    char LoginName[260]{};
    char LoginPassword[260]{};
    char DomainName[260]{};
    char sCertificate[260]{};
    char sCertificate_Issuer[260]{};
    char sCertAuthority[260]{};
    char sCertAuthority_Issuer[260]{};
    int32_t ValidateServerCert{};
    int32_t MS8021xAuthMode{};  // 1 TLS, 2 TTLS, 3 PEAP, 4 LEAP
    int32_t Reserved2924{};
    int32_t PeapEap{};       // 1 EAP-GTC, 2 EAP-MSCHAP V2
    uint8_t ApplyNetwork{};  // 0 or 1
    uint8_t Reserved2933[1]{};
    ::NetworkInfo NetworkInfo{};
    uint8_t Reserved3970[2]{};
};

#pragma pack(pop)

#define WL_CHECK_RECORD(T, size)                                                     \
    static_assert(sizeof(T) == (size), #T " size");                                  \
    static_assert(std::is_standard_layout<T>::value, #T " must be standard layout"); \
    static_assert(std::is_trivially_copyable<T>::value, #T " is copied as bytes")
#define WL_CHECK_FIELD(T, field, offset, size)                               \
    static_assert(offsetof(T, field) == (offset), #T "::" #field " offset"); \
    static_assert(sizeof(T::field) == (size), #T "::" #field " size")

WL_CHECK_RECORD(WLStatus, 2984);
WL_CHECK_FIELD(WLStatus, Bssid, 0, 6);
WL_CHECK_FIELD(WLStatus, Reserved6, 6, 2);
WL_CHECK_FIELD(WLStatus, SsidLength, 8, 4);
WL_CHECK_FIELD(WLStatus, Ssid, 12, 32);
WL_CHECK_FIELD(WLStatus, Reserved44, 44, 76);
WL_CHECK_FIELD(WLStatus, SignalDbm, 120, 4);
WL_CHECK_FIELD(WLStatus, LinkMode, 124, 4);
WL_CHECK_FIELD(WLStatus, Reserved128, 128, 20);
WL_CHECK_FIELD(WLStatus, FrequencyKHz, 148, 4);
WL_CHECK_FIELD(WLStatus, Reserved152, 152, 44);
WL_CHECK_FIELD(WLStatus, AuthMode, 196, 4);
WL_CHECK_FIELD(WLStatus, RxPackets, 200, 8);
WL_CHECK_FIELD(WLStatus, TxPackets, 208, 8);
WL_CHECK_FIELD(WLStatus, RxBytes, 216, 8);
WL_CHECK_FIELD(WLStatus, TxBytes, 224, 8);
WL_CHECK_FIELD(WLStatus, Reserved232, 232, 4);
WL_CHECK_FIELD(WLStatus, SecurityCode, 236, 4);
WL_CHECK_FIELD(WLStatus, WpaCipher, 240, 4);
WL_CHECK_FIELD(WLStatus, Reserved244, 244, 2344);
WL_CHECK_FIELD(WLStatus, EapMethod, 2588, 4);
WL_CHECK_FIELD(WLStatus, Reserved2592, 2592, 24);
WL_CHECK_FIELD(WLStatus, TxPowerDbm, 2616, 4);
WL_CHECK_FIELD(WLStatus, Reserved2620, 2620, 8);
WL_CHECK_FIELD(WLStatus, LinkTxRate, 2628, 1);
WL_CHECK_FIELD(WLStatus, Reserved2629, 2629, 7);
WL_CHECK_FIELD(WLStatus, LinkRxRate, 2636, 1);
WL_CHECK_FIELD(WLStatus, Reserved2637, 2637, 119);
WL_CHECK_FIELD(WLStatus, MediaConnect, 2756, 4);
WL_CHECK_FIELD(WLStatus, NoiseDbm, 2760, 4);
WL_CHECK_FIELD(WLStatus, Reserved2764, 2764, 220);

WL_CHECK_RECORD(DeviceEntry, 516);
WL_CHECK_FIELD(DeviceEntry, Reserved0, 0, 256);
WL_CHECK_FIELD(DeviceEntry, HardwareId, 256, 128);
WL_CHECK_FIELD(DeviceEntry, DeviceName, 384, 132);

WL_CHECK_RECORD(WLSsid, 36);
WL_CHECK_FIELD(WLSsid, SsidLength, 0, 4);
WL_CHECK_FIELD(WLSsid, Ssid, 4, 32);

WL_CHECK_RECORD(WLConfigurationFH, 16);
WL_CHECK_FIELD(WLConfigurationFH, Length, 0, 4);
WL_CHECK_FIELD(WLConfigurationFH, HopPattern, 4, 4);
WL_CHECK_FIELD(WLConfigurationFH, HopSet, 8, 4);
WL_CHECK_FIELD(WLConfigurationFH, DwellTime, 12, 4);

WL_CHECK_RECORD(WLConfiguration, 32);
WL_CHECK_FIELD(WLConfiguration, Length, 0, 4);
WL_CHECK_FIELD(WLConfiguration, BeaconPeriod, 4, 4);
WL_CHECK_FIELD(WLConfiguration, ATIMWindow, 8, 4);
WL_CHECK_FIELD(WLConfiguration, DSConfig, 12, 4);
WL_CHECK_FIELD(WLConfiguration, FHConfig, 16, 16);

WL_CHECK_RECORD(SiteSurveyEntry, 120);
WL_CHECK_FIELD(SiteSurveyEntry, Length, 0, 4);
WL_CHECK_FIELD(SiteSurveyEntry, MacAddress, 4, 6);
WL_CHECK_FIELD(SiteSurveyEntry, Reserved, 10, 2);
WL_CHECK_FIELD(SiteSurveyEntry, Ssid, 12, 36);
WL_CHECK_FIELD(SiteSurveyEntry, Privacy, 48, 4);
WL_CHECK_FIELD(SiteSurveyEntry, Rssi, 52, 4);
WL_CHECK_FIELD(SiteSurveyEntry, NetworkTypeInUse, 56, 4);
WL_CHECK_FIELD(SiteSurveyEntry, Configuration, 60, 32);
WL_CHECK_FIELD(SiteSurveyEntry, InfrastructureMode, 92, 4);
WL_CHECK_FIELD(SiteSurveyEntry, SupportedRates, 96, 8);
WL_CHECK_FIELD(SiteSurveyEntry, Reserved104, 104, 16);
static_assert(offsetof(SiteSurveyEntry, Ssid.SsidLength) == 12, "survey SsidLength offset");
static_assert(offsetof(SiteSurveyEntry, Ssid.Ssid) == 16, "survey Ssid text offset");
static_assert(offsetof(SiteSurveyEntry, Configuration.DSConfig) == 72, "survey DSConfig offset");

WL_CHECK_RECORD(SiteSurveyBuffer, 30724);
WL_CHECK_FIELD(SiteSurveyBuffer, Count, 0, 4);
WL_CHECK_FIELD(SiteSurveyBuffer, Entries, 4, 120 * 256);

WL_CHECK_RECORD(CertificateEntry, 512);
WL_CHECK_FIELD(CertificateEntry, Name, 0, 256);
WL_CHECK_FIELD(CertificateEntry, Issuer, 256, 256);

WL_CHECK_RECORD(WEPKeyOutput, 260);
WL_CHECK_FIELD(WEPKeyOutput, Reserved0, 0, 4);
WL_CHECK_FIELD(WEPKeyOutput, Key, 4, 4 * 64);
static_assert(offsetof(WEPKeyOutput, Key[1]) == 68 && offsetof(WEPKeyOutput, Key[2]) == 132 &&
                  offsetof(WEPKeyOutput, Key[3]) == 196,
              "WEP key texts 64 bytes apart");

WL_CHECK_RECORD(NetworkInfo, 1036);
WL_CHECK_FIELD(NetworkInfo, NI_sz_CurProfile, 0, 260);
WL_CHECK_FIELD(NetworkInfo, NI_wFlags, 260, 2);
WL_CHECK_FIELD(NetworkInfo, NI_wNetFlags, 262, 2);
WL_CHECK_FIELD(NetworkInfo, NI_wPPPFlags, 264, 2);
WL_CHECK_FIELD(NetworkInfo, NI_wEthWINSMode, 266, 2);
WL_CHECK_FIELD(NetworkInfo, NI_VPI, 268, 1);
WL_CHECK_FIELD(NetworkInfo, NI_VCI, 269, 1);
WL_CHECK_FIELD(NetworkInfo, NI_wEncapsulation, 270, 2);
WL_CHECK_FIELD(NetworkInfo, NI_IpAddr, 272, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpMask, 276, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpGate1, 280, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpGate2, 284, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpDNS1, 288, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpDNS2, 292, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpWINS1, 296, 4);
WL_CHECK_FIELD(NetworkInfo, NI_IpWINS2, 300, 4);
WL_CHECK_FIELD(NetworkInfo, NI_strScopeId, 304, 132);
WL_CHECK_FIELD(NetworkInfo, NI_strHostName, 436, 132);
WL_CHECK_FIELD(NetworkInfo, NI_strDomain, 568, 132);
WL_CHECK_FIELD(NetworkInfo, NI_strDomSufSearch, 700, 132);
WL_CHECK_FIELD(NetworkInfo, NI_strLoginUsr, 832, 68);
WL_CHECK_FIELD(NetworkInfo, NI_strLoginPsw, 900, 68);
WL_CHECK_FIELD(NetworkInfo, NI_strLoginDom, 968, 68);

WL_CHECK_RECORD(WLProfile, 3972);
WL_CHECK_FIELD(WLProfile, FuncMode, 0, 4);
WL_CHECK_FIELD(WLProfile, APMacFilter, 4, 96);
WL_CHECK_FIELD(WLProfile, APMacFilterMode, 100, 4);
WL_CHECK_FIELD(WLProfile, APtxPwrLevel, 104, 4);
WL_CHECK_FIELD(WLProfile, Channel, 108, 4);
WL_CHECK_FIELD(WLProfile, AdHocBand, 112, 4);
WL_CHECK_FIELD(WLProfile, TxRate, 116, 4);
WL_CHECK_FIELD(WLProfile, NetworkMode, 120, 4);
WL_CHECK_FIELD(WLProfile, ABGMode, 124, 4);
WL_CHECK_FIELD(WLProfile, ProfileName, 128, 65);
WL_CHECK_FIELD(WLProfile, Ssid1, 193, 33);
WL_CHECK_FIELD(WLProfile, Ssid2, 226, 33);
WL_CHECK_FIELD(WLProfile, Ssid3, 259, 33);
WL_CHECK_FIELD(WLProfile, ApSSIDHide, 292, 4);
WL_CHECK_FIELD(WLProfile, WEPEncryptionLevel, 296, 4);
WL_CHECK_FIELD(WLProfile, PassPhrase, 300, 257);
WL_CHECK_FIELD(WLProfile, WEPKey1, 557, 59);
WL_CHECK_FIELD(WLProfile, WEPKey2, 616, 59);
WL_CHECK_FIELD(WLProfile, WEPKey3, 675, 59);
WL_CHECK_FIELD(WLProfile, WEPKey4, 734, 59);
WL_CHECK_FIELD(WLProfile, Reserved793, 793, 3);
WL_CHECK_FIELD(WLProfile, DefaultKey, 796, 4);
WL_CHECK_FIELD(WLProfile, WEPKeyFormat, 800, 4);
WL_CHECK_FIELD(WLProfile, AuthenticationMode, 804, 4);
WL_CHECK_FIELD(WLProfile, EncryptionMethod, 808, 4);
WL_CHECK_FIELD(WLProfile, WPAEncryptionType, 812, 4);
WL_CHECK_FIELD(WLProfile, WPAPassphrase, 816, 260);
WL_CHECK_FIELD(WLProfile, FragThreshold, 1076, 4);
WL_CHECK_FIELD(WLProfile, RTSThreshold, 1080, 4);
WL_CHECK_FIELD(WLProfile, PreambleMode, 1084, 4);
WL_CHECK_FIELD(WLProfile, PowerMode, 1088, 4);
WL_CHECK_FIELD(WLProfile, txPwrLevel, 1092, 4);
WL_CHECK_FIELD(WLProfile, LoginName, 1096, 260);
WL_CHECK_FIELD(WLProfile, LoginPassword, 1356, 260);
WL_CHECK_FIELD(WLProfile, DomainName, 1616, 260);
WL_CHECK_FIELD(WLProfile, sCertificate, 1876, 260);
WL_CHECK_FIELD(WLProfile, sCertificate_Issuer, 2136, 260);
WL_CHECK_FIELD(WLProfile, sCertAuthority, 2396, 260);
WL_CHECK_FIELD(WLProfile, sCertAuthority_Issuer, 2656, 260);
WL_CHECK_FIELD(WLProfile, ValidateServerCert, 2916, 4);
WL_CHECK_FIELD(WLProfile, MS8021xAuthMode, 2920, 4);
WL_CHECK_FIELD(WLProfile, Reserved2924, 2924, 4);
WL_CHECK_FIELD(WLProfile, PeapEap, 2928, 4);
WL_CHECK_FIELD(WLProfile, ApplyNetwork, 2932, 1);
WL_CHECK_FIELD(WLProfile, Reserved2933, 2933, 1);
WL_CHECK_FIELD(WLProfile, NetworkInfo, 2934, 1036);
WL_CHECK_FIELD(WLProfile, Reserved3970, 3970, 2);

#undef WL_CHECK_FIELD
#undef WL_CHECK_RECORD

// The one copy into a fixed-width text field: at most size-1 characters, the
// rest of the field zeroed, so equal texts give equal bytes. A NUL inside the
// text ends it there, as it ends the field's text.
inline void SetTextField(char* field, size_t size, const AnsiString& text) {
    if (size == 0) return;
    size_t n = std::min(text.find('\0'), text.size());
    if (n > size - 1) n = size - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

template <size_t N>
void SetTextField(char (&field)[N], const AnsiString& text) {
    SetTextField(field, N, text);
}

// A field's text up to its first NUL; a field without one is read whole and
// no further.
inline AnsiString TextField(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return AnsiString(field,
                      nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size);
}

template <size_t N>
AnsiString TextField(const char (&field)[N]) {
    return TextField(field, N);
}

// The library keeps profiles as registry keys, which tell no case of A to Z apart: a name
// names a stored profile whatever the case of those letters.
inline bool SameProfileName(const AnsiString& a, const AnsiString& b) {
    return CompareText(a, b) == 0;
}

// A network name by its length field, which the library may report beyond
// the 32 bytes the name can have; read up to a NUL within that length.
inline AnsiString SsidText(const char* ssid, uint32_t length) {
    return TextField(ssid, length < kMaxSsidLength ? length : kMaxSsidLength);
}

// The mode a network in range is shown and joined in: 0 ad hoc, 1 infrastructure. The survey
// also reports 2 (auto or unknown), which no profile may hold: such a network is an
// infrastructure one, on the pages as in the profile made from it.
inline int32_t JoinedNetworkMode(const SiteSurveyEntry& entry) {
    return entry.InfrastructureMode == 0 ? 0 : 1;
}

// How many entries of a survey buffer may be read.
inline uint32_t SurveyEntryCount(const SiteSurveyBuffer& buffer) {
    return buffer.Count < kMaxSurveyEntries ? buffer.Count : kMaxSurveyEntries;
}
