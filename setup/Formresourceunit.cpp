#include "Formresourceunit.h"

#include <windows.h>

TResourceForm* ResourceForm = nullptr;

namespace {

struct PictureEntry {
    const char* Name;
    TImage* TResourceForm::*Member;
};

using R = TResourceForm;
const PictureEntry kPictures[] = {
    {"ImgBtnInstallNormal", &R::ImgBtnInstallNormal},
    {"ImgBtnInstallHighlight", &R::ImgBtnInstallHighlight},
    {"ImgBtnUserGuideNormal", &R::ImgBtnUserGuideNormal},
    {"ImgBtnUserGuideHighlight", &R::ImgBtnUserGuideHighlight},
    {"ImgBtnNextNormal", &R::ImgBtnNextNormal},
    {"ImgBtnNextHighlight", &R::ImgBtnNextHighlight},
    {"ImgBtnCancelNormal", &R::ImgBtnCancelNormal},
    {"ImgBtnCancelHighlight", &R::ImgBtnCancelHighlight},
    {"ImgBtnExitNormal", &R::ImgBtnExitNormal},
    {"ImgBtnExitHighlight", &R::ImgBtnExitHighlight},
    {"ImgBgWelcome", &R::ImgBgWelcome},
    {"ImgBgStep", &R::ImgBgStep},
};

}  // namespace

void LoadResourcePicture(TImage* image, const char* name) {
    image->Picture()->LoadFromResourceName(GetModuleHandleA(nullptr), name);
}

TResourceForm::TResourceForm(TComponent* owner) : TForm(owner) {
    for (const PictureEntry& entry : kPictures) {
        auto* image = NewComponent<TImage>(this, entry.Name);
        image->SetAutoSize(true);
        LoadResourcePicture(image, entry.Name);
        this->*entry.Member = image;
    }
}
