// The main window's decisions that need no window: the tray icon and its tip, which items the
// tray menu shows, which messages start a device detection or count as a resume, and which
// stored profile the automatic connection takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../core/Uvyxwltypes.h"

// Pictures of the tray's image list.
constexpr int kTrayIconIdle = 0;    // no adapter, or control off
constexpr int kTrayIconActive = 2;  // adapter attached, control on
constexpr int kTrayIconNoLink = 6;  // also the weakest signal step

// What the notification area keeps of a tip, its terminating NUL not counted.
constexpr size_t kTrayTipMax = 127;

// The texts of the tray, built once when the main window prepares itself.
struct TrayTexts {
    AnsiString DevName;
    AnsiString TipDefault;
    AnsiString TipActive;
    AnsiString TipNoLink;
    AnsiString Disabled;  // word table
    AnsiString Signal;    // word table
    AnsiString Quality;   // word table
    AnsiString NoSignal;
    AnsiString Poor;
    AnsiString Good;
    AnsiString VeryGood;
    AnsiString Excellent;
};

// Reads a text of the string file's section "FormMain": key, built-in default.
using FormMainTextReader = std::function<AnsiString(const char* key, const AnsiString& def)>;

// DevName, the tips and the signal words from "FormMain"; TipDefault defaults to appTitle.
TrayTexts LoadTrayTexts(const FormMainTextReader& read, const AnsiString& appTitle,
                        const AnsiString& disabledWord, const AnsiString& signalWord,
                        const AnsiString& qualityWord);

// The format with its first "%s" replaced by text. The format comes from the string file, so it
// is never handed to printf: any other '%' stays as it is.
AnsiString FillFirstPlaceholder(const AnsiString& format, const AnsiString& text);

// At most kTrayTipMax characters.
AnsiString CutTrayTip(const AnsiString& tip);

// The word for a signal or quality percentage.
AnsiString SignalWord(const TrayTexts& texts, int percent);
// 6 below 30 %, 7 below 60 %, 8 below 90 %, 9 from there.
int SignalIcon(int percent);

struct TrayState {
    int Icon = kTrayIconIdle;
    AnsiString Tip;  // cut to kTrayTipMax
};

// The tray while no status counts: no adapter; attached with control on; attached, control off.
TrayState TrayForAdapter(const TrayTexts& texts, bool attached, bool utilityEnabled);
// Control on and the link down, the status unreadable, or a profile just applied.
TrayState TrayNoLink(const TrayTexts& texts);
// Control on and a status read: the link state, and while connected signal and quality.
TrayState TrayForStatus(const TrayTexts& texts, const WLStatus& status);

// Windows NT 5.1 and 5.2, the versions with the system's zero-configuration service.
constexpr int32_t kWinVerZeroConfig = 6;
inline bool ZeroConfigSupported(int32_t winVer) {
    return winVer == kWinVerZeroConfig;
}

// Which items of the tray menu show.
struct TrayMenuItems {
    bool About = true;
    bool UseUtility = false;
    bool UseZeroCfg = false;
    bool Open = true;
    bool Enable = false;
    bool Disable = false;
    bool Close = false;
};

// closeKeys: Shift, Alt and F were held when the right button was released.
TrayMenuItems TrayMenuFor(int32_t winVer, bool zeroCfgOn, bool utilityEnabled, bool closeKeys);

// The tray menu opens only when the foreground window is the program's or there is none.
inline bool TrayMenuMayOpen(bool hasForeground, bool foregroundIsOurs) {
    return !hasForeground || foregroundIsOurs;
}

constexpr uint32_t kMsgPower = 0x48;            // WM_POWER
constexpr uint32_t kMsgPowerBroadcast = 0x218;  // WM_POWERBROADCAST
constexpr uint32_t kMsgDeviceChange = 0x219;    // WM_DEVICECHANGE
constexpr uintptr_t kDevNodesChanged = 7;       // DBT_DEVNODES_CHANGED

// Device changes come in bursts: each one pushes the detection back by this much.
constexpr uint32_t kDeviceTimerMs = 3000;

// A resume from suspend: WM_POWER 2 or 3, WM_POWERBROADCAST 6 or 7.
bool IsResumeMessage(uint32_t msg, uintptr_t wParam);
// WM_DEVICECHANGE with DBT_DEVNODES_CHANGED while device changes are heeded.
bool DeviceChangeRestartsTimer(uintptr_t wParam, bool ignoringDeviceChanges);

// A survey entry as a profile (ProfileFromSurveyEntry with the driver's channel conversion).
using SurveyToProfile = std::function<WLProfile(const SiteSurveyEntry& entry)>;

// The profile's network is in the survey: same SSID, mode, security and, for WPA-PSK and WPA,
// cipher; an open infrastructure profile named "" or "ANY" takes any open infrastructure network.
bool ProfileMatchesScan(const WLProfile& profile, const std::vector<SiteSurveyEntry>& scan,
                        const SurveyToProfile& convert);

// The first usable profile of that name (case ignored) that is ad hoc or whose network is in
// the survey.
const WLProfile* FindAutoConnectProfile(const AnsiString& name,
                                        const std::vector<WLProfile>& profiles,
                                        const std::vector<SiteSurveyEntry>& scan,
                                        const SurveyToProfile& convert);

enum class AutoConnectReason { None, Last, Default, Found };

struct AutoConnectChoice {
    const WLProfile* Profile = nullptr;  // into the profile list; null: nothing qualifies
    AutoConnectReason Reason = AutoConnectReason::None;
};

// The last applied profile, then the default one, then the first in list order in range; a
// profile that is not ProfileIsUsable is never chosen.
AutoConnectChoice ChooseAutoConnectProfile(const std::vector<WLProfile>& profiles,
                                           const std::vector<SiteSurveyEntry>& scan,
                                           const AnsiString& lastName,
                                           const AnsiString& defaultName,
                                           const SurveyToProfile& convert);

// The log line of a choice, with the profile's name; empty for None.
AnsiString AutoConnectLogLine(const AutoConnectChoice& choice);

// What a due automatic connection does with the profile list it asked for.
enum class AutoConnectStep {
    StayDue,         // the list is not loaded yet: try again at the next poll
    FirstRunWizard,  // no profile is stored
    Choose,
};
AutoConnectStep AutoConnectStepFor(bool profilesRead, size_t profileCount);
