// The installer front end's rules: settings keys and defaults, version code, result log name,
// uninstall key, command line, result codes, message texts and the progress and reader timers.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "FakeIniFile.h"
#include "setup/Setuprules.h"

namespace {

// Reads through an in-memory INI and notes every key asked for, in order.
struct RecordingIni {
    FakeIniFile file;
    std::vector<std::string> asked;
    SetupIniReader Reader() {
        SetupIniReader r;
        r.ReadString = [this](const AnsiString& s, const AnsiString& k, const AnsiString& def) {
            asked.push_back(s + "/" + k);
            return file.ReadString(s, k, def);
        };
        r.ReadBool = [this](const AnsiString& s, const AnsiString& k, bool def) {
            asked.push_back(s + "/" + k + "?");
            return file.ReadBool(s, k, def);
        };
        return r;
    }
};

}  // namespace

TEST(SetupSettings, EveryKeyInFileOrderWithItsDefault) {
    RecordingIni ini;
    tagVYXGLOBALVAR s;
    s.OSVersionCode = 5100;
    s.ExeDir = "C:\\pkg\\";
    ReadSetupKeys(s, ini.Reader());
    EXPECT_EQ(ini.asked,
              (std::vector<std::string>{
                  "Product/CompanyName", "Product/ProductName", "Product/ShortName",
                  "Product/AppTitle", "Product/MsgTitle", "Product/UtilityTitle", "Setup/SetupFile",
                  "Setup/UserGuide", "Setup/AcrobatReader", "Setup/AcrobatReaderTitle",
                  "Setup/EULA", "Setup/WEBSite", "Setup/CheckAutorun?", "Message/MsgExit"}));
    EXPECT_EQ(s.CompanyName, "Velmora");
    EXPECT_EQ(s.ProductName, "Tervalo Vantrix USB Network Adapter");
    EXPECT_EQ(s.ShortName, "RLX4490TN");
    EXPECT_EQ(s.AppTitle, "Tervalo Vantrix USB Network Adapter Setup Wizard");
    EXPECT_EQ(s.MsgTitle, "Tervalo Vantrix USB Network Adapter");
    EXPECT_EQ(s.UtilityTitle, "Tervalo Wireless Network Monitor");
    EXPECT_EQ(s.SetupFile, "Utility\\Setup.exe");
    EXPECT_EQ(s.UserGuide, "Manual\\UserGuide.pdf");
    EXPECT_EQ(s.AcrobatReader, "AcrobatReader\\Setup.exe");
    EXPECT_EQ(s.AcrobatReaderTitle, "Acrobat Reader Setup");
    EXPECT_EQ(s.EULA, "License.bin");
    EXPECT_FALSE(s.WEBSite.empty());
    EXPECT_FALSE(s.CheckAutorun);
    EXPECT_EQ(s.MsgExit, "Do you want to exit the Setup Wizard?");
    // (the distinct defaults show each key reaching its own field)
    // what the package check fills is not the settings file's
    EXPECT_EQ(s.OSVersionCode, 5100);
    EXPECT_EQ(s.ExeDir, "C:\\pkg\\");
    EXPECT_TRUE(s.LogPath.empty());
}

