// The adapter worker's profile store, site survey, channels and certificates.
#include <algorithm>
#include <cstring>

#include "test_adapter_fixture.h"

namespace adaptertest {
namespace {

std::vector<std::string> ProfileNames(const std::vector<WLProfile>& profiles) {
    std::vector<std::string> names;
    for (const WLProfile& p : profiles) names.push_back(TextField(p.ProfileName));
    return names;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Network(int n, const std::string& ssid, const std::string& mac) {
    return "[Network" + std::to_string(n) + "]\r\nSSID=" + ssid + "\r\nMAC=" + mac + "\r\n";
}

TEST_F(AdapterTest, EverythingRefusedWithoutAnOpenAdapter) {
    TempDir::WriteFile(dir_.File("in.qjw"), "[WLANProfile]\r\nCount=0\r\n");
    Create();
    auto refusedAll = [&] {
        std::vector<SiteSurveyEntry> survey;
        std::vector<WLProfile> profiles;
        std::vector<CertificateEntry> certificates;
        int32_t channels[16];
        int32_t size = sizeof(channels);
        WLProfile profile = OpenProfile("Lobby");
        AnsiString name;
        EXPECT_FALSE(adapter_->StartSiteSurvey());
        EXPECT_FALSE(adapter_->GetSiteSurvey(survey));
        EXPECT_FALSE(adapter_->ReloadProfiles());
        EXPECT_FALSE(adapter_->GetProfiles(profiles));
        EXPECT_FALSE(adapter_->AddProfile(profile));
        EXPECT_FALSE(adapter_->ReplaceProfile("Lobby", profile));
        EXPECT_FALSE(adapter_->DeleteProfile("Lobby"));
        EXPECT_FALSE(adapter_->ImportProfile(dir_.File("in.qjw"), "Lobby", &profile));
        EXPECT_FALSE(adapter_->ExportProfile(dir_.File("out.qjw"), "Lobby"));
        EXPECT_FALSE(adapter_->GetAllowedChannels(1, channels, size));
        EXPECT_FALSE(adapter_->GetCertificates(certificates, 1));
        EXPECT_FALSE(adapter_->GetAppliedProfile(&profile));
        EXPECT_FALSE(adapter_->GetLastAppliedName(name));
        EXPECT_FALSE(adapter_->ApplyProfileByName("Lobby"));
        EXPECT_FALSE(adapter_->ApplyProfile(profile));
        EXPECT_FALSE(adapter_->RequestZeroConfig(true));
        adapter_->RenewIPAddress();
        EXPECT_TRUE(survey.empty() && profiles.empty() && certificates.empty());
    };
    size_t mark = TraceMark();
    refusedAll();
    EXPECT_TRUE(TraceSince(mark).empty());

    StoreInLibrary(OpenProfile("Lobby"));
    Open();
    adapter_->CloseDevice();
    mark = TraceMark();
    refusedAll();
    EXPECT_TRUE(TraceSince(mark).empty());
    EXPECT_FALSE(TempDir::Exists(dir_.File("out.qjw")));
}

TEST_F(AdapterTest, ProfileListFollowsTheStore) {
    StoreInLibrary(OpenProfile("(EditingProfile)"));
    StoreInLibrary(OpenProfile("Home", "home-net"));
    StoreInLibrary(OpenProfile("Office", "corp"));
    Create();
    Open();
    std::vector<std::string> stored = LibraryProfileNames();
    std::vector<std::string> expected;
    for (const std::string& n : stored)
        if (n != "(EditingProfile)") expected.push_back(n);
    ASSERT_EQ(expected.size(), 2u);

    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), expected) << "in the store's order, without the editing one";
    for (const WLProfile& p : profiles) EXPECT_STREQ(p.NetworkInfo.NI_sz_CurProfile, p.ProfileName);
    // the caller's list is appended to
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(profiles.size(), 4u);

    // a cached name is replaced where it stands; a new one goes to the end
    ASSERT_TRUE(adapter_->AddProfile(OpenProfile("Office", "corp-5g")));
    ASSERT_TRUE(adapter_->AddProfile(OpenProfile("Cafe", "cafe")));
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    std::vector<std::string> names = expected;
    names.push_back("Cafe");
    EXPECT_EQ(ProfileNames(profiles), names);
    for (const WLProfile& p : profiles) {
        if (TextField(p.ProfileName) == "Office") {
            EXPECT_STREQ(p.Ssid1, "corp-5g");
        }
    }

