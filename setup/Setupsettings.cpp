#include "Setupsettings.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <vector>

#include "../classlib/IniFile.h"
#include "../classlib/Registry.h"

std::function<int(const AnsiString&, const AnsiString&, unsigned)> SetupMessageBox =
    [](const AnsiString& text, const AnsiString& title, unsigned flags) {
        return MessageBoxA(nullptr, text.c_str(), title.c_str(), flags);
    };

tagVYXGLOBALVAR SetupSettings;

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The logs of the installer runs this program started, the last one last.
std::vector<AnsiString> startedLogs;

// Before the main function, as the window expects it.
struct Loader {
    Loader() { LoadSetupSettings(); }
} loader;

// A system answer of unknown length: grow until the call says it fitted.
template <typename Call>
AnsiString GrowingText(Call call) {
    for (DWORD size = MAX_PATH + 1; size <= 32768 * 2; size *= 2) {
        std::vector<char> buf(size);
        DWORD n = call(buf.data(), size);
        if (n == 0) return AnsiString();
        if (n < size) return AnsiString(buf.data(), n);
    }
    return AnsiString();
}

AnsiString ProgramFile() {
    return GrowingText(
        [](char* buf, DWORD size) { return GetModuleFileNameA(nullptr, buf, size); });
}

AnsiString WindowsDirectory() {
    return GrowingText([](char* buf, DWORD size) { return GetWindowsDirectoryA(buf, size); });
}

