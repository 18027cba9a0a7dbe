// Helpers of the window tests: serving messages until something happens. Components a test
// makes are freed at its end by TAutoFree holders.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Application.h"

namespace guitest {

// Serves the thread's messages until done() or the time-out; false on time-out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (done()) return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
    }
}

}  // namespace guitest
