// The parts of the settings object that need the system.
#include <windows.h>

#include "../classlib/IniFile.h"
#include "Udefine.h"
#include "Uprofile.h"

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
    WinVer = GetWindowsVersionCode();
    ExeDir = IncludeTrailingPathDelimiter(ExtractFileDir(exeName));

    SettingsPath = ChangeFileExt(exeName, ".bin");
    SettingsIni.reset(new TIniFile(SettingsPath));

    StringFilePath = ExtractFileName(ChangeFileExt(exeName, ".ini"));
    StringFilePath = ExeDir + SettingsIni->ReadString("Setting", "StringFile", StringFilePath);
    // Without a settings file the string file stays closed even when it exists.
    if (FileExists(SettingsPath)) StringIni.reset(new TIniFile(StringFilePath));

    LoadSettings(ChangeFileExt(ExtractFileName(exeName), ""));
    BuildDefaultProfile(*this);
    BroadcastMsgId = RegisterWindowMessageA(BroadcastMsgName.c_str());
    return true;
}
