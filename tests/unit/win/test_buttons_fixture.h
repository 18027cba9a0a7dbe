// A shown form for the skinned buttons' tests: pixels read back from the window, the real
// cursor moved over controls, pictures made of solid colours or read from the skin folder.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "Screenshot.h"
#include "TestPictures.h"
#include "classlib/Application.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"

namespace buttons_test {

using guitest::PumpUntil;


class TButtonHost : public TForm {
public:
    explicit TButtonHost(TComponent* owner) : TForm(owner) {}
};

// Colours of the test faces, as a window shows them.
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGrey = 0x808080;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kPageColor = 0xF8F3F0;  // the pages' light background

inline void FillBitmap(TBitmap* bitmap, int width, int height, TColor color) {
    bitmap->SetSize(width, height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = color;
    RECT r = {0, 0, width, height};
    canvas->FillRect(r);
}

inline void SetPixelColor(TBitmap* bitmap, int x, int y, COLORREF color) {
    uint8_t* p = bitmap->ScanLine(y) + x * 3;
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

// A skin picture from the source tree (Wine reaches the Unix root as drive Z:).
inline void LoadSkinPicture(TBitmap* bitmap, const std::string& file) {
    std::string path = std::string("Z:") + WL_SOURCE_DIR + "/resources/skin/" + file;
    for (char& c : path)
        if (c == '/') c = '\\';
    std::ifstream in(path, std::ios::binary);
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.empty()) throw Exception("Cannot read " + path);
    bitmap->LoadFromMemory(data.data(), data.size());
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = [this](TObject*, const Exception& e) {
            errors.push_back(e.Message);
        };
        ParkCursor();
        form = NewForm<TButtonHost>(Application);
        form->SetBounds(100, 100, 240, 160);
        form->SetColor(kPageColor);
    }
    void TearDown() override {
        ParkCursor();
        form->Free();
        Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        UpdateWindow(form->Handle());
    }
    // Far off every test window.
    static void ParkCursor() { SetCursorPos(1250, 1000); }
    // The real cursor to (x, y) of control.
    static void MoveCursorTo(TControl* control, int x, int y) {
        POINT p = control->ClientToScreen({x, y});
        SetCursorPos(p.x, p.y);
    }
    // The form as shown now, freshly painted.
    WindowPixels Capture() { return CaptureWindow(form->Handle()); }
    // A pixel of control, at (x, y) of its own.
    COLORREF PixelOf(TControl* control, int x, int y) { return At(Capture(), control, x, y); }
    COLORREF At(const WindowPixels& pixels, TControl* control, int x, int y) {
        POINT p = control->ClientToScreen({x, y});
        RECT window;
        GetWindowRect(form->Handle(), &window);
        return pixels.At(p.x - window.left, p.y - window.top);
    }
    COLORREF CentreOf(TControl* control) {
        return PixelOf(control, control->Width() / 2, control->Height() / 2);
    }

    // One owner-drawn paint of the button into dc, as its parent hands the request on.
    static void DrawInto(TWinControl* button, HDC dc, UINT itemState = 0) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = button->Handle();
        item.hDC = dc;
        item.rcItem = {0, 0, button->Width(), button->Height()};
        button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    // A picture of 8 bits a pixel, its colour table the colours given, every pixel the first.
    static void LoadPaletteBmp(TBitmap* bitmap, int width, int height,
                               const std::vector<RGBQUAD>& colours) {
        std::vector<uint8_t> data =
            testpictures::MakeBmp8(width, height, colours, [](int, int) { return uint8_t(0); });
        bitmap->LoadFromMemory(data.data(), data.size());
    }

    TButtonHost* form = nullptr;
    std::vector<std::string> errors;
};

}  // namespace buttons_test
