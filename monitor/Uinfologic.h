// The link information page's rules that need no window: which picture and clips show the link,
// the words of security and authentication, the texts of BSSID, rates and levels, the meters,
// the counters and times of the statistics panel, when a poll renews the lease or reads the IP
// settings, when the internet check is to start or stop, and when an address is known well
// enough to close the progress dialog.
#pragma once

#include <array>
#include <cstdint>

#include "../classlib/AnsiString.h"
#include "../core/Ucommonstring.h"
#include "../core/Uvyxwltypes.h"

// Link pictures; 0 before the first is shown.
enum : int32_t {
    kPictureIdle = 1,          // no link, no mode known
    kPictureAdHocDown = 2,     // ad hoc, not connected
    kPictureAdHocUp = 3,       // ad hoc, connected
    kPictureInfraDown = 4,     // infrastructure, not connected
    kPictureInfraOffline = 5,  // infrastructure, connected, internet not reachable
    kPictureInfraOnline = 6,   // infrastructure, connected, internet reachable
};

// The page's four clips.
enum class TLinkClip { None, RadioUp, RadioDown, InternetUp, InternetDown };

// What a picture state shows: the skin picture, the radio clip at its place, and an internet
// clip (which stays where the page put it once).
struct TPictureLook {
    const char* Picture;
    TLinkClip Radio;
    int RadioLeft;
    int RadioTop;
    TLinkClip Internet;
};
// Null for a state outside 1 to 6.
const TPictureLook* PictureLook(int32_t state);

// A connected poll's picture.
int32_t ConnectedPicture(bool infrastructure, bool internetOk);
// The picture when the link is found down, by the one shown: the same network kind, not
// connected.
int32_t LinkLostPicture(int32_t state);
// The picture of a profile being applied, by its NetworkMode.
int32_t ApplyingPicture(int32_t networkMode);
// The picture after the internet check's report: only 5 and 6 change.
int32_t InternetPicture(int32_t state, bool ok);

// Network mode 1 is infrastructure; anything else ad hoc.
bool IsInfrastructure(int32_t networkMode);
AnsiString NetworkModeWord(const CCommonString& words, int32_t networkMode);
// By the status's security code: the authentication mode for none and WEP, the cipher for the
// pre-shared keys, the EAP method for the 802.1x kinds (the applied profile's own when it was
// applied with that security code); empty for LEAP and unknown codes.
AnsiString AuthenticationWord(const CCommonString& words, const WLStatus& status,
                              const WLProfile& applied);

// "%02X-%02X-%02X-%02X-%02X-%02X".
AnsiString BssidText(const uint8_t (&bssid)[6]);
// A rate byte in 500 kbit/s units as whole Mbit/s, a blank, the word.
AnsiString RateText(uint8_t units, const AnsiString& mbpsWord);
// A level as signed decimal, a blank, the word.
AnsiString LevelText(int32_t level, const AnsiString& dBmWord);
// The meter image (0 to 10) of a record's dBm field: its low 16 bits as signed dBm.
int MeterImage(int32_t dbmField);

// What an IP label shows of a converted address: "0.0.0.0" for the empty text.
AnsiString AddressOrZero(const AnsiString& converted);
// An address text that names an address: neither empty nor "0.0.0.0".
bool AddressKnown(const AnsiString& address);
// The progress dialog of an apply may close: both an address and a DNS server are known.
bool AddressReady(const AnsiString& address, const AnsiString& dns);

// What a connected infrastructure poll does with the internet check.
enum class TInternetStep { Stop, Start, Keep };
// By the address shown and the one the running check was started with (empty when none runs).
TInternetStep InternetCheckStep(const AnsiString& shown, const AnsiString& checking);

// What a connected poll does about the IP settings while the lease renewal after an apply
// counts down (-1: none pending).
enum class TIPStep { Wait, Renew, Read };
// Counts the poll: a countdown above 0 goes down by one and renews when it reaches 0; otherwise
// the settings are read.
TIPStep NextIPStep(int32_t& renewCountdown);
// Polls from an apply to its renewal.
constexpr int32_t kRenewAfterPolls = 2;

// The statistics panel's counters in table order: packets received, packets sent, bytes
// received, bytes sent.
constexpr size_t kCounterCount = 4;
using TCounters = std::array<uint64_t, kCounterCount>;
TCounters StatusCounters(const WLStatus& status);

// The adapter's running 64-bit counts shown against a baseline that Refresh moves, and the
// connected time counted from the tick count across connected polls.
struct TLinkStatistics {
    TCounters CounterBase{};
    TCounters CounterLast{};  // the last connected poll's counts
    uint32_t TotalSeconds = 0;
    uint32_t UpBaseSeconds = 0;
    uint32_t LastTickSeconds = 0;  // 0: no connected poll to count from

    // A page reset: baselines and times 0; CounterLast keeps its counts.
    void Reset();
    // First step of a connected poll, with the tick count in ms.
    void AccountConnectedTime(uint32_t tickMs);
    // A poll without the link, or an apply: the time until the next connected poll is not
    // counted.
    void StopCounting() { LastTickSeconds = 0; }
    // The counts to show: each since its baseline; a count that went backwards becomes its
    // baseline and shows 0.
    TCounters Account(const TCounters& current);
    // The up time, with a baseline beyond the total time taken as 0.
    uint32_t UpSeconds();
    // Refresh: counting starts afresh from the last poll's counts and the total time so far.
    void Restart();
};

// "%d, %02d:%02d:%02d" with days when there is at least one, else "%02d:%02d:%02d".
AnsiString FormatDuration(uint32_t seconds);
// Unsigned decimal, no separators, all 64 bits.
AnsiString CounterText(uint64_t value);
