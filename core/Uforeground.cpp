#include "Uforeground.h"

void BringWindowToFront(HWND window) {
    // Only a thread that shares the foreground thread's input may take the foreground from it.
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD thisThread = GetCurrentThreadId();
    bool attached = foregroundThread != 0 && foregroundThread != thisThread &&
                    AttachThreadInput(thisThread, foregroundThread, TRUE);
    if (IsIconic(window)) OpenIcon(window);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    if (attached) AttachThreadInput(thisThread, foregroundThread, FALSE);
}
