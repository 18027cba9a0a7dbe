// The image button: faces swapped by the mouse (the real cursor for enter and leave), by
// presses, by enabling, from picture slots or an image list, and tab groups by Tag.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "monitor/Qximage.h"
#include "test_buttons_fixture.h"

using namespace buttons_test;

namespace {

class QXImageTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        const TColor colours[4] = {kRed, kGreen, kBlue, kGrey};
        for (int i = 0; i < 4; ++i) {
            faces[i] = new TImage(form);  // held by the form, never shown
            FillBitmap(faces[i]->Picture()->Bitmap(), 40, 20, colours[i]);
        }
    }
    // An image button at (20, 20) with faces 0, 1 and 3 from the picture slots.
    TQXImage* MakeButton(TQXImageStyle style, TWinControl* parent = nullptr, int left = 20) {
        auto* image = new TQXImage(form);
        image->SetBounds(left, 20, 40, 20);
        image->SetImageStyle(style);
        image->SetImageSource(qsrcImage);
        image->SetImage0(faces[0]);
        image->SetImage(1, faces[1]);
        image->SetImage(3, faces[3]);
        image->SetParent(parent ? parent : form);
        return image;
    }
    // The real cursor onto the control, or off it onto the form, once the form has heard it.
    void MoveOnto(TControl* control, bool onto) {
        POINT target = onto ? POINT{control->Left() + 10, control->Top() + 10}
                            : POINT{control->Left() + control->Width() + 30, control->Top() + 40};
        bool heard = false;
        form->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
            heard = heard || (x == target.x && y == target.y);
        };
        MoveCursorTo(form, target.x, target.y);
        bool reached = PumpUntil([&] { return heard; });
        form->OnMouseMove = nullptr;
        ASSERT_TRUE(reached);
    }
    void Press(TQXImage* image) {
        POINT p = {image->Left() + 5, image->Top() + 5};
        SendMessageA(image->Parent()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Release(TQXImage* image) {
        POINT p = {image->Left() + 5, image->Top() + 5};
        SendMessageA(image->Parent()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }

    TImage* faces[4] = {};
};

TEST_F(QXImageTest, PushButtonLightsUnderTheMouseAndDropsOnRelease) {
    TQXImage* image = MakeButton(qsPushButton);
    image->SetMouseOverEffect(true);
    std::vector<std::string> log;
    image->OnMouseEnter = [&](TObject* sender) { log.push_back(sender == image ? "enter" : "?"); };
    image->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
    image->OnClick = [&](TObject*) { log.push_back("click"); };
    ShowForm();
    EXPECT_EQ(CentreOf(image), COLORREF(kRed));
    MoveCursorTo(image, 10, 10);
    ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
    EXPECT_EQ(image->ImageIndex(), 1);
    EXPECT_EQ(CentreOf(image), COLORREF(kGreen));
    Press(image);
    EXPECT_EQ(image->ImageIndex(), 1);
    EXPECT_EQ(CentreOf(image), COLORREF(kGreen));
    Release(image);
    EXPECT_EQ(image->ImageIndex(), 0);  // although the mouse is still over it
    EXPECT_EQ(CentreOf(image), COLORREF(kRed));
    MoveOnto(image, false);
    EXPECT_EQ(image->ImageIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "click", "leave"}));
}

TEST_F(QXImageTest, DisablingShowsFaceThreeAndSilencesEnterAndLeave) {
    for (TQXImageStyle style : {qsButton, qsPushButton, qsTabButton}) {
        TQXImage* image = MakeButton(style);
        image->SetImageIndex(1);
        image->SetEnabled(false);
        EXPECT_EQ(image->ImageIndex(), 3) << style;
        image->SetEnabled(true);
        EXPECT_EQ(image->ImageIndex(), 0) << style;
        image->Free();
    }
    TQXImage* image = MakeButton(qsPushButton);
    image->SetMouseOverEffect(true);
    int events = 0;
    image->OnMouseEnter = [&](TObject*) { ++events; };
    image->OnMouseLeave = [&](TObject*) { ++events; };
    ShowForm();
    image->SetEnabled(false);
    EXPECT_EQ(CentreOf(image), COLORREF(kGrey));
    MoveOnto(image, true);
    EXPECT_EQ(image->ImageIndex(), 3);
    MoveOnto(image, false);
    MoveOnto(image, true);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(CentreOf(image), COLORREF(kGrey));
    // Enabled again with the mouse over it: lit at once.
    image->SetEnabled(true);
    EXPECT_EQ(image->ImageIndex(), 1);
    EXPECT_EQ(CentreOf(image), COLORREF(kGreen));
    MoveOnto(image, false);
    EXPECT_EQ(events, 1);  // the leave
    image->SetEnabled(false);
    image->SetEnabled(true);
    EXPECT_EQ(image->ImageIndex(), 0);
}

