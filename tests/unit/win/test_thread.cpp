// The thread base: calls handed to the main thread, objects that free themselves, and owners
// that give up on a thread without freeing it under its feet.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Thread.h"

namespace {

const DWORD kPatienceMs = 5000;  // far beyond what any step here needs

struct Event {
    HANDLE h = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Event() { CloseHandle(h); }
    void Set() { SetEvent(h); }
    bool IsSet() const { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }
    // Serves Synchronize calls meanwhile, as the main thread does.
    bool Wait(DWORD ms = kPatienceMs) { return WaitServingSynchronize(h, ms); }
};

// Execute is the body given; the destructor signals destroyed.
class BodyThread : public TThread {
public:
    BodyThread(bool suspended, std::function<void(BodyThread&)> body, Event* destroyed = nullptr)
        : TThread(suspended), body_(std::move(body)), destroyed_(destroyed) {}
    ~BodyThread() override {
        EndThread();
        if (destroyed_) destroyed_->Set();
    }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(BodyThread&)> body_;
    Event* destroyed_;
};

TEST(ThreadSynchronize, RunsOnTheMainThreadWhileItWaitsForTheThread) {
    const DWORD mainId = GetCurrentThreadId();
    std::vector<DWORD> ranOn;
    int shared = 0;
    int seenAfter = 0;
    DWORD workerId = 0;
    auto thread = MakeThread<BodyThread>(false, [&](BodyThread& self) {
        workerId = GetCurrentThreadId();
        for (int i = 1; i <= 3; ++i)
            self.Synchronize([&, i] {
                ranOn.push_back(GetCurrentThreadId());
                shared = i;
            });
        seenAfter = shared;  // the call has run when Synchronize returns
    });
    // The main thread is inside WaitFor the whole time: it must serve the calls.
    ASSERT_TRUE(thread->WaitFor(kPatienceMs)) << "Synchronize deadlocked against WaitFor";
    EXPECT_EQ(ranOn, std::vector<DWORD>(3, mainId));
    EXPECT_NE(workerId, mainId);
    EXPECT_EQ(seenAfter, 3);
}

TEST(ThreadSynchronize, HandsExceptionsBackAndRunsDirectlyOnTheMainThread) {
    AnsiString caught;
    auto thread = MakeThread<BodyThread>(false, [&](BodyThread& self) {
        try {
            self.Synchronize([] { throw std::runtime_error("no window today"); });
        } catch (const std::exception& e) {
            caught = e.what();
        }
    });
    ASSERT_TRUE(thread->WaitFor(kPatienceMs));
    EXPECT_EQ(caught, "no window today");
    EXPECT_TRUE(thread->FatalError().empty());

    DWORD ranOn = 0;
    thread->Synchronize([&] { ranOn = GetCurrentThreadId(); });
    EXPECT_EQ(ranOn, GetCurrentThreadId());
}

// This process's hidden window of Synchronize: other test programs on the desktop have theirs.
HWND OwnSyncWindow() {
    InitThreadSynchronize();
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, "TThreadSyncWindow", nullptr))) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

TEST(ThreadSynchronize, RunsNothingThatAMessageFromOutsideCarries) {
    HWND window = OwnSyncWindow();
    ASSERT_NE(window, nullptr);
    // What any program can send the window: the process id, which anyone can look up, and a
    // pointer: to a record of the shape the window once called through, then to nowhere.
    bool ran = false;
    std::function<void()> method = [&] { ran = true; };
    struct {
        const std::function<void()>* method;
        std::exception_ptr error;
    } record{&method, nullptr};
    const UINT message = WM_APP + 1;
    const LPARAM nowhere = 0x10;
    auto thread = MakeThread<BodyThread>(false, [&](BodyThread&) {
        SendMessageA(window, message, GetCurrentProcessId(), reinterpret_cast<LPARAM>(&record));
        if (ran) return;  // a failure to report, not a crash
        SendMessageA(window, message, GetCurrentProcessId(), nowhere);
        PostMessageA(window, message, GetCurrentProcessId(), nowhere);
    });
    ASSERT_TRUE(thread->WaitFor(kPatienceMs));
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_FALSE(ran) << "the window called through a pointer it was sent";

    // Synchronize still works afterwards.
    int value = 0;
    auto caller = MakeThread<BodyThread>(
        false, [&](BodyThread& self) { self.Synchronize([&] { value = 7; }); });
    ASSERT_TRUE(caller->WaitFor(kPatienceMs));
    EXPECT_EQ(value, 7);
}

