#include "Uframeinfo.h"

#include <cstring>
#include <string>

#include "../classlib/Application.h"
#include "../core/Udebug.h"
#include "../core/Udefine.h"
#include "../core/Uvyxwllib.h"
#include "Uformaskinfo.h"
#include "Uformmessage.h"
#include "Uformres.h"
#include "Uprofilelogic.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 447, 268},          {"PlAnimate", 0, 0, 447, 218},
    {"ImgInfo", 0, 0, 447, 218},        {"AniRadioE", 170, 112, 68, 65},
    {"AniRadioD", 176, 116, 68, 68},    {"AniInternetE", 319, 131, 32, 32},
    {"AniInternetD", 319, 131, 32, 32}, {"BtnMore", 13, 7, 100, 24},
    {"PlStatus", 0, 0, 447, 218},       {"ImgStatus", 0, 0, 447, 218},
    {"BtnBack2", 13, 7, 100, 24},       {"BtnStatistics", 121, 7, 100, 24},
    {"BtnToProf2", 229, 7, 100, 24},    {"LbStatus", 134, 88, 83, 14},
    {"LbSSID", 134, 103, 83, 14},       {"LbWlMode", 134, 119, 83, 14},
    {"LbTransfer", 134, 135, 83, 14},   {"LbChannel", 134, 151, 83, 14},
    {"LbSecurity", 134, 167, 83, 14},   {"LbAuthen", 134, 182, 83, 14},
    {"LbIP", 312, 88, 105, 14},         {"LbMask", 312, 103, 105, 14},
    {"LbGateway", 312, 119, 105, 14},   {"LbDNS", 312, 135, 105, 14},
    {"LbDHCP", 312, 151, 105, 14},      {"LbMAC", 312, 167, 105, 14},
    {"PlStatistic", 0, 0, 447, 218},    {"ImgStatistics", 0, 0, 447, 218},
    {"BtnBack1", 13, 7, 100, 24},       {"BtnStatus", 121, 7, 100, 24},
    {"BtnToProf1", 229, 7, 100, 24},    {"BtnRefresh", 327, 170, 76, 21},
    {"LbTxRate", 162, 87, 63, 14},      {"LbRxRate", 162, 103, 63, 14},
    {"LbPackRx", 162, 119, 63, 14},     {"LbPackTx", 162, 135, 63, 14},
    {"LbByteRx", 162, 151, 63, 14},     {"LbByteTx", 162, 167, 63, 14},
    {"LbDrvVer", 162, 183, 63, 14},     {"LbNoise", 318, 87, 99, 14},
    {"LbSignal", 318, 103, 99, 14},     {"LbPower", 318, 119, 99, 14},
    {"LbUpTime", 318, 135, 99, 14},     {"LbTotalTime", 318, 151, 99, 14},
    {"ImgBottom", 0, 218, 447, 50},     {"ImgSignal", 124, 238, 83, 14},
    {"ImgLink", 322, 238, 83, 14},
};

const char kInternetChecked[] = "internet chk %s";
const char kNoAddress[] = "0.0.0.0";
constexpr int kClipStopFrame = 6;
constexpr size_t kAddressText = 260;

TBitmap* Face(TImage* image) {
    return image->Picture()->Bitmap();
}

void SetFaces(TTrifaceBtn* button, TImage* normal, TImage* pressed, TImage* hover) {
    button->SetFaces(Face(normal));
    button->SetFacesDown(Face(pressed));
    button->SetFacesOver(Face(hover));
}

// One address of a NetworkInfo as the driver library writes it; the buffer is cleared each time,
// so a conversion that writes nothing gives the empty text, never an earlier address.
AnsiString AddressText(const uint8_t* address) {
    char text[kAddressText];
    std::memset(text, 0, sizeof(text));
    if (DriverLib.VYXWL_IPDataToStr) DriverLib.VYXWL_IPDataToStr(address, text);
    return TextField(text);
}

}  // namespace

