// The adapter worker's commands: applying profiles, the IP-settings notices around them, the
// zero-configuration switch and the DHCP renewal.
#include <cstring>
#include <utility>

#include "core/Uprofile.h"
#include "test_adapter_fixture.h"

namespace adaptertest {
namespace {

// A call made on a thread of its own; the tick at which it got through.
class Blocked {
public:
    explicit Blocked(std::function<void()> body) : body_(std::move(body)) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~Blocked() {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    DWORD At() {
        WaitForSingleObject(thread_, INFINITE);
        return at_;
    }

private:
    static DWORD WINAPI Run(LPVOID arg) {
        auto* self = static_cast<Blocked*>(arg);
        self->body_();
        self->at_ = GetTickCount();
        return 0;
    }
    std::function<void()> body_;
    HANDLE thread_;
    DWORD at_ = 0;
};

WLProfile StaticProfile(const std::string& name, uint8_t last) {
    WLProfile p = OpenProfile(name);
    p.ApplyNetwork = 1;
    p.NetworkInfo = StaticSettings();
    p.NetworkInfo.NI_IpAddr[3] = last;
    return p;
}

TEST_F(AdapterTest, AppliedProfileIsRememberedAndAnnounced) {
    StoreInLibrary(OpenProfile("Office"));
    Create();
    Open();
    std::vector<std::pair<TForm*, int>> shown;
    adapter_->ShowProgressHook = [&](TForm* form, int ms) { shown.emplace_back(form, ms); };
    // the hook only passes the form on: any address will do
    TForm* form = reinterpret_cast<TForm*>(&shown);

    size_t mark = TraceMark();
    ASSERT_TRUE(adapter_->ApplyProfileByName("Office", form));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, form);
    EXPECT_EQ(shown[0].second, 20000);
    ASSERT_TRUE(WaitForApplied());
    std::vector<TraceCall> calls = TraceSince(mark);
    size_t convert = FindCall(calls, "VYXWL_WLProfileToWLStatus");
    size_t set = FindCall(calls, "VYXWL_SetWLANStatus");
    ASSERT_LT(set, calls.size());
    EXPECT_EQ(calls[convert].args, "\"Office\"");
    EXPECT_LT(convert, set);
    EXPECT_EQ(calls[set].answer, 1);
    // no IP settings asked for: none read, none written, no notices
    EXPECT_EQ(CountCalls(calls, "VYXWL_GetNetworkInfo"), 0u);
    EXPECT_EQ(CountCalls(calls, "VYXWL_SetNetworkInfo"), 0u);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0].code, bmProfileApplied);
    EXPECT_FALSE(notices_[0].sent);

    WLProfile applied;
    ASSERT_TRUE(adapter_->GetAppliedProfile(&applied));
    EXPECT_STREQ(applied.ProfileName, "Office");
    EXPECT_TRUE(adapter_->GetAppliedProfile(nullptr));
    AnsiString last;
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "Office");
    EXPECT_EQ(FAGlobalVar.ReadSettingString(kDeviceSection, "LastApplyProf", ""), "Office");
    WLProfile saved;
    ASSERT_TRUE(LoadProfile(FAGlobalVar, saved, "LastApplyProf"));
    EXPECT_STREQ(saved.ProfileName, "Office");
    EXPECT_STREQ(saved.Ssid1, "Lobby");
    EXPECT_EQ(saved.NetworkMode, 1);

    // a name that is not cached: nothing parked, no dialog
    shown.clear();
    EXPECT_FALSE(adapter_->ApplyProfileByName("Ghost", form));
    EXPECT_TRUE(shown.empty());

    // a profile that is not stored at all, without a form
    ASSERT_TRUE(adapter_->ApplyProfile(OpenProfile("Direct")));
    EXPECT_TRUE(shown.empty());
    ASSERT_TRUE(WaitForApplied());
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "Direct");
}

