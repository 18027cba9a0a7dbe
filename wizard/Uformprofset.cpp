#include "Uformprofset.h"

#include "../classlib/Application.h"
#include "../core/Uadapter.h"
#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "../monitor/Uskinwindow.h"
#include "Uframechannel.h"
#include "Uframeconfirm.h"
#include "Uframenetwork.h"
#include "Uframeradius.h"
#include "Uframesecurity.h"
#include "Uframewep.h"
#include "Uframewlnetwork.h"
#include "Uframewpa.h"
#include "Uframewpapsk.h"
#include "Uframnettype.h"
#include "Uwizardpage.h"

TFormProfSet* FormProfSet = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 580, 436},
    {"ImgCaption", 4, 77, 572, 54},
    {"FrameWlNetwork1", 4, 133, 572, 219},
    {"FrameNetwork1", 4, 133, 572, 219},
    {"FrameNetType1", 4, 133, 572, 219},
    {"FrameChannel1", 4, 133, 572, 219},
    {"FrameSecurity1", 4, 133, 572, 219},
    {"FrameWEP1", 4, 133, 572, 219},
    {"FrameWPAPSK1", 4, 133, 572, 219},
    {"FrameWPA1", 4, 133, 572, 219},
    {"FrameRadius1", 4, 133, 572, 219},
    {"FrameConfirm1", 4, 133, 572, 219},
    {"BtnManual", 471, kButtonStripTop, 104, 20},
    {"BtnNext", 518, kButtonStripTop, 57, 20},
    {"BtnBack", 461, kButtonStripTop, 57, 20},
    {"BtnExit", 404, kButtonStripTop, 57, 20},
    {"BtnSave", 518, kButtonStripTop, 57, 20},
    {"BtnConnectNet", 482, kButtonStripTop, 93, 28},
    {"BtnToProfScr", 389, kButtonStripTop, 93, 28},
};

constexpr int kCornerEllipse = 20;
const char kDefaultWizardCaption[] = "Tervalo Setup Wizard";
const char kStoreFailed[] = "The profile could not be stored.";

}  // namespace

TFormProfSet::TFormProfSet(TComponent* owner) : TFormBase(owner) {
    SetClientWidth(580);
    SetClientHeight(436);

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgBG->OnMouseMove = Bind(this, &TFormProfSet::ImgBGMouseMove);
    ImgCaption = NewControl<TImage>(this, this, kLayout, "ImgCaption");

    FrameWlNetwork1 =
        PlacePage(new TFrameWlNetwork(this), TWizardPage::WlNetwork, "FrameWlNetwork1");
    FrameNetwork1 = PlacePage(new TFrameNetwork(this), TWizardPage::Network, "FrameNetwork1");
    FrameNetType1 = PlacePage(new TFrameNetType(this), TWizardPage::NetType, "FrameNetType1");
    FrameChannel1 = PlacePage(new TFrameChannel(this), TWizardPage::Channel, "FrameChannel1");
    FrameSecurity1 = PlacePage(new TFrameSecurity(this), TWizardPage::Security, "FrameSecurity1");
    FrameWEP1 = PlacePage(new TFrameWEP(this), TWizardPage::WEP, "FrameWEP1");
    FrameWPAPSK1 = PlacePage(new TFrameWPAPSK(this), TWizardPage::WPAPSK, "FrameWPAPSK1");
    PlacePage(new TFrameWPA(this), TWizardPage::WPA, "FrameWPA1");
    PlacePage(new TFrameRadius(this), TWizardPage::Radius, "FrameRadius1");
    FrameConfirm1 = PlacePage(new TFrameConfirm(this), TWizardPage::Confirm, "FrameConfirm1");

    BtnManual = MakeButton(TWizardButton::Manual, "BtnManual", &TFormProfSet::BtnNextClick);
    BtnNext = MakeButton(TWizardButton::Next, "BtnNext", &TFormProfSet::BtnNextClick);
    BtnBack = MakeButton(TWizardButton::Back, "BtnBack", &TFormProfSet::BtnBackClick);
    BtnExit = MakeButton(TWizardButton::Exit, "BtnExit", &TFormProfSet::BtnExitClick);
    BtnSave = MakeButton(TWizardButton::Save, "BtnSave", &TFormProfSet::BtnSaveClick);
    BtnConnectNet =
        MakeButton(TWizardButton::ConnectNet, "BtnConnectNet", &TFormProfSet::BtnConnectNetClick);
    BtnToProfScr =
        MakeButton(TWizardButton::ToProfScr, "BtnToProfScr", &TFormProfSet::BtnToProfScrClick);
    UpdateAdapterButtons();
    HideWizardButtons();

    OnCreate = Bind(this, &TFormProfSet::FormCreate);
    OnShow = Bind(this, &TFormProfSet::FormShow);
    OnClose = Bind(this, &TFormProfSet::FormClose);
}

