// The colour button's face, caption and glyph as the window shows them, the bitmap button's
// faces from a strip, and colour-key regions built from pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

#include "classlib/ImgList.h"
#include "monitor/Bitmapbutton.h"
#include "monitor/Colorbutton.h"
#include "test_buttons_fixture.h"

using namespace buttons_test;

namespace {

// The box around every pixel of one exact colour inside an area of a control.
struct InkBox {
    int Count = 0;
    int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1;
};

class ColorButtonTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        button = new TColorButton(form);
        button->SetBounds(20, 20, 80, 30);
        button->SetColor(kFace);
        button->SetColorLo(kLo);
        button->SetColorHi(kHi);
        button->SetParent(form);
    }
    InkBox Ink(const WindowPixels& pixels, COLORREF color, int inset = 2) {
        InkBox box;
        for (int y = inset; y < button->Height() - inset; ++y) {
            for (int x = inset; x < button->Width() - inset; ++x) {
                if (At(pixels, button, x, y) != color) continue;
                ++box.Count;
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x);
                box.Bottom = std::max(box.Bottom, y);
            }
        }
        return box;
    }

    static constexpr TColor kFace = 0x008000;  // dark green
    static constexpr TColor kLo = 0x800000;    // navy
    static constexpr TColor kHi = 0x00FFFF;    // yellow
    TColorButton* button = nullptr;
};

TEST_F(ColorButtonTest, RaisedFaceHasLightTopLeftDarkFrameAndInnerShade) {
    ShowForm();
    WindowPixels pixels = Capture();
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    EXPECT_EQ(At(pixels, button, 0, 0), COLORREF(kHi));
    EXPECT_EQ(At(pixels, button, 0, 15), COLORREF(kHi));
    EXPECT_EQ(At(pixels, button, 40, 0), COLORREF(kHi));
    EXPECT_EQ(At(pixels, button, 79, 15), frame);
    EXPECT_EQ(At(pixels, button, 40, 29), frame);
    EXPECT_EQ(At(pixels, button, 0, 29), frame);
    EXPECT_EQ(At(pixels, button, 78, 15), COLORREF(kLo));  // the inner shade
    EXPECT_EQ(At(pixels, button, 40, 28), COLORREF(kLo));
    EXPECT_EQ(At(pixels, button, 1, 28), COLORREF(kLo));  // it starts at x 1
    EXPECT_EQ(At(pixels, button, 77, 15), COLORREF(kFace));
    EXPECT_EQ(At(pixels, button, 40, 15), COLORREF(kFace));
    // A new face colour repaints the face.
    button->SetColor(kGrey);
    EXPECT_EQ(CentreOf(button), COLORREF(kGrey));
}

TEST_F(ColorButtonTest, PressedFaceIsFlatWithLowFrameAndCaptionMovedByOne) {
    button->SetCaption("Go");
    button->Font()->SetColor(clBlack);
    ShowForm();
    InkBox normal = Ink(Capture(), RGB(0, 0, 0));
    SendMessageA(button->Handle(), BM_SETSTATE, TRUE, 0);
    WindowPixels pixels = Capture();
    EXPECT_EQ(At(pixels, button, 0, 0), COLORREF(kLo));
    EXPECT_EQ(At(pixels, button, 79, 29), COLORREF(kLo));
    EXPECT_EQ(At(pixels, button, 1, 1), COLORREF(kFace));    // no light edge
    EXPECT_EQ(At(pixels, button, 78, 28), COLORREF(kFace));  // no inner shade
    InkBox pressed = Ink(pixels, RGB(0, 0, 0));
    ASSERT_GT(normal.Count, 0);
    EXPECT_EQ(pressed.Count, normal.Count);
    EXPECT_EQ(pressed.Left, normal.Left + 1);
    EXPECT_EQ(pressed.Top, normal.Top + 1);
    SendMessageA(button->Handle(), BM_SETSTATE, FALSE, 0);
}

TEST_F(ColorButtonTest, DisabledCaptionIsPrintedLightBelowRightAndDarkOnTop) {
    button->SetCaption("Cancel");
    button->SetEnabled(false);
    ShowForm();
    WindowPixels pixels = Capture();
    InkBox hi = Ink(pixels, kHi), lo = Ink(pixels, kLo);
    ASSERT_GT(lo.Count, 10);
    ASSERT_GT(hi.Count, 10);
    EXPECT_EQ(hi.Right, lo.Right + 1);
    EXPECT_EQ(hi.Bottom, lo.Bottom + 1);
    EXPECT_GE(hi.Left, lo.Left + 1);
    EXPECT_GE(hi.Top, lo.Top + 1);
    // No ink of the font's own colour.
    EXPECT_EQ(Ink(pixels, GetSysColor(COLOR_WINDOWTEXT)).Count, 0);
}