    // renamed in place, and in the store
    ASSERT_TRUE(adapter_->ReplaceProfile("Office", OpenProfile("Work", "corp-5g")));
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    for (std::string& n : names)
        if (n == "Office") n = "Work";
    EXPECT_EQ(ProfileNames(profiles), names);
    stored = LibraryProfileNames();
    EXPECT_EQ(std::count(stored.begin(), stored.end(), "Office"), 0);
    EXPECT_EQ(std::count(stored.begin(), stored.end(), "Work"), 1);

    // names that are not cached: nothing reaches the store
    size_t mark = TraceMark();
    EXPECT_FALSE(adapter_->ReplaceProfile("Office", OpenProfile("Again")));
    EXPECT_FALSE(adapter_->DeleteProfile("office"));
    std::vector<TraceCall> calls = TraceSince(mark);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SetWLProfile") + CountCalls(calls, "VYXWL_DeleteWLProfile"),
              0u);

    ASSERT_TRUE(adapter_->DeleteProfile("Home"));
    EXPECT_FALSE(adapter_->DeleteProfile("Home"));
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Work", "Cafe"}));
    stored = LibraryProfileNames();
    EXPECT_EQ(std::count(stored.begin(), stored.end(), "Home"), 0);

    // renamed onto another cached profile: that one is replaced, in the copy as in the store
    ASSERT_TRUE(adapter_->ReplaceProfile("Cafe", OpenProfile("Work", "cafe")));
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    ASSERT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Work"}));
    EXPECT_STREQ(profiles[0].Ssid1, "cafe");
    EXPECT_EQ(LibraryProfileNames(), (std::vector<std::string>{"(EditingProfile)", "Work"}));

    AnsiString last = "unset";
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "");
}

TEST_F(AdapterTest, ExportAndImportThroughTheLibrary) {
    StoreInLibrary(OpenProfile("Office", "corp"));
    Create();
    Open();
    std::string file = dir_.File("office.qjw");
    EXPECT_FALSE(adapter_->ExportProfile(dir_.File("ghost.qjw"), "Ghost"));
    EXPECT_FALSE(TempDir::Exists(dir_.File("ghost.qjw")));
    ASSERT_TRUE(adapter_->ExportProfile(file, "Office"));
    EXPECT_NE(TempDir::ReadFile(file).find("[WLANProfile]"), std::string::npos);

    WLProfile imported;
    ASSERT_TRUE(adapter_->ImportProfile(file, "Copy", &imported));
    EXPECT_STREQ(imported.ProfileName, "Copy");
    EXPECT_STREQ(imported.Ssid1, "corp");
    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Office", "Copy"}));

    // a file that cannot be read back changes nothing
    EXPECT_FALSE(adapter_->ImportProfile(dir_.File("missing.qjw"), "Missing", &imported));
    EXPECT_STREQ(imported.ProfileName, "Copy");
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(profiles.size(), 2u);
}

TEST_F(AdapterTest, ImportTheLibraryRefusesAnswersFalseThoughTheNameIsStored) {
    StoreInLibrary(OpenProfile("Office", "corp"));
    Create();
    Open();
    std::string file = dir_.File("office.qjw");
    ASSERT_TRUE(adapter_->ExportProfile(file, "Office"));
    WriteScenario("", std::string(kLobbyNetwork) + "[Fail]\r\nVYXWL_RegImportProfile=0\r\n");

    // the old profile of the name is still stored and reads back: not an import
    WLProfile imported = OpenProfile("untouched");
    size_t mark = TraceMark();
    EXPECT_FALSE(adapter_->ImportProfile(file, "Office", &imported));
    EXPECT_FALSE(adapter_->ImportProfile(file, "New", &imported));
    EXPECT_STREQ(imported.ProfileName, "untouched");
    std::vector<TraceCall> calls = TraceSince(mark);
    EXPECT_EQ(CountCalls(calls, "VYXWL_RegImportProfile"), 2u);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SetWLProfile") + CountCalls(calls, "VYXWL_DeleteWLProfile"),
              0u);
    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Office"}));
    EXPECT_EQ(LibraryProfileNames(), (std::vector<std::string>{"Office"}));

    // taken again: the import replaces the cached profile where it stands
    WriteScenario();
    StoreInLibrary(OpenProfile("Cafe", "cafe"));
    ASSERT_TRUE(adapter_->ReloadProfiles());
    ASSERT_TRUE(adapter_->ImportProfile(file, "Cafe", &imported));
    EXPECT_STREQ(imported.Ssid1, "corp");
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    ASSERT_EQ(ProfileNames(profiles), LibraryProfileNames());
    for (const WLProfile& p : profiles) EXPECT_STREQ(p.Ssid1, "corp") << p.ProfileName;
}

