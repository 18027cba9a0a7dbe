#include "Uframewlnetwork.h"

#include <memory>

#include "../core/Uadapter.h"
#include "../core/Udefine.h"
#include "../core/Uprofile.h"
#include "../monitor/Uformbase.h"
#include "../monitor/Uformmain.h"
#include "../monitor/Uformres.h"
#include "../monitor/Usiterows.h"
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

constexpr UINT kSurveyWaitMs = 3000;

const SiteListEntry* EntryOf(TListItem* item) {
    return item ? item->Record<SiteListEntry>() : nullptr;
}

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
    LvSite->SetShowColumnHeaders(false);
    LvSite->SetGridLines(true);
    LvSite->SetRowSelect(true);
    LvSite->SetHideSelection(false);
    LvSite->SetTabStop(true);
    LvSite->AddColumn("SSID", 85);
    LvSite->AddColumn("CH", 30, taCenter);
    LvSite->AddColumn("Signal", 43, taCenter);
    LvSite->AddColumn("Security", 122, taCenter);
    LvSite->AddColumn("MAC Address", 112, taCenter);
    LvSite->Tag = kSiteSortFirstDirection;
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
    PanelSearching->SetBevelOuter(bvNone);
    PanelSearching->SetColor(clWhite);
    PanelSearching->Hide();

    TimerSurvey = NewComponent<TTimer>(this, "TimerSurvey");
    TimerSurvey->SetEnabled(false);
    TimerSurvey->SetInterval(kSurveyWaitMs);
    TimerSurvey->OnTimer = Bind(this, &TFrameWlNetwork::TimerSurveyTimer);
}

void TFrameWlNetwork::InitPage() {
    if (FormRes) {
        ImgBG->Picture()->Assign(FormRes->ImgProfWlNetwork->Picture());
        LvSite->SetSmallImages(FormRes->ImageListSiteIcon);
        SetButtonFaces(BtnRefresh, FormRes->ImgBtnRefreshN, FormRes->ImgBtnRefreshH,
                       FormRes->ImgBtnRefreshD);
        SetButtonFaces(BtnConnect, FormRes->ImgBtnConnectN, FormRes->ImgBtnConnectH,
                       FormRes->ImgBtnConnectD);
    }
    PanelSearching->SetCaption(
        FAGlobalVar.ReadTextString("FrameSiteSurvey", "PanelSearching", PanelSearching->Caption()));
    TPropertyPageFrame::InitPage();
}

void TFrameWlNetwork::ClosePage() {
    ClearSiteList();
    TPropertyPageFrame::ClosePage();
}

void TFrameWlNetwork::ResetPage() {
    ClearSiteList();
    BtnRefresh->SetEnabled(false);
    PanelSearching->Hide();
    TimerSurvey->SetEnabled(false);
    TPropertyPageFrame::ResetPage();
}

bool TFrameWlNetwork::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward && Adapter && BtnRefresh->Enabled()) BtnRefreshClick(this);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameWlNetwork::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    const SiteListEntry* picked = EntryOf(LvSite->Selected());
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
            TimerSurvey->SetEnabled(true);
            PanelSearching->Show();
            PanelSearching->BringToFront();
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
    if (!Adapter) return;
    Adapter->StartSiteSurvey();
    ClearSiteList();
    TimerSurvey->SetEnabled(false);
    TimerSurvey->SetEnabled(true);
    PanelSearching->Show();
    PanelSearching->BringToFront();
    BtnRefresh->SetEnabled(false);
}

void TFrameWlNetwork::TimerSurveyTimer(TObject*) {
    TimerSurvey->SetEnabled(false);
    PanelSearching->Hide();
    std::vector<SiteSurveyEntry> list;
    if (Adapter && Adapter->GetSiteSurvey(list)) {
        FillSiteList(list);
        BtnRefresh->SetEnabled(true);
    }
}

void TFrameWlNetwork::FillSiteList(const std::vector<SiteSurveyEntry>& list) {
    for (const SiteSurveyEntry& entry : list) {
        auto record = std::make_unique<SiteListEntry>();
        record->Entry = entry;
        record->Row = SiteRowFor(FAGlobalVar, entry, DriverChannel);
        const SiteRow& row = record->Row;
        TListItem* item = LvSite->Items()->Add();
        item->SetCaption(row.Ssid);
        for (const AnsiString* text : {&row.ChannelText, &row.SignalText, &row.Security, &row.Mac})
            item->SubItems()->Add(*text);
        item->SetImageIndex(row.Icon);
        item->SetRecord(std::move(record));
    }
    LvSite->AlphaSort();
}

void TFrameWlNetwork::ClearSiteList() {
    LvSite->Items()->Clear();
    BtnConnect->SetEnabled(false);
}

void TFrameWlNetwork::LvSiteCompare(TObject*, TListItem* item1, TListItem* item2, int& compare) {
    const SiteListEntry* a = EntryOf(item1);
    const SiteListEntry* b = EntryOf(item2);
    compare = a && b ? CompareSiteRows(a->Row, b->Row, SortColumn, LvSite->Tag) : 0;
}

void TFrameWlNetwork::SortBy(int32_t key) {
    SiteHeaderClick(SortColumn, LvSite->Tag, key);
    LvSite->AlphaSort();
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
    const SiteListEntry* picked = EntryOf(LvSite->Selected());
    TForm* form = GetParentForm(this);
    if (!picked || !Adapter || !form) return;
    // Connect takes the network whatever the mode; a pick that does not go on leaves the
    // profile being edited as it was.
    pickBackup_ = FAGlobalVar.EditProfile;
    pickAwaited_ = true;
    ProfileFromSurveyEntry(FAGlobalVar, picked->Entry, FAGlobalVar.EditProfile, DriverChannel);
    if (!AskNetworkKey()) {
        EndPick(false);
        return;
    }
    PostMessageA(form->Handle(), BroadcastMsgId, bmApplyPickedNetwork, 0);
}

bool TFrameWlNetwork::AskNetworkKey() {
    TFormBase* dialog = FormMain ? FormMain->ConnectSetForm : nullptr;
    if (!dialog || !dialog->PrepareForm(FAGlobalVar.EditProfile.EncryptionMethod)) return true;
    return RunModalInPlaceOf(dialog, GetParentForm(this)) == mrOk;
}

void TFrameWlNetwork::EndPick(bool kept) {
    if (pickAwaited_ && !kept) FAGlobalVar.EditProfile = pickBackup_;
    pickAwaited_ = false;
}