TEST_F(QXImageTest, EmptySlotOrMissingListLeavesTheFace) {
    TQXImage* image = MakeButton(qsButton);
    ShowForm();
    image->SetImageIndex(1);
    image->SetImageIndex(2);  // no picture in slot 2
    EXPECT_EQ(image->ImageIndex(), 1);
    EXPECT_EQ(CentreOf(image), COLORREF(kGreen));
    image->SetImageIndex(8);  // no such slot
    image->SetImageIndex(-1);
    EXPECT_EQ(image->ImageIndex(), 1);
    // A plain button ignores presses.
    Press(image);
    Release(image);
    EXPECT_EQ(image->ImageIndex(), 1);
    // Setting Image0 shows it at once and makes it current; the other slots are only stored.
    image->SetImage(2, faces[2]);
    EXPECT_EQ(image->ImageIndex(), 1);
    image->SetImage0(faces[2]);
    EXPECT_EQ(image->ImageIndex(), 0);
    EXPECT_EQ(CentreOf(image), COLORREF(kBlue));
    // After a layout is read, the current slot's picture shows.
    image->SetImage0(faces[0]);
    image->Picture()->Assign(static_cast<TBitmap*>(nullptr));
    EXPECT_EQ(CentreOf(image), COLORREF(kPageColor));
    image->Loaded();
    EXPECT_EQ(CentreOf(image), COLORREF(kRed));
    // The image-list source without a list changes nothing either.
    image->SetImageSource(qsrcImageList);
    image->SetImageIndex(3);
    EXPECT_EQ(image->ImageIndex(), 0);
    EXPECT_EQ(CentreOf(image), COLORREF(kRed));
}

TEST_F(QXImageTest, MeterShowsImagesOfItsList) {
    auto* meters = new TImageList(form);
    meters->SetSize(40, 20);
    TBitmap strip;
    strip.SetSize(120, 20);
    const TColor colours[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        strip.Canvas()->Brush.Color = colours[i];
        RECT r = {i * 40, 0, i * 40 + 40, 20};
        strip.Canvas()->FillRect(r);
    }
    meters->Add(&strip);
    auto* meter = new TQXImage(form);
    meter->SetBounds(20, 20, 40, 20);
    meter->SetParent(form);
    ShowForm();
    meter->SetImageIndex(2);
    EXPECT_EQ(meter->ImageIndex(), 0);  // no list yet
    meter->SetImageList(meters);        // shows image 0
    EXPECT_EQ(CentreOf(meter), COLORREF(kRed));
    meter->SetImageIndex(2);
    EXPECT_EQ(meter->ImageIndex(), 2);
    EXPECT_EQ(CentreOf(meter), COLORREF(kBlue));
    meter->SetImageIndex(1);
    EXPECT_EQ(CentreOf(meter), COLORREF(kGreen));
}

TEST_F(QXImageTest, TabButtonsOfOneTagUnderTheGrandparentFormAGroup) {
    auto* strip = new TPanel(form);  // the tabs' parent; the form owns them
    strip->SetBounds(0, 0, 240, 60);
    strip->SetParent(form);
    TQXImage* tabA = MakeButton(qsTabButton, strip, 10);
    TQXImage* tabB = MakeButton(qsTabButton, strip, 60);
    TQXImage* tabC = MakeButton(qsTabButton, strip, 110);
    TQXImage* otherGroup = MakeButton(qsTabButton, strip, 160);
    TQXImage* push = MakeButton(qsButton, strip, 200);
    tabA->Tag = tabB->Tag = tabC->Tag = push->Tag = 1;
    otherGroup->Tag = 2;
    for (TQXImage* image : {tabB, tabC, otherGroup, push}) image->SetImageIndex(1);
    ShowForm();
    Press(tabA);
    Release(tabA);  // a tab stays selected
    EXPECT_EQ(tabA->ImageIndex(), 1);
    EXPECT_EQ(tabB->ImageIndex(), 0);
    EXPECT_EQ(tabC->ImageIndex(), 0);
    EXPECT_EQ(otherGroup->ImageIndex(), 1);
    EXPECT_EQ(push->ImageIndex(), 1);
    WindowPixels pixels = Capture();
    EXPECT_EQ(At(pixels, tabA, 20, 10), COLORREF(kGreen));
    EXPECT_EQ(At(pixels, tabB, 20, 10), COLORREF(kRed));
    Press(tabC);
    Release(tabC);
    EXPECT_EQ(tabA->ImageIndex(), 0);
    EXPECT_EQ(tabC->ImageIndex(), 1);
    // Tabs straight on the form have no grandparent: only the pressed one changes.
    TQXImage* topA = MakeButton(qsTabButton, form, 20);
    TQXImage* topB = MakeButton(qsTabButton, form, 120);
    topA->SetTop(100);
    topB->SetTop(100);
    topA->Tag = topB->Tag = 5;
    topB->SetImageIndex(1);
    Press(topA);
    Release(topA);
    EXPECT_EQ(topA->ImageIndex(), 1);
    EXPECT_EQ(topB->ImageIndex(), 1);
}

}  // namespace