TEST_F(ColorButtonTest, FocusAddsOuterFrameAndDottedRectangleOnlyWithCaption) {
    ShowForm();
    button->SetFocus();
    ASSERT_TRUE(button->Focused());
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    auto dotted = [&](const WindowPixels& pixels, int inset) {
        int marks = 0;
        for (int x = inset; x < button->Width() - inset; ++x)
            if (At(pixels, button, x, inset) != COLORREF(kFace)) ++marks;
        return marks;
    };
    // Without a caption: the outer frame, no focus rectangle.
    WindowPixels pixels = Capture();
    EXPECT_EQ(At(pixels, button, 0, 0), frame);
    EXPECT_EQ(At(pixels, button, 1, 1), COLORREF(kHi));  // the raised face one pixel in
    EXPECT_EQ(dotted(pixels, 4), 0);
    button->SetCaption("Ok");
    pixels = Capture();
    int marks = dotted(pixels, 4);
    EXPECT_GT(marks, 10);  // dotted: every other pixel
    EXPECT_LT(marks, button->Width() - 8);
    EXPECT_EQ(dotted(pixels, 5), 0);  // the line lies 4 pixels in
    // The default button is framed like the focused one.
    button->SetCaption("");
    form->SetFocus();
    EXPECT_FALSE(button->Focused());
    EXPECT_EQ(PixelOf(button, 0, 0), COLORREF(kHi));
    button->SetDefault(true);
    EXPECT_TRUE(button->IsDefault());
    EXPECT_EQ(PixelOf(button, 0, 0), frame);
}

TEST_F(ColorButtonTest, GlyphSitsBesideCaptionAndIsEmbossedWhenDisabled) {
    auto* glyphs = new TImageList(form);
    glyphs->SetSize(16, 16);
    TBitmap strip;
    FillBitmap(&strip, 16, 16, kRed);
    glyphs->Add(&strip);
    button->SetCaption("Scan");
    button->Font()->SetColor(clBlack);
    ShowForm();
    InkBox plain = Ink(Capture(), RGB(0, 0, 0));
    button->SetGlyphs(glyphs);
    button->SetGlyphIndex(-1);  // no glyph: as without glyphs
    WindowPixels pixels = Capture();
    EXPECT_EQ(Ink(pixels, RGB(0, 0, 0)).Left, plain.Left);
    EXPECT_EQ(Ink(pixels, kRed).Count, 0);

    button->SetGlyphIndex(0);
    HDC dc = GetDC(button->Handle());
    HGDIOBJ old = SelectObject(dc, button->Font()->Handle());
    SIZE text;
    GetTextExtentPoint32A(dc, "Scan", 4, &text);
    SelectObject(dc, old);
    ReleaseDC(button->Handle(), dc);
    const int gx = (80 - (text.cx + 2) - 16) / 2, gy = (30 - 16 + 2) / 2;
    pixels = Capture();
    InkBox red = Ink(pixels, kRed, 0);
    EXPECT_EQ(red.Count, 16 * 16);
    EXPECT_EQ(red.Left, gx);
    EXPECT_EQ(red.Top, gy);
    // The caption is centred in what is right of the glyph's room.
    InkBox shifted = Ink(pixels, RGB(0, 0, 0));
    EXPECT_NEAR(shifted.Left - plain.Left, (16 + 6) / 2, 1);

    button->SetEnabled(false);
    pixels = Capture();
    EXPECT_EQ(Ink(pixels, kRed, 0).Count, 0);
    EXPECT_EQ(At(pixels, button, gx + 5, gy + 5), COLORREF(kLo));
    EXPECT_EQ(At(pixels, button, gx + 15, gy + 15), COLORREF(kLo));
    EXPECT_EQ(At(pixels, button, gx + 16, gy + 8), COLORREF(kHi));  // the light print
    EXPECT_EQ(At(pixels, button, gx + 8, gy + 16), COLORREF(kHi));
    EXPECT_EQ(At(pixels, button, gx + 16, gy), COLORREF(kFace));
}

TEST_F(ColorButtonTest, DoubleClickPressesTwice) {
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    HWND hwnd = button->Handle();
    LPARAM at = MAKELPARAM(10, 10);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(clicks, 2);
}

// Bitmap button: faces cut from a strip.

class BitmapButtonTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        button = new TBitmapButton(form);
        button->SetBounds(20, 20, 40, 20);
        button->SetParent(form);
    }
    // A strip of equal faces in the colours given, left to right.
    static void Strip(TBitmap* strip, int faceWidth, int height,
                      std::initializer_list<TColor> faces) {
        strip->SetSize(faceWidth * static_cast<int>(faces.size()), height);
        TCanvas* canvas = strip->Canvas();
        int x = 0;
        for (TColor color : faces) {
            canvas->Brush.Color = color;
            RECT r = {x, 0, x + faceWidth, height};
            canvas->FillRect(r);
            x += faceWidth;
        }
    }
    // Centre colours normal, pressed, disabled.
    std::vector<COLORREF> StateColours() {
        std::vector<COLORREF> seen;
        seen.push_back(CentreOf(button));
        SendMessageA(button->Handle(), BM_SETSTATE, TRUE, 0);
        seen.push_back(CentreOf(button));
        SendMessageA(button->Handle(), BM_SETSTATE, FALSE, 0);
        button->SetEnabled(false);
        seen.push_back(CentreOf(button));
        button->SetEnabled(true);
        return seen;
    }
    TBitmapButton* button = nullptr;
};

TEST_F(BitmapButtonTest, FacesOfTheStripByNumberOfFaces) {
    TBitmap strip;
    ShowForm();
    Strip(&strip, 20, 20, {kRed, kBlue});
    button->SetFaces(&strip);
    EXPECT_EQ(StateColours(), (std::vector<COLORREF>{kRed, kBlue, kRed}));
    Strip(&strip, 20, 20, {kRed, kGreen, kBlue});
    button->SetFaces(&strip);
    button->SetNumFaces(3);
    EXPECT_EQ(StateColours(), (std::vector<COLORREF>{kRed, kGreen, kBlue}));
    // One face: the whole strip (here half red, half blue) in every state.
    Strip(&strip, 20, 20, {kRed, kBlue});
    button->SetFaces(&strip);
    button->SetNumFaces(1);
    EXPECT_EQ(PixelOf(button, 5, 10), COLORREF(kRed));
    EXPECT_EQ(PixelOf(button, 35, 10), COLORREF(kBlue));
    EXPECT_EQ(StateColours()[1], CentreOf(button));
}

TEST_F(BitmapButtonTest, NoFaceCountBelowOneDividesByZero) {
    TBitmap strip;
    Strip(&strip, 30, 16, {kRed, kBlue});
    button->SetFaces(&strip);
    ShowForm();
    for (int32_t faces : {0, -1, -7}) {
        button->SetNumFaces(faces);
        button->SetAutoShape(true);
        EXPECT_EQ(button->Width(), 60) << faces;  // the whole strip is the face
        EXPECT_EQ(button->Height(), 16) << faces;
        EXPECT_EQ(PixelOf(button, 5, 8), COLORREF(kRed)) << faces;
        EXPECT_EQ(PixelOf(button, 55, 8), COLORREF(kBlue)) << faces;
        button->SetAutoShape(false);
    }
}

TEST_F(BitmapButtonTest, AutoShapeTakesOneFaceAndItsOutline) {
    // Two 30 x 20 faces: magenta with a red square at 10..19 on the left, blue on the right.
    TBitmap strip;
    Strip(&strip, 30, 20, {kMagenta, kBlue});
    strip.Canvas()->Brush.Color = kRed;
    RECT square = {10, 5, 20, 15};
    strip.Canvas()->FillRect(square);
    ShowForm();
    button->SetAutoShape(true);  // no faces yet: stays off
    EXPECT_FALSE(button->AutoShape());
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(button->Handle(), probe), ERROR);
    button->SetFaces(&strip);
    button->SetAutoShape(true);
    EXPECT_TRUE(button->AutoShape());
    EXPECT_EQ(button->Width(), 30);
    EXPECT_EQ(button->Height(), 20);
    ASSERT_NE(GetWindowRgn(button->Handle(), probe), ERROR);
    EXPECT_TRUE(PtInRegion(probe, 10, 5));
    EXPECT_TRUE(PtInRegion(probe, 19, 14));
    EXPECT_FALSE(PtInRegion(probe, 9, 5));
    EXPECT_FALSE(PtInRegion(probe, 20, 10));
    EXPECT_FALSE(PtInRegion(probe, 15, 15));
    // Around the outline the form shows through.
    WindowPixels pixels = Capture();
    EXPECT_EQ(At(pixels, button, 15, 10), COLORREF(kRed));
    EXPECT_EQ(At(pixels, button, 2, 2), COLORREF(kPageColor));
    // Emptying the faces turns the shape off.
    button->SetFaces(nullptr);
    EXPECT_FALSE(button->AutoShape());
    EXPECT_EQ(GetWindowRgn(button->Handle(), probe), ERROR);
    DeleteObject(probe);
}

