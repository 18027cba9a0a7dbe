// Internet check: a thread that every 3000 ms opens a TCP connection from the adapter's own
// address to a well-known public server and tells its creator, on the main thread, when the
// outcome changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "../classlib/AnsiString.h"
#include "../classlib/Handles.h"
#include "../classlib/Thread.h"

struct InternetCheckTarget {
    const char* Host;  // a name, resolved at each try, or a dotted IPv4 address
    int32_t Port;
};

// Three daytime servers (port 13), then seven web sites (port 80).
extern const InternetCheckTarget InternetCheckTargets[10];

// Which outcomes are reported: a change to reachable at the first successful try, a change to
// unreachable at the second failed try since the last report, successes between them or not.
// The initial unreachable is never reported.
class InternetReportRule {
public:
    bool Reachable() const { return reachable_; }
    // One try's outcome; true when Reachable changed and is to be reported.
    bool Try(bool outcome);

private:
    bool reachable_ = false;
    int failuresLeft_ = 2;
};

// Sockets are passed as the system's SOCKET value, so that users need not include winsock2.h
// before windows.h. Both need the socket library started (WSAStartup).
//
// Binds the socket to the IPv4 address text with port 0. False for "", "0.0.0.0" or a failed
// bind.
bool BindLocalAddress(UINT_PTR socket, const AnsiString& address);
// Resolves host (a dotted address through its host entry) and connects the socket to its first
// address. Never blocks past stopEvent (which, when it ends the wait, is signalled again for
// the caller) nor past connectTimeoutMs; name resolution itself cannot be cut short. True when
// the connection was made.
bool ConnectHost(UINT_PTR socket, const AnsiString& host, int32_t port, HANDLE stopEvent,
                 DWORD connectTimeoutMs);

// Seams for tests; the defaults are the program's own.
struct InternetCheckSetup {
    // The server of the next try; empty: a random entry of InternetCheckTargets.
    std::function<InternetCheckTarget()> PickTarget;
    DWORD PeriodMs = 3000;
    // Run on the thread after each try, with its outcome.
    std::function<void(bool outcome)> TryDone;
};

// Created running. Its owner stops it with StopInternetCheck and then frees it with
// ReleaseThread (Thread.h): a thread stuck in name resolution is left to end by itself.
class ThreadInternetStatus final : public TThread {
public:
    using StatusHandler = std::function<void(bool reachable)>;

    static constexpr DWORD kStopTimeoutMs = 2000;
    // Roughly the system's own time-out of a blocking connect.
    static constexpr DWORD kConnectTimeoutMs = 20000;

    // onStatus runs on the main thread, never after a stop was asked for.
    ThreadInternetStatus(const AnsiString& localAddress, StatusHandler onStatus);
    ThreadInternetStatus(const AnsiString& localAddress, StatusHandler onStatus,
                         InternetCheckSetup setup);
    ~ThreadInternetStatus() override;

    // Asks the thread to end and waits at most 2000 ms. True when it ended.
    bool StopInternetCheck();

protected:
    void Execute() override;
    void TerminatedSet() override { StopEvent.Set(); }

private:
    bool TryConnect();
    void Notify();

    TEvent StopEvent;
    AnsiString LocalAddress;
    InternetReportRule Rule;  // holds Reachable
    StatusHandler OnStatus;
    InternetCheckSetup Setup;
};
