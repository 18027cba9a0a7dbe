#include "Usitelist.h"

#include <memory>

#include "../core/Uadapter.h"
#include "../core/Udefine.h"
#include "../core/Uvyxwllib.h"
#include "Uformmain.h"
#include "Uformres.h"
#include "Uskinwindow.h"

namespace {

// A scan's results are read 3 seconds after it was started.
constexpr UINT kSurveyWaitMs = 3000;

void SetFaces(TTrifaceBtn* button, TImage* normal, TImage* down, TImage* hover) {
    button->SetFaces(normal->Picture()->Bitmap());
    button->SetFacesDown(down->Picture()->Bitmap());
    button->SetFacesOver(hover->Picture()->Bitmap());
}

}  // namespace

const SiteListEntry* SiteEntryOf(TListItem* item) {
    return item ? item->Record<SiteListEntry>() : nullptr;
}

TSiteScan::TSiteScan(TListView* list, TTrifaceBtn* refresh, TPanel* searching, TTimer* timer,
                     SiteColumns columns)
    : list_(list),
      refresh_(refresh),
      searching_(searching),
      timer_(timer),
      columns_(std::move(columns)) {
    list_->SetShowColumnHeaders(false);
    list_->SetGridLines(true);
    list_->SetRowSelect(true);
    list_->SetHideSelection(false);
    list_->Tag = kSiteSortFirstDirection;
    refresh_->SetEnabled(false);
    searching_->SetBevelOuter(bvNone);
    searching_->SetColor(clWhite);
    searching_->Hide();
    timer_->SetEnabled(false);
    timer_->SetInterval(kSurveyWaitMs);
}

void TSiteScan::InitControls(TTrifaceBtn* connect) {
    if (FormRes) {
        list_->SetSmallImages(FormRes->ImageListSiteIcon);
        SetFaces(refresh_, FormRes->ImgBtnRefreshN, FormRes->ImgBtnRefreshD,
                 FormRes->ImgBtnRefreshH);
        SetFaces(connect, FormRes->ImgBtnConnectN, FormRes->ImgBtnConnectD,
                 FormRes->ImgBtnConnectH);
    }
    searching_->SetCaption(
        FAGlobalVar.ReadTextString("FrameSiteSurvey", "PanelSearching", searching_->Caption()));
}

void TSiteScan::Await() {
    // A timer switched on again counts its 3000 ms from now.
    timer_->SetEnabled(false);
    timer_->SetEnabled(true);
    searching_->Show();
    searching_->BringToFront();
}

bool TSiteScan::Awaited() const {
    return timer_->Enabled();
}

void TSiteScan::Refresh(CAdapter* adapter) {
    if (!adapter) return;
    adapter->StartSiteSurvey();
    list_->Items()->Clear();
    Await();
    refresh_->SetEnabled(false);
}

bool TSiteScan::ReadResults(CAdapter* adapter) {
    timer_->SetEnabled(false);
    searching_->Hide();
    std::vector<SiteSurveyEntry> entries;
    if (!adapter || !adapter->GetSiteSurvey(entries)) return false;
    AddRows(entries);
    refresh_->SetEnabled(true);
    return true;
}

void TSiteScan::AddRows(const std::vector<SiteSurveyEntry>& entries) {
    for (const SiteSurveyEntry& entry : entries) {
        auto record = std::make_unique<SiteListEntry>();
        record->Entry = entry;
        record->Row = SiteRowFor(FAGlobalVar, entry, DriverChannel);
        const SiteRow& row = record->Row;
        TListItem* item = list_->Items()->Add();
        item->SetCaption(row.Ssid);
        for (AnsiString SiteRow::*column : columns_) item->SubItems()->Add(row.*column);
        item->SetImageIndex(row.Icon);
        item->SetRecord(std::move(record));
    }
    list_->AlphaSort();
}

void TSiteScan::Reset() {
    list_->Items()->Clear();
    refresh_->SetEnabled(false);
    searching_->Hide();
    timer_->SetEnabled(false);
}

int TSiteScan::Compare(TListItem* item1, TListItem* item2, int32_t column) const {
    const SiteListEntry* a = SiteEntryOf(item1);
    const SiteListEntry* b = SiteEntryOf(item2);
    return a && b ? CompareSiteRows(a->Row, b->Row, column, list_->Tag) : 0;
}

void TSiteScan::SortBy(int32_t& column, int32_t key) {
    SiteHeaderClick(column, list_->Tag, key);
    list_->AlphaSort();
}

bool AskNetworkKey(TControl* page) {
    TFormBase* dialog = FormMain ? FormMain->ConnectSetForm : nullptr;
    if (!dialog || !dialog->PrepareForm(FAGlobalVar.EditProfile.EncryptionMethod)) return true;
    return RunModalInPlaceOf(dialog, GetParentForm(page)) == mrOk;
}
