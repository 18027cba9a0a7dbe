// The arithmetic of the message dialog, dialog placement and progress steps.
#include <gtest/gtest.h>

#include <climits>

#include "monitor/Uformlayout.h"

TEST(MessageText, BackslashNPairsBreakLinesAndCountThem) {
    MessageText two = SplitMessageText("Name\\nmissing");
    EXPECT_EQ(two.Text, "Name\nmissing");
    EXPECT_EQ(two.Lines, 2);
    EXPECT_EQ(two.LongestLine, "missing");

    // a pair at the end ends the last line; nothing after it makes no line
    MessageText trailing = SplitMessageText("Saved\\n");
    EXPECT_EQ(trailing.Text, "Saved\n");
    EXPECT_EQ(trailing.Lines, 1);

    MessageText three = SplitMessageText("abc\\n\\nxyz");
    EXPECT_EQ(three.Text, "abc\n\nxyz");
    EXPECT_EQ(three.Lines, 3);
    // of equally long lines the first counts
    EXPECT_EQ(three.LongestLine, "abc");
}

TEST(MessageText, RealLineFeedsAreNeitherSplitNorCounted) {
    MessageText text = SplitMessageText("Switch?\nYes or no");
    EXPECT_EQ(text.Text, "Switch?\nYes or no");
    EXPECT_EQ(text.Lines, 1);
    EXPECT_EQ(text.LongestLine, "Switch?\nYes or no");
}

TEST(MessageText, EmptyAndPlainTexts) {
    MessageText empty = SplitMessageText("");
    EXPECT_EQ(empty.Text, "");
    EXPECT_EQ(empty.Lines, 1);
    EXPECT_EQ(empty.LongestLine, "");

    MessageText plain = SplitMessageText("C:\\new\\file");  // a path: "\n" of "\new" is a pair
    EXPECT_EQ(plain.Text, "C:\new\\file");
    EXPECT_EQ(plain.Lines, 2);
    EXPECT_EQ(plain.LongestLine, "ew\\file");

    MessageText lone = SplitMessageText("a\\b n");  // backslash and n apart: no pair
    EXPECT_EQ(lone.Lines, 1);
    EXPECT_EQ(lone.Text, "a\\b n");
}

TEST(MessageLayout, LabelKeepsItsMinimumSize) {
    LabelSize small = MessageLabelSize(60, 14, 1);
    EXPECT_EQ(small.Width, 184);
    EXPECT_EQ(small.Height, 49);  // 3 x 14 = 42 is less
    LabelSize twoLines = MessageLabelSize(300, 14, 2);
    EXPECT_EQ(twoLines.Width, 300);
    EXPECT_EQ(twoLines.Height, 56);
    LabelSize exact = MessageLabelSize(184, 0, 0);
    EXPECT_EQ(exact.Width, 184);
    EXPECT_EQ(exact.Height, 49);
}

TEST(MessageLayout, IconAndButtonsFromFlags) {
    EXPECT_EQ(MessageIconFor(0x10), MessageIcon::Stop);
    EXPECT_EQ(MessageIconFor(0x24), MessageIcon::Question);
    EXPECT_EQ(MessageIconFor(0x31), MessageIcon::Exclamation);
    EXPECT_EQ(MessageIconFor(0x40), MessageIcon::Information);
    EXPECT_EQ(MessageIconFor(0x05), MessageIcon::None);
    EXPECT_EQ(MessageIconFor(0x50), MessageIcon::None);
    EXPECT_EQ(MessageIconFor(0x110), MessageIcon::Stop);  // higher bits do not count

    EXPECT_EQ(MessageButtonsFor(0x21), MessageButtons::OkCancel);
    EXPECT_EQ(MessageButtonsFor(0x24), MessageButtons::YesNo);
    EXPECT_EQ(MessageButtonsFor(0x05), MessageButtons::Ok);
    EXPECT_EQ(MessageButtonsFor(0x10), MessageButtons::Ok);
    EXPECT_EQ(MessageButtonsFor(0x03), MessageButtons::Ok);
}

TEST(MessageLayout, ButtonsAndWindowAroundTheLabel) {
    MessageFormLayout two = LayoutMessageForm(49, 8, 184, 49, 75, 25, MessageButtons::YesNo);
    EXPECT_EQ(two.ButtonTop, 73);
    EXPECT_EQ(two.ClientHeight, 114);
    EXPECT_EQ(two.ClientWidth, 282);
    EXPECT_EQ(two.OkLeft, 141 - 75 - 16);
    EXPECT_EQ(two.CancelLeft, 141 + 16);

    MessageFormLayout one = LayoutMessageForm(49, 8, 185, 60, 75, 25, MessageButtons::Ok);
    EXPECT_EQ(one.ClientWidth, 283);
    EXPECT_EQ(one.OkLeft, 104);  // (283 - 75) / 2
    EXPECT_EQ(one.ButtonTop, 84);
    EXPECT_EQ(one.ClientHeight, 125);
}

TEST(DialogPlacement, CentredWithHalvesRoundedTowardZero) {
    EXPECT_EQ(CentredStart(100, 580, 282), 249);
    EXPECT_EQ(CentredStart(0, 1280, 283), 498);  // 997 / 2
    // an owner smaller than the dialog: -5 / 2 is -2, not -3
    EXPECT_EQ(CentredStart(10, 100, 105), 8);
}

TEST(ProgressSteps, AFifthOfTheDurationRoundedUpAndNeverZero) {
    EXPECT_EQ(ProgressInterval(20000), 4000u);
    EXPECT_EQ(ProgressInterval(20001), 4001u);
    EXPECT_EQ(ProgressInterval(6), 2u);
    EXPECT_EQ(ProgressInterval(5), 1u);
    EXPECT_EQ(ProgressInterval(1), 1u);
    EXPECT_EQ(ProgressInterval(0), 1u);  // 0 would stop the timer: the dialog never closes
    EXPECT_EQ(ProgressInterval(UINT_MAX), 858993459u);  // 32 bits would wrap to 0, then 1
}
