#include "Application.h"

#include <vector>

#include "Forms.h"

static TApplication theApplication;
TApplication* Application = &theApplication;

static const char kAppClass[] = "TApplication";

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - 2;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
    if (handle_) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kAppClass;
    RegisterClassA(&wc);
    if (title_.empty()) title_ = ChangeFileExt(ExtractFileName(ExeName()), "");
    // A hidden, zero-sized popup: the owner of the program's windows, found by class.
    handle_ = CreateWindowExA(0, kAppClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                              0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

void TApplication::SetTitle(const AnsiString& title) {
    title_ = title;
    if (handle_) SetWindowTextA(handle_, title_.c_str());
}

AnsiString TApplication::ExeName() const {
    char path[MAX_PATH + 1] = {};
    DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AnsiString(path, len);
}

void TApplication::AddForm(TForm* form) {
    if (!mainForm_) mainForm_ = form;
    form->AfterConstruction();
}

void TApplication::FormGone(TForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        // Another program closing this one: the main form closes as the user's would.
        Guarded(Application, [] {
            if (Application->mainForm_) {
                Application->mainForm_->Close();
            } else {
                Application->Terminate();
            }
        });
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // Tab, Return and arrow keys move between the controls of our windows.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (dynamic_cast<TForm*>(TWinControl::FromHandle(root)) && IsDialogMessageA(root, &msg))
            return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::Run() {
    if (ShowMainForm && mainForm_) mainForm_->Show();
    while (!terminated_) Guarded(this, [this] { HandleMessage(); });
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

namespace {
struct FormWindows {
    std::vector<HWND> windows;
};
BOOL CALLBACK CollectFormWindow(HWND hwnd, LPARAM param) {
    if (dynamic_cast<TForm*>(TWinControl::FromHandle(hwnd)))
        reinterpret_cast<FormWindows*>(param)->windows.push_back(hwnd);
    return TRUE;
}
}  // namespace

void TApplication::Restore() {
    FormWindows forms;
    EnumThreadWindows(GetCurrentThreadId(), CollectFormWindow, reinterpret_cast<LPARAM>(&forms));
    for (HWND hwnd : forms.windows)
        if (IsWindowVisible(hwnd) && IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
}

void TApplication::BringToFront() {
    HWND top = nullptr;
    if (handle_) top = GetLastActivePopup(handle_);
    if (!top || top == handle_) {
        HWND main = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
        top = main;
    }
    if (top && IsWindowVisible(top) && IsWindowEnabled(top)) SetForegroundWindow(top);
}

void TApplication::HandleException(TObject* sender, const Exception& e) {
    if (OnException) {
        try {
            OnException(sender, e);
            return;
        } catch (...) {
            // the hook failed: the box below still tells the user
        }
    }
    ShowException(e);
}

void TApplication::HandleCurrentException(TObject* sender) {
    try {
        throw;
    } catch (const Exception& e) {
        HandleException(sender, e);
    } catch (...) {
        HandleException(sender, Exception(CaughtExceptionText()));
    }
}

int TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const Exception& e) {
    AnsiString text = e.Message;
    if (!text.empty() && text.back() != '.') text += '.';
    ::MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}
