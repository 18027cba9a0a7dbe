// The stand-in driver library, loaded as the program loads it: what the
// program's own tests rely on it to do.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/Uvyxwlapi.h"

namespace {

std::string ExeDir() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string path(buf, n);
    return path.substr(0, path.find_last_of("\\/"));
}

template <class F>
F Bind(HMODULE lib, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const char kHwid[] = "USB\\VID_0001&PID_0002";

// Office: WPA-PSK with AES; Lobby: open, on 5 GHz.
const char kBaseScenario[] =
    "[Adapter]\r\n"
    "HWID1=USB\\VID_0001&PID_0002\r\n"
    "Name1=Test Adapter\r\n"
    "MAC=02:11:22:33:44:55\r\n"
    "[Network1]\r\n"
    "SSID=Office\r\n"
    "MAC=00:A0:C5:11:22:33\r\n"
    "Frequency=2437000\r\n"
    "RSSI=-55\r\n"
    "Privacy=23\r\n"
    "Band=3\r\n"
    "Key=office-secret\r\n"
    "[Network2]\r\n"
    "SSID=Lobby\r\n"
    "MAC=00:A0:C5:44:55:66\r\n"
    "Frequency=5180000\r\n"
    "RSSI=-70\r\n"
    "Privacy=0\r\n"
    "Band=2\r\n";

class VyxwlStandin : public ::testing::Test {
protected:
    void SetUp() override {
        scenario_ = dir_.File("VYXWL.scn");
        WriteScenario(kBaseScenario);
        SetEnvironmentVariableA("VYXWL_SCENARIO", scenario_.c_str());
        root_ = "VyxwlStandinTest" + std::to_string(GetCurrentProcessId());
        // a fresh load per test, so no state of one test reaches the next
        lib_ = LoadLibraryA((ExeDir() + "\\VYXWL.DLL").c_str());
        ASSERT_NE(lib_, nullptr);
        devDetect = Bind<vyxwl::DevDetect>(lib_, "VYXWL_DevDetect");
        queryOID = Bind<vyxwl::QueryOID>(lib_, "VYXWL_QueryOID");
        surveyGet = Bind<vyxwl::SiteSurveyGet>(lib_, "VYXWL_SiteSurveyGet");
        freqToChannel = Bind<vyxwl::FrequencyToChannel>(lib_, "VYXWL_FrequencyToChannel");
        getStatus = Bind<vyxwl::GetWLANStatus>(lib_, "VYXWL_GetWLANStatus");
        setStatus = Bind<vyxwl::SetWLANStatus>(lib_, "VYXWL_SetWLANStatus");
        toStatus = Bind<vyxwl::WLProfileToWLStatus>(lib_, "VYXWL_WLProfileToWLStatus");
        setDir = Bind<vyxwl::SetWLProfileDir>(lib_, "VYXWL_SetWLProfileDir");
        getProfile = Bind<vyxwl::GetWLProfile>(lib_, "VYXWL_GetWLProfile");
        setProfile = Bind<vyxwl::SetWLProfile>(lib_, "VYXWL_SetWLProfile");
        enumProfiles = Bind<vyxwl::EnumWLProfiles>(lib_, "VYXWL_EnumWLProfiles");
        deleteProfile = Bind<vyxwl::DeleteWLProfile>(lib_, "VYXWL_DeleteWLProfile");
        exportProfile = Bind<vyxwl::RegExportProfile>(lib_, "VYXWL_RegExportProfile");
        importProfile = Bind<vyxwl::RegImportProfile>(lib_, "VYXWL_RegImportProfile");
        strToIP = Bind<vyxwl::StrToIPData>(lib_, "VYXWL_StrToIPData");
        ipToStr = Bind<vyxwl::IPDataToStr>(lib_, "VYXWL_IPDataToStr");
        wepKey = Bind<vyxwl::PassphraseToWEPKey>(lib_, "VYXWL_PassphraseToWEPKey");
        allowedChannel = Bind<vyxwl::GetAllowedChannel>(lib_, "VYXWL_GetAllowedChannel");
        usbType = Bind<vyxwl::GetUSBType>(lib_, "VYXWL_GetUSBType");
        surveyScan = Bind<vyxwl::SiteSurveyScan>(lib_, "VYXWL_SiteSurveyScan");
        getNetInfo = Bind<vyxwl::GetNetworkInfo>(lib_, "VYXWL_GetNetworkInfo");
        setNetInfo = Bind<vyxwl::SetNetworkInfo>(lib_, "VYXWL_SetNetworkInfo");
        getWzc = Bind<vyxwl::Get_WZCService>(lib_, "VYXWL_Get_WZCService");
        setWzc = Bind<vyxwl::Set_WZCService>(lib_, "VYXWL_Set_WZCService");
        enumCerts = Bind<vyxwl::EnumCertificates>(lib_, "VYXWL_EnumCertificates");
    }

    void TearDown() override {
        if (lib_) FreeLibrary(lib_);
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
        std::string base = "SoftWare\\" + root_;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\WLProfile").c_str(), 0, KEY_ALL_ACCESS,
                          &key) == ERROR_SUCCESS) {
            char name[256];
            DWORD len = sizeof(name);
            while (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) ==
                   ERROR_SUCCESS) {
                RegDeleteKeyA(key, name);
                len = sizeof(name);
            }
            RegCloseKey(key);
            RegDeleteKeyA(HKEY_CURRENT_USER, (base + "\\WLProfile").c_str());
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
    }

    void WriteScenario(const std::string& text) { TempDir::WriteFile(scenario_, text); }

    int32_t Detect(const char* hwid, std::string* name = nullptr) {
        DeviceEntry entry;
        SetTextField(entry.HardwareId, hwid);
        int32_t answer = devDetect(&entry);
        if (name) *name = TextField(entry.DeviceName);
        return answer;
    }

    uint32_t MediaState() {
        uint32_t state = 99, written = 0;
        EXPECT_EQ(queryOID(OID_GEN_MEDIA_CONNECT_STATUS, &state, 4, &written), 0);
        EXPECT_EQ(written, 4u);
        return state;
    }

    int32_t Apply(const WLProfile& profile) {
        WLProfile copy = profile;
        WLStatus status;
        toStatus(&copy, &status);
        int32_t flag = 0;
        return setStatus(&flag, &status);
    }

    static WLProfile Profile(const char* name, const char* ssid, int32_t security) {
        WLProfile p;
        SetTextField(p.ProfileName, name);
        SetTextField(p.Ssid1, ssid);
        p.NetworkMode = 1;
        p.EncryptionMethod = security;
        p.WPAEncryptionType = 1;
        p.AuthenticationMode = 2;
        return p;
    }

    std::vector<std::string> EnumNames() {
        std::vector<std::string> names;
        char buf[264];
        for (int32_t i = 0; enumProfiles(i, buf) == 1; ++i) names.push_back(buf);
        return names;
    }

    TempDir dir_;
    std::string scenario_;
    std::string root_;
    HMODULE lib_ = nullptr;

    vyxwl::DevDetect devDetect = nullptr;
    vyxwl::QueryOID queryOID = nullptr;
    vyxwl::SiteSurveyGet surveyGet = nullptr;
    vyxwl::FrequencyToChannel freqToChannel = nullptr;
    vyxwl::GetWLANStatus getStatus = nullptr;
    vyxwl::SetWLANStatus setStatus = nullptr;
    vyxwl::WLProfileToWLStatus toStatus = nullptr;
    vyxwl::SetWLProfileDir setDir = nullptr;
    vyxwl::GetWLProfile getProfile = nullptr;
    vyxwl::SetWLProfile setProfile = nullptr;
    vyxwl::EnumWLProfiles enumProfiles = nullptr;
    vyxwl::DeleteWLProfile deleteProfile = nullptr;
    vyxwl::RegExportProfile exportProfile = nullptr;
    vyxwl::RegImportProfile importProfile = nullptr;
    vyxwl::StrToIPData strToIP = nullptr;
    vyxwl::IPDataToStr ipToStr = nullptr;
    vyxwl::PassphraseToWEPKey wepKey = nullptr;
    vyxwl::GetAllowedChannel allowedChannel = nullptr;
    vyxwl::GetUSBType usbType = nullptr;
    vyxwl::SiteSurveyScan surveyScan = nullptr;
    vyxwl::GetNetworkInfo getNetInfo = nullptr;
    vyxwl::SetNetworkInfo setNetInfo = nullptr;
    vyxwl::Get_WZCService getWzc = nullptr;
    vyxwl::Set_WZCService setWzc = nullptr;
    vyxwl::EnumCertificates enumCerts = nullptr;
};