TEST(ThreadSynchronize, RunsEachCallOnceWhileMessagesFromOutsideArrive) {
    HWND window = OwnSyncWindow();
    ASSERT_NE(window, nullptr);
    const DWORD mainId = GetCurrentThreadId();
    constexpr int kThreads = 3;
    constexpr int kCalls = 200;
    int counts[kThreads] = {};
    int early[kThreads] = {};    // Synchronize returned before its call had run
    int offMain[kThreads] = {};  // a call run on another thread
    std::atomic<bool> stop{false};
    // Another program sending the window its message over and over, each answered in turn.
    auto noise = MakeThread<BodyThread>(false, [&](BodyThread&) {
        while (!stop) SendMessageA(window, WM_APP + 1, GetCurrentProcessId(), 0);
    });
    std::vector<std::unique_ptr<BodyThread>> callers;
    for (int t = 0; t < kThreads; ++t)
        callers.push_back(MakeThread<BodyThread>(false, [&, t](BodyThread& self) {
            for (int i = 1; i <= kCalls; ++i) {
                self.Synchronize([&, t] {
                    ++counts[t];
                    if (GetCurrentThreadId() != mainId) ++offMain[t];
                });
                if (counts[t] != i) ++early[t];
            }
        }));
    for (auto& caller : callers) EXPECT_TRUE(caller->WaitFor(kPatienceMs));
    stop = true;
    ASSERT_TRUE(noise->WaitFor(kPatienceMs));
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(counts[t], kCalls) << t;
        EXPECT_EQ(early[t], 0) << t;
        EXPECT_EQ(offMain[t], 0) << t;
    }
}

TEST(ThreadFreeOnTerminate, RunsOnTerminateOnTheMainThreadThenFreesItself) {
    std::vector<std::string> order;  // touched in turn: thread, main thread, thread
    DWORD onTerminateThread = 0;
    TThread* sender = nullptr;
    Event destroyed;
    auto* thread = new BodyThread(
        true, [&](BodyThread&) { order.push_back("execute"); }, &destroyed);
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TThread* s) {
        order.push_back("terminate");
        onTerminateThread = GetCurrentThreadId();
        sender = s;
    };
    TThread* raw = thread;
    thread->Resume();  // from here on the object is the thread's own
    ASSERT_TRUE(destroyed.Wait()) << "the object was not freed";
    order.push_back("destroyed");
    EXPECT_EQ(order, (std::vector<std::string>{"execute", "terminate", "destroyed"}));
    EXPECT_EQ(onTerminateThread, GetCurrentThreadId());
    EXPECT_EQ(sender, raw);
}

TEST(ThreadStop, FreesAThreadThatEndedInTimeAndNeverOneThatStillRuns) {
    // Ends when terminated: freed before StopThread returns.
    Event destroyed1;
    Event wake;
    struct Wakeable : BodyThread {
        Wakeable(Event& wake, Event* destroyed)
            : BodyThread(
                  false, [&wake](BodyThread&) { wake.Wait(INFINITE); }, destroyed),
              wake_(wake) {}
        void TerminatedSet() override { wake_.Set(); }
        Event& wake_;
    };
    std::unique_ptr<Wakeable> polite(new Wakeable(wake, &destroyed1));
    polite->AfterConstruction();
    EXPECT_TRUE(StopThread(polite, kPatienceMs));
    EXPECT_FALSE(polite);
    EXPECT_TRUE(destroyed1.IsSet());

    // Deaf to Terminate: left running and alive, then frees itself once it ends; its owner's
    // OnTerminate is not called any more.
    Event destroyed2;
    Event release;
    Event running;
    bool onTerminate = false;
    bool sawTerminate = false;
    std::unique_ptr<BodyThread> deaf(new BodyThread(
        true,
        [&](BodyThread& self) {
            running.Set();
            WaitForSingleObject(release.h, INFINITE);
            sawTerminate = self.Terminated();
        },
        &destroyed2));
    deaf->OnTerminate = [&](TThread*) { onTerminate = true; };
    deaf->Resume();
    ASSERT_TRUE(running.Wait());
    EXPECT_FALSE(StopThread(deaf, 50));
    EXPECT_FALSE(deaf);
    EXPECT_FALSE(destroyed2.IsSet()) << "freed while its thread still runs";
    release.Set();
    EXPECT_TRUE(destroyed2.Wait()) << "never freed after it ended";
    EXPECT_TRUE(sawTerminate);
    EXPECT_FALSE(onTerminate);

    // Never started: ended without running its body.
    Event destroyed3;
    bool ran = false;
    std::unique_ptr<BodyThread> idle(new BodyThread(
        true, [&](BodyThread&) { ran = true; }, &destroyed3));
    EXPECT_FALSE(ReleaseThread(idle));
    EXPECT_TRUE(destroyed3.Wait());
    EXPECT_FALSE(ran);
}

}  // namespace
