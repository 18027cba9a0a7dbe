// The internet check, against listeners on the loopback address only: an open listener is a
// reachable server, a closed port an unreachable one, a listener whose queue is full a server
// that never answers.
// clang-format off
#include "Loopback.h"  // winsock2.h before windows.h
// clang-format on
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "core/Uthreadinternet.h"

using namespace loopback;

namespace {

const DWORD kPatienceMs = 5000;

struct Event {
    HANDLE h = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ~Event() { CloseHandle(h); }
};

class InternetCheck : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        closedPort_ = ClosedPort();
    }
    void TearDown() override {
        if (thread_) {
            EXPECT_TRUE(thread_->StopInternetCheck());
            thread_.reset();
        }
        WSACleanup();
    }

    // Each try takes the next port of the script, then closed ports.
    void Start(const AnsiString& local, std::vector<int> script, DWORD periodMs = 10) {
        if (thread_) {
            ASSERT_TRUE(thread_->StopInternetCheck());
            thread_.reset();
        }
        picks_ = 0;
        tries_ = 0;
        outcomes_.clear();
        reports_.clear();
        ResetEvent(picked_.h);
        ResetEvent(tried_.h);
        InternetCheckSetup setup;
        setup.PeriodMs = periodMs;
        setup.PickTarget = [this, script] {
            size_t i = picks_++;
            SetEvent(picked_.h);
            return InternetCheckTarget{kLoopback, i < script.size() ? script[i] : closedPort_};
        };
        setup.TryDone = [this](bool outcome) {
            outcomes_.push_back(outcome);  // read only after the thread waits or ends
            ++tries_;
            SetEvent(tried_.h);
        };
        thread_.reset(new ThreadInternetStatus(
            local,
            [this](bool ok) {
                reports_.push_back({ok, int(picks_), GetCurrentThreadId()});
            },
            setup));
    }
    // Until the thread has made this many tries, serving its reports meanwhile.
    bool WaitTries(int count) {
        while (tries_ < count)
            if (!WaitServingSynchronize(tried_.h, kPatienceMs)) return false;
        return true;
    }

    struct Report {
        bool ok;
        int atTry;
        DWORD thread;
        bool operator==(const Report& o) const {
            return ok == o.ok && atTry == o.atTry && thread == o.thread;
        }
    };

    int closedPort_ = 0;
    std::atomic<int> picks_{0};
    std::atomic<int> tries_{0};
    std::vector<bool> outcomes_;
    Event picked_;
    Event tried_;
    std::vector<Report> reports_;  // main thread only
    std::unique_ptr<ThreadInternetStatus> thread_;
};

TEST(InternetReport, ReachableAtOnceUnreachableAtTheSecondFailureSinceTheLastReport) {
    // Per try: 1 success, 0 failure; and what was reported at that try, '-' nothing.
    const char* const cases[][2] = {
        {"000", "---"},          // the initial unreachable is never reported
        {"11", "1-"},            // reachable once only
        {"10", "1-"},            // one failure is not enough
        {"100", "1-0"},          // two in a row are
        {"1010", "1--0"},        // successes between them do not count
        {"10110", "1---0"},      // nor do several
        {"0100", "-1-0"},        // failures before the first success do not count
        {"100001", "1-0--1"},    // reachable again at once
        {"1000100", "1-0-1-0"},  // and counting starts anew after each report
    };
    for (const auto& c : cases) {
        InternetReportRule rule;
        std::string reports;
        for (const char* t = c[0]; *t; ++t)
            reports += rule.Try(*t == '1') ? (rule.Reachable() ? '1' : '0') : '-';
        EXPECT_EQ(reports, c[1]) << c[0];
    }
}

TEST_F(InternetCheck, ConnectsOnlyFromAUsableAddressToAnOpenPort) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_FALSE(BindLocalAddress(s, ""));
    EXPECT_FALSE(BindLocalAddress(s, "0.0.0.0"));
    EXPECT_TRUE(BindLocalAddress(s, kLoopback));
    Listener open;
    EXPECT_TRUE(ConnectHost(s, kLoopback, open.port, nullptr, kPatienceMs));
    closesocket(s);

    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_FALSE(ConnectHost(s, kLoopback, closedPort_, nullptr, kPatienceMs));
    closesocket(s);
    // a name is resolved
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_TRUE(ConnectHost(s, "localhost", open.port, nullptr, kPatienceMs));
    closesocket(s);
}

