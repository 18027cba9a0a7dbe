// The system's open and save dialogs for files.
#pragma once

#include <windows.h>

#include "Controls.h"

enum : uint32_t {
    ofOverwritePrompt = 1,
    ofHideReadOnly = 2,
    ofAllowMultiSelect = 4,
    ofPathMustExist = 8,
    ofFileMustExist = 16,
    ofEnableSizing = 32
};
using TOpenOptions = uint32_t;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);

    AnsiString Title;
    // The first file chosen, full path; set before Execute, the proposed name.
    AnsiString FileName;
    // Pairs of description and pattern: "Wireless Profile (*.qjw)|*.qjw".
    AnsiString Filter;
    // Added to a name typed without one; with or without the dot.
    AnsiString DefaultExt;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    // Every file chosen, full paths.
    TStrings* Files() { return &files_; }

    // Runs the dialog over the program's active window; false when cancelled.
    virtual bool Execute();
    // While the dialog runs, a child window inside it (its parent is the
    // dialog itself); null otherwise.
    HWND Handle() const { return handle_; }

protected:
    bool Run(bool save);

private:
    static UINT_PTR CALLBACK Hook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TStringList files_;
    HWND handle_ = nullptr;
    bool accepted_ = false;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner);
    bool Execute() override;
};
