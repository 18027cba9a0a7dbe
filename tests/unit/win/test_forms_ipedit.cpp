// The IP address entry frame on a shown window, driven as a user drives it: clicks into the
// octets, keys typed through the input queue, a paste, the focus leaving an octet and the
// frame; and what it shows disabled.
#include <string>
#include <vector>

#include "Screenshot.h"
#include "UserInput.h"
#include "monitor/Ipedit.h"
#include "test_forms_fixture.h"

namespace formstest {
namespace {

using userinput::Click;
using userinput::ClickCentre;
using userinput::Type;

struct Box {
    int Left;
    int Width;
    bool operator==(const Box& o) const { return Left == o.Left && Width == o.Width; }
};

class IPEntry : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        userinput::ParkCursor();
        form_ = NewForm<TForm>(Application);
        form_->SetBounds(100, 100, 200, 80);
        form_->SetColor(clWhite);
        frame_ = new TFrameIP(form_);
        frame_->SetBounds(10, 10, 112, 17);
        frame_->SetParent(form_);
        outside_ = new TEdit(form_);
        outside_->SetBounds(10, 40, 100, 20);
        outside_->SetParent(form_);
        form_->Show();
        SetForegroundWindow(form_->Handle());
        UpdateWindow(form_->Handle());
    }
    void TearDown() override {
        form_->Free();
        FormsTest::TearDown();
    }

    std::vector<TEdit*> Edits() const {
        return {frame_->EditIP1, frame_->EditIP2, frame_->EditIP3, frame_->EditIP4};
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (TEdit* e : Edits()) texts.push_back(e->Text());
        return texts;
    }
    std::vector<Box> Boxes() const {
        std::vector<Box> boxes;
        for (TEdit* e : Edits()) boxes.push_back({e->Left(), e->Width()});
        return boxes;
    }
    // The window's own idea of where the edit is, not only the control's.
    Box WindowBox(TEdit* edit) {
        RECT r;
        GetWindowRect(edit->Handle(), &r);
        MapWindowPoints(nullptr, frame_->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.right - r.left};
    }
    bool FocusIn(TEdit* edit) {
        return PumpUntil([edit] { return edit->Focused(); });
    }
    // A click at the end of the octet's text, with the caret put after its last digit.
    void ClickInto(TEdit* edit) {
        Click(edit, edit->Width() - 1, edit->Height() / 2);
        ASSERT_TRUE(FocusIn(edit));
        edit->SetSelStart(static_cast<int>(edit->Text().size()));
    }
    COLORREF PixelOf(TControl* control, int x, int y) {
        WindowPixels pixels = CaptureWindow(form_->Handle());
        POINT p = control->ClientToScreen({x, y});
        RECT window;
        GetWindowRect(form_->Handle(), &window);
        return pixels.At(p.x - window.left, p.y - window.top);
    }

    TForm* form_ = nullptr;
    TFrameIP* frame_ = nullptr;
    TEdit* outside_ = nullptr;
};

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
}

}  // namespace

TEST_F(IPEntry, LayoutAndTextsInAndOut) {
    // As made: the cells come from the layout, every octet a full cell showing 255.
    EXPECT_EQ(frame_->FirstLeft, 4);
    EXPECT_EQ(frame_->OctetStep, 28);
    EXPECT_EQ(frame_->OctetWidth, 22);
    EXPECT_EQ(frame_->GetIPText(), "255.255.255.255");
    EXPECT_TRUE(frame_->ImgBG->Visible());
    EXPECT_FALSE(frame_->ImgDisableBG->Visible());
    EXPECT_EQ(frame_->EditIP1->MaxLength(), 3);

    struct Case {
        const char* text;
        std::vector<std::string> octets;
        std::vector<Box> boxes;
        const char* back;
    };
    const std::vector<Case> cases = {
        {"192.168.1.20",
         {"192", "168", "1", "20"},
         {{4, 22}, {32, 22}, {67, 8}, {91, 16}},
         "192.168.1.20"},
        {"", {"", "", "", ""}, {{4, 22}, {32, 22}, {60, 22}, {88, 22}}, ""},
        // No dot: the whole text in the last octet. No range check when set.
        {"300", {"", "", "", "300"}, {{4, 22}, {32, 22}, {60, 22}, {88, 22}}, ""},
        {"1.2.3", {"1", "2", "", "3"}, {{11, 8}, {39, 8}, {60, 22}, {95, 8}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        frame_->SetIPText(c.text);
        EXPECT_EQ(Texts(), c.octets);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(WindowBox(frame_->EditIP4), c.boxes[3]);
        EXPECT_EQ(frame_->GetIPText(), c.back);
    }
    // A four-character octet keeps whatever box it had.
    frame_->SetIPText("1.2.3.45.6");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "2", "3", "45.6"}));
    EXPECT_EQ(Boxes()[3], (Box{95, 8}));
}

TEST_F(IPEntry, TypingTakesDigitsOnlyAndTheDotMovesOn) {
    frame_->SetIPText("");
    ClickInto(frame_->EditIP1);
    // Letters and signs are refused, a fourth digit is beyond the octet, '.' moves on.
    Type("1a-2 34.");
    ASSERT_TRUE(FocusIn(frame_->EditIP2));
    EXPECT_EQ(frame_->EditIP1->Text(), "123");

    // No second leading zero; a zero before another digit stays as typed.
    Type("007.");
    ASSERT_TRUE(FocusIn(frame_->EditIP3));
    EXPECT_EQ(frame_->EditIP2->Text(), "07");
    EXPECT_EQ(Boxes()[1], (Box{35, 16}));  // laid out when left

    // Left on to the next octet, 300 becomes 255; the octets not yet left are untouched.
    Type("300.");
    ASSERT_TRUE(FocusIn(frame_->EditIP4));
    EXPECT_EQ(frame_->EditIP3->Text(), "255");
    EXPECT_EQ(frame_->EditIP4->Text(), "");

    // In the last octet '.' is dropped and the focus stays; backspace goes through.
    Type("4.5\b6");
    ASSERT_TRUE(PumpUntil([&] { return frame_->EditIP4->Text() == "46"; }));
    EXPECT_TRUE(frame_->EditIP4->Focused());
    EXPECT_EQ(frame_->GetIPText(), "123.07.255.46");
}

