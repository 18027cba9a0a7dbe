// The scenario that steers the simulated adapter: an INI file beside the
// library (or named by VYXWL_SCENARIO), read whole whenever it changes.
// README.md describes its sections and keys.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/Uvyxwltypes.h"

namespace vyxsim {

struct ScnDevice {
    std::string hwid;
    std::string name;
};

struct ScnNetwork {
    std::string ssid;
    uint8_t mac[6]{};
    uint32_t frequency = 2437000;
    int32_t rssi = -50;
    int32_t noise = -60;
    int32_t privacy = 0;
    int32_t mode = 1;  // 1 infrastructure, 0 ad hoc
    int32_t band = 3;  // NetworkTypeInUse
    int32_t rate = 108;
    // a credential that is given must be matched; one that is not passes anything
    bool hasKey = false, hasLogin = false, hasPassword = false;
    std::string key, login, password;
};

struct Scenario {
    bool fileFound = false;
    std::string path;

    std::vector<ScnDevice> devices;
    uint8_t mac[6]{0x02, 0x56, 0x59, 0x00, 0x00, 0x01};
    std::string driverPath = "System32\\Drivers\\vyxwl.sys";
    std::string domain = "FCC";
    int32_t usbType = 2;
    int32_t ginUsb11 = 0;
    int32_t wzcService = 4;
    int32_t txPower = 18;
    uint32_t connectDelay = 0;
    int32_t moreToCome = 0;
    int32_t restartDetects = 0;

    std::vector<ScnNetwork> networks;

    // address, mask, gateway, DNS 1, DNS 2 handed out by DHCP while linked
    uint8_t dhcp[5][4]{{192, 168, 1, 20}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 1}};

    bool surveyJunk = false;
    bool surveyCountSet = false;
    uint32_t surveyCount = 0;

    std::vector<CertificateEntry> clientCerts;
    std::vector<CertificateEntry> authorityCerts;

    // [Store] Profile<n>=<profile name>|<SSID of a network above>: profiles put into an
    // empty slot of the store when the profile root is set (a machine set up before)
    std::vector<std::pair<std::string, std::string>> storedProfiles;

    std::map<std::string, int32_t> fail;    // by function name
    std::map<std::string, uint32_t> delay;  // ms, by function name
    std::string traceFile;

    // Channels of a band in a domain: [Channels.<domain>] Band<band>, else the
    // built-in plan of the domain.
    std::vector<int32_t> AllowedChannels(int32_t band, const std::string& domain) const;
};

Scenario LoadScenario(const std::string& path);

// Notices when the scenario file changes: another path, another last-write
// time or size, or, while the file is fresh enough that a rewrite may not have
// moved its time, other content.
class ScenarioWatch {
public:
    bool Changed(const std::string& path);

private:
    bool known_ = false;
    std::string path_;
    bool exists_ = false;
    FILETIME written_{};
    uint64_t size_ = 0;
    std::string content_;
};

}  // namespace vyxsim
