#include "Uwizardrules.h"

#include "../core/Ucommonstring.h"
#include "../core/Udefine.h"
#include "../core/Umessages.h"
#include "../core/Uprofile.h"

bool WizardShowsIpPage(int32_t winVer) {
    return winVer == 5 || winVer == 6;
}

bool IsSecurityPage(TWizardPage page) {
    return page == TWizardPage::WEP || page == TWizardPage::WPAPSK || page == TWizardPage::WPA ||
           page == TWizardPage::Radius;
}

WizardStep NextWizardPage(TWizardPage current, const WLProfile& profile, int32_t winVer,
                          const WizardHasPage& hasPage) {
    WizardStep step;
    switch (current) {
        case TWizardPage::None:
            step.Page = TWizardPage::WlNetwork;
            break;
        case TWizardPage::WlNetwork:
            if (WizardShowsIpPage(winVer)) {
                step.Page = TWizardPage::Network;
            } else {
                step.Page = TWizardPage::NetType;
                step.ClearApplyNetwork = true;
            }
            break;
        case TWizardPage::Network:
            step.Page = TWizardPage::NetType;
            break;
        case TWizardPage::NetType:
            step.Page = profile.NetworkMode == 1 ? TWizardPage::Security : TWizardPage::Channel;
            break;
        case TWizardPage::Channel:
            step.Page = TWizardPage::Security;
            break;
        case TWizardPage::Security:
            switch (profile.EncryptionMethod) {
                case 1:
                    step.Page = TWizardPage::WEP;
                    break;
                case 2:
                    step.Page = TWizardPage::WPAPSK;
                    break;
                case 3:
                    step.Page = TWizardPage::WPA;
                    break;
                case 4:
                    step.Page = TWizardPage::Radius;
                    break;
                default:
                    step.Page = TWizardPage::Confirm;
                    break;
            }
            if (IsSecurityPage(step.Page) && !(hasPage && hasPage(step.Page)))
                step.Page = TWizardPage::Confirm;
            break;
        case TWizardPage::WEP:
        case TWizardPage::WPAPSK:
        case TWizardPage::WPA:
        case TWizardPage::Radius:
            step.Page = TWizardPage::Confirm;
            break;
        case TWizardPage::Confirm:
        case TWizardPage::Finish:
            break;
    }
    return step;
}

std::vector<TWizardButton> WizardButtonStrip(TWizardPage page, int mode) {
    switch (page) {
        case TWizardPage::None:
            return {};
        case TWizardPage::WlNetwork:
            return {TWizardButton::Manual, TWizardButton::Exit};
        case TWizardPage::Confirm:
            return {TWizardButton::Save, TWizardButton::Back, TWizardButton::Exit};
        case TWizardPage::Finish:
            if (mode == WizardModeFirstRun) return {TWizardButton::ConnectNet};
            return {TWizardButton::ConnectNet, TWizardButton::ToProfScr};
        default:
            return {TWizardButton::Next, TWizardButton::Back};
    }
}

int32_t PlaceStripButton(int32_t& right, int index, int32_t width) {
    if (index == 0) right = kButtonStripRight;
    right -= width;
    return right;
}

AnsiString TrimBlanks(const AnsiString& text) {
    size_t start = 0;
    size_t end = text.size();
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

AnsiString WizardSsid(const AnsiString& typed) {
    AnsiString text = TrimBlanks(typed);
    if (text.size() > kMaxSsidLength) text.resize(kMaxSsidLength);
    return text;
}

bool StoreNetworkType(WLProfile& profile, bool infrastructure, const AnsiString& typed,
                      int32_t defaultABGMode) {
    AnsiString ssid = WizardSsid(typed);
    if (infrastructure) {
        profile.NetworkMode = 1;
        profile.ABGMode = defaultABGMode;
    } else {
        profile.NetworkMode = 0;
        if (ssid.empty()) return false;
    }
    SetTextField(profile.Ssid1, ssid);
    return true;
}

std::vector<WizardChoice> ChannelModeChoices(const CCommonString& words, int32_t bandBits) {
    std::vector<WizardChoice> choices;
    if (bandBits & 3) choices.push_back({words.Mixed_Mode, kModeMixed});
    if (bandBits & 2) choices.push_back({words.G_Only, kModeGOnly});
    return choices;
}

std::vector<int32_t> ChannelBandsForMode(int32_t mode) {
    int32_t bits = BandModeMask(mode);
    std::vector<int32_t> bands;
    if (bits & 4) bands.push_back(2);
    if (bits & 1) {
        bands.push_back(1);
    } else if (bits & 2) {
        bands.push_back(4);
    }
    return bands;
}

std::vector<WizardChoice> SecurityChoices(const CCommonString& words, int32_t networkMode) {
    std::vector<int32_t> methods = {0, 1};
    if (networkMode == 1) methods = {0, 1, 2, 3, 4};
    std::vector<WizardChoice> choices;
    for (int32_t m : methods) choices.push_back({SecurityWord(words, m), m});
    return choices;
}

void StoreSecurityChoice(const CFAGlobalVar& settings, WLProfile& profile, int32_t chosen) {
    if (chosen == profile.EncryptionMethod) return;
    ResetProfileSecurity(settings, profile);
    profile.EncryptionMethod = chosen;
}

namespace {

AnsiString WepLevelWord(const CCommonString& words, int32_t level) {
    switch (level) {
        case 1:
            return words.WEP_64;
        case 2:
            return words.WEP_128;
        case 3:
            return words.WEP_152;
        default:
            return "";
    }
}

}  // namespace

ConfirmTexts ConfirmLines(const CCommonString& words, const WLProfile& p,
                          const std::function<AnsiString(const uint8_t* address)>& ipText) {
    ConfirmTexts lines;
    bool infrastructure = p.NetworkMode == 1;
    lines[kConfirmSsid] = TextField(p.Ssid1);
    lines[kConfirmNetType] = infrastructure ? words.Infrastructure : words.asAdHoc;
    lines[kConfirmChannel] =
        infrastructure || p.Channel == 0 ? words.Auto : Format("%d", p.Channel);
    if (p.ABGMode == 1) {
        lines[kConfirmWlMode] = words.B_Only;
    } else if (p.ABGMode == 3) {
        lines[kConfirmWlMode] = words.G_Only;
    } else {
        lines[kConfirmWlMode] = words.Mixed_Mode;
    }
    lines[kConfirmSecurity] = SecurityWord(words, p.EncryptionMethod);
    if (p.EncryptionMethod == 1) {
        AnsiString level = WepLevelWord(words, p.WEPEncryptionLevel);
        // The word comes from the string file: joined, never used as a format.
        if (!level.empty()) lines[kConfirmSecurity] += "(" + level + ")";
    }
    lines[kConfirmAuthen] = AuthenWord(words, p);
    const NetworkInfo& ni = p.NetworkInfo;
    bool fixed = (ni.NI_wNetFlags & 1) != 0;
    const uint8_t* addresses[] = {ni.NI_IpAddr, ni.NI_IpMask, ni.NI_IpGate1, ni.NI_IpDNS1};
    for (int i = 0; i < 4; ++i)
        lines[kConfirmIp + i] = fixed && ipText ? ipText(addresses[i]) : words.Auto;
    return lines;
}
