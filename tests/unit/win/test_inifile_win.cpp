#include <gtest/gtest.h>

#include "TempDir.h"
#include "classlib/IniFile.h"

TEST(IniFileWin, TextsComeBackAsWritten) {
    TempDir dir;
    TIniFile ini(dir.File("a.bin"));
    const char* values[] = {"plain",  " lead", "trail ", "\tboth\t", "'x'",   "\"dq\"",
                            "\"open", "close'", "it's",  "a = b",   "",       "  "};
    for (const char* v : values) {
        ini.WriteString("S", "K", v);
        EXPECT_EQ(ini.ReadString("S", "K", "default"), v) << "[" << v << "]";
    }
    // texts that need no quoting are written as they are
    ini.WriteString("S", "Plain", "Home Net");
    EXPECT_NE(TempDir::ReadFile(dir.File("a.bin")).find("Plain=Home Net\r\n"), std::string::npos);
}

TEST(IniFileWin, LongValuesAreNotCut) {
    TempDir dir;
    TIniFile ini(dir.File("a.bin"));
    std::string longText(5000, 'x');
    longText += "end";
    ini.WriteString("S", "Long", longText);
    EXPECT_EQ(ini.ReadString("S", "Long", ""), longText);
}

TEST(IniFileWin, DefaultsSectionsAndNumbers) {
    TempDir dir;
    TIniFile ini(dir.File("a.bin"));
    EXPECT_EQ(ini.ReadString("S", "K", "d"), "d");
    EXPECT_FALSE(ini.SectionExists("S"));
    TempDir::WriteFile(dir.File("a.bin"), "[Empty]\r\n[S]\r\nHex=0x22\r\nBad=12x\r\nNeg=-3\r\n");
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_TRUE(ini.SectionExists("S"));
    EXPECT_TRUE(ini.SectionExists("s"));  // the system's sections ignore case
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 34);
    EXPECT_EQ(ini.ReadInteger("S", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Neg", 0), -3);
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
    std::string file = TempDir::ReadFile(dir.File("a.bin"));
    EXPECT_NE(file.find("On=1"), std::string::npos);
    EXPECT_NE(file.find("Off=0"), std::string::npos);
    EXPECT_TRUE(ini.ReadBool("S", "Neg", false));
}

TEST(IniFileWin, BinaryStreamRoundTrip) {
    TempDir dir;
    TIniFile ini(dir.File("a.bin"));
    const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0xcc, 0xdd, 0xff};
    TMemoryStream out;
    out.Write(mac, 6);
    ini.WriteBinaryStream("S", "Mac", out);
    EXPECT_EQ(ini.ReadString("S", "Mac", ""), "001A2BCCDDFF");
    TMemoryStream in;
    EXPECT_EQ(ini.ReadBinaryStream("S", "Mac", in), 6u);
    ASSERT_EQ(in.Size(), 6u);
    EXPECT_EQ(memcmp(in.Memory(), mac, 6), 0);
    TMemoryStream none;
    EXPECT_EQ(ini.ReadBinaryStream("S", "Missing", none), 0u);
}
