// Stands in for the program a service starts: appends its arguments and working directory to
// "<program>.out" beside itself, in one write, and ends.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string out = path;
    out = out.substr(0, out.find_last_of('.')) + ".out";

    std::string record;
    for (int i = 1; i < __argc; ++i) record += std::string("arg:") + __argv[i] + "\r\n";
    char cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    record += std::string("cwd:") + cwd + "\r\nend\r\n";

    HANDLE h = CreateFileA(out.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(h, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(h);
    return 0;
}
