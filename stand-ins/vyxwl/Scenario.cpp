#include "Scenario.h"

#include <cctype>
#include <cstring>
#include <map>

#include "Convert.h"

namespace vyxsim {

namespace {

// The scenario file read a section at a time, each section once: one call of the system's API
// per key would make every first call of the library slow. Keys and values as the API
// answers them: names without regard to case, the first of two equal keys, one pair of quotes
// around a value dropped.
class IniReader {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    explicit IniReader(const std::string& path) : path_(path) {}

    bool Has(const std::string& section, const std::string& key) const {
        return Find(section, key) != nullptr;
    }
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& def) const {
        const std::string* value = Find(section, key);
        return value ? *value : def;
    }
    int64_t Int(const std::string& section, const std::string& key, int64_t def) const {
        int64_t v;
        return ParseInt(Read(section, key, ""), v) ? v : def;
    }
    bool SectionExists(const std::string& section) const { return !Section(section).empty(); }
    // key=value pairs of a whole section
    const Pairs& Section(const std::string& section) const {
        auto cached = sections_.find(Lower(section));
        if (cached != sections_.end()) return cached->second;
        std::vector<char> buf(4096);
        DWORD n;
        for (;;) {
            n = GetPrivateProfileSectionA(section.c_str(), buf.data(),
                                          static_cast<DWORD>(buf.size()), path_.c_str());
            if (n + 2 < buf.size()) break;
            buf.resize(buf.size() * 4);
        }
        Pairs pairs;
        for (const char* p = buf.data(); p < buf.data() + n && *p; p += std::strlen(p) + 1) {
            std::string line = p;
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            pairs.emplace_back(Trim(line.substr(0, eq)), Unquoted(Trim(line.substr(eq + 1))));
        }
        return sections_[Lower(section)] = std::move(pairs);
    }

private:
    static std::string Lower(std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    static std::string Unquoted(const std::string& value) {
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            return value.substr(1, value.size() - 2);
        return value;
    }
    const std::string* Find(const std::string& section, const std::string& key) const {
        std::string wanted = Lower(key);
        for (const auto& pair : Section(section))
            if (Lower(pair.first) == wanted) return &pair.second;
        return nullptr;
    }

    std::string path_;
    mutable std::map<std::string, Pairs> sections_;
};

void ReadCertificates(const IniReader& ini, const char* prefix,
                      std::vector<CertificateEntry>& out) {
    for (int i = 1;; ++i) {
        std::string key = prefix + std::to_string(i);
        if (!ini.Has("Certificates", key)) break;
        std::string value = ini.Read("Certificates", key, "");
        size_t bar = value.find('|');
        CertificateEntry e;
        SetTextField(e.Name, Trim(value.substr(0, bar)));
        if (bar != std::string::npos) SetTextField(e.Issuer, Trim(value.substr(bar + 1)));
        out.push_back(e);
    }
}

ScnNetwork ReadNetwork(const IniReader& ini, const std::string& s) {
    ScnNetwork n;
    n.ssid = ini.Read(s, "SSID", "");
    ParseMac(ini.Read(s, "MAC", ""), n.mac);
    n.frequency = static_cast<uint32_t>(ini.Int(s, "Frequency", n.frequency));
    n.rssi = static_cast<int32_t>(ini.Int(s, "RSSI", n.rssi));
    n.noise = static_cast<int32_t>(ini.Int(s, "Noise", n.noise));
    n.privacy = static_cast<int32_t>(ini.Int(s, "Privacy", n.privacy));
    n.mode = static_cast<int32_t>(ini.Int(s, "Mode", n.mode));
    n.band = static_cast<int32_t>(ini.Int(s, "Band", n.band));
    bool bandB = n.band == 1 || n.band == 21;
    n.rate = static_cast<int32_t>(ini.Int(s, "Rate", bandB ? 22 : 108));
    n.hasKey = ini.Has(s, "Key");
    n.key = ini.Read(s, "Key", "");
    n.hasLogin = ini.Has(s, "Login");
    n.login = ini.Read(s, "Login", "");
    n.hasPassword = ini.Has(s, "Password");
    n.password = ini.Read(s, "Password", "");
    return n;
}

}  // namespace

Scenario LoadScenario(const std::string& path) {
    Scenario sc;
    sc.path = path;
    sc.fileFound = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!sc.fileFound) return sc;
    // Drop the system's cached copy: a rewrite within one clock tick keeps
    // the file's time, and the cache would answer from the old text.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    IniReader ini(path);

