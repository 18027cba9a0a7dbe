// The installer front end as a user runs it from a package folder, with the stand-ins for the
// packaged installer, the PDF reader's setup and a viewer: clicks on its image buttons, answers
// to its message boxes, and what comes of them on screen, in the stand-ins' records, the
// registry and the Windows folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "E2e.h"
#include "tests/unit/TempDir.h"
#include "tests/unit/win/Screenshot.h"
#include "tests/unit/win/XInput.h"

namespace {

using namespace e2e;

const char kTitle[] = "Tervalo Setup Wizard";
const char kMsgTitle[] = "E2E Adapter";
const char kMsgExit[] = "Leave the E2E setup now?";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kLicence[] = "END USER LICENSE AGREEMENT\r\nThe E2E adapter licence, line two.\r\n";

// Where the buttons are, as the user sees them, in the window's client area: the centres.
const POINT kInstall = {336 + 81, 246 + 20};
const POINT kUserGuide = {302 + 39, 380 + 8};
const POINT kExit = {380 + 21, 380 + 8};
const POINT kCancel = {451 + 33, 380 + 8};
const POINT kNext = {517 + 28, 380 + 8};

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

std::string TextOf(HWND hwnd) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1);
    GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The visible top-level window of the process with that class, or null.
HWND ShownWindow(DWORD pid, const std::string& cls) {
    struct Search {
        DWORD pid;
        const std::string* cls;
        HWND found;
    } search{pid, &cls, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !IsWindowVisible(hwnd) || ClassOf(hwnd) != *s->cls) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The child window of parent with that class (the first, in any depth), or null.
HWND ChildOf(HWND parent, const std::string& cls, bool visibleOnly = false) {
    struct Search {
        const std::string* cls;
        bool visibleOnly;
        HWND found;
    } search{&cls, visibleOnly, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (ClassOf(hwnd) != *s->cls || (s->visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The page the window shows: the class of its visible page, "welcome" when none shows (the
// welcome content is the window's own background); no page of a window not shown.
std::string PageOf(HWND main) {
    if (!IsWindow(main)) return "(no window)";
    if (!IsWindowVisible(main)) return "(window hidden)";
    for (const char* page : {"TLicensePage", "TPlugPage", "TWelcomePage"})
        if (ChildOf(main, page, true)) return page;
    return "welcome";
}

// How many pixels of the area differ between two pictures of a borderless window.
size_t Differing(const WindowPixels& a, const WindowPixels& b, const RECT& area) {
    size_t n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

// The mouse off every window.
void ParkCursor() {
    EXPECT_TRUE(xinput::MoveTo({1270, 1010}));
}

// The left button pressed and released at the point of the window's client area, as the
// user's mouse does it; then the mouse moves off.
void Click(HWND window, POINT at) {
    // Two clicks in a row are two, not a double click.
    static DWORD last = GetTickCount() - 10000;
    DWORD apart = GetDoubleClickTime() + 50;
    if (GetTickCount() - last < apart) Sleep(apart - (GetTickCount() - last));
    ClientToScreen(window, &at);
    EXPECT_TRUE(xinput::Click(at));
    last = GetTickCount();
    ParkCursor();
}

struct Box {
    HWND hwnd = nullptr;
    std::string title, text;
};

// The message box the process shows now, with its title and text.
Box WaitForBox(DWORD pid) {
    Box box;
    WaitUntil([&] { return (box.hwnd = ShownWindow(pid, "#32770")) != nullptr; });
    if (!box.hwnd) return box;
    box.title = TextOf(box.hwnd);
    for (HWND child = GetWindow(box.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_stricmp(ClassOf(child).c_str(), "Static") == 0 && !TextOf(child).empty())
            box.text = TextOf(child);
    return box;
}

// The button of that caption clicked; the box goes.
bool Answer(const Box& box, const std::string& caption) {
    HWND button = nullptr;
    for (HWND child = GetWindow(box.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Button" && TextOf(child) == caption) button = child;
    if (!button) return false;
    RECT r;
    GetWindowRect(button, &r);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(button, &centre);
    Click(button, centre);
    return WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool HasLine(const std::string& record, const std::string& line) {
    return record.find(line + "\r\n") != std::string::npos;
}

// The rest of a record's line that starts with prefix, empty without one.
std::string RecordValue(const std::string& record, const std::string& prefix) {
    size_t at = ("\r\n" + record).find("\r\n" + prefix);
    if (at == std::string::npos) return std::string();
    at += prefix.size();
    return record.substr(at, record.find("\r\n", at) - at);
}

// What an edit control of another process holds (its window text is only its caption there).
std::string EditText(HWND edit) {
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        std::string id = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        shortName_ = "E2EAdapter" + id;
        company_ = "E2ECompany" + id;
        guid_ = "E2E-GUID-" + id;
        // A folder with a blank, as package folders often are.
        pkg_ = dir_.File("Setup Package") + "\\";
        for (const char* sub : {"", "Utility", "Manual"})
            CreateDirectoryA((pkg_ + sub).c_str(), nullptr);
        Copy("setup.exe", pkg_ + "setup.exe");
        Copy("packaged-installer\\Setup.exe", pkg_ + "Utility\\Setup.exe");
        TempDir::WriteFile(pkg_ + "Utility\\Setup.iss", "[InstallShield Silent]\r\n");
        TempDir::WriteFile(pkg_ + "Utility\\Setup.ini",
                           "[Startup]\r\nProductGUID={" + guid_ + "}\r\n");
        TempDir::WriteFile(pkg_ + "License.bin", kLicence);
        TempDir::WriteFile(pkg_ + "Manual\\UserGuide.pdf", "%PDF-1.4\n");
        Settings("");
        // the program the installation registers, a viewer that records its start
        app_ = dir_.File("App\\Viewer.exe");
        CreateDirectoryA(dir_.File("App").c_str(), nullptr);
        Copy("pdf-viewer\\Viewer.exe", app_);
        Installer("");
        ForgetPdfType();
        ParkCursor();
    }
    void TearDown() override {
        setup_.reset();
        ForgetPdfType();
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey + ("{" + guid_ + "}"));
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\" + company_);
        std::string log = Log();
        if (!log.empty()) DeleteFileA(log.c_str());
    }

    static void Copy(const std::string& built, const std::string& to) {
        ASSERT_TRUE(CopyFileA((BinDir() + built).c_str(), to.c_str(), FALSE)) << built;
    }
    // setup.ini: the test's own names, then more lines of [Setup].
    void Settings(const std::string& setupLines, const std::string& product = "E2E Product") {
        TempDir::WriteFile(pkg_ + "setup.ini",
                           "[Product]\r\nCompanyName=" + company_ + "\r\nProductName=" + product +
                               "\r\nShortName=" + shortName_ + "\r\nMsgTitle=" + kMsgTitle +
                               "\r\n[Setup]\r\n" + setupLines + "[Message]\r\nMsgExit=" + kMsgExit +
                               "\r\n");
    }
    // The installer's scenario: it registers the viewer as the product's program unless told
    // otherwise, then the lines given.
    void Installer(const std::string& lines, bool registers = true) {
        std::string text = "[Setup]\r\n";
        if (registers) text += "AppPathKey=" + shortName_ + "\r\nAppPath=" + app_ + "\r\n";
        TempDir::WriteFile(pkg_ + "Utility\\Setup.scn", text + lines);
    }
    // No program of the machine opens .pdf files.
    static void ForgetPdfType() {
        DeleteRegistryTree(HKEY_CLASSES_ROOT, ".pdf");
        DeleteRegistryTree(HKEY_CLASSES_ROOT, "WLStandIn.PdfFile");
    }

    // setup.exe started from its folder as a double click starts it; its window.
    HWND Start() {
        setup_.reset(new Program(pkg_ + "setup.exe", "", pkg_));
        EXPECT_TRUE(setup_->Started());
        HWND main = nullptr;
        WaitUntil([&] { return (main = ShownWindow(setup_->Id(), "TMainForm")) != nullptr; });
        EXPECT_NE(main, nullptr) << "no window";
        // its pages painted
        if (main) RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return main;
    }
    // Started and led to the licence page by its Install button.
    HWND StartOnLicencePage() {
        HWND main = Start();
        if (!main) return nullptr;
        Click(main, kInstall);
        return PageBecomes(main, "TLicensePage") ? main : nullptr;
    }
    DWORD Pid() const { return setup_->Id(); }
    bool Ends() { return setup_->WaitEnd(10000); }
    bool PageBecomes(HWND main, const std::string& page) {
        return WaitUntil([&] { return PageOf(main) == page; }, 10000);
    }

    std::string InstallerRecord() const { return TempDir::ReadFile(pkg_ + "Utility\\Setup.out"); }
    bool InstallerEnded() {
        return WaitUntil([&] { return HasLine(InstallerRecord(), "end"); });
    }
    // The result log the installer was told to write.
    std::string Log() const { return RecordValue(InstallerRecord(), "arg:-f2"); }
    std::string AppRecord() const { return TempDir::ReadFile(dir_.File("App\\Viewer.out")); }

    void Shot(HWND hwnd, const std::string& name) { SaveScreenshot(hwnd, "setup_" + name); }
    // The message box shown now, its title and text checked; a screenshot when named.
    Box ShownBox(const std::string& title, const std::string& text, const char* shot = nullptr) {
        Box box = WaitForBox(Pid());
        EXPECT_NE(box.hwnd, nullptr) << text;
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.text, text);
        if (box.hwnd && shot) Shot(box.hwnd, shot);
        return box;
    }

    TempDir dir_;
    std::string pkg_, shortName_, company_, guid_, app_;
    std::unique_ptr<Program> setup_;
};

}  // namespace

TEST_F(Setup, HappyPathToThePlugPageAndTheStartedApplication) {
    Installer("WaitMs=2500\r\nLog=code\r\nResultCode=0\r\n");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(main), kTitle);
    RECT r;
    GetClientRect(main, &r);
    EXPECT_EQ(r.right, 580);
    EXPECT_EQ(r.bottom, 436);
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 580) << "no frame";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(main, region), COMPLEXREGION) << "rounded corners";
    DeleteObject(region);
    EXPECT_EQ(PageOf(main), "welcome");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\" + company_ + "\\E2E Product"))
        << "the rights check makes its key";
    Shot(main, "welcome");

    // The buttons light up under the mouse.
    WindowPixels plain = CaptureWindow(main);
    POINT over = kInstall;
    ClientToScreen(main, &over);
    ASSERT_TRUE(xinput::MoveTo(over));
    const RECT install = {336, 246, 336 + 163, 246 + 40};
    EXPECT_TRUE(
        WaitUntil([&] { return Differing(plain, CaptureWindow(main), install) > 500; }, 3000));
    ParkCursor();
    EXPECT_TRUE(
        WaitUntil([&] { return Differing(plain, CaptureWindow(main), install) == 0; }, 3000));

    // Install: the licence page with the licence file; Cancel goes back, Install again forward.
    Click(main, kInstall);
    ASSERT_TRUE(PageBecomes(main, "TLicensePage"));
    HWND licence = ChildOf(main, "RichEdit20A");
    ASSERT_NE(licence, nullptr);
    EXPECT_NE(EditText(licence).find("The E2E adapter licence, line two."), std::string::npos)
        << EditText(licence);
    Shot(main, "licence");
    Click(main, kCancel);
    ASSERT_TRUE(PageBecomes(main, "welcome"));
    Click(main, kInstall);
    ASSERT_TRUE(PageBecomes(main, "TLicensePage"));

    // A completion notice before the installer runs is no result of this run.
    PostMessageA(main, 0x920, 0, 0);
    Sleep(300);
    EXPECT_EQ(PageOf(main), "TLicensePage");
    EXPECT_FALSE(ShownWindow(Pid(), "TProgressForm"));

    // Next: the installer runs silently while the progress window spins.
    Click(main, kNext);
    HWND progress = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (progress = ShownWindow(Pid(), "TProgressForm")); }));
    GetClientRect(progress, &r);
    EXPECT_EQ(r.right, 280);
    EXPECT_EQ(r.bottom, 80);
    Sleep(1200);  // a few ticks: the meter grows
    Shot(progress, "progress");
    EXPECT_FALSE(IsWindowEnabled(main)) << "the wait is modal";

    // The notice ends the wait: the plug page, and the registered program started.
    ASSERT_TRUE(PageBecomes(main, "TPlugPage"));
    EXPECT_FALSE(ShownWindow(Pid(), "TProgressForm"));
    Shot(main, "plug");
    std::string record = InstallerRecord();
    std::string log = Log();
    ASSERT_FALSE(log.empty()) << record;
    EXPECT_EQ(_strnicmp(log.c_str(), "C:\\windows\\IS", 13), 0) << log;
    EXPECT_TRUE(HasLine(record, "arg:-s")) << record;
    EXPECT_TRUE(HasLine(record, "cwd:" + pkg_.substr(0, pkg_.size() - 1))) << record;
    EXPECT_TRUE(HasLine(record, "notify:posted")) << record;
    EXPECT_TRUE(TempDir::Exists(log));
    EXPECT_TRUE(WaitUntil([&] { return HasLine(AppRecord(), "end"); })) << "not started";

    // Next on the plug page ends the program, and the log goes with it.
    Click(main, kNext);
    ASSERT_TRUE(Ends());
    EXPECT_FALSE(TempDir::Exists(log));
}

TEST_F(Setup, FailingResultCodeIsShownAndEndsTheProgram) {
    // A failed installation registers nothing.
    Installer("Log=code\r\nResultCode=-8\r\n", false);
    HWND main = StartOnLicencePage();
    ASSERT_NE(main, nullptr);
    Click(main, kNext);

    Box box = ShownBox(kTitle,
                       "Installation failed!\n\nErrorCode=-8\n"
                       "ErrorDesc.=Invalid path to the InstallShield Silent response file.",
                       "failed");
    EXPECT_FALSE(ShownWindow(Pid(), "TProgressForm")) << "gone before the result shows";
    std::string log = Log();
    EXPECT_TRUE(TempDir::Exists(log)) << InstallerRecord();
    ASSERT_TRUE(Answer(box, "OK"));
    ASSERT_TRUE(Ends());
    EXPECT_FALSE(TempDir::Exists(log));
    // Looking for the program to start made no key.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_));
    EXPECT_TRUE(AppRecord().empty());
}

TEST_F(Setup, PackageChecksKeepTheWelcomePage) {
    DeleteFileA((pkg_ + "Utility\\Setup.iss").c_str());
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    Click(main, kInstall);
    Box box = ShownBox(kTitle, "The package is corruptted, please check.", "package_corrupt");
    ASSERT_TRUE(Answer(box, "OK"));
    EXPECT_EQ(PageOf(main), "welcome");

    // With the package whole but the product installed before.
    TempDir::WriteFile(pkg_ + "Utility\\Setup.iss", "[InstallShield Silent]\r\n");
    HKEY h;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (kUninstallKey + ("{" + guid_ + "}")).c_str(), &h),
              ERROR_SUCCESS);
    RegCloseKey(h);
    Click(main, kInstall);
    box = ShownBox(kTitle,
                   "The WLAN monitor utility and drivers for the " + shortName_ +
                       " have already been installed.  If you would like to uninstall these "
                       "items, run the Uninstall program from the 'E2E Product' program group.",
                   "already_installed");
    ASSERT_TRUE(Answer(box, "OK"));
    EXPECT_EQ(PageOf(main), "welcome");
    EXPECT_TRUE(InstallerRecord().empty()) << "the installer never ran";
}

