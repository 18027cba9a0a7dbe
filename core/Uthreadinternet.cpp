// clang-format off
#include <winsock2.h>  // before windows.h
#include "Uthreadinternet.h"
// clang-format on

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "Udebug.h"

const InternetCheckTarget InternetCheckTargets[10] = {
    {"time.nist.gov", 13},     {"time-a-g.nist.gov", 13}, {"time-b-g.nist.gov", 13},
    {"www.google.com", 80},    {"www.microsoft.com", 80}, {"www.yahoo.com", 80},
    {"www.wikipedia.org", 80}, {"www.amazon.com", 80},    {"www.apple.com", 80},
    {"www.bing.com", 80},
};

bool InternetReportRule::Try(bool outcome) {
    if (outcome == reachable_) return false;
    if (outcome) {
        reachable_ = true;
        failuresLeft_ = 2;
        return true;
    }
    if (--failuresLeft_ > 0) return false;
    reachable_ = false;
    failuresLeft_ = 2;
    return true;
}

bool BindLocalAddress(UINT_PTR socket, const AnsiString& address) {
    if (address.empty() || address == "0.0.0.0") return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr(address.c_str());
    local.sin_port = 0;
    return bind(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&local), sizeof(local)) !=
           SOCKET_ERROR;
}

bool ConnectHost(UINT_PTR socket, const AnsiString& host, int32_t port, HANDLE stopEvent,
                 DWORD connectTimeoutMs) {
    SOCKET s = static_cast<SOCKET>(socket);
    unsigned long dotted = inet_addr(host.c_str());
    hostent* entry = dotted != INADDR_NONE
                         ? gethostbyaddr(reinterpret_cast<const char*>(&dotted), 4, AF_INET)
                         : gethostbyname(host.c_str());
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0])
        return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    std::memcpy(&to.sin_addr, entry->h_addr_list[0], 4);

    // Connect without blocking, so that a stop is heeded at once and an unreachable server
    // costs no more than the time-out.
    WSAEVENT connected = WSACreateEvent();
    if (connected == WSA_INVALID_EVENT) return false;
    bool ok = false;
    if (WSAEventSelect(s, connected, FD_CONNECT) == 0) {
        if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0) {
            ok = true;
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            HANDLE events[2] = {connected, stopEvent};
            DWORD r = WaitForMultipleObjects(stopEvent ? 2 : 1, events, FALSE, connectTimeoutMs);
            if (r == WAIT_OBJECT_0) {
                WSANETWORKEVENTS happened{};
                ok = WSAEnumNetworkEvents(s, connected, &happened) == 0 &&
                     (happened.lNetworkEvents & FD_CONNECT) &&
                     happened.iErrorCode[FD_CONNECT_BIT] == 0;
            } else if (r == WAIT_OBJECT_0 + 1) {
                SetEvent(stopEvent);  // the caller sees it too
            }
        }
        WSAEventSelect(s, connected, 0);
    }
    WSACloseEvent(connected);
    return ok;
}

ThreadInternetStatus::ThreadInternetStatus(const AnsiString& localAddress, StatusHandler onStatus)
    : ThreadInternetStatus(localAddress, std::move(onStatus), InternetCheckSetup()) {}

ThreadInternetStatus::ThreadInternetStatus(const AnsiString& localAddress, StatusHandler onStatus,
                                           InternetCheckSetup setup)
    : TThread(false),
      LocalAddress(localAddress),
      OnStatus(std::move(onStatus)),
      Setup(std::move(setup)) {
    AfterConstruction();
}

ThreadInternetStatus::~ThreadInternetStatus() {
    EndThread();
}

bool ThreadInternetStatus::StopInternetCheck() {
    Terminate();  // signals StopEvent
    DebugPrint("wait Internet Thread");
    bool ended = WaitFor(kStopTimeoutMs);
    // Never terminated: it may hold the socket library's locks. It ends after its name lookup.
    if (!ended) DebugPrint(" Internet Thread still running");
    DebugPrint("stop Internet Thread");
    return ended;
}

void ThreadInternetStatus::Execute() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        Notify();  // unreachable, the one report without a change
        return;
    }
    srand(static_cast<unsigned>(time(nullptr)));
    while (!Terminated()) {
        bool outcome = TryConnect();
        if (Rule.Try(outcome)) Notify();
        if (Setup.TryDone) Setup.TryDone(outcome);
        if (WaitForSingleObject(StopEvent, Setup.PeriodMs) != WAIT_TIMEOUT) break;
    }
    WSACleanup();
}

bool ThreadInternetStatus::TryConnect() {
    bool outcome = false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    if (BindLocalAddress(s, LocalAddress)) {
        InternetCheckTarget target =
            Setup.PickTarget ? Setup.PickTarget() : InternetCheckTargets[rand() % 10];
        outcome = ConnectHost(s, target.Host, target.Port, StopEvent, kConnectTimeoutMs);
        DebugTrace("ChkRel: %d -> %s", outcome ? 1 : 0, target.Host);
    }
    closesocket(s);
    return outcome;
}

void ThreadInternetStatus::Notify() {
    if (Terminated()) return;
    bool reachable = Rule.Reachable();
    // Looked at again on the main thread: a stop asked for meanwhile silences the report.
    Synchronize([this, reachable] {
        if (!Terminated() && OnStatus) OnStatus(reachable);
    });
}
