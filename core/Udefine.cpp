#include "Udefine.h"

#include "Uprofile.h"

CFAGlobalVar::CFAGlobalVar() = default;

CFAGlobalVar::~CFAGlobalVar() {
    SettingsIni.reset();
    StringIni.reset();
}

namespace {

// 1 b, 2 a, 3 g
bool IsBand(int32_t band) {
    return band >= 1 && band <= 3;
}
bool IsChannel24GHz(int32_t channel) {
    return channel >= 1 && channel <= 14;
}
// 5000 + 5n MHz: the numbers in use run up to 196
bool IsChannel5GHz(int32_t channel) {
    return channel >= 1 && channel <= 196;
}

// A [Setting] integer that must be one of the values isValue takes: another
// number is logged and, like no number, leaves def.
int32_t ReadSettingIn(const CFAGlobalVar& g, const char* key, int32_t def,
                      bool (*isValue)(int32_t)) {
    AnsiString text = g.SettingsIni->ReadString("Setting", key, AnsiString());
    int32_t v = def;
    IniNumber number = ParseIniNumber(text, v);
    if (number == IniNumber::None) return def;
    if (number == IniNumber::Int32 && isValue(v)) return v;
    if (g.Log) g.Log(Format("[Setting] %s=%s is out of range, %d taken", key, text.c_str(), def));
    return def;
}

}  // namespace

void CFAGlobalVar::LoadSettings(const AnsiString& appName) {
    AppTitle = appName;
    MsgTitle = AppTitle + " Message";

    ProfRoot = "Velmora";
    DefProfName = "Default";
    DefProfSSID = "ANY";
    SupportMode = 34;
    DefBand = 1;
    DefChB = 6;
    DefChA = 36;
    if (SettingsIni) {
        ProfRoot = SettingsIni->ReadString("Setting", "ProfRoot", ProfRoot);
        AnsiString name = SettingsIni->ReadString("Setting", "DefProfName", DefProfName);
        // No name of the store: one with a NUL would be taken only up to it, one with a
        // backslash as a path of keys, one too long cut to another profile's name.
        ProfileNameCheck check = CheckProfileName(name, nullptr);
        if (check != ProfileNameCheck::ControlByte && check != ProfileNameCheck::Backslash &&
            check != ProfileNameCheck::TooLong) {
            DefProfName = name;
        } else if (Log) {
            Log(AnsiString("[Setting] DefProfName: ") + ProfileNameFault(check) + ", \"" +
                DefProfName + "\" taken");
        }
        DefProfSSID = SettingsIni->ReadString("Setting", "DefProfSSID", DefProfSSID);
        SupportMode = ReadSettingIn(*this, "SupportMode", SupportMode, IsKnownModeCode);
        DefBand = ReadSettingIn(*this, "DefBand", DefBand, IsBand);
        DefChB = ReadSettingIn(*this, "DefChB", DefChB, IsChannel24GHz);
        DefChA = ReadSettingIn(*this, "DefChA", DefChA, IsChannel5GHz);
    }

    // The default message title comes from the program name, not from a
    // translated application title.
    AppTitle = ReadTextString("Utility", "AppTitle", AppTitle);
    MsgTitle = ReadTextString("Utility", "MsgTitle", MsgTitle);
    if (StringIni) Words.LoadCommonStrings(*StringIni);

    MutexName = ProfRoot + "_Mutex";
    LoginMutexName = ProfRoot + "_Login_Mutex";
    BroadcastMsgName = ProfRoot + "_BroadcastMsg";
}

AnsiString CFAGlobalVar::ReadTextString(const AnsiString& section, const AnsiString& key,
                                        const AnsiString& def) const {
    return StringIni ? StringIni->ReadString(section, key, def) : def;
}

TTextReader CFAGlobalVar::TextSection(const AnsiString& section) const {
    return [this, section](const AnsiString& key, const AnsiString& def) {
        return ReadTextString(section, key, def);
    };
}