TEST_F(VyxwlStandin, ExportsEveryEntryPointAndTheVariantLacksOnlyOne) {
    for (const char* name : kVyxwlEntryNames)
        EXPECT_NE(GetProcAddress(lib_, name), nullptr) << name;
    FreeLibrary(lib_);
    lib_ = LoadLibraryA((ExeDir() + "\\missing-entry\\VYXWL.DLL").c_str());
    ASSERT_NE(lib_, nullptr);
    std::vector<std::string> missing;
    for (const char* name : kVyxwlEntryNames)
        if (!GetProcAddress(lib_, name)) missing.push_back(name);
    EXPECT_EQ(missing, std::vector<std::string>{"VYXWL_SetAPFilterList"});
}

TEST_F(VyxwlStandin, ScenarioIsReadAgainWhenItChanges) {
    std::string name;
    EXPECT_EQ(Detect(kHwid, &name), 1);
    EXPECT_EQ(name, "Test Adapter");
    EXPECT_EQ(Detect("USB\\VID_0001&PID_0003"), 0);

    // unplugged by a rewrite of the same length within the same clock tick:
    // only the content tells
    WIN32_FILE_ATTRIBUTE_DATA before;
    ASSERT_TRUE(GetFileAttributesExA(scenario_.c_str(), GetFileExInfoStandard, &before));
    std::string unplugged = kBaseScenario;
    unplugged.replace(unplugged.find("HWID1"), 5, "XWID1");
    WriteScenario(unplugged);
    HANDLE h = CreateFileA(scenario_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, nullptr, nullptr, &before.ftLastWriteTime);
    CloseHandle(h);
    EXPECT_EQ(Detect(kHwid), 0);
    uint32_t state, written;
    EXPECT_NE(queryOID(OID_GEN_MEDIA_CONNECT_STATUS, &state, 4, &written), 0);

    WriteScenario(kBaseScenario);
    EXPECT_EQ(Detect(kHwid), 1);

    // another scenario named by the environment
    std::string other = dir_.File("other.scn");
    TempDir::WriteFile(other, "[Adapter]\r\nHWID1=PCI\\VEN_9999\r\nName1=Other\r\n");
    SetEnvironmentVariableA("VYXWL_SCENARIO", other.c_str());
    EXPECT_EQ(Detect(kHwid), 0);
    EXPECT_EQ(Detect("pci\\ven_9999", &name), 1);
    EXPECT_EQ(name, "Other");
}

