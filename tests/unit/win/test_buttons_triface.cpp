// The three-face button: the face shown in each state on the window's real pixels, hover
// tracking with the real cursor, focus marks, shaping, and a screenshot with the skin's faces.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "classlib/StdCtrls.h"
#include "monitor/Trifacebtn.h"
#include "test_buttons_fixture.h"

using namespace buttons_test;

namespace {

class TrifaceTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        button = new TTrifaceBtn(form);
        button->SetBounds(30, 30, 60, 24);
        button->SetParent(form);
        button->OnClick = [this](TObject*) { ++clicks; };
        FillBitmap(&normal, 30, 12, kRed);  // stretched over the button
        FillBitmap(&over, 30, 12, kGreen);
        FillBitmap(&down, 30, 12, kBlue);
        FillBitmap(&disabled, 30, 12, kGrey);
    }
    void Hover() {
        MoveCursorTo(button, 20, 12);
        ASSERT_TRUE(PumpUntil([&] { return button->MouseOver(); }));
    }
    void Leave() {
        ParkCursor();  // straight off, no move over the form in between
        ASSERT_TRUE(PumpUntil([&] { return !button->MouseOver(); }));
    }
    void Press() { SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 12)); }
    void Release() { SendMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 12)); }

    TTrifaceBtn* button = nullptr;
    TBitmap normal, over, down, disabled;
    int clicks = 0;
};

TEST_F(TrifaceTest, EachStateShowsItsFace) {
    button->SetFaces(&normal);
    button->SetFacesOver(&over);
    button->SetFacesDown(&down);
    button->SetFacesDisable(&disabled);
    ShowForm();
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
    EXPECT_EQ(PixelOf(button, 0, 0), COLORREF(kRed));  // stretched over the whole button
    EXPECT_EQ(PixelOf(button, 59, 23), COLORREF(kRed));
    Hover();
    EXPECT_EQ(CentreOf(button), COLORREF(kGreen));
    Press();
    EXPECT_EQ(CentreOf(button), COLORREF(kBlue));
    Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CentreOf(button), COLORREF(kGreen));  // still under the mouse
    Leave();
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
    button->SetEnabled(false);
    EXPECT_EQ(CentreOf(button), COLORREF(kGrey));
    // Disabled, it hears no mouse: the disabled face stays under the cursor.
    MoveCursorTo(button, 20, 12);
    ASSERT_TRUE(PumpUntil([&] { return CentreOf(button) == COLORREF(kGrey); }));
    EXPECT_FALSE(button->MouseOver());
    button->SetEnabled(true);
    Hover();
    EXPECT_EQ(CentreOf(button), COLORREF(kGreen));
}

// The palette of the picture drawn is selected and realized around the stretch and the focus
// marks and put back after them; the button's palette is that of its normal face.
TEST_F(TrifaceTest, ThePicturesPaletteIsRealizedForTheStretch) {
    EXPECT_EQ(button->GetPalette(), nullptr);
    LoadPaletteBmp(&normal, 30, 12, {{0, 0, 200, 0}, {10, 10, 10, 0}});
    LoadPaletteBmp(&down, 30, 12, {{200, 0, 0, 0}});
    button->SetFaces(&normal);
    button->SetFacesDown(&down);
    button->SetFacesOver(&over);  // no colour table
    EXPECT_EQ(testpictures::PaletteColours(button->GetPalette()), "200,0,0 10,10,10");
    ShowForm();
    EXPECT_EQ(CentreOf(button), RGB(200, 0, 0));
    // the normal face's palette, the pressed face's, the normal's again; each put back
    std::vector<std::string> steps = testpictures::RecordPalettes([this](HDC dc) {
        DrawInto(button, dc, ODS_FOCUS);
        DrawInto(button, dc, ODS_SELECTED);
        DrawInto(button, dc);
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"palette 1", "blit", "default palette", "palette 2",
                                               "blit", "default palette", "palette 1", "blit",
                                               "default palette"}));
    // the hover face has none to select
    Hover();
    steps = testpictures::RecordPalettes([this](HDC dc) { DrawInto(button, dc); });
    EXPECT_EQ(steps, std::vector<std::string>{"blit"});
    EXPECT_EQ(testpictures::PaletteColours(button->GetPalette()), "200,0,0 10,10,10");
}

TEST_F(TrifaceTest, MissingFacesFallBackToTheNormalFace) {
    button->SetFaces(&normal);
    button->SetFacesOver(&over);
    ShowForm();
    Hover();
    EXPECT_EQ(CentreOf(button), COLORREF(kGreen));
    Press();
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
    Release();
    Leave();
    button->SetEnabled(false);
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
    button->SetEnabled(true);
    // Without a hover face the normal face shows under the mouse.
    button->SetFacesOver(nullptr);
    EXPECT_TRUE(button->FacesOver()->Empty());
    Hover();
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
}

