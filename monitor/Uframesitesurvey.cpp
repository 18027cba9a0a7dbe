#include "Uframesitesurvey.h"

#include "../classlib/Application.h"
#include "../core/Uadapter.h"
#include "../core/Udebug.h"
#include "../core/Udefine.h"
#include "../core/Uprofile.h"
#include "../core/Uvyxwllib.h"
#include "Uformlayout.h"
#include "Uformres.h"
#include "Uprofilelogic.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 447, 268},        {"ImgClient", 0, 0, 447, 218},
    {"ImgSSID", 38, 72, 32, 16},      {"ImgCH", 132, 72, 20, 16},
    {"ImgSignal", 159, 72, 38, 16},   {"LvSite", 37, 95, 178, 108},
    {"LbSSID", 312, 100, 113, 14},    {"LbWlMode", 312, 116, 113, 14},
    {"LbChannel", 312, 132, 113, 14}, {"LbSecurity", 312, 148, 113, 14},
    {"LbMAC", 312, 164, 113, 14},     {"BtnRefresh", 237, 188, 76, 21},
    {"BtnConnect", 340, 188, 76, 21}, {"PanelSearching", 61, 139, 131, 21, "Searching"},
};

}  // namespace

TFrameSiteSurvey::TFrameSiteSurvey(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 447, 268);
    Font()->SetName("Arial");

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgClient = NewControl<TImage>(this, this, kLayout, "ImgClient");
    // The headers are drawn on the client picture: the image buttons are only where to click.
    auto header = [this](const char* name, void (TFrameSiteSurvey::*handler)(TObject*)) {
        auto* image = NewControl<TQXImage>(this, this, kLayout, name);
        image->SetCursor(crHandPoint);
        image->OnClick = Bind(this, handler);
        return image;
    };
    ImgSSID = header("ImgSSID", &TFrameSiteSurvey::ImgSSIDClick);
    ImgCH = header("ImgCH", &TFrameSiteSurvey::ImgCHClick);
    ImgSignal = header("ImgSignal", &TFrameSiteSurvey::ImgSignalClick);

    LvSite = NewControl<TListView>(this, this, kLayout, "LvSite");
    LvSite->AddColumn("SSID", 92);
    LvSite->AddColumn("CH", 25, taCenter);
    LvSite->AddColumn("Signal", 40, taCenter);
    LvSite->OnCompare = Bind(this, &TFrameSiteSurvey::LvSiteCompare);
    LvSite->OnSelectItem = Bind(this, &TFrameSiteSurvey::LvSiteSelectItem);
    LvSite->OnDblClick = Bind(this, &TFrameSiteSurvey::BtnConnectClick);

    auto detail = [this](const char* name) {
        auto* label = NewControl<TLabel>(this, this, kLayout, name);
        label->SetTransparent(true);
        return label;
    };
    LbSSID = detail("LbSSID");
    LbWlMode = detail("LbWlMode");
    LbChannel = detail("LbChannel");
    LbSecurity = detail("LbSecurity");
    LbMAC = detail("LbMAC");

    auto button = [this](const char* name, void (TFrameSiteSurvey::*handler)(TObject*)) {
        auto* btn = NewControl<TTrifaceBtn>(this, this, kLayout, name);
        btn->SetCursor(crHandPoint);
        btn->SetTabStop(false);
        btn->SetNoFocusRect(true);
        btn->SetEnabled(false);
        btn->OnClick = Bind(this, handler);
        return btn;
    };
    BtnRefresh = button("BtnRefresh", &TFrameSiteSurvey::BtnRefreshClick);
    BtnConnect = button("BtnConnect", &TFrameSiteSurvey::BtnConnectClick);

    PanelSearching = NewControl<TPanel>(this, this, kLayout, "PanelSearching");

    TimerSurvey = NewComponent<TTimer>(this, "TimerSurvey");
    TimerSurvey->OnTimer = Bind(this, &TFrameSiteSurvey::TimerSurveyTimer);
    scan_.reset(new TSiteScan(LvSite, BtnRefresh, PanelSearching, TimerSurvey,
                              {&SiteRow::ChannelText, &SiteRow::SignalText}));
}

TFrameSiteSurvey::~TFrameSiteSurvey() = default;

// ---- page operations ----

void TFrameSiteSurvey::InitPage() {
    if (FormRes) {
        ImgBG->Picture()->Assign(FormRes->ImgFrameBG->Picture());
        ImgClient->Picture()->Assign(FormRes->ImgSiteClient->Picture());
    }
    scan_->InitControls(BtnConnect);
    ResetPage();
    TPropertyPageFrame::InitPage();
}

void TFrameSiteSurvey::ClosePage() {
    ClearSiteList();
    TPropertyPageFrame::ClosePage();
}

