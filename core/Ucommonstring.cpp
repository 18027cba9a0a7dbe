#include "Ucommonstring.h"

#include "Uvyxwltypes.h"

// Table order is the order of the string file's keys; "Not Use" holds a blank.
const CCommonString::Word CCommonString::kWords[] = {
    {"Unknow", &CCommonString::Unknow, "N/A"},
    {"dBm", &CCommonString::dBm, "dBm"},
    {"dB", &CCommonString::dB, "dB"},
    {"Kbps", &CCommonString::Kbps, "Kbps"},
    {"Mbps", &CCommonString::Mbps, "Mbps"},
    {"GHz", &CCommonString::GHz, "GHz"},
    {"Auto", &CCommonString::Auto, "Auto"},
    {"Scanning", &CCommonString::Scanning, "Scanning"},
    {"Connected", &CCommonString::Connected, "Connected"},
    {"Connecting", &CCommonString::Connecting, "Connecting..."},
    {"DisConnected", &CCommonString::DisConnected, "Disconnected"},
    {"Authenticating", &CCommonString::Authenticating, "Authenticating..."},
    {"AuthenRetry", &CCommonString::AuthenRetry, "Authentication Failed, Retrying..."},
    {"AuthenFail", &CCommonString::AuthenFail, "Authentication Failed"},
    {"Authenticated", &CCommonString::Authenticated, "Authenticated"},
    {"Enabled", &CCommonString::Enabled, "Enabled"},
    {"Disabled", &CCommonString::Disabled, "Disabled"},
    {"Signal", &CCommonString::Signal, "Signal"},
    {"Quality", &CCommonString::Quality, "Quality"},
    {"TrustAny", &CCommonString::TrustAny, "Trust Any"},
    {"None", &CCommonString::None, "None"},
    {"Not Use", &CCommonString::NotUse, "Not Use"},
    {"Infrastructure", &CCommonString::Infrastructure, "Infrastructure"},
    {"asAdHoc", &CCommonString::asAdHoc, "Ad-Hoc"},
    {"Encrypt_None", &CCommonString::Encrypt_None, "Disabled"},
    {"Encrypt_WEP", &CCommonString::Encrypt_WEP, "WEP"},
    {"Encrypt_WPA_PSK", &CCommonString::Encrypt_WPA_PSK, "WPA-PSK"},
    {"Encrypt_WPA", &CCommonString::Encrypt_WPA, "WPA"},
    {"Encrypt_Radius", &CCommonString::Encrypt_Radius, "RADIUS"},
    {"Encrypt_LEAP", &CCommonString::Encrypt_LEAP, "LEAP"},
    {"Encrypt_WPA2_PSK", &CCommonString::Encrypt_WPA2_PSK, "WPA2-PSK"},
    {"Encrypt_WPA2", &CCommonString::Encrypt_WPA2, "WPA2"},
    {"Encrypt_WPA_WPA2_PSK", &CCommonString::Encrypt_WPA_WPA2_PSK, "WPA-PSK/WPA2-PSK"},
    {"Encrypt_WPA_WPA2", &CCommonString::Encrypt_WPA_WPA2, "WPA/WPA2"},
    {"Authen_None", &CCommonString::Authen_None, "None"},
    {"Authen_MD5", &CCommonString::Authen_MD5, "MD5"},
    {"Authen_LEAP", &CCommonString::Authen_LEAP, "LEAP"},
    {"Authen_TLS", &CCommonString::Authen_TLS, "TLS"},
    {"Authen_TTLS", &CCommonString::Authen_TTLS, "TTLS"},
    {"Authen_PEAP", &CCommonString::Authen_PEAP, "PEAP"},
    {"WEP_64", &CCommonString::WEP_64, "64-bit"},
    {"WEP_128", &CCommonString::WEP_128, "128-bit"},
    {"WEP_152", &CCommonString::WEP_152, "152-bit"},
    {"WPA_TKIP", &CCommonString::WPA_TKIP, "TKIP"},
    {"WPA_AES", &CCommonString::WPA_AES, "AES"},
    {"AuthModeOpen", &CCommonString::AuthModeOpen, "Open"},
    {"AuthModeShare", &CCommonString::AuthModeShare, "Shared"},
    {"AuthModeAuto", &CCommonString::AuthModeAuto, "Auto Switch"},
    {"AuthModeWPA", &CCommonString::AuthModeWPA, "WPA"},
    {"AuthModeWPA2", &CCommonString::AuthModeWPA2, "WPA2"},
    {"AuthModeWPA_PSK", &CCommonString::AuthModeWPA_PSK, "WPA-PSK"},
    {"AuthModeWPA2_PSK", &CCommonString::AuthModeWPA2_PSK, "WPA2-PSK"},
    {"EAP_GTC", &CCommonString::EAP_GTC, "EAP-GTC"},
    {"EAP_MSCHAP_2", &CCommonString::EAP_MSCHAP_2, "EAP-MSCHAP V2"},
    {"Drv_Encrypt_None", &CCommonString::Drv_Encrypt_None, "None"},
    {"Drv_Encrypt_WEP", &CCommonString::Drv_Encrypt_WEP, "WEP"},
    {"Drv_Encrypt_AES", &CCommonString::Drv_Encrypt_AES, "AES"},
    {"Drv_Encrypt_CKIP", &CCommonString::Drv_Encrypt_CKIP, "CKIP"},
    {"Drv_Encrypt_TKIP", &CCommonString::Drv_Encrypt_TKIP, "TKIP"},
    {"802B", &CCommonString::_802B, "802.11b"},
    {"802G", &CCommonString::_802G, "802.11g"},
    {"802A", &CCommonString::_802A, "802.11a"},
    {"802G_Trb", &CCommonString::_802G_Trb, "802.11g Turbo"},
    {"802A_Trb", &CCommonString::_802A_Trb, "802.11a Turbo"},
    {"PowSaveNo", &CCommonString::PowSaveNo, "No Power Saving"},
    {"PowSaveMax", &CCommonString::PowSaveMax, "Max Power Saving"},
    {"PowSaveFast", &CCommonString::PowSaveFast, "Fast Power Saving"},
    {"PreambleLong", &CCommonString::PreambleLong, "Long Preamble"},
    {"PreambleShort", &CCommonString::PreambleShort, "Short Preamble"},
    {"PreambleAuto", &CCommonString::PreambleAuto, "Auto"},
    {"RoamNo", &CCommonString::RoamNo, "Do not consider roaming"},
    {"RoamDef", &CCommonString::RoamDef, "Default roaming mode"},
    {"RoamOpt", &CCommonString::RoamOpt, "Optimized in roaming"},
    {"B_Only", &CCommonString::B_Only, "B-Only"},
    {"G_Only", &CCommonString::G_Only, "G-Only"},
    {"Mixed_Mode", &CCommonString::Mixed_Mode, "Mixed Mode"},
};

