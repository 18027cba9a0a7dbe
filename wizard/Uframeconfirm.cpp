#include "Uframeconfirm.h"

#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "Uwizardpage.h"
#include "Uwizardrules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},      {"LbSSID", 179, 46, 85, 13},
    {"LbNetType", 179, 60, 85, 13}, {"LbChannel", 179, 75, 85, 13},
    {"LbWlMode", 179, 91, 85, 13},  {"LbSecurity", 179, 106, 85, 13},
    {"LbAuthen", 179, 121, 85, 13}, {"LbIP", 179, 136, 85, 13},
    {"LbMask", 179, 151, 85, 13},   {"LbGateway", 179, 166, 85, 13},
    {"LbDNS", 179, 181, 85, 13},
};

}  // namespace

TFrameConfirm::TFrameConfirm(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    TLabel** labels[] = {&LbSSID,   &LbNetType, &LbChannel, &LbWlMode,  &LbSecurity,
                         &LbAuthen, &LbIP,      &LbMask,    &LbGateway, &LbDNS};
    // The labels' rows follow the background's in the layout table.
    for (size_t i = 0; i < sizeof(labels) / sizeof(labels[0]); ++i) {
        *labels[i] = NewControl<TLabel>(this, this, kLayout, kLayout[1 + i].Name);
        (*labels[i])->SetTransparent(true);
    }
}

void TFrameConfirm::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfConfirm->Picture());
    TPropertyPageFrame::InitPage();
}

bool TFrameConfirm::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    ConfirmTexts texts = ConfirmLines(FAGlobalVar.Words, FAGlobalVar.EditProfile, DriverIpText);
    TLabel* labels[] = {LbSSID,   LbNetType, LbChannel, LbWlMode,  LbSecurity,
                        LbAuthen, LbIP,      LbMask,    LbGateway, LbDNS};
    static_assert(sizeof(labels) / sizeof(labels[0]) == kConfirmLineCount, "one label a line");
    for (int i = 0; i < kConfirmLineCount; ++i) labels[i]->SetCaption(texts[i]);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}
