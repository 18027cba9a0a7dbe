#include "Pagepropertyunit.h"

#include "Formresourceunit.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBackground", 0, 0, 580, 307},
};

}  // namespace

TSetupPage::TSetupPage(TComponent* owner, const char* picture) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 580, 307);
    ImgBackground = NewControl<TImage>(this, this, kLayout, "ImgBackground");
    ImgBackground->SetAutoSize(true);
    if (picture) LoadResourcePicture(ImgBackground, picture);
}
