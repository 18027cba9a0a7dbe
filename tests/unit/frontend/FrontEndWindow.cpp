// Stands in for the installer front end's application window: a hidden top-level window of
// class "TApplication" titled by the command line. Ends with 0 when it is closed, with 1 when
// nobody closed it within 20 seconds.
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    if (msg == WM_TIMER) {
        PostQuitMessage(1);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, cmdLine, WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) return 2;
    SetTimer(hwnd, 1, 20000, nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    return static_cast<int>(m.wParam);
}
