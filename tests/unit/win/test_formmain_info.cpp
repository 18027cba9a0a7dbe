// The link information page on the main window, over the stand-in adapter: what each poll
// shows, the steps after an apply (renewal, addresses, the progress dialog told to close), the
// statistics panel's counters and times, the pictures and clips, the internet check against
// loopback listeners only, and the panels' buttons.
// clang-format off
#include "Loopback.h"  // winsock2.h before windows.h
// clang-format on
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "monitor/Uformaskinfo.h"
#include "monitor/Uframeinfo.h"
#include "test_formmain_fixture.h"

using namespace mainwin;
using namespace loopback;

namespace {

constexpr char kOffice[] =
    "[Network1]\r\nSSID=Office\r\nMAC=00:A0:C5:11:22:33\r\nFrequency=2437000\r\nRSSI=-50\r\n"
    "Noise=-70\r\nPrivacy=23\r\nMode=1\r\nBand=3\r\nKey=office-secret\r\n";

std::string Dhcp(const std::string& address, const std::string& dns = "192.0.2.53") {
    return "[DHCP]\r\nAddress=" + address +
           "\r\nMask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=" + dns + "\r\n";
}

// The adapter with more keys of its own section.
std::string Adapter(const std::string& more = "") {
    return std::string(kAdapter) + "TxPower=18\r\n" + more;
}

WLProfile OfficeProfile() {
    WLProfile p = Profile("Office", "Office", 2);
    p.WPAEncryptionType = 2;
    SetTextField(p.WPAPassphrase, "office-secret");
    return p;
}

// What the page showed after one of its events. Polls come every 40 ms, and a pump serves all
// that have queued meanwhile: what one event did is read from its shot, never from the page
// once the pump has returned.
struct Shot {
    int type;  // aeStatusUpdated or aeProfileApplied
    std::string status, ip, mask, gateway, dns, dhcp;
    std::string packRx, upTime, totalTime;
    int32_t picture;
    size_t renewals;  // "IP renew done" lines so far
    bool waitForAddress;
};

// A conversion that leaves the buffer alone for 0.0.0.0, as a library may.
int32_t VYXWL_API SilentForNoAddress(const uint8_t* ip, char* text) {
    if (!ip[0] && !ip[1] && !ip[2] && !ip[3]) return 0;
    std::string t = std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." +
                    std::to_string(ip[2]) + "." + std::to_string(ip[3]);
    std::memcpy(text, t.c_str(), t.size() + 1);
    return 1;
}

class TTestFrameInfo : public TFrameInfo {
public:
    TTestFrameInfo(TComponent* owner, std::function<size_t()> renewals)
        : TFrameInfo(owner), Renewals(std::move(renewals)) {}

