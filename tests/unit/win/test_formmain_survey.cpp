// The site survey page on the main window with the stand-in adapter: a failed read that the
// next page entry recovers from, and Connect through a stand-in for the quick connect dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <vector>

#include "monitor/Uframesitesurvey.h"
#include "test_formmain_fixture.h"
#include "tests/e2e/E2e.h"

using namespace mainwin;

namespace {

// Offers itself or not; when it runs, runs what the test wants meanwhile and ends with the
// user's answer.
class FakeConnectSet : public TFormBase {
public:
    explicit FakeConnectSet(TComponent* owner) : TFormBase(owner) {
        OnShow = [this](TObject*) { PostMessageA(Handle(), WM_APP + 9, 0, 0); };
    }
    bool PrepareForm(int method) override {
        Asked.push_back(method);
        return Offer;
    }
    void WndProc(TMessage& msg) override {
        if (msg.Msg != WM_APP + 9) return TFormBase::WndProc(msg);
        if (During) During();
        SetModalResult(Answer);
    }
    std::vector<int> Asked;
    bool Offer = true;
    int Answer = mrCancel;
    std::function<void()> During;
};

class SurveyPage : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        TMainPageFactory fakes = MainPageFactory;
        MainPageFactory = [this, fakes](TComponent* owner, TMainPageKind kind) {
            if (kind != TMainPageKind::SiteSurvey) return fakes(owner, kind);
            return static_cast<TPropertyPageFrame*>(page_ = new TFrameSiteSurvey(owner));
        };
        closeThreads_ = true;
    }
    void TearDown() override {
        if (form_) form_->ConnectSetForm = nullptr;
        if (dialog_) dialog_->Free();
        MainWindow::TearDown();
    }
    void Start() {
        MakeAndPrepare();
        ASSERT_TRUE(WaitAttached());
        form_->Adapter->ShowProgressHook = [this](TForm*, int ms) { progress_.push_back(ms); };
        dialog_ = NewForm<FakeConnectSet>(Application);
        form_->ConnectSetForm = dialog_;
    }
    bool Filled() {
        return PumpUntil([&] { return page_->LvSite->Items()->Count() == 2; }, 8000);
    }
    void Select(const std::string& ssid) {
        for (int i = 0; i < page_->LvSite->Items()->Count(); ++i)
            if (page_->LvSite->Items()->Item(i)->Caption() == ssid)
                page_->LvSite->Items()->Item(i)->SetSelected(true);
        ASSERT_EQ(page_->LbSSID->Caption(), ssid);
    }
    size_t Scans() const { return e2e::Count(Trace(), "VYXWL_SiteSurveyScan()"); }
    void Connect() { SendMessageA(page_->BtnConnect->Handle(), BM_CLICK, 0, 0); }

    TFrameSiteSurvey* page_ = nullptr;
    FakeConnectSet* dialog_ = nullptr;
    std::vector<int> progress_;
};

}  // namespace

TEST_F(SurveyPage, EnteringScansUnlessAScanIsAwaitedAndRecoversFromAFailedRead) {
    Start();
    size_t scans = Scans();
    ASSERT_TRUE(form_->ShowPage(page_));
    EXPECT_EQ(Scans(), scans) << "the scan of the attach is awaited";
    ASSERT_TRUE(Filled());

    // The worker cannot give the results of the next scan: Refresh stays disabled.
    ASSERT_TRUE(form_->ShowPage(form_->FrameInfo1));
    ASSERT_TRUE(form_->ShowPage(page_));
    EXPECT_EQ(Scans(), scans + 1);
    form_->Adapter->CloseDevice();
    EXPECT_TRUE(PumpUntil([&] { return !page_->TimerSurvey->Enabled(); }, 8000));
    EXPECT_FALSE(page_->BtnRefresh->Enabled());
    EXPECT_EQ(page_->LvSite->Items()->Count(), 0);

    // The worker is back: entering the page scans although Refresh is disabled.
    form_->Adapter->OpenDevice(form_->CurDevice.get());
    scans = Scans();
    ASSERT_TRUE(form_->ShowPage(form_->FrameInfo1));
    ASSERT_TRUE(form_->ShowPage(page_));
    EXPECT_EQ(Scans(), scans + 1);
    ASSERT_TRUE(Filled());
    EXPECT_TRUE(page_->BtnRefresh->Enabled());
}

TEST_F(SurveyPage, ConnectAppliesNothingTheDialogDidNotAcceptAndFollowsControl) {
    Start();
    ASSERT_TRUE(Filled());

    // Control off disables Connect; a double click still applies an open network, no dialog.
    dialog_->Offer = false;
    form_->SetUtilityEnabled(false);
    Select("Lobby");
    EXPECT_FALSE(page_->BtnConnect->Enabled());
    page_->LvSite->DblClick();
    EXPECT_EQ(dialog_->Asked, std::vector<int>{0});
    EXPECT_EQ(progress_, std::vector<int>{20000});
    EXPECT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 1; }));
    form_->SetUtilityEnabled(true);
    EXPECT_TRUE(page_->BtnConnect->Enabled());

    // Cancelled, or accepted while the adapter went: nothing applied, EditProfile as it was.
    dialog_->Offer = true;
    SetTextField(FAGlobalVar.EditProfile.ProfileName, "Before");
    const WLProfile before = FAGlobalVar.EditProfile;
    Select("Office");
    Connect();
    dialog_->Answer = mrOk;
    dialog_->During = [&] { form_->DetachDevice(); };
    Connect();
    EXPECT_EQ(dialog_->Asked, (std::vector<int>{0, 2, 2}));
    EXPECT_EQ(progress_.size(), 1u);
    EXPECT_EQ(std::memcmp(&FAGlobalVar.EditProfile, &before, sizeof(before)), 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(journal_.Count("info back"), 1u);
}