TEST_F(VyxwlStandin, InfrastructureProfileConnectsOnlyWithTheRightKey) {
    EXPECT_EQ(MediaState(), 1u);
    WLProfile office = Profile("Office", "Office", 2);
    office.WPAEncryptionType = 2;
    SetTextField(office.WPAPassphrase, "wrong");
    EXPECT_EQ(Apply(office), 1);  // applied, but nothing to join
    EXPECT_EQ(MediaState(), 1u);
    int32_t more = 0;
    WLStatus status;
    EXPECT_NE(getStatus(&more, &status), 1);

    SetTextField(office.WPAPassphrase, "office-secret");
    office.WPAEncryptionType = 1;  // right key, wrong cipher
    EXPECT_EQ(Apply(office), 1);
    EXPECT_EQ(MediaState(), 1u);

    office.WPAEncryptionType = 2;
    EXPECT_EQ(Apply(office), 1);
    EXPECT_EQ(MediaState(), 0u);
    ASSERT_EQ(getStatus(&more, &status), 1);
    EXPECT_EQ(more, 0);
    const uint8_t bssid[6] = {0x00, 0xA0, 0xC5, 0x11, 0x22, 0x33};
    EXPECT_EQ(std::memcmp(status.Bssid, bssid, 6), 0);
    EXPECT_EQ(SsidText(status.Ssid, status.SsidLength), "Office");
    EXPECT_EQ(status.SignalDbm, -55);
    EXPECT_EQ(status.LinkMode, 1);
    EXPECT_EQ(status.FrequencyKHz, 2437000u);
    EXPECT_EQ(status.SecurityCode, 2);
    EXPECT_EQ(status.WpaCipher, 2);
    EXPECT_EQ(status.MediaConnect, 0);
    EXPECT_GT(status.LinkTxRate, 0);

    uint8_t mac[6] = {};
    uint32_t written = 0;
    EXPECT_EQ(queryOID(OID_802_3_CURRENT_ADDRESS, mac, 6, &written), 0);
    const uint8_t own[6] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    EXPECT_EQ(std::memcmp(mac, own, 6), 0);

    // the network moves out of range
    std::string gone = kBaseScenario;
    gone.replace(gone.find("SSID=Office"), 11, "SSID=Elsewh");
    WriteScenario(gone);
    EXPECT_EQ(MediaState(), 1u);
}