// Free only when the system says nothing is there; a name it cannot look at is taken.
bool NameTaken(const AnsiString& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

int Inform(const AnsiString& text) {
    return SetupMessageBox(text, kSetupWizardTitle, MB_OK | MB_ICONINFORMATION);
}

// The product's application-paths key; an empty short name names none.
AnsiString AppPathsKey() {
    return SetupSettings.ShortName.empty() ? AnsiString() : kAppPathsKey + SetupSettings.ShortName;
}

AnsiString ReadIniFileString(const AnsiString& path, const AnsiString& section,
                             const AnsiString& key, const AnsiString& def) {
    TIniFile ini(path);
    return ini.ReadString(section, key, def);
}

bool ReadIniFileBool(const AnsiString& path, const AnsiString& section, const AnsiString& key,
                     bool def) {
    TIniFile ini(path);
    return ini.ReadBool(section, key, def);
}

class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (h_) RegCloseKey(h_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Out() { return &h_; }
    HKEY Get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

}  // namespace

bool FileExists(const AnsiString& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

AnsiString ProgramDirectory() {
    return ExtractFilePath(ProgramFile());
}

void LoadSetupSettings() {
    LoadSetupSettingsOf(ProgramFile());
}

void LoadSetupSettingsOf(const AnsiString& programFile) {
    SetupSettings = tagVYXGLOBALVAR{};
    SetupSettings.OSVersionCode = GetOSVersionCode();
    AnsiString path = ChangeFileExt(programFile, ".ini");
    SetupIniReader ini;
    ini.ReadString = [&](const AnsiString& section, const AnsiString& key, const AnsiString& def) {
        return ReadIniFileString(path, section, key, def);
    };
    ini.ReadBool = [&](const AnsiString& section, const AnsiString& key, bool def) {
        return ReadIniFileBool(path, section, key, def);
    };
    ReadSetupKeys(SetupSettings, ini);
}

AnsiString ReadIniString(const AnsiString& section, const AnsiString& key, const AnsiString& def,
                         const AnsiString& ext) {
    return ReadIniFileString(ChangeFileExt(ProgramFile(), ext), section, key, def);
}

bool ReadIniBool(const AnsiString& section, const AnsiString& key, bool def,
                 const AnsiString& ext) {
    return ReadIniFileBool(ChangeFileExt(ProgramFile(), ext), section, key, def);
}

int32_t GetOSVersionCode() {
    OSVERSIONINFOA info;
    static_assert(sizeof(info) == 148, "OSVERSIONINFO as the system expects it");
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return SetupVersionCode(0, 0, 0);
    return SetupVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

bool IsAutorunInstalled() {
    if (!SetupSettings.CheckAutorun) return false;
    AnsiString key = AppPathsKey();
    TRegistry reg(HKEY_LOCAL_MACHINE);
    return !key.empty() && reg.OpenKey(key, false);
}

bool HasAdministratorRights() {
    TRegistry reg(HKEY_LOCAL_MACHINE);
    return reg.OpenKey(
        "\\Software\\" + SetupSettings.CompanyName + "\\" + SetupSettings.ProductName, true);
}

bool CheckPackage() {
    return CheckPackageOf(ProgramFile());
}

bool CheckPackageOf(const AnsiString& programFile) {
    tagVYXGLOBALVAR& s = SetupSettings;
    s.ExeDir = ExtractFilePath(programFile);
    s.SetupExePath = s.ExeDir + "Utility\\Setup.exe";
    s.SetupIssPath = s.ExeDir + "Utility\\Setup.iss";
    s.SetupIniPath = s.ExeDir + "Utility\\Setup.ini";
    s.LogPath = MakeResponseLogName();

    // A path the file functions cannot take would read as a missing file, and
    // a log the installer cannot write as a success.
    for (const AnsiString* path : {&s.SetupExePath, &s.SetupIssPath, &s.SetupIniPath, &s.LogPath}) {
        if (PathFits(*path)) continue;
        Inform(PathTooLongText(*path));
        return false;
    }
    if (s.LogPath.empty()) {
        Inform(NoLogNameText(WindowsDirectory()));
        return false;
    }
    if (!FileExists(s.SetupExePath) || !FileExists(s.SetupIssPath)) {
        Inform(kPackageCorruptText);
        return false;
    }
    s.ProductGUID = ReadIniFileString(s.SetupIniPath, "Startup", "ProductGUID", "");
    if (IsProductInstalled(s.ProductGUID)) {
        Inform(AlreadyInstalledText(s.ShortName, s.ProductName));
        return false;
    }
    return true;
}

AnsiString MakeResponseLogName() {
    return ChooseResponseLogName(WindowsDirectory(), NameTaken);
}

bool IsProductInstalled(const AnsiString& guid) {
    RegKey uninstall, product;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kUninstallKey, uninstall.Out()) != ERROR_SUCCESS)
        return false;
    return RegOpenKeyA(uninstall.Get(), BraceGuid(guid).c_str(), product.Out()) == ERROR_SUCCESS;
}

bool RunSetup(intptr_t* shellCode) {
    tagVYXGLOBALVAR& s = SetupSettings;
    if (shellCode) *shellCode = 0;
    // What lies at the name now was not written by this run: never read it.
    if (s.LogPath.empty() || NameTaken(s.LogPath)) s.LogPath = MakeResponseLogName();
    if (s.LogPath.empty()) {
        Inform(NoLogNameText(WindowsDirectory()));
        return false;
    }
    if (!PathFits(s.LogPath)) {
        Inform(PathTooLongText(s.LogPath));
        return false;
    }
    AnsiString params = SetupParameters(s.LogPath);
    HINSTANCE answer = ShellExecuteA(nullptr, "open", s.SetupFile.c_str(), params.c_str(),
                                     s.ExeDir.empty() ? nullptr : s.ExeDir.c_str(), SW_SHOWNORMAL);
    intptr_t code = reinterpret_cast<intptr_t>(answer);
    if (shellCode) *shellCode = code;
    if (code <= 32) {
        Inform(InstallerNotStartedText(s.SetupFile, code));
        return false;
    }
    startedLogs.push_back(s.LogPath);
    return true;
}

bool CheckInstallResult() {
    int32_t code = 0;
    if (!startedLogs.empty())
        code = ParseResultCode(
            ReadIniFileString(startedLogs.back(), "ResponseResult", "ResultCode", ""));
    if (code >= 0) return true;
    Inform(InstallFailedText(code));
    return false;
}

void DeleteResponseLog() {
    for (const AnsiString& log : startedLogs) DeleteFileA(log.c_str());
    startedLogs.clear();
}

AppStart StartRegisteredApplication() {
    AnsiString key = AppPathsKey();
    TRegistry reg(HKEY_LOCAL_MACHINE);
    if (key.empty() || !reg.OpenKey(key, false)) return AppStart::NothingToStart;
    AnsiString path = reg.ReadString("Path");
    reg.CloseKey();
    if (path.empty()) return AppStart::NothingToStart;
    HINSTANCE answer = ShellExecuteA(nullptr, "open", path.c_str(), "", nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(answer) > 32 ? AppStart::Started : AppStart::Failed;
}
