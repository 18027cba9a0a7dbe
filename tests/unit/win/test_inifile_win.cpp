#include <gtest/gtest.h>

#include "TempDir.h"
#include "classlib/IniFile.h"

TEST(IniFileWin, TextsComeBackAsWritten) {
    TempDir dir;
    TIniFile ini(dir.File("a.bin"));
    const char* values[] = {"plain",  " lead",  "trail ", "\tboth\t", "'x'", "\"dq\"",
                            "\"open", "close'", "it's",   "a = b",    "",    "  "};
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

// Every byte 1 to 255 at the start, in the middle and at the end of a value,
// through the real API: it reads back, in this process and in a fresh read of
// the file, and each value keeps its one line.
TEST(IniFileWin, EveryByteAnywhereReadsBackOnItsOwnLine) {
    TempDir dir;
    struct Written {
        std::string key, value;
        size_t pos;
        char byte;
    };
    std::vector<Written> written;
    {
        TIniFile ini(dir.File("a.bin"));
        for (size_t pos = 0; pos < 3; ++pos)
            for (int c = 1; c < 256; ++c) {
                std::string v = "ab";
                v.insert(pos, 1, static_cast<char>(c));
                written.push_back(
                    {"K" + std::to_string(pos) + "_" + std::to_string(c), v, pos, v[pos]});
                ini.WriteString("S", written.back().key, v);
            }
        for (const Written& w : written)
            EXPECT_EQ(ini.ReadString("S", w.key, ""), w.value) << w.key;
    }
    // a copy the API has never seen is read from the disk
    ASSERT_TRUE(CopyFileA(dir.File("a.bin").c_str(), dir.File("b.bin").c_str(), FALSE));
    TIniFile fresh(dir.File("b.bin"));
    for (const Written& w : written) EXPECT_EQ(fresh.ReadString("S", w.key, ""), w.value) << w.key;

    std::string text = TempDir::ReadFile(dir.File("a.bin"));
    std::vector<std::string> lines;
    for (size_t pos = 0, end; pos < text.size(); pos = end + 2) {
        end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        lines.push_back(text.substr(pos, end - pos));
    }
    ASSERT_EQ(lines.size(), 1 + written.size());
    EXPECT_EQ(lines[0], "[S]");
    for (size_t i = 0; i < written.size(); ++i) {
        const Written& w = written[i];
        const std::string& v = w.value;
        std::string line = lines[i + 1], prefix = w.key + "=";
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
        std::string raw = line.substr(prefix.size());
        char c = w.byte;
        bool lostAtAnEdge = w.pos != 1 && (c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a' ||
                                           c == '"' || c == '\'');
        if (c == '\r' || c == '\n') {
            EXPECT_EQ(raw.compare(0, 4, "hex:"), 0) << written[i].key;
        } else if (lostAtAnEdge) {
            EXPECT_EQ(raw, "\"" + v + "\"") << written[i].key;
        } else {
            EXPECT_EQ(raw, v) << written[i].key << " is written as it is";
        }
    }
}

// A file read once answers every key, default and section as the system's API does, file by
// file, and a write reaches the file and the next read.
TEST(IniFileWin, AFileReadOnceAnswersAsTheSystemDoes) {
    TempDir dir;
    const char* files[] = {
        "[S]\r\nK=v\r\nk=second\r\nQ=\"quoted\"\r\nS1='single'\r\nH=\"half\r\nMix=\"a'\r\n"
        "E=\r\nSp =  spaced value  \r\n;comment=1\r\nNoEq\r\n  Ind=1\r\n=novalue\r\n"
        "A B=c\r\nEq=a=b\r\nEnc=hex:610D0A62\r\n[s]\r\nK=other section\r\n[T]\r\nX=1\r\n"
        "[ Spaced ]\r\nK=in spaced\r\n[Unclosed\r\nK=after\r\n[Empty]\r\n",
        "K=before any section\r\n[S]\r\nK=\t tabbed \t\r\n", "",
        nullptr,  // no file
    };
    const char* sections[] = {"S", "s", "T", " Spaced ", "Spaced", "Unclosed", "Empty", "Missing"};
    const char* keys[] = {"K",    "k",   "Q", "S1",  "H",  "Mix", "E", "Sp",     ";comment",
                          "NoEq", "Ind", "",  "A B", "Eq", "Enc", "X", "Missing"};
    const char* defaults[] = {"d", "d  ", " ", ""};
    int n = 0;
    for (const char* text : files) {
        // a file of its own each: the system's copy of a file rewritten in the same clock
        // tick could be the old one
        std::string path = dir.File("f" + std::to_string(++n) + ".ini");
        if (text) TempDir::WriteFile(path, text);
        TIniFile live(path);
        TReadOnceIniFile once(path);
        for (const char* section : sections) {
            EXPECT_EQ(once.SectionExists(section), live.SectionExists(section))
                << "[" << section << "] of " << (text ? text : "(no file)");
            for (const char* key : keys)
                for (const char* def : defaults)
                    EXPECT_EQ(once.ReadString(section, key, def),
                              live.ReadString(section, key, def))
                        << "[" << section << "] " << key << " default \"" << def << "\" of "
                        << (text ? text : "(no file)");
        }
    }
    TReadOnceIniFile once(dir.File("f2.ini"));
    EXPECT_EQ(once.ReadString("S", "K", ""), "tabbed");
    once.WriteString("S", "K", "new");
    once.WriteString("New", "Key", "made");
    EXPECT_EQ(once.ReadString("S", "K", ""), "new");
    EXPECT_EQ(once.ReadString("New", "Key", ""), "made");
    EXPECT_EQ(TIniFile(dir.File("f2.ini")).ReadString("S", "K", ""), "new");
}
