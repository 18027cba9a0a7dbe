// The main window's second page: the wireless networks in range as the adapter's last scan
// found them (name, channel, signal, with an icon for the network type and security), the
// details of the selected one, Refresh (a new scan, read 3 seconds later) and Connect (also a
// double click): the network turned into a profile, its key asked through the quick connect
// dialog when it needs one, and applied with the progress dialog.
#pragma once

#include <cstdint>
#include <memory>

#include "../classlib/ComCtrls.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Propertypageframeunit.h"
#include "Qximage.h"
#include "Trifacebtn.h"
#include "Uformmain.h"
#include "Usitelist.h"

class TFrameSiteSurvey : public TPropertyPageFrame, public IMainListPage {
public:
    explicit TFrameSiteSurvey(TComponent* owner);
    ~TFrameSiteSurvey() override;

    // Pictures, faces and the panel's word, then an empty page.
    void InitPage() override;
    void ClosePage() override;
    // No rows, no details, both buttons disabled, no scan awaited.
    void ResetPage() override;
    // With an adapter and no scan awaited: a new scan each time the page is entered.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Attached: the scan the worker started on opening is awaited. Detached: an empty page.
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;
    // Control switched on or off: Connect follows.
    void AdapterEvent(CAdapter* adapter, int type, int value) override;
    TWinControl* PageList() override { return LvSite; }

    // Handlers.
    void TimerSurveyTimer(TObject* sender);
    void LvSiteSelectItem(TObject* sender, TListItem* item, bool selected);
    void LvSiteCompare(TObject* sender, TListItem* item1, TListItem* item2, int& compare);
    void BtnRefreshClick(TObject* sender);
    void BtnConnectClick(TObject* sender);
    void ImgSSIDClick(TObject* sender);
    void ImgCHClick(TObject* sender);
    void ImgSignalClick(TObject* sender);

    // Components, in layout order.
    TImage* ImgBG;
    TImage* ImgClient;
    TQXImage* ImgSSID;
    TQXImage* ImgCH;
    TQXImage* ImgSignal;
    TListView* LvSite;  // its Tag is the sort direction
    TLabel* LbSSID;
    TLabel* LbWlMode;
    TLabel* LbChannel;
    TLabel* LbSecurity;
    TLabel* LbMAC;
    TTrifaceBtn* BtnRefresh;
    TTrifaceBtn* BtnConnect;
    TPanel* PanelSearching;
    TTimer* TimerSurvey;

    CAdapter* Adapter = nullptr;  // while one is attached; not owned
    int32_t SortColumn = kSiteSortFirstColumn;

private:
    void ClearSiteList();
    void ClearSiteDetails();
    void ShowSiteDetails(TListItem* item);
    void UpdateSiteButtons();

    std::unique_ptr<TSiteScan> scan_;
};