// A profile the "/Service" run would refuse is never applied nor written for it: the settings
// file keeps the last usable profile, which the next system start applies. Names are the
// store's, the case of A to Z ignored.
TEST_F(AdapterTest, OnlyUsableProfilesAreAppliedAndRemembered) {
    WLProfile lab = OpenProfile("Lab", "LabNet");
    lab.NetworkMode = 2;
    WLProfile cipher = OpenProfile("Cipher");
    cipher.EncryptionMethod = 2;
    cipher.WPAEncryptionType = 3;
    for (const WLProfile& p : {OpenProfile("Office"), lab, cipher}) StoreInLibrary(p);
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 20;
    Create(timing);
    Open();
    std::vector<int> shown;
    adapter_->ShowProgressHook = [&](TForm*, int ms) { shown.push_back(ms); };
    TForm* form = reinterpret_cast<TForm*>(&shown);

    ASSERT_TRUE(adapter_->ApplyProfileByName("OFFICE", form));
    ASSERT_TRUE(WaitForApplied());
    ASSERT_EQ(shown.size(), 1u);

    size_t mark = TraceMark();
    EXPECT_FALSE(adapter_->ApplyProfileByName("Lab", form));
    EXPECT_FALSE(adapter_->ApplyProfileByName("cipher", form));
    WLProfile key = OpenProfile("Key");
    key.DefaultKey = 7;
    EXPECT_FALSE(adapter_->ApplyProfile(key, form));
    WLProfile band = OpenProfile("Band");
    band.AdHocBand = 5;
    EXPECT_FALSE(adapter_->ApplyProfile(band));
    EXPECT_EQ(shown.size(), 1u) << "no progress dialog for a refused profile";
    // the commands would run before the wait that ends in the second poll
    ASSERT_TRUE(WaitForPolls(2));
    EXPECT_EQ(CountCalls(TraceSince(mark), "VYXWL_SetWLANStatus"), 0u);
    EXPECT_EQ(CountNotices(bmProfileApplied), 1u);
    WLProfile saved;
    ASSERT_TRUE(LoadProfile(FAGlobalVar, saved, "LastApplyProf"));
    EXPECT_STREQ(saved.ProfileName, "Office");
    AnsiString last;
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "Office");
}

TEST_F(AdapterTest, FailedApplyRemembersNothing) {
    WriteScenario("", std::string(kLobbyNetwork) + "[Fail]\r\nVYXWL_SetWLANStatus=0\r\n");
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 20;
    Create(timing);
    Open();
    size_t mark = TraceMark();
    ASSERT_TRUE(adapter_->ApplyProfile(OpenProfile("Lobby")));
    // the command runs before the wait that ends in the second poll
    ASSERT_TRUE(WaitForPolls(2));
    std::vector<TraceCall> calls = TraceSince(mark);
    ASSERT_EQ(CountCalls(calls, "VYXWL_SetWLANStatus"), 1u);
    EXPECT_EQ(CountNotices(bmProfileApplied), 0u);
    EXPECT_FALSE(adapter_->GetAppliedProfile(nullptr));
    AnsiString last = "unset";
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    EXPECT_EQ(last, "");
    WLProfile saved;
    EXPECT_FALSE(LoadProfile(FAGlobalVar, saved, "LastApplyProf"));
}

