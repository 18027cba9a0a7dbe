// The application object: title, hidden application window of class
// "TApplication", message loop and exception handler.
#pragma once

#include <windows.h>

#include "AnsiString.h"
#include "SysUtils.h"

class TApplication {
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Registers the class and creates the hidden application window.
    void Initialize();
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& title);
    AnsiString ExeName() const;
    HWND Handle() const { return handle_; }

    bool ShowMainForm = true;
    // Serves messages until Terminate, WM_QUIT or a close of the application window.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Serves the messages waiting now, then returns.
    void ProcessMessages();
    // A message box with the exception's text and the application title.
    void ShowException(const Exception& e);

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool ProcessMessage(MSG& msg);

    HWND handle_ = nullptr;
    AnsiString title_;
    bool terminated_ = false;
};

extern TApplication* Application;
