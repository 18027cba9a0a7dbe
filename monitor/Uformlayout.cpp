#include "Uformlayout.h"

MessageText SplitMessageText(const AnsiString& raw) {
    MessageText result;
    result.Lines = 0;
    size_t start = 0;
    for (;;) {
        size_t pair = raw.find("\\n", start);
        AnsiString piece =
            raw.substr(start, pair == AnsiString::npos ? AnsiString::npos : pair - start);
        result.Text += piece;
        if (piece.size() > result.LongestLine.size()) result.LongestLine = piece;
        if (pair == AnsiString::npos) {
            if (!piece.empty() || result.Lines == 0) ++result.Lines;
            break;
        }
        result.Text += '\n';
        ++result.Lines;
        start = pair + 2;
    }
    return result;
}

LabelSize MessageLabelSize(int textWidth, int textHeight, int lines) {
    LabelSize size;
    size.Width = textWidth < kMessageLabelMinWidth ? kMessageLabelMinWidth : textWidth;
    int height = textHeight * (lines + 2);
    size.Height = height < kMessageLabelMinHeight ? kMessageLabelMinHeight : height;
    return size;
}

MessageIcon MessageIconFor(int flags) {
    switch (flags & 0xF0) {
        case 0x10:
            return MessageIcon::Stop;
        case 0x20:
            return MessageIcon::Question;
        case 0x30:
            return MessageIcon::Exclamation;
        case 0x40:
            return MessageIcon::Information;
        default:
            return MessageIcon::None;
    }
}

MessageButtons MessageButtonsFor(int flags) {
    switch (flags & 0x0F) {
        case 1:
            return MessageButtons::OkCancel;
        case 4:
            return MessageButtons::YesNo;
        default:
            return MessageButtons::Ok;
    }
}

MessageFormLayout LayoutMessageForm(int labelLeft, int labelTop, int labelWidth, int labelHeight,
                                    int buttonWidth, int buttonHeight, MessageButtons buttons) {
    MessageFormLayout layout;
    layout.ButtonTop = labelTop + labelHeight + 16;
    layout.ClientHeight = layout.ButtonTop + buttonHeight + 16;
    layout.ClientWidth = labelWidth + 2 * labelLeft;
    if (buttons == MessageButtons::Ok) {
        layout.OkLeft = (layout.ClientWidth - buttonWidth) / 2;
    } else {
        layout.OkLeft = layout.ClientWidth / 2 - buttonWidth - 16;
        layout.CancelLeft = layout.ClientWidth / 2 + 16;
    }
    return layout;
}

int CentredStart(int areaStart, int areaSize, int size) {
    return areaStart + (areaSize - size) / 2;
}

uint32_t ProgressInterval(uint32_t durationMs) {
    uint64_t interval = (static_cast<uint64_t>(durationMs) + 4) / 5;
    return interval == 0 ? 1 : static_cast<uint32_t>(interval);
}
