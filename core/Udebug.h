// Debug log of the programs: "<program>.Log" beside the program, written only when that file
// already exists. Trace lines also go to the system's debug output, viewer lines to the
// "Tindral Debug View" window when one is open.
//
// The monitor opens its log with the numbered fallback names; the service program builds this
// unit with DEBUGLOG_SERVICE defined, which opens only its own log file.
#pragma once

#include <windows.h>

#include "../classlib/AnsiString.h"

#if defined(__GNUC__)
#define DEBUGLOG_PRINTF(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define DEBUGLOG_PRINTF(fmt, first)
#endif

class DebugLogFile {
public:
    enum class OpenMode {
        WithFallback,  // the monitor: "open log file" notice, then the numbered names
        OwnFileOnly,   // the service: the log file itself as an existing file, nothing else
    };

    AnsiString Path;                       // the log file's full path
    HANDLE Handle = INVALID_HANDLE_VALUE;  // invalid while no log is written

    DebugLogFile() = default;
    ~DebugLogFile();
    DebugLogFile(const DebugLogFile&) = delete;
    DebugLogFile& operator=(const DebugLogFile&) = delete;

    // Opens the log at logPath (closing any earlier one) and writes "== START LOG ==".
    // False when no log is written.
    bool Open(const AnsiString& logPath, OpenMode mode = OpenMode::WithFallback);
    void Close();
    bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
    // The text and CR LF in one write; nothing while closed.
    void WriteLine(const AnsiString& text);
};

// The program's one log. It opens itself on first use, so other units may log from their
// static initialisers, and it is never destroyed.
DebugLogFile& GlobalDebugLog();
// The program's module path with the extension ".Log".
AnsiString ModuleDebugLogPath();

void OpenDebugLog();   // run by unit initialisation; later calls do nothing
void CloseDebugLog();  // run by unit finalisation
void WriteLogLine(const AnsiString& text);

// Trace line: log file and the system's debug output.
void DebugTrace(const char* format, ...) DEBUGLOG_PRINTF(1, 2);
// Viewer line: log file and the viewer window.
void DebugPrint(const char* format, ...) DEBUGLOG_PRINTF(1, 2);
void SendToDebugView(const AnsiString& text, ULONG_PTR data, WPARAM wParam);
// Error line: "<text> ErrCode:<hex>=<system message>", or without format "ErrCode:..." alone;
// log file and the system's debug output.
void DebugPrintError(DWORD code, const char* format, ...) DEBUGLOG_PRINTF(2, 3);