void TFormProfSet::AddRoutePage(TPropertyPageFrame* page, TWizardPage step, const char* name) {
    PlaceWizardPage(page, this, kLayout, sizeof(kLayout) / sizeof(kLayout[0]), name);
    route_.push_back(TRouteEntry{step, page});
}

TTrifaceBtn* TFormProfSet::MakeButton(TWizardButton which, const char* name,
                                      void (TFormProfSet::*click)(TObject*)) {
    auto* button = NewControl<TTrifaceBtn>(this, this, kLayout, name);
    button->SetCursor(crHandPoint);
    button->SetTabStop(false);
    button->SetNoFocusRect(true);
    button->OnClick = Bind(this, click);
    buttons_[static_cast<size_t>(which)] = button;
    return button;
}

TTrifaceBtn* TFormProfSet::ButtonOf(TWizardButton button) const {
    size_t index = static_cast<size_t>(button);
    return index < buttons_.size() ? buttons_[index] : nullptr;
}

TPropertyPageFrame* TFormProfSet::PageOf(TWizardPage step) const {
    for (const TRouteEntry& entry : route_)
        if (entry.Step == step) return entry.Page;
    return nullptr;
}

TWizardPage TFormProfSet::StepOf(TPropertyPageFrame* page) const {
    for (const TRouteEntry& entry : route_)
        if (page && entry.Page == page) return entry.Step;
    return TWizardPage::None;
}

void TFormProfSet::FormCreate(TObject*) {
    MakeBorderless(this, FormRes ? FormRes->ImgProfSetBG->Picture() : nullptr, kCornerEllipse);
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* page = dynamic_cast<TPropertyPageFrame*>(Components(i));
        if (!page) continue;
        TWinControl* focus = page == FrameWlNetwork1 ? FrameWlNetwork1->LvSite : nullptr;
        PageHost.Add(page, nullptr, focus);
    }
    OnBroadcast(bmApplyPickedNetwork, [this](LPARAM) { ApplyPickedNetwork(); });
}

bool TFormProfSet::PrepareForm(int mode) {
    WizardMode = mode;
    PageHost.Mode = mode;
    finishShown_ = false;
    if (FormRes) {
        ImgBG->Picture()->Assign(FormRes->ImgProfSetBG->Picture());
        SetButtonFaces(BtnManual, FormRes->ImgBtnManualN, FormRes->ImgBtnManualH);
        SetButtonFaces(BtnExit, FormRes->ImgBtnExitN, FormRes->ImgBtnExitH);
        SetButtonFaces(BtnBack, FormRes->ImgBtnBack2N, FormRes->ImgBtnBack2H);
        SetButtonFaces(BtnNext, FormRes->ImgBtnNextN, FormRes->ImgBtnNextH);
        SetButtonFaces(BtnSave, FormRes->ImgBtnSaveN, FormRes->ImgBtnSaveH);
        SetButtonFaces(BtnConnectNet, FormRes->ImgBtnConnectNetN, FormRes->ImgBtnConnectNetH);
        SetButtonFaces(BtnToProfScr, FormRes->ImgBtnToProfScrN, FormRes->ImgBtnToProfScrH);
    }
    ImgCaption->Show();
    PageHost.InitPages();
    // The route's first step, whether or not Next is enabled.
    BtnNextClick(this);
    return TFormBase::PrepareForm(mode);
}

// ---- the route ----

bool TFormProfSet::GoNext() {
    TPageHost::TRoute route = [this](TPropertyPageFrame* left) {
        WLProfile& profile = FAGlobalVar.EditProfile;
        WizardStep step =
            NextWizardPage(StepOf(left), profile, FAGlobalVar.WinVer,
                           [this](TWizardPage page) { return PageOf(page) != nullptr; });
        if (step.ClearApplyNetwork) profile.ApplyNetwork = 0;
        return PageOf(step.Page);
    };
    if (!PageHost.Forward(route)) return false;
    ShowPageChrome();
    return true;
}

bool TFormProfSet::GoBack() {
    if (!PageHost.Back()) return false;
    ShowPageChrome();
    return true;
}

void TFormProfSet::BtnNextClick(TObject*) {
    GoNext();
}

void TFormProfSet::BtnBackClick(TObject*) {
    GoBack();
}

void TFormProfSet::ShowPageChrome() {
    TWizardPage step = StepOf(CurrentPage());
    TImage* caption = nullptr;
    if (FormRes)
        caption =
            step == TWizardPage::Confirm ? FormRes->ImgProfCaption2 : FormRes->ImgProfCaption1;
    if (caption) ImgCaption->Picture()->Assign(caption->Picture());
    PlaceStrip(step);
}

// ---- the button strip ----

void TFormProfSet::HideWizardButtons() {
    for (TTrifaceBtn* button : buttons_)
        if (button) button->Hide();
}

