#include "Thread.h"

#include <exception>

#include "SysUtils.h"

TThread::TThread(bool createSuspended) : createSuspended_(createSuspended) {
    handle_ = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &threadId_);
    if (!handle_)
        throw Exception(
            Format("Thread creation error (%lu)", static_cast<unsigned long>(GetLastError())));
}

TThread::~TThread() {
    if (!handle_) return;
    if (!Finished()) {
        Terminate();
        // A thread that never ran must not start Execute on an object being destroyed.
        if (!started_) skipExecute_ = true;
        while (Suspended()) Resume();
        WaitFor();
    }
    CloseHandle(handle_);
}

void TThread::AfterConstruction() {
    if (!createSuspended_ && !started_) Resume();
}

void TThread::WaitFor() {
    if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
    WaitForSingleObject(handle_, INFINITE);
}

bool TThread::WaitFor(DWORD timeoutMs) {
    if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
    return WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

bool TThread::Finished() const {
    return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

void TThread::Suspend() {
    ++suspendCount_;
    if (SuspendThread(handle_) == static_cast<DWORD>(-1)) --suspendCount_;
}

void TThread::Resume() {
    if (suspendCount_ <= 0) return;
    if (ResumeThread(handle_) == static_cast<DWORD>(-1)) return;
    if (--suspendCount_ == 0) started_ = true;
}

// The one place a thread runs: everything a thread does around Execute belongs here.
DWORD WINAPI TThread::ThreadProc(LPVOID param) {
    TThread* self = static_cast<TThread*>(param);
    if (!self->skipExecute_) {
        try {
            self->Execute();
        } catch (const std::exception& e) {
            self->fatalError_ = e.what();
        } catch (...) {
            self->fatalError_ = "Unknown exception";
        }
    }
    return 0;
}
