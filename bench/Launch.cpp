// The benchmark's stopwatch, run under the same Wine server as the programs it times:
//   BenchLaunch run CLASS LOGFILE TEXT TIMEOUT_MS PROGRAM [ARGS...]
//     starts PROGRAM, and prints the milliseconds until a window of CLASS belonging to it
//     exists, and until LOGFILE holds TEXT (LOGFILE "-": not waited for), then
//     "pid=<process id>"; the program keeps running.
//   BenchLaunch close PID TIMEOUT_MS
//     closes the top-level windows of that process and waits for its end (terminating it
//     when it outlives the timeout).
//   BenchLaunch hold
//     keeps a hidden window until closed, so Wine's desktop process stays up between runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND WindowOf(const char* windowClass, DWORD pid) {
    for (HWND h = FindWindowExA(nullptr, nullptr, windowClass, nullptr); h;
         h = FindWindowExA(nullptr, h, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid) return h;
    }
    return nullptr;
}

bool FileHolds(const char* path, const char* text) {
    HANDLE f =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(f);
    return content.find(text) != std::string::npos;
}

// The command line from argument `first` on, as the process got it.
std::string CommandTail(int first) {
    std::string line;
    for (int i = first; i < __argc; ++i) {
        if (!line.empty()) line += ' ';
        line += '"';
        line += __argv[i];
        line += '"';
    }
    return line;
}

int Run() {
    if (__argc < 7) return 2;
    const char* windowClass = __argv[2];
    const char* log = __argv[3];
    const char* text = __argv[4];
    double timeout = std::atof(__argv[5]);
    std::string command = CommandTail(6);

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double start = Now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::printf("error=cannot start (%lu)\n", GetLastError());
        return 1;
    }
    // A poll every millisecond: the stopwatch may cost a little, the program is what is timed.
    double window = -1, logged = -1;
    bool waitLog = std::strcmp(log, "-") != 0;
    while (Now() - start < timeout) {
        if (window < 0 && WindowOf(windowClass, pi.dwProcessId)) window = Now() - start;
        if (waitLog && logged < 0 && FileHolds(log, text)) logged = Now() - start;
        if (window >= 0 && (!waitLog || logged >= 0)) break;
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    std::printf("window_ms=%.1f\nlog_ms=%.1f\npid=%lu\n", window, logged, pi.dwProcessId);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return window >= 0 ? 0 : 1;
}

BOOL CALLBACK CloseWindowOf(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(pid)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

int Close() {
    if (__argc < 4) return 2;
    DWORD pid = static_cast<DWORD>(std::strtoul(__argv[2], nullptr, 10));
    DWORD timeout = static_cast<DWORD>(std::strtoul(__argv[3], nullptr, 10));
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (!process) return 0;  // gone already
    EnumWindows(CloseWindowOf, static_cast<LPARAM>(pid));
    int rc = 0;
    if (WaitForSingleObject(process, timeout) != WAIT_OBJECT_0) {
        std::printf("terminated=%lu\n", pid);
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        rc = 1;
    }
    CloseHandle(process);
    return rc;
}

int Hold() {
    HWND window = CreateWindowExA(0, "STATIC", "BenchLaunch hold", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return 1;
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_CLOSE) break;
        DispatchMessageA(&m);
    }
    return 0;
}

}  // namespace

int main() {
    if (__argc >= 2 && std::strcmp(__argv[1], "run") == 0) return Run();
    if (__argc >= 2 && std::strcmp(__argv[1], "close") == 0) return Close();
    if (__argc >= 2 && std::strcmp(__argv[1], "hold") == 0) return Hold();
    std::fprintf(stderr, "usage: BenchLaunch run|close|hold ...\n");
    return 2;
}
