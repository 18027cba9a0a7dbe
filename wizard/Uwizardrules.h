// The profile wizard's decisions that need no window: which page follows which, the button strip
// of each page and its placing from the right, what the network type, channel and security type
// pages offer and keep, and the summary's lines.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../core/Uvyxwltypes.h"

class CCommonString;
class CFAGlobalVar;

// The wizard's pages, and the finish page shown after Save.
enum class TWizardPage {
    None,  // before the first page, and after the summary
    WlNetwork,
    Network,  // IP settings
    NetType,
    Channel,
    Security,
    WEP,
    WPAPSK,
    WPA,
    Radius,
    Confirm,  // summary
    Finish,
};

// Where Next goes from a page, with the profile as that page just left it.
struct WizardStep {
    TWizardPage Page = TWizardPage::None;
    // The IP settings page is skipped: the profile then applies no IP settings.
    bool ClearApplyNetwork = false;
};

// Windows version codes whose IP settings the wizard sets.
bool WizardShowsIpPage(int32_t winVer);

// Whether the window holds the page of a step.
using WizardHasPage = std::function<bool(TWizardPage page)>;

// The next page from current; None after the summary (and the finish page). A security kind the
// wizard has no page for, or whose page the window does not hold (hasPage), leads to the summary.
WizardStep NextWizardPage(TWizardPage current, const WLProfile& profile, int32_t winVer,
                          const WizardHasPage& hasPage);

// True for the four pages the security type page leads to.
bool IsSecurityPage(TWizardPage page);

enum class TWizardButton { Manual, Next, Back, Exit, Save, ConnectNet, ToProfScr, Count };

// The buttons a page shows, from the right. The finish page has no Back and no Exit, and
// in the first-run mode no way to the profile page.
std::vector<TWizardButton> WizardButtonStrip(TWizardPage page, int mode);

// Buttons sit edge to edge, the first ending at x 575, on one line at y 368.
constexpr int32_t kButtonStripRight = 575;
constexpr int32_t kButtonStripTop = 368;
// The left of the button placed at index in a strip: index 0 starts the strip again at
// kButtonStripRight; right is the running right edge, moved left by the button's width.
int32_t PlaceStripButton(int32_t& right, int index, int32_t width);

// Blanks and control characters (code 32 or below) cut from both ends.
AnsiString TrimBlanks(const AnsiString& text);

// The network type page's SSID: blanks and control characters trimmed from both ends, then
// cut to the field's 32 characters.
AnsiString WizardSsid(const AnsiString& typed);

// What Next on the network type page stores: the network mode, for infrastructure the default
// wireless mode, and the SSID. False, with only NetworkMode set (to ad hoc), for an ad hoc
// network without an SSID.
bool StoreNetworkType(WLProfile& profile, bool infrastructure, const AnsiString& typed,
                      int32_t defaultABGMode);

// One item of a drop-down list: its word and the value it stands for.
struct WizardChoice {
    AnsiString Text;
    int32_t Value = 0;
};

// Wireless mode codes of the channel page's list.
constexpr int32_t kModeMixed = 11;  // b and g: lists band 1
constexpr int32_t kModeGOnly = 3;   // lists band 4
// The channel page's mode list for the bands an adapter's mode code allows (BandModeMask).
std::vector<WizardChoice> ChannelModeChoices(const CCommonString& words, int32_t bandBits);
// The bands whose channels the channel list shows for a chosen mode (0: none chosen), in order.
std::vector<int32_t> ChannelBandsForMode(int32_t mode);

// The security type page's list: five kinds for infrastructure, no security or WEP ad hoc.
std::vector<WizardChoice> SecurityChoices(const CCommonString& words, int32_t networkMode);
// Next on the security type page: another kind than the profile's resets every security field
// first; the same kind keeps the keys and pass phrases the profile has.
void StoreSecurityChoice(const CFAGlobalVar& settings, WLProfile& profile, int32_t chosen);

// The summary page's ten labels, top to bottom.
enum ConfirmLine {
    kConfirmSsid,
    kConfirmNetType,
    kConfirmChannel,
    kConfirmWlMode,
    kConfirmSecurity,
    kConfirmAuthen,
    kConfirmIp,
    kConfirmMask,
    kConfirmGateway,
    kConfirmDns,
    kConfirmLineCount
};
using ConfirmTexts = std::array<AnsiString, kConfirmLineCount>;
// ipText is the driver library's VYXWL_IPDataToStr of a 4-byte address.
ConfirmTexts ConfirmLines(const CCommonString& words, const WLProfile& profile,
                          const std::function<AnsiString(const uint8_t* address)>& ipText);
