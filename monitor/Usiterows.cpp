#include "Usiterows.h"

#include <cstring>

#include "../core/Udefine.h"

namespace {

int Sign(long long a, long long b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

AnsiString SiteMacText(const uint8_t (&mac)[6], char separator) {
    return Format("%02X%c%02X%c%02X%c%02X%c%02X%c%02X", mac[0], separator, mac[1], separator,
                  mac[2], separator, mac[3], separator, mac[4], separator, mac[5]);
}

SiteRow SiteRowFor(const CFAGlobalVar& settings, const SiteSurveyEntry& entry,
                   const std::function<int32_t(uint32_t)>& frequencyToChannel) {
    SiteRow row;
    row.Ssid = SsidText(entry.Ssid.Ssid, entry.Ssid.SsidLength);
    row.Channel = frequencyToChannel ? frequencyToChannel(entry.Configuration.DSConfig) : 0;
    row.Percent = SignalToPercent(static_cast<int16_t>(entry.Rssi));
    row.ChannelText = Format("%d", row.Channel);
    row.SignalText = Format("%d%%", row.Percent);
    row.Security = EncryptionText(settings, entry.Privacy);
    std::memcpy(row.MacBytes, entry.MacAddress, sizeof(row.MacBytes));
    row.Mac = SiteMacText(entry.MacAddress, ':');
    row.Icon = JoinedNetworkMode(entry) == 1 ? kSiteIconInfrastructure : kSiteIconAdHoc;
    if (entry.Privacy != 0) row.Icon += kSiteIconSecuredOffset;
    return row;
}

SiteDetails SiteDetailsFor(const CFAGlobalVar& settings, const SiteListEntry& listed) {
    const CCommonString& words = settings.Words;
    SiteDetails d;
    d.Ssid = listed.Row.Ssid;
    d.WlMode = JoinedNetworkMode(listed.Entry) == 1 ? words.Infrastructure : words.asAdHoc;
    d.Channel = listed.Row.ChannelText;
    d.Security = listed.Row.Security;
    d.Mac = SiteMacText(listed.Row.MacBytes, '-');
    return d;
}

int CompareSiteRows(const SiteRow& a, const SiteRow& b, int32_t column, intptr_t direction) {
    int result;
    switch (column) {
        case kSiteSortChannel:
            // The driver's channel numbers are compared as unsigned values.
            result = Sign(static_cast<uint32_t>(a.Channel), static_cast<uint32_t>(b.Channel));
            break;
        case kSiteSortSignal:
            result = Sign(static_cast<uint32_t>(a.Percent), static_cast<uint32_t>(b.Percent));
            break;
        case kSiteSortSecurity:
            result = CompareText(a.Security, b.Security);
            break;
        case kSiteSortMac: {
            int d = std::memcmp(a.MacBytes, b.MacBytes, sizeof(a.MacBytes));
            result = d < 0 ? -1 : (d > 0 ? 1 : 0);
            break;
        }
        default:
            result = CompareText(a.Ssid, b.Ssid);
            break;
    }
    return result * static_cast<int>(direction);
}

void SiteHeaderClick(int32_t& column, intptr_t& direction, int32_t key) {
    if (column == key) {
        direction = -direction;
    } else {
        column = key;
    }
}