TEST_F(AdapterTest, IPSettingsChangeIsBracketedByNotices) {
    WriteScenario("RestartDetects=3\r\n");
    AdapterTiming timing = FastTiming();
    timing.AppliedPauseMs = 300;
    Create(timing);
    Open();
    size_t mark = TraceMark();
    std::vector<std::vector<TraceCall>> seen;
    DWORD lastNotice = 0;
    std::unique_ptr<Blocked> libraryCall, getter;
    onNotice_ = [&](const Notice& n) {
        if (n.code != bmIgnoreDeviceChange) return;
        seen.push_back(TraceSince(mark));
        if (n.value != dcHeed) return;
        lastNotice = GetTickCount();
        // from here to the end of the pause the worker holds both guards
        libraryCall =
            std::make_unique<Blocked>([this] { DriverLibGuard lock(DriverLib, libStop_); });
        getter = std::make_unique<Blocked>([this] {
            WLStatus status;
            adapter_->GetAdapterStatus(status);
        });
    };
    ASSERT_TRUE(adapter_->ApplyProfile(StaticProfile("Static", 5)));
    ASSERT_TRUE(WaitForApplied());
    DWORD announced = GetTickCount();

    ASSERT_EQ(notices_.size(), 3u);
    EXPECT_TRUE(notices_[0].code == bmIgnoreDeviceChange && notices_[0].value == dcIgnore &&
                notices_[0].sent);
    EXPECT_TRUE(notices_[1].code == bmIgnoreDeviceChange && notices_[1].value == dcHeed &&
                notices_[1].sent);
    EXPECT_TRUE(notices_[2].code == bmProfileApplied && !notices_[2].sent);

    // before the first notice only the comparison's read
    ASSERT_EQ(seen.size(), 2u);
    ASSERT_FALSE(seen[0].empty());
    EXPECT_EQ(seen[0].back().name, "VYXWL_GetNetworkInfo");
    EXPECT_EQ(CountCalls(seen[0], "VYXWL_SetNetworkInfo"), 0u);
    // between the notices: the settings, then detection until the adapter answers
    std::vector<TraceCall> between(seen[1].begin() + static_cast<long>(seen[0].size()),
                                   seen[1].end());
    ASSERT_EQ(between.size(), 5u) << ::testing::PrintToString(Names(between));
    EXPECT_EQ(between[0].name, "VYXWL_SetNetworkInfo");
    EXPECT_EQ(between[0].args, "static 10.0.0.5");
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(between[i].name, "VYXWL_DevDetect");
        EXPECT_EQ(between[i].answer, i < 4 ? 0 : 1);
    }
    std::vector<TraceCall> all = TraceSince(mark);
    EXPECT_GT(FindCall(all, "VYXWL_SetWLANStatus"), seen[1].size() - 1);

    // the pause held the library lock and the worker's own
    EXPECT_GE(libraryCall->At() - lastNotice + 20, 300u);
    EXPECT_GE(getter->At() - lastNotice + 20, 300u);
    EXPECT_GE(announced - lastNotice + 20, 300u);

    // an adapter that never answers: ten tries, then the apply goes on
    WriteScenario("RestartDetects=50\r\n");
    mark = TraceMark();
    ASSERT_TRUE(adapter_->ApplyProfile(StaticProfile("Other", 6)));
    ASSERT_TRUE(WaitForApplied());
    all = TraceSince(mark);
    EXPECT_EQ(CountCalls(all, "VYXWL_DevDetect"), 10u);
    EXPECT_EQ(all[FindCall(all, "VYXWL_SetWLANStatus")].answer, 1);
}

TEST_F(AdapterTest, IPSettingsWrittenOnlyWhenTheyDiffer) {
    Create();
    Open();
    auto written = [&](const WLProfile& profile) {
        size_t mark = TraceMark();
        size_t notices = CountNotices(bmIgnoreDeviceChange);
        EXPECT_TRUE(adapter_->ApplyProfile(profile));
        EXPECT_TRUE(WaitForApplied());
        std::vector<TraceCall> calls = TraceSince(mark);
        size_t sets = CountCalls(calls, "VYXWL_SetNetworkInfo");
        EXPECT_EQ(CountNotices(bmIgnoreDeviceChange) - notices, sets * 2);
        return sets == 1;
    };
    NetworkInfo current = StaticSettings();

    // not asked for: the static settings are not even read
    WLProfile ignored = StaticProfile("Ignored", 9);
    ignored.ApplyNetwork = 0;
    size_t mark = TraceMark();
    EXPECT_FALSE(written(ignored));
    EXPECT_EQ(CountCalls(TraceSince(mark), "VYXWL_GetNetworkInfo"), 0u);

    // both DHCP: the addresses do not matter
    WLProfile dhcp = OpenProfile("Dhcp");
    dhcp.ApplyNetwork = 1;
    SetAddress(dhcp.NetworkInfo.NI_IpAddr, 10, 9, 9, 9);
    EXPECT_FALSE(written(dhcp));

    // static against DHCP, and back
    EXPECT_TRUE(written(StaticProfile("Static", 5)));
    EXPECT_TRUE(written(dhcp));

    SetLibraryNetworkInfo(current);
    EXPECT_FALSE(written(StaticProfile("Same", 5)));
    EXPECT_TRUE(written(StaticProfile("OtherAddress", 6)));
    SetLibraryNetworkInfo(current);
    WLProfile mask = StaticProfile("Mask", 5);
    mask.NetworkInfo.NI_IpMask[3] = 128;
    EXPECT_TRUE(written(mask));
    SetLibraryNetworkInfo(current);
    WLProfile dns = StaticProfile("Dns", 5);
    SetAddress(dns.NetworkInfo.NI_IpDNS2, 8, 8, 8, 8);
    EXPECT_TRUE(written(dns));
    SetLibraryNetworkInfo(current);
    WLProfile gate2 = StaticProfile("Gate2", 5);
    SetAddress(gate2.NetworkInfo.NI_IpGate2, 10, 0, 0, 254);
    SetAddress(gate2.NetworkInfo.NI_IpWINS1, 10, 0, 0, 253);
    EXPECT_FALSE(written(gate2)) << "the second gateway and WINS are not compared";

    // settings that cannot be read count as different, even for DHCP
    WriteScenario("", std::string(kLobbyNetwork) + "[Fail]\r\nVYXWL_GetNetworkInfo=0\r\n");
    EXPECT_TRUE(written(dhcp));
}

