// The installer's operations on a Wine system: setup.ini through the profile-string API, the
// registry checks, the package check and its messages, and the application-paths start.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "test_setup_fixture.h"

using namespace setuptest;

namespace {

std::string WindowsDir() {
    char dir[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

}  // namespace

TEST_F(SetupTest, SettingsFileThroughTheSystemApi) {
    // loaded before the test's main ran, from the absent unit_setup.ini: the defaults
    EXPECT_EQ(SetupSettings.CompanyName, "Velmora");
    EXPECT_EQ(SetupSettings.OSVersionCode, GetOSVersionCode());

    TempDir::WriteFile(dir_.File("setup.ini"),
                       "[Product]\r\nCompanyName=Acme\r\nProductName=  \"Acme Stick\"  \r\n"
                       "ShortName=AS1\r\nMsgTitle=Acme\r\n"
                       "[Setup]\r\nSetupFile=Bin\\Install.exe\r\nEULA=Eula.rtf\r\n"
                       "CheckAutorun=1\r\n[Message]\r\nMsgExit=Leave?\r\n");
    SetupSettings.LogPath = "C:\\stale.log";
    LoadSetupSettingsOf(dir_.File("setup.exe"));
    EXPECT_EQ(SetupSettings.CompanyName, "Acme");
    EXPECT_EQ(SetupSettings.ProductName, "Acme Stick");
    EXPECT_EQ(SetupSettings.ShortName, "AS1");
    EXPECT_EQ(SetupSettings.MsgTitle, "Acme");
    EXPECT_EQ(SetupSettings.SetupFile, "Bin\\Install.exe");
    EXPECT_EQ(SetupSettings.EULA, "Eula.rtf");
    EXPECT_TRUE(SetupSettings.CheckAutorun);
    EXPECT_EQ(SetupSettings.MsgExit, "Leave?");
    EXPECT_EQ(SetupSettings.UserGuide, "Manual\\UserGuide.pdf");
    EXPECT_TRUE(SetupSettings.LogPath.empty());

    // one value of the file named like the running program
    std::string beside = BinDir() + "unit_setup.wltest";
    TempDir::WriteFile(beside, "[A]\r\nText=here\r\nFlag=0\r\n");
    EXPECT_EQ(ReadIniString("A", "Text", "d", ".wltest"), "here");
    EXPECT_EQ(ReadIniString("A", "Missing", "d", ".wltest"), "d");
    EXPECT_FALSE(ReadIniBool("A", "Flag", true, ".wltest"));
    EXPECT_TRUE(ReadIniBool("A", "Missing", true, ".wltest"));
    DeleteFileA(beside.c_str());
}

TEST_F(SetupTest, RegistryChecks) {
    UseOwnNames();
    // the earlier installation: the GUID braced or not names one key
    MakeKey(HKEY_LOCAL_MACHINE, kUninstallKey + ("{" + guid_ + "}"));
    EXPECT_TRUE(IsProductInstalled(guid_));
    EXPECT_TRUE(IsProductInstalled("{" + guid_ + "}"));
    EXPECT_TRUE(IsProductInstalled("{" + guid_));
    EXPECT_FALSE(IsProductInstalled(guid_ + "X"));
    EXPECT_FALSE(IsProductInstalled(""));
    EXPECT_FALSE(IsProductInstalled(std::string(300, 'G')));

    // the rights test makes the company and product key and leaves it
    std::string adminKey = "Software\\" + company_ + "\\Test Product";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, adminKey));
    EXPECT_TRUE(HasAdministratorRights());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, adminKey));

    // autorun: only with the flag, and only when the key is there; it is never made
    SetupSettings.CheckAutorun = true;
    EXPECT_FALSE(IsAutorunInstalled());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_));
    MakeKey(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_);
    EXPECT_TRUE(IsAutorunInstalled());
    SetupSettings.CheckAutorun = false;
    EXPECT_FALSE(IsAutorunInstalled());
    // an empty short name names no key (not the application paths themselves)
    SetupSettings.CheckAutorun = true;
    SetupSettings.ShortName = "";
    EXPECT_FALSE(IsAutorunInstalled());
}