TEST_F(InternetCheck, AConnectThatHangsEndsAtItsTimeOutOrAtOnceOnStop) {
    Listener clogged(1);
    ASSERT_TRUE(clogged.Clog()) << "the listener's queue never filled";

    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    DWORD start = GetTickCount();
    EXPECT_FALSE(ConnectHost(s, kLoopback, clogged.port, nullptr, 200));
    DWORD spent = GetTickCount() - start;
    EXPECT_GE(spent, 150u);
    EXPECT_LT(spent, 2000u);
    closesocket(s);

    HANDLE stop = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    start = GetTickCount();
    EXPECT_FALSE(ConnectHost(s, kLoopback, clogged.port, stop, kPatienceMs));
    EXPECT_LT(GetTickCount() - start, 1000u);
    // still signalled for the caller's own wait
    EXPECT_EQ(WaitForSingleObject(stop, 0), WAIT_OBJECT_0);
    closesocket(s);
    CloseHandle(stop);
}

TEST_F(InternetCheck, ReportsChangesOnTheMainThreadByTheRule) {
    Listener open;
    const DWORD mainId = GetCurrentThreadId();
    // success, failure, success, failure: unreachable at the fourth try
    Start(kLoopback, {open.port, closedPort_, open.port, closedPort_});
    ASSERT_TRUE(WaitTries(6));
    EXPECT_EQ(reports_, (std::vector<Report>{{true, 1, mainId}, {false, 4, mainId}}));
    ASSERT_TRUE(thread_->StopInternetCheck());
    EXPECT_EQ(std::vector<bool>(outcomes_.begin(), outcomes_.begin() + 4),
              (std::vector<bool>{true, false, true, false}));
}

TEST_F(InternetCheck, OneFailureAfterSuccessesIsNotReported) {
    Listener open;
    Start(kLoopback, {open.port, closedPort_, open.port, open.port, open.port, open.port});
    ASSERT_TRUE(WaitTries(6));
    ASSERT_TRUE(thread_->StopInternetCheck());
    EXPECT_EQ(reports_.size(), 1u);
    EXPECT_TRUE(reports_.at(0).ok);
}

TEST_F(InternetCheck, WithoutALocalAddressEveryTryFailsSilently) {
    Listener open;
    for (const char* local : {"", "0.0.0.0"}) {
        Start(local, {open.port, open.port, open.port});
        ASSERT_TRUE(WaitTries(3)) << local;
        ASSERT_TRUE(thread_->StopInternetCheck());
        EXPECT_EQ(picks_, 0) << "a try without an address reached for a server";
        EXPECT_TRUE(reports_.empty()) << local;
    }
}

TEST_F(InternetCheck, AStopEndsTheThreadAtOnceAndSilencesItsReports) {
    Listener open;
    Listener clogged(1);
    ASSERT_TRUE(clogged.Clog());

    // In the pause between tries.
    Start(kLoopback, {open.port}, ThreadInternetStatus::kStopTimeoutMs * 2);
    ASSERT_TRUE(WaitTries(1));
    DWORD start = GetTickCount();
    EXPECT_TRUE(thread_->StopInternetCheck());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(reports_.size(), 1u);

    // In a connect that would hang for the connect time-out.
    Start(kLoopback, {clogged.port});
    ASSERT_EQ(WaitForSingleObject(picked_.h, kPatienceMs), WAIT_OBJECT_0);
    start = GetTickCount();
    EXPECT_TRUE(thread_->StopInternetCheck());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(reports_.empty());

    // With its report already on the way to the main thread: it is dropped.
    Start(kLoopback, {open.port});
    // The report waits in this thread's queue, not served yet.
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, kPatienceMs, QS_SENDMESSAGE),
              WAIT_OBJECT_0)
        << "no report came";
    EXPECT_TRUE(thread_->StopInternetCheck());
    EXPECT_TRUE(reports_.empty());
}

}  // namespace
