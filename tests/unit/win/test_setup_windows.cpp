// The installer's windows in the test program: which buttons each page shows and where, the
// progress window's ticks, and a wait that ends without the installer's notice.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "GuiTestUtil.h"
#include "classlib/Application.h"
#include "setup/Formmainunit.h"
#include "setup/Formprogressunit.h"
#include "setup/Formresourceunit.h"
#include "test_setup_fixture.h"

using namespace setuptest;

namespace {

class SetupWindows : public SetupTest {
protected:
    void SetUp() override {
        SetupTest::SetUp();
        UseOwnNames();
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& e) {
            errors_.push_back(e.Message);
        };
        ResourceForm = NewForm<TResourceForm>(Application);
        ProgressForm = NewForm<TProgressForm>(Application);
        MainForm = NewForm<TMainForm>(Application);
    }
    void TearDown() override {
        FreeAndNil(MainForm);
        FreeAndNil(ProgressForm);
        FreeAndNil(ResourceForm);
        Application->OnException = nullptr;
        EXPECT_TRUE(errors_.empty()) << errors_.front();
        SetupTest::TearDown();
    }
    void ShowPage(TSetupPage* page) {
        MainForm->CurrentPage = page;
        MainForm->ShowCurrentPage();
    }
    // The shown buttons along the foot, by their left edges.
    std::string FootButtons() {
        std::string shown;
        for (TQXImage* b : {MainForm->ImgBtnUserGuide, MainForm->ImgBtnExit, MainForm->ImgBtnCancel,
                            MainForm->ImgBtnNext}) {
            if (!b->Visible()) continue;
            EXPECT_EQ(b->Top(), 380) << b->Name;
            shown += b->Name + "@" + std::to_string(b->Left()) + " ";
        }
        return shown;
    }

    std::vector<std::string> errors_;
};

}  // namespace

TEST_F(SetupWindows, EachPageShowsItsButtonsAtTheirPlaces) {
    MainForm->Show();
    EXPECT_EQ(MainForm->CurrentPage, MainForm->WelcomePage);
    EXPECT_FALSE(MainForm->WelcomePage->Visible()) << "the background is the welcome";
    EXPECT_EQ(FootButtons(), "ImgBtnUserGuide@302 ImgBtnExit@380 ");
    EXPECT_EQ(MainForm->ImgBtnInstall->Left(), 336);
    EXPECT_EQ(MainForm->ImgBtnInstall->Top(), 246);
    EXPECT_EQ(MainForm->ImgBtnInstall->Width(), 163);
    EXPECT_EQ(MainForm->ImgBackground->Height(), 436);

    ShowPage(MainForm->LicensePage);
    EXPECT_TRUE(MainForm->LicensePage->Visible());
    EXPECT_EQ(FootButtons(), "ImgBtnCancel@451 ImgBtnNext@517 ");
    // the licence page lies over the install button, which stays where the welcome put it
    EXPECT_EQ(MainForm->ImgBtnInstall->Left(), 336);

    ShowPage(MainForm->PlugPage);
    EXPECT_TRUE(MainForm->PlugPage->Visible());
    EXPECT_FALSE(MainForm->LicensePage->Visible());
    EXPECT_EQ(FootButtons(), "ImgBtnNext@517 ");

    ShowPage(MainForm->WelcomePage);
    EXPECT_FALSE(MainForm->PlugPage->Visible());
    EXPECT_EQ(FootButtons(), "ImgBtnUserGuide@302 ImgBtnExit@380 ");
}

TEST_F(SetupWindows, ProgressAnimatesAndClosesAtItsTick121) {
    TProgressForm* form = ProgressForm;
    auto tick = [form] { form->TimerProgress->OnTimer(form->TimerProgress); };
    auto topSpinner = [form]() -> int {
        for (int i = form->ControlCount() - 1; i >= 0; --i)
            for (int k = 0; k < TProgressForm::kSpinnerPictures; ++k)
                if (form->Controls(i) == form->ImgSG[k]) return k;
        return -1;
    };
    // A dialog of the installer in front: the program comes forward, its application window
    // first, which brings the wait's window it owns over the dialog; once a program run.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DlgcacClsName";
    RegisterClassA(&wc);
    HWND dialog = CreateWindowExA(0, wc.lpszClassName, "Installer", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                  50, nullptr, nullptr, wc.hInstance, nullptr);
    auto formOverDialog = [&] {
        for (HWND w = GetWindow(dialog, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            if (w == form->Handle()) return true;
        return false;
    };
    for (int run = 0; run < 2; ++run) {
        form->Show();
        SetForegroundWindow(dialog);
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ASSERT_FALSE(formOverDialog());
        tick();
        EXPECT_EQ(GetForegroundWindow(), run == 0 ? Application->Handle() : dialog) << run;
        EXPECT_EQ(formOverDialog(), run == 0) << "run " << run;
        form->Hide();
        form->Show();
        EXPECT_TRUE(form->TimerProgress->Enabled());
        EXPECT_EQ(form->ImgMeter->Width(), 0);
        for (int n = 0; n < 120; ++n) {
            tick();
            ASSERT_EQ(topSpinner(), n % 10) << "tick " << n + 1;
            ASSERT_EQ(form->ImgMeter->Width(), 14 * (n % 11)) << "tick " << n + 1;
        }
        EXPECT_TRUE(form->Visible());
        tick();
        EXPECT_FALSE(form->Visible()) << "run " << run;
        EXPECT_FALSE(form->TimerProgress->Enabled());
    }
    DestroyWindow(dialog);
}

TEST_F(SetupWindows, WaitWithoutTheNoticeEndsAtTheLastTickAndStartsOnlyWhatIsRegistered) {
    MakePackage();
    ASSERT_TRUE(CheckPackageOf(Program()));
    // never reports; registers nothing
    TempDir::WriteFile(pkg_ + "Utility\\Setup.scn", "[Setup]\r\nNotify=0\r\n");
    ProgressForm->TimerProgress->SetInterval(1);
    MainForm->Show();
    ShowPage(MainForm->LicensePage);

    MainForm->ImgBtnNext->Click();
    EXPECT_FALSE(MainForm->Waiting());
    EXPECT_FALSE(ProgressForm->Visible());
    EXPECT_EQ(MainForm->CurrentPage, MainForm->LicensePage);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_));
    std::string first = SetupSettings.LogPath;
    WaitForRecord(pkg_ + "Utility\\Setup.exe");
    EXPECT_TRUE(TempDir::Exists(first));

    // A notice after the wait is nobody's result.
    SendMessageA(MainForm->Handle(), WM_INSTALLDONE, 0, 0);
    EXPECT_EQ(MainForm->CurrentPage, MainForm->LicensePage);

    // Next runs the installer again, with a log of its own; what the product registered is
    // started after this wait.
    std::string app = dir_.File("App\\Viewer.exe");
    CopyStandIn("pdf-viewer", "Viewer.exe", app);
    MakeKey(HKEY_LOCAL_MACHINE, kAppPathsKey + shortName_, "Path", app);
    DeleteFileA((pkg_ + "Utility\\Setup.out").c_str());
    MainForm->ImgBtnNext->Click();
    EXPECT_NE(SetupSettings.LogPath, first);
    EXPECT_TRUE(HasLine(WaitForRecord(app), "open:")) << "the registered program starts";
    EXPECT_TRUE(shown_.empty()) << shown_.front().text;
}
