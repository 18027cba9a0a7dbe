// Bringing a window to the front: the one shared helper of the adapter core that the installer
// front end links as well, so it needs nothing of the monitor's settings or driver binding.
#pragma once

#include <windows.h>

// Makes the window the foreground window, restoring it when minimised.
void BringWindowToFront(HWND window);
