// The installer front end's rules that need no window: its settings record
// with the keys and defaults of setup.ini, the Windows version code, the name
// of the installer's result log, the uninstall key of a product GUID, the
// installer's command line, its result codes and their texts, the messages of
// the checks, and the arithmetic of the progress window and the reader-setup
// timer.
#pragma once

#include <cstdint>
#include <functional>

#include "../classlib/AnsiString.h"

// The packaged installer's completion notice to the main window (WM_USER + 0x520).
constexpr unsigned WM_INSTALLDONE = 0x920;

// The one settings record of setup, in the order its fields are declared.
struct tagVYXGLOBALVAR {
    int32_t OSVersionCode = 0;
    AnsiString ExeDir;        // with trailing '\'; empty before the package check
    AnsiString SetupExePath;  // ExeDir + "Utility\Setup.exe"
    AnsiString SetupIssPath;  // ExeDir + "Utility\Setup.iss"
    AnsiString SetupIniPath;  // ExeDir + "Utility\Setup.ini", the installer's own
    AnsiString LogPath;       // the installer's result log
    AnsiString ProductGUID;   // [Startup] "ProductGUID" of SetupIniPath
    AnsiString SetupFile;
    AnsiString UserGuide;
    AnsiString AcrobatReader;
    AnsiString AcrobatReaderTitle;
    AnsiString EULA;
    AnsiString WEBSite;  // read, not used
    bool CheckAutorun = false;
    AnsiString CompanyName;
    AnsiString ProductName;
    AnsiString ShortName;
    AnsiString AppTitle;  // read, not used
    AnsiString MsgTitle;
    AnsiString UtilityTitle;  // read, not used
    AnsiString MsgExit;
};

// Where the settings come from: one value by section, key and default.
struct SetupIniReader {
    std::function<AnsiString(const AnsiString& section, const AnsiString& key,
                             const AnsiString& def)>
        ReadString;
    std::function<bool(const AnsiString& section, const AnsiString& key, bool def)> ReadBool;
};

// Reads the fourteen keys of setup.ini into the record, in the file's order;
// the other fields stay as they are.
void ReadSetupKeys(tagVYXGLOBALVAR& settings, const SetupIniReader& ini);

// From GetVersionEx's platform id, major and minor: 4000 95, 4500 other 9x,
// 4400 NT 4, 5000 2000, 5100 later 5.x, 9999 anything else.
int32_t SetupVersionCode(uint32_t platformId, uint32_t major, uint32_t minor);

// The longest path the system's ANSI file functions take, without its NUL.
constexpr size_t kMaxSetupPath = 259;
inline bool PathFits(const AnsiString& path) {
    return path.size() <= kMaxSetupPath;
}

// The result log "IS<n>.log" in the Windows folder for the first n from 0 up
// whose file does not exist. A log that is already there was not written by
// this run, so it is never taken; empty when every name up to the last one
// tried is taken. A name too long for a path is answered as it is.
AnsiString ChooseResponseLogName(const AnsiString& windowsDir,
                                 const std::function<bool(const AnsiString&)>& exists);
constexpr int kLastResponseLogNumber = 9999;

// The GUID as the name of its uninstall key: with "{" before and "}" after
// where it lacks them ("" gives "{}").
AnsiString BraceGuid(const AnsiString& guid);

// The installer's parameters: silent mode and the result log after "-f2",
// quoted when it holds a blank so that it stays one argument.
AnsiString SetupParameters(const AnsiString& logPath);

// [ResponseResult] "ResultCode": a signed decimal integer that fits 32 bits;
// anything else is 0.
int32_t ParseResultCode(const AnsiString& text);

struct SetupErrorEntry {
    int32_t code;
    char text[100];
};
static_assert(sizeof(SetupErrorEntry) == 104, "code and a 100-byte text");
constexpr int kSetupErrorCount = 16;
extern const SetupErrorEntry SetupErrorTable[kSetupErrorCount];

// The table's text for a code, else "Unknown error.".
AnsiString GetSetupErrorText(int32_t code);

// Titles and texts of the installer's messages.
extern const char kSetupWizardTitle[];  // "Tervalo Setup Wizard", also the application title
extern const char kNoAdminTitle[];
extern const char kNoAdminText[];
extern const char kPackageCorruptText[];
extern const char kReaderMissingText[];
extern const char kReaderSetupMissingText[];
extern const char kCannotOpenGuideText[];
AnsiString AlreadyInstalledText(const AnsiString& shortName, const AnsiString& productName);
AnsiString InstallFailedText(int32_t code);
// Faults the front end refuses to go on with.
AnsiString PathTooLongText(const AnsiString& path);
AnsiString NoLogNameText(const AnsiString& windowsDir);
AnsiString InstallerNotStartedText(const AnsiString& setupFile, intptr_t shellCode);

// The progress window's animation, from 0 each time the window shows.
struct ProgressAnimation {
    int SpinnerIndex = 0;  // 0..9
    int MeterStep = 0;     // 0..10
    int TickCount = 0;
};
struct ProgressTick {
    int Picture;     // spinner picture to bring to the front, 0 = the first
    int MeterWidth;  // 0..140
    bool Close;      // the wait is over: stop the timer, close the window
};
constexpr int kProgressTickMs = 500;
constexpr int kProgressLastTick = 120;  // the window closes at the tick after it
// One 500 ms tick.
ProgressTick AdvanceProgress(ProgressAnimation& animation);

// What a tick of the reader-setup timer does.
enum class ReaderTimerStep {
    PollEverySecond,  // the reader's setup window is there: interval 1000 ms
    KeepWaiting,      // not yet: nothing more
    Finish,           // stop the timer and open the guide if a program opens it now
};
constexpr int kReaderTimerFirstMs = 8000;
constexpr int kReaderTimerPollMs = 1000;
// missedTicks counts the ticks without the reader's window over the whole
// program run; it is never reset.
ReaderTimerStep ReaderSetupTimerTick(bool readerWindowShown, int& missedTicks);
