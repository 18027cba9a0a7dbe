// Each dialog as the user sees it: message dialogs with every icon and button
// set, the text prompt and the progress dialog. The pictures are written under
// WL_SCREENSHOT_DIR when it is set; the checks run always.
#include <cstdlib>
#include <string>

#include "Screenshot.h"
#include "monitor/Uformaskinfo.h"
#include "monitor/Uformmessage.h"
#include "monitor/Uformprogress.h"
#include "test_forms_fixture.h"

namespace formstest {
namespace {

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
}

// The window's pixels, saved under name when screenshots are wanted; origin is
// where the client area's top left lies in them.
WindowPixels Capture(TForm* form, const std::string& name, POINT& origin) {
    HWND hwnd = form->Handle();
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    SaveScreenshot(hwnd, name);
    RECT window;
    GetWindowRect(hwnd, &window);
    POINT client = {0, 0};
    ClientToScreen(hwnd, &client);
    origin = {client.x - window.left, client.y - window.top};
    return CaptureWindow(hwnd);
}

COLORREF ClientPixel(const WindowPixels& pixels, POINT origin, int x, int y) {
    return pixels.At(origin.x + x, origin.y + y);
}

// Counts pixels of the control's area that are not its face colour: its text.
int InkIn(const WindowPixels& pixels, POINT origin, TControl* control, COLORREF face) {
    int ink = 0;
    for (int y = control->Top() + 3; y < control->Top() + control->Height() - 3; ++y)
        for (int x = control->Left() + 3; x < control->Left() + control->Width() - 3; ++x)
            ink += !Near(ClientPixel(pixels, origin, x, y), face);
    return ink;
}

class Screenshots : public FormsTest {};

TEST_F(Screenshots, MessageDialogs) {
    struct Case {
        int flags;
        const char* name;
        const char* text;
    } cases[] = {
        {0x10, "message_stop_ok", "The profile name must not be empty."},
        {0x21, "message_question_okcancel", "Delete the profile \"Office\"?"},
        {0x34, "message_exclamation_yesno",
         "Your adapter is in use by the system's wireless service.\\nDo you want to switch to "
         "the monitor?"},
        {0x40, "message_information_ok", "The profile was exported."},
        {0x00, "message_plain_ok", "Done"},
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAutoFree<TFormMessage> form(NewForm<TFormMessage>(Application));
        WindowPixels pixels;
        POINT origin = {};
        OneShot shoot(10, [&] {
            pixels = Capture(form.get(), c.name, origin);
            PostCloseDialogs(form->Handle());
        });
        ShowMessageBox(form.get(), nullptr, c.flags, c.text);
        ASSERT_EQ(shoot.Runs, 1);
        ASSERT_GT(pixels.Width, 0);
        // White behind the text, text on it, buttons in the face colour with their captions.
        EXPECT_TRUE(Near(ClientPixel(pixels, origin, 2, 2), RGB(255, 255, 255)));
        TLabel* label = form->LbMsg;
        EXPECT_GT(InkIn(pixels, origin, label, RGB(255, 255, 255)), 20);
        TTrifaceBtn* ok = form->BtnOk;
        EXPECT_TRUE(Near(ClientPixel(pixels, origin, ok->Left() + 4, ok->Top() + 4), face));
        EXPECT_GT(InkIn(pixels, origin, ok, face), 10);
        TImage* icon = form->ImgIcon;
        int iconInk = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                iconInk += !Near(ClientPixel(pixels, origin, icon->Left() + x, icon->Top() + y),
                                 RGB(255, 255, 255));
        if (c.flags & 0xF0) {
            EXPECT_GT(iconInk, 100);
        } else {
            EXPECT_EQ(iconInk, 0);
        }
    }
}

TEST_F(Screenshots, TextPrompt) {
    TAutoFree<TFormAskInfo> form(NewForm<TFormAskInfo>(Application));
    form->SetPromptText("New Profile", "Enter a name for the new profile:");
    form->SetBounds(400, 300, form->Width(), form->Height());
    WindowPixels pixels;
    POINT origin = {};
    OneShot shoot(10, [&] {
        form->EdtInput->SetText("Office");
        pixels = Capture(form.get(), "prompt", origin);
        PostCloseDialogs(form->Handle());
    });
    form->ShowModal();
    ASSERT_EQ(shoot.Runs, 1);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(InkIn(pixels, origin, form->LbPrompt, face), 20);
    EXPECT_GT(InkIn(pixels, origin, form->EdtInput, GetSysColor(COLOR_WINDOW)), 20);
    EXPECT_GT(InkIn(pixels, origin, form->BtnOk, face), 10);
    EXPECT_GT(InkIn(pixels, origin, form->BtnCancel, face), 10);
}

TEST_F(Screenshots, ProgressDialog) {
    TAutoFree<TFormProgress> form(NewForm<TFormProgress>(Application));
    WindowPixels pixels;
    POINT origin = {};
    // Taken while the third picture shows.
    form->ImgBg->Picture()->OnChange = [&, changed = form->ImgBg->Picture()->OnChange] {
        changed();
        if (form->TimerClose->Tag == 2) pixels = Capture(form.get(), "progress", origin);
    };
    ShowProgress(form.get(), nullptr, 500);
    ASSERT_GT(pixels.Width, 0);
    EXPECT_EQ(pixels.Width, 296);
    EXPECT_EQ(pixels.Height, 85);
    TBitmap* step = FormRes->ImgProgress2->Picture()->Bitmap();
    int same = 0, total = 0;
    for (int y = 10; y < 75; y += 5)
        for (int x = 10; x < 286; x += 5) {
            const uint8_t* p = step->ScanLine(y) + x * 3;
            same += Near(ClientPixel(pixels, origin, x, y), RGB(p[2], p[1], p[0]));
            ++total;
        }
    EXPECT_EQ(same, total);
}

}  // namespace
}  // namespace formstest
