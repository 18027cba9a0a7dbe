// The words of the user interface: units, link states, network, security and
// mode names. English by default; section "Common" of the string file
// replaces them key by key.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../classlib/AnsiString.h"
#include "../classlib/CustomIniFile.h"

class CCommonString {
public:
    CCommonString();

    // Every word from [Common], its current text as the default.
    void LoadCommonStrings(TCustomIniFile& stringFile);

    AnsiString Unknow;
    AnsiString dBm;
    AnsiString dB;
    AnsiString Kbps;
    AnsiString Mbps;
    AnsiString GHz;
    AnsiString Auto;
    AnsiString Scanning;
    AnsiString Connected;
    AnsiString Connecting;
    AnsiString DisConnected;
    AnsiString Authenticating;
    AnsiString AuthenRetry;
    AnsiString AuthenFail;
    AnsiString Authenticated;
    AnsiString Enabled;
    AnsiString Disabled;
    AnsiString Signal;
    AnsiString Quality;
    AnsiString TrustAny;
    AnsiString None;
    AnsiString NotUse;
    AnsiString Infrastructure;
    AnsiString asAdHoc;
    AnsiString Encrypt_None;
    AnsiString Encrypt_WEP;
    AnsiString Encrypt_WPA_PSK;
    AnsiString Encrypt_WPA;
    AnsiString Encrypt_Radius;
    AnsiString Encrypt_LEAP;
    AnsiString Encrypt_WPA2_PSK;
    AnsiString Encrypt_WPA2;
    AnsiString Encrypt_WPA_WPA2_PSK;
    AnsiString Encrypt_WPA_WPA2;
    AnsiString Authen_None;
    AnsiString Authen_MD5;
    AnsiString Authen_LEAP;
    AnsiString Authen_TLS;
    AnsiString Authen_TTLS;
    AnsiString Authen_PEAP;
    AnsiString WEP_64;
    AnsiString WEP_128;
    AnsiString WEP_152;
    AnsiString WPA_TKIP;
    AnsiString WPA_AES;
    AnsiString AuthModeOpen;
    AnsiString AuthModeShare;
    AnsiString AuthModeAuto;
    AnsiString AuthModeWPA;
    AnsiString AuthModeWPA2;
    AnsiString AuthModeWPA_PSK;
    AnsiString AuthModeWPA2_PSK;
    AnsiString EAP_GTC;
    AnsiString EAP_MSCHAP_2;
    AnsiString Drv_Encrypt_None;
    AnsiString Drv_Encrypt_WEP;
    AnsiString Drv_Encrypt_AES;
    AnsiString Drv_Encrypt_CKIP;
    AnsiString Drv_Encrypt_TKIP;
    AnsiString _802B;
    AnsiString _802G;
    AnsiString _802A;
    AnsiString _802G_Trb;
    AnsiString _802A_Trb;
    AnsiString PowSaveNo;
    AnsiString PowSaveMax;
    AnsiString PowSaveFast;
    AnsiString PreambleLong;
    AnsiString PreambleShort;
    AnsiString PreambleAuto;
    AnsiString RoamNo;
    AnsiString RoamDef;
    AnsiString RoamOpt;
    AnsiString B_Only;
    AnsiString G_Only;
    AnsiString Mixed_Mode;

    struct Word {
        const char* key;
        AnsiString CCommonString::*field;
        const char* english;
    };
    static const Word kWords[];
    static const size_t kWordCount;
};

// The word of a security code, numbered as a profile's EncryptionMethod and a status's
// SecurityCode; empty for a code outside 0 to 7.
AnsiString SecurityWord(const CCommonString& words, int32_t code);

struct WLProfile;
// The second word of a profile's security, as the profile page and the wizard's summary show
// it: the authentication of an open or WEP profile, the cipher of the pre-shared key kinds,
// the inner method of the 802.1x kinds; empty for LEAP, a code above 7 or a value without a
// word.
AnsiString AuthenWord(const CCommonString& words, const WLProfile& profile);
