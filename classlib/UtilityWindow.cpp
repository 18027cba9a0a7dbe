#include "UtilityWindow.h"

#include "Application.h"

TUtilityWindow::TUtilityWindow(TObject* sender, Handler handler)
    : sender_(sender), handler_(std::move(handler)) {
    static const char kClass[] = "TUtilityWindow";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kClass, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, this);
    if (!handle_) throw Exception(Format("Cannot create a window (error %lu)", GetLastError()));
}

TUtilityWindow::~TUtilityWindow() {
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TUtilityWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TUtilityWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->handler_) {
        TMessage m = {msg, wParam, lParam, 0};
        bool handled = false;
        Guarded(self->sender_, [&] { handled = self->handler_(m); });
        if (handled) return m.Result;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
