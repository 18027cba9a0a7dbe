// The yardstick of the start-up benchmark: what any tray program needs at the least, one
// hidden window, a tray icon and a message loop. WM_CLOSE ends it.
#include <windows.h>
// The shell's types after the base types.
#include <shellapi.h>

#include <cstring>

namespace {

const char kClass[] = "TBareMain";
const UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, kClass, "Bare", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;

    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    std::strcpy(icon.szTip, "Bare");
    Shell_NotifyIconA(NIM_ADD, &icon);

    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
