// The reader's setup stand-in (its window and the .pdf registration) and the viewer it
// registers.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "test_setup_fixture.h"

using namespace setuptest;

namespace {

// FindExecutable's answer for the file and the program it names.
intptr_t FindProgram(const std::string& file, std::string& program) {
    char found[MAX_PATH + 1] = {};
    intptr_t answer = reinterpret_cast<intptr_t>(FindExecutableA(file.c_str(), "C:\\", found));
    program = found;
    return answer;
}

// No program of this machine opens .pdf files.
void ForgetPdfType() {
    DeleteRegistryTree(HKEY_CLASSES_ROOT, ".pdf");
    DeleteRegistryTree(HKEY_CLASSES_ROOT, "WLStandIn.PdfFile");
}

}  // namespace

TEST_F(SetupTest, ReaderSetupShowsItsTitleAndRegistersTheViewer) {
    ForgetPdfType();
    std::string guide = dir_.File("Guide.pdf"), program;
    TempDir::WriteFile(guide, "%PDF-1.4\n");
    EXPECT_EQ(FindProgram(guide, program), intptr_t(SE_ERR_NOASSOC));

    std::string reader = pkg_ + "AcrobatReader\\Setup.exe";
    std::string viewer = dir_.File("Viewer\\Viewer.exe");
    CopyStandIn("reader-setup", "Setup.exe", reader);
    CopyStandIn("pdf-viewer", "Viewer.exe", viewer);
    std::string title = Unique("Reader Setup ");

    // told not to register: the window shows and the file type stays unknown
    TempDir::WriteFile(pkg_ + "AcrobatReader\\Setup.scn",
                       "[ReaderSetup]\r\nTitle=" + title + "\r\nShowMs=400\r\nRegister=0\r\n");
    {
        e2e::Program p(reader, "", pkg_);
        ASSERT_TRUE(p.Started());
        EXPECT_TRUE(e2e::WaitUntil([&] { return FindWindowA(nullptr, title.c_str()) != nullptr; }));
        ASSERT_TRUE(p.WaitEnd());
    }
    EXPECT_TRUE(HasLine(WaitForRecord(reader), "registered:no"));
    EXPECT_EQ(FindProgram(guide, program), intptr_t(SE_ERR_NOASSOC));

    DeleteFileA((pkg_ + "AcrobatReader\\Setup.out").c_str());
    TempDir::WriteFile(
        pkg_ + "AcrobatReader\\Setup.scn",
        "[ReaderSetup]\r\nTitle=" + title + "\r\nShowMs=1500\r\nViewer=" + viewer + "\r\n");
    {
        e2e::Program p(reader, "", pkg_);
        ASSERT_TRUE(p.Started());
        EXPECT_TRUE(e2e::WaitUntil([&] { return FindWindowA(nullptr, title.c_str()) != nullptr; }));
        // registered only once its window is gone
        EXPECT_EQ(FindProgram(guide, program), intptr_t(SE_ERR_NOASSOC));
        ASSERT_TRUE(p.WaitEnd());
    }
    EXPECT_TRUE(HasLine(WaitForRecord(reader), "registered:" + viewer));
    EXPECT_GT(FindProgram(guide, program), 32);
    EXPECT_EQ(_stricmp(program.c_str(), viewer.c_str()), 0) << program;

    // the viewer records the file it is asked to open
    EXPECT_GT(reinterpret_cast<intptr_t>(
                  ShellExecuteA(nullptr, "open", guide.c_str(), nullptr, nullptr, SW_SHOWNORMAL)),
              32);
    std::string record = WaitForRecord(viewer);
    EXPECT_TRUE(HasLine(record, "open:" + guide)) << record;
    ForgetPdfType();
}
