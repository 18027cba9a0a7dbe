#include "Uframesecurity.h"

#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "Uwizardpage.h"
#include "Uwizardrules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},
    {"CmbSecurity", 119, 49, 150, 21},
};

}  // namespace

TFrameSecurity::TFrameSecurity(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    CmbSecurity = NewControl<TComboBox>(this, this, kLayout, "CmbSecurity");
    CmbSecurity->SetTabStop(true);
}

bool TFrameSecurity::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    bool infrastructure = profile.NetworkMode == 1;
    if (FormRes) {
        TImage* background = infrastructure ? FormRes->ImgProfSecurityI : FormRes->ImgProfSecurityA;
        ImgBG->Picture()->Assign(background->Picture());
    }
    FillCombo(CmbSecurity, SecurityChoices(FAGlobalVar.Words, profile.NetworkMode));
    SelectValueOrFirst(CmbSecurity, profile.EncryptionMethod);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameSecurity::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward)
        StoreSecurityChoice(FAGlobalVar, FAGlobalVar.EditProfile,
                            static_cast<int32_t>(SelectedComboValue(CmbSecurity, 0)));
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}
