// Stands in for the packaged installer "Utility\Setup.exe": records how it was
// started, works as long as its scenario says, writes the result log named
// after "-f2", registers the program under the application paths when told,
// and posts the completion notice to the front end's window.
#include <windows.h>

#include <string>

#include "Standin.h"

using namespace standin;

namespace {

const UINT kInstallDone = 0x920;

std::string LogArgument() {
    for (int i = 1; i < __argc; ++i)
        if (_strnicmp(__argv[i], "-f2", 3) == 0) return __argv[i] + 3;
    return std::string();
}

// The log's text for the scenario's kind; empty for "none".
std::string LogText() {
    std::string kind = Scn("Setup", "Log", "code");
    if (kind == "none") return std::string();
    if (kind == "nosection") return "[Application]\r\nName=Stand-in\r\n";
    if (kind == "nokey") return "[ResponseResult]\r\nCompleted=1\r\n";
    return "[ResponseResult]\r\nResultCode=" + Scn("Setup", "ResultCode", "0") + "\r\n";
}

std::string WriteLog() {
    std::string path = LogArgument(), text = LogText();
    if (path.empty()) return "log:not named\r\n";
    if (text.empty()) return "log:none\r\n";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "log:failed " + path + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
    return "log:" + path + "\r\n";
}

std::string RegisterAppPath() {
    std::string name = Scn("Setup", "AppPathKey", "");
    if (name.empty()) return std::string();
    std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
    std::string path = Resolve(Scn("Setup", "AppPath", ""));
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return "apppath:failed\r\n";
    RegSetValueExA(h, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegCloseKey(h);
    return "apppath:" + path + "\r\n";
}

std::string Notify() {
    if (!ScnInt("Setup", "Notify", 1)) return "notify:off\r\n";
    std::string cls = Scn("Setup", "NotifyClass", "TMainForm");
    std::string title = Scn("Setup", "NotifyTitle", "Tervalo Setup Wizard");
    HWND target = FindWindowA(cls.c_str(), title.c_str());
    if (!target) return "notify:no window\r\n";
    return PostMessageA(target, kInstallDone, 0, 0) ? "notify:posted\r\n" : "notify:failed\r\n";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Record(Invocation());
    Sleep(static_cast<DWORD>(ScnInt("Setup", "WaitMs", 0)));
    std::string outcome = WriteLog();
    outcome += RegisterAppPath();
    outcome += Notify();
    Record(outcome + "end\r\n");
    return ScnInt("Setup", "ExitCode", 0);
}
