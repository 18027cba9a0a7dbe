#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/Udefine.h"
#include "core/Uprofile.h"
#include "monitor/Usiterows.h"

namespace {

// The stand-in's plan for band b and g: channel 1 at 2412 MHz, 5 MHz apart.
int32_t Channel(uint32_t kHz) {
    return kHz >= 2412000 ? static_cast<int32_t>((kHz - 2407000) / 5000) : 0;
}

SiteSurveyEntry Entry(const std::string& ssidBytes, uint32_t length, uint32_t kHz, int32_t rssi,
                      int32_t privacy, int32_t mode, uint8_t lastMac) {
    SiteSurveyEntry e;
    std::memcpy(e.Ssid.Ssid, ssidBytes.data(), std::min<size_t>(ssidBytes.size(), 32));
    e.Ssid.SsidLength = length;
    e.Configuration.DSConfig = kHz;
    e.Rssi = rssi;
    e.Privacy = privacy;
    e.InfrastructureMode = mode;
    const uint8_t mac[6] = {0x00, 0xA0, 0xC5, 0x0B, 0xFE, lastMac};
    std::memcpy(e.MacAddress, mac, 6);
    return e;
}

}  // namespace

TEST(SiteRows, TextsAndIconOfANetwork) {
    CFAGlobalVar g;
    const std::string name32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    struct Case {
        SiteSurveyEntry entry;
        const char* caption;
        const char* channel;
        const char* signal;
        const char* security;
        const char* mac;
        int icon;
        const char* mode;  // the details' mode word
    } cases[] = {
        {Entry("Lobby", 5, 2412000, -60, 0, 1, 0x01), "Lobby", "1", "70%", "Disabled",
         "00:A0:C5:0B:FE:01", 1, "Infrastructure"},
        // the length reaches beyond the name: 32 bytes at most
        {Entry(name32, 40, 2437000, -50, 23, 1, 0xAB), name32.c_str(), "6", "90%", "WPA-PSK",
         "00:A0:C5:0B:FE:AB", 4, "Infrastructure"},
        // a NUL inside the length ends the name; the length cuts what follows it
        {Entry(std::string("Caf\0junk", 8), 8, 2462000, -95, 1, 0, 0x10), "Caf", "11", "0%", "WEP",
         "00:A0:C5:0B:FE:10", 10, "Ad-Hoc"},
        {Entry("Meshnet", 4, 2472000, -20, 0, 0, 0xFF), "Mesh", "13", "100%", "Disabled",
         "00:A0:C5:0B:FE:FF", 7, "Ad-Hoc"},
        // the survey's 2 (auto or unknown) is joined, and so shown, as infrastructure; a
        // frequency the driver cannot map is channel 0
        {Entry("Odd", 3, 1000, -70, 10, 2, 0x00), "Odd", "0", "50%", "WPA", "00:A0:C5:0B:FE:00", 4,
         "Infrastructure"},
        {Entry("Odder", 5, 2412000, -70, 0, -1, 0x02), "Odder", "1", "50%", "Disabled",
         "00:A0:C5:0B:FE:02", 1, "Infrastructure"},
    };
    for (const Case& c : cases) {
        SiteRow row = SiteRowFor(g, c.entry, Channel);
        EXPECT_EQ(row.Ssid, c.caption);
        EXPECT_EQ(row.ChannelText, c.channel) << c.caption;
        EXPECT_EQ(row.SignalText, c.signal) << c.caption;
        EXPECT_EQ(row.Security, c.security) << c.caption;
        EXPECT_EQ(row.Mac, c.mac) << c.caption;
        EXPECT_EQ(row.Icon, c.icon) << c.caption;
        SiteDetails d = SiteDetailsFor(g, SiteListEntry{c.entry, row});
        std::string mac = c.mac;
        std::replace(mac.begin(), mac.end(), ':', '-');
        EXPECT_EQ(
            d.Ssid + "|" + d.WlMode + "|" + d.Channel + "|" + d.Security + "|" + d.Mac,
            std::string(c.caption) + "|" + c.mode + "|" + c.channel + "|" + c.security + "|" + mac);
        // what Connect makes of the network is what the page shows
        WLProfile made;
        ProfileFromSurveyEntry(g, c.entry, made, Channel);
        EXPECT_EQ(made.NetworkMode == 1 ? g.Words.Infrastructure : g.Words.asAdHoc, d.WlMode)
            << c.caption;
    }
    // the security word is the word table's
    g.Words.Encrypt_WEP = "Schluessel";
    EXPECT_EQ(SiteRowFor(g, Entry("X", 1, 2412000, -60, 1, 1, 1), Channel).Security, "Schluessel");
    const uint8_t mac[6] = {0x0A, 0xB0, 0x00, 0x01, 0x7F, 0xC8};
    EXPECT_EQ(SiteMacText(mac, '-'), "0A-B0-00-01-7F-C8");
}

