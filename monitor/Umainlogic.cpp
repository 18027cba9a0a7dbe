#include "Umainlogic.h"

#include "../core/Udefine.h"
#include "../core/Uprofile.h"

namespace {

// "%s (%d%%)": the word and the percentage.
AnsiString PercentText(const TrayTexts& texts, int percent) {
    return SignalWord(texts, percent) + " (" + std::to_string(percent) + "%)";
}

bool IsWpaKind(int32_t method) {
    return method == 2 || method == 3;  // WPA-PSK, WPA
}

}  // namespace

TrayTexts LoadTrayTexts(const FormMainTextReader& read, const AnsiString& appTitle,
                        const AnsiString& disabledWord, const AnsiString& signalWord,
                        const AnsiString& qualityWord) {
    TrayTexts t;
    t.Disabled = disabledWord;
    t.Signal = signalWord;
    t.Quality = qualityWord;
    t.DevName = read("DevName", "PRV300K");
    t.TipDefault = read("TrayTipDefault", appTitle);
    t.TipActive = FillFirstPlaceholder(read("TrayTipActive", "%s is active"), t.DevName);
    t.TipNoLink = t.DevName + "\n" + t.Signal + ": N/A\n" + t.Quality + ": N/A";
    t.NoSignal = read("NoSignal", "No signal");
    t.Poor = read("Poor", "Poor");
    t.Good = read("Good", "Good");
    t.VeryGood = read("VeryGood", "Very good");
    t.Excellent = read("Excellent", "Excellent");
    return t;
}

AnsiString FillFirstPlaceholder(const AnsiString& format, const AnsiString& text) {
    AnsiString result = format;
    size_t at = result.find("%s");
    if (at != AnsiString::npos) result.replace(at, 2, text);
    return result;
}

AnsiString CutTrayTip(const AnsiString& tip) {
    return tip.size() > kTrayTipMax ? tip.substr(0, kTrayTipMax) : tip;
}

AnsiString SignalWord(const TrayTexts& texts, int percent) {
    if (percent <= 0) return texts.NoSignal;
    if (percent <= 25) return texts.Poor;
    if (percent <= 50) return texts.Good;
    if (percent <= 75) return texts.VeryGood;
    return texts.Excellent;
}

int SignalIcon(int percent) {
    if (percent < 30) return 6;
    if (percent < 60) return 7;
    if (percent < 90) return 8;
    return 9;
}

TrayState TrayForAdapter(const TrayTexts& texts, bool attached, bool utilityEnabled) {
    TrayState state;
    if (!attached) {
        state.Tip = texts.TipDefault;
    } else if (utilityEnabled) {
        state.Icon = kTrayIconActive;
        state.Tip = texts.TipActive;
    } else {
        state.Tip = texts.Disabled;
    }
    state.Tip = CutTrayTip(state.Tip);
    return state;
}

TrayState TrayNoLink(const TrayTexts& texts) {
    TrayState state;
    state.Icon = kTrayIconNoLink;
    state.Tip = CutTrayTip(texts.TipNoLink);
    return state;
}

TrayState TrayForStatus(const TrayTexts& texts, const WLStatus& status) {
    if (status.MediaConnect != 0) return TrayNoLink(texts);
    // The percentages take the low 16 bits of the dBm fields.
    int signal = SignalToPercent(static_cast<int16_t>(status.SignalDbm & 0xFFFF));
    int quality = SignalToPercent(static_cast<int16_t>(status.NoiseDbm & 0xFFFF));
    TrayState state;
    state.Icon = SignalIcon(signal);
    state.Tip = CutTrayTip(texts.DevName + "\n" + texts.Signal + ": " + PercentText(texts, signal) +
                           "\n" + texts.Quality + ": " + PercentText(texts, quality));
    return state;
}

