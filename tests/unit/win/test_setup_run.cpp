// The packaged installer's run with its stand-in: the command line it gets, its completion
// notice, the result read from its log, and which logs are read and deleted.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_setup_fixture.h"

using namespace setuptest;

namespace {

class SetupRun : public SetupTest {
protected:
    void SetUp() override {
        SetupTest::SetUp();
        UseOwnNames();
        MakePackage();
        ASSERT_TRUE(CheckPackageOf(Program()));
    }
    void TearDown() override {
        for (const std::string& f : leftovers_) DeleteFileA(f.c_str());
        SetupTest::TearDown();
    }
    // The installer's scenario: its log and where its notice goes.
    void Scenario(const std::string& lines) {
        std::string text = "[Setup]\r\n" + notice_.Scenario() + lines;
        TempDir::WriteFile(pkg_ + "Utility\\Setup.scn", text);
        ASSERT_EQ(TempDir::ReadFile(pkg_ + "Utility\\Setup.scn"), text);
    }
    // Runs the installer and waits for its notice; its record.
    std::string RunAndWait() {
        intptr_t code = 0;
        EXPECT_TRUE(RunSetup(&code));
        EXPECT_GT(code, 32);
        EXPECT_TRUE(notice_.WaitForInstallDone());
        return WaitForRecord(pkg_ + "Utility\\Setup.exe");
    }
    void ForgetRecord() { DeleteFileA((pkg_ + "Utility\\Setup.out").c_str()); }

    NoticeWindow notice_;
    std::vector<std::string> leftovers_;
};

}  // namespace

TEST_F(SetupRun, FailureCodeIsShownWithItsDescription) {
    std::string app = dir_.File("App\\Viewer.exe");
    CopyStandIn("pdf-viewer", "Viewer.exe", app);
    Scenario("Log=code\r\nResultCode=-8\r\nAppPathKey=" + shortName_ + "\r\nAppPath=" + app +
             "\r\n");
    std::string log = SetupSettings.LogPath;
    std::string record = RunAndWait();
    EXPECT_NE(record.find(" -s -f2" + log + "\r\n"), std::string::npos) << record;
    EXPECT_TRUE(HasLine(record, "arg:-s")) << record;
    EXPECT_TRUE(HasLine(record, "arg:-f2" + log)) << record;
    EXPECT_TRUE(HasLine(record, "cwd:" + pkg_.substr(0, pkg_.size() - 1))) << record;
    EXPECT_TRUE(HasLine(record, "notify:posted")) << record;
    EXPECT_TRUE(TempDir::Exists(log));

    EXPECT_FALSE(CheckInstallResult());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text,
              "Installation failed!\n\nErrorCode=-8\nErrorDesc.=Invalid path to the InstallShield "
              "Silent response file.");
    EXPECT_EQ(shown_[0].title, "Tervalo Setup Wizard");
    EXPECT_EQ(shown_[0].flags, unsigned(MB_OK | MB_ICONINFORMATION));

    DeleteResponseLog();
    EXPECT_FALSE(TempDir::Exists(log));

    // what the installer registered under the application paths is started
    EXPECT_TRUE(HasLine(record, "apppath:" + app)) << record;
    EXPECT_EQ(StartRegisteredApplication(), AppStart::Started);
    EXPECT_TRUE(HasLine(WaitForRecord(app), "open:"));
}

TEST_F(SetupRun, LogsWithoutANegativeCodeCountAsSuccess) {
    const char* const kinds[] = {
        "Log=none",        "Log=nosection",          "Log=nokey", "ResultCode=0", "ResultCode=3",
        "ResultCode=junk", "ResultCode=-99999999999"};
    for (const char* kind : kinds) {
        SCOPED_TRACE(kind);
        ForgetRecord();
        Scenario(std::string(kind) + "\r\n");
        RunAndWait();
        EXPECT_TRUE(CheckInstallResult());
        EXPECT_TRUE(shown_.empty());
        DeleteResponseLog();
        EXPECT_FALSE(TempDir::Exists(SetupSettings.LogPath));
    }
}

TEST_F(SetupRun, LogPathWithBlanksStaysOneArgument) {
    std::string folder = dir_.Path() + "\\My Windows";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetupSettings.LogPath = folder + "\\IS0.log";
    Scenario("ResultCode=-5\r\n");
    std::string record = RunAndWait();
    EXPECT_NE(record.find(" -s -f2\"" + SetupSettings.LogPath + "\"\r\n"), std::string::npos)
        << record;
    EXPECT_TRUE(HasLine(record, "arg:-f2" + SetupSettings.LogPath)) << record;
    EXPECT_TRUE(HasLine(record, "log:" + SetupSettings.LogPath)) << record;
    EXPECT_FALSE(CheckInstallResult());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, InstallFailedText(-5));
}

TEST_F(SetupRun, AStaleLogIsNeitherReadNorDeleted) {
    // a log appears at the chosen name between the package check and the run
    std::string stale = SetupSettings.LogPath;
    TempDir::WriteFile(stale, "[ResponseResult]\r\nResultCode=-5\r\n");
    leftovers_.push_back(stale);
    Scenario("Log=none\r\n");
    std::string record = RunAndWait();
    EXPECT_NE(SetupSettings.LogPath, stale);
    EXPECT_TRUE(HasLine(record, "arg:-f2" + SetupSettings.LogPath)) << record;
    EXPECT_TRUE(CheckInstallResult());
    EXPECT_TRUE(shown_.empty());
    DeleteResponseLog();
    EXPECT_EQ(TempDir::ReadFile(stale), "[ResponseResult]\r\nResultCode=-5\r\n");

    // the next run keeps a free name; the one after it finds that run's log there and takes
    // another, and the logs of both runs go at the end
    std::string first = SetupSettings.LogPath;
    ForgetRecord();
    Scenario("ResultCode=2\r\n");
    RunAndWait();
    EXPECT_EQ(SetupSettings.LogPath, first);
    ForgetRecord();
    Scenario("ResultCode=-1\r\n");
    RunAndWait();
    std::string second = SetupSettings.LogPath;
    EXPECT_NE(second, first);
    EXPECT_FALSE(CheckInstallResult());
    DeleteResponseLog();
    EXPECT_FALSE(TempDir::Exists(first));
    EXPECT_FALSE(TempDir::Exists(second));
    EXPECT_TRUE(TempDir::Exists(stale));
}

TEST_F(SetupRun, InstallerThatDoesNotStartIsReportedWithTheShellsCode) {
    SetupSettings.SetupFile = "Utility\\Missing.exe";
    intptr_t code = 99;
    EXPECT_FALSE(RunSetup(&code));
    EXPECT_EQ(code, intptr_t(SE_ERR_FNF));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, InstallerNotStartedText("Utility\\Missing.exe", SE_ERR_FNF));
    EXPECT_EQ(shown_[0].title, "Tervalo Setup Wizard");
    // no run, so no log of it: what lies at the name is not read and stays
    shown_.clear();
    TempDir::WriteFile(SetupSettings.LogPath, "[ResponseResult]\r\nResultCode=-5\r\n");
    leftovers_.push_back(SetupSettings.LogPath);
    EXPECT_TRUE(CheckInstallResult());
    EXPECT_TRUE(shown_.empty());
    DeleteResponseLog();
    EXPECT_TRUE(TempDir::Exists(SetupSettings.LogPath));
}