    const char* a = "Adapter";
    for (int i = 1;; ++i) {
        std::string key = "HWID" + std::to_string(i);
        if (!ini.Has(a, key)) break;
        sc.devices.push_back({ini.Read(a, key, ""), ini.Read(a, "Name" + std::to_string(i),
                                                             "Simulated Wireless LAN Adapter")});
    }
    ParseMac(ini.Read(a, "MAC", ""), sc.mac);
    sc.driverPath = ini.Read(a, "DriverPath", sc.driverPath);
    sc.domain = ini.Read(a, "Domain", sc.domain);
    sc.usbType = static_cast<int32_t>(ini.Int(a, "USBType", sc.usbType));
    sc.ginUsb11 = static_cast<int32_t>(ini.Int(a, "GinUSB11", sc.ginUsb11));
    sc.wzcService = static_cast<int32_t>(ini.Int(a, "WZCService", sc.wzcService));
    sc.txPower = static_cast<int32_t>(ini.Int(a, "TxPower", sc.txPower));
    sc.connectDelay = static_cast<uint32_t>(ini.Int(a, "ConnectDelay", 0));
    sc.moreToCome = static_cast<int32_t>(ini.Int(a, "MoreToCome", 0));
    sc.restartDetects = static_cast<int32_t>(ini.Int(a, "RestartDetects", 0));

    for (int i = 1;; ++i) {
        std::string s = "Network" + std::to_string(i);
        if (!ini.SectionExists(s)) break;
        sc.networks.push_back(ReadNetwork(ini, s));
    }

    const char* dhcpKeys[5] = {"Address", "Mask", "Gateway", "DNS1", "DNS2"};
    for (int i = 0; i < 5; ++i) {
        if (ini.Has("DHCP", dhcpKeys[i]))
            ParseIP(ini.Read("DHCP", dhcpKeys[i], "").c_str(), sc.dhcp[i]);
    }

    sc.surveyJunk = ini.Int("Survey", "Junk", 0) != 0;
    sc.surveyCountSet = ini.Has("Survey", "Count");
    sc.surveyCount = static_cast<uint32_t>(ini.Int("Survey", "Count", 0));

    ReadCertificates(ini, "Client", sc.clientCerts);
    ReadCertificates(ini, "Authority", sc.authorityCerts);
    for (int i = 1;; ++i) {
        std::string key = "Profile" + std::to_string(i);
        if (!ini.Has("Store", key)) break;
        std::string value = ini.Read("Store", key, "");
        size_t bar = value.find('|');
        if (bar == std::string::npos) continue;
        sc.storedProfiles.emplace_back(Trim(value.substr(0, bar)), Trim(value.substr(bar + 1)));
    }

    for (const auto& kv : ini.Section("Fail")) {
        int64_t v;
        if (ParseInt(kv.second, v)) sc.fail[kv.first] = static_cast<int32_t>(v);
    }
    for (const auto& kv : ini.Section("Delay")) {
        int64_t v;
        if (ParseInt(kv.second, v) && v > 0) sc.delay[kv.first] = static_cast<uint32_t>(v);
    }
    sc.traceFile = ini.Read("Trace", "File", "");
    return sc;
}

std::vector<int32_t> Scenario::AllowedChannels(int32_t band, const std::string& dom) const {
    if (fileFound) {
        IniReader ini(path);
        std::string section = "Channels." + dom, key = "Band" + std::to_string(band);
        if (ini.Has(section, key)) return ParseChannelList(ini.Read(section, key, ""));
    }
    bool etsi = EqualNoCase(dom, "ETSI");
    bool japan = EqualNoCase(dom, "MKK") || EqualNoCase(dom, "JP");
    switch (band) {
        case 1:
        case 4:
            return ParseChannelList(etsi ? "1-13" : japan ? "1-14" : "1-11");
        case 2:
            return ParseChannelList(etsi    ? "36-64/4,100-140/4"
                                    : japan ? "36-64/4"
                                            : "36-64/4,149-165/4");
        default:
            return {};
    }
}

static std::string ReadWhole(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) text.append(buf, n);
    CloseHandle(h);
    return text;
}

bool ScenarioWatch::Changed(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA fad;
    bool exists = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fad) != 0;
    uint64_t size =
        exists ? (static_cast<uint64_t>(fad.nFileSizeHigh) << 32) | fad.nFileSizeLow : 0;
    bool changed = !known_ || path != path_ || exists != exists_;
    if (!changed && exists) {
        changed = CompareFileTime(&fad.ftLastWriteTime, &written_) != 0 || size != size_;
        if (!changed) {
            // a time this close to now may not have moved on the last rewrite
            FILETIME now;
            GetSystemTimeAsFileTime(&now);
            ULARGE_INTEGER n, w;
            n.LowPart = now.dwLowDateTime;
            n.HighPart = now.dwHighDateTime;
            w.LowPart = fad.ftLastWriteTime.dwLowDateTime;
            w.HighPart = fad.ftLastWriteTime.dwHighDateTime;
            if (n.QuadPart < w.QuadPart + 3ull * 10000000ull) changed = ReadWhole(path) != content_;
        }
    }
    if (!changed) return false;
    known_ = true;
    path_ = path;
    exists_ = exists;
    if (exists) written_ = fad.ftLastWriteTime;
    size_ = size;
    content_ = exists ? ReadWhole(path) : std::string();
    return true;
}

}  // namespace vyxsim