TFrameInfo::TFrameInfo(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 447, 268);
    Font()->SetName("Arial");
    TickCount = [] { return static_cast<uint32_t>(GetTickCount()); };

    auto panel = [this](const char* name) {
        auto* p = NewControl<TPanel>(this, this, kLayout, name);
        p->SetBevelOuter(bvNone);
        p->SetBevelInner(bvNone);
        return p;
    };
    auto button = [this](TWinControl* parent, const char* name,
                         void (TFrameInfo::*click)(TObject*)) {
        auto* b = NewControl<TTrifaceBtn>(this, parent, kLayout, name);
        b->SetCursor(crHandPoint);
        b->SetTabStop(false);
        b->SetNoFocusRect(true);
        b->OnClick = Bind(this, click);
        return b;
    };
    auto label = [this](TWinControl* parent, const char* name) {
        auto* l = NewControl<TLabel>(this, parent, kLayout, name);
        l->SetTransparent(true);
        return l;
    };
    auto clip = [this](const char* name) {
        auto* a = NewControl<TAnimate>(this, PlAnimate, kLayout, name);
        a->SetStopFrame(kClipStopFrame);
        a->SetActive(false);
        a->Hide();
        return a;
    };

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");

    PlAnimate = panel("PlAnimate");
    ImgInfo = NewControl<TImage>(this, PlAnimate, kLayout, "ImgInfo");
    AniRadioE = clip("AniRadioE");
    AniRadioD = clip("AniRadioD");
    AniInternetE = clip("AniInternetE");
    AniInternetD = clip("AniInternetD");
    BtnMore = button(PlAnimate, "BtnMore", &TFrameInfo::BtnMoreClick);

    PlStatus = panel("PlStatus");
    ImgStatus = NewControl<TImage>(this, PlStatus, kLayout, "ImgStatus");
    BtnBack2 = button(PlStatus, "BtnBack2", &TFrameInfo::BtnBack1Click);
    BtnStatistics = button(PlStatus, "BtnStatistics", &TFrameInfo::BtnStatisticsClick);
    BtnToProf2 = button(PlStatus, "BtnToProf2", &TFrameInfo::BtnToProf1Click);
    LbStatus = label(PlStatus, "LbStatus");
    LbSSID = label(PlStatus, "LbSSID");
    LbWlMode = label(PlStatus, "LbWlMode");
    LbTransfer = label(PlStatus, "LbTransfer");
    LbChannel = label(PlStatus, "LbChannel");
    LbSecurity = label(PlStatus, "LbSecurity");
    LbAuthen = label(PlStatus, "LbAuthen");
    LbIP = label(PlStatus, "LbIP");
    LbMask = label(PlStatus, "LbMask");
    LbGateway = label(PlStatus, "LbGateway");
    LbDNS = label(PlStatus, "LbDNS");
    LbDHCP = label(PlStatus, "LbDHCP");
    LbMAC = label(PlStatus, "LbMAC");

    PlStatistic = panel("PlStatistic");
    ImgStatistics = NewControl<TImage>(this, PlStatistic, kLayout, "ImgStatistics");
    BtnBack1 = button(PlStatistic, "BtnBack1", &TFrameInfo::BtnBack1Click);
    BtnStatus = button(PlStatistic, "BtnStatus", &TFrameInfo::BtnStatusClick);
    BtnToProf1 = button(PlStatistic, "BtnToProf1", &TFrameInfo::BtnToProf1Click);
    BtnRefresh = button(PlStatistic, "BtnRefresh", &TFrameInfo::BtnRefreshClick);
    LbTxRate = label(PlStatistic, "LbTxRate");
    LbRxRate = label(PlStatistic, "LbRxRate");
    LbPackRx = label(PlStatistic, "LbPackRx");
    LbPackTx = label(PlStatistic, "LbPackTx");
    LbByteRx = label(PlStatistic, "LbByteRx");
    LbByteTx = label(PlStatistic, "LbByteTx");
    LbDrvVer = label(PlStatistic, "LbDrvVer");
    LbNoise = label(PlStatistic, "LbNoise");
    LbSignal = label(PlStatistic, "LbSignal");
    LbPower = label(PlStatistic, "LbPower");
    LbUpTime = label(PlStatistic, "LbUpTime");
    LbTotalTime = label(PlStatistic, "LbTotalTime");

    ImgBottom = NewControl<TImage>(this, this, kLayout, "ImgBottom");
    auto meter = [this](const char* name) {
        auto* m = NewControl<TQXImage>(this, this, kLayout, name);
        if (FormRes) m->SetImageList(FormRes->imgListMeter);
        return m;
    };
    ImgSignal = meter("ImgSignal");
    ImgLink = meter("ImgLink");

    PlStatus->Hide();
    PlStatistic->Hide();
}