void TFormProfSet::PlaceButton(TTrifaceBtn* button, int index, bool visible) {
    button->SetVisible(visible);
    if (!visible) return;
    int32_t left = PlaceStripButton(buttonRight_, index, button->Width());
    button->SetBounds(left, kButtonStripTop, button->Width(), button->Height());
}

void TFormProfSet::PlaceStrip(TWizardPage page) {
    HideWizardButtons();
    int index = 0;
    for (TWizardButton button : WizardButtonStrip(page, WizardMode))
        PlaceButton(ButtonOf(button), index++, true);
}

void TFormProfSet::UpdateAdapterButtons() {
    for (TTrifaceBtn* button : {BtnManual, BtnNext, BtnSave, BtnConnectNet})
        button->SetEnabled(Adapter != nullptr);
}

// ---- storing, the finish page and connecting ----

bool TFormProfSet::StoreEditProfile() {
    if (!FormMain) return false;
    return SendMessageA(FormMain->Handle(), BroadcastMsgId, bmProfileSaved, WizardMode) == 1;
}

void TFormProfSet::ShowStoreFailed() {
    ShowWizardMessage(this, kMsgStop, ErrorText("ErSaveProfile", kStoreFailed));
}

void TFormProfSet::BtnSaveClick(TObject*) {
    if (StepOf(CurrentPage()) != TWizardPage::Confirm) return;
    // The summary stays when the store refused the profile.
    if (!StoreEditProfile()) {
        ShowStoreFailed();
        return;
    }
    ShowFinishPage();
}

void TFormProfSet::ShowFinishPage() {
    PageHost.HideAll();
    ImgCaption->Hide();
    finishShown_ = true;
    PlaceStrip(TWizardPage::Finish);
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfCongrats->Picture());
}

bool TFormProfSet::ApplyEditProfile() {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    // An edited profile keeps what the pages do not show: that may be what cannot be used.
    if (!ProfileIsUsable(profile)) {
        ShowWizardMessage(this, kMsgStop,
                          FillFirstPlaceholder(ErrorText("ErUseProfile", kUnusableProfileText),
                                               TextField(profile.ProfileName)));
        return false;
    }
    // The progress dialog runs over the wizard while the profile is applied.
    if (Adapter) Adapter->ApplyProfileByName(TextField(profile.ProfileName), this);
    return true;
}

void TFormProfSet::PostPageRequest(LPARAM page) {
    if (FormMain) PostMessageA(FormMain->Handle(), BroadcastMsgId, bmShowPage, page);
}

void TFormProfSet::EndRunDone() {
    if (ModalResult() == mrNone) SetModalResult(mrOk);
}

void TFormProfSet::EndRunConnected() {
    // An unplug or control switched off during the progress dialog has its close-dialogs code
    // on the way to every window; it may have ended the progress dialog before it reached us.
    if (Adapter && ControlOnFor(this)) EndRunDone();
}

void TFormProfSet::BtnConnectNetClick(TObject*) {
    if (!ApplyEditProfile()) return;
    PostPageRequest(spInfoPage);
    EndRunConnected();
}

void TFormProfSet::BtnToProfScrClick(TObject*) {
    PostPageRequest(spProfilePage);
    EndRunDone();
}

void TFormProfSet::BtnExitClick(TObject*) {
    SetModalResult(mrCancel);
}

void TFormProfSet::ApplyPickedNetwork() {
    bool picked = InModalRun() && CurrentPage() == FrameWlNetwork1 && Adapter &&
                  FrameWlNetwork1->PickAwaited();
    if (!picked) {
        FrameWlNetwork1->EndPick(false);
        return;
    }
    // Stored first, so that the worker finds it by name.
    if (!StoreEditProfile()) {
        FrameWlNetwork1->EndPick(false);
        ShowStoreFailed();
        return;
    }
    FrameWlNetwork1->EndPick(true);
    if (!ApplyEditProfile()) return;
    PostPageRequest(spInfoPage);
    EndRunConnected();
}

// ---- adapter news ----

void TFormProfSet::NotifyPagesAdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) Adapter = adapter;
    if (kind == acDetached) Adapter = nullptr;
    UpdateAdapterButtons();
    PageHost.AdapterChanged(adapter, kind, reserved);
}

void TFormProfSet::NotifyPagesAdapterEvent(CAdapter* adapter, int type, int value) {
    PageHost.AdapterEvent(adapter, type, value);
}

// ---- the window ----

void TFormProfSet::FormShow(TObject*) {
    CloseInstallerFrontEnd(
        FAGlobalVar.ReadSettingString("Setting", "WizardCaption", kDefaultWizardCaption));
}

void TFormProfSet::FormClose(TObject*, TCloseAction&) {
    PageHost.ClosePages();
}

void TFormProfSet::ImgBGMouseMove(TObject*, TShiftState shift, int, int) {
    DragByBackground(this, shift);
}

bool CloseInstallerFrontEnd(const AnsiString& title) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "TApplication", title.c_str())) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) continue;
        PostMessageA(window, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}