// The strip's palette is selected and realized around the stretch and put back after it; the
// button's palette is that of its strip.
TEST_F(BitmapButtonTest, TheStripsPaletteIsRealizedForTheStretch) {
    EXPECT_EQ(button->GetPalette(), nullptr);
    TBitmap strip;
    LoadPaletteBmp(&strip, 40, 20, {{0, 0, 200, 0}, {200, 0, 0, 0}});
    button->SetFaces(&strip);
    EXPECT_EQ(testpictures::PaletteColours(button->GetPalette()), "200,0,0 0,0,200");
    ShowForm();
    EXPECT_EQ(CentreOf(button), RGB(200, 0, 0));
    // the one palette around each stretch, whatever the face
    std::vector<std::string> steps = testpictures::RecordPalettes([this](HDC dc) {
        DrawInto(button, dc);
        DrawInto(button, dc, ODS_SELECTED | ODS_FOCUS);
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"palette 1", "blit", "default palette", "palette 1",
                                               "blit", "default palette"}));

    // a strip without a colour table: nothing to realize
    Strip(&strip, 20, 20, {kRed, kBlue});
    button->SetFaces(&strip);
    EXPECT_EQ(button->GetPalette(), nullptr);
    steps = testpictures::RecordPalettes([this](HDC dc) { DrawInto(button, dc); });
    EXPECT_EQ(steps, std::vector<std::string>{"blit"});
}

// Colour-key regions.

// A 24-bit section of width by height with pixel(x, y) for its colours (y from the top).
HBITMAP MakeSection(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    TBitmap picture;
    picture.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixelColor(&picture, x, y, pixel(x, y));
    return CopyToSection(&picture, width, height);
}

// The region of the pixels the predicate names, one pixel at a time.
HRGN PixelRegion(int width, int height, const std::function<bool(int, int)>& opaque) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!opaque(x, y)) continue;
            HRGN one = CreateRectRgn(x, y, x + 1, y + 1);
            CombineRgn(region, region, one, RGN_OR);
            DeleteObject(one);
        }
    }
    return region;
}

TEST(ColorKeyRegion, ShapeMatchesThePictureRowByRow) {
    // A key-coloured ring around an opaque disc, rows differing from top to bottom, on a
    // width whose rows need padding.
    const int w = 13, h = 9;
    auto opaque = [](int x, int y) {
        int dx = x - 6, dy = y - 4;
        return dx * dx + dy * dy <= 12 || (y == 0 && x < 3);
    };
    HBITMAP section = MakeSection(w, h, [&](int x, int y) {
        return opaque(x, y) ? RGB(20 * x, 10 * y, 40) : RGB(255, 0, 255);
    });
    HRGN region = BuildColorKeyRegion(section, RGB(255, 0, 255), 0);
    ASSERT_NE(region, nullptr);
    HRGN expected = PixelRegion(w, h, opaque);
    EXPECT_TRUE(EqualRgn(region, expected));
    EXPECT_TRUE(PtInRegion(region, 0, 0));  // top left: the picture's first row is its top
    EXPECT_FALSE(PtInRegion(region, 0, 8));
    EXPECT_TRUE(PtInRegion(region, 6, 4));
    EXPECT_FALSE(PtInRegion(region, 12, 4));
    DeleteObject(expected);
    DeleteObject(region);
    DeleteObject(section);
}

TEST(ColorKeyRegion, ThousandsOfRunsAreJoinedFromBatches) {
    // Checkerboard: 50 runs in each of 50 rows, 2500 rectangles.
    const int w = 100, h = 50;
    auto opaque = [](int x, int y) { return (x + y) % 2 == 0; };
    HBITMAP section = MakeSection(
        w, h, [&](int x, int y) { return opaque(x, y) ? RGB(0, 128, 0) : RGB(255, 0, 255); });
    BITMAP info;
    GetObjectA(section, sizeof(info), &info);
    ASSERT_EQ(CountOpaqueRuns(static_cast<const uint8_t*>(info.bmBits), w, h, RGB(255, 0, 255), 0),
              2500u);
    HRGN region = BuildColorKeyRegion(section, RGB(255, 0, 255), 0);
    ASSERT_NE(region, nullptr);
    HRGN expected = PixelRegion(w, h, opaque);
    EXPECT_TRUE(EqualRgn(region, expected));
    // Rectangles of the first, second and third batch.
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 1, 25));
    EXPECT_TRUE(PtInRegion(region, 99, 49));
    EXPECT_FALSE(PtInRegion(region, 98, 49));
    DeleteObject(expected);
    DeleteObject(region);
    DeleteObject(section);
}

}  // namespace
