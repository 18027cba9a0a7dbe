#include "Dialogs.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "Application.h"
#include "SystemLibrary.h"

namespace {
const char kDialogProp[] = "WlFileDialog";

// The common dialog library is loaded at the first file dialog, not at start: it brings the
// printing libraries with it, which no other window of the programs needs.
using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
BOOL RunFileDialog(bool save, OPENFILENAMEA* ofn) {
    static HMODULE library = LoadSystemLibrary("comdlg32.dll");
    if (!library) throw Exception("Cannot load comdlg32.dll");
    auto run = reinterpret_cast<FileDialogFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(library, save ? "GetSaveFileNameA" : "GetOpenFileNameA")));
    if (!run) throw Exception("Cannot find the file dialogs in comdlg32.dll");
    return run(ofn);
}
}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
    return Run(false);
}

UINT_PTR CALLBACK TOpenDialog::Hook(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        auto* self = reinterpret_cast<TOpenDialog*>(ofn->lCustData);
        self->handle_ = hwnd;
        SetPropA(hwnd, kDialogProp, self);
    } else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK) {
        if (auto* self = static_cast<TOpenDialog*>(GetPropA(hwnd, kDialogProp)))
            self->accepted_ = true;
    } else if (msg == WM_DESTROY) {
        if (auto* self = static_cast<TOpenDialog*>(GetPropA(hwnd, kDialogProp)))
            self->handle_ = nullptr;
        RemovePropA(hwnd, kDialogProp);
    }
    return 0;
}

bool TOpenDialog::Run(bool save) {
    std::vector<char> filter(Filter.begin(), Filter.end());
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    const size_t kBufferSize = 32 * 1024;  // room for many names in a multiple choice
    std::vector<char> buffer(kBufferSize, '\0');
    FileName.copy(buffer.data(), kBufferSize - 1);
    AnsiString extension = DefaultExt;
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    HWND owner = GetActiveWindow();
    if (!owner || !TWinControl::FromHandle(owner)) owner = Application->Handle();
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(kBufferSize);
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR;
    if (Options & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (Options & ofAllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (Options & ofEnableSizing) ofn.Flags |= OFN_ENABLESIZING;
    ofn.lpfnHook = Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    files_.Clear();
    accepted_ = false;
    BOOL chosen = RunFileDialog(save, &ofn);
    handle_ = nullptr;
    // A dialog ended from outside (EndDialog) may still answer true: only the
    // user's OK counts.
    if (!chosen || !accepted_) return false;

    // One full path, or with several files the folder followed by the names.
    const char* first = buffer.data();
    const char* next = first + std::strlen(first) + 1;
    if ((ofn.Flags & OFN_ALLOWMULTISELECT) && *next) {
        AnsiString folder = IncludeTrailingPathDelimiter(first);
        for (; *next; next += std::strlen(next) + 1) files_.Add(folder + next);
    } else {
        files_.Add(first);
    }
    FileName = files_.Strings(0);
    return true;
}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

bool TSaveDialog::Execute() {
    return Run(true);
}