TEST(SetupRules, VersionCodeTable) {
    struct Case {
        uint32_t platform, major, minor;
        int32_t code;
    } cases[] = {
        {1, 4, 0, 4000}, {1, 4, 10, 4500}, {1, 4, 90, 4500}, {2, 4, 0, 4400},
        {2, 5, 0, 5000}, {2, 5, 1, 5100},  {2, 5, 2, 5100},  {2, 3, 51, 9999},
        {2, 6, 1, 9999}, {2, 10, 0, 9999}, {0, 5, 0, 9999},  {3, 5, 1, 9999},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetupVersionCode(c.platform, c.major, c.minor), c.code)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(SetupRules, ResponseLogNameIsTheFirstFreeOne) {
    std::set<std::string> present;
    auto exists = [&](const AnsiString& p) { return present.count(p) > 0; };
    EXPECT_EQ(ChooseResponseLogName("C:\\WINDOWS", exists), "C:\\WINDOWS\\IS0.log");
    present = {"C:\\WINDOWS\\IS0.log", "C:\\WINDOWS\\IS1.log", "C:\\WINDOWS\\IS3.log"};
    EXPECT_EQ(ChooseResponseLogName("C:\\WINDOWS", exists), "C:\\WINDOWS\\IS2.log");
    // the root folder already ends with its separator
    EXPECT_EQ(ChooseResponseLogName("C:\\", exists), "C:\\IS0.log");

    present.clear();
    for (int n = 0; n <= 98; ++n) present.insert("C:\\W\\IS" + std::to_string(n) + ".log");
    EXPECT_EQ(ChooseResponseLogName("C:\\W", exists), "C:\\W\\IS99.log");
    // a stale IS99.log is not this run's log: the count goes on
    present.insert("C:\\W\\IS99.log");
    EXPECT_EQ(ChooseResponseLogName("C:\\W", exists), "C:\\W\\IS100.log");

    // nothing free at all, and a folder too long for any name
    EXPECT_EQ(ChooseResponseLogName("C:\\W", [](const AnsiString&) { return true; }), "");
    AnsiString deep = "C:\\" + std::string(kMaxSetupPath, 'd');
    AnsiString name = ChooseResponseLogName(deep, [](const AnsiString&) { return true; });
    EXPECT_EQ(name, deep + "\\IS0.log");
    EXPECT_FALSE(PathFits(name));
    EXPECT_TRUE(PathFits(std::string(kMaxSetupPath, 'p')));
    EXPECT_FALSE(PathFits(std::string(kMaxSetupPath + 1, 'p')));
}

TEST(SetupRules, GuidBracing) {
    const char* const kGuid = "A1B2C3D4-0000-1111-2222-333344445555";
    const std::string braced = std::string("{") + kGuid + "}";
    const std::pair<std::string, std::string> cases[] = {
        {braced, braced},
        {kGuid, braced},
        {std::string("{") + kGuid, braced},
        {std::string(kGuid) + "}", braced},
        {"", "{}"},
        {"{", "{}"},
        {"}", "{}"},
        {"{}", "{}"},
    };
    for (const auto& c : cases) EXPECT_EQ(BraceGuid(c.first), c.second) << c.first;
    // a long GUID is kept whole, not cut to the registry form's 38 characters
    std::string longGuid(300, 'F');
    EXPECT_EQ(BraceGuid(longGuid).size(), 302u);
}

TEST(SetupRules, CommandLineKeepsTheLogOneArgument) {
    EXPECT_EQ(SetupParameters("C:\\WINDOWS\\IS0.log"), "-s -f2C:\\WINDOWS\\IS0.log");
    EXPECT_EQ(SetupParameters("C:\\My Windows\\IS12.log"), "-s -f2\"C:\\My Windows\\IS12.log\"");
    EXPECT_EQ(SetupParameters("C:\\Tab\there\\IS1.log"), "-s -f2\"C:\\Tab\there\\IS1.log\"");
    // long paths are not cut
    std::string path = "C:\\" + std::string(400, 'x') + "\\IS0.log";
    EXPECT_EQ(SetupParameters(path), "-s -f2" + path);
}

TEST(SetupRules, ResultCodeParsing) {
    const std::pair<const char*, int32_t> cases[] = {
        {"0", 0},
        {"-8", -8},
        {"5", 5},
        {"+3", 3},
        {"-53", -53},
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"abc", 0},
        {"12x", 0},
        {"-8 ", 0},
        {" -8", 0},
        {"0x10", 0},
        {"--1", 0},
        {"1.5", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseResultCode(c.first), c.second) << c.first;
}

TEST(SetupRules, ErrorTableAndTexts) {
    // the codes in the installer's order; each row's text is what its code looks up
    const int32_t codes[] = {0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, -51, -52, -53};
    ASSERT_EQ(kSetupErrorCount, 16);
    for (int i = 0; i < kSetupErrorCount; ++i) {
        EXPECT_EQ(SetupErrorTable[i].code, codes[i]) << i;
        EXPECT_LT(std::strlen(SetupErrorTable[i].text), sizeof(SetupErrorTable[i].text));
        EXPECT_EQ(GetSetupErrorText(codes[i]), SetupErrorTable[i].text);
    }
    EXPECT_EQ(GetSetupErrorText(0), "Success.");
    EXPECT_EQ(GetSetupErrorText(-3), "Required data not found or disk space not enough.");
    EXPECT_EQ(GetSetupErrorText(-12), "Dialog boxes are out of order.");
    EXPECT_EQ(GetSetupErrorText(-51), "Cannot create the specified folder.");
    EXPECT_EQ(GetSetupErrorText(-53), "Invalid option selected.");
    for (int32_t code : {-99, -13, -50, 1, 7, INT32_MIN})
        EXPECT_EQ(GetSetupErrorText(code), "Unknown error.") << code;

    EXPECT_EQ(InstallFailedText(-8),
              "Installation failed!\n\nErrorCode=-8\nErrorDesc.=Invalid path to the "
              "InstallShield Silent response file.");
    EXPECT_EQ(InstallFailedText(-99),
              "Installation failed!\n\nErrorCode=-99\nErrorDesc.=Unknown error.");
}

TEST(SetupRules, AlreadyInstalledNamesShortNameFirstAndIsNotCut) {
    EXPECT_EQ(AlreadyInstalledText("RLX4490TN", "Tervalo Vantrix USB Network Adapter"),
              "The WLAN monitor utility and drivers for the RLX4490TN have already been "
              "installed.  If you would like to uninstall these items, run the Uninstall "
              "program from the 'Tervalo Vantrix USB Network Adapter' program group.");
    std::string product(200, 'P');
    AnsiString text = AlreadyInstalledText("S", product);
    EXPECT_NE(text.find("'" + product + "' program group."), std::string::npos);
}

TEST(SetupProgress, SpinnerMeterAndTheCloseAtTick121) {
    ProgressAnimation a;
    std::vector<int> pictures, widths;
    int closedAt = 0;
    for (int tick = 1; tick <= 121; ++tick) {
        ProgressTick t = AdvanceProgress(a);
        pictures.push_back(t.Picture);
        widths.push_back(t.MeterWidth);
        if (t.Close) {
            EXPECT_EQ(closedAt, 0);
            closedAt = tick;
        }
    }
    EXPECT_EQ(closedAt, 121);
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i], static_cast<int>(i % 10)) << i;
        EXPECT_EQ(widths[i], static_cast<int>(14 * (i % 11))) << i;
    }
    EXPECT_EQ(widths[10], 140);
    EXPECT_EQ(widths[11], 0);
    // a new showing starts from the first picture, an empty meter and no ticks
    a = ProgressAnimation{};
    ProgressTick first = AdvanceProgress(a);
    EXPECT_EQ(first.Picture, 0);
    EXPECT_EQ(first.MeterWidth, 0);
    EXPECT_FALSE(first.Close);
}

TEST(SetupProgress, ReaderTimerPollsWhileTheWindowShowsAndGoesOnAtTheFourthMiss) {
    using R = ReaderTimerStep;
    int missed = 0;
    // window, window, gone three times, then the fourth miss goes on
    const std::pair<bool, R> first[] = {
        {true, R::PollEverySecond}, {true, R::PollEverySecond}, {false, R::KeepWaiting},
        {false, R::KeepWaiting},    {true, R::PollEverySecond}, {false, R::KeepWaiting},
        {false, R::Finish},
    };
    for (const auto& step : first) EXPECT_EQ(ReaderSetupTimerTick(step.first, missed), step.second);
    // the count lives on: a later offer goes on at its first miss
    EXPECT_EQ(ReaderSetupTimerTick(true, missed), R::PollEverySecond);
    EXPECT_EQ(ReaderSetupTimerTick(false, missed), R::Finish);
}