    void AdapterEvent(CAdapter* adapter, int type, int value) override {
        if (type == aeStatusUpdated) Tick += 3000;  // every poll, connected or not
        TFrameInfo::AdapterEvent(adapter, type, value);
        if (type != aeStatusUpdated && type != aeProfileApplied) return;
        Shots.push_back({type, LbStatus->Caption(), LbIP->Caption(), LbMask->Caption(),
                         LbGateway->Caption(), LbDNS->Caption(), LbDHCP->Caption(),
                         LbPackRx->Caption(), LbUpTime->Caption(), LbTotalTime->Caption(),
                         PictureState, Renewals(), WaitForAddress});
    }
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override {
        TFrameInfo::AdapterChanged(adapter, kind, reserved);
        // what the attach itself showed: a poll may follow in the same pump
        if (kind == acAttached) AttachedStatus = LbStatus->Caption();
    }
    int ShowPageMessage(int flags, const AnsiString& text) override {
        Messages.push_back(std::to_string(flags) + " " + text);
        if (Answers.empty()) return mrOk;
        int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    // The shots of status polls after the last apply.
    std::vector<Shot> PollsSinceApply() const {
        std::vector<Shot> polls;
        for (const Shot& s : Shots) {
            if (s.type == aeProfileApplied)
                polls.clear();
            else
                polls.push_back(s);
        }
        return polls;
    }
    size_t Applies() const {
        size_t n = 0;
        for (const Shot& s : Shots) n += s.type == aeProfileApplied;
        return n;
    }
    // The shot of the last apply; polls may have followed it in the same pump.
    Shot LastApply() const {
        for (auto s = Shots.rbegin(); s != Shots.rend(); ++s)
            if (s->type == aeProfileApplied) return *s;
        return Shot{};
    }
    // The index of the first shot from `from` on whose status is `status`; Shots.size() if none.
    size_t FirstWith(const std::string& status, size_t from) const {
        while (from < Shots.size() && Shots[from].status != status) ++from;
        return from;
    }

    std::function<size_t()> Renewals;
    uint32_t Tick = 100000;
    std::vector<Shot> Shots;
    std::string AttachedStatus = "(never attached)";
    std::vector<std::string> Messages;
    std::deque<int> Answers;
};

// A window of the progress dialog's class and title that counts the close-dialogs codes it
// receives.
class TProgressStandIn : public TForm {
public:
    explicit TProgressStandIn(TComponent* owner) : TForm(owner) {
        SetCaption(Application->Title());
    }
    AnsiString ClassName() const override { return "TFormProgress"; }
    void WndProc(TMessage& msg) override {
        if (msg.Msg == BroadcastMsgId && msg.WParam == bmCloseDialogs) ++Closes;
        TForm::WndProc(msg);
    }
    int Closes = 0;
};

// Answers the name prompt whenever it waits: the next name typed with OK, Cancel when none is
// left. Notes where the prompt stood and what it asked.
class PromptAnswers {
public:
    explicit PromptAnswers(std::vector<std::string> names)
        : names_(std::move(names)), timer_(new TTimer(nullptr)) {
        timer_->SetInterval(15);
        timer_->OnTimer = [this](TObject*) {
            if (!FormAskInfo->Visible() || FormAskInfo->ModalResult() != mrNone) return;
            ++Shown;
            Asked = FormAskInfo->Caption() + " | " + FormAskInfo->LbPrompt->Caption();
            Place = {FormAskInfo->Left(), FormAskInfo->Top()};
            if (next_ < names_.size()) {
                FormAskInfo->EdtInput->SetText(names_[next_++]);
                FormAskInfo->BtnOk->Click();
            } else {
                FormAskInfo->BtnCancel->Click();
            }
        };
    }
    ~PromptAnswers() { timer_->Free(); }
    PromptAnswers(const PromptAnswers&) = delete;
    PromptAnswers& operator=(const PromptAnswers&) = delete;

    int Shown = 0;
    std::string Asked;
    POINT Place{};

private:
    std::vector<std::string> names_;
    size_t next_ = 0;
    TTimer* timer_;
};

class InfoPage : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        closedPort_ = ClosedPort();
        for (const char* clip : {"radio.m", "broken.m", "radioi.m", "brokeni.m"})
            ASSERT_TRUE(CopyFileA((BinDir() + clip).c_str(), dir_.File(clip).c_str(), FALSE));
        Scenario(Adapter() + kOffice + Dhcp("192.0.2.20"));
        pollMs_ = 40;
        TMainPageFactory fakes = MainPageFactory;
        MainPageFactory = [this, fakes](TComponent* owner,
                                        TMainPageKind kind) -> TPropertyPageFrame* {
            if (kind != TMainPageKind::Info) return fakes(owner, kind);
            return page_ = new TTestFrameInfo(owner, [this] { return LogCount("IP renew done"); });
        };
        if (!FormAskInfo) FormAskInfo = NewForm<TFormAskInfo>(Application);
    }
    void TearDown() override {
        MainWindow::TearDown();
        if (FormAskInfo) {
            FormAskInfo->Free();
            FormAskInfo = nullptr;
        }
        WSACleanup();
    }

