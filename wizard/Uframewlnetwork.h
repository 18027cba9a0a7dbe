// The wizard's first page: the wireless networks in range, sorted by a click on a header. Next
// takes the picked network's settings into a new profile; Connect stores and connects with it
// at once, asking for its key through the quick connect dialog when it needs one.
#pragma once

#include <cstdint>
#include <memory>

#include "../classlib/ComCtrls.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../core/Uvyxwltypes.h"
#include "../monitor/Propertypageframeunit.h"
#include "../monitor/Qximage.h"
#include "../monitor/Trifacebtn.h"

class TSiteScan;

class TFrameWlNetwork : public TPropertyPageFrame {
public:
    explicit TFrameWlNetwork(TComponent* owner);
    ~TFrameWlNetwork() override;

    void InitPage() override;
    void ClosePage() override;
    void ResetPage() override;
    // Forward, with an adapter and no scan awaited: a new scan.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward, in the modes that take a picked network: the selected network into EditProfile.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;
    void AdapterEvent(CAdapter* adapter, int type, int value) override;

    // The window's answer to the bmApplyPickedNetwork this page posted: kept, the picked
    // network stays in EditProfile; not kept, EditProfile is as it was before Connect.
    void EndPick(bool kept);
    bool PickAwaited() const { return pickAwaited_; }

    TImage* ImgBG;
    TQXImage* ImgSSID;
    TQXImage* ImgCh;
    TQXImage* ImgSignal;
    TQXImage* ImgSecurity;
    TQXImage* ImgMAC;
    TListView* LvSite;  // its Tag is the sort direction
    TTrifaceBtn* BtnRefresh;
    TTrifaceBtn* BtnConnect;
    TPanel* PanelSearching;
    TTimer* TimerSurvey;

    CAdapter* Adapter = nullptr;
    int32_t SortColumn;

    void BtnRefreshClick(TObject* sender);
    void BtnConnectClick(TObject* sender);
    void TimerSurveyTimer(TObject* sender);

private:
    void ClearSiteList();
    void UpdateConnectButton();
    void SortBy(int32_t key);
    void LvSiteSelectItem(TObject* sender, TListItem* item, bool selected);
    void LvSiteCompare(TObject* sender, TListItem* item1, TListItem* item2, int& compare);
    void ImgBGClick(TObject* sender);

    std::unique_ptr<TSiteScan> scan_;
    WLProfile pickBackup_{};
    bool pickAwaited_ = false;
};
