// The message as window procedures see it, and the hidden window through which components
// that are not controls (timers, the tray icon, menus) get their messages.
#pragma once

#include <windows.h>

#include <functional>

#include "Classes.h"

// A message as window procedures see it; Result is what the window answers.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// A hidden top-level window. Its messages go to the handler, which answers true when it
// handled one; an exception from it goes to Application's handler.
class TUtilityWindow {
public:
    using Handler = std::function<bool(TMessage& msg)>;
    TUtilityWindow(TObject* sender, Handler handler);
    ~TUtilityWindow();
    TUtilityWindow(const TUtilityWindow&) = delete;
    TUtilityWindow& operator=(const TUtilityWindow&) = delete;
    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    TObject* sender_;
    Handler handler_;
    HWND handle_ = nullptr;
};