TEST_F(VyxwlStandin, AdHocProfileAlwaysConnectsAndUnplugDisconnects) {
    WLProfile party = Profile("Party", "Party", 0);
    party.NetworkMode = 0;
    party.Channel = 11;
    party.AdHocBand = 3;
    EXPECT_EQ(Apply(party), 1);
    EXPECT_EQ(MediaState(), 0u);
    int32_t more = 0;
    WLStatus status;
    ASSERT_EQ(getStatus(&more, &status), 1);
    EXPECT_NE(status.LinkMode, 1);
    EXPECT_EQ(status.FrequencyKHz, 2462000u);
    EXPECT_EQ(SsidText(status.Ssid, status.SsidLength), "Party");

    std::string unplugged = kBaseScenario;
    unplugged.replace(unplugged.find("HWID1"), 5, "XWID1");
    WriteScenario(unplugged);
    EXPECT_EQ(Detect(kHwid), 0);
    WriteScenario(kBaseScenario);
    EXPECT_EQ(MediaState(), 1u);  // plugged in again, not associated
}

TEST_F(VyxwlStandin, CountersGrowWhileConnectedAndMoreToComeAsksOnce) {
    std::string scenario = kBaseScenario;
    scenario.insert(scenario.find("HWID1"), "MoreToCome=1\r\n");
    WriteScenario(scenario);
    ASSERT_EQ(Apply(Profile("Lobby", "Lobby", 0)), 1);
    ASSERT_EQ(MediaState(), 0u);

    int32_t more = 0;
    WLStatus first, later;
    ASSERT_EQ(getStatus(&more, &first), 1);
    EXPECT_EQ(more, 1);
    ASSERT_EQ(getStatus(&more, &first), 1);
    EXPECT_EQ(more, 0);
    EXPECT_EQ(first.FrequencyKHz, 5180000u);

    DWORD deadline = GetTickCount() + 3000;
    do {
        Sleep(20);
        ASSERT_EQ(getStatus(&more, &later), 1);
    } while (later.RxPackets == first.RxPackets && GetTickCount() < deadline);
    EXPECT_GT(later.RxPackets, first.RxPackets);
    EXPECT_GT(later.RxBytes, first.RxBytes);
    EXPECT_GE(later.TxPackets, first.TxPackets);
}