TEST_F(SetupTest, RegisteredApplicationStartsOnlyWhenNamed) {
    UseOwnNames();
    std::string key = kAppPathsKey + shortName_;
    // no key: nothing to start, and none is left behind for the autorun check
    EXPECT_EQ(StartRegisteredApplication(), AppStart::NothingToStart);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    MakeKey(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ(StartRegisteredApplication(), AppStart::NothingToStart);
    MakeKey(HKEY_LOCAL_MACHINE, key, "Path", "");
    EXPECT_EQ(StartRegisteredApplication(), AppStart::NothingToStart);
    MakeKey(HKEY_LOCAL_MACHINE, key, "Path", dir_.File("Missing.exe"));
    EXPECT_EQ(StartRegisteredApplication(), AppStart::Failed);
}

TEST_F(SetupTest, PackageCheckMessages) {
    UseOwnNames();
    auto expectOneMessage = [&](const std::string& text) {
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text, text);
        EXPECT_EQ(shown_[0].title, "Tervalo Setup Wizard");
        EXPECT_EQ(shown_[0].flags, unsigned(MB_OK | MB_ICONINFORMATION));
        shown_.clear();
    };
    MakePackage(false, true);
    EXPECT_FALSE(CheckPackageOf(Program()));
    expectOneMessage("The package is corruptted, please check.");
    EXPECT_EQ(SetupSettings.ExeDir, pkg_);
    EXPECT_EQ(SetupSettings.SetupExePath, pkg_ + "Utility\\Setup.exe");
    EXPECT_EQ(SetupSettings.SetupIssPath, pkg_ + "Utility\\Setup.iss");
    EXPECT_EQ(SetupSettings.SetupIniPath, pkg_ + "Utility\\Setup.ini");

    DeleteFileA((pkg_ + "Utility\\Setup.iss").c_str());
    MakePackage(true, false);
    EXPECT_FALSE(CheckPackageOf(Program()));
    expectOneMessage("The package is corruptted, please check.");

    MakePackage();
    EXPECT_TRUE(CheckPackageOf(Program()));
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(SetupSettings.ProductGUID, guid_);
    // the result log: a free name in the Windows folder
    std::string windows = WindowsDir() + "\\";
    EXPECT_EQ(SetupSettings.LogPath.compare(0, windows.size() + 2, windows + "IS"), 0)
        << SetupSettings.LogPath;
    EXPECT_FALSE(TempDir::Exists(SetupSettings.LogPath));

    MakeKey(HKEY_LOCAL_MACHINE, kUninstallKey + ("{" + guid_ + "}"));
    EXPECT_FALSE(CheckPackageOf(Program()));
    expectOneMessage(AlreadyInstalledText(shortName_, "Test Product"));

    // a package whose paths the file functions cannot take is refused, not called corrupt
    std::string deep = dir_.Path() + "\\" + std::string(240, 'd') + "\\setup.exe";
    EXPECT_FALSE(CheckPackageOf(deep));
    expectOneMessage(PathTooLongText(ExtractFilePath(deep) + "Utility\\Setup.exe"));
}

TEST_F(SetupTest, ResponseLogNameSkipsTheLogsThatAreThere) {
    std::string first = MakeResponseLogName();
    std::string windows = WindowsDir() + "\\IS";
    ASSERT_EQ(first.compare(0, windows.size(), windows), 0) << first;
    int n = std::stoi(first.substr(windows.size()));
    std::string taken[] = {first, windows + std::to_string(n + 1) + ".log"};
    for (const std::string& t : taken) TempDir::WriteFile(t, "");
    EXPECT_EQ(MakeResponseLogName(), windows + std::to_string(n + 2) + ".log");
    for (const std::string& t : taken) DeleteFileA(t.c_str());
    EXPECT_EQ(MakeResponseLogName(), first);
}