TEST_F(AdapterTest, UnansweredNoticeIsPostedInstead) {
    AdapterTiming timing = FastTiming();
    timing.NoticeTimeoutMs = 100;
    Create(timing);
    Open();
    bool gotApplied = false;
    // the main thread waits for the worker's lock instead of answering
    onNotice_ = [&](const Notice& n) {
        if (n.code == bmIgnoreDeviceChange && n.value == dcIgnore)
            gotApplied = adapter_->GetAppliedProfile(nullptr);
    };
    ASSERT_TRUE(adapter_->ApplyProfile(StaticProfile("Static", 5)));
    ASSERT_TRUE(WaitForApplied());
    EXPECT_TRUE(gotApplied) << "the apply went on without the answer";
    size_t posted = notices_.size(), applied = notices_.size();
    for (size_t i = 0; i < notices_.size(); ++i) {
        const Notice& n = notices_[i];
        if (n.code == bmIgnoreDeviceChange && n.value == dcHeed && !n.sent &&
            posted == notices_.size())
            posted = i;
        if (n.code == bmProfileApplied) applied = i;
    }
    ASSERT_LT(posted, notices_.size()) << "the second notice is posted";
    EXPECT_LT(posted, applied);
    EXPECT_TRUE(notices_[0].code == bmIgnoreDeviceChange && notices_[0].value == dcIgnore);
}

TEST_F(AdapterTest, NewerRequestsReplaceOlderAndTheWishGoesFirst) {
    FAGlobalVar.WinVer = 6;
    StoreInLibrary(OpenProfile("Office"));
    StoreInLibrary(OpenProfile("Lobby"));
    AdapterTiming timing = FastTiming();
    timing.PollPeriodMs = 1;
    Create(timing);
    Open();
    // keep the worker inside a poll while the requests come in
    WriteScenario("", std::string(kLobbyNetwork) + "[Delay]\r\nVYXWL_QueryOID=800\r\n");
    PumpFor(200);
    size_t mark = TraceMark();
    ASSERT_TRUE(adapter_->ApplyProfileByName("Office"));
    ASSERT_TRUE(adapter_->ApplyProfileByName("Lobby"));
    ASSERT_TRUE(adapter_->RequestZeroConfig(true));
    ASSERT_TRUE(adapter_->RequestZeroConfig(false));
    ASSERT_TRUE(WaitForApplied());
    std::vector<TraceCall> calls = TraceSince(mark);
    ASSERT_EQ(CountCalls(calls, "VYXWL_WLProfileToWLStatus"), 1u);
    size_t convert = FindCall(calls, "VYXWL_WLProfileToWLStatus");
    EXPECT_EQ(calls[convert].args, "\"Lobby\"");
    ASSERT_EQ(CountCalls(calls, "VYXWL_Set_WZCService"), 1u);
    size_t wish = FindCall(calls, "VYXWL_Set_WZCService");
    EXPECT_EQ(calls[wish].args, "0");
    EXPECT_LT(wish, convert);
    EXPECT_EQ(CountNotices(bmProfileApplied), 1u);
}

