#include "Qximage.h"

namespace {

constexpr int kFaceNormal = 0;
constexpr int kFaceHot = 1;
constexpr int kFaceDisabled = 3;

}  // namespace

TQXImage::TQXImage(TComponent* owner) : TImage(owner) {}

TImage* TQXImage::GetImage(int index) const {
    if (index < 0 || index >= kImageSlots) return nullptr;
    return images_[index];
}

void TQXImage::SetImage(int index, TImage* image) {
    if (index == 0) {
        SetImage0(image);
    } else if (index > 0 && index < kImageSlots) {
        images_[index] = image;
    }
}

void TQXImage::SetImage0(TImage* image) {
    images_[0] = image;
    if (!image) return;
    Picture()->Assign(image->Picture());
    imageIndex_ = 0;
    listImageShown_ = false;
}

void TQXImage::SetImageList(TImageList* list) {
    imageList_ = list;
    listImageShown_ = false;
    SetImageIndex(0);
}

void TQXImage::SetImageIndex(int index) {
    if (imageSource_ == qsrcImageList) {
        if (!imageList_) return;
        // A meter polled to the step it shows already is not drawn again.
        if (listImageShown_ && index == imageIndex_) return;
        imageIndex_ = index;
        imageList_->GetBitmap(imageIndex_, Picture()->Bitmap());
        listImageShown_ = true;
        Picture()->Changed();
        Repaint();
        return;
    }
    TImage* slot = GetImage(index);
    if (!slot) return;
    Picture()->Assign(slot->Picture());
    Repaint();
    imageIndex_ = index;
}

void TQXImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TImage::MouseDown(button, shift, x, y);
    switch (imageStyle_) {
        case qsPushButton:
            SetImageIndex(kFaceHot);
            break;
        case qsTabButton: {
            SetImageIndex(kFaceHot);
            // Tab buttons of one Tag owned by the grandparent are one group.
            TWinControl* parent = Parent();
            TWinControl* grandparent = parent ? parent->Parent() : nullptr;
            if (!grandparent) break;
            for (int i = 0; i < grandparent->ComponentCount(); ++i) {
                auto* other = dynamic_cast<TQXImage*>(grandparent->Components(i));
                if (other && other != this && other->imageStyle_ == qsTabButton &&
                    other->Tag == Tag)
                    other->SetImageIndex(kFaceNormal);
            }
            break;
        }
        case qsButton:
            break;
    }
}

void TQXImage::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TImage::MouseUp(button, shift, x, y);
    if (imageStyle_ == qsPushButton) SetImageIndex(kFaceNormal);
}

void TQXImage::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CM_MOUSEENTER:
            CMMouseEnter();
            return;
        case CM_MOUSELEAVE:
            CMMouseLeave();
            return;
        default:
            TImage::WndProc(msg);
    }
}

void TQXImage::CMMouseEnter() {
    mouseInside_ = true;
    if (!Enabled()) return;
    if (mouseOverEffect_) SetImageIndex(kFaceHot);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TQXImage::CMMouseLeave() {
    mouseInside_ = false;
    if (!Enabled()) return;
    if (mouseOverEffect_) SetImageIndex(kFaceNormal);
    if (OnMouseLeave) OnMouseLeave(this);
}

void TQXImage::SetEnabled(bool enabled) {
    TImage::SetEnabled(enabled);
    if (enabled) {
        SetImageIndex(mouseOverEffect_ && mouseInside_ ? kFaceHot : kFaceNormal);
        Repaint();
    } else {
        SetImageIndex(kFaceDisabled);
    }
}

void TQXImage::Loaded() {
    if (imageSource_ != qsrcImage) return;
    TImage* slot = GetImage(imageIndex_);
    if (!slot) return;
    Picture()->Assign(slot->Picture());
    listImageShown_ = false;
    Repaint();
}
