// The application object: title, hidden application window of class
// "TApplication", message loop, forms and exception handler.
#pragma once

#include <windows.h>

#include <functional>

#include "AnsiString.h"
#include "Classes.h"
#include "SysUtils.h"

class TForm;

// Owns the forms made with CreateForm (and everything made with it as owner);
// they are freed with it, or earlier by DestroyComponents.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Registers the class and creates the hidden application window.
    void Initialize();
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& title);
    AnsiString ExeName() const;
    HWND Handle() const { return handle_; }

    // Makes a form owned by the application and runs its OnCreate; the first
    // form made so is the main form, whose closing ends the program.
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        AddForm(reference);
    }
    TForm* MainForm() const { return mainForm_; }

    bool ShowMainForm = true;
    // Serves messages until Terminate, WM_QUIT or a close of the application window.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Serves the messages waiting now, then returns.
    void ProcessMessages();
    // Serves one message, waiting for it when none is there.
    void HandleMessage();
    // Shows the program's windows again that were minimized.
    void Restore();
    // Activates the window of the program the user used last.
    void BringToFront();

    // Where exceptions from handlers end: OnException when set, else ShowException.
    void HandleException(TObject* sender, const Exception& e);
    // The exception being caught, whatever its type, to HandleException. Only in a catch block.
    void HandleCurrentException(TObject* sender);
    std::function<void(TObject* sender, const Exception& e)> OnException;
    // A message box owned by the program's active window (the main form while none is), MB_
    // flags; answers the button pressed (IDYES...).
    int MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags);
    // A message box with the exception's text and the application title.
    void ShowException(const Exception& e);

private:
    friend class TForm;
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool ProcessMessage(MSG& msg);
    void AddForm(TForm* form);
    void FormGone(TForm* form);

    HWND handle_ = nullptr;
    AnsiString title_;
    bool terminated_ = false;
    TForm* mainForm_ = nullptr;
};

extern TApplication* Application;

// Runs f; an exception that leaves it goes to the application's handler and no further. Every
// window procedure and handler call of the class library runs so: no exception may cross the
// system's message dispatch.
template <class F>
void Guarded(TObject* sender, F&& f) {
    try {
        f();
    } catch (...) {
        Application->HandleCurrentException(sender);
    }
}