    // The window with the real page, whose clock is the poll count and whose internet check
    // only ever tries the loopback address: the listener's port, or a closed one.
    void MakeWithPage(int port = 0) {
        Make();
        ASSERT_NE(page_, nullptr);
        page_->TickCount = [this] { return page_->Tick; };
        page_->InternetSetup.PeriodMs = 30;
        int target = port ? port : closedPort_;
        page_->InternetSetup.PickTarget = [target] {
            return InternetCheckTarget{kLoopback, target};
        };
        ASSERT_TRUE(form_->PrepareForm(0));
        ASSERT_TRUE(WaitAttached());
    }
    // The stored profile is applied by the automatic connection at the first poll.
    void ConnectAutomatically(const WLProfile& profile) {
        StoreInLibrary(profile);
        MakeWithPage();
        ASSERT_TRUE(PumpUntil([&] { return page_->Applies() == 1; }));
    }
    bool WaitPollsSinceApply(size_t count, DWORD timeoutMs = 5000) {
        return PumpUntil([&] { return page_->PollsSinceApply().size() >= count; }, timeoutMs);
    }
    bool WaitConnectedPolls(size_t count) {
        return PumpUntil([&] {
            size_t connected = 0;
            for (const Shot& s : page_->PollsSinceApply()) connected += s.status == "Connected";
            return connected >= count;
        });
    }

    TTestFrameInfo* page_ = nullptr;
    int closedPort_ = 0;
};

}  // namespace

TEST_F(InfoPage, AttachedItIdlesAndItsButtonsSwitchThePanels) {
    Scenario(Adapter());  // no network: polls find no link
    MakeWithPage();
    EXPECT_EQ(form_->FrameInfo1, page_);
    EXPECT_EQ(page_->Name, "FrameInfo1");
    EXPECT_EQ(page_->Adapter, form_->Adapter.get());
    EXPECT_EQ(page_->PictureState, kPictureIdle);
    EXPECT_FALSE(page_->BtnMore->Visible());
    for (TTrifaceBtn* b : {page_->BtnRefresh, page_->BtnToProf1, page_->BtnToProf2})
        EXPECT_FALSE(b->Enabled()) << b->Name;
    EXPECT_EQ(page_->AttachedStatus, "");

    ASSERT_TRUE(PumpUntil([&] { return page_->Shots.size() >= 2; }));
    EXPECT_EQ(page_->LbStatus->Caption(), "Disconnected");
    EXPECT_EQ(page_->LbIP->Caption(), "0.0.0.0");
    EXPECT_EQ(page_->LbMask->Caption(), "0.0.0.0");
    EXPECT_EQ(page_->LbGateway->Caption(), "");
    EXPECT_EQ(page_->PictureState, kPictureIdle) << "no network kind known";
    EXPECT_TRUE(page_->DriverVersionShown);
    EXPECT_TRUE(page_->AniRadioD->Visible());
    EXPECT_TRUE(page_->AniRadioD->Active());
    EXPECT_EQ(page_->AniRadioD->Left(), 176);
    EXPECT_EQ(page_->AniRadioD->Top(), 116);

    auto shown = [&] {
        std::string s;
        for (TPanel* p : {page_->PlAnimate, page_->PlStatus, page_->PlStatistic})
            s += p->Visible() ? p->Name + " " : "";
        return s;
    };
    EXPECT_EQ(shown(), "PlAnimate ");
    page_->ShowLinkPicture(kPictureInfraDown);
    EXPECT_TRUE(page_->BtnMore->Visible()) << "More once a network is pictured";
    page_->BtnMore->Click();
    EXPECT_EQ(shown(), "PlStatus ");
    page_->BtnStatistics->Click();
    EXPECT_EQ(shown(), "PlStatistic ");
    page_->BtnStatus->Click();
    EXPECT_EQ(shown(), "PlStatus ");
    page_->BtnBack2->Click();
    EXPECT_EQ(shown(), "PlAnimate ");
    page_->BtnMore->Click();
    page_->BtnStatistics->Click();
    page_->BtnBack1->Click();
    EXPECT_EQ(shown(), "PlAnimate ");

    // The main window's page request returns it to the animation panel.
    page_->BtnMore->Click();
    form_->ShowPage(form_->FrameSiteSurvey1);
    Send(bmShowPage, spInfoPage);
    EXPECT_EQ(form_->ActivePage(), page_);
    EXPECT_EQ(shown(), "PlAnimate ");
}

