#include <gtest/gtest.h>

#include "FakeIniFile.h"
#include "core/Udefine.h"

TEST(SignalToPercent, TwoPercentPerDbAndClamped) {
    struct Case {
        int16_t dbm;
        int32_t percent;
    } cases[] = {
        {0, 0},
        {-96, 0},
        {-95, 0},
        {-94, 2},
        {-70, 50},
        {-46, 98},
        {-45, 100},
        {-20, 100},
        {1, 100},
        // far-out levels stay at the ends instead of wrapping through 16 bits
        {-32768, 0},
        {-1000, 0},
        {32767, 100},
        {1000, 100},
    };
    for (const Case& c : cases) EXPECT_EQ(SignalToPercent(c.dbm), c.percent) << c.dbm;
}

TEST(EncryptionText, WordByCodeGroup) {
    CFAGlobalVar g;
    struct Case {
        int32_t code;
        const char* word;
    } cases[] = {
        {0, "Disabled"},
        {1, "WEP"},
        {2, "N/A"},
        {10, "WPA"},
        {15, "WPA"},
        {16, "N/A"},
        {20, "WPA-PSK"},
        {99, "WPA-PSK"},
        {100, "N/A"},
        {110, "WPA2"},
        {125, "WPA2-PSK"},
        {199, "WPA2-PSK"},
        {1010, "WPA/WPA2"},
        {1025, "WPA-PSK/WPA2-PSK"},
        {1099, "WPA-PSK/WPA2-PSK"},
        {1100, "N/A"},
        {-1, "N/A"},
    };
    for (const Case& c : cases) EXPECT_EQ(EncryptionText(g, c.code), c.word) << c.code;
    // the word of the table, not an English literal
    g.Words.Encrypt_None = "Aus";
    g.Words.Unknow = "k.A.";
    EXPECT_EQ(EncryptionText(g, 0), "Aus");
    EXPECT_EQ(EncryptionText(g, 7), "k.A.");
}

TEST(ReadHwidList, StopsAtFirstEmptyAndAtCapacity) {
    CFAGlobalVar g;
    DeviceEntry entries[16];
    EXPECT_EQ(ReadHwidList(g, entries, 16), -1);

    auto* ini = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(ini);
    EXPECT_EQ(ReadHwidList(g, entries, 16), 0);

    ini->WriteString("Product", "HWID0", "USB\\VID_1234&PID_0001");
    ini->WriteString("Product", "HWID2", "USB\\VID_1234&PID_0003");
    std::memset(static_cast<void*>(entries), 0x5a, sizeof(entries));
    EXPECT_EQ(ReadHwidList(g, entries, 16), 1);
    EXPECT_STREQ(entries[0].HardwareId, "USB\\VID_1234&PID_0001");
    EXPECT_EQ(entries[0].Reserved0[0], 0);  // zeroed before filling
    EXPECT_EQ(entries[0].DeviceName[0], 0);

    for (int i = 0; i < 17; ++i)
        ini->WriteString("Product", Format("HWID%d", i), Format("ID%d", i));
    EXPECT_EQ(ReadHwidList(g, entries, 3), 3);
    EXPECT_STREQ(entries[2].HardwareId, "ID2");
    EXPECT_EQ(ReadHwidList(g, entries, 40), 16);

    std::vector<AnsiString> log;
    g.Log = [&log](const AnsiString& line) { log.push_back(line); };
    ini->WriteString("Product", "HWID0", std::string(127, 'h'));
    ReadHwidList(g, entries, 1);
    EXPECT_TRUE(log.empty());
    ini->WriteString("Product", "HWID0", std::string(200, 'h'));
    ReadHwidList(g, entries, 1);
    EXPECT_EQ(std::strlen(entries[0].HardwareId), 127u);
    ASSERT_EQ(log.size(), 1u) << "a cut id is told";
    EXPECT_NE(log[0].find("HWID0"), AnsiString::npos) << log[0];
}

TEST(BandModeMask, KindsByModeCode) {
    struct Case {
        int32_t code, mask;
    } cases[] = {{1, 1},  {21, 1}, {3, 2},  {23, 2}, {2, 4},  {22, 4}, {11, 3}, {31, 3},
                 {13, 5}, {33, 5}, {12, 6}, {32, 6}, {14, 7}, {34, 7}, {0, 7},  {-1, 7}};
    for (const Case& c : cases) EXPECT_EQ(BandModeMask(c.code), c.mask) << c.code;
}
