#include "Uframewpa.h"

#include "../monitor/Uformres.h"

namespace {

// Design places: those of PEAP, which shows every control.
const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},        {"CmbAuthen", 119, 49, 160, 21},
    {"EdtName", 119, 72, 160, 21},    {"EdtPasswd", 119, 95, 160, 21},
    {"EdtServer", 119, 118, 160, 21}, {"CmbCert", 119, 141, 160, 21},
    {"CmbInner", 119, 163, 160, 21},  {"CmbEncry", 119, 186, 160, 21},
};

}  // namespace

TFrameWPA::TFrameWPA(TComponent* owner)
    : TFrameEap(owner, true, kLayout, sizeof(kLayout) / sizeof(kLayout[0])) {}

TImage* TFrameWPA::Background(int32_t type) const {
    if (!FormRes) return nullptr;
    return type == kEapPEAP ? FormRes->ImgProfWPAPEAP : FormRes->ImgProfWPATLS;
}
