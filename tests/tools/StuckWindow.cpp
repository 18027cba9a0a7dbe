// A window test program that hangs: it shows a window, says so and waits for messages no one
// sends, until its time limit ends it (tests/tools/own-desktop-timeout.sh).
#include <windows.h>

#include <cstdio>

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "stuck", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                  100, nullptr, nullptr, nullptr, nullptr);
    if (!window) return 1;
    std::printf("stuck until killed\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