TEST_F(VyxwlStandin, IPSettingsServiceStateAndCertificates) {
    WriteScenario(std::string(kBaseScenario) +
                  "[DHCP]\r\nAddress=10.1.2.3\r\nMask=255.0.0.0\r\n"
                  "[Certificates]\r\nClient1=Alice|Root CA\r\nAuthority1=Root CA|Root CA\r\n"
                  "Authority2=Other CA\r\n");
    NetworkInfo info;
    ASSERT_EQ(getNetInfo(&info), 1);
    EXPECT_EQ(info.NI_wNetFlags & 1, 0);
    EXPECT_EQ(info.NI_IpAddr[0], 0);  // no lease without a link
    ASSERT_EQ(Apply(Profile("Lobby", "Lobby", 0)), 1);
    ASSERT_EQ(getNetInfo(&info), 1);
    const uint8_t leased[4] = {10, 1, 2, 3}, mask[4] = {255, 0, 0, 0};
    EXPECT_EQ(std::memcmp(info.NI_IpAddr, leased, 4), 0);
    EXPECT_EQ(std::memcmp(info.NI_IpMask, mask, 4), 0);

    NetworkInfo fixed;
    fixed.NI_wNetFlags = 7;
    const uint8_t address[4] = {172, 16, 0, 5};
    std::memcpy(fixed.NI_IpAddr, address, 4);
    EXPECT_EQ(setNetInfo(&fixed), 1);
    ASSERT_EQ(getNetInfo(&info), 1);
    EXPECT_EQ(info.NI_wNetFlags, 7);
    EXPECT_EQ(std::memcmp(info.NI_IpAddr, address, 4), 0);

    EXPECT_EQ(getWzc(), 4);
    setWzc(0);
    EXPECT_EQ(getWzc(), 1);
    setWzc(1);
    EXPECT_EQ(getWzc(), 4);

    CertificateEntry* certs = nullptr;
    ASSERT_EQ(enumCerts(&certs, 1), 1);
    EXPECT_EQ(TextField(certs[0].Name), "Alice");
    EXPECT_EQ(TextField(certs[0].Issuer), "Root CA");
    ASSERT_EQ(enumCerts(&certs, 3), 2);
    EXPECT_EQ(TextField(certs[1].Name), "Other CA");
    EXPECT_EQ(TextField(certs[1].Issuer), "");
    EXPECT_EQ(enumCerts(&certs, 2), 0);
}

TEST_F(VyxwlStandin, ProfileStoreKeepsRecordsUnderTheRootAndEnumeratesThem) {
    WLProfile rec = Profile("Home", "HomeNet", 1);
    EXPECT_EQ(getProfile("Home", &rec), 0);  // no root yet
    ASSERT_EQ(setDir(root_.c_str()), 1);
    EXPECT_EQ(EnumNames().size(), 0u);

    SetTextField(rec.WEPKey1, "0123456789");
    rec.NetworkInfo.NI_IpAddr[0] = 10;
    setProfile("Home", &rec);
    WLProfile office = Profile("Office", "Office", 2);
    setProfile("Office", &office);
    WLProfile editing = Profile("(EditingProfile)", "", 0);
    setProfile("(EditingProfile)", &editing);

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ("SoftWare\\" + root_ + "\\WLProfile\\Home").c_str(),
                            0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);

    std::vector<std::string> names = EnumNames();
    EXPECT_EQ(names, EnumNames());  // a stable order
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"(EditingProfile)", "Home", "Office"}));

    WLProfile back = Profile("x", "y", 0);
    ASSERT_EQ(getProfile("Home", &back), 1);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof(rec)), 0);

    deleteProfile("Home");
    WLProfile untouched = Profile("keep", "keep", 0), probe = untouched;
    EXPECT_EQ(getProfile("Home", &probe), 0);
    EXPECT_EQ(std::memcmp(&probe, &untouched, sizeof(probe)), 0);
    EXPECT_EQ(EnumNames().size(), 2u);
}