// A library whose read-back of a profile answers another record than it stored.
void (*g_readBackChange)(WLProfile&) = nullptr;
vyxwl::GetWLProfile g_realGetWLProfile = nullptr;
int32_t VYXWL_API ChangedReadBack(const char* name, WLProfile* profile) {
    int32_t answer = g_realGetWLProfile(name, profile);
    if (answer == 1 && g_readBackChange) g_readBackChange(*profile);
    return answer;
}

// What an import reads back is taken as the listing takes a stored profile: a record that names
// itself with a control byte is refused, and the settings of one taken carry its name.
TEST_F(AdapterTest, AnImportReadsBackAsTheStoreIsListed) {
    StoreInLibrary(OpenProfile("Office", "corp"));
    Create();
    Open();
    std::string file = dir_.File("office.qjw");
    ASSERT_TRUE(adapter_->ExportProfile(file, "Office"));
    g_realGetWLProfile = DriverLib.VYXWL_GetWLProfile;
    DriverLib.VYXWL_GetWLProfile = ChangedReadBack;

    g_readBackChange = [](WLProfile& p) { SetTextField(p.NetworkInfo.NI_sz_CurProfile, "Other"); };
    WLProfile imported;
    ASSERT_TRUE(adapter_->ImportProfile(file, "Copy", &imported));
    EXPECT_STREQ(imported.NetworkInfo.NI_sz_CurProfile, "Copy");
    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    ASSERT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Office", "Copy"}));
    EXPECT_STREQ(profiles[1].NetworkInfo.NI_sz_CurProfile, "Copy");

    g_readBackChange = [](WLProfile& p) { SetTextField(p.ProfileName, "Bad\x01"); };
    imported = OpenProfile("untouched");
    EXPECT_FALSE(adapter_->ImportProfile(file, "Bad", &imported));
    EXPECT_STREQ(imported.ProfileName, "untouched");
    profiles.clear();
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Office", "Copy"}));
    DriverLib.VYXWL_GetWLProfile = g_realGetWLProfile;
    g_readBackChange = nullptr;
}

// The store keeps registry keys, which tell no case of A to Z apart: the worker's list holds one
// entry for a stored profile however its name is spelt.
TEST_F(AdapterTest, NamesInOtherLettersMeanTheSameStoredProfile) {
    StoreInLibrary(OpenProfile("Office", "corp"));
    StoreInLibrary(OpenProfile("(editingprofile)"));
    Create();
    Open();
    auto names = [this] {
        std::vector<WLProfile> profiles;
        EXPECT_TRUE(adapter_->GetProfiles(profiles));
        return ProfileNames(profiles);
    };
    auto stored = [this] {
        std::vector<std::string> names = LibraryProfileNames();
        for (std::string& n : names) n = Upper(n);
        return names;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"Office"})) << "the editing profile in any case";

    ASSERT_TRUE(adapter_->AddProfile(OpenProfile("OFFICE", "corp-5g")));
    EXPECT_EQ(names(), (std::vector<std::string>{"OFFICE"}));
    ASSERT_TRUE(adapter_->AddProfile(OpenProfile("Cafe", "cafe")));
    ASSERT_TRUE(adapter_->ReplaceProfile("cafe", OpenProfile("office", "cafe")));
    EXPECT_EQ(names(), (std::vector<std::string>{"office"}));
    EXPECT_EQ(stored(), (std::vector<std::string>{"(EDITINGPROFILE)", "OFFICE"}));

    std::string file = dir_.File("office.qjw");
    ASSERT_TRUE(adapter_->ExportProfile(file, "Office"));
    WLProfile imported;
    ASSERT_TRUE(adapter_->ImportProfile(file, "OFFICE", &imported));
    EXPECT_STREQ(imported.Ssid1, "cafe");
    EXPECT_EQ(Upper(names().at(0)), "OFFICE");
    EXPECT_EQ(names().size(), 1u);

    ASSERT_TRUE(adapter_->DeleteProfile("Office"));
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(stored(), (std::vector<std::string>{"(EDITINGPROFILE)"}));
}

