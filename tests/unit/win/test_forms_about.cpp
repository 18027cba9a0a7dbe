// The about box: texts of the string file, the program's version, the hidden
// switch to the full version, and the driver version once per attached adapter.
#include <cctype>
#include <string>

#include "Screenshot.h"
#include "classlib/Application.h"
#include "monitor/Uformabout.h"
#include "portable/FakeIniFile.h"
#include "test_adapter_fixture.h"

namespace adaptertest {
namespace {

class AboutBox : public AdapterTest {
protected:
    void SetUp() override {
        AdapterTest::SetUp();
        Application->Initialize();
        strings_ = new FakeIniFile("Wavelorn.ini");
        FAGlobalVar.StringIni.reset(strings_);
        form_ = NewForm<TFormAbout>(Application);
    }
    void TearDown() override {
        form_->Free();
        AdapterTest::TearDown();
    }

    // The driver file: a copy of this program (version 5.1.2600.2180), named by the
    // scenario relative to the Windows directory as the driver library names it.
    void ProvideDriverFile() {
        std::string driver = dir_.File("vyxwl.sys");
        char self[MAX_PATH], windows[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        ASSERT_TRUE(CopyFileA(self, driver.c_str(), FALSE));
        GetWindowsDirectoryA(windows, MAX_PATH);
        ASSERT_EQ(std::toupper(windows[0]), std::toupper(driver[0])) << "same drive needed";
        WriteScenario("DriverPath=..\\" + driver.substr(3) + "\r\n");
    }

    void SetText(const char* section, const char* key, const char* text) {
        strings_->WriteString(section, key, text);
    }

    FakeIniFile* strings_ = nullptr;
    TFormAbout* form_ = nullptr;
};

TEST_F(AboutBox, TextsFromTheStringFileWithTheLayoutTextsAsDefaults) {
    EXPECT_TRUE(form_->PrepareForm(0));
    EXPECT_EQ(form_->Caption(), "About");
    EXPECT_EQ(form_->LbUtyVer->Caption(), "Utility Version:");
    EXPECT_EQ(form_->LbDrvVer->Caption(), "Driver Version:");
    EXPECT_EQ(form_->BtnOk->Caption(), "Ok");
    EXPECT_FALSE(form_->LbRight->Caption().empty());
    EXPECT_EQ(form_->ClientWidth(), 367);
    EXPECT_EQ(form_->ClientHeight(), 218);
    EXPECT_EQ(form_->ImgLogo->Picture()->Width(), 151);
    EXPECT_EQ(form_->ImgLogo->Picture()->Height(), 48);
    // No web address: the arrow, and a click opens nothing.
    EXPECT_EQ(form_->WebAddress, "");
    EXPECT_EQ(form_->ImgLogo->Cursor(), crDefault);
    form_->ImgLogo->Click();

    SetText("FormAbout", "Caption", "Info");
    SetText("FormAbout", "LbRight", "(c) Test");
    SetText("FormAbout", "LbUtyVer", "Programm:");
    SetText("FormAbout", "LbDrvVer", "Treiber:");
    SetText("FormAbout", "WEB", "http://www.example.invalid/");
    SetText("BtnCaption", "BtnOk", "Fine");
    EXPECT_TRUE(form_->PrepareForm(0));
    EXPECT_EQ(form_->Caption(), "Info");
    EXPECT_EQ(form_->LbRight->Caption(), "(c) Test");
    EXPECT_EQ(form_->LbUtyVer->Caption(), "Programm:");
    EXPECT_EQ(form_->LbDrvVer->Caption(), "Treiber:");
    EXPECT_EQ(form_->BtnOk->Caption(), "Fine");
    EXPECT_EQ(form_->WebAddress, "http://www.example.invalid/");
    EXPECT_EQ(form_->ImgLogo->Cursor(), crHandPoint);
}

TEST_F(AboutBox, OkHidesTheBox) {
    form_->PrepareForm(0);
    form_->Show();
    ASSERT_TRUE(form_->Visible());
    SendMessageA(form_->BtnOk->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form_->Visible());
    DWORD style = static_cast<DWORD>(GetWindowLongA(form_->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(AboutBox, ProgramVersionInTwoPartsAndAllFourWithShiftAltF) {
    form_->PrepareForm(0);
    EXPECT_EQ(form_->LblUtyVer->Caption(), "5.1");
    auto click = [&](TShiftState shift) {
        form_->LblUtyVer->OnMouseDown(form_->LblUtyVer, mbLeft, shift | ssLeft, 2, 2);
    };
    click(0);
    click(ssShift | ssAlt);  // F is not down
    EXPECT_EQ(form_->LblUtyVer->Caption(), "5.1");

    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = 'F';
    ASSERT_EQ(SendInput(1, &key, sizeof(key)), 1u);
    bool down = (GetAsyncKeyState('F') & 0x8000) != 0;
    click(ssShift);
    click(ssAlt);
    std::string unchanged = form_->LblUtyVer->Caption();
    click(ssShift | ssAlt);
    std::string full = form_->LblUtyVer->Caption();
    click(ssShift | ssAlt | ssCtrl);
    std::string back = form_->LblUtyVer->Caption();
    key.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof(key));
    PumpFor(0);  // the key's messages go nowhere else

    ASSERT_TRUE(down) << "the system did not take the key";
    EXPECT_EQ(unchanged, "5.1");
    EXPECT_EQ(full, "5.1.2600.2180");
    EXPECT_EQ(back, "5.1");
}

TEST_F(AboutBox, DriverVersionOncePerAttach) {
    ProvideDriverFile();
    form_->PrepareForm(0);
    Create();
    // Attached but not open yet: no driver facts, the next poll tries again.
    form_->AdapterChanged(adapter_.get(), acAttached, 0);
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "");
    EXPECT_FALSE(form_->DriverVersionShown);

    Open();
    form_->AdapterEvent(adapter_.get(), aeProfileApplied, 0);  // only a status poll reads it
    EXPECT_EQ(form_->LblDrvVer->Caption(), "");
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "5.1.2600.2180");
    EXPECT_TRUE(form_->DriverVersionShown);

    // Later polls leave the label alone.
    form_->LblDrvVer->SetCaption("kept");
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "kept");