TEST_F(Setup, ExitAsksFirst) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    Click(main, kExit);
    Box box = ShownBox(kMsgTitle, kMsgExit, "exit_question");
    ASSERT_TRUE(Answer(box, "&No"));
    EXPECT_FALSE(setup_->WaitEnd(500));
    EXPECT_TRUE(IsWindowVisible(main));

    Click(main, kExit);
    ASSERT_TRUE(Answer(ShownBox(kMsgTitle, kMsgExit), "&Yes"));
    EXPECT_TRUE(Ends());
}

TEST_F(Setup, UserGuideWithTheReaderOfferAndWithTheAssociation) {
    std::string viewer = dir_.File("Viewer\\Viewer.exe");
    CreateDirectoryA(dir_.File("Viewer").c_str(), nullptr);
    Copy("pdf-viewer\\Viewer.exe", viewer);
    std::string guide = pkg_ + "Manual\\UserGuide.pdf";
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    // No program opens the guide: the offer; No does nothing.
    Click(main, kUserGuide);
    const char offer[] = "Acrobat Reader is not installed. Would you like to install it now?";
    ASSERT_TRUE(Answer(ShownBox(kMsgTitle, offer, "reader_offer"), "&No"));

    // Yes without the reader's setup in the package.
    Click(main, kUserGuide);
    ASSERT_TRUE(Answer(ShownBox(kMsgTitle, offer), "&Yes"));
    ASSERT_TRUE(Answer(
        ShownBox(kMsgTitle, "Unable to find Acrobat Reader setup file.", "reader_setup_missing"),
        "OK"));

    // Yes with it: its window shows past the timer's first tick, which then polls every second;
    // the fourth tick without it opens the guide with the program it registered.
    std::string reader = pkg_ + "AcrobatReader\\Setup.exe";
    CreateDirectoryA((pkg_ + "AcrobatReader").c_str(), nullptr);
    Copy("reader-setup\\Setup.exe", reader);
    TempDir::WriteFile(
        pkg_ + "AcrobatReader\\Setup.scn",
        "[ReaderSetup]\r\nTitle=Acrobat Reader Setup\r\nShowMs=9000\r\nViewer=" + viewer + "\r\n");
    Click(main, kUserGuide);
    Box box = ShownBox(kMsgTitle, offer);
    DWORD yes = GetTickCount();
    ASSERT_TRUE(Answer(box, "&Yes"));
    ASSERT_TRUE(WaitUntil([] { return FindWindowA(nullptr, "Acrobat Reader Setup") != nullptr; }));
    std::string viewerRecord = viewer.substr(0, viewer.size() - 4) + ".out";
    ASSERT_TRUE(WaitUntil([&] { return HasLine(TempDir::ReadFile(viewerRecord), "end"); }));
    DWORD opened = GetTickCount() - yes;
    // 8 s, then ticks of 1 s: the window goes at 9 s, three more ticks without it
    EXPECT_GE(opened, 11500u);
    EXPECT_LE(opened, 20000u);
    EXPECT_TRUE(HasLine(TempDir::ReadFile(viewerRecord), "open:" + guide))
        << TempDir::ReadFile(viewerRecord);
    EXPECT_TRUE(
        HasLine(TempDir::ReadFile(pkg_ + "AcrobatReader\\Setup.out"), "registered:" + viewer));

    // Now a program opens PDF files: the guide opens at once.
    DeleteFileA(viewerRecord.c_str());
    Click(main, kUserGuide);
    ASSERT_TRUE(WaitUntil([&] { return HasLine(TempDir::ReadFile(viewerRecord), "end"); }, 5000));
    EXPECT_TRUE(HasLine(TempDir::ReadFile(viewerRecord), "open:" + guide));
    EXPECT_FALSE(ShownWindow(Pid(), "#32770"));

    // The program registered for PDF files gone: nothing opens the guide.
    ASSERT_TRUE(DeleteFileA(viewer.c_str()));
    Click(main, kUserGuide);
    ASSERT_TRUE(Answer(ShownBox(kMsgTitle, "Can't open user guide.", "guide_not_opened"), "OK"));
}

