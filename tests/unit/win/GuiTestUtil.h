// Helpers of the window tests: serving messages until something happens, and
// components freed when a test ends.
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

// Frees the component when the test ends.
template <class T>
class Owned {
public:
    explicit Owned(T* p) : p_(p) {}
    ~Owned() {
        if (p_) p_->Free();
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_;
};

}  // namespace guitest