TFrameInfo::~TFrameInfo() {
    StopInternetThread();
}

std::vector<TLabel*> TFrameInfo::StatusLabels() const {
    return {LbStatus, LbSSID, LbWlMode,  LbTransfer, LbChannel, LbSecurity, LbAuthen,
            LbIP,     LbMask, LbGateway, LbDNS,      LbDHCP,    LbMAC};
}

std::vector<TLabel*> TFrameInfo::StatisticsLabels() const {
    return {LbTxRate, LbRxRate, LbPackRx, LbPackTx, LbByteRx,   LbByteTx,
            LbNoise,  LbSignal, LbPower,  LbUpTime, LbTotalTime};
}

TAnimate* TFrameInfo::Clip(TLinkClip clip) const {
    switch (clip) {
        case TLinkClip::RadioUp:
            return AniRadioE;
        case TLinkClip::RadioDown:
            return AniRadioD;
        case TLinkClip::InternetUp:
            return AniInternetE;
        case TLinkClip::InternetDown:
            return AniInternetD;
        case TLinkClip::None:
            break;
    }
    return nullptr;
}

// ---- page operations ----

void TFrameInfo::InitPage() {
    const AnsiString& dir = FAGlobalVar.ExeDir;
    AniRadioE->SetFileName(dir + "radio.m");
    AniRadioD->SetFileName(dir + "broken.m");
    AniInternetE->SetFileName(dir + "radioi.m");
    AniInternetD->SetFileName(dir + "brokeni.m");
    AniInternetE->SetBounds(319, 131, AniInternetE->Width(), AniInternetE->Height());
    AniInternetD->SetBounds(319, 131, AniInternetD->Width(), AniInternetD->Height());
    if (FormRes) {
        ImgBG->Picture()->Assign(FormRes->ImgFrameBG->Picture());
        ImgStatistics->Picture()->Assign(FormRes->ImgPlStatistics->Picture());
        ImgStatus->Picture()->Assign(FormRes->ImgPlStatus->Picture());
        ImgBottom->Picture()->Assign(FormRes->ImgInfoBottom->Picture());
        SetFaces(BtnMore, FormRes->ImgBtnMoreN, FormRes->ImgBtnMoreH, FormRes->ImgBtnMoreH);
        for (TTrifaceBtn* back : {BtnBack1, BtnBack2})
            SetFaces(back, FormRes->ImgBtnBack1N, FormRes->ImgBtnBack1H, FormRes->ImgBtnBack1H);
        SetFaces(BtnStatus, FormRes->ImgBtnStatusN, FormRes->ImgBtnStatusH, FormRes->ImgBtnStatusH);
        SetFaces(BtnStatistics, FormRes->ImgBtnStatisticsN, FormRes->ImgBtnStatisticsH,
                 FormRes->ImgBtnStatisticsH);
        for (TTrifaceBtn* toProf : {BtnToProf1, BtnToProf2})
            SetFaces(toProf, FormRes->ImgBtnToProfN, FormRes->ImgBtnToProfH,
                     FormRes->ImgBtnToProfH);
        SetFaces(BtnRefresh, FormRes->ImgBtnRefreshN, FormRes->ImgBtnRefreshD,
                 FormRes->ImgBtnRefreshH);
    }
    ResetPage();
    TPropertyPageFrame::InitPage();
}

void TFrameInfo::ClosePage() {
    StartInternetCheck(false, "");
    TPropertyPageFrame::ClosePage();
}

void TFrameInfo::ResetPage() {
    StartInternetCheck(false, "");
    ShowLinkPicture(kPictureIdle);
    BtnBack1Click(this);
    for (TLabel* l : StatusLabels()) l->SetCaption("");
    for (TLabel* l : StatisticsLabels()) l->SetCaption("");
    LbDrvVer->SetCaption("");
    ImgSignal->SetImageIndex(0);
    ImgLink->SetImageIndex(0);
    for (TTrifaceBtn* b : {BtnRefresh, BtnToProf1, BtnToProf2}) b->SetEnabled(false);
    DriverVersionShown = false;
    ConnectingShown = false;
    WaitForAddress = false;
    RenewCountdown = -1;
    Statistics.Reset();
    TPropertyPageFrame::ResetPage();
}

