#include "Setuprules.h"

#include <climits>

namespace {

// One key of setup.ini: a text field, or the one flag.
struct SetupKey {
    const char* section;
    const char* key;
    const char* def;
    AnsiString tagVYXGLOBALVAR::*text;
    bool tagVYXGLOBALVAR::*flag;
};

using S = tagVYXGLOBALVAR;
const SetupKey kSetupKeys[] = {
    {"Product", "CompanyName", "Velmora", &S::CompanyName, nullptr},
    {"Product", "ProductName", "Tervalo Vantrix USB Network Adapter", &S::ProductName, nullptr},
    {"Product", "ShortName", "RLX4490TN", &S::ShortName, nullptr},
    {"Product", "AppTitle", "Tervalo Vantrix USB Network Adapter Setup Wizard", &S::AppTitle,
     nullptr},
    {"Product", "MsgTitle", "Tervalo Vantrix USB Network Adapter", &S::MsgTitle, nullptr},
    {"Product", "UtilityTitle", "Tervalo Wireless Network Monitor", &S::UtilityTitle, nullptr},
    {"Setup", "SetupFile", "Utility\\Setup.exe", &S::SetupFile, nullptr},
    {"Setup", "UserGuide", "Manual\\UserGuide.pdf", &S::UserGuide, nullptr},
    {"Setup", "AcrobatReader", "AcrobatReader\\Setup.exe", &S::AcrobatReader, nullptr},
    {"Setup", "AcrobatReaderTitle", "Acrobat Reader Setup", &S::AcrobatReaderTitle, nullptr},
    {"Setup", "EULA", "License.bin", &S::EULA, nullptr},
    {"Setup", "WEBSite", "http://www.velmora.example/", &S::WEBSite, nullptr},
    {"Setup", "CheckAutorun", nullptr, nullptr, &S::CheckAutorun},
    {"Message", "MsgExit", "Do you want to exit the Setup Wizard?", &S::MsgExit, nullptr},
};

}  // namespace

void ReadSetupKeys(tagVYXGLOBALVAR& settings, const SetupIniReader& ini) {
    for (const SetupKey& k : kSetupKeys) {
        if (k.flag)
            settings.*k.flag = ini.ReadBool(k.section, k.key, false);
        else
            settings.*k.text = ini.ReadString(k.section, k.key, k.def);
    }
}

int32_t SetupVersionCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId == 1) return minor == 0 ? 4000 : 4500;  // the 95 family
    if (platformId == 2) {                                 // NT
        if (major == 5) return minor == 0 ? 5000 : 5100;
        if (major == 4) return 4400;
    }
    return 9999;
}

AnsiString ChooseResponseLogName(const AnsiString& windowsDir,
                                 const std::function<bool(const AnsiString&)>& exists) {
    AnsiString dir = IncludeTrailingPathDelimiter(windowsDir);
    for (int n = 0; n <= kLastResponseLogNumber; ++n) {
        AnsiString name = Format("%sIS%d.log", dir.c_str(), n);
        // a longer number will not fit either: the caller refuses the name
        if (!PathFits(name) || !exists(name)) return name;
    }
    return AnsiString();
}

AnsiString BraceGuid(const AnsiString& guid) {
    AnsiString name = guid;
    if (name.empty() || name.front() != '{') name.insert(name.begin(), '{');
    if (name.size() < 2 || name.back() != '}') name.push_back('}');
    return name;
}

AnsiString SetupParameters(const AnsiString& logPath) {
    bool blank = logPath.find_first_of(" \t") != AnsiString::npos;
    return "-s -f2" + (blank ? "\"" + logPath + "\"" : logPath);
}

int32_t ParseResultCode(const AnsiString& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) return 0;
    }
    if (negative) value = -value;
    return value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

const SetupErrorEntry SetupErrorTable[kSetupErrorCount] = {
    {0, "Success."},
    {-1, "General error."},
    {-2, "Invalid mode."},
    {-3, "Required data not found or disk space not enough."},
    {-4, "Not enough memory available."},
    {-5, "File does not exist."},
    {-6, "Cannot write to the response file."},
    {-7, "Unable to write to the log file."},
    {-8, "Invalid path to the InstallShield Silent response file."},
    {-9, "Not a valid list type (string or number)."},
    {-10, "Data type is invalid."},
    {-11, "Unknown error during setup."},
    {-12, "Dialog boxes are out of order."},
    {-51, "Cannot create the specified folder."},
    {-52, "Cannot access the specified file or folder."},
    {-53, "Invalid option selected."},
};

AnsiString GetSetupErrorText(int32_t code) {
    for (const SetupErrorEntry& e : SetupErrorTable)
        if (e.code == code) return e.text;
    return "Unknown error.";
}

const char kSetupWizardTitle[] = "Tervalo Setup Wizard";
const char kNoAdminTitle[] = "Setup Wizard";
const char kNoAdminText[] =
    "You do not have administrator privileges, so the installation is being terminated. Ask an "
    "administrator to install this application.";
const char kPackageCorruptText[] = "The package is corruptted, please check.";
const char kReaderMissingText[] =
    "Acrobat Reader is not installed. Would you like to install it now?";
const char kReaderSetupMissingText[] = "Unable to find Acrobat Reader setup file.";
const char kCannotOpenGuideText[] = "Can't open user guide.";

AnsiString AlreadyInstalledText(const AnsiString& shortName, const AnsiString& productName) {
    return Format(
        "The WLAN monitor utility and drivers for the %s have already been installed.  If you "
        "would like to uninstall these items, run the Uninstall program from the '%s' program "
        "group.",
        shortName.c_str(), productName.c_str());
}

AnsiString InstallFailedText(int32_t code) {
    return Format("Installation failed!\n\nErrorCode=%i\nErrorDesc.=%s", static_cast<int>(code),
                  GetSetupErrorText(code).c_str());
}

AnsiString PathTooLongText(const AnsiString& path) {
    return Format("The path \"%s\" is too long, so the installation cannot go on.", path.c_str());
}

AnsiString NoLogNameText(const AnsiString& windowsDir) {
    return Format(
        "No name is free for the installation log in \"%s\", so the installation cannot go on.",
        windowsDir.c_str());
}

AnsiString InstallerNotStartedText(const AnsiString& setupFile, intptr_t shellCode) {
    return Format("The installer \"%s\" could not be started (error %d).", setupFile.c_str(),
                  static_cast<int>(shellCode));
}

ProgressTick AdvanceProgress(ProgressAnimation& a) {
    ProgressTick tick{};
    tick.Picture = a.SpinnerIndex;
    a.SpinnerIndex = (a.SpinnerIndex + 1) % 10;
    tick.MeterWidth = 14 * a.MeterStep;
    a.MeterStep = (a.MeterStep + 1) % 11;
    tick.Close = ++a.TickCount > kProgressLastTick;
    return tick;
}

ReaderTimerStep ReaderSetupTimerTick(bool readerWindowShown, int& missedTicks) {
    if (readerWindowShown) return ReaderTimerStep::PollEverySecond;
    return missedTicks++ < 3 ? ReaderTimerStep::KeepWaiting : ReaderTimerStep::Finish;
}