TEST_F(VyxwlStandin, ExportedFileImportsBackToTheSameRecord) {
    ASSERT_EQ(setDir(root_.c_str()), 1);
    WLProfile rec = Profile("Office", " spaced SSID ", 7);
    rec.FuncMode = -5;
    for (int i = 0; i < 16; ++i) rec.APMacFilter[i][5] = static_cast<uint8_t>(i + 1);
    rec.APMacFilter[3][0] = 0xAB;
    rec.TxRate = 15;
    rec.ABGMode = 34;
    SetTextField(rec.Ssid3, "'quoted'");
    SetTextField(rec.PassPhrase, "pass phrase");
    SetTextField(rec.WEPKey4, "ABCDEF0123");
    rec.WPAEncryptionType = 2;
    SetTextField(rec.WPAPassphrase, "\"x\" = ;y");
    SetTextField(rec.LoginName, "user");
    SetTextField(rec.sCertAuthority_Issuer, "Root CA");
    rec.PeapEap = 2;
    rec.ApplyNetwork = 1;
    SetTextField(rec.NetworkInfo.NI_sz_CurProfile, "Office");
    rec.NetworkInfo.NI_wNetFlags = 7;
    rec.NetworkInfo.NI_VCI = 200;
    const uint8_t ip[4] = {192, 168, 0, 9};
    std::memcpy(rec.NetworkInfo.NI_IpDNS2, ip, 4);
    SetTextField(rec.NetworkInfo.NI_strLoginDom, "DOM");
    setProfile("Office", &rec);

    std::string file = dir_.File("office.qjw");
    EXPECT_EQ(exportProfile(file.c_str(), "Office"), 1);
    // the way the program finds the name in a profile file
    int count = GetPrivateProfileIntA("WLANProfile", "Count", 0, file.c_str());
    std::string found;
    for (int i = 1; i <= count && found.empty(); ++i) {
        char name[64], data[300];
        GetPrivateProfileStringA("WLANProfile", ("ItemName" + std::to_string(i)).c_str(), "", name,
                                 sizeof(name), file.c_str());
        if (std::string(name) != "ProfileName") continue;
        GetPrivateProfileStringA("WLANProfile", ("ItemData" + std::to_string(i)).c_str(), "", data,
                                 sizeof(data), file.c_str());
        found = data;
    }
    EXPECT_EQ(found, "Office");

    deleteProfile("Office");
    ASSERT_EQ(importProfile(file.c_str(), ""), 1);
    WLProfile back;
    ASSERT_EQ(getProfile("Office", &back), 1);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof(rec)), 0);

    // a name given by the caller wins over the file's
    ASSERT_EQ(importProfile(file.c_str(), "Copy"), 1);
    ASSERT_EQ(getProfile("Copy", &back), 1);
    EXPECT_EQ(TextField(back.ProfileName), "Copy");
    EXPECT_EQ(TextField(back.NetworkInfo.NI_sz_CurProfile), "Copy");
    EXPECT_EQ(TextField(back.Ssid1), " spaced SSID ");

    std::string none = dir_.File("none.qjw");
    EXPECT_EQ(exportProfile(none.c_str(), "Nobody"), 0);
    EXPECT_FALSE(TempDir::Exists(none));
}

