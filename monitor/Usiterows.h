// The rows of a list of networks in range, as the site survey page and the wizard's network
// list show them: each network's texts and icon, and the order a header click gives the list.
#pragma once

#include <cstdint>
#include <functional>

#include "../classlib/AnsiString.h"
#include "../core/Uvyxwltypes.h"

class CFAGlobalVar;

// Icons of the skin's ImageListSiteIcon.
constexpr int kSiteIconInfrastructure = 1;
constexpr int kSiteIconAdHoc = 7;
constexpr int kSiteIconSecuredOffset = 3;

// Sort keys, one a header.
constexpr int32_t kSiteSortSsid = 1;
constexpr int32_t kSiteSortChannel = 3;
constexpr int32_t kSiteSortSignal = 4;
constexpr int32_t kSiteSortSecurity = 6;
constexpr int32_t kSiteSortMac = 7;
// Strongest first, before any header is clicked.
constexpr int32_t kSiteSortFirstColumn = kSiteSortSignal;
constexpr intptr_t kSiteSortFirstDirection = -1;

// What one network shows, and what its row is sorted by.
struct SiteRow {
    AnsiString Ssid;  // the caption
    int32_t Channel = 0;
    int32_t Percent = 0;
    AnsiString ChannelText;
    AnsiString SignalText;  // "70%"
    AnsiString Security;    // the word of the privacy code
    AnsiString Mac;         // "00:A0:C5:11:22:33"
    uint8_t MacBytes[6]{};
    int Icon = kSiteIconInfrastructure;
};

// The network a row of a list owns, with its texts.
struct SiteListEntry {
    SiteSurveyEntry Entry;
    SiteRow Row;
};

// frequencyToChannel is the driver library's VYXWL_FrequencyToChannel.
SiteRow SiteRowFor(const CFAGlobalVar& settings, const SiteSurveyEntry& entry,
                   const std::function<int32_t(uint32_t)>& frequencyToChannel);

// The details of the network a list's selected row shows.
struct SiteDetails {
    AnsiString Ssid;
    AnsiString WlMode;  // the word for infrastructure or ad hoc
    AnsiString Channel;
    AnsiString Security;
    AnsiString Mac;  // "00-A0-C5-11-22-33"
};
SiteDetails SiteDetailsFor(const CFAGlobalVar& settings, const SiteListEntry& listed);

// The six bytes in upper-case hexadecimal, two digits each, joined by separator.
AnsiString SiteMacText(const uint8_t (&mac)[6], char separator);

// Negative puts a first. By column: channel, signal percent, security word (case of A to Z
// ignored), MAC bytes; any other column the SSID (case ignored). Then times direction.
int CompareSiteRows(const SiteRow& a, const SiteRow& b, int32_t column, intptr_t direction);

// A click on the header of key: the same column again turns the direction round; another
// column is taken with the direction kept.
void SiteHeaderClick(int32_t& column, intptr_t& direction, int32_t key);
