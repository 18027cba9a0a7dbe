// The parts of the settings object that need the system.
#include "UdefineWin.h"

#include <windows.h>

#include <vector>

#include "../classlib/IniFile.h"
#include "../classlib/Registry.h"
#include "Udebug.h"
#include "Udefine.h"
#include "Uprofile.h"
#include "Uvyxwllib.h"

CFAGlobalVar FAGlobalVar;
uint32_t BroadcastMsgId = 0;

int32_t GetWindowsVersionCode() {
    OSVERSIONINFOA info;
    static_assert(sizeof(info) == 148, "OSVERSIONINFO as the system expects it");
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    return WindowsVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

static bool FileExists(const AnsiString& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool CFAGlobalVar::InitGlobals(const AnsiString& exeName) {
    LoadConfiguration(exeName);
    if (DriverLib.LoadDriverLib(ExeDir + "VYXWL.DLL", ProfRoot)) return true;
    static const char kNoLibrary[] = "Failed to load VYXWL.DLL library file.";
    DebugPrint("%s", kNoLibrary);
    // Only a desktop with a taskbar has somebody to read it.
    if (FindWindowA("Shell_TrayWnd", nullptr))
        MessageBoxA(nullptr, kNoLibrary, nullptr, MB_OK | MB_ICONERROR);
    return false;
}

void CFAGlobalVar::LoadConfiguration(const AnsiString& exeName) {
    WinVer = GetWindowsVersionCode();
    if (!Log) Log = [](const AnsiString& line) { DebugTrace("%s", line.c_str()); };
    ExeDir = IncludeTrailingPathDelimiter(ExtractFileDir(exeName));

    SettingsPath = ChangeFileExt(exeName, ".bin");
    SettingsIni.reset(new TIniFile(SettingsPath));

    StringFilePath = ExtractFileName(ChangeFileExt(exeName, ".ini"));
    StringFilePath = ExeDir + SettingsIni->ReadString("Setting", "StringFile", StringFilePath);
    // Without a settings file the string file stays closed even when it exists.
    // The program only reads the string file: each of its sections is read from it once.
    if (FileExists(SettingsPath)) StringIni.reset(new TReadOnceIniFile(StringFilePath));

    LoadSettings(ChangeFileExt(ExtractFileName(exeName), ""));
    BuildDefaultProfile(*this);
    BroadcastMsgId = RegisterWindowMessageA(BroadcastMsgName.c_str());
}

namespace {
// Unit finalisation: the library goes before the settings object.
struct DefineUnit {
    ~DefineUnit() { DriverLib.UnloadDriverLib(); }
} defineUnit;
}  // namespace

AnsiString GetFileVersionString(const AnsiString& file, int parts) {
    if (!FileExists(file)) return AnsiString();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0) return AnsiString();
    std::vector<char> data(size + 1);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return AnsiString();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &len) || !fixed ||
        len < sizeof(VS_FIXEDFILEINFO))
        return AnsiString();
    unsigned a = HIWORD(fixed->dwFileVersionMS), b = LOWORD(fixed->dwFileVersionMS);
    unsigned c = HIWORD(fixed->dwFileVersionLS), d = LOWORD(fixed->dwFileVersionLS);
    switch (parts) {
        case 1:
            return Format("%u", a);
        case 2:
            return Format("%u.%u", a, b);
        case 3:
            return Format("%u.%u.%u", a, b, c);
        default:
            return Format("%u.%u.%u.%u", a, b, c, d);
    }
}

AnsiString IniListLookup(const AnsiString& file, const AnsiString& section, const AnsiString& name,
                         const AnsiString& def) {
    if (!FileExists(file)) return def;
    TIniFile ini(file);
    // a damaged file's count must not keep the program reading for ever
    const int32_t kMaxItems = 1024;
    int32_t count = ini.ReadInteger(section, "Count", 0);
    if (count > kMaxItems) count = kMaxItems;
    for (int32_t i = 1; i <= count; ++i) {
        if (ini.ReadString(section, Format("ItemName%d", i), "") == name)
            return ini.ReadString(section, Format("ItemData%d", i), def);
    }
    return def;
}

bool RegistryProfileExists(const CFAGlobalVar& settings) {
    // an empty name would test the store's own key
    if (settings.DefProfName.empty()) return false;
    TRegistry registry(HKEY_CURRENT_USER);
    return registry.KeyExists("SoftWare\\" + settings.ProfRoot + "\\WLProfile\\" +
                              settings.DefProfName);
}