TEST_F(TrifaceTest, SettersCopyThePicture) {
    button->SetFaces(&normal);
    FillBitmap(&normal, 30, 12, kBlue);  // the caller's picture changes afterwards
    ShowForm();
    EXPECT_EQ(CentreOf(button), COLORREF(kRed));
    EXPECT_NE(button->Faces(), &normal);
}

TEST_F(TrifaceTest, WithoutPicturesDrawsAColourButtonWithCaption) {
    button->SetCaption("Ok");
    button->SetColor(clBtnFace);
    ShowForm();
    WindowPixels pixels = Capture();
    EXPECT_EQ(At(pixels, button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(pixels, button, 59, 10), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(At(pixels, button, 58, 10), GetSysColor(COLOR_BTNSHADOW));
    int ink = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 4; x < 56; ++x)
            if (At(pixels, button, x, y) != GetSysColor(COLOR_BTNFACE)) ++ink;
    EXPECT_GT(ink, 10);
    // Focused, with its dotted rectangle, as the about box's button is.
    button->SetFocus();
    pixels = Capture();
    EXPECT_EQ(At(pixels, button, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    int dots = 0;
    for (int x = 4; x < 56; ++x)
        if (At(pixels, button, x, 4) != GetSysColor(COLOR_BTNFACE)) ++dots;
    EXPECT_GT(dots, 10);
}

TEST_F(TrifaceTest, FocusShowsCornerMarksOnAPicture) {
    button->SetFaces(&normal);
    button->SetCaption("x");  // a caption's focus rectangle is dropped on a picture
    button->Font()->SetColor(clWhite);
    ShowForm();
    button->SetFocus();
    ASSERT_TRUE(button->Focused());
    WindowPixels pixels = Capture();
    const COLORREF mark = RGB(0, 0, 0), face = kRed;
    const int r = 59, b = 23;
    struct Spot {
        int x, y;
        COLORREF want;
    } spots[] = {
        {0, 0, mark},  {5, 0, mark},     {6, 0, face},     {0, 5, mark},     {0, 6, face},
        {r, 0, mark},  {r - 5, 0, mark}, {r - 6, 0, face}, {r, 5, mark},     {r, 6, face},
        {0, b, mark},  {0, b - 5, mark}, {0, b - 6, face}, {5, b, mark},     {6, b, face},
        {r, b, mark},  {r - 5, b, mark}, {r - 6, b, face}, {r, b - 5, mark}, {r, b - 6, face},
        {30, 0, face}, {0, 12, face},
    };
    for (const Spot& s : spots)
        EXPECT_EQ(At(pixels, button, s.x, s.y), s.want) << s.x << "," << s.y;
    int dots = 0;  // of a focus rectangle 4 pixels in
    for (int x = 4; x <= r - 4; ++x) dots += At(pixels, button, x, 4) != face;
    EXPECT_EQ(dots, 0);
    // No focus marks wanted: the bare picture.
    button->SetNoFocusRect(true);
    pixels = Capture();
    EXPECT_EQ(At(pixels, button, 0, 0), face);
    EXPECT_EQ(At(pixels, button, r, b), face);
}

TEST_F(TrifaceTest, AutoShapeAndNoFocusRectGoTogether) {
    // A 40 x 16 picture: magenta corners of 4 x 4, red elsewhere.
    TBitmap shaped;
    FillBitmap(&shaped, 40, 16, kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x < 4 || x >= 36) && (y < 4 || y >= 12))
                SetPixelColor(&shaped, x, y, RGB(255, 0, 255));
    ShowForm();
    button->SetAutoShape(true);  // no faces: stays off
    EXPECT_FALSE(button->AutoShape());
    EXPECT_FALSE(button->NoFocusRect());
    button->SetFaces(&shaped);
    button->SetAutoShape(true);
    EXPECT_TRUE(button->AutoShape());
    EXPECT_TRUE(button->NoFocusRect());
    EXPECT_EQ(button->Width(), 40);
    EXPECT_EQ(button->Height(), 16);
    button->SetBounds(30, 30, 90, 50);  // the picture's size wins
    EXPECT_EQ(button->Width(), 40);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 39, 15));
    EXPECT_TRUE(PtInRegion(region, 4, 0));
    EXPECT_TRUE(PtInRegion(region, 20, 8));
    EXPECT_EQ(PixelOf(button, 1, 1), COLORREF(kPageColor));
    // Focus marks back on: the shape goes.
    button->SetNoFocusRect(false);
    EXPECT_FALSE(button->AutoShape());
    EXPECT_EQ(GetWindowRgn(button->Handle(), region), ERROR);
    DeleteObject(region);
}

