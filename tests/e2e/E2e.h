// Helpers of the end-to-end tests: programs started in a folder, waits on
// other processes, their log lines and message boxes.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace e2e {

const DWORD kTimeoutMs = 30000;
const DWORD kPollMs = 20;  // polling other processes and the control manager

inline std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

// Returns once window's thread has finished the message it was handling: a message sent to
// it is answered only between two of its own. Input not yet read stays queued.
inline void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

// Polls until pred holds; false when it still does not after timeoutMs.
template <class Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs = kTimeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(kPollMs);
    }
}

inline std::string SystemText(DWORD code) {
    char* buffer = nullptr;
    DWORD len = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", len);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

// Lines of a file written with CR LF; a lone LF fails the test.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << text.substr(pos);
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        EXPECT_EQ(lines.back().find('\n'), std::string::npos) << lines.back();
        pos = end + 2;
    }
    return lines;
}

inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

// A program started in a folder; killed if it is still running at the end.
class Program {
public:
    Program(const std::string& exe, const std::string& args, const std::string& dir) {
        std::string cmd = "\"" + exe + "\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        started_ = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  dir.c_str(), &si, &pi_) != FALSE;
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, kTimeoutMs);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return pi_.dwProcessId; }
    bool WaitEnd(DWORD timeoutMs = kTimeoutMs) {
        return started_ && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

struct MessageBoxSeen {
    std::string title;
    std::string text;
};

// The message box of a process: title and text; it is closed with OK.
inline bool TakeMessageBox(DWORD pid, MessageBoxSeen& seen) {
    struct Search {
        DWORD pid;
        HWND box;
    } search{pid, nullptr};
    bool found = WaitUntil([&] {
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD owner = 0;
                GetWindowThreadProcessId(hwnd, &owner);
                char cls[64] = {};
                GetClassNameA(hwnd, cls, sizeof(cls));
                if (owner == s->pid && IsWindowVisible(hwnd) && std::string(cls) == "#32770") {
                    s->box = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.box != nullptr;
    });
    if (!found) return false;
    char title[256] = {};
    GetWindowTextA(search.box, title, sizeof(title));
    seen.title = title;
    seen.text.clear();
    EnumChildWindows(
        search.box,
        [](HWND child, LPARAM lp) -> BOOL {
            char cls[64] = {};
            GetClassNameA(child, cls, sizeof(cls));
            char text[1024] = {};
            GetWindowTextA(child, text, sizeof(text));
            if (_stricmp(cls, "Static") == 0 && text[0]) {
                *reinterpret_cast<std::string*>(lp) = text;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen.text));
    PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    return true;
}

}  // namespace e2e
