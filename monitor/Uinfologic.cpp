#include "Uinfologic.h"

#include <string>

#include "../core/Udefine.h"

namespace {

// The radio clip's place differs by picture; the internet clips stay at one place.
const TPictureLook kLooks[] = {
    {"ImgInfoAnimate", TLinkClip::RadioDown, 176, 116, TLinkClip::None},
    {"ImgInfoAdHoc1", TLinkClip::RadioDown, 192, 116, TLinkClip::None},
    {"ImgInfoAdHoc2", TLinkClip::RadioUp, 189, 112, TLinkClip::None},
    {"ImgInfoInfra1", TLinkClip::RadioDown, 176, 116, TLinkClip::None},
    {"ImgInfoInfra2", TLinkClip::RadioUp, 170, 112, TLinkClip::InternetDown},
    {"ImgInfoInfra3", TLinkClip::RadioUp, 173, 112, TLinkClip::InternetUp},
};

const char kNoAddress[] = "0.0.0.0";

}  // namespace

const TPictureLook* PictureLook(int32_t state) {
    if (state < kPictureIdle || state > kPictureInfraOnline) return nullptr;
    return &kLooks[state - kPictureIdle];
}

int32_t ConnectedPicture(bool infrastructure, bool internetOk) {
    if (!infrastructure) return kPictureAdHocUp;
    return internetOk ? kPictureInfraOnline : kPictureInfraOffline;
}

int32_t LinkLostPicture(int32_t state) {
    switch (state) {
        case kPictureAdHocDown:
        case kPictureAdHocUp:
            return kPictureAdHocDown;
        case kPictureInfraDown:
        case kPictureInfraOffline:
        case kPictureInfraOnline:
            return kPictureInfraDown;
        default:
            return kPictureIdle;
    }
}

int32_t ApplyingPicture(int32_t networkMode) {
    return IsInfrastructure(networkMode) ? kPictureInfraDown : kPictureAdHocDown;
}

int32_t InternetPicture(int32_t state, bool ok) {
    if (ok && state == kPictureInfraOffline) return kPictureInfraOnline;
    if (!ok && state == kPictureInfraOnline) return kPictureInfraOffline;
    return state;
}

bool IsInfrastructure(int32_t networkMode) {
    return networkMode == 1;
}

AnsiString NetworkModeWord(const CCommonString& words, int32_t networkMode) {
    return IsInfrastructure(networkMode) ? words.Infrastructure : words.asAdHoc;
}

AnsiString AuthenticationWord(const CCommonString& words, const WLStatus& status,
                              const WLProfile& applied) {
    switch (status.SecurityCode) {
        case 0:
        case 1:
            if (status.AuthMode == 0) return words.AuthModeOpen;
            if (status.AuthMode == 1) return words.AuthModeShare;
            return words.AuthModeAuto;
        case 2:
        case 6:
            if (status.WpaCipher == 1) return words.WPA_TKIP;
            if (status.WpaCipher == 2) return words.WPA_AES;
            return "";
        case 3:
        case 4:
        case 7: {
            int32_t method = applied.EncryptionMethod == status.SecurityCode
                                 ? applied.MS8021xAuthMode
                                 : status.EapMethod;
            if (method == 1) return words.Authen_TLS;
            if (method == 2) return words.Authen_TTLS;
            if (method == 3) return words.Authen_PEAP;
            return "";
        }
        default:
            return "";
    }
}

AnsiString BssidText(const uint8_t (&bssid)[6]) {
    return Format("%02X-%02X-%02X-%02X-%02X-%02X", bssid[0], bssid[1], bssid[2], bssid[3], bssid[4],
                  bssid[5]);
}

AnsiString RateText(uint8_t units, const AnsiString& mbpsWord) {
    return std::to_string(units / 2) + " " + mbpsWord;
}

AnsiString LevelText(int32_t level, const AnsiString& dBmWord) {
    return std::to_string(level) + " " + dBmWord;
}

int MeterImage(int32_t dbmField) {
    auto dBm = static_cast<int16_t>(static_cast<uint32_t>(dbmField) & 0xFFFF);
    return SignalToPercent(dBm) * 10 / 100;
}

AnsiString AddressOrZero(const AnsiString& converted) {
    return converted.empty() ? AnsiString(kNoAddress) : converted;
}

bool AddressKnown(const AnsiString& address) {
    return !address.empty() && address != kNoAddress;
}

bool AddressReady(const AnsiString& address, const AnsiString& dns) {
    return AddressKnown(address) && AddressKnown(dns);
}

TInternetStep InternetCheckStep(const AnsiString& shown, const AnsiString& checking) {
    if (!AddressKnown(shown)) return TInternetStep::Stop;
    return shown == checking ? TInternetStep::Keep : TInternetStep::Start;
}

TIPStep NextIPStep(int32_t& renewCountdown) {
    if (renewCountdown <= 0) return TIPStep::Read;
    return --renewCountdown == 0 ? TIPStep::Renew : TIPStep::Wait;
}

TCounters StatusCounters(const WLStatus& status) {
    // Copied out of the packed record, not referenced in it.
    uint64_t rxPackets = status.RxPackets, txPackets = status.TxPackets;
    uint64_t rxBytes = status.RxBytes, txBytes = status.TxBytes;
    return {rxPackets, txPackets, rxBytes, txBytes};
}

void TLinkStatistics::Reset() {
    CounterBase.fill(0);
    TotalSeconds = 0;
    UpBaseSeconds = 0;
    LastTickSeconds = 0;
}

void TLinkStatistics::AccountConnectedTime(uint32_t tickMs) {
    uint32_t now = tickMs / 1000;
    // A tick count that wrapped adds nothing this once.
    if (LastTickSeconds != 0 && LastTickSeconds <= now) TotalSeconds += now - LastTickSeconds;
    LastTickSeconds = now;
}

TCounters TLinkStatistics::Account(const TCounters& current) {
    TCounters shown{};
    for (size_t i = 0; i < kCounterCount; ++i) {
        if (current[i] < CounterBase[i]) CounterBase[i] = current[i];
        shown[i] = current[i] - CounterBase[i];
        CounterLast[i] = current[i];
    }
    return shown;
}

uint32_t TLinkStatistics::UpSeconds() {
    if (TotalSeconds < UpBaseSeconds) UpBaseSeconds = 0;
    return TotalSeconds - UpBaseSeconds;
}

void TLinkStatistics::Restart() {
    CounterBase = CounterLast;
    UpBaseSeconds = TotalSeconds;
}

AnsiString FormatDuration(uint32_t seconds) {
    uint32_t days = seconds / 86400;
    unsigned hours = seconds / 3600 % 24, minutes = seconds / 60 % 60, rest = seconds % 60;
    if (days >= 1) return Format("%u, %02u:%02u:%02u", days, hours, minutes, rest);
    return Format("%02u:%02u:%02u", hours, minutes, rest);
}

AnsiString CounterText(uint64_t value) {
    // By hand: no printf length modifier question on either build.
    char digits[21];
    size_t n = sizeof(digits);
    do {
        digits[--n] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return AnsiString(digits + n, sizeof(digits) - n);
}