    // Detached: gone, and no poll brings it back until the next attach.
    form_->AdapterChanged(adapter_.get(), acDetached, 0);
    EXPECT_EQ(form_->Adapter, nullptr);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "");
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "");
    const int notAKind = 7;
    form_->AdapterChanged(adapter_.get(), notAKind, 0);
    EXPECT_EQ(form_->Adapter, nullptr);

    form_->AdapterChanged(adapter_.get(), acAttached, 0);
    EXPECT_EQ(form_->Adapter, adapter_.get());
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "5.1.2600.2180");

    // Preparing again starts over.
    form_->PrepareForm(0);
    EXPECT_EQ(form_->LblDrvVer->Caption(), "");
    EXPECT_FALSE(form_->DriverVersionShown);
}

// Counts the pixels of a control's area that differ from colour: its text.
int InkIn(const WindowPixels& pixels, POINT origin, TControl* control, COLORREF colour) {
    int ink = 0;
    POINT at = {control->Left(), control->Top()};
    if (control->Parent())
        MapWindowPoints(control->Parent()->Handle(),
                        GetAncestor(control->Parent()->Handle(), GA_ROOT), &at, 1);
    for (int y = at.y; y < at.y + control->Height(); ++y)
        for (int x = at.x; x < at.x + control->Width(); ++x)
            ink += pixels.At(origin.x + x, origin.y + y) != colour;
    return ink;
}

TEST_F(AboutBox, AsTheUserSeesIt) {
    ProvideDriverFile();
    Create();
    Open();
    form_->PrepareForm(0);
    form_->AdapterChanged(adapter_.get(), acAttached, 0);
    form_->AdapterEvent(adapter_.get(), aeStatusUpdated, 0);
    form_->Show();
    HWND hwnd = form_->Handle();
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    SaveScreenshot(hwnd, "about");
    WindowPixels pixels = CaptureWindow(hwnd);
    RECT window;
    GetWindowRect(hwnd, &window);
    POINT client = {0, 0};
    ClientToScreen(hwnd, &client);
    POINT origin = {client.x - window.left, client.y - window.top};

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    TControl* texts[] = {form_->LbRight,  form_->LbUtyVer,  form_->LblUtyVer,
                         form_->LbDrvVer, form_->LblDrvVer, form_->BtnOk};
    for (TControl* text : texts) EXPECT_GT(InkIn(pixels, origin, text, face), 10) << text->Name;
    // The logo shows its picture in the panel.
    TBitmap* logo = form_->ImgLogo->Picture()->Bitmap();
    const uint8_t* p = logo->ScanLine(24) + 75 * 3;
    EXPECT_EQ(pixels.At(origin.x + 10 + 2 + 75, origin.y + 13 + 2 + 24), RGB(p[2], p[1], p[0]));
    form_->Hide();
}

}  // namespace
}  // namespace adaptertest
