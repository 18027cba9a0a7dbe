// The monitor's global settings object: where the program lies, its settings
// and string files, the names formed from the profile root, the [Setting]
// defaults, the titles, the word table, the Windows version code and the two
// profiles every window starts from.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "../classlib/AnsiString.h"
#include "../classlib/Classes.h"
#include "../classlib/CustomIniFile.h"
#include "Ucommonstring.h"
#include "Uvyxwltypes.h"

class CFAGlobalVar {
public:
    CFAGlobalVar();  // English words, nothing else; no file access
    virtual ~CFAGlobalVar();

    AnsiString ExeDir;                            // with trailing '\'
    std::unique_ptr<TCustomIniFile> SettingsIni;  // always there after InitGlobals
    std::unique_ptr<TCustomIniFile> StringIni;    // only when the settings file existed
    AnsiString SettingsPath;
    AnsiString StringFilePath;
    AnsiString MutexName;
    AnsiString LoginMutexName;
    AnsiString BroadcastMsgName;
    AnsiString ProfRoot;
    AnsiString DefProfName;
    AnsiString DefProfSSID;
    int32_t DefChB = 0;
    int32_t DefChA = 0;
    int32_t DefBand = 0;
    int32_t SupportMode = 0;
    AnsiString AppTitle;
    AnsiString MsgTitle;
    CCommonString Words;
    int32_t WinVer = 0;
    WLProfile DefaultProfile{};
    WLProfile EditProfile{};
    // Told what the settings file holds that cannot be taken; InitGlobals
    // sends it to the debug log.
    std::function<void(const AnsiString&)> Log;

    // Fills the object from the program at exeName: files, settings, titles,
    // words, DefaultProfile, the broadcast message and (when built in) the
    // driver library. False when the driver library cannot be loaded.
    bool InitGlobals(const AnsiString& exeName);
    // InitGlobals without the driver library.
    void LoadConfiguration(const AnsiString& exeName);
    // The settings and titles step of InitGlobals; appName is the program's
    // file name without extension. A [Setting] number that is none of its
    // key's values leaves the default, as no number does.
    void LoadSettings(const AnsiString& appName);

    AnsiString ReadTextString(const AnsiString& section, const AnsiString& key,
                              const AnsiString& def) const;
    // The texts of one section of the string file, read as ReadTextString reads them: what a
    // window hands to ReadTexts.
    TTextReader TextSection(const AnsiString& section) const;
    AnsiString ReadSettingString(const AnsiString& section, const AnsiString& key,
                                 const AnsiString& def) const;
    int32_t ReadSettingInteger(const AnsiString& section, const AnsiString& key, int32_t def) const;
    bool ReadSettingBool(const AnsiString& section, const AnsiString& key, bool def) const;
    void WriteSettingString(const AnsiString& section, const AnsiString& key,
                            const AnsiString& value) const;
    void WriteSettingBool(const AnsiString& section, const AnsiString& key, bool value) const;
};

// Windows version code from GetVersionEx's platform id, major and minor:
// 0 95, 2 other 9x, 3 98, 4 Me, 1 NT 4, 5 2000, 6 XP/2003, 7 anything else.
int32_t WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor);

// The running system's code (GetVersionEx); Windows builds only.
int32_t GetWindowsVersionCode();

// The one settings object and the registered broadcast message (0 until
// InitGlobals); Windows builds only.
extern CFAGlobalVar FAGlobalVar;
extern uint32_t BroadcastMsgId;

// A signal or noise level (the low 16 bits of a record's dBm field) as 0 to
// 100 percent: 0 counts as -95 dBm; -95 and below give 0, -45 and above 100.
int32_t SignalToPercent(int16_t dBm);

// The word of the settings' word table for a security code of the library.
AnsiString EncryptionText(const CFAGlobalVar& settings, int32_t code);

// Up to capacity (at most 16) zeroed entries with the hardware ids of
// [Product] "HWID0".. up to the first empty one; -1 without a settings file.
// An id longer than the entry holds is logged and cut.
int32_t ReadHwidList(const CFAGlobalVar& settings, DeviceEntry* entries, int32_t capacity);

// The 802.11 kinds a wireless mode code allows, as bits: 1 b, 2 g, 4 a.
int32_t BandModeMask(int32_t modeCode);
// The codes of that table, and 34, the default, which allows all three.
bool IsKnownModeCode(int32_t modeCode);
