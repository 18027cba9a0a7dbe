#include "Uframewlnetwork.h"

#include <memory>

#include "../core/Uadapter.h"
#include "../core/Udefine.h"
#include "../core/Uprofile.h"
#include "../monitor/Uformbase.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Uformres.h"
#include "../monitor/Usitelist.h"
#include "../monitor/Uskinwindow.h"
#include "Uwizardpage.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},         {"ImgSSID", 20, 43, 85, 19},
    {"ImgCh", 105, 43, 30, 19},        {"ImgSignal", 135, 43, 43, 19},
    {"ImgSecurity", 178, 43, 122, 19}, {"ImgMAC", 300, 43, 112, 19},
    {"LvSite", 20, 64, 416, 120},      {"BtnRefresh", 460, 64, 76, 21},
    {"BtnConnect", 460, 92, 76, 21},   {"PanelSearching", 162, 113, 131, 21, "Searching"},
};

}  // namespace

TFrameWlNetwork::TFrameWlNetwork(TComponent* owner)
    : TPropertyPageFrame(owner), SortColumn(kSiteSortFirstColumn) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgBG->OnClick = Bind(this, &TFrameWlNetwork::ImgBGClick);

    auto header = [this](const char* name, int32_t key) {
        auto* image = NewControl<TQXImage>(this, this, kLayout, name);
        image->SetCursor(crHandPoint);
        image->OnClick = [this, key](TObject*) { SortBy(key); };
        return image;
    };
    ImgSSID = header("ImgSSID", kSiteSortSsid);
    ImgCh = header("ImgCh", kSiteSortChannel);
    ImgSignal = header("ImgSignal", kSiteSortSignal);
    ImgSecurity = header("ImgSecurity", kSiteSortSecurity);
    ImgMAC = header("ImgMAC", kSiteSortMac);

    LvSite = NewControl<TListView>(this, this, kLayout, "LvSite");
    LvSite->AddColumn("SSID", 85);
    LvSite->AddColumn("CH", 30, taCenter);
    LvSite->AddColumn("Signal", 43, taCenter);
    LvSite->AddColumn("Security", 122, taCenter);
    LvSite->AddColumn("MAC Address", 112, taCenter);
    LvSite->OnSelectItem = Bind(this, &TFrameWlNetwork::LvSiteSelectItem);
    LvSite->OnCompare = Bind(this, &TFrameWlNetwork::LvSiteCompare);
    LvSite->OnDblClick = Bind(this, &TFrameWlNetwork::BtnConnectClick);

    auto button = [this](const char* name, void (TFrameWlNetwork::*handler)(TObject*)) {
        auto* b = NewControl<TTrifaceBtn>(this, this, kLayout, name);
        b->SetCursor(crHandPoint);
        b->SetTabStop(false);
        b->SetNoFocusRect(true);
        b->SetEnabled(false);
        b->OnClick = Bind(this, handler);
        return b;
    };
    BtnRefresh = button("BtnRefresh", &TFrameWlNetwork::BtnRefreshClick);
    BtnConnect = button("BtnConnect", &TFrameWlNetwork::BtnConnectClick);

    PanelSearching = NewControl<TPanel>(this, this, kLayout, "PanelSearching");

    TimerSurvey = NewComponent<TTimer>(this, "TimerSurvey");
    TimerSurvey->OnTimer = Bind(this, &TFrameWlNetwork::TimerSurveyTimer);
    scan_.reset(new TSiteScan(
        LvSite, BtnRefresh, PanelSearching, TimerSurvey,
        {&SiteRow::ChannelText, &SiteRow::SignalText, &SiteRow::Security, &SiteRow::Mac}));
}

TFrameWlNetwork::~TFrameWlNetwork() = default;

void TFrameWlNetwork::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfWlNetwork->Picture());
    scan_->InitControls(BtnConnect);
    TPropertyPageFrame::InitPage();
}

void TFrameWlNetwork::ClosePage() {
    ClearSiteList();
    TPropertyPageFrame::ClosePage();
}

void TFrameWlNetwork::ResetPage() {
    ClearSiteList();
    scan_->Reset();
    TPropertyPageFrame::ResetPage();
}

bool TFrameWlNetwork::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward && Adapter && BtnRefresh->Enabled()) BtnRefreshClick(this);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameWlNetwork::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    const SiteListEntry* picked = SiteEntryOf(LvSite->Selected());
    if (direction == kPageForward && (mode & WizardModeTakesPickedNetwork) && picked)
        ProfileFromSurveyEntry(FAGlobalVar, picked->Entry, FAGlobalVar.EditProfile, DriverChannel);
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

void TFrameWlNetwork::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) {
        Adapter = adapter;
        TForm* form = GetParentForm(this);
        if (form && form->Visible() && Visible()) {
            // Opening the adapter has started a scan.
            scan_->Await();
        } else {
            BtnRefresh->SetEnabled(true);
        }
    } else if (kind == acDetached) {
        Adapter = nullptr;
        ResetPage();
    }
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}

void TFrameWlNetwork::AdapterEvent(CAdapter* adapter, int type, int value) {
    if (type == aeControlSwitched) UpdateConnectButton();
    TPropertyPageFrame::AdapterEvent(adapter, type, value);
}

void TFrameWlNetwork::BtnRefreshClick(TObject*) {
    scan_->Refresh(Adapter);
}

void TFrameWlNetwork::TimerSurveyTimer(TObject*) {
    scan_->ReadResults(Adapter);
}

void TFrameWlNetwork::ClearSiteList() {
    LvSite->Items()->Clear();
    BtnConnect->SetEnabled(false);
}

void TFrameWlNetwork::LvSiteCompare(TObject*, TListItem* item1, TListItem* item2, int& compare) {
    compare = scan_->Compare(item1, item2, SortColumn);
}

void TFrameWlNetwork::SortBy(int32_t key) {
    scan_->SortBy(SortColumn, key);
}

void TFrameWlNetwork::LvSiteSelectItem(TObject*, TListItem*, bool selected) {
    BtnConnect->SetEnabled(selected && ControlOnFor(this));
}

void TFrameWlNetwork::UpdateConnectButton() {
    if (!Adapter) return;
    if (!ControlOnFor(this)) {
        BtnConnect->SetEnabled(false);
    } else if (LvSite->Selected()) {
        BtnConnect->SetEnabled(true);
    }
}

void TFrameWlNetwork::ImgBGClick(TObject*) {
    LvSite->SetSelected(nullptr);
    if (TListItem* focused = LvSite->ItemFocused()) focused->SetFocused(false);
}

void TFrameWlNetwork::BtnConnectClick(TObject*) {
    const SiteListEntry* picked = SiteEntryOf(LvSite->Selected());
    TForm* form = GetParentForm(this);
    if (!picked || !Adapter || !form) return;
    // Connect takes the network whatever the mode; a pick that does not go on leaves the
    // profile being edited as it was.
    pickBackup_ = FAGlobalVar.EditProfile;
    pickAwaited_ = true;
    ProfileFromSurveyEntry(FAGlobalVar, picked->Entry, FAGlobalVar.EditProfile, DriverChannel);
    if (!AskNetworkKey(this)) {
        EndPick(false);
        return;
    }
    PostMessageA(form->Handle(), BroadcastMsgId, bmApplyPickedNetwork, 0);
}

void TFrameWlNetwork::EndPick(bool kept) {
    if (pickAwaited_ && !kept) FAGlobalVar.EditProfile = pickBackup_;
    pickAwaited_ = false;
}