TEST_F(TrifaceTest, ShapingToleranceAndErrors) {
    TBitmap picture;
    FillBitmap(&picture, 3, 2, RGB(255, 0, 255));
    SetPixelColor(&picture, 0, 0, RGB(250, 0, 250));  // about 7 from the key
    SetPixelColor(&picture, 1, 0, RGB(245, 0, 245));  // about 14
    SetPixelColor(&picture, 2, 1, RGB(0, 0, 0));
    ShowForm();
    button->SetFaces(&picture);
    button->SetTransTolerance(266);  // only the low 8 bits: 10
    button->SetAutoShape(true);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 2, 1));
    button->SetTransTolerance(0);
    ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    // Another key colour: the magenta pixels become opaque, the black one is cut out.
    button->SetTransColor(clBlack);
    ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 0, 1));
    EXPECT_FALSE(PtInRegion(region, 2, 1));
    DeleteObject(region);
    // A picture of nothing but the key cannot be shaped.
    TBitmap keyOnly;
    FillBitmap(&keyOnly, 8, 8, clBlack);
    try {
        button->SetFaces(&keyOnly);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message, "Failed to create region.");
    }
}

// A sheet of the skin's buttons in each state, for the eye (WL_SCREENSHOT_DIR).
TEST_F(ButtonTest, ScreenshotOfSkinButtonsInEveryState) {
    form->SetBounds(100, 100, 376, 156);
    TBitmap connectN, connectH, connectD, refreshN, refreshH, refreshD;
    LoadSkinPicture(&connectN, "ImgBtnConnectN.bmp");
    LoadSkinPicture(&connectH, "ImgBtnConnectH.bmp");
    LoadSkinPicture(&connectD, "ImgBtnConnectD.bmp");
    LoadSkinPicture(&refreshN, "ImgBtnRefreshN.bmp");
    LoadSkinPicture(&refreshH, "ImgBtnRefreshH.bmp");
    LoadSkinPicture(&refreshD, "ImgBtnRefreshD.bmp");
    const char* states[] = {"Normal", "Hover", "Pressed", "Disabled"};
    TTrifaceBtn* connect[4];
    TTrifaceBtn* refresh[4];
    TTrifaceBtn* plain[4];
    for (int i = 0; i < 4; ++i) {
        int left = 16 + i * 90;
        auto* label = new TLabel(form);
        label->SetBounds(left, 14, 76, 14);
        label->SetAlignment(taCenter);
        label->SetCaption(states[i]);
        label->SetParent(form);
        connect[i] = new TTrifaceBtn(form);
        connect[i]->SetBounds(left, 40, 76, 21);
        connect[i]->SetNoFocusRect(true);
        connect[i]->SetParent(form);
        connect[i]->SetFaces(&connectN);
        connect[i]->SetFacesDown(&connectD);
        connect[i]->SetFacesOver(&connectH);
        refresh[i] = new TTrifaceBtn(form);
        refresh[i]->SetBounds(left, 76, 76, 21);
        refresh[i]->SetNoFocusRect(true);
        refresh[i]->SetParent(form);
        refresh[i]->SetFaces(&refreshN);
        refresh[i]->SetFacesDown(&refreshD);
        refresh[i]->SetFacesOver(&refreshH);
        // The message dialog's kind: no pictures, a caption on the button face colour.
        plain[i] = new TTrifaceBtn(form);
        plain[i]->SetBounds(left, 116, 75, 25);
        plain[i]->SetColor(clBtnFace);
        plain[i]->SetCaption(i == 3 ? "Cancel" : "Ok");
        plain[i]->SetParent(form);
    }
    for (TTrifaceBtn* b : {connect[3], refresh[3], plain[3]}) b->SetEnabled(false);
    ShowForm();
    for (TTrifaceBtn* b : {connect[2], refresh[2], plain[2]})
        SendMessageA(b->Handle(), BM_SETSTATE, TRUE, 0);
    MoveCursorTo(connect[1], 30, 8);
    ASSERT_TRUE(PumpUntil([&] { return connect[1]->MouseOver(); }));
    // The cursor is in one place only: the Refresh button hears a move of its own. Its leave
    // notice waits in the queue, which is not served before the pictures are taken.
    refresh[1]->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(30, 8));
    plain[0]->SetFocus();
    WindowPixels pixels = Capture();
    SaveScreenshot(form->Handle(), "buttons_triface_states");
    // Each state shows its own picture (the disabled one its normal face).
    auto face = [](TBitmap* b) {
        const uint8_t* p = b->ScanLine(3) + 38 * 3;
        return RGB(p[2], p[1], p[0]);
    };
    auto shown = [&](TTrifaceBtn* b) { return At(pixels, b, 38, 3); };
    EXPECT_EQ(shown(connect[0]), face(&connectN));
    EXPECT_EQ(shown(connect[1]), face(&connectH));
    EXPECT_EQ(shown(connect[2]), face(&connectD));
    EXPECT_EQ(shown(connect[3]), face(&connectN));
    EXPECT_EQ(shown(refresh[1]), face(&refreshH));
    EXPECT_EQ(shown(refresh[2]), face(&refreshD));
    EXPECT_NE(face(&connectN), face(&connectH));
    EXPECT_NE(face(&connectN), face(&connectD));
}

}  // namespace