TrayMenuItems TrayMenuFor(int32_t winVer, bool zeroCfgOn, bool utilityEnabled, bool closeKeys) {
    TrayMenuItems items;
    if (ZeroConfigSupported(winVer)) {
        items.UseZeroCfg = !zeroCfgOn;
        items.UseUtility = zeroCfgOn;
    }
    items.Enable = !utilityEnabled;
    items.Disable = utilityEnabled;
    items.Close = closeKeys;
    return items;
}

bool IsResumeMessage(uint32_t msg, uintptr_t wParam) {
    if (msg == kMsgPower) return wParam == 2 || wParam == 3;
    if (msg == kMsgPowerBroadcast) return wParam == 6 || wParam == 7;
    return false;
}

bool DeviceChangeRestartsTimer(uintptr_t wParam, bool ignoringDeviceChanges) {
    return wParam == kDevNodesChanged && !ignoringDeviceChanges;
}

bool ProfileMatchesScan(const WLProfile& profile, const std::vector<SiteSurveyEntry>& scan,
                        const SurveyToProfile& convert) {
    AnsiString ssid = TextField(profile.Ssid1);
    if (ssid == "ANY") ssid.clear();
    if (ssid.empty() && profile.EncryptionMethod == 0 && profile.NetworkMode == 1) {
        for (const SiteSurveyEntry& entry : scan)
            if (entry.Privacy == 0 && JoinedNetworkMode(entry) == 1) return true;
    }
    for (const SiteSurveyEntry& entry : scan) {
        WLProfile network = convert(entry);
        if (TextField(profile.Ssid1) != TextField(network.Ssid1)) continue;
        if (profile.NetworkMode != network.NetworkMode) continue;
        if (profile.EncryptionMethod != network.EncryptionMethod) continue;
        if (IsWpaKind(network.EncryptionMethod) &&
            profile.WPAEncryptionType != network.WPAEncryptionType)
            continue;
        return true;
    }
    return false;
}

const WLProfile* FindAutoConnectProfile(const AnsiString& name,
                                        const std::vector<WLProfile>& profiles,
                                        const std::vector<SiteSurveyEntry>& scan,
                                        const SurveyToProfile& convert) {
    for (const WLProfile& p : profiles) {
        if (!SameProfileName(TextField(p.ProfileName), name) || !ProfileIsUsable(p)) continue;
        if (p.NetworkMode != 1 || ProfileMatchesScan(p, scan, convert)) return &p;
    }
    return nullptr;
}

AutoConnectChoice ChooseAutoConnectProfile(const std::vector<WLProfile>& profiles,
                                           const std::vector<SiteSurveyEntry>& scan,
                                           const AnsiString& lastName,
                                           const AnsiString& defaultName,
                                           const SurveyToProfile& convert) {
    AutoConnectChoice choice;
    if ((choice.Profile = FindAutoConnectProfile(lastName, profiles, scan, convert))) {
        choice.Reason = AutoConnectReason::Last;
    } else if ((choice.Profile = FindAutoConnectProfile(defaultName, profiles, scan, convert))) {
        choice.Reason = AutoConnectReason::Default;
    } else {
        for (const WLProfile& p : profiles) {
            if (!ProfileIsUsable(p) || !ProfileMatchesScan(p, scan, convert)) continue;
            choice.Profile = &p;
            choice.Reason = AutoConnectReason::Found;
            break;
        }
    }
    return choice;
}

AnsiString AutoConnectLogLine(const AutoConnectChoice& choice) {
    if (!choice.Profile) return AnsiString();
    AnsiString name = TextField(choice.Profile->ProfileName);
    switch (choice.Reason) {
        case AutoConnectReason::Last:
            return "auto connect last: " + name;
        case AutoConnectReason::Default:
            return "auto connect default: " + name;
        case AutoConnectReason::Found:
            return "auto connect found: " + name;
        case AutoConnectReason::None:
            break;
    }
    return AnsiString();
}

AutoConnectStep AutoConnectStepFor(bool profilesRead, size_t profileCount) {
    if (!profilesRead) return AutoConnectStep::StayDue;
    return profileCount == 0 ? AutoConnectStep::FirstRunWizard : AutoConnectStep::Choose;
}