TEST(SiteRows, SortByEachColumnAndHeaderClicks) {
    CFAGlobalVar g;
    // name, channel, signal, security, MAC: every column orders them differently
    std::vector<SiteRow> rows = {
        SiteRowFor(g, Entry("bravo", 5, 2437000, -50, 23, 1, 0x30), Channel),  // 6, 90%, WPA-PSK
        SiteRowFor(g, Entry("Alpha", 5, 2462000, -80, 0, 1, 0x20), Channel),   // 11, 30%, Disabled
        SiteRowFor(g, Entry("charlie", 7, 2412000, -65, 10, 1, 0x10), Channel),  // 1, 60%, WPA
        SiteRowFor(g, Entry("Delta", 5, 2422000, -70, 1, 0, 0x40), Channel),     // 3, 50%, WEP
    };
    int32_t column = kSiteSortFirstColumn;
    intptr_t direction = kSiteSortFirstDirection;
    auto order = [&] {
        std::vector<SiteRow> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const SiteRow& a, const SiteRow& b) {
            return CompareSiteRows(a, b, column, direction) < 0;
        });
        std::string names;
        for (const SiteRow& r : sorted) names += r.Ssid + " ";
        return names;
    };
    struct Step {
        int32_t click;  // 0: no click
        const char* order;
    } steps[] = {
        {0, "bravo charlie Delta Alpha "},                // strongest first at the start
        {kSiteSortSignal, "Alpha Delta charlie bravo "},  // same column: turned round
        {kSiteSortSsid, "Alpha bravo charlie Delta "},  // new column, direction kept, case ignored
        {kSiteSortSsid, "Delta charlie bravo Alpha "},
        {kSiteSortChannel, "Alpha bravo Delta charlie "},   // descending still: 11 6 3 1
        {kSiteSortSecurity, "bravo charlie Delta Alpha "},  // WPA-PSK WPA WEP Disabled
        {kSiteSortMac, "Delta bravo Alpha charlie "},
        {kSiteSortMac, "charlie Alpha bravo Delta "},
        {kSiteSortChannel, "charlie Delta bravo Alpha "},
    };
    for (const Step& s : steps) {
        if (s.click) SiteHeaderClick(column, direction, s.click);
        EXPECT_EQ(order(), s.order) << "after a click on " << s.click;
    }
    // equal rows compare 0 in every column, whatever the direction
    for (int32_t c : {1, 3, 4, 6, 7, 99}) EXPECT_EQ(CompareSiteRows(rows[0], rows[0], c, -1), 0);
}

TEST(SiteRows, CompareTextFoldsOnlyAToZ) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"office", "OFFICE", 0},
        {"Office", "office2", -1},
        {"abc", "ABD", -1},
        {"b", "A", 1},
        {"", "", 0},
        {"[", "a", 1},         // letters compare as upper case, below '['
        {"\xC4", "\xE4", -1},  // letters beyond Z keep their case
    };
    for (const Case& c : cases) {
        int r = CompareText(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
        int back = CompareText(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}
