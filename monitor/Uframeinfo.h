// The link information page, the first page of the main window: a picture of the link with
// looping clips, a status panel and a statistics panel, and the signal and quality meters
// below them. It refreshes at every finished poll of the adapter worker; after a profile has
// been applied it has the DHCP lease renewed, closes the progress dialog once an address is
// known and checks, while an infrastructure link has an address, whether the internet can be
// reached. Two buttons store the profile applied last under a new name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "../classlib/ComCtrls.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../core/Uadapter.h"
#include "../core/Uthreadinternet.h"
#include "Propertypageframeunit.h"
#include "Qximage.h"
#include "Trifacebtn.h"
#include "Uformmain.h"
#include "Uinfologic.h"

class TFrameInfo : public TPropertyPageFrame, public IMainInfoPage {
public:
    explicit TFrameInfo(TComponent* owner);
    ~TFrameInfo() override;

    // Clip files, pictures and button faces, then a reset.
    void InitPage() override;
    // Stops the internet check.
    void ClosePage() override;
    // The idle picture on the animation panel, every label empty, the meters at 0, counters
    // and times from 0.
    void ResetPage() override;
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;
    // aeStatusUpdated refreshes the page, aeProfileApplied watches the new connection.
    void AdapterEvent(CAdapter* adapter, int type, int value) override;
    // The main window's page request: back to the animation panel, as BtnBack1 goes.
    void ShowStatusPanel() override;

    void ShowLinkPicture(int32_t state);
    // One poll's work.
    void RefreshLinkInfo();
    // Both panels and the meters from the status of a connected adapter.
    void ShowLinkStatus(const WLStatus& status);
    void ShowNotConnected();
    void ShowApplyingProfile(const WLProfile& profile);
    void ShowNetworkInfo(const NetworkInfo& info);
    void ShowDriverVersion(const DriverInfo& info);
    void OnProfileApplied();
    // The internet check's report, on the main thread.
    void OnInternetStatus(bool ok);
    // Stops the running check and, when start is set, starts one from ip.
    void StartInternetCheck(bool start, const AnsiString& ip);
    // Closes the progress dialog once an address and a DNS server are shown.
    void NotifyProgressDone();
    // The name prompt of BtnToProf1Click: false when the user cancelled.
    bool AskProfileName(AnsiString& name, const std::vector<WLProfile>& profiles);
    // The message dialog over the page's owner form; the button's result.
    virtual int ShowPageMessage(int flags, const AnsiString& text);

    // Components, in layout order.
    TImage* ImgBG;
    TPanel* PlAnimate;
    TImage* ImgInfo;
    TAnimate* AniRadioE;
    TAnimate* AniRadioD;
    TAnimate* AniInternetE;
    TAnimate* AniInternetD;
    TTrifaceBtn* BtnMore;
    TPanel* PlStatus;
    TImage* ImgStatus;
    TTrifaceBtn* BtnBack2;
    TTrifaceBtn* BtnStatistics;
    TTrifaceBtn* BtnToProf2;
    TLabel* LbStatus;
    TLabel* LbSSID;
    TLabel* LbWlMode;
    TLabel* LbTransfer;
    TLabel* LbChannel;
    TLabel* LbSecurity;
    TLabel* LbAuthen;
    TLabel* LbIP;
    TLabel* LbMask;
    TLabel* LbGateway;
    TLabel* LbDNS;
    TLabel* LbDHCP;
    TLabel* LbMAC;
    TPanel* PlStatistic;
    TImage* ImgStatistics;
    TTrifaceBtn* BtnBack1;
    TTrifaceBtn* BtnStatus;
    TTrifaceBtn* BtnToProf1;
    TTrifaceBtn* BtnRefresh;
    TLabel* LbTxRate;
    TLabel* LbRxRate;
    TLabel* LbPackRx;
    TLabel* LbPackTx;
    TLabel* LbByteRx;
    TLabel* LbByteTx;
    TLabel* LbDrvVer;
    TLabel* LbNoise;
    TLabel* LbSignal;
    TLabel* LbPower;
    TLabel* LbUpTime;
    TLabel* LbTotalTime;
    TImage* ImgBottom;
    TQXImage* ImgSignal;
    TQXImage* ImgLink;

    CAdapter* Adapter = nullptr;  // not owned
    bool DriverVersionShown = false;
    int32_t PictureState = 0;
    std::unique_ptr<ThreadInternetStatus> InternetThread;
    AnsiString InternetCheckIP;  // empty while no check runs
    bool InternetOk = false;
    bool ConnectingShown = false;
    bool WaitForAddress = false;
    int32_t RenewCountdown = -1;
    TLinkStatistics Statistics;  // counters and times of the statistics panel
    WLProfile AppliedProfile{};

    // The system's tick count in ms; tests set their own clock.
    std::function<uint32_t()> TickCount;
    // How the internet check tries; the program keeps the defaults, tests point it at
    // listeners of their own.
    InternetCheckSetup InternetSetup;

private:
    void BtnMoreClick(TObject* sender);
    void BtnStatusClick(TObject* sender);
    void BtnStatisticsClick(TObject* sender);
    void BtnBack1Click(TObject* sender);
    void BtnToProf1Click(TObject* sender);
    void BtnRefreshClick(TObject* sender);

    void ShowPanel(TPanel* panel);
    TAnimate* Clip(TLinkClip clip) const;
    void StopInternetThread();
    void EmptyStatistics();
    std::vector<TLabel*> StatusLabels() const;
    std::vector<TLabel*> StatisticsLabels() const;  // LbTxRate to LbTotalTime, not LbDrvVer
};
