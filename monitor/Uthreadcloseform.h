// The close-dialogs thread: tells every top-level window to close its dialogs
// (bmCloseDialogs), waits half a second and ends, freeing itself.
#pragma once

#include <windows.h>

#include <functional>

#include "../classlib/Thread.h"

class CThreadCloseForm final : public TThread {
public:
    // Per window: a window that does not answer in this time is skipped.
    static constexpr DWORD kSendTimeoutMs = 5000;
    static constexpr DWORD kPauseMs = 500;

    // Called on the main thread. Starts a thread that is nobody's to keep: it
    // frees itself when it ends. onDone runs on the main thread after the pause,
    // unless the application's main form of the moment of the start is gone by
    // then. Answers the thread's id, for whoever wants to wait for its end.
    static DWORD Start(std::function<void()> onDone = nullptr,
                       DWORD sendTimeoutMs = kSendTimeoutMs);

protected:
    void Execute() override;

private:
    explicit CThreadCloseForm(DWORD sendTimeoutMs);

    const DWORD SendTimeoutMs;
};
