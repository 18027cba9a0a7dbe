// Listeners on the loopback address for the tests of the internet check: an open listener is a
// reachable server, a closed port an unreachable one, a listener whose queue is full a server
// that never answers. The caller starts the socket library.
#pragma once

// clang-format off
#include <winsock2.h>  // before windows.h
// clang-format on

#include <vector>

namespace loopback {

inline const char kLoopback[] = "127.0.0.1";

inline SOCKET BoundSocket() {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr(kLoopback);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    return s;
}

inline int PortOf(SOCKET s) {
    sockaddr_in a{};
    int len = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

class Listener {
public:
    explicit Listener(int backlog = SOMAXCONN) : s_(BoundSocket()) {
        listen(s_, backlog);
        port = PortOf(s_);
    }
    ~Listener() {
        for (SOCKET c : clients_) closesocket(c);
        closesocket(s_);
    }
    // Fills the queue of a listener made with backlog 1 until a connect no longer completes:
    // from then on a connect hangs. False when it never fills.
    bool Clog() {
        for (int i = 0; i < 8; ++i) {
            SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            u_long nonBlocking = 1;
            ioctlsocket(c, FIONBIO, &nonBlocking);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_addr.s_addr = inet_addr(kLoopback);
            to.sin_port = htons(static_cast<u_short>(port));
            connect(c, reinterpret_cast<sockaddr*>(&to), sizeof(to));
            clients_.push_back(c);
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(c, &writable);
            timeval wait{0, 300 * 1000};
            if (select(0, nullptr, &writable, nullptr, &wait) == 0) return true;
        }
        return false;
    }
    int port;

private:
    SOCKET s_;
    std::vector<SOCKET> clients_;
};

// A port of the loopback address that nobody listens on.
inline int ClosedPort() {
    SOCKET s = BoundSocket();
    int port = PortOf(s);
    closesocket(s);
    return port;
}

}  // namespace loopback