const size_t CCommonString::kWordCount = sizeof(kWords) / sizeof(kWords[0]);

CCommonString::CCommonString() {
    for (const Word& w : kWords) this->*w.field = w.english;
}

void CCommonString::LoadCommonStrings(TCustomIniFile& stringFile) {
    for (const Word& w : kWords)
        this->*w.field = stringFile.ReadString("Common", w.key, this->*w.field);
}

AnsiString SecurityWord(const CCommonString& words, int32_t code) {
    switch (code) {
        case 0:
            return words.Encrypt_None;
        case 1:
            return words.Encrypt_WEP;
        case 2:
            return words.Encrypt_WPA_PSK;
        case 3:
            return words.Encrypt_WPA;
        case 4:
            return words.Encrypt_Radius;
        case 5:
            return words.Encrypt_LEAP;
        case 6:
            return words.Encrypt_WPA2_PSK;
        case 7:
            return words.Encrypt_WPA2;
        default:
            return "";
    }
}

AnsiString AuthenWord(const CCommonString& words, const WLProfile& p) {
    switch (p.EncryptionMethod) {
        case 0:
        case 1:
            if (p.AuthenticationMode == 0) return words.AuthModeOpen;
            if (p.AuthenticationMode == 1) return words.AuthModeShare;
            return words.AuthModeAuto;
        case 2:
        case 6:
            if (p.WPAEncryptionType == 1) return words.WPA_TKIP;
            if (p.WPAEncryptionType == 2) return words.WPA_AES;
            return "";
        case 3:
        case 4:
        case 7:
            if (p.MS8021xAuthMode == 1) return words.Authen_TLS;
            if (p.MS8021xAuthMode == 2) return words.Authen_TTLS;
            if (p.MS8021xAuthMode == 3) return words.Authen_PEAP;
            return "";
        default:
            return "";
    }
}
