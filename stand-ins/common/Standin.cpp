#include "Standin.h"

#include <windows.h>

#include <cstdlib>

namespace standin {

std::string SelfPath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string SelfDir() {
    std::string p = SelfPath();
    return p.substr(0, p.find_last_of('\\') + 1);
}

static std::string WithExtension(const char* ext) {
    std::string p = SelfPath();
    return p.substr(0, p.find_last_of('.')) + ext;
}

std::string Resolve(const std::string& path) {
    bool absolute = path.size() > 1 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
    return absolute || path.empty() ? path : SelfDir() + path;
}

std::string Scn(const char* section, const char* key, const char* def) {
    char value[4096] = {};
    GetPrivateProfileStringA(section, key, def, value, sizeof(value),
                             WithExtension(".scn").c_str());
    return value;
}

int ScnInt(const char* section, const char* key, int def) {
    return static_cast<int>(
        GetPrivateProfileIntA(section, key, def, WithExtension(".scn").c_str()));
}

std::string Invocation() {
    std::string text = std::string("cmdline:") + GetCommandLineA() + "\r\n";
    for (int i = 1; i < __argc; ++i) text += std::string("arg:") + __argv[i] + "\r\n";
    char cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    return text + "cwd:" + cwd + "\r\n";
}

void Record(const std::string& text) {
    HANDLE h = CreateFileA(WithExtension(".out").c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER || msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void ShowWindowFor(const std::string& title, int ms) {
    if (ms <= 0) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "StandInWindow";
    RegisterClassA(&wc);
    HWND hwnd =
        CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                        100, 360, 160, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return;
    SetTimer(hwnd, 1, static_cast<UINT>(ms), nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

}  // namespace standin
