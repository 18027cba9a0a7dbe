#include <gtest/gtest.h>

#include "FakeIniFile.h"
#include "classlib/CustomIniFile.h"

TEST(IniInteger, DecimalAndHexAndRejects) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"34", true, 34},
        {"-7", true, -7},
        {"+5", true, 5},
        {"0x22", true, 34},
        {"0X1f", true, 31},
        {"0xFFFFFFFF", true, -1},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"0x100000000", false, 0},
        {"", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"0x", false, 0},
        {"-", false, 0},
        {"0xG1", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(TryParseIniInteger(c.text, v), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(v, c.value) << c.text;
        else
            EXPECT_EQ(v, 12345) << c.text << " must leave the value alone";
    }
}

// Which texts are numbers at all: a number beyond 32 bits is not "no number".
TEST(IniInteger, KindOfText) {
    struct Case {
        const char* text;
        IniNumber kind;
    } cases[] = {
        {"0", IniNumber::Int32},
        {"-2147483648", IniNumber::Int32},
        {"0xFFFFFFFF", IniNumber::Int32},
        {"2147483648", IniNumber::OutOfRange},
        {"-2147483649", IniNumber::OutOfRange},
        {"99999999999999999999999", IniNumber::OutOfRange},
        {"0x100000000", IniNumber::OutOfRange},
        {"0x0000000001", IniNumber::OutOfRange},
        {"", IniNumber::None},
        {"0x", IniNumber::None},
        {"1e3", IniNumber::None},
        {"0x1G", IniNumber::None},
        {" 5", IniNumber::None},
        {"99999999999999999999x", IniNumber::None},
    };
    for (const Case& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(ParseIniNumber(c.text, v), c.kind) << c.text;
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
    EXPECT_EQ(QuoteIniValue("\x1a"
                            "ab"),
              "\"\x1a"
              "ab\"");
    EXPECT_EQ(QuoteIniValue("ab\x1a"), "\"ab\x1a\"");
    EXPECT_EQ(QuoteIniValue("a\x1a"
                            "b"),
              "a\x1a"
              "b");
    EXPECT_EQ(QuoteIniValue("\x1b"
                            "ab\x7f"),
              "\x1b"
              "ab\x7f");
}

TEST(IniValueForm, OnlyWhatCannotGoIntoALineIsEncoded) {
    struct Case {
        AnsiString value;
        AnsiString written;
    } cases[] = {
        {"Home Net", "Home Net"},
        {" lead", "\" lead\""},
        {"hex:4142", "hex:4142"},  // reads back as itself: no need to encode
        {"hex:0d0a", "hex:0d0a"},  // only upper-case digits are the encoder's
        {"hex:0D0", "hex:0D0"},
        {"hex:", "hex:"},
        {"a\r\nb", "hex:610D0A62"},
        {"\n", "hex:0A"},
        {AnsiString("a\0b", 3), "hex:610062"},
        {"hex:0D0A", "hex:6865783A30443041"},  // would read back as a line break
    };
    FakeIniFile ini;
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeIniValue(c.value), c.written) << c.value;
        ini.WriteString("S", "K", c.value);
        EXPECT_EQ(*ini.Find("S", "K"), c.written);
        EXPECT_EQ(ini.ReadString("S", "K", ""), c.value) << c.written;
    }
    // a value encoded twice over still comes back
    const AnsiString twice = EncodeIniValue("hex:0D0A");
    EXPECT_EQ(DecodeIniValue(EncodeIniValue(twice)), twice);
}

TEST(IniValueForm, EveryByteAnywhereReadsBackThroughTheApisRules) {
    FakeIniFile ini;
    for (int pos = 0; pos < 3; ++pos)
        for (int c = 1; c < 256; ++c) {
            AnsiString v = "ab";
            v.insert(static_cast<size_t>(pos), 1, static_cast<char>(c));
            ini.WriteString("S", "K", v);
            EXPECT_EQ(ini.ReadString("S", "K", "default"), v) << "byte " << c << " at " << pos;
            EXPECT_EQ(ini.Keys("S").size(), 1u);
        }
    EXPECT_EQ(ini.Text().find_first_of("\r\n"), ini.Text().find("\r\n"));
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