void TFrameInfo::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) {
        Adapter = adapter;
    } else if (kind == acDetached) {
        Adapter = nullptr;
        ResetPage();
    }
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}

void TFrameInfo::AdapterEvent(CAdapter* adapter, int type, int value) {
    if (type == aeStatusUpdated) {
        RefreshLinkInfo();
    } else if (type == aeProfileApplied) {
        OnProfileApplied();
    }
    TPropertyPageFrame::AdapterEvent(adapter, type, value);
}

void TFrameInfo::ShowStatusPanel() {
    BtnBack1Click(this);
}

// ---- the link picture ----

void TFrameInfo::ShowLinkPicture(int32_t state) {
    if (state == PictureState) return;
    for (TAnimate* a : {AniRadioE, AniRadioD, AniInternetE, AniInternetD}) a->Hide();
    PictureState = state;
    if (const TPictureLook* look = PictureLook(state)) {
        if (FormRes) {
            if (auto* picture = dynamic_cast<TImage*>(FormRes->FindComponent(look->Picture)))
                ImgInfo->Picture()->Assign(picture->Picture());
        }
        if (TAnimate* radio = Clip(look->Radio)) {
            radio->SetBounds(look->RadioLeft, look->RadioTop, radio->Width(), radio->Height());
            radio->Show();
        }
        if (TAnimate* internet = Clip(look->Internet)) internet->Show();
    }
    for (TAnimate* a : {AniRadioE, AniRadioD, AniInternetE, AniInternetD}) {
        a->SetActive(a->Visible());
        // A clip that cannot be played leaves the still picture showing, not an empty box.
        if (a->Visible() && !a->Active()) a->Hide();
    }
    BtnMore->SetVisible(state != kPictureIdle);
}

// ---- polls ----

void TFrameInfo::RefreshLinkInfo() {
    if (!Adapter) return;
    WLStatus status;
    if (Adapter->GetAdapterStatus(status)) {
        if (status.MediaConnect == 0) {
            ShowLinkStatus(status);
            switch (NextIPStep(RenewCountdown)) {
                case TIPStep::Wait:
                    break;  // the IP labels stay as the apply left them
                case TIPStep::Renew:
                    Adapter->RenewIPAddress();
                    DebugPrint("IP renew done");
                    break;
                case TIPStep::Read: {
                    NetworkInfo info;
                    if (Adapter->GetAdapterNetworkInfo(info)) {
                        ShowNetworkInfo(info);
                        if (WaitForAddress) NotifyProgressDone();
                    }
                    break;
                }
            }
            if (IsInfrastructure(status.LinkMode)) {
                AnsiString ip = LbIP->Caption();
                switch (InternetCheckStep(ip, InternetCheckIP)) {
                    case TInternetStep::Stop:
                        StartInternetCheck(false, "");
                        break;
                    case TInternetStep::Start:
                        DebugPrint(kInternetChecked, ip.c_str());
                        StartInternetCheck(true, ip);
                        break;
                    case TInternetStep::Keep:
                        break;
                }
                ShowLinkPicture(ConnectedPicture(true, InternetOk));
            } else {
                StartInternetCheck(false, "");
                ShowLinkPicture(ConnectedPicture(false, InternetOk));
            }
        } else if (!ConnectingShown) {
            ShowNotConnected();
            StartInternetCheck(false, "");
            Statistics.StopCounting();
            ShowLinkPicture(LinkLostPicture(PictureState));
        }
    }
    DriverInfo driver;
    if (!DriverVersionShown && Adapter->GetDriverInfo(driver)) ShowDriverVersion(driver);
}