TEST_F(AdapterTest, ZeroConfigSwitchedOnlyOnNT51And52) {
    Create();
    Open();
    // the wish is carried out no later than the apply that follows it
    auto carryOut = [&](int32_t winVer, bool wish) {
        FAGlobalVar.WinVer = winVer;
        size_t mark = TraceMark();
        EXPECT_TRUE(adapter_->RequestZeroConfig(wish));
        EXPECT_TRUE(adapter_->ApplyProfile(OpenProfile("Fence")));
        EXPECT_TRUE(WaitForApplied());
        std::vector<TraceCall> calls = TraceSince(mark);
        std::vector<TraceCall> zeroCfg;
        for (const TraceCall& c : calls)
            if (c.name == "VYXWL_Get_WZCService" || c.name == "VYXWL_Set_WZCService")
                zeroCfg.push_back(c);
        return zeroCfg;
    };
    EXPECT_TRUE(carryOut(5, false).empty());
    EXPECT_TRUE(carryOut(7, false).empty());
    // the service runs (state 4): switched off
    std::vector<TraceCall> calls = carryOut(6, false);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "VYXWL_Get_WZCService");
    EXPECT_EQ(calls[1].name, "VYXWL_Set_WZCService");
    EXPECT_EQ(calls[1].args, "0");
    // already as wished: only asked
    EXPECT_EQ(carryOut(6, false).size(), 1u);
    calls = carryOut(6, true);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].args, "1");
    EXPECT_EQ(carryOut(6, true).size(), 1u);
}

// One adapter, "Simulated TEST ADAPTER #2" with index 7, and a record of what is asked.
class FakeIpHelper : public IpHelperApi {
public:
    FakeIpHelper() {
        InitializeCriticalSection(&lock_);
        renewed_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~FakeIpHelper() override {
        CloseHandle(renewed_);
        DeleteCriticalSection(&lock_);
    }
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO* info, ULONG* size) override {
        if (*size < sizeof(IP_ADAPTER_INFO)) {
            *size = sizeof(IP_ADAPTER_INFO);
            return ERROR_BUFFER_OVERFLOW;
        }
        std::memset(info, 0, sizeof(IP_ADAPTER_INFO));
        std::strcpy(info->Description, "Simulated TEST ADAPTER #2");
        info->Index = 7;
        return ERROR_SUCCESS;
    }
    DWORD GetInterfaceInfo(IP_INTERFACE_INFO* info, ULONG* size) override {
        if (!info || *size < sizeof(IP_INTERFACE_INFO)) {
            *size = sizeof(IP_INTERFACE_INFO);
            return ERROR_INSUFFICIENT_BUFFER;
        }
        std::memset(info, 0, sizeof(IP_INTERFACE_INFO));
        info->NumAdapters = 1;
        info->Adapter[0].Index = 7;
        return NO_ERROR;
    }
    DWORD IpReleaseAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        Log("release " + std::to_string(adapter->Index));
        return NO_ERROR;
    }
    DWORD IpRenewAddress(IP_ADAPTER_INDEX_MAP* adapter) override {
        Log("renew " + std::to_string(adapter->Index));
        SetEvent(renewed_);
        return NO_ERROR;
    }
    std::vector<std::string> Calls() {
        EnterCriticalSection(&lock_);
        std::vector<std::string> copy = calls_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    HANDLE Renewed() const { return renewed_; }

private:
    void Log(const std::string& call) {
        EnterCriticalSection(&lock_);
        calls_.push_back(call);
        LeaveCriticalSection(&lock_);
    }
    CRITICAL_SECTION lock_;
    HANDLE renewed_;
    std::vector<std::string> calls_;
};

TEST_F(AdapterTest, RenewIPAddressReleasesThenRenewsTheOpenAdapter) {
    auto helper = std::make_shared<FakeIpHelper>();
    Create();
    adapter_->IpHelper = helper;
    adapter_->RenewIPAddress();
    EXPECT_EQ(WaitForSingleObject(helper->Renewed(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(helper->Calls().empty()) << "no adapter open";

    Open();
    adapter_->RenewIPAddress();
    ASSERT_EQ(WaitForSingleObject(helper->Renewed(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(helper->Calls(), (std::vector<std::string>{"release 7", "renew 7"}));
    // the next one replaces the first
    adapter_->RenewIPAddress();
    ASSERT_EQ(WaitForSingleObject(helper->Renewed(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(helper->Calls().size(), 4u);
    adapter_->CloseDevice();
}

}  // namespace
}  // namespace adaptertest
