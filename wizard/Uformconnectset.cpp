#include "Uformconnectset.h"

#include "../core/Ucontrolhelpers.h"
#include "../core/Udefine.h"
#include "../core/Uprofile.h"
#include "../monitor/Uformres.h"
#include "../monitor/Uskinwindow.h"
#include "Uframewep.h"
#include "Uframewpapsk.h"
#include "Ukeyrules.h"
#include "Uwizardpage.h"

TFormConnectSet* FormConnectSet = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 580, 409},          {"ImgCaption", 4, 78, 572, 59},
    {"BtnConnect", 504, 366, 71, 33},   {"BtnCancel", 440, 366, 63, 33},
    {"FrameWEP1", 4, 138, 572, 219},    {"FrameWPAPSK1", 4, 138, 572, 219},
    {"CmbSecurity", 115, 203, 121, 21},
};

constexpr int kCornerEllipse = 20;
// Where the pages' entries lie in the dialog, in the page's own coordinates.
constexpr int kEntryLeft = 111;
constexpr int kWepSizeTop = 96;
constexpr int kWepPassphraseTop = 129;
constexpr int kWepKeyTop = 161;
constexpr int kPskCipherTop = 106;
constexpr int kPskPassphraseTop = 147;

void MoveTo(TControl* control, int left, int top) {
    control->SetBounds(left, top, control->Width(), control->Height());
}

void PutPicture(TImage* image, TImage* from) {
    if (from) image->Picture()->Assign(from->Picture());
}

}  // namespace

TFormConnectSet::TFormConnectSet(TComponent* owner) : TFormBase(owner) {
    SetClientWidth(580);
    SetClientHeight(409);

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgBG->OnMouseMove = Bind(this, &TFormConnectSet::ImgBGMouseMove);
    ImgCaption = NewControl<TImage>(this, this, kLayout, "ImgCaption");
    auto button = [this](const char* name, void (TFormConnectSet::*click)(TObject*)) {
        auto* b = NewControl<TTrifaceBtn>(this, this, kLayout, name);
        b->SetCursor(crHandPoint);
        b->SetTabStop(false);
        b->SetNoFocusRect(true);
        b->OnClick = Bind(this, click);
        return b;
    };
    BtnConnect = button("BtnConnect", &TFormConnectSet::BtnConnectClick);
    BtnCancel = button("BtnCancel", &TFormConnectSet::BtnCancelClick);

    constexpr size_t kRows = sizeof(kLayout) / sizeof(kLayout[0]);
    FrameWEP1 = new TFrameWEP(this);
    PlaceWizardPage(FrameWEP1, this, kLayout, kRows, "FrameWEP1");
    FrameWPAPSK1 = new TFrameWPAPSK(this);
    PlaceWizardPage(FrameWPAPSK1, this, kLayout, kRows, "FrameWPAPSK1");

    CmbSecurity = NewControl<TComboBox>(this, this, kLayout, "CmbSecurity");
    CmbSecurity->SetTabStop(true);
    CmbSecurity->OnSelect = Bind(this, &TFormConnectSet::CmbSecuritySelect);

    OnCreate = Bind(this, &TFormConnectSet::FormCreate);
    OnClose = Bind(this, &TFormConnectSet::FormClose);
}

void TFormConnectSet::FormCreate(TObject*) {
    MakeBorderless(this, FormRes ? FormRes->ImgCntSetBG->Picture() : nullptr, kCornerEllipse);
}

bool TFormConnectSet::PrepareForm(int arg) {
    if (FormRes) {
        PutPicture(ImgBG, FormRes->ImgCntSetBG);
        SetButtonFaces(BtnCancel, FormRes->ImgBtnCancelN, FormRes->ImgBtnCancelH);
        SetButtonFaces(BtnConnect, FormRes->ImgBtnConnect2N, FormRes->ImgBtnConnect2H);
    }
    FrameWEP1->Hide();
    FrameWPAPSK1->Hide();
    ActiveFrame = nullptr;
    // InitPage puts the wizard's backgrounds in; the dialog's replace them.
    FrameWEP1->InitPage();
    FrameWPAPSK1->InitPage();
    LayoutFramesForDialog();

    const WLProfile& profile = FAGlobalVar.EditProfile;
    FillCombo(CmbSecurity, ConnectSecurityChoices(FAGlobalVar.Words, profile.NetworkMode));
    if (!SelectComboByValue(FAGlobalVar, CmbSecurity, profile.EncryptionMethod)) return false;
    CmbSecuritySelect(this);
    return TFormBase::PrepareForm(arg);
}

void TFormConnectSet::LayoutFramesForDialog() {
    if (FormRes) {
        PutPicture(FrameWEP1->ImgBG, FormRes->ImgCntWEP);
        PutPicture(FrameWPAPSK1->ImgBG, FormRes->ImgCntPSK);
    }
    MoveTo(FrameWEP1->CmbWEP, kEntryLeft, kWepSizeTop);
    MoveTo(FrameWEP1->EdtPassphrase, kEntryLeft, kWepPassphraseTop);
    for (int i = 0; i < kWepKeyCount; ++i) MoveTo(FrameWEP1->KeyEdit(i), kEntryLeft, kWepKeyTop);
    FrameWEP1->CmbTXKey->Hide();
    FrameWEP1->CmbAuthen->Hide();
    MoveTo(FrameWPAPSK1->CmbEncry, kEntryLeft, kPskCipherTop);
    MoveTo(FrameWPAPSK1->EdtPassphrase, kEntryLeft, kPskPassphraseTop);
}

void TFormConnectSet::CmbSecuritySelect(TObject*) {
    if (CmbSecurity->ItemIndex() < 0) return;
    if (ActiveFrame) ActiveFrame->Hide();
    intptr_t method = SelectedComboValue(CmbSecurity, 0);
    TImage* caption = nullptr;
    if (method == 1) {
        caption = FormRes ? FormRes->ImgCntCaptionWEP : nullptr;
        ActiveFrame = FrameWEP1;
    } else if (method == 2) {
        caption = FormRes ? FormRes->ImgCntCaptionPSK : nullptr;
        ActiveFrame = FrameWPAPSK1;
    }
    PutPicture(ImgCaption, caption);
    if (!ActiveFrame) return;
    ActiveFrame->Show();
    // The list lies over the page.
    CmbSecurity->BringToFront();
    ActiveFrame->EnterPage(nullptr, kPageForward, 0);
}

void TFormConnectSet::BtnConnectClick(TObject*) {
    if (ActiveFrame) {
        WLProfile& profile = FAGlobalVar.EditProfile;
        const WLProfile before = profile;
        int32_t method = static_cast<int32_t>(SelectedComboValue(CmbSecurity, 0));
        ResetProfileSecurity(FAGlobalVar, profile);
        profile.EncryptionMethod = method;
        if (!ActiveFrame->LeavePage(nullptr, kPageForward, 0)) {
            profile = before;
            return;
        }
    }
    SetModalResult(mrOk);
}

void TFormConnectSet::BtnCancelClick(TObject*) {
    SetModalResult(mrCancel);
}

void TFormConnectSet::FormClose(TObject*, TCloseAction&) {
    FrameWEP1->ClosePage();
    FrameWPAPSK1->ClosePage();
}

void TFormConnectSet::ImgBGMouseMove(TObject*, TShiftState shift, int, int) {
    DragByBackground(this, shift);
}