void TFrameSiteSurvey::ResetPage() {
    ClearSiteList();
    ClearSiteDetails();
    scan_->Reset();
    TPropertyPageFrame::ResetPage();
}

bool TFrameSiteSurvey::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    // Refresh stays disabled after a read that failed: with no scan awaited the entry scans
    // anyway, or the page would stay empty until the adapter is plugged in again.
    if (Adapter && !scan_->Awaited()) BtnRefreshClick(this);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

void TFrameSiteSurvey::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) {
        Adapter = adapter;
        // Opening the adapter has started a scan.
        scan_->Await();
    } else if (kind == acDetached) {
        Adapter = nullptr;
        ResetPage();
    }
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}

void TFrameSiteSurvey::AdapterEvent(CAdapter* adapter, int type, int value) {
    if (type == aeControlSwitched) UpdateSiteButtons();
    TPropertyPageFrame::AdapterEvent(adapter, type, value);
}

// ---- the list ----

void TFrameSiteSurvey::BtnRefreshClick(TObject*) {
    scan_->Refresh(Adapter);
}

void TFrameSiteSurvey::TimerSurveyTimer(TObject*) {
    if (!scan_->ReadResults(Adapter)) return;
    TListItems* items = LvSite->Items();
    if (items->Count() == 0) return;
    items->Item(0)->SetSelected(true);
    items->Item(0)->SetFocused(true);
}

void TFrameSiteSurvey::ClearSiteList() {
    LvSite->Items()->Clear();
}

void TFrameSiteSurvey::LvSiteCompare(TObject*, TListItem* item1, TListItem* item2, int& compare) {
    compare = scan_->Compare(item1, item2, SortColumn);
}

void TFrameSiteSurvey::ImgSSIDClick(TObject*) {
    scan_->SortBy(SortColumn, kSiteSortSsid);
}

void TFrameSiteSurvey::ImgCHClick(TObject*) {
    scan_->SortBy(SortColumn, kSiteSortChannel);
}

void TFrameSiteSurvey::ImgSignalClick(TObject*) {
    scan_->SortBy(SortColumn, kSiteSortSignal);
}

// ---- details and buttons ----

void TFrameSiteSurvey::LvSiteSelectItem(TObject*, TListItem* item, bool selected) {
    if (selected) {
        ShowSiteDetails(item);
    } else {
        ClearSiteDetails();
    }
}

void TFrameSiteSurvey::ShowSiteDetails(TListItem* item) {
    const SiteListEntry* listed = SiteEntryOf(item);
    if (!listed) return;
    SiteDetails d = SiteDetailsFor(FAGlobalVar, *listed);
    LbSSID->SetCaption(d.Ssid);
    LbWlMode->SetCaption(d.WlMode);
    LbChannel->SetCaption(d.Channel);
    LbSecurity->SetCaption(d.Security);
    DebugPrint("Site security %d", static_cast<int>(listed->Entry.Privacy));
    LbMAC->SetCaption(d.Mac);
    BtnConnect->SetEnabled(ControlOnFor(this));
}

void TFrameSiteSurvey::ClearSiteDetails() {
    for (TLabel* label : {LbSSID, LbWlMode, LbChannel, LbSecurity, LbMAC}) label->SetCaption("");
    BtnConnect->SetEnabled(false);
}

void TFrameSiteSurvey::UpdateSiteButtons() {
    if (!Adapter) return;
    if (!ControlOnFor(this)) {
        BtnConnect->SetEnabled(false);
    } else if (LvSite->Selected()) {
        BtnConnect->SetEnabled(true);
    }
}

// ---- connecting ----

void TFrameSiteSurvey::BtnConnectClick(TObject*) {
    const SiteListEntry* picked = SiteEntryOf(LvSite->Selected());
    if (!picked || !Adapter) return;
    // The wizard edits EditProfile while it shows: nothing may fill it meanwhile.
    if (FormMain && FormMain->ProfileWizardShowing()) return;
    WLProfile& edited = FAGlobalVar.EditProfile;
    const WLProfile before = edited;
    ProfileFromSurveyEntry(FAGlobalVar, picked->Entry, edited, DriverChannel);
    SetTextField(edited.ProfileName, kEditingProfileName);
    SetTextField(edited.NetworkInfo.NI_sz_CurProfile, kEditingProfileName);
    // The dialog runs a message loop of its own, in which the adapter may go: it then ends
    // cancelled, and the row picked may be gone.
    if (!AskNetworkKey(this) || !Adapter) {
        edited = before;
        return;
    }
    Adapter->ApplyProfile(edited, GetParentForm(this));
    if (TForm* main = Application->MainForm())
        PostMessageA(main->Handle(), BroadcastMsgId, bmShowPage, spInfoPage);
}
