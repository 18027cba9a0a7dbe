// TThread: a Win32 thread that runs the virtual Execute once.
//
// The thread is always made suspended: a derived object is complete only after its own
// constructor, so a thread created running is let go by AfterConstruction (MakeThread does both
// steps). A derived class whose Execute uses its own members waits for the thread in its own
// destructor; the base destructor runs when those members are gone.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <utility>

#include "AnsiString.h"

class TThread {
public:
    explicit TThread(bool createSuspended);
    virtual ~TThread();  // terminates, lets a suspended thread go and waits for it
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the thread unless it was created suspended.
    void AfterConstruction();

    // Asks Execute to end; Execute looks at Terminated() when it cares.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Until Execute has returned. Not from the thread itself.
    void WaitFor();
    // False when the thread still runs after timeoutMs.
    bool WaitFor(DWORD timeoutMs);
    bool Finished() const;

    // Counted as the system counts them. Suspending a thread at an unknown point can catch it
    // holding a lock of the system: only for threads whose owner knows where they are.
    void Suspend();
    void Resume();
    bool Suspended() const { return suspendCount_ > 0; }

    HANDLE Handle() const { return handle_; }
    DWORD ThreadID() const { return threadId_; }
    // The text of an exception that escaped Execute; empty when none did.
    const AnsiString& FatalError() const { return fatalError_; }

protected:
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(LPVOID param);

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    bool createSuspended_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> started_{false};      // resumed at least once
    std::atomic<bool> skipExecute_{false};  // destroyed before it ever ran
    std::atomic<int> suspendCount_{1};      // made suspended
    AnsiString fatalError_;
};

// Builds a thread object and then starts it, unless it was created suspended.
template <class T, class... Args>
std::unique_ptr<T> MakeThread(Args&&... args) {
    std::unique_ptr<T> thread(new T(std::forward<Args>(args)...));
    thread->AfterConstruction();
    return thread;
}