TEST_F(IPEntry, AnOctetWidensByDigitAsItIsTyped) {
    frame_->SetIPText("10.0.0.1");
    ClickInto(frame_->EditIP4);
    ASSERT_EQ(Boxes()[3], (Box{95, 8}));
    Type("2");
    ASSERT_TRUE(PumpUntil([&] { return frame_->EditIP4->Text() == "12"; }));
    EXPECT_EQ(Boxes()[3], (Box{92, 15}));  // 7 wider, 3 further left
    EXPECT_EQ(WindowBox(frame_->EditIP4), (Box{92, 15}));
    Type("5");
    ASSERT_TRUE(PumpUntil([&] { return frame_->EditIP4->Text() == "125"; }));
    EXPECT_EQ(Boxes()[3], (Box{89, 22}));
    // Leaving lays it out in its cell.
    ClickCentre(outside_);
    ASSERT_TRUE(FocusIn(outside_));
    EXPECT_EQ(Boxes()[3], (Box{88, 22}));
    EXPECT_EQ(frame_->GetIPText(), "10.0.0.125");
}

TEST_F(IPEntry, LeavingTheFrameNormalisesEveryOctet) {
    outside_->SetFocus();
    ASSERT_TRUE(FocusIn(outside_));
    frame_->SetIPText("1.300..7");
    // Pasted through the context menu, the key filter never sees it.
    frame_->EditIP1->SelectAll();
    ASSERT_TRUE(userinput::Paste(frame_->EditIP1->Handle(), "-5"));
    EXPECT_EQ(frame_->EditIP1->Text(), "-5");
    ClickInto(frame_->EditIP4);
    frame_->EditIP4->SelectAll();
    ASSERT_TRUE(userinput::Paste(frame_->EditIP4->Handle(), " 12"));
    EXPECT_EQ(frame_->EditIP4->Text(), " 12");

    // From one octet to another only the one left is normalised.
    ClickInto(frame_->EditIP2);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"-5", "300", "", "0"}));
    // Out of the frame: all four, each in its box.
    ClickCentre(outside_);
    ASSERT_TRUE(FocusIn(outside_));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"0", "255", "0", "0"}));
    EXPECT_EQ(Boxes(), (std::vector<Box>{{11, 8}, {32, 22}, {67, 8}, {95, 8}}));
    EXPECT_EQ(frame_->GetIPText(), "0.255.0.0");

    // The page's own normalising before it reads: typed octets only, the empty one stays.
    frame_->SetIPText("1..999.x");
    frame_->NormalizeTyped();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "", "255", "0"}));
    EXPECT_EQ(frame_->GetIPText(), "");
}

TEST_F(IPEntry, DisabledLooksSilverAndTakesNoInput) {
    frame_->SetIPText("192.168.1.20");
    // Between the first two cells the background shows; the edits' own colour inside them.
    const int gapX = 29, gapY = 3;
    EXPECT_TRUE(Near(PixelOf(frame_, gapX, gapY), RGB(255, 255, 255)));
    EXPECT_TRUE(Near(PixelOf(frame_->EditIP1, 21, 13), RGB(255, 255, 255)));

    frame_->SetEnabled(false);
    EXPECT_FALSE(frame_->Enabled());
    EXPECT_FALSE(frame_->ImgBG->Visible());
    EXPECT_TRUE(frame_->ImgDisableBG->Visible());
    for (TEdit* e : Edits()) {
        EXPECT_FALSE(e->Enabled());
        EXPECT_FALSE(IsWindowEnabled(e->Handle()));
        EXPECT_EQ(e->Color(), static_cast<TColor>(0xC0C0C0));
    }
    UpdateWindow(form_->Handle());
    EXPECT_TRUE(Near(PixelOf(frame_, gapX, gapY), RGB(192, 192, 192)));
    EXPECT_TRUE(Near(PixelOf(frame_->EditIP1, 21, 13), RGB(192, 192, 192)));
    SaveScreenshot(form_->Handle(), "ipedit_disabled");
    // A click on a disabled octet leaves the focus where it was.
    outside_->SetFocus();
    Click(frame_->EditIP1, 5, 5);
    Type("9");
    ASSERT_TRUE(PumpUntil([&] { return outside_->Text() == "9"; }));
    EXPECT_EQ(frame_->EditIP1->Text(), "192");

    frame_->SetEnabled(true);
    EXPECT_TRUE(frame_->ImgBG->Visible());
    EXPECT_FALSE(frame_->ImgDisableBG->Visible());
    for (TEdit* e : Edits()) {
        EXPECT_TRUE(e->Enabled());
        EXPECT_EQ(e->Color(), static_cast<TColor>(0xFFFFFF));
    }
    UpdateWindow(form_->Handle());
    EXPECT_TRUE(Near(PixelOf(frame_, gapX, gapY), RGB(255, 255, 255)));
    SaveScreenshot(form_->Handle(), "ipedit_enabled");
}

}  // namespace formstest