// A name with a NUL or another control byte is damaged wherever it comes from: the library
// takes names as C strings, so it would act on another name than the one checked.
TEST_F(AdapterTest, NamesWithAControlByteNeverReachTheLibrary) {
    StoreInLibrary(OpenProfile("Lobby"));
    StoreInLibrary(OpenProfile("Tab\tName"));
    {
        // listed as "Good", but the record names itself otherwise
        WLProfile record = OpenProfile("Bad\x01");
        DriverLibGuard lock(DriverLib, libStop_);
        ASSERT_TRUE(lock);
        ASSERT_EQ(DriverLib.VYXWL_SetWLProfile("Good", &record), 1);
    }
    ASSERT_EQ(LibraryProfileNames(), (std::vector<std::string>{"Good", "Lobby", "Tab\tName"}));
    Create();
    Open();
    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    EXPECT_EQ(ProfileNames(profiles), (std::vector<std::string>{"Lobby"}));
    std::vector<TraceCall> calls = Trace();
    for (const TraceCall& c : calls) {
        if (c.name == "VYXWL_GetWLProfile") {
            EXPECT_EQ(c.args.find("Tab"), std::string::npos) << c.args;
        }
    }

    // "Lobby", NUL, "x" would be stored as "Lobby"
    std::string file = dir_.File("lobby.qjw");
    ASSERT_TRUE(adapter_->ExportProfile(file, "Lobby"));
    size_t mark = TraceMark();
    WLProfile imported = OpenProfile("untouched");
    EXPECT_FALSE(adapter_->ImportProfile(file, std::string("Lobby\0x", 7), &imported));
    EXPECT_FALSE(adapter_->ImportProfile(file, std::string("\0Lobby", 6), &imported));
    EXPECT_TRUE(TraceSince(mark).empty());
    EXPECT_STREQ(imported.ProfileName, "untouched");

    // the settings file's name of the last applied profile
    AnsiString last;
    WriteSettings(std::string("[") + kDeviceSection + "]\r\nLastApplyProf=hex:4C6F6262790078\r\n");
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "");
    WriteSettings(std::string("[") + kDeviceSection + "]\r\nLastApplyProf=Lobby\r\n");
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "Lobby");
}

TEST_F(AdapterTest, SurveyListsValidNetworksOnce) {
    WriteScenario("", Network(1, "Lobby", "00:A0:C5:44:55:66") +
                          Network(2, "Lobby", "00:A0:C5:44:55:66") +
                          Network(3, "Lobby", "00:A0:C5:44:55:77") +
                          Network(4, "Office", "00:A0:C5:00:00:01") + "[Survey]\r\nJunk=1\r\n");
    Create();
    Open();
    std::vector<SiteSurveyEntry> survey;
    ASSERT_TRUE(adapter_->GetSiteSurvey(survey));
    ASSERT_EQ(survey.size(), 3u) << "the repeated network once, the junk never";
    EXPECT_EQ(SsidText(survey[0].Ssid.Ssid, survey[0].Ssid.SsidLength), "Lobby");
    EXPECT_EQ(survey[1].MacAddress[5], 0x77);
    EXPECT_EQ(SsidText(survey[2].Ssid.Ssid, survey[2].Ssid.SsidLength), "Office");
    ASSERT_TRUE(adapter_->GetSiteSurvey(survey));
    EXPECT_EQ(survey.size(), 3u);

    // a count beyond the buffer is read no further than its 256 entries
    WriteScenario("", Network(1, "Lobby", "00:A0:C5:44:55:66") + "[Survey]\r\nCount=100000\r\n");
    survey.clear();
    ASSERT_TRUE(adapter_->GetSiteSurvey(survey));
    EXPECT_EQ(survey.size(), 1u);
}

