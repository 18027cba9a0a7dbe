#include "Uframeradius.h"

#include "../monitor/Uformres.h"

namespace {

// Design places: those of PEAP, which shows every control.
const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},        {"CmbAuthen", 119, 49, 160, 21},
    {"EdtName", 119, 76, 160, 21},    {"EdtPasswd", 119, 103, 160, 21},
    {"EdtServer", 119, 130, 160, 21}, {"CmbCert", 119, 158, 160, 21},
    {"CmbInner", 119, 185, 160, 21},
};

}  // namespace

TFrameRadius::TFrameRadius(TComponent* owner)
    : TFrameEap(owner, false, kLayout, sizeof(kLayout) / sizeof(kLayout[0])) {}

TImage* TFrameRadius::Background(int32_t type) const {
    if (!FormRes) return nullptr;
    return type == kEapPEAP ? FormRes->ImgProfRadiusPEAP : FormRes->ImgProfRadiusTLS;
}
