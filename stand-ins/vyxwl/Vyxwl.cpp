// The stand-in driver library: a simulated adapter steered by the scenario
// file, a profile store in the current user's registry, the library's own
// profile files, and a call trace. README.md describes the behaviour.
#include "Vyxwl.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "Convert.h"
#include "ProfileText.h"
#include "Scenario.h"
#include "core/Uvyxwlapi.h"

using namespace vyxsim;

// Each entry point has exactly the type the program calls it by.
#define VYXWL_SAME_TYPE(fn, type) \
    static_assert(std::is_same<decltype(&fn), vyxwl::type>::value, #fn " signature")
VYXWL_SAME_TYPE(VYXWL_Initial, Initial);
VYXWL_SAME_TYPE(VYXWL_DevDetect, DevDetect);
VYXWL_SAME_TYPE(VYXWL_QueryOID, QueryOID);
VYXWL_SAME_TYPE(VYXWL_SiteSurveyScan, SiteSurveyScan);
VYXWL_SAME_TYPE(VYXWL_SiteSurveyGet, SiteSurveyGet);
VYXWL_SAME_TYPE(VYXWL_FrequencyToChannel, FrequencyToChannel);
VYXWL_SAME_TYPE(VYXWL_GetWLANStatus, GetWLANStatus);
VYXWL_SAME_TYPE(VYXWL_SetWLANStatus, SetWLANStatus);
VYXWL_SAME_TYPE(VYXWL_WLProfileToWLStatus, WLProfileToWLStatus);
VYXWL_SAME_TYPE(VYXWL_SetWLProfileDir, SetWLProfileDir);
VYXWL_SAME_TYPE(VYXWL_GetWLProfile, GetWLProfile);
VYXWL_SAME_TYPE(VYXWL_SetWLProfile, SetWLProfile);
VYXWL_SAME_TYPE(VYXWL_EnumWLProfiles, EnumWLProfiles);
VYXWL_SAME_TYPE(VYXWL_DeleteWLProfile, DeleteWLProfile);
VYXWL_SAME_TYPE(VYXWL_RegExportProfile, RegExportProfile);
VYXWL_SAME_TYPE(VYXWL_RegImportProfile, RegImportProfile);
VYXWL_SAME_TYPE(VYXWL_GetNetworkInfo, GetNetworkInfo);
VYXWL_SAME_TYPE(VYXWL_SetNetworkInfo, SetNetworkInfo);
VYXWL_SAME_TYPE(VYXWL_StrToIPData, StrToIPData);
VYXWL_SAME_TYPE(VYXWL_IPDataToStr, IPDataToStr);
VYXWL_SAME_TYPE(VYXWL_GetWLANDriverPath, GetWLANDriverPath);
VYXWL_SAME_TYPE(VYXWL_Set_WZCService, Set_WZCService);
VYXWL_SAME_TYPE(VYXWL_Get_WZCService, Get_WZCService);
VYXWL_SAME_TYPE(VYXWL_PassphraseToWEPKey, PassphraseToWEPKey);
VYXWL_SAME_TYPE(VYXWL_GetWLANDomain, GetWLANDomain);
VYXWL_SAME_TYPE(VYXWL_EnumCertificates, EnumCertificates);
VYXWL_SAME_TYPE(VYXWL_GetAllowedChannel, GetAllowedChannel);
VYXWL_SAME_TYPE(VYXWL_GetUSBType, GetUSBType);
VYXWL_SAME_TYPE(VYXWL_GetGinUSB11, GetGinUSB11);
VYXWL_SAME_TYPE(VYXWL_SetGinUSB11, SetGinUSB11);
VYXWL_SAME_TYPE(VYXWL_SetAPFilterList, Unused);
#undef VYXWL_SAME_TYPE

namespace {

// NDIS status codes the OID query answers with
constexpr int32_t kNdisFailure = static_cast<int32_t>(0xC0000001u);
constexpr int32_t kNdisNotSupported = static_cast<int32_t>(0xC00000BBu);
constexpr int32_t kNdisInvalidLength = static_cast<int32_t>(0xC0010014u);

constexpr uint32_t kOidMediaConnect = 0x00010114;
constexpr uint32_t kOidPermanentAddress = 0x01010101;
constexpr uint32_t kOidCurrentAddress = 0x01010102;

constexpr size_t kMaxChannelsWritten = 260;  // the buffer the callers hand in
constexpr size_t kNameBuffer = 260;

// What VYXWL_WLProfileToWLStatus keeps of a profile, in the status record's
// opaque area, for VYXWL_SetWLANStatus to apply.
#pragma pack(push, 1)
struct AppliedSettings {
    char Tag[8];
    char ProfileName[65];
    char Ssid[33];
    int32_t NetworkMode;
    int32_t EncryptionMethod;
    int32_t WPAEncryptionType;
    int32_t AuthenticationMode;
    int32_t WEPEncryptionLevel;
    int32_t DefaultKey;
    int32_t MS8021xAuthMode;
    int32_t Channel;
    int32_t AdHocBand;
    char WEPKey[4][59];
    char WPAPassphrase[260];
    char LoginName[260];
    char LoginPassword[260];
};
#pragma pack(pop)
static_assert(sizeof(AppliedSettings) <= sizeof(WLStatus::Reserved244),
              "applied settings fit the status record's opaque area");
const char kStatusTag[8] = {'V', 'Y', 'X', 'W', 'L', 'S', 'E', 'T'};

struct Link {
    bool up = false;
    ScnNetwork net;  // the network joined, or the own ad hoc cell
};

struct State {
    ScenarioWatch watch;
    Scenario sc;

    std::string maker;
    std::string profileRoot;

    bool desiredValid = false;
    AppliedSettings desired{};
    DWORD appliedTick = 0;

    Link link;
    std::string linkKey;  // which network the link is with; empty while down
    DWORD linkSince = 0;
    uint64_t connectedMs = 0;  // over earlier links
    bool secondStatusCall = false;

    bool ipApplied = false;
    NetworkInfo ip{};
    int32_t restartLeft = 0;

    bool wzcSet = false;
    int32_t wzcState = 0;
    bool ginSet = false;
    int32_t gin = 0;

    std::vector<CertificateEntry> certs[2];  // client, authorities
};

HMODULE g_module = nullptr;
CRITICAL_SECTION g_lock;
CRITICAL_SECTION g_traceLock;
State g_state;

class Guard {
public:
    explicit Guard(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Guard() { LeaveCriticalSection(&cs_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

std::string ScenarioPath() {
    char buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VYXWL_SCENARIO", buf, sizeof(buf));
    if (n > 0 && n < sizeof(buf)) return std::string(buf, n);
    n = GetModuleFileNameA(g_module, buf, sizeof(buf));
    std::string dir(buf, n < sizeof(buf) ? n : 0);
    size_t slash = dir.find_last_of("\\/");
    dir = slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
    return dir + "VYXWL.scn";
}

// ---- the simulated link ----

bool AdapterPresent() {
    return !g_state.sc.devices.empty();
}

bool SecurityMatches(const AppliedSettings& d, const ScnNetwork& n) {
    const int32_t p = n.privacy;
    auto in = [p](int32_t lo, int32_t hi) { return p >= lo && p <= hi; };
    auto cipherOk = [&] {
        if (p == 99 || p == 199 || p == 1099) return true;  // either cipher
        int32_t last = p % 10;
        return d.WPAEncryptionType == (last == 3 || last == 4 ? 2 : 1);
    };
    auto passOk = [&] { return !n.hasKey || n.key == TextField(d.WPAPassphrase); };
    auto loginOk = [&] {
        return (!n.hasLogin || n.login == TextField(d.LoginName)) &&
               (!n.hasPassword || n.password == TextField(d.LoginPassword));
    };
    switch (d.EncryptionMethod) {
        case 0:
            return p == 0;
        case 1: {
            int32_t k = d.DefaultKey >= 0 && d.DefaultKey <= 3 ? d.DefaultKey : 0;
            return p == 1 && (!n.hasKey || EqualNoCase(n.key, TextField(d.WEPKey[k])));
        }
        case 2:
            return (in(20, 25) || p == 99 || in(1020, 1025) || p == 1099) && cipherOk() && passOk();
        case 6:
            return (in(120, 125) || p == 199 || in(1020, 1025) || p == 1099) && cipherOk() &&
                   passOk();
        case 3:
            return (in(10, 15) || in(1010, 1015)) && cipherOk() && loginOk();
        case 7:
            return (in(110, 115) || in(1010, 1015)) && cipherOk() && loginOk();
        case 4:
        case 5:
            return p == 1 && loginOk();
        default:
            return false;
    }
}

Link EvaluateLink(DWORD now) {
    const State& s = g_state;
    Link l;
    if (!AdapterPresent() || !s.desiredValid || now - s.appliedTick < s.sc.connectDelay) return l;
    const AppliedSettings& d = s.desired;
    std::string ssid = TextField(d.Ssid);
    if (d.NetworkMode != 1) {
        // ad hoc: join a cell of that name in range, or start one
        for (const ScnNetwork& n : s.sc.networks) {
            if (n.mode == 0 && n.ssid == ssid) {
                l.up = true;
                l.net = n;
                return l;
            }
        }
        l.up = true;
        l.net.ssid = ssid;
        std::memcpy(l.net.mac, s.sc.mac, 6);
        l.net.mac[0] = static_cast<uint8_t>((l.net.mac[0] | 0x02) & 0xFE);
        l.net.mac[5] ^= 0x5A;
        l.net.mode = 0;
        l.net.band = d.AdHocBand;
        l.net.frequency = ChannelToFrequency(d.Channel, d.AdHocBand);
        if (l.net.frequency == 0) l.net.frequency = 2437000;
        l.net.rssi = -40;
        l.net.rate = d.AdHocBand == 1 ? 22 : 108;
        return l;
    }
    const ScnNetwork* best = nullptr;
    for (const ScnNetwork& n : s.sc.networks) {
        if (n.mode != 1 || !SecurityMatches(d, n)) continue;
        if (ssid.empty()) {
            // no name: the strongest open network
            if (!n.ssid.empty() && (!best || n.rssi > best->rssi)) best = &n;
        } else if (n.ssid == ssid) {
            best = &n;
            break;
        }
    }
    if (best) {
        l.up = true;
        l.net = *best;
    }
    return l;
}

void UpdateLink(DWORD now) {
    State& s = g_state;
    Link l = EvaluateLink(now);
    std::string key = l.up ? l.net.ssid + "|" + HexBytes(l.net.mac, 6) : std::string();
    if (key != s.linkKey) {
        if (!s.linkKey.empty()) s.connectedMs += now - s.linkSince;
        s.linkSince = now;
        s.linkKey = key;
    }
    s.link = l;
}

void DropLink(DWORD now) {
    State& s = g_state;
    if (!s.linkKey.empty()) s.connectedMs += now - s.linkSince;
    s.linkKey.clear();
    s.link = Link();
}

uint64_t ConnectedMs(DWORD now) {
    const State& s = g_state;
    return s.connectedMs + (s.linkKey.empty() ? 0 : now - s.linkSince);
}

void Refresh() {
    State& s = g_state;
    std::string path = ScenarioPath();
    if (s.watch.Changed(path)) {
        s.sc = LoadScenario(path);
        // an unplugged adapter forgets its association
        if (!AdapterPresent()) s.desiredValid = false;
    }
    UpdateLink(GetTickCount());
}

// ---- the call trace ----

std::string Quoted(const char* text) {
    if (!text) return "null";
    std::string q = "\"";
    for (const char* p = text; *p; ++p) q += static_cast<unsigned char>(*p) < 32 ? '?' : *p;
    return q + "\"";
}

std::string Hex32(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof(buf), "0x%08X", static_cast<unsigned>(v));
    return buf;
}

void WriteTrace(const std::string& file, const std::string& line) {
    Guard g(g_traceLock);
    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &n, nullptr);
    CloseHandle(h);
}

// Every entry point runs through here: scenario refresh, forced answers,
// delays, the state lock (not for the pure conversions) and the trace line.
// The body answers and may leave a note for the trace.
enum class Locking { State, None };

template <class Body>
int32_t Run(const char* name, const std::string& args, Locking locking, Body body) {
    bool forced = false;
    int32_t answer = 0;
    uint32_t delay = 0;
    std::string trace;
    {
        Guard g(g_lock);
        Refresh();
        const Scenario& sc = g_state.sc;
        auto f = sc.fail.find(name);
        if (f != sc.fail.end()) {
            forced = true;
            answer = f->second;
        }
        auto d = sc.delay.find(name);
        if (d != sc.delay.end()) delay = d->second;
        trace = sc.traceFile;
    }
    if (delay) Sleep(delay);
    std::string note;
    if (!forced) {
        if (locking == Locking::State) {
            Guard g(g_lock);
            Refresh();
            answer = body(note);
        } else {
            answer = body(note);
        }
    }
    if (!trace.empty()) {
        std::string line = std::to_string(GetTickCount()) + " " +
                           std::to_string(GetCurrentProcessId()) + " " + name + "(" + args +
                           ") -> " + std::to_string(answer);
        if (forced) line += " (forced)";
        if (!note.empty()) line += " " + note;
        WriteTrace(trace, line + "\r\n");
    }
    return answer;
}

int32_t Unused(const char* name) {
    return Run(name, "", Locking::None, [](std::string&) { return 0; });
}

// ---- the profile store and profile files ----

constexpr char kProfileValue[] = "Profile";
constexpr char kFileSection[] = "WLANProfile";

bool ValidName(const char* name) {
    return name && *name && std::strchr(name, '\\') == nullptr && std::strlen(name) < 256;
}

std::string StoreKey() {
    return "SoftWare\\" + g_state.profileRoot + "\\WLProfile";
}

bool ReadStored(const char* name, WLProfile& rec) {
    if (g_state.profileRoot.empty() || !ValidName(name)) return false;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (StoreKey() + "\\" + name).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    WLProfile tmp;
    DWORD type = 0, size = sizeof(tmp);
    LONG rc =
        RegQueryValueExA(key, kProfileValue, nullptr, &type, reinterpret_cast<BYTE*>(&tmp), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_BINARY || size != sizeof(tmp)) return false;
    rec = tmp;
    return true;
}

bool WriteStored(const std::string& name, const WLProfile& rec) {
    if (g_state.profileRoot.empty() || !ValidName(name.c_str())) return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (StoreKey() + "\\" + name).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, kProfileValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&rec),
                             sizeof(rec));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Blanks or quotes at either end would be lost to the profile-string reader
// unless the value is quoted; it takes one pair of quotes off again.
std::string QuoteValue(const std::string& v) {
    if (v.empty()) return v;
    auto special = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    return special(v.front()) || special(v.back()) ? "\"" + v + "\"" : v;
}

std::string ReadIni(const std::string& file, const std::string& key) {
    std::vector<char> buf(1024);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(kFileSection, key.c_str(), "", buf.data(),
                                           static_cast<DWORD>(buf.size()), file.c_str());
        if (n + 2 < buf.size()) return std::string(buf.data(), n);
        buf.resize(buf.size() * 4);
    }
}

bool ExportProfile(const std::string& file, const WLProfile& rec) {
    std::vector<ProfileItem> items = ProfileToItems(rec);
    std::string text =
        std::string("[") + kFileSection + "]\r\nCount=" + std::to_string(items.size()) + "\r\n";
    for (size_t i = 0; i < items.size(); ++i) {
        std::string n = std::to_string(i + 1);
        text += "ItemName" + n + "=" + items[i].first + "\r\n";
        text += "ItemData" + n + "=" + QuoteValue(items[i].second) + "\r\n";
    }
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
    // readers in this process must not answer from a cached older copy
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    return ok && n == text.size();
}

bool ImportProfile(const std::string& file, WLProfile& rec) {
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    int64_t count = 0;
    if (!ParseInt(ReadIni(file, "Count"), count) || count < 1) return false;
    if (count > 10000) count = 10000;
    rec = WLProfile();
    for (int64_t i = 1; i <= count; ++i) {
        std::string n = std::to_string(i);
        ApplyProfileItem(rec, ReadIni(file, "ItemName" + n), ReadIni(file, "ItemData" + n));
    }
    return true;
}

// ---- records ----

void FillSurveyEntry(SiteSurveyEntry& e, const ScnNetwork& n) {
    e = SiteSurveyEntry();
    e.Length = sizeof(SiteSurveyEntry);
    std::memcpy(e.MacAddress, n.mac, 6);
    size_t len = n.ssid.size() < kMaxSsidLength ? n.ssid.size() : kMaxSsidLength;
    e.Ssid.SsidLength = static_cast<uint32_t>(len);
    std::memcpy(e.Ssid.Ssid, n.ssid.data(), len);
    e.Privacy = n.privacy;
    e.Rssi = n.rssi;
    e.NetworkTypeInUse = n.band;
    e.Configuration.Length = sizeof(WLConfiguration);
    e.Configuration.BeaconPeriod = 100;
    e.Configuration.DSConfig = n.frequency;
    e.InfrastructureMode = n.mode;
    static const uint8_t kRatesB[8] = {0x82, 0x84, 0x8B, 0x96, 0, 0, 0, 0};
    static const uint8_t kRatesOfdm[8] = {0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C};
    std::memcpy(e.SupportedRates, n.band == 1 || n.band == 21 ? kRatesB : kRatesOfdm, 8);
}

// Entries that a careful reader must drop: zero MAC, empty name, a name
// length beyond 32, a name of NUL bytes.
std::vector<SiteSurveyEntry> JunkEntries() {
    std::vector<SiteSurveyEntry> junk(4);
    ScnNetwork n;
    n.ssid = "ZeroMac";
    FillSurveyEntry(junk[0], n);
    for (int i = 1; i < 4; ++i) {
        n.ssid = "";
        uint8_t mac[6] = {0x02, 0x4A, 0x55, 0x4E, 0x4B, static_cast<uint8_t>(i)};
        std::memcpy(n.mac, mac, 6);
        FillSurveyEntry(junk[i], n);
    }
    junk[2].Ssid.SsidLength = 40;
    std::memcpy(junk[2].Ssid.Ssid, "LongNameLongNameLongNameLongName", 32);
    junk[3].Ssid.SsidLength = 4;
    return junk;
}

std::string IPArg(const uint8_t ip[4]) {
    std::string t = IPText(ip);
    return t.empty() ? "0.0.0.0" : t;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_lock);
        InitializeCriticalSection(&g_traceLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        DeleteCriticalSection(&g_traceLock);
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}

extern "C" {

int32_t WINAPI VYXWL_Initial(const char* maker, int32_t flags) {
    return Run("VYXWL_Initial", Quoted(maker) + ", " + std::to_string(flags), Locking::State,
               [&](std::string&) {
                   g_state.maker = maker ? maker : "";
                   return 1;
               });
}

int32_t WINAPI VYXWL_EnumAvailableDevice() {
    return Unused("VYXWL_EnumAvailableDevice");
}

int32_t WINAPI VYXWL_DevDetect(DeviceEntry* entry) {
    std::string hwid = entry ? TextField(entry->HardwareId) : std::string();
    return Run("VYXWL_DevDetect", entry ? Quoted(hwid.c_str()) : "null", Locking::State,
               [&](std::string& note) {
                   State& s = g_state;
                   if (!entry) return 0;
                   if (s.restartLeft > 0) {
                       --s.restartLeft;
                       note = "restarting";
                       return 0;
                   }
                   for (const ScnDevice& d : s.sc.devices) {
                       if (!EqualNoCase(d.hwid, hwid)) continue;
                       SetTextField(entry->DeviceName, d.name);
                       note = Quoted(d.name.c_str());
                       return 1;
                   }
                   return 0;
               });
}

int32_t WINAPI VYXWL_QueryOID(uint32_t oid, void* buffer, uint32_t length, uint32_t* written) {
    return Run("VYXWL_QueryOID", Hex32(oid) + ", " + std::to_string(length), Locking::State,
               [&](std::string& note) {
                   const State& s = g_state;
                   if (!AdapterPresent() || !buffer) return kNdisFailure;
                   uint8_t value[6];
                   uint32_t size;
                   if (oid == kOidMediaConnect) {
                       uint32_t state = s.link.up ? 0 : 1;
                       std::memcpy(value, &state, 4);
                       size = 4;
                       note = "media " + std::to_string(state);
                   } else if (oid == kOidCurrentAddress || oid == kOidPermanentAddress) {
                       std::memcpy(value, s.sc.mac, 6);
                       size = 6;
                       note = "mac " + HexBytes(value, 6);
                   } else {
                       return kNdisNotSupported;
                   }
                   if (written) *written = size;
                   if (length < size) return kNdisInvalidLength;
                   std::memcpy(buffer, value, size);
                   return 0;
               });
}

int32_t WINAPI VYXWL_SetOID() {
    return Unused("VYXWL_SetOID");
}

int32_t WINAPI VYXWL_SiteSurveyScan() {
    return Run("VYXWL_SiteSurveyScan", "", Locking::State,
               [](std::string&) { return AdapterPresent() ? 1 : 0; });
}

int32_t WINAPI VYXWL_SiteSurveyGet(SiteSurveyBuffer* buffer, uint32_t* size) {
    std::string args = size ? std::to_string(*size) : "null";
    return Run("VYXWL_SiteSurveyGet", args, Locking::State, [&](std::string& note) {
        const Scenario& sc = g_state.sc;
        if (!buffer || !size || *size < sizeof(uint32_t) || !AdapterPresent()) return 0;
        std::vector<SiteSurveyEntry> entries;
        for (const ScnNetwork& n : sc.networks) {
            entries.emplace_back();
            FillSurveyEntry(entries.back(), n);
        }
        if (sc.surveyJunk) {
            std::vector<SiteSurveyEntry> junk = JunkEntries();
            entries.insert(entries.end(), junk.begin(), junk.end());
        }
        size_t room = (*size - sizeof(uint32_t)) / sizeof(SiteSurveyEntry);
        if (room > kMaxSurveyEntries) room = kMaxSurveyEntries;
        size_t count = entries.size() < room ? entries.size() : room;
        for (size_t i = 0; i < count; ++i) buffer->Entries[i] = entries[i];
        buffer->Count = sc.surveyCountSet ? sc.surveyCount : static_cast<uint32_t>(count);
        *size = static_cast<uint32_t>(sizeof(uint32_t) + count * sizeof(SiteSurveyEntry));
        note = "count " + std::to_string(buffer->Count);
        return 1;
    });
}

int32_t WINAPI VYXWL_ChannelToFrequency() {
    return Unused("VYXWL_ChannelToFrequency");
}

int32_t WINAPI VYXWL_FrequencyToChannel(uint32_t khz) {
    return Run("VYXWL_FrequencyToChannel", std::to_string(khz), Locking::None,
               [&](std::string&) { return FrequencyToChannel(khz); });
}

int32_t WINAPI VYXWL_GetWLANStatus(int32_t* more, WLStatus* status) {
    return Run("VYXWL_GetWLANStatus", "", Locking::State, [&](std::string& note) {
        State& s = g_state;
        if (more) *more = 0;
        if (!status || !AdapterPresent()) return 0;
        *status = WLStatus();
        if (!s.link.up) {
            status->MediaConnect = 1;
            note = "not connected";
            return 0;
        }
        int32_t answer = 1;
        if (s.sc.moreToCome != 0 && more) {
            s.secondStatusCall = !s.secondStatusCall;
            if (s.secondStatusCall)
                *more = 1;
            else if (s.sc.moreToCome == 2)
                answer = 0;
        }
        const ScnNetwork& n = s.link.net;
        const AppliedSettings& d = s.desired;
        std::memcpy(status->Bssid, n.mac, 6);
        size_t len = n.ssid.size() < kMaxSsidLength ? n.ssid.size() : kMaxSsidLength;
        status->SsidLength = static_cast<uint32_t>(len);
        std::memcpy(status->Ssid, n.ssid.data(), len);
        status->SignalDbm = n.rssi;
        status->LinkMode = n.mode == 1 ? 1 : 0;
        status->FrequencyKHz = n.frequency;
        status->AuthMode = d.AuthenticationMode;
        uint64_t ms = ConnectedMs(GetTickCount());
        status->RxPackets = ms * 45 / 1000;
        status->TxPackets = ms * 30 / 1000;
        status->RxBytes = status->RxPackets * 620;
        status->TxBytes = status->TxPackets * 180;
        status->SecurityCode = d.EncryptionMethod;
        status->WpaCipher = d.WPAEncryptionType;
        status->EapMethod =
            d.MS8021xAuthMode >= 1 && d.MS8021xAuthMode <= 3 ? d.MS8021xAuthMode : 0;
        status->TxPowerDbm = s.sc.txPower;
        status->LinkTxRate = static_cast<uint8_t>(n.rate);
        status->LinkRxRate = static_cast<uint8_t>(n.rate);
        status->MediaConnect = 0;
        status->NoiseDbm = n.noise;
        note = Quoted(n.ssid.c_str()) + (more && *more ? " more" : "");
        return answer;
    });
}

int32_t WINAPI VYXWL_SetWLANStatus(int32_t* flag, WLStatus* status) {
    AppliedSettings d{};
    if (status) std::memcpy(&d, status->Reserved244, sizeof(d));
    std::string args = status ? Quoted(TextField(d.Ssid).c_str()) + ", mode " +
                                    std::to_string(d.NetworkMode) + ", security " +
                                    std::to_string(d.EncryptionMethod)
                              : "null";
    (void)flag;
    return Run("VYXWL_SetWLANStatus", args, Locking::State, [&](std::string&) {
        State& s = g_state;
        if (!status || !AdapterPresent() || std::memcmp(d.Tag, kStatusTag, 8) != 0) return 0;
        DWORD now = GetTickCount();
        DropLink(now);
        s.desired = d;
        s.desiredValid = true;
        s.appliedTick = now;
        s.secondStatusCall = false;
        UpdateLink(now);
        return 1;
    });
}

int32_t WINAPI VYXWL_WLProfileToWLStatus(WLProfile* profile, WLStatus* status) {
    std::string args = profile ? Quoted(TextField(profile->ProfileName).c_str()) : "null";
    return Run("VYXWL_WLProfileToWLStatus", args, Locking::State, [&](std::string&) {
        if (!profile || !status) return 0;
        const WLProfile& p = *profile;
        AppliedSettings d{};
        std::memcpy(d.Tag, kStatusTag, 8);
        SetTextField(d.ProfileName, TextField(p.ProfileName));
        SetTextField(d.Ssid, TextField(p.Ssid1));
        d.NetworkMode = p.NetworkMode;
        d.EncryptionMethod = p.EncryptionMethod;
        d.WPAEncryptionType = p.WPAEncryptionType;
        d.AuthenticationMode = p.AuthenticationMode;
        d.WEPEncryptionLevel = p.WEPEncryptionLevel;
        d.DefaultKey = p.DefaultKey;
        d.MS8021xAuthMode = p.MS8021xAuthMode;
        d.Channel = p.Channel;
        d.AdHocBand = p.AdHocBand;
        SetTextField(d.WEPKey[0], TextField(p.WEPKey1));
        SetTextField(d.WEPKey[1], TextField(p.WEPKey2));
        SetTextField(d.WEPKey[2], TextField(p.WEPKey3));
        SetTextField(d.WEPKey[3], TextField(p.WEPKey4));
        SetTextField(d.WPAPassphrase, TextField(p.WPAPassphrase));
        SetTextField(d.LoginName, TextField(p.LoginName));
        SetTextField(d.LoginPassword, TextField(p.LoginPassword));

        *status = WLStatus();
        std::memcpy(status->Reserved244, &d, sizeof(d));
        std::string ssid = TextField(d.Ssid);
        status->SsidLength = static_cast<uint32_t>(ssid.size());
        std::memcpy(status->Ssid, ssid.data(), ssid.size());
        status->LinkMode = p.NetworkMode == 1 ? 1 : 0;
        status->AuthMode = p.AuthenticationMode;
        status->SecurityCode = p.EncryptionMethod;
        status->WpaCipher = p.WPAEncryptionType;
        status->MediaConnect = 1;
        return 1;
    });
}

// A profile that joins a network of the scenario with its own credentials.
static WLProfile ProfileForNetwork(const std::string& name, const ScnNetwork& n) {
    WLProfile p{};
    SetTextField(p.ProfileName, name);
    SetTextField(p.NetworkInfo.NI_sz_CurProfile, name);
    SetTextField(p.Ssid1, n.ssid);
    p.NetworkMode = n.mode;
    p.ABGMode = 34;
    p.TxRate = 15;
    p.AuthenticationMode = 2;
    p.WPAEncryptionType = (n.privacy % 10 == 3 || n.privacy % 10 == 4) ? 2 : 1;
    p.FragThreshold = 2346;
    p.RTSThreshold = 2347;
    p.PreambleMode = 2;
    int32_t c = n.privacy;
    auto in = [c](int32_t lo, int32_t hi) { return c >= lo && c <= hi; };
    if (c == 1) {
        p.EncryptionMethod = 1;
        p.WEPEncryptionLevel = n.key.size() > 10 ? 2 : 1;
        SetTextField(p.WEPKey1, n.key);
    } else if (in(20, 25) || c == 99 || in(1020, 1025) || c == 1099) {
        p.EncryptionMethod = 2;
        SetTextField(p.WPAPassphrase, n.key);
    } else if (in(120, 125) || c == 199) {
        p.EncryptionMethod = 6;
        SetTextField(p.WPAPassphrase, n.key);
    } else if (in(10, 15) || in(110, 115) || in(1010, 1015)) {
        p.EncryptionMethod = in(110, 115) ? 7 : 3;
        SetTextField(p.LoginName, n.login);
        SetTextField(p.LoginPassword, n.password);
    }
    return p;
}

int32_t WINAPI VYXWL_SetWLProfileDir(const char* root) {
    return Run("VYXWL_SetWLProfileDir", Quoted(root), Locking::State, [&](std::string&) {
        g_state.profileRoot = root ? root : "";
        if (g_state.profileRoot.empty()) return 0;
        for (const auto& seed : g_state.sc.storedProfiles) {
            WLProfile existing;
            if (ReadStored(seed.first.c_str(), existing)) continue;
            for (const ScnNetwork& n : g_state.sc.networks)
                if (n.ssid == seed.second) {
                    WriteStored(seed.first, ProfileForNetwork(seed.first, n));
                    break;
                }
        }
        return 1;
    });
}

int32_t WINAPI VYXWL_GetWLProfile(const char* name, WLProfile* profile) {
    return Run("VYXWL_GetWLProfile", Quoted(name), Locking::State,
               [&](std::string&) { return profile && ReadStored(name, *profile) ? 1 : 0; });
}

int32_t WINAPI VYXWL_SetWLProfile(const char* name, WLProfile* profile) {
    return Run("VYXWL_SetWLProfile", Quoted(name), Locking::State, [&](std::string&) {
        return profile && name && WriteStored(name, *profile) ? 1 : 0;
    });
}

int32_t WINAPI VYXWL_EnumWLProfiles(int32_t index, char* name) {
    return Run("VYXWL_EnumWLProfiles", std::to_string(index), Locking::State,
               [&](std::string& note) {
                   if (!name || index < 0 || g_state.profileRoot.empty()) return 0;
                   HKEY key;
                   if (RegOpenKeyExA(HKEY_CURRENT_USER, StoreKey().c_str(), 0, KEY_READ, &key) !=
                       ERROR_SUCCESS)
                       return 0;
                   char buf[256];
                   DWORD len = sizeof(buf);
                   LONG rc = RegEnumKeyExA(key, static_cast<DWORD>(index), buf, &len, nullptr,
                                           nullptr, nullptr, nullptr);
                   RegCloseKey(key);
                   if (rc != ERROR_SUCCESS) return 0;
                   SetTextField(name, kNameBuffer, std::string(buf, len));
                   note = Quoted(name);
                   return 1;
               });
}

int32_t WINAPI VYXWL_DeleteWLProfile(const char* name) {
    return Run("VYXWL_DeleteWLProfile", Quoted(name), Locking::State, [&](std::string&) {
        if (g_state.profileRoot.empty() || !ValidName(name)) return 0;
        return RegDeleteKeyA(HKEY_CURRENT_USER, (StoreKey() + "\\" + name).c_str()) == ERROR_SUCCESS
                   ? 1
                   : 0;
    });
}

int32_t WINAPI VYXWL_RegExportProfile(const char* file, const char* name) {
    return Run("VYXWL_RegExportProfile", Quoted(file) + ", " + Quoted(name), Locking::State,
               [&](std::string&) {
                   WLProfile rec;
                   if (!file || !*file || !ReadStored(name, rec)) return 0;
                   return ExportProfile(file, rec) ? 1 : 0;
               });
}

int32_t WINAPI VYXWL_RegImportProfile(const char* file, const char* name) {
    return Run("VYXWL_RegImportProfile", Quoted(file) + ", " + Quoted(name), Locking::State,
               [&](std::string& note) {
                   WLProfile rec;
                   if (!file || !*file || !ImportProfile(file, rec)) return 0;
                   // a name given by the caller wins over the file's
                   std::string stored =
                       name && *name ? std::string(name) : TextField(rec.ProfileName);
                   SetTextField(rec.ProfileName, stored);
                   SetTextField(rec.NetworkInfo.NI_sz_CurProfile, stored);
                   if (!WriteStored(stored, rec)) return 0;
                   note = Quoted(stored.c_str());
                   return 1;
               });
}

int32_t WINAPI VYXWL_GetNetworkInfo(NetworkInfo* info) {
    return Run("VYXWL_GetNetworkInfo", "", Locking::State, [&](std::string& note) {
        const State& s = g_state;
        if (!info || !AdapterPresent()) return 0;
        NetworkInfo ni = s.ipApplied ? s.ip : NetworkInfo();
        if (!s.ipApplied && s.desiredValid)
            SetTextField(ni.NI_sz_CurProfile, TextField(s.desired.ProfileName));
        if (!(ni.NI_wNetFlags & 1)) {
            // DHCP: the server's addresses while linked, none otherwise
            uint8_t* dest[5] = {ni.NI_IpAddr, ni.NI_IpMask, ni.NI_IpGate1, ni.NI_IpDNS1,
                                ni.NI_IpDNS2};
            for (int i = 0; i < 5; ++i) {
                if (s.link.up)
                    std::memcpy(dest[i], s.sc.dhcp[i], 4);
                else
                    std::memset(dest[i], 0, 4);
            }
        }
        *info = ni;
        note = std::string(ni.NI_wNetFlags & 1 ? "static " : "dhcp ") + IPArg(ni.NI_IpAddr);
        return 1;
    });
}

int32_t WINAPI VYXWL_SetNetworkInfo(NetworkInfo* info) {
    std::string args =
        info ? std::string(info->NI_wNetFlags & 1 ? "static " : "dhcp ") + IPArg(info->NI_IpAddr)
             : "null";
    return Run("VYXWL_SetNetworkInfo", args, Locking::State, [&](std::string&) {
        State& s = g_state;
        if (!info || !AdapterPresent()) return 0;
        s.ip = *info;
        s.ipApplied = true;
        s.restartLeft = s.sc.restartDetects;  // the adapter restarts with its new settings
        return 1;
    });
}

int32_t WINAPI VYXWL_StrToIPData(const char* text, uint8_t* ip) {
    return Run("VYXWL_StrToIPData", Quoted(text), Locking::None, [&](std::string& note) {
        if (!ip) return 0;
        ParseIP(text, ip);
        note = IPArg(ip);
        return 1;
    });
}

int32_t WINAPI VYXWL_IPDataToStr(const uint8_t* ip, char* text) {
    return Run("VYXWL_IPDataToStr", ip ? IPArg(ip) : "null", Locking::None, [&](std::string& note) {
        if (!ip || !text) return 0;
        std::string t = IPText(ip);
        std::memcpy(text, t.c_str(), t.size() + 1);
        note = Quoted(text);
        return 1;
    });
}

int32_t WINAPI VYXWL_GetWLANDriverPath(char* path) {
    return Run("VYXWL_GetWLANDriverPath", "", Locking::State, [&](std::string& note) {
        if (!path) return 0;
        SetTextField(path, kNameBuffer, g_state.sc.driverPath);
        note = Quoted(path);
        return 1;
    });
}

int32_t WINAPI VYXWL_Get_ZeroConfig() {
    return Unused("VYXWL_Get_ZeroConfig");
}

int32_t WINAPI VYXWL_Set_ZeroConfig() {
    return Unused("VYXWL_Set_ZeroConfig");
}

int32_t WINAPI VYXWL_Set_WZCService(int32_t start) {
    return Run("VYXWL_Set_WZCService", std::to_string(start), Locking::State, [&](std::string&) {
        if (start != 0 && start != 1) return 0;
        g_state.wzcSet = true;
        g_state.wzcState = start ? 4 : 1;
        return 1;
    });
}

int32_t WINAPI VYXWL_Get_WZCService() {
    return Run("VYXWL_Get_WZCService", "", Locking::State, [](std::string&) {
        return g_state.wzcSet ? g_state.wzcState : g_state.sc.wzcService;
    });
}

int32_t WINAPI VYXWL_PassphraseToWEPKey(const char* passphrase, int32_t keySizeCode,
                                        WEPKeyOutput* out) {
    return Run("VYXWL_PassphraseToWEPKey", Quoted(passphrase) + ", " + std::to_string(keySizeCode),
               Locking::None, [&](std::string& note) {
                   if (!passphrase || !out) return 0;
                   std::vector<std::string> keys = PassphraseToWEPKeys(passphrase, keySizeCode);
                   if (keys.size() != 4) return 0;
                   *out = WEPKeyOutput();
                   out->Reserved0 = WEPKeyDigits(keySizeCode);
                   for (int i = 0; i < 4; ++i) SetTextField(out->Key[i], keys[i]);
                   note = keys[0];
                   return 1;
               });
}

int32_t WINAPI VYXWL_GetWLANDomain(char* domain) {
    return Run("VYXWL_GetWLANDomain", "", Locking::State, [&](std::string& note) {
        if (!domain) return 0;
        SetTextField(domain, 10, g_state.sc.domain);
        note = Quoted(domain);
        return 1;
    });
}

int32_t WINAPI VYXWL_SetWLANDomain() {
    return Unused("VYXWL_SetWLANDomain");
}

int32_t WINAPI VYXWL_Disconnect() {
    return Unused("VYXWL_Disconnect");
}

int32_t WINAPI VYXWL_EnumCertificates(CertificateEntry** entries, int32_t kind) {
    return Run("VYXWL_EnumCertificates", std::to_string(kind), Locking::State, [&](std::string&) {
        if (!entries) return 0;
        *entries = nullptr;
        if (kind != 1 && kind != 3) return 0;
        const std::vector<CertificateEntry>& want =
            kind == 1 ? g_state.sc.clientCerts : g_state.sc.authorityCerts;
        std::vector<CertificateEntry>& held = g_state.certs[kind == 1 ? 0 : 1];
        // the array the caller holds stays put while the list is unchanged
        if (held.size() != want.size() ||
            (!want.empty() &&
             std::memcmp(held.data(), want.data(), want.size() * sizeof(CertificateEntry)) != 0))
            held = want;
        *entries = held.empty() ? nullptr : held.data();
        return static_cast<int32_t>(held.size());
    });
}

int32_t WINAPI VYXWL_GetAllowedChannel(int32_t* channels, int32_t band, const char* domain) {
    return Run("VYXWL_GetAllowedChannel", std::to_string(band) + ", " + Quoted(domain),
               Locking::State, [&](std::string&) {
                   if (!channels) return 0;
                   const Scenario& sc = g_state.sc;
                   std::vector<int32_t> list =
                       sc.AllowedChannels(band, domain && *domain ? domain : sc.domain);
                   // never more than the callers' buffer holds; the answer is the
                   // whole count
                   size_t n = list.size() < kMaxChannelsWritten ? list.size() : kMaxChannelsWritten;
                   if (n) std::memcpy(channels, list.data(), n * sizeof(int32_t));
                   return static_cast<int32_t>(list.size());
               });
}

int32_t WINAPI VYXWL_GetCurrentProfile() {
    return Unused("VYXWL_GetCurrentProfile");
}

int32_t WINAPI VYXWL_IPRelease() {
    return Unused("VYXWL_IPRelease");
}

int32_t WINAPI VYXWL_IPRenew() {
    return Unused("VYXWL_IPRenew");
}

int32_t WINAPI VYXWL_GetUSBType() {
    return Run("VYXWL_GetUSBType", "", Locking::State,
               [](std::string&) { return g_state.sc.usbType; });
}

int32_t WINAPI VYXWL_GetGinUSB11() {
    return Run("VYXWL_GetGinUSB11", "", Locking::State,
               [](std::string&) { return g_state.ginSet ? g_state.gin : g_state.sc.ginUsb11; });
}

int32_t WINAPI VYXWL_SetGinUSB11(int32_t value) {
    return Run("VYXWL_SetGinUSB11", std::to_string(value), Locking::State, [&](std::string&) {
        g_state.ginSet = true;
        g_state.gin = value;
        return 1;
    });
}

int32_t WINAPI VYXWL_GetAPStationList() {
    return Unused("VYXWL_GetAPStationList");
}

int32_t WINAPI VYXWL_GetAPFilterMode() {
    return Unused("VYXWL_GetAPFilterMode");
}

int32_t WINAPI VYXWL_SetAPFilterMode() {
    return Unused("VYXWL_SetAPFilterMode");
}

int32_t WINAPI VYXWL_GetAPFilterList() {
    return Unused("VYXWL_GetAPFilterList");
}

int32_t WINAPI VYXWL_SetAPFilterList() {
    return Unused("VYXWL_SetAPFilterList");
}

}  // extern "C"