TEST_F(InfoPage, AnAddressLeftUnwrittenShowsNothingRatherThanTheOneBefore) {
    pollMs_ = 60000;
    MakeWithPage();
    NetworkInfo info;
    const uint8_t address[4] = {192, 0, 2, 20}, mask[4] = {255, 255, 255, 0};
    std::memcpy(info.NI_IpAddr, address, 4);
    std::memcpy(info.NI_IpMask, mask, 4);
    info.NI_wNetFlags = 0x1;
    vyxwl::IPDataToStr library = DriverLib.VYXWL_IPDataToStr;
    DriverLib.VYXWL_IPDataToStr = SilentForNoAddress;
    page_->ShowNetworkInfo(info);
    DriverLib.VYXWL_IPDataToStr = library;
    EXPECT_EQ(page_->LbIP->Caption(), "192.0.2.20");
    EXPECT_EQ(page_->LbMask->Caption(), "255.255.255.0");
    EXPECT_EQ(page_->LbGateway->Caption(), "");
    EXPECT_EQ(page_->LbDNS->Caption(), "");
    EXPECT_EQ(page_->LbDHCP->Caption(), "Disabled") << "a static address";
}

TEST_F(InfoPage, AfterAnApplyItShowsConnectingRenewsAtTheSecondPollAndReadsAddressesFromTheThird) {
    // The link comes up a few polls after the apply, when the test lets it. One clip is missing.
    Scenario(Adapter("ConnectDelay=3600000\r\n") + kOffice + Dhcp("192.0.2.20"));
    ASSERT_TRUE(DeleteFileA(dir_.File("brokeni.m").c_str()));
    ConnectAutomatically(OfficeProfile());
    const Shot& applied = page_->Shots.back();
    EXPECT_EQ(applied.status, "Connecting...");
    EXPECT_EQ(applied.ip, "0.0.0.0");
    EXPECT_EQ(applied.picture, kPictureInfraDown);
    EXPECT_EQ(page_->LbSSID->Caption(), "Office");
    EXPECT_TRUE(page_->BtnToProf1->Enabled());
    EXPECT_TRUE(page_->BtnToProf2->Enabled());
    EXPECT_FALSE(page_->BtnRefresh->Enabled());

    ASSERT_TRUE(WaitPollsSinceApply(3));
    Scenario(Adapter() + kOffice + Dhcp("192.0.2.20"));
    ASSERT_TRUE(WaitConnectedPolls(5));
    std::vector<Shot> polls = page_->PollsSinceApply();
    size_t first = 0;
    while (first < polls.size() && polls[first].status != "Connected") ++first;
    ASSERT_GE(first, 1u) << "the link came up at once";
    for (size_t i = 0; i < first; ++i)
        EXPECT_EQ(polls[i].status, "Connecting...") << "not-connected poll " << i;
    ASSERT_GE(polls.size(), first + 5);
    for (size_t i = first; i < polls.size(); ++i) EXPECT_EQ(polls[i].status, "Connected") << i;

    // Polls 1 and 2 leave the addresses; poll 2 renews; from poll 3 on they follow.
    const Shot* p = &polls[first];
    EXPECT_EQ(p[0].ip, "0.0.0.0");
    EXPECT_EQ(p[0].renewals, 0u);
    EXPECT_EQ(p[1].ip, "0.0.0.0");
    EXPECT_EQ(p[1].dns, "");
    EXPECT_EQ(p[1].renewals, 1u);
    for (int i = 2; i < 5; ++i) {
        SCOPED_TRACE("connected poll " + std::to_string(i + 1));
        EXPECT_EQ(p[i].ip, "192.0.2.20");
        EXPECT_EQ(p[i].mask, "255.255.255.0");
        EXPECT_EQ(p[i].gateway, "192.0.2.1");
        EXPECT_EQ(p[i].dns, "192.0.2.53");
        EXPECT_EQ(p[i].dhcp, "Enabled");
        EXPECT_EQ(p[i].renewals, 1u);
    }
    EXPECT_EQ(LogCount("IP renew: Test Adapter"), 1u);

    // The meters and the levels (the status panel's words are read in the end-to-end run).
    EXPECT_EQ(page_->ImgSignal->ImageIndex(), 9);  // -50 dBm
    EXPECT_EQ(page_->ImgLink->ImageIndex(), 5);    // -70 dBm
    EXPECT_EQ(page_->LbNoise->Caption(), "-70 dBm");
    EXPECT_EQ(page_->LbSignal->Caption(), "-50 dBm");
    EXPECT_EQ(page_->LbPower->Caption(), "18 dBm");
    EXPECT_EQ(page_->LbTxRate->Caption(), "54 Mbps");
    EXPECT_EQ(page_->LbRxRate->Caption(), "54 Mbps");
    EXPECT_TRUE(page_->BtnRefresh->Enabled());

    // An address that cannot be bound here: the check runs, fails, and the picture stays 5,
    // with its radio clip playing; its internet clip, missing, leaves the still picture.
    EXPECT_EQ(LogCount("internet chk 192.0.2.20"), 1u);
    EXPECT_EQ(page_->InternetCheckIP, "192.0.2.20");
    EXPECT_EQ(page_->PictureState, kPictureInfraOffline);
    EXPECT_TRUE(page_->AniRadioE->Visible() && page_->AniRadioE->Active());
    EXPECT_EQ(page_->AniRadioE->Left(), 170);
    for (TAnimate* a : {page_->AniInternetD, page_->AniInternetE, page_->AniRadioD})
        EXPECT_FALSE(a->Visible() || a->Active()) << a->Name;
}