TEST_F(Setup, CloseFromTheMonitorDuringTheWaitEndsCleanly) {
    // The installer writes its log and never reports: setup waits.
    Installer("Log=code\r\nResultCode=0\r\nNotify=0\r\n");
    HWND main = StartOnLicencePage();
    ASSERT_NE(main, nullptr);
    Click(main, kNext);
    ASSERT_TRUE(WaitUntil([&] { return ShownWindow(Pid(), "TProgressForm") != nullptr; }));
    ASSERT_TRUE(InstallerEnded());
    std::string log = Log();
    ASSERT_TRUE(TempDir::Exists(log)) << InstallerRecord();

    // What the monitor's profile wizard sends.
    HWND app = FindWindowA("TApplication", kTitle);
    ASSERT_NE(app, nullptr);
    PostMessageA(app, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ends());
    EXPECT_FALSE(TempDir::Exists(log));
    Sleep(500);
    EXPECT_TRUE(AppRecord().empty()) << "nothing is started after a close";
}

TEST_F(Setup, InstallerThatCannotStartIsReportedWithoutAWait) {
    Settings("SetupFile=Utility\\Missing.exe\r\n");
    HWND main = StartOnLicencePage();
    ASSERT_NE(main, nullptr);
    Click(main, kNext);
    Box box =
        ShownBox(kTitle, "The installer \"Utility\\Missing.exe\" could not be started (error 2).",
                 "installer_not_started");
    EXPECT_FALSE(ShownWindow(Pid(), "TProgressForm"));
    ASSERT_TRUE(Answer(box, "OK"));
    Sleep(300);
    EXPECT_FALSE(ShownWindow(Pid(), "TProgressForm")) << "no wait for what never started";
    EXPECT_EQ(PageOf(main), "TLicensePage");
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Setup, WithoutRightsToItsKeyTheProgramEndsWithTheAdministratorMessage) {
    // A product name longer than a registry key's name: its key cannot be made, as for a user
    // without administrator rights.
    Settings("", std::string(300, 'P'));
    setup_.reset(new Program(pkg_ + "setup.exe", "", pkg_));
    ASSERT_TRUE(setup_->Started());
    Box box = ShownBox("Setup Wizard",
                       "You do not have administrator privileges, so the installation is being "
                       "terminated. Ask an administrator to install this application.",
                       "no_rights");
    EXPECT_FALSE(ShownWindow(Pid(), "TMainForm"));
    ASSERT_TRUE(Answer(box, "OK"));
    ASSERT_TRUE(Ends());
}

TEST_F(Setup, RegisteredProductEndsQuietlyWithCheckAutorun) {
    Settings("CheckAutorun=1\r\n");
    // Without the product's application path it runs as usual.
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    PostMessageA(FindWindowA("TApplication", kTitle), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ends());

    HKEY h;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (kAppPathsKey + shortName_).c_str(), &h),
              ERROR_SUCCESS);
    RegCloseKey(h);
    setup_.reset(new Program(pkg_ + "setup.exe", "", pkg_));
    ASSERT_TRUE(setup_->Started());
    bool shown = false;
    ASSERT_TRUE(WaitUntil([&] {
        shown = shown || ShownWindow(Pid(), "TMainForm") || ShownWindow(Pid(), "#32770");
        return setup_->WaitEnd(0);
    }));
    EXPECT_FALSE(shown);
}
