// A user's mouse and keyboard for the window tests: input made by the X server's test extension
// (tests/tools/xtestd, whose port and secret lie in the file WL_XTESTD_FILE names), so that it
// reaches the programs as a user's does, in one stream with the display's own focus and pointer
// events.
//
// Not SendInput from the test: under Wine that moves the system's cursor and warps the X pointer
// from the test's process, and the program later turns the X crossing event of the warp into a
// mouse move of its own to the old place. A button injected in between lands there: one click
// acts twice, or its button goes up beside the control and the click is lost. Keys injected that
// way are unknown to the X server, which sets them back whenever a window gains the focus.
//
// Each call returns once the X server holds the input (false when it could not be made, and
// LastError says why); the programs take it from there in their own time, as they take a user's.
// A click whose window is not shown at its point within 10 s is not made at all.
#pragma once

#include <windows.h>

#include <string>

namespace xinput {

// The pointer moved to a point of the screen and the left button pressed and released there.
bool Click(POINT screen);
// The pointer moved to a point of the screen, no button pressed.
bool MoveTo(POINT screen);
// A key pressed or released and left so (the modifiers a test holds).
bool Key(WORD vk, bool up);
// A key pressed and released, with Shift held where asked.
bool Press(WORD vk, bool shift = false);
// Typed character by character as the keyboard types it (Shift where a character needs it).
bool Type(const std::string& text);
// Why the last call of this thread returned false.
std::string LastError();

}  // namespace xinput
