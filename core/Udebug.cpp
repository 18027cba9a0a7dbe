#include "Udebug.h"

#include <cstdarg>
#include <vector>

#include "../classlib/Handles.h"

namespace {

const char kViewerTitle[] = "Tindral Debug View";
const UINT kViewerTimeoutMs = 1000;  // a hung viewer must not stall the program
const int kNumberedNames = 100;      // "_000" to "_099"

#ifdef DEBUGLOG_SERVICE
const DebugLogFile::OpenMode kProgramMode = DebugLogFile::OpenMode::OwnFileOnly;
#else
const DebugLogFile::OpenMode kProgramMode = DebugLogFile::OpenMode::WithFallback;
#endif

HANDLE OpenExistingLog(const AnsiString& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE CreateNewLog(const AnsiString& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool FileExists(const AnsiString& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// Kept in a union so that no destructor runs at exit: units finalised after this one may
// still log (to the debug output once the file is closed).
union GlobalLogHolder {
    DebugLogFile Log;
    GlobalLogHolder() : Log() { Log.Open(ModuleDebugLogPath(), kProgramMode); }
    ~GlobalLogHolder() {}
};

// The system's text for an error code, empty when it has none.
AnsiString SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    DWORD len = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer),
        0, nullptr);
    AnsiString text;
    if (len != 0 && buffer) text.assign(buffer, len);
    if (buffer) LocalFree(buffer);
    return text;
}

}  // namespace

DebugLogFile::~DebugLogFile() {
    Close();
}

bool DebugLogFile::Open(const AnsiString& logPath, OpenMode mode) {
    Close();
    Path = logPath;
    HANDLE h = INVALID_HANDLE_VALUE;
    if (mode == OpenMode::OwnFileOnly) {
        h = OpenExistingLog(Path);
    } else {
        if (!FileExists(Path)) return false;
        OutputDebugStringA("open log file");
        h = OpenExistingLog(Path);
        if (h == INVALID_HANDLE_VALUE) {
            // Held by another process: start a fresh numbered log, never reuse one.
            AnsiString dir = ExtractFilePath(Path);
            AnsiString name = ChangeFileExt(ExtractFileName(Path), "");
            for (int i = 0; i < kNumberedNames && h == INVALID_HANDLE_VALUE; ++i)
                h = CreateNewLog(dir + Format("%s_%03d", name.c_str(), i) + ".Log");
        }
    }
    TKernelHandle file(h);
    if (!file) return false;

    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) return false;
    Handle = file.Release();
    WriteLine("== START LOG ==");
    return true;
}

void DebugLogFile::Close() {
    if (Handle == INVALID_HANDLE_VALUE) return;
    HANDLE h = Handle;
    Handle = INVALID_HANDLE_VALUE;
    CloseHandle(h);
}

void DebugLogFile::WriteLine(const AnsiString& text) {
    HANDLE h = Handle;
    if (h == INVALID_HANDLE_VALUE) return;
    // One write per line keeps lines of different threads whole.
    AnsiString line;
    line.reserve(text.size() + 2);
    line += text;
    line += "\r\n";
    DWORD written = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

DebugLogFile& GlobalDebugLog() {
    static GlobalLogHolder holder;
    return holder.Log;
}

AnsiString ModuleDebugLogPath() {
    char path[MAX_PATH + 1] = {};
    DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ChangeFileExt(AnsiString(path, len), ".Log");
}

void OpenDebugLog() {
    GlobalDebugLog();
}

void CloseDebugLog() {
    GlobalDebugLog().Close();
}

void WriteLogLine(const AnsiString& text) {
    GlobalDebugLog().WriteLine(text);
}

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AnsiString text = FormatV(format, args);
    va_end(args);
    WriteLogLine(text);
    OutputDebugStringA(text.c_str());
}

void DebugPrint(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AnsiString text = FormatV(format, args);
    va_end(args);
    SendToDebugView(text, 0, 0);
}

void SendToDebugView(const AnsiString& text, ULONG_PTR data, WPARAM wParam) {
    WriteLogLine(text);
    HWND viewer = FindWindowA(nullptr, kViewerTitle);
    if (!viewer) return;
    std::vector<char> copy(text.c_str(), text.c_str() + text.size() + 1);
    COPYDATASTRUCT cds;
    cds.dwData = data;
    cds.cbData = static_cast<DWORD>(copy.size());
    cds.lpData = copy.data();
    // Not SMTO_BLOCK: as with a plain send, messages sent to this thread are served meanwhile.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(viewer, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&cds),
                        SMTO_ABORTIFHUNG, kViewerTimeoutMs, &result);
}

void DebugPrintError(DWORD code, const char* format, ...) {
    AnsiString message = SystemErrorText(code);
    AnsiString text;
    if (format) {
        va_list args;
        va_start(args, format);
        text = FormatV(format, args);
        va_end(args);
        text += " ";
    }
    text += Format("ErrCode:%lx=%s", static_cast<unsigned long>(code), message.c_str());
    WriteLogLine(text);
    OutputDebugStringA(text.c_str());
}

namespace {

// Unit initialisation and finalisation.
struct DebugLogUnit {
    DebugLogUnit() { OpenDebugLog(); }
    ~DebugLogUnit() { CloseDebugLog(); }
} debugLogUnit;

}  // namespace
