#include "Uframechannel.h"

#include "../core/Uadapter.h"
#include "../core/Ucontrolhelpers.h"
#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "Uwizardpage.h"
#include "Uwizardrules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},
    {"CmbChannel", 116, 49, 150, 21},
    {"CmbMode", 120, 104, 150, 21},
};

// What one GetAllowedChannels call may hand back.
constexpr int32_t kChannelBufferEntries = 260;

}  // namespace

TFrameChannel::TFrameChannel(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    CmbChannel = NewControl<TComboBox>(this, this, kLayout, "CmbChannel");
    CmbChannel->SetTabStop(true);
    CmbMode = NewControl<TComboBox>(this, this, kLayout, "CmbMode");
    CmbMode->SetTabStop(true);
    CmbMode->OnSelect = Bind(this, &TFrameChannel::CmbModeSelect);
}

void TFrameChannel::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfChannel->Picture());
    TPropertyPageFrame::InitPage();
}

bool TFrameChannel::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    int32_t supportMode = FAGlobalVar.SupportMode;
    DriverInfo info;
    if (Adapter && Adapter->GetDriverInfo(info)) supportMode = info.SupportMode;
    FillCombo(CmbMode, ChannelModeChoices(FAGlobalVar.Words, BandModeMask(supportMode)));
    SelectValueOrFirst(CmbMode, FAGlobalVar.DefaultProfile.ABGMode);
    CmbModeSelect(CmbMode);
    // Otherwise the default CmbModeSelect chose stays.
    SelectComboByValue(FAGlobalVar, CmbChannel, FAGlobalVar.EditProfile.Channel);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameChannel::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward) {
        WLProfile& profile = FAGlobalVar.EditProfile;
        const WLProfile& template_ = FAGlobalVar.DefaultProfile;
        profile.Channel = static_cast<int32_t>(SelectedComboValue(CmbChannel, template_.Channel));
        profile.ABGMode = static_cast<int32_t>(SelectedComboValue(CmbMode, template_.ABGMode));
    }
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

void TFrameChannel::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) Adapter = adapter;
    if (kind == acDetached) Adapter = nullptr;
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}

void TFrameChannel::CmbModeSelect(TObject*) {
    CmbChannel->Clear();
    for (int32_t band : ChannelBandsForMode(static_cast<int32_t>(SelectedComboValue(CmbMode, 0))))
        AddBandChannels(band);
    SelectValueOrFirst(CmbChannel, FAGlobalVar.DefaultProfile.Channel);
}

void TFrameChannel::AddBandChannels(int32_t band) {
    if (!Adapter) return;
    int32_t channels[kChannelBufferEntries] = {};
    int32_t size = static_cast<int32_t>(sizeof(channels));
    if (!Adapter->GetAllowedChannels(band, channels, size)) return;
    if (size > kChannelBufferEntries) size = kChannelBufferEntries;
    for (int32_t i = 0; i < size; ++i)
        CmbChannel->Items()->AddValue(Format("%d", static_cast<int>(channels[i])), channels[i]);
}
