// The application object: title, hidden application window of class
// "TApplication", message loop, forms and exception handler.
#pragma once

#include <windows.h>

#include <functional>

#include "AnsiString.h"
#include "Controls.h"
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
    std::function<void(TObject* sender, const Exception& e)> OnException;
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