TEST_F(VyxwlStandin, PureConversions) {
    const struct {
        uint32_t khz;
        int32_t channel;
    } table[] = {{2412000, 1}, {2437000, 6}, {2472000, 13}, {2484000, 14},
                 {2477000, 0}, {2413000, 0}, {5180000, 36}, {5825000, 165},
                 {5000000, 0}, {2437, 0},    {0, 0},        {5182000, 0}};
    for (const auto& row : table) EXPECT_EQ(freqToChannel(row.khz), row.channel) << row.khz;

    const struct {
        int32_t code;
        size_t length;
    } sizes[] = {{1, 10}, {2, 26}, {3, 32}};
    for (const auto& row : sizes) {
        WEPKeyOutput out, again;
        ASSERT_EQ(wepKey("secret", row.code, &out), 1);
        wepKey("secret", row.code, &again);
        for (int k = 0; k < 4; ++k) {
            std::string key = TextField(out.Key[k]);
            EXPECT_EQ(key.size(), row.length) << row.code;
            EXPECT_EQ(key.find_first_not_of("0123456789ABCDEF"), std::string::npos) << key;
            EXPECT_EQ(key, TextField(again.Key[k]));
        }
        EXPECT_NE(TextField(out.Key[0]), TextField(out.Key[1]));
    }
    WEPKeyOutput a, b;
    wepKey("secret", 1, &a);
    wepKey("secreT", 1, &b);
    EXPECT_NE(TextField(a.Key[0]), TextField(b.Key[0]));
    EXPECT_EQ(wepKey("", 1, &a), 0);
    EXPECT_EQ(wepKey("secret", 0, &a), 0);
    EXPECT_EQ(wepKey("secret", 4, &a), 0);

    uint8_t addr[4] = {9, 9, 9, 9};
    strToIP("192.168.1.20", addr);
    const uint8_t expected[4] = {192, 168, 1, 20};
    EXPECT_EQ(std::memcmp(addr, expected, 4), 0);
    char text[260] = {};
    ipToStr(addr, text);
    EXPECT_STREQ(text, "192.168.1.20");
    for (const char* bad : {"", "1.2.3", "256.1.1.1", "1.2.3.4.5", "a.b.c.d"}) {
        std::memset(addr, 9, 4);
        strToIP(bad, addr);
        EXPECT_EQ(addr[0] | addr[1] | addr[2] | addr[3], 0) << bad;
    }
    ipToStr(addr, text);
    EXPECT_STREQ(text, "");  // no text for the zero address
}

TEST_F(VyxwlStandin, SurveyAndChannelsCanOverstepWhatCallersRead) {
    SiteSurveyBuffer buffer;
    uint32_t size = sizeof(buffer);
    ASSERT_EQ(surveyGet(&buffer, &size), 1);
    ASSERT_EQ(buffer.Count, 2u);
    const SiteSurveyEntry& office = buffer.Entries[0];
    EXPECT_EQ(SsidText(office.Ssid.Ssid, office.Ssid.SsidLength), "Office");
    EXPECT_EQ(office.MacAddress[5], 0x33);
    EXPECT_EQ(office.Privacy, 23);
    EXPECT_EQ(office.Rssi, -55);
    EXPECT_EQ(office.NetworkTypeInUse, 3);
    EXPECT_EQ(office.Configuration.DSConfig, 2437000u);
    EXPECT_EQ(office.InfrastructureMode, 1);

    WriteScenario(std::string(kBaseScenario) +
                  "[Survey]\r\nJunk=1\r\nCount=300\r\n"
                  "[Channels.FCC]\r\nBand1=1-300\r\nBand2=36-48/4\r\n");
    SiteSurveyBuffer junk;
    size = sizeof(junk);
    ASSERT_EQ(surveyGet(&junk, &size), 1);
    EXPECT_EQ(junk.Count, 300u);
    const uint8_t zero[6] = {};
    EXPECT_EQ(std::memcmp(junk.Entries[2].MacAddress, zero, 6), 0);
    EXPECT_EQ(junk.Entries[3].Ssid.SsidLength, 0u);
    EXPECT_GT(junk.Entries[4].Ssid.SsidLength, 32u);

    std::vector<int32_t> channels(300, -1);
    EXPECT_EQ(allowedChannel(channels.data(), 1, "FCC"), 300);
    EXPECT_EQ(channels[259], 260);
    EXPECT_EQ(channels[260], -1);  // never beyond the 260 the callers hold
    EXPECT_EQ(allowedChannel(channels.data(), 2, "FCC"), 4);
    EXPECT_EQ(channels[3], 48);
}