AnsiString CFAGlobalVar::ReadSettingString(const AnsiString& section, const AnsiString& key,
                                           const AnsiString& def) const {
    return SettingsIni ? SettingsIni->ReadString(section, key, def) : def;
}

int32_t CFAGlobalVar::ReadSettingInteger(const AnsiString& section, const AnsiString& key,
                                         int32_t def) const {
    return SettingsIni ? SettingsIni->ReadInteger(section, key, def) : def;
}

bool CFAGlobalVar::ReadSettingBool(const AnsiString& section, const AnsiString& key,
                                   bool def) const {
    return SettingsIni ? SettingsIni->ReadBool(section, key, def) : def;
}

void CFAGlobalVar::WriteSettingString(const AnsiString& section, const AnsiString& key,
                                      const AnsiString& value) const {
    if (SettingsIni) SettingsIni->WriteString(section, key, value);
}

void CFAGlobalVar::WriteSettingBool(const AnsiString& section, const AnsiString& key,
                                    bool value) const {
    if (SettingsIni) SettingsIni->WriteBool(section, key, value);
}

int32_t WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId == 1) {  // the 95 family
        switch (minor) {
            case 0:
                return 0;
            case 10:
                return 3;
            case 90:
                return 4;
            default:
                return 2;
        }
    }
    if (platformId == 2) {  // NT
        if (major == 4) return 1;
        if (major == 5) return minor == 0 ? 5 : 6;
    }
    return 7;
}

int32_t SignalToPercent(int16_t dBm) {
    int32_t v = dBm == 0 ? -95 : dBm;
    // Full width: a far-out level must not wrap around to a strong signal.
    int32_t p = (v * 100 + 9500) / 50;
    if (p > 100) return 100;
    if (p < 0) return 0;
    return p;
}

AnsiString EncryptionText(const CFAGlobalVar& settings, int32_t code) {
    const CCommonString& w = settings.Words;
    auto in = [code](int32_t lo, int32_t hi) { return code >= lo && code <= hi; };
    if (code == 0) return w.Encrypt_None;
    if (code == 1) return w.Encrypt_WEP;
    if (in(10, 15)) return w.Encrypt_WPA;
    if (in(20, 25) || code == 99) return w.Encrypt_WPA_PSK;
    if (in(110, 115)) return w.Encrypt_WPA2;
    if (in(120, 125) || code == 199) return w.Encrypt_WPA2_PSK;
    if (in(1010, 1015)) return w.Encrypt_WPA_WPA2;
    if (in(1020, 1025) || code == 1099) return w.Encrypt_WPA_WPA2_PSK;
    return w.Unknow;
}

int32_t ReadHwidList(const CFAGlobalVar& settings, DeviceEntry* entries, int32_t capacity) {
    if (!settings.SettingsIni) return -1;
    int32_t count = 0;
    for (int32_t i = 0; i < 16 && i < capacity; ++i) {
        AnsiString id = settings.SettingsIni->ReadString("Product", Format("HWID%d", i), "");
        if (id.empty()) break;
        const size_t room = sizeof(entries[count].HardwareId) - 1;
        if (id.size() > room && settings.Log)
            settings.Log(Format("[Product] HWID%d is longer than %d characters, cut", i,
                                static_cast<int>(room)));
        entries[count] = DeviceEntry{};
        SetTextField(entries[count].HardwareId, id);
        ++count;
    }
    return count;
}

int32_t BandModeMask(int32_t modeCode) {
    switch (modeCode) {
        case 1:
        case 21:
            return 1;
        case 3:
        case 23:
            return 2;
        case 2:
        case 22:
            return 4;
        case 11:
        case 31:
            return 3;
        case 13:
        case 33:
            return 5;
        case 12:
        case 32:
            return 6;
        default:
            return 7;
    }
}

bool IsKnownModeCode(int32_t modeCode) {
    return modeCode == 34 || BandModeMask(modeCode) != 7;
}