TEST_F(AdapterTest, ChannelsClampedToTheCallersBuffer) {
    WriteScenario("",
                  std::string(kLobbyNetwork) + "[Channels.FCC]\r\nBand1=1-11\r\nBand4=1-400\r\n");
    Create();
    Open();
    int32_t channels[260];
    int32_t size = sizeof(channels);
    ASSERT_TRUE(adapter_->GetAllowedChannels(1, channels, size));
    ASSERT_EQ(size, 11);
    for (int32_t i = 0; i < size; ++i) EXPECT_EQ(channels[i], i + 1);
    EXPECT_EQ(channels[11], 0) << "the rest of the buffer is zeroed";

    // 400 allowed: 260 fit the channel page's buffer
    size = sizeof(channels);
    ASSERT_TRUE(adapter_->GetAllowedChannels(4, channels, size));
    EXPECT_EQ(size, 260);
    EXPECT_EQ(channels[259], 260);

    // a smaller buffer gets no more than it holds
    struct {
        int32_t channels[10];
        int32_t guard[4];
    } small;
    std::memset(small.guard, 0x5A, sizeof(small.guard));
    size = sizeof(small.channels);
    ASSERT_TRUE(adapter_->GetAllowedChannels(4, small.channels, size));
    EXPECT_EQ(size, 10);
    EXPECT_EQ(small.channels[9], 10);
    for (int32_t g : small.guard) EXPECT_EQ(g, 0x5A5A5A5A);
}

TEST_F(AdapterTest, CertificatesAppendedByKind) {
    WriteScenario("", std::string(kLobbyNetwork) +
                          "[Certificates]\r\nClient1=Alice|Example Root CA\r\n"
                          "Client2=Bob|Other CA\r\nAuthority1=Example Root CA|Example Root CA\r\n");
    Create();
    Open();
    std::vector<CertificateEntry> list(1);
    ASSERT_TRUE(adapter_->GetCertificates(list, 1));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_STREQ(list[1].Name, "Alice");
    EXPECT_STREQ(list[1].Issuer, "Example Root CA");
    EXPECT_STREQ(list[2].Name, "Bob");
    list.clear();
    ASSERT_TRUE(adapter_->GetCertificates(list, 3));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_STREQ(list[0].Name, "Example Root CA");

    // the library's count is believed no further than 256 entries, as the survey's is
    std::string many = "[Certificates]\r\n";
    for (int i = 1; i <= 300; ++i)
        many += "Client" + std::to_string(i) + "=User" + std::to_string(i) + "|CA\r\n";
    WriteScenario("", std::string(kLobbyNetwork) + many);
    list.clear();
    ASSERT_TRUE(adapter_->GetCertificates(list, 1));
    ASSERT_EQ(list.size(), 256u);
    EXPECT_STREQ(list[255].Name, "User256");
}

struct StoreCall {
    CAdapter* adapter;
    HANDLE started;
    bool added;
    bool surveyed;
    bool stopped;
};

DWORD WINAPI StoreWhileLocked(LPVOID arg) {
    auto* c = static_cast<StoreCall*>(arg);
    SetEvent(c->started);
    c->added = c->adapter->AddProfile(OpenProfile("Queued"));
    std::vector<SiteSurveyEntry> survey;
    c->surveyed = c->adapter->GetSiteSurvey(survey);
    return 0;
}

DWORD WINAPI Stop(LPVOID arg) {
    auto* c = static_cast<StoreCall*>(arg);
    c->stopped = c->adapter->StopAdapter();
    return 0;
}

TEST_F(AdapterTest, StopDuringTheLibraryWaitSkipsTheCall) {
    Create();
    Open();
    size_t mark = TraceMark();
    HANDLE ownStop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(DriverLib.LockDriverLib(ownStop));
    // a store operation and a survey queue up behind the lock this test holds
    StoreCall call{adapter_.get(), CreateEventA(nullptr, TRUE, FALSE, nullptr), true, true, false};
    HANDLE caller = CreateThread(nullptr, 0, StoreWhileLocked, &call, 0, nullptr);
    WaitForSingleObject(call.started, INFINITE);
    EXPECT_EQ(WaitForSingleObject(caller, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    HANDLE stopper = CreateThread(nullptr, 0, Stop, &call, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(caller, 5000), WAIT_OBJECT_0) << "still waiting for the lock";
    DriverLib.UnlockDriverLib();
    WaitForSingleObject(caller, INFINITE);
    WaitForSingleObject(stopper, INFINITE);
    EXPECT_TRUE(call.stopped);
    EXPECT_FALSE(call.added);
    EXPECT_FALSE(call.surveyed);
    std::vector<TraceCall> calls = TraceSince(mark);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SetWLProfile"), 0u);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SiteSurveyGet"), 0u);
    EXPECT_TRUE(LibraryProfileNames().empty());
    CloseHandle(caller);
    CloseHandle(stopper);
    CloseHandle(call.started);
    CloseHandle(ownStop);
}

}  // namespace
}  // namespace adaptertest