TEST_F(InfoPage, TheProgressDialogOfAnApplyIsToldToCloseOnceAnAddressAndDnsAreKnown) {
    StoreInLibrary(OfficeProfile());
    MakeWithPage();
    form_->AutoConnectDue = false;

    // The worker's own dialog, run for 20 s over the window, ends at the third poll.
    DWORD start = GetTickCount();
    ASSERT_TRUE(form_->Adapter->ApplyProfileByName("Office", form_));
    DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 10000u);
    EXPECT_FALSE(page_->WaitForAddress);
    EXPECT_EQ(FindWindowA("TFormProgress", Application->Title().c_str()), nullptr) << "freed";
    std::vector<Shot> polls = page_->PollsSinceApply();
    ASSERT_GE(polls.size(), 3u);
    EXPECT_EQ(polls.back().ip, "192.0.2.20") << "closed by the poll that read the address";

    // Once per apply: later polls post nothing, a new apply posts once more.
    TAutoFree<TProgressStandIn> dialog(NewForm<TProgressStandIn>(Application));
    dialog->HandleNeeded();
    size_t seen = polls.size();
    ASSERT_TRUE(WaitPollsSinceApply(seen + 3));
    EXPECT_EQ(dialog->Closes, 0);
    ASSERT_TRUE(form_->Adapter->ApplyProfileByName("Office"));
    ASSERT_TRUE(PumpUntil([&] { return page_->Applies() == 2; }));
    EXPECT_TRUE(page_->LastApply().waitForAddress);
    ASSERT_TRUE(WaitPollsSinceApply(6));
    EXPECT_EQ(dialog->Closes, 1);
    EXPECT_FALSE(page_->WaitForAddress);

    // No DNS server: the dialog is left to its own time.
    Scenario(Adapter() + kOffice + Dhcp("192.0.2.20", ""));
    ASSERT_TRUE(form_->Adapter->ApplyProfileByName("Office"));
    ASSERT_TRUE(PumpUntil([&] { return page_->Applies() == 3; }));
    ASSERT_TRUE(WaitPollsSinceApply(6));
    EXPECT_EQ(page_->LbIP->Caption(), "192.0.2.20");
    EXPECT_EQ(page_->LbDNS->Caption(), "");
    EXPECT_EQ(dialog->Closes, 1);
    EXPECT_TRUE(page_->WaitForAddress);
}

