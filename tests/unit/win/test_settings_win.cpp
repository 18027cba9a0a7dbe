#include <gtest/gtest.h>

#include "TempDir.h"
#include "classlib/IniFile.h"
#include "core/Udefine.h"

TEST(InitGlobals, NoFilesGiveEveryDefault) {
    TempDir dir;
    TempDir::WriteFile(dir.File("Wavelorn.ini"), "[Utility]\r\nAppTitle=Ignored\r\n");
    CFAGlobalVar g;
    g.LoadConfiguration(dir.File("Wavelorn.exe"));
    EXPECT_EQ(g.ExeDir, dir.Path() + "\\");
    EXPECT_EQ(g.SettingsPath, dir.File("Wavelorn.bin"));
    EXPECT_EQ(g.StringFilePath, dir.File("Wavelorn.ini"));
    ASSERT_NE(g.SettingsIni, nullptr);
    // a string file without a settings file is not opened
    EXPECT_EQ(g.StringIni, nullptr);
    EXPECT_EQ(g.AppTitle, "Wavelorn");
    EXPECT_EQ(g.MsgTitle, "Wavelorn Message");
    EXPECT_EQ(g.MutexName, "Velmora_Mutex");
    EXPECT_EQ(g.DefaultProfile.Channel, 6);
    // writes go to the settings path all the same
    g.WriteSettingBool("Setting", "EnableUtility", false);
    EXPECT_NE(TempDir::ReadFile(dir.File("Wavelorn.bin")).find("EnableUtility=0"),
              std::string::npos);
}

TEST(InitGlobals, SettingsAndStringFile) {
    TempDir dir;
    TempDir::WriteFile(dir.File("Wavelorn.bin"),
                       "[Setting]\r\nProfRoot=Acme\r\nStringFile=Deutsch.lng\r\nDefBand=2\r\n"
                       "DefChA=40\r\nSupportMode=0x22\r\n");
    TempDir::WriteFile(dir.File("Deutsch.lng"),
                       "[Utility]\r\nAppTitle=Funk\r\nMsgTitle=Funk Meldung\r\n"
                       "[Common]\r\nNot Use=Unbenutzt\r\nConnecting=Verbindung...\r\n");
    CFAGlobalVar g;
    g.LoadConfiguration(dir.File("Wavelorn.exe"));
    EXPECT_EQ(g.StringFilePath, dir.File("Deutsch.lng"));
    ASSERT_NE(g.StringIni, nullptr);
    EXPECT_EQ(g.AppTitle, "Funk");
    EXPECT_EQ(g.MsgTitle, "Funk Meldung");
    EXPECT_EQ(g.Words.NotUse, "Unbenutzt");
    EXPECT_EQ(g.Words.Connecting, "Verbindung...");
    EXPECT_EQ(g.Words.Scanning, "Scanning");
    EXPECT_EQ(g.LoginMutexName, "Acme_Login_Mutex");
    EXPECT_EQ(g.SupportMode, 34);
    EXPECT_EQ(g.DefaultProfile.Channel, 40);
    EXPECT_EQ(g.DefaultProfile.AdHocBand, 2);
}

TEST(InitGlobals, SettingsWithoutStringFile) {
    TempDir dir;
    TempDir::WriteFile(dir.File("Wavelorn.bin"), "[Setting]\r\nDefProfName=Office\r\n");
    CFAGlobalVar g;
    g.LoadConfiguration(dir.File("Wavelorn.exe"));
    ASSERT_NE(g.StringIni, nullptr);  // open over a missing file: every read its default
    EXPECT_EQ(g.ReadTextString("FormMain", "Caption", "Link"), "Link");
    EXPECT_EQ(g.Words.Connected, "Connected");
    EXPECT_STREQ(g.DefaultProfile.ProfileName, "Office");
}

TEST(InitGlobals, VersionCodeAndBroadcastMessage) {
    TempDir dir;
    CFAGlobalVar g;
    g.LoadConfiguration(dir.File("Wavelorn.exe"));
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    EXPECT_EQ(g.WinVer, WindowsVersionCode(info.dwPlatformId, info.dwMajorVersion,
                                           info.dwMinorVersion));
    EXPECT_NE(BroadcastMsgId, 0u);
    EXPECT_EQ(BroadcastMsgId, RegisterWindowMessageA("Velmora_BroadcastMsg"));
}
