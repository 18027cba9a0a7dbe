#include "Thread.h"

#include <algorithm>
#include <deque>
#include <exception>

#include "SysUtils.h"

namespace {

const char kSyncWindowClass[] = "TThreadSyncWindow";
const UINT kSyncMessage = WM_APP + 1;

// One Synchronize call waiting for the main thread; lives on the caller's stack.
struct SyncCall {
    const std::function<void()>* method = nullptr;
    std::exception_ptr error;
    TEvent done{true};  // set once the call has run
};

// Static initialisers run on the program's first thread, before any other thread exists.
struct SyncState {
    TCriticalSection lock;
    HWND window = nullptr;
    DWORD threadId = 0;
    DWORD firstThreadId = GetCurrentThreadId();
    // The calls this process's threads wait for, oldest first. The window's message carries
    // none of them: any program on the desktop can send it one.
    std::deque<SyncCall*> pending;
    // Never destroyed: threads may still end (and Synchronize) while the program exits.
};

SyncState& Sync() {
    static SyncState* state = new SyncState;
    return *state;
}

// Make sure the first thread is known before main runs.
[[maybe_unused]] const SyncState& syncInit = Sync();

// On the main thread: every call waiting, each taken from the queue before it runs, so that a
// call run while another waits in a message loop runs once.
void RunPendingCalls() {
    SyncState& s = Sync();
    for (;;) {
        SyncCall* call = nullptr;
        {
            TScopedLock lock(s.lock);
            if (s.pending.empty()) return;
            call = s.pending.front();
            s.pending.pop_front();
        }
        // Nothing may unwind through the system's message dispatch.
        try {
            (*call->method)();
        } catch (...) {
            call->error = std::current_exception();
        }
        call->done.Set();  // the caller may return, and the call go, from here on
    }
}

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSyncMessage) {
        RunPendingCalls();
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Waits up to timeoutMs for handle, serving the messages sent to this thread's windows meanwhile,
// as a thread blocked in SendMessage does.
bool WaitServingSent(HANDLE handle, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        // Serve what is already waiting: the wait below wakes only for messages sent later.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            DWORD spent = GetTickCount() - start;
            remaining = spent >= timeoutMs ? 0 : timeoutMs - spent;
        }
        DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, remaining, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        // A message was sent to one of this thread's windows: served at the top of the loop.
        // Posted messages stay queued for the message loop.
    }
}

}  // namespace

void InitThreadSynchronize() {
    SyncState& s = Sync();
    TScopedLock lock(s.lock);
    if (!s.window) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = SyncWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kSyncWindowClass;
        RegisterClassA(&wc);  // fails harmlessly when registered already
        s.window = CreateWindowExA(0, kSyncWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   instance, nullptr);
        if (s.window) s.threadId = GetCurrentThreadId();
    }
}

DWORD SynchronizeThreadId() {
    SyncState& s = Sync();
    TScopedLock lock(s.lock);
    return s.threadId;
}

bool WaitServingSynchronize(HANDLE handle, DWORD timeoutMs) {
    if (GetCurrentThreadId() != SynchronizeThreadId())
        return WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
    return WaitServingSent(handle, timeoutMs);
}

TThread::TThread(bool createSuspended) : createSuspended_(createSuspended) {
    // The program's first thread gets the window as soon as it makes a thread.
    if (GetCurrentThreadId() == Sync().firstThreadId) InitThreadSynchronize();
    handle_.Reset(
        CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &threadId_));
    if (!handle_)
        throw Exception(
            Format("Thread creation error (%lu)", static_cast<unsigned long>(GetLastError())));
}

TThread::~TThread() {
    if (handle_) EndThread();
}

void TThread::EndThread() {
    if (GetCurrentThreadId() == threadId_ || Finished()) return;
    Terminate();
    // A thread that never ran must not start Execute on an object being destroyed.
    if (!started_) skipExecute_ = true;
    while (Suspended()) Resume();
    WaitFor();
}

void TThread::AfterConstruction() {
    if (!createSuspended_ && !started_) Resume();
}

void TThread::WaitFor() {
    if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
    WaitServingSynchronize(handle_.Get(), INFINITE);
}

bool TThread::WaitFor(DWORD timeoutMs) {
    if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
    return WaitServingSynchronize(handle_.Get(), timeoutMs);
}

bool TThread::Finished() const {
    return WaitForSingleObject(handle_.Get(), 0) == WAIT_OBJECT_0;
}

void TThread::Suspend() {
    ++suspendCount_;
    if (SuspendThread(handle_.Get()) == static_cast<DWORD>(-1)) --suspendCount_;
}

void TThread::Resume() {
    int count = suspendCount_;
    if (count <= 0) return;
    // Counted before the thread runs: a thread freed on termination may be gone once resumed.
    bool wasStarted = started_;
    if (count == 1) started_ = true;
    --suspendCount_;
    if (ResumeThread(handle_.Get()) == static_cast<DWORD>(-1)) {
        ++suspendCount_;
        started_ = wasStarted;
    }
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (!method) return;
    SyncState& s = Sync();
    HWND window = nullptr;
    DWORD mainThread = 0;
    {
        TScopedLock lock(s.lock);
        window = s.window;
        mainThread = window ? s.threadId : s.firstThreadId;
    }
    if (GetCurrentThreadId() == mainThread) {
        method();
        return;
    }
    if (!window) throw Exception("Synchronize without a main thread window");
    SyncCall call;
    call.method = &method;
    {
        TScopedLock lock(s.lock);
        s.pending.push_back(&call);
    }
    SendMessageA(window, kSyncMessage, 0, 0);
    bool taken = true;
    {
        TScopedLock lock(s.lock);
        auto queued = std::find(s.pending.begin(), s.pending.end(), &call);
        if (queued != s.pending.end()) {
            // The main thread's window is gone: the call never runs.
            s.pending.erase(queued);
            taken = false;
        }
    }
    // Another message may have taken the call and still be running it.
    if (taken) WaitServingSent(call.done, INFINITE);
    if (call.error) std::rethrow_exception(call.error);
}

void TThread::FreeWhenFinished() {
    if (!started_) {
        // Never ran: end it without Execute.
        skipExecute_ = true;
        Terminate();
    }
    // Let it go first: until the exchange below the thread leaves its object alone.
    while (Suspended()) Resume();
    if (endState_.exchange(kAbandoned) == kEnded)
        delete this;  // waits the moment it needs to return
}

// The one place a thread runs: everything a thread does around Execute belongs here.
DWORD WINAPI TThread::ThreadProc(LPVOID param) {
    TThread* self = static_cast<TThread*>(param);
    if (!self->skipExecute_) {
        try {
            self->Execute();
        } catch (...) {
            self->fatalError_ = CaughtExceptionText();
        }
        if (self->OnTerminate) {
            try {
                // An owner that gave the thread up (on the main thread) no longer wants to hear.
                self->Synchronize([self] {
                    if (self->endState_ != kAbandoned) self->OnTerminate(self);
                });
            } catch (...) {
                // The thread is over; nobody is left to tell.
            }
        }
    }
    bool freeSelf = self->FreeOnTerminate;
    // After this exchange an owner may free the object: touch it no more unless it is ours.
    if (self->endState_.exchange(kEnded) == kAbandoned || freeSelf) delete self;
    return 0;
}