TEST_F(VyxwlStandin, TraceHasOneWholeLinePerCallAndForcedAnswersShow) {
    std::string trace = dir_.File("calls.trace");
    WriteScenario(std::string(kBaseScenario) + "[Trace]\r\nFile=" + trace +
                  "\r\n[Fail]\r\nVYXWL_GetUSBType=7\r\n[Delay]\r\nVYXWL_SiteSurveyScan=150\r\n");
    EXPECT_EQ(Detect(kHwid), 1);
    EXPECT_EQ(usbType(), 7);
    DWORD start = GetTickCount();
    surveyScan();
    EXPECT_GE(GetTickCount() - start, 140u);

    std::vector<std::string> lines = Lines(TempDir::ReadFile(trace));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(
        EndsWith(lines[0], " VYXWL_DevDetect(\"USB\\VID_0001&PID_0002\") -> 1 \"Test Adapter\""))
        << lines[0];
    EXPECT_TRUE(EndsWith(lines[1], " VYXWL_GetUSBType() -> 7 (forced)")) << lines[1];
    EXPECT_TRUE(EndsWith(lines[2], " VYXWL_SiteSurveyScan() -> 1")) << lines[2];
    std::string pid = " " + std::to_string(GetCurrentProcessId()) + " ";
    EXPECT_NE(lines[0].find(pid), std::string::npos) << lines[0];

    // calls from several threads: every line whole
    struct Worker {
        static DWORD WINAPI Run(LPVOID arg) {
            auto f = reinterpret_cast<vyxwl::FrequencyToChannel>(arg);
            for (int i = 0; i < 50; ++i) f(2412000);
            return 0;
        }
    };
    HANDLE threads[4];
    for (HANDLE& t : threads)
        t = CreateThread(nullptr, 0, Worker::Run, reinterpret_cast<void*>(freqToChannel), 0,
                         nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE t : threads) CloseHandle(t);
    lines = Lines(TempDir::ReadFile(trace));
    ASSERT_EQ(lines.size(), 203u);
    for (size_t i = 3; i < lines.size(); ++i)
        ASSERT_TRUE(EndsWith(lines[i], " VYXWL_FrequencyToChannel(2412000) -> 1")) << lines[i];
}

}  // namespace

namespace {

TEST_F(VyxwlStandin, StoreSectionFillsEmptySlotsWithProfilesThatJoinTheirNetwork) {
    WriteScenario(std::string(kBaseScenario) +
                  "[Store]\r\nProfile1=Default|Office\r\nProfile2=Kept|Lobby\r\n"
                  "Profile3=Nowhere|Missing\r\n");
    WLProfile kept{};
    SetTextField(kept.ProfileName, "Kept");
    SetTextField(kept.Ssid1, "mine");
    ASSERT_EQ(setDir(root_.c_str()), 1);
    ASSERT_EQ(setProfile("Kept", &kept), 1);
    // a later start finds the stored profile and leaves it alone
    ASSERT_EQ(setDir(root_.c_str()), 1);

    WLProfile office{};
    ASSERT_EQ(getProfile("Default", &office), 1);
    EXPECT_STREQ(office.ProfileName, "Default");
    EXPECT_STREQ(office.Ssid1, "Office");
    EXPECT_EQ(office.EncryptionMethod, 2);
    EXPECT_EQ(office.WPAEncryptionType, 2);
    EXPECT_STREQ(office.WPAPassphrase, "office-secret");
    WLProfile again{};
    ASSERT_EQ(getProfile("Kept", &again), 1);
    EXPECT_STREQ(again.Ssid1, "mine");
    WLProfile none{};
    EXPECT_EQ(getProfile("Nowhere", &none), 0) << "no network of that name";

    // the seeded profile connects
    WLStatus status{};
    toStatus(&office, &status);
    int32_t flag = 0;
    ASSERT_EQ(setStatus(&flag, &status), 1);
    EXPECT_EQ(MediaState(), 0u);
}

}  // namespace
