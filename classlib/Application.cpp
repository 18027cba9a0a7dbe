#include "Application.h"

static TApplication theApplication;
TApplication* Application = &theApplication;

static const char kAppClass[] = "TApplication";

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - 2;
}

TApplication::~TApplication() {
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

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        Application->Terminate();
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
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Run() {
    while (!terminated_) {
        try {
            MSG msg;
            if (!ProcessMessage(msg)) WaitMessage();
        } catch (const Exception& e) {
            ShowException(e);
        }
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ShowException(const Exception& e) {
    AnsiString text = e.Message;
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}