void TFrameInfo::ShowLinkStatus(const WLStatus& status) {
    ConnectingShown = false;
    if (!BtnRefresh->Enabled()) BtnRefresh->SetEnabled(true);
    Statistics.AccountConnectedTime(TickCount());

    const CCommonString& words = FAGlobalVar.Words;
    LbStatus->SetCaption(words.Connected);
    LbSSID->SetCaption(SsidText(status.Ssid, status.SsidLength));
    LbWlMode->SetCaption(NetworkModeWord(words, status.LinkMode));
    LbTransfer->SetCaption(RateText(status.LinkTxRate, words.Mbps));
    int32_t channel = DriverLib.VYXWL_FrequencyToChannel
                          ? DriverLib.VYXWL_FrequencyToChannel(status.FrequencyKHz)
                          : 0;
    LbChannel->SetCaption(std::to_string(channel));
    LbSecurity->SetCaption(SecurityWord(words, status.SecurityCode));
    LbAuthen->SetCaption(AuthenticationWord(words, status, AppliedProfile));
    uint8_t bssid[6];
    std::memcpy(bssid, status.Bssid, sizeof(bssid));
    LbMAC->SetCaption(BssidText(bssid));

    LbTxRate->SetCaption(RateText(status.LinkTxRate, words.Mbps));
    LbRxRate->SetCaption(RateText(status.LinkRxRate, words.Mbps));
    TCounters shown = Statistics.Account(StatusCounters(status));
    TLabel* counters[kCounterCount] = {LbPackRx, LbPackTx, LbByteRx, LbByteTx};
    for (size_t i = 0; i < kCounterCount; ++i) counters[i]->SetCaption(CounterText(shown[i]));
    LbNoise->SetCaption(LevelText(status.NoiseDbm, words.dBm));
    LbSignal->SetCaption(LevelText(status.SignalDbm, words.dBm));
    LbPower->SetCaption(LevelText(status.TxPowerDbm, words.dBm));
    LbUpTime->SetCaption(FormatDuration(Statistics.UpSeconds()));
    LbTotalTime->SetCaption(FormatDuration(Statistics.TotalSeconds));

    ImgSignal->SetImageIndex(MeterImage(status.SignalDbm));
    ImgLink->SetImageIndex(MeterImage(status.NoiseDbm));
}

void TFrameInfo::EmptyStatistics() {
    for (TLabel* l : StatisticsLabels()) l->SetCaption("");
}

void TFrameInfo::ShowNotConnected() {
    if (BtnRefresh->Enabled()) BtnRefresh->SetEnabled(false);
    EmptyStatistics();
    LbStatus->SetCaption(FAGlobalVar.Words.DisConnected);
    for (TLabel* l : {LbTransfer, LbChannel, LbSecurity, LbAuthen}) l->SetCaption("");
    LbIP->SetCaption(kNoAddress);
    LbMask->SetCaption(kNoAddress);
    for (TLabel* l : {LbGateway, LbDNS, LbDHCP, LbMAC}) l->SetCaption("");
    ImgSignal->SetImageIndex(0);
    ImgLink->SetImageIndex(0);
}

void TFrameInfo::ShowApplyingProfile(const WLProfile& profile) {
    if (BtnRefresh->Enabled()) BtnRefresh->SetEnabled(false);
    ConnectingShown = true;
    WaitForAddress = true;
    const CCommonString& words = FAGlobalVar.Words;
    LbStatus->SetCaption(words.Connecting);
    LbSSID->SetCaption(TextField(profile.Ssid1));
    LbWlMode->SetCaption(NetworkModeWord(words, profile.NetworkMode));
    ShowLinkPicture(ApplyingPicture(profile.NetworkMode));
    for (TLabel* l : {LbTransfer, LbChannel, LbSecurity, LbAuthen}) l->SetCaption("");
    LbIP->SetCaption(kNoAddress);
    LbMask->SetCaption(kNoAddress);
    for (TLabel* l : {LbGateway, LbDNS, LbDHCP, LbMAC}) l->SetCaption("");
    EmptyStatistics();
    ImgSignal->SetImageIndex(0);
    ImgLink->SetImageIndex(0);
}

void TFrameInfo::ShowNetworkInfo(const NetworkInfo& info) {
    LbIP->SetCaption(AddressOrZero(AddressText(info.NI_IpAddr)));
    LbMask->SetCaption(AddressOrZero(AddressText(info.NI_IpMask)));
    LbGateway->SetCaption(AddressText(info.NI_IpGate1));
    LbDNS->SetCaption(AddressText(info.NI_IpDNS1));
    const CCommonString& words = FAGlobalVar.Words;
    LbDHCP->SetCaption((info.NI_wNetFlags & 0x1) ? words.Disabled : words.Enabled);
}

void TFrameInfo::ShowDriverVersion(const DriverInfo& info) {
    LbDrvVer->SetCaption(TextField(info.Version));
    DriverVersionShown = true;
}

// ---- after an apply ----

