// The arithmetic of the monitor's small dialogs, kept apart from the windows: the
// message dialog's text, label and button layout, centring a dialog, and the
// progress dialog's step interval.
#pragma once

#include <cstdint>

#include "../classlib/AnsiString.h"

// The message text as the dialog shows it. The string file cannot hold line
// breaks, so a backslash followed by "n" stands for one.
struct MessageText {
    AnsiString Text;         // every backslash-n pair replaced by a line feed
    int Lines = 1;           // one per pair, plus the rest after the last when not empty
    AnsiString LongestLine;  // the first of the longest pieces between pairs
};
MessageText SplitMessageText(const AnsiString& raw);

constexpr int kMessageLabelMinWidth = 184;
constexpr int kMessageLabelMinHeight = 49;
// What the longest line is measured with, after the line.
constexpr char kMessageMeasurePad[] = "    ";

struct LabelSize {
    int Width = 0;
    int Height = 0;
};
// From the extent of the longest line followed by kMessageMeasurePad: as wide,
// and lines + 2 text heights high, each at least its minimum.
LabelSize MessageLabelSize(int textWidth, int textHeight, int lines);

enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
// By flags & 0xF0: 0x10, 0x20, 0x30, 0x40; anything else has no icon.
MessageIcon MessageIconFor(int flags);
// By flags & 0x0F: 1 OK and Cancel, 4 Yes and No, anything else OK alone.
MessageButtons MessageButtonsFor(int flags);

struct MessageFormLayout {
    int ButtonTop = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
    int OkLeft = 0;
    int CancelLeft = 0;  // only for two buttons
};
// The buttons 16 below the label, the window 16 below them and as wide as the
// label with its left margin on both sides; two buttons 16 either side of the
// middle, one centred.
MessageFormLayout LayoutMessageForm(int labelLeft, int labelTop, int labelWidth, int labelHeight,
                                    int buttonWidth, int buttonHeight, MessageButtons buttons);

// Where a window of size starts when centred over an area (the owner window or
// the screen); the half is an integer division rounded toward zero.
int CentredStart(int areaStart, int areaSize, int size);

// The progress dialog shows five steps: a fifth of the duration rounded up, and
// never 0, which would stop the timer.
uint32_t ProgressInterval(uint32_t durationMs);