TEST_F(InfoPage, StatisticsCountSinceRefreshAndTimeOnlyAcrossConnectedPolls) {
    ConnectAutomatically(OfficeProfile());
    ASSERT_TRUE(WaitConnectedPolls(4));
    std::vector<Shot> polls = page_->PollsSinceApply();
    // The page's clock moves 3 s a poll; the first connected poll only takes the tick.
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE("poll " + std::to_string(i + 1));
        EXPECT_EQ(polls[i].totalTime, FormatDuration(static_cast<uint32_t>(3 * i)));
        EXPECT_EQ(polls[i].upTime, polls[i].totalTime);
    }
    // The adapter's counters grow with connected time (45 packets a second received).
    ASSERT_TRUE(PumpUntil([&] { return std::stoull(page_->LbPackRx->Caption()) >= 90; }));

    // Refresh zeroes the counters and the up time, not the total time.
    std::string total = page_->LbTotalTime->Caption();
    page_->BtnRefresh->Click();
    for (TLabel* l : {page_->LbPackRx, page_->LbPackTx, page_->LbByteRx, page_->LbByteTx})
        EXPECT_EQ(l->Caption(), "0") << l->Name;
    EXPECT_EQ(page_->LbUpTime->Caption(), "00:00:00");
    EXPECT_EQ(page_->LbTotalTime->Caption(), total);
    uint32_t totalSeconds = page_->Statistics.TotalSeconds;
    size_t seen = page_->PollsSinceApply().size();
    ASSERT_TRUE(WaitPollsSinceApply(seen + 1));
    const Shot next = page_->PollsSinceApply()[seen];
    EXPECT_EQ(next.upTime, "00:00:03");
    EXPECT_EQ(next.totalTime, FormatDuration(totalSeconds + 3));
    EXPECT_LT(std::stoull(next.packRx), 45u) << "counted from the refresh";

    // The network goes: the statistics empty, the refresh button off, the time stops.
    Scenario(Adapter() + Dhcp("192.0.2.20"));
    ASSERT_TRUE(PumpUntil([&] { return page_->LbStatus->Caption() == "Disconnected"; }));
    EXPECT_FALSE(page_->BtnRefresh->Enabled());
    for (TLabel* l :
         {page_->LbTxRate, page_->LbPackRx, page_->LbNoise, page_->LbUpTime, page_->LbTotalTime})
        EXPECT_EQ(l->Caption(), "") << l->Name;
    EXPECT_EQ(page_->LbIP->Caption(), "0.0.0.0");
    EXPECT_EQ(page_->LbMAC->Caption(), "");
    EXPECT_EQ(page_->ImgSignal->ImageIndex(), 0);
    EXPECT_EQ(page_->PictureState, kPictureInfraDown);
    EXPECT_EQ(page_->InternetThread, nullptr);
    uint32_t atLoss = page_->Statistics.TotalSeconds;
    seen = page_->Shots.size();
    ASSERT_TRUE(PumpUntil([&] { return page_->Shots.size() >= seen + 3; }));

    // Back in range: the time goes on from where it stopped, the first connected poll taking
    // only the tick.
    Scenario(Adapter() + kOffice + Dhcp("192.0.2.20"));
    seen = page_->Shots.size();
    size_t back = 0;
    ASSERT_TRUE(PumpUntil([&] {
        back = page_->FirstWith("Connected", seen);
        return page_->Shots.size() >= back + 2;
    }));
    EXPECT_EQ(page_->Shots[back].totalTime, FormatDuration(atLoss));
    EXPECT_EQ(page_->Shots[back + 1].totalTime, FormatDuration(atLoss + 3));
}

TEST_F(InfoPage, TheInternetCheckFollowsTheAddressAndItsReportSwitchesThePicture) {
    Listener server;
    Scenario(Adapter() + kOffice + Dhcp("127.0.0.1", "127.0.0.1"));
    StoreInLibrary(OfficeProfile());
    MakeWithPage(server.port);
    ASSERT_TRUE(PumpUntil([&] { return page_->PictureState == kPictureInfraOnline; }));
    EXPECT_EQ(LogCount("internet chk 127.0.0.1"), 1u);
    EXPECT_TRUE(page_->InternetOk);
    EXPECT_TRUE(page_->AniRadioE->Visible() && page_->AniRadioE->Active());
    EXPECT_EQ(page_->AniRadioE->Left(), 173);
    EXPECT_TRUE(page_->AniInternetE->Visible() && page_->AniInternetE->Active());
    EXPECT_EQ(page_->AniInternetE->Left(), 319);
    EXPECT_EQ(page_->AniInternetE->Top(), 131);
    for (TAnimate* a : {page_->AniRadioD, page_->AniInternetD})
        EXPECT_FALSE(a->Visible() || a->Active()) << a->Name;
    // The same address on later polls: the same check.
    ThreadInternetStatus* running = page_->InternetThread.get();
    size_t seen = page_->Shots.size();
    ASSERT_TRUE(PumpUntil([&] { return page_->Shots.size() >= seen + 3; }));
    EXPECT_EQ(page_->InternetThread.get(), running);
    EXPECT_EQ(LogCount("internet chk 127.0.0.1"), 1u);

    // A new address: a new check from it, which starts from unreachable.
    Scenario(Adapter() + kOffice + Dhcp("127.0.0.2", "127.0.0.1"));
    ASSERT_TRUE(PumpUntil([&] { return LogCount("internet chk 127.0.0.2") == 1; }));
    EXPECT_EQ(page_->InternetCheckIP, "127.0.0.2");
    ASSERT_TRUE(PumpUntil([&] { return page_->PictureState == kPictureInfraOnline; }));

    // The link goes: the check stops, the picture shows the access point out of reach.
    Scenario(Adapter() + Dhcp("127.0.0.2"));
    ASSERT_TRUE(PumpUntil([&] { return page_->LbStatus->Caption() == "Disconnected"; }));
    EXPECT_EQ(page_->InternetThread, nullptr);
    EXPECT_EQ(page_->InternetCheckIP, "");
    EXPECT_FALSE(page_->InternetOk);
    EXPECT_EQ(page_->PictureState, kPictureInfraDown);
    EXPECT_TRUE(page_->AniRadioD->Visible() && page_->AniRadioD->Active());
    EXPECT_FALSE(page_->AniInternetE->Visible() || page_->AniInternetE->Active());
}