void TFrameInfo::OnProfileApplied() {
    BtnBack1Click(this);
    RenewCountdown = kRenewAfterPolls;
    Statistics.StopCounting();
    StartInternetCheck(false, "");
    if (!Adapter) return;
    WLProfile applied;
    if (Adapter->GetAppliedProfile(&applied)) {
        ShowApplyingProfile(applied);
        AppliedProfile = applied;
    }
    BtnToProf1->SetEnabled(true);
    BtnToProf2->SetEnabled(true);
}

void TFrameInfo::NotifyProgressDone() {
    if (!AddressReady(LbIP->Caption(), LbDNS->Caption())) return;
    WaitForAddress = false;
    HWND progress = FindWindowA("TFormProgress", Application->Title().c_str());
    if (progress) PostMessageA(progress, BroadcastMsgId, bmCloseDialogs, 0);
}

// ---- internet check ----

void TFrameInfo::StopInternetThread() {
    if (!InternetThread) return;
    InternetThread->StopInternetCheck();
    // A thread still inside a name lookup frees itself when it ends; it reports nothing more.
    ReleaseThread(InternetThread);
}

void TFrameInfo::StartInternetCheck(bool start, const AnsiString& ip) {
    StopInternetThread();
    InternetCheckIP.clear();
    OnInternetStatus(false);
    if (!start) return;
    InternetCheckIP = ip;
    InternetThread = std::make_unique<ThreadInternetStatus>(
        ip, [this](bool ok) { OnInternetStatus(ok); }, InternetSetup);
}

void TFrameInfo::OnInternetStatus(bool ok) {
    ShowLinkPicture(InternetPicture(PictureState, ok));
    InternetOk = ok;
}

// ---- buttons ----

void TFrameInfo::ShowPanel(TPanel* panel) {
    for (TPanel* p : {PlAnimate, PlStatus, PlStatistic}) p->SetVisible(p == panel);
}

void TFrameInfo::BtnMoreClick(TObject*) {
    ShowPanel(PlStatus);
}

void TFrameInfo::BtnStatusClick(TObject*) {
    ShowPanel(PlStatus);
}

void TFrameInfo::BtnStatisticsClick(TObject*) {
    ShowPanel(PlStatistic);
}

void TFrameInfo::BtnBack1Click(TObject*) {
    ShowPanel(PlAnimate);
}

void TFrameInfo::BtnRefreshClick(TObject*) {
    Statistics.Restart();
    for (TLabel* l : {LbPackRx, LbPackTx, LbByteRx, LbByteTx}) l->SetCaption(CounterText(0));
    LbUpTime->SetCaption(FormatDuration(0));
    if (PlStatistic->CanFocus()) PlStatistic->SetFocus();
}

void TFrameInfo::BtnToProf1Click(TObject*) {
    WLProfile& edit = FAGlobalVar.EditProfile;
    if (!Adapter || !Adapter->GetAppliedProfile(&edit)) return;
    std::vector<WLProfile> profiles;
    Adapter->GetProfiles(profiles);
    AnsiString name;
    if (!AskProfileName(name, profiles)) return;
    SetTextField(edit.ProfileName, name);
    SetTextField(edit.NetworkInfo.NI_sz_CurProfile, name);
    if (TForm* main = Application->MainForm())
        SendMessageA(main->Handle(), BroadcastMsgId, bmProfileSaved, WizardModeNew);
}

bool TFrameInfo::AskProfileName(AnsiString& name, const std::vector<WLProfile>& profiles) {
    ProfilePageTexts texts = LoadProfilePageTexts(FAGlobalVar.TextSection("FrameProfile"),
                                                  FAGlobalVar.TextSection("ErMsg"));
    // The profile page's question, its names checked against the worker's list.
    ProfileNamePrompt prompt;
    prompt.Texts = &texts;
    prompt.Message = [this](int flags, const AnsiString& text) {
        return ShowPageMessage(flags, text);
    };
    prompt.Exists = [&profiles](const AnsiString& typed) {
        return ProfileNameInList(typed, profiles);
    };
    prompt.StillWanted = [this] { return Adapter != nullptr; };
    return AskProfileNameOver(dynamic_cast<TForm*>(Owner()), prompt, name);
}

int TFrameInfo::ShowPageMessage(int flags, const AnsiString& text) {
    TAutoFree<TFormMessage> dialog(NewForm<TFormMessage>(Application));
    return ShowMessageBox(dialog.get(), dynamic_cast<TForm*>(Owner()), flags, text);
}
