#include "ImgList.h"

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

void TImageList::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    pendingName_.clear();
    width_ = width;
    height_ = height;
    if (handle_) ImageList_Destroy(handle_);
    handle_ = nullptr;
}

void TImageList::LoadOnDemand(HINSTANCE instance, const AnsiString& resourceName,
                              TColor maskColor) {
    pendingInstance_ = instance;
    pendingName_ = resourceName;
    pendingMask_ = maskColor;
}

void TImageList::LoadPending() {
    if (pendingName_.empty()) return;
    AnsiString name;
    name.swap(pendingName_);  // once, even when the strip fails to load
    TBitmap strip;
    strip.LoadFromResourceName(pendingInstance_, name);
    AddMasked(&strip, pendingMask_);
}

HIMAGELIST TImageList::Handle() {
    if (!handle_) {
        handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, allocBy_);
        if (!handle_) throw EInvalidGraphicOperation("Cannot create an image list");
    }
    LoadPending();
    return handle_;
}

int TImageList::Count() const {
    // Counting a list still to be loaded loads it: the count is what a user of it would see.
    if (!pendingName_.empty()) const_cast<TImageList*>(this)->Handle();
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

int TImageList::Add(TBitmap* strip, TBitmap* mask) {
    if (!strip || strip->Empty()) throw EInvalidGraphicOperation("No picture to add");
    int index = ImageList_Add(Handle(), strip->Handle(), mask ? mask->Handle() : nullptr);
    if (index < 0) throw EInvalidGraphicOperation("Cannot add the picture to the image list");
    return index;
}

int TImageList::AddMasked(TBitmap* strip, TColor maskColor) {
    if (!strip || strip->Empty()) throw EInvalidGraphicOperation("No picture to add");
    int index = ImageList_AddMasked(Handle(), strip->Handle(), ColorToRGB(maskColor));
    if (index < 0) throw EInvalidGraphicOperation("Cannot add the picture to the image list");
    return index;
}

void TImageList::Clear() {
    pendingName_.clear();
    if (handle_) ImageList_Remove(handle_, -1);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index) {
    if (!canvas || (!handle_ && pendingName_.empty())) return;
    ImageList_Draw(Handle(), index, canvas->Handle(), x, y, ILD_NORMAL);
}

void TImageList::GetBitmap(int index, TBitmap* dest) {
    if (!dest) return;
    dest->SetSize(width_, height_);
    TCanvas* canvas = dest->Canvas();
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = clBtnFace;
    RECT r = {0, 0, width_, height_};
    canvas->FillRect(r);
    Draw(canvas, 0, 0, index);
}

HICON TImageList::GetIcon(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    return ImageList_GetIcon(handle_, index, ILD_NORMAL);
}
