#include <gtest/gtest.h>

#include "classlib/CustomIniFile.h"

TEST(IniInteger, DecimalAndHexAndRejects) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"34", true, 34},          {"-7", true, -7},
        {"+5", true, 5},           {"0x22", true, 34},
        {"0X1f", true, 31},        {"0xFFFFFFFF", true, -1},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},  {"0x100000000", false, 0},
        {"", false, 0},            {"abc", false, 0},
        {"12abc", false, 0},       {"0x", false, 0},
        {"-", false, 0},           {"0xG1", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(TryParseIniInteger(c.text, v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
        else EXPECT_EQ(v, 12345) << c.text << " must leave the value alone";
    }
}

TEST(IniHex, UpperCaseOutAndEitherCaseIn) {
    const uint8_t bytes[] = {0x00, 0x0a, 0xB7, 0xff};
    EXPECT_EQ(BytesToHex(bytes, 4), "000AB7FF");
    EXPECT_EQ(BytesToHex(bytes, 0), "");
    EXPECT_EQ(HexToBytes("000ab7FF"), std::vector<uint8_t>(bytes, bytes + 4));
    // decoding stops at the first pair that is not hex, and ignores an odd digit
    EXPECT_EQ(HexToBytes("0A0Bzz0C"), (std::vector<uint8_t>{0x0a, 0x0b}));
    EXPECT_EQ(HexToBytes("0A0"), (std::vector<uint8_t>{0x0a}));
    EXPECT_TRUE(HexToBytes("").empty());
}

TEST(IniQuote, OnlyValuesTheApiWouldChange) {
    EXPECT_EQ(QuoteIniValue(""), "");
    EXPECT_EQ(QuoteIniValue("Home Net"), "Home Net");
    EXPECT_EQ(QuoteIniValue("it's"), "it's");
    EXPECT_EQ(QuoteIniValue(" lead"), "\" lead\"");
    EXPECT_EQ(QuoteIniValue("trail\t"), "\"trail\t\"");
    EXPECT_EQ(QuoteIniValue("'x'"), "\"'x'\"");
    EXPECT_EQ(QuoteIniValue("\"q"), "\"\"q\"");
    EXPECT_EQ(QuoteIniValue("q\""), "\"q\"\"");
}

TEST(MemoryStream, WriteReadAndPosition) {
    TMemoryStream s;
    s.Write("abcd", 4);
    EXPECT_EQ(s.Size(), 4u);
    s.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 3u);
    EXPECT_STREQ(buf, "bcd");
    s.SetPosition(99);
    EXPECT_EQ(s.Position(), 4u);
    s.Clear();
    EXPECT_EQ(s.Size(), 0u);
}