TEST_F(InfoPage, AStoppedCheckStillTryingIsHandedOverAndReportsNothingMore) {
    Listener server;
    pollMs_ = 60000;  // no polls to change the picture
    MakeWithPage();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE tried = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE picked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int port = server.port;
    // The try hangs where a name lookup would, past the stop's 2000 ms, then reaches a server.
    page_->InternetSetup.PickTarget = [=] {
        SetEvent(picked);
        WaitForSingleObject(release, 10000);
        return InternetCheckTarget{kLoopback, port};
    };
    page_->InternetSetup.TryDone = [=](bool) { SetEvent(tried); };
    page_->ShowLinkPicture(kPictureInfraOffline);
    page_->StartInternetCheck(true, kLoopback);
    ASSERT_EQ(WaitForSingleObject(picked, 5000), WAIT_OBJECT_0);

    DWORD start = GetTickCount();
    page_->StartInternetCheck(false, "");
    EXPECT_GE(GetTickCount() - start, 1900u);
    EXPECT_EQ(page_->InternetThread, nullptr);
    EXPECT_EQ(LogCount(" Internet Thread still running"), 1u);

    SetEvent(release);
    ASSERT_TRUE(PumpUntilSignalled(tried));
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(page_->InternetOk) << "a report after the stop";
    EXPECT_EQ(page_->PictureState, kPictureInfraOffline);
    CloseHandle(release);
    CloseHandle(tried);
    CloseHandle(picked);
}

TEST_F(InfoPage, AnAdHocLinkShowsItsLongNameAndRunsNoCheck) {
    const std::string name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";  // 32: no NUL in the record
    Scenario(Adapter() + "[Network1]\r\nSSID=" + name +
             "\r\nMAC=02:11:22:33:44:55\r\nFrequency=2462000\r\nRSSI=-40\r\nNoise=-90\r\n"
             "Privacy=0\r\nMode=0\r\nBand=1\r\n" +
             Dhcp("192.0.2.30"));
    WLProfile cell = Profile("Cell", name, 0, 0);
    cell.AuthenticationMode = 1;
    ConnectAutomatically(cell);
    EXPECT_EQ(page_->LastApply().picture, kPictureAdHocDown);
    EXPECT_EQ(page_->LbWlMode->Caption(), "Ad-Hoc");
    ASSERT_TRUE(WaitConnectedPolls(4));
    EXPECT_EQ(page_->LbSSID->Caption(), name);
    EXPECT_EQ(page_->LbWlMode->Caption(), "Ad-Hoc");
    EXPECT_EQ(page_->LbChannel->Caption(), "11");
    EXPECT_EQ(page_->LbSecurity->Caption(), "Disabled");
    EXPECT_EQ(page_->LbAuthen->Caption(), "Shared");
    EXPECT_EQ(page_->LbIP->Caption(), "192.0.2.30");
    EXPECT_EQ(page_->PictureState, kPictureAdHocUp);
    EXPECT_TRUE(page_->AniRadioE->Visible() && page_->AniRadioE->Active());
    EXPECT_EQ(page_->AniRadioE->Left(), 189);
    EXPECT_EQ(page_->AniRadioE->Top(), 112);
    EXPECT_EQ(page_->InternetThread, nullptr);
    EXPECT_EQ(Log().find("internet chk"), std::string::npos);

    // A cell of its own never goes away: the link counts as lost when the status read fails.
    Scenario(Adapter() + "[Fail]\r\nVYXWL_GetWLANStatus=0\r\n");
    ASSERT_TRUE(PumpUntil([&] { return page_->LbStatus->Caption() == "Disconnected"; }));
    EXPECT_EQ(page_->PictureState, kPictureAdHocDown);
    EXPECT_EQ(page_->AniRadioD->Left(), 192);
}

