// A user's hands for the window tests of the test program's own windows: keys typed through the
// system's input queue, clicks of the real mouse at a point of a control, and a paste from the
// clipboard as an edit's context menu makes it. The window must be in the foreground for the keys.
// Only for windows of this process: Wine knows the pointer moves this process makes for what they
// are. Input for another program goes through the X server (XInput.h).
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "classlib/Controls.h"

namespace userinput {

inline void Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

// Each character pressed and released as the keyboard types it (Shift held where it needs it).
inline void Type(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) continue;
        bool shift = (scan & 0x100) != 0;
        if (shift) Key(VK_SHIFT, false);
        Key(static_cast<WORD>(scan & 0xFF), false);
        Key(static_cast<WORD>(scan & 0xFF), true);
        if (shift) Key(VK_SHIFT, true);
    }
}

// The left button pressed and released at (x, y) of control.
inline void Click(TControl* control, int x, int y) {
    POINT p = control->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

inline void ClickCentre(TControl* control) {
    Click(control, control->Width() / 2, control->Height() / 2);
}

// The clipboard's text replaces the edit's selection, as the context menu's Paste does.
inline bool Paste(HWND edit, const std::string& text) {
    if (!OpenClipboard(edit)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!set) GlobalFree(memory);
    CloseClipboard();
    if (set) SendMessageA(edit, WM_PASTE, 0, 0);
    return set;
}

// Far off every test window.
inline void ParkCursor() {
    SetCursorPos(1250, 1000);
}

}  // namespace userinput
