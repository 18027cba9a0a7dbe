// TThread: a Win32 thread that runs the virtual Execute once.
//
// The thread is always made suspended: a derived object is complete only after its own
// constructor, so a thread created running is let go by AfterConstruction (MakeThread does both
// steps). A derived class whose Execute uses its own members waits for the thread in its own
// destructor (EndThread); the base destructor runs when those members are gone.
//
// Synchronize runs a call on the main thread through a hidden window of that thread. The main
// thread serves such calls whenever it reads its messages and while it waits in WaitFor, so a
// thread may Synchronize while the main thread is waiting for it to end. The calls wait in the
// process; the window's message only wakes the main thread, so a message another program sends
// it runs nothing but calls this process's threads made.
//
// Ownership: an owner frees a thread object only once its thread has ended. StopThread and
// ReleaseThread below hand a thread that is still running to itself instead: it frees its own
// object when it ends, so nothing is ever freed under a running thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

#include "AnsiString.h"
#include "Handles.h"

// Makes the hidden window through which threads reach the calling thread, which becomes the
// main thread of Synchronize. The first TThread made on the program's first thread calls it;
// a program that makes its first thread elsewhere calls it at start. Later calls do nothing.
void InitThreadSynchronize();
// The thread that runs Synchronize calls; 0 before InitThreadSynchronize.
DWORD SynchronizeThreadId();
// Waits up to timeoutMs for handle. On the main thread it serves Synchronize calls (and any
// other message sent to its windows) meanwhile. True when the handle was signalled.
bool WaitServingSynchronize(HANDLE handle, DWORD timeoutMs);

class TThread {
public:
    explicit TThread(bool createSuspended);
    virtual ~TThread();  // terminates, lets a suspended thread go and waits for it
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the thread unless it was created suspended.
    void AfterConstruction();

    // Asks Execute to end; Execute looks at Terminated() when it cares. TerminatedSet lets a
    // derived class wake an Execute that waits on its own events.
    void Terminate() {
        terminated_ = true;
        TerminatedSet();
    }
    bool Terminated() const { return terminated_; }

    // Until Execute has returned. Not from the thread itself. On the main thread both serve
    // Synchronize calls while they wait.
    void WaitFor();
    // False when the thread still runs after timeoutMs.
    bool WaitFor(DWORD timeoutMs);
    bool Finished() const;

    // Counted as the system counts them. Suspending a thread at an unknown point can catch it
    // holding a lock of the system: only for threads whose owner knows where they are.
    void Suspend();
    void Resume();
    bool Suspended() const { return suspendCount_ > 0; }

    HANDLE Handle() const { return handle_.Get(); }
    DWORD ThreadID() const { return threadId_; }
    // The text of an exception that escaped Execute; empty when none did.
    const AnsiString& FatalError() const { return fatalError_; }

    // Runs method on the main thread and returns when it has run; run directly when called on
    // the main thread. An exception that escapes method is thrown again here. Throws when no
    // main thread window exists (InitThreadSynchronize was never called).
    void Synchronize(const std::function<void()>& method);

    // Set before the thread starts: the object deletes itself after Execute (and OnTerminate).
    // Nobody else may then WaitFor it, free it or touch it once it runs: make it suspended, set
    // this, Resume and forget it.
    std::atomic<bool> FreeOnTerminate{false};
    // Set before the thread starts: run on the main thread (Synchronize) after Execute.
    std::function<void(TThread* sender)> OnTerminate;

    // Gives up ownership: an ended thread's object is deleted at once, a running thread's
    // object is deleted by the thread when it ends; one never started is ended without running
    // Execute. The caller must not touch the object afterwards.
    void FreeWhenFinished();

protected:
    virtual void Execute() = 0;
    virtual void TerminatedSet() {}
    // For destructors of derived classes: Terminate, let a suspended thread go and wait for it
    // to end. Nothing when the thread is already over or when the thread itself deletes its
    // object (FreeOnTerminate).
    void EndThread();

private:
    static DWORD WINAPI ThreadProc(LPVOID param);

    enum EndState { kRunning, kEnded, kAbandoned };

    TKernelHandle handle_;
    DWORD threadId_ = 0;
    bool createSuspended_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> started_{false};      // resumed at least once
    std::atomic<bool> skipExecute_{false};  // destroyed before it ever ran
    std::atomic<int> suspendCount_{1};      // made suspended
    std::atomic<int> endState_{kRunning};   // who frees the object after Execute
    AnsiString fatalError_;
};

// Builds a thread object and then starts it, unless it was created suspended.
template <class T, class... Args>
std::unique_ptr<T> MakeThread(Args&&... args) {
    std::unique_ptr<T> thread(new T(std::forward<Args>(args)...));
    thread->AfterConstruction();
    return thread;
}

// Frees an owned thread object whose thread has ended; one still running is handed to itself
// (FreeWhenFinished) and freed when it ends. The pointer is empty afterwards. True when the
// thread had ended.
template <class T>
bool ReleaseThread(std::unique_ptr<T>& thread) {
    if (!thread) return true;
    bool ended = thread->Finished();
    thread.release()->FreeWhenFinished();
    return ended;
}

// Terminate, wait up to timeoutMs, then ReleaseThread. A thread that did not end in time is
// never terminated and never freed under its feet: it frees itself when it ends.
template <class T>
bool StopThread(std::unique_ptr<T>& thread, DWORD timeoutMs) {
    if (!thread) return true;
    thread->Terminate();
    thread->WaitFor(timeoutMs);
    return ReleaseThread(thread);
}