TEST_F(InfoPage, SaveProfileStoresTheAppliedProfileUnderANewNameThroughTheProfilePage) {
    MakeWithPage();
    WLProfile& edit = FAGlobalVar.EditProfile;
    {
        // Nothing applied yet: nothing to store, no prompt.
        PromptAnswers none({});
        page_->BtnToProf1->Click();
        EXPECT_EQ(none.Shown, 0);
    }
    StoreInLibrary(OfficeProfile());
    ASSERT_TRUE(form_->Adapter->ReloadProfiles());
    ASSERT_TRUE(form_->Adapter->ApplyProfileByName("Office"));
    // A poll's automatic connection may apply the stored profile as well.
    ASSERT_TRUE(PumpUntil([&] { return page_->Applies() >= 1; }));
    const std::string stored = StoredLine(WizardModeNew);

    // An empty name asks again; the reserved name, one the store cannot hold and an existing
    // one, whatever their case, are told and asked again; then a new name is stored through the
    // profile page.
    {
        PromptAnswers answers({"", "(editingprofile)", "Of\\fice", "OFFICE", "Office copy"});
        page_->Answers = {mrOk, mrOk, mrNo};
        page_->BtnToProf2->Click();
        EXPECT_EQ(answers.Shown, 5);
        EXPECT_EQ(answers.Asked, "Create connection profile | Enter a name for the new profile:");
        EXPECT_EQ(answers.Place.x, form_->Left() + (form_->Width() - FormAskInfo->Width()) / 2);
        EXPECT_EQ(answers.Place.y, form_->Top() + (form_->Height() - FormAskInfo->Height()) / 2);
    }
    EXPECT_EQ(page_->Messages, (std::vector<std::string>{
                                   "48 Enter a name for the new profile:",
                                   "48 A profile name holds at most 64 characters, no "
                                   "backslash and no control character.",
                                   "36 A profile with given name already exists.\nReplace it?"}));
    EXPECT_EQ(journal_.Count(stored), 1u);
    EXPECT_EQ(TextField(edit.ProfileName), "Office copy");
    EXPECT_EQ(TextField(edit.NetworkInfo.NI_sz_CurProfile), "Office copy");
    EXPECT_EQ(TextField(edit.Ssid1), "Office");
    EXPECT_EQ(TextField(edit.WPAPassphrase), "office-secret");
    EXPECT_EQ(edit.EncryptionMethod, 2);

    // Yes replaces the profile of that name; any other answer stores nothing.
    {
        PromptAnswers answers({"office"});
        page_->Answers = {mrYes};
        page_->BtnToProf1->Click();
    }
    EXPECT_EQ(journal_.Count(stored), 2u);
    EXPECT_EQ(TextField(edit.ProfileName), "office");
    for (int answer : {mrCancel, mrOk}) {
        PromptAnswers answers({"Office"});
        page_->Answers = {answer};
        page_->BtnToProf1->Click();
        EXPECT_EQ(answers.Shown, 1);
        EXPECT_EQ(journal_.Count(stored), 2u) << answer;
    }

    // Cancelled: nothing stored, though the applied profile is in EditProfile.
    {
        PromptAnswers answers({});
        page_->BtnToProf1->Click();
        EXPECT_EQ(answers.Shown, 1);
    }
    EXPECT_EQ(journal_.Count(stored), 2u);
    EXPECT_EQ(TextField(edit.ProfileName), "Office");
}
