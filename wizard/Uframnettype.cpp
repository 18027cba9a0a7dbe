#include "Uframnettype.h"

#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "Uwizardpage.h"
#include "Uwizardrules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},      {"RBtnInfra", 46, 71, 17, 17}, {"LbInfra", 64, 72, 200, 15},
    {"RBtnAdHoc", 46, 106, 17, 17}, {"LbAdHoc", 64, 107, 200, 15}, {"EdtSSID", 89, 158, 105, 22},
};

const char kEmptySsid[] = "In order to select an Ad-Hoc network,\\nyou must enter SSID.";

}  // namespace

TFrameNetType::TFrameNetType(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    RBtnInfra = NewControl<TRadioButton>(this, this, kLayout, "RBtnInfra");
    LbInfra = NewControl<TLabel>(this, this, kLayout, "LbInfra");
    LbInfra->SetTransparent(true);
    LbInfra->OnClick = Bind(this, &TFrameNetType::LbInfraClick);
    RBtnAdHoc = NewControl<TRadioButton>(this, this, kLayout, "RBtnAdHoc");
    LbAdHoc = NewControl<TLabel>(this, this, kLayout, "LbAdHoc");
    LbAdHoc->SetTransparent(true);
    LbAdHoc->OnClick = Bind(this, &TFrameNetType::LbAdHocClick);
    EdtSSID = NewControl<TEdit>(this, this, kLayout, "EdtSSID");
    EdtSSID->SetMaxLength(static_cast<int>(kMaxSsidLength));
    EdtSSID->SetTabStop(true);
}

void TFrameNetType::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfNetType->Picture());
    LbInfra->SetCaption(FAGlobalVar.Words.Infrastructure);
    LbAdHoc->SetCaption(FAGlobalVar.Words.asAdHoc);
    TPropertyPageFrame::InitPage();
}

bool TFrameNetType::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    if (profile.NetworkMode == 1) {
        RBtnInfra->SetChecked(true);
    } else {
        RBtnAdHoc->SetChecked(true);
    }
    EdtSSID->SetText(TextField(profile.Ssid1));
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameNetType::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward &&
        !StoreNetworkType(FAGlobalVar.EditProfile, RBtnInfra->Checked(), EdtSSID->Text(),
                          FAGlobalVar.DefaultProfile.ABGMode)) {
        if (EdtSSID->CanFocus()) EdtSSID->SetFocus();
        ShowWizardMessage(this, kMsgExclamation, ErrorText("ErEmptySSID", kEmptySsid));
        return false;
    }
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

void TFrameNetType::LbInfraClick(TObject*) {
    RBtnInfra->SetChecked(true);
}

void TFrameNetType::LbAdHocClick(TObject*) {
    RBtnAdHoc->SetChecked(true);
}
