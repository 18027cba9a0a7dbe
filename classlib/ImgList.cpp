#include "ImgList.h"

#include "CommonControls.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
// dest AND NOT source: the mask's white turns the image black there.
const DWORD kRopBlackWhereMasked = 0x00220326;

HBITMAP ColorBitmap(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HBITMAP MaskBitmap(int width, int height) {
    return CreateBitmap(width, height, 1, 1, nullptr);
}

}  // namespace

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    DestroyHandle();
}

void TImageList::DestroyHandle() {
    if (handle_) CommonControls().ImageList_Destroy(handle_);
    handle_ = nullptr;
}

void TImageList::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    pendingName_.clear();
    width_ = width;
    height_ = height;
    count_ = capacity_ = 0;
    image_.Reset();
    mask_.Reset();
    DestroyHandle();
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
    LoadPending();
    if (!handle_) {
        handle_ = CommonControls().ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, count_,
                                                    allocBy_);
        if (!handle_) throw EInvalidGraphicOperation("Cannot create an image list");
        AddToHandle(0, count_);
    }
    return handle_;
}

int TImageList::Count() const {
    // Counting a list still to be loaded loads it: the count is what a user of it would see.
    const_cast<TImageList*>(this)->LoadPending();
    return count_;
}

void TImageList::Reserve(int count) {
    if (count_ + count <= capacity_) return;
    int capacity = count_ + count;
    if (capacity < capacity_ + allocBy_) capacity = capacity_ + allocBy_;
    TGdiObject<HBITMAP> image(ColorBitmap(capacity * width_, height_));
    TGdiObject<HBITMAP> mask(MaskBitmap(capacity * width_, height_));
    if (!image || !mask) throw EInvalidGraphicOperation("Cannot make room in the image list");
    if (count_ > 0) {
        TMemoryDC from(nullptr), to(nullptr);
        from.Select(image_.Get());
        to.Select(image.Get());
        BitBlt(to.Handle(), 0, 0, count_ * width_, height_, from.Handle(), 0, 0, SRCCOPY);
        from.Select(mask_.Get());
        to.Select(mask.Get());
        BitBlt(to.Handle(), 0, 0, count_ * width_, height_, from.Handle(), 0, 0, SRCCOPY);
    }
    image_ = std::move(image);
    mask_ = std::move(mask);
    capacity_ = capacity;
}

int TImageList::Append(TBitmap* strip, TBitmap* mask, COLORREF maskColor) {
    if (!strip || strip->Empty()) throw EInvalidGraphicOperation("No picture to add");
    int count = width_ > 0 && height_ > 0 ? strip->Width() / width_ : 0;
    if (count <= 0) throw EInvalidGraphicOperation("Cannot add the picture to the image list");
    Reserve(count);
    const int first = count_, x = first * width_, w = count * width_;
    {
        TMemoryDC image(nullptr), bits(nullptr);
        image.Select(image_.Get());
        bits.Select(mask_.Get());
        RECT dest = {x, 0, x + w, height_}, source = {0, 0, w, height_};
        strip->DrawOn(image.Handle(), dest, source);
        // A colour source turns into mask bits by its context's background colour: white
        // where the pixel has it.
        if (mask) {
            TMemoryDC from(nullptr);
            from.Select(mask->Handle());
            SetBkColor(from.Handle(), kWhite);
            BitBlt(bits.Handle(), x, 0, w, height_, from.Handle(), 0, 0, SRCCOPY);
        } else if (maskColor != CLR_NONE) {
            SetBkColor(image.Handle(), maskColor);
            BitBlt(bits.Handle(), x, 0, w, height_, image.Handle(), x, 0, SRCCOPY);
        } else {
            PatBlt(bits.Handle(), x, 0, w, height_, BLACKNESS);
        }
        // and mask bits into colour by the target's: white for set bits, black for clear ones
        SetBkColor(image.Handle(), kWhite);
        SetTextColor(image.Handle(), kBlack);
        BitBlt(image.Handle(), x, 0, w, height_, bits.Handle(), x, 0, kRopBlackWhereMasked);
    }
    count_ += count;
    if (handle_) AddToHandle(first, count);
    return first;
}

int TImageList::Add(TBitmap* strip, TBitmap* mask) {
    LoadPending();
    return Append(strip, mask, CLR_NONE);
}

int TImageList::AddMasked(TBitmap* strip, TColor maskColor) {
    LoadPending();
    return Append(strip, nullptr, ColorToRGB(maskColor));
}

void TImageList::CopyImages(int first, int count, TGdiObject<HBITMAP>& image,
                            TGdiObject<HBITMAP>& mask) {
    const int w = count * width_;
    image.Reset(ColorBitmap(w, height_));
    mask.Reset(MaskBitmap(w, height_));
    if (!image || !mask) throw EInvalidGraphicOperation("Cannot copy an image of the list");
    TMemoryDC from(nullptr), to(nullptr);
    from.Select(image_.Get());
    to.Select(image.Get());
    BitBlt(to.Handle(), 0, 0, w, height_, from.Handle(), first * width_, 0, SRCCOPY);
    from.Select(mask_.Get());
    to.Select(mask.Get());
    BitBlt(to.Handle(), 0, 0, w, height_, from.Handle(), first * width_, 0, SRCCOPY);
}

void TImageList::AddToHandle(int first, int count) {
    if (count <= 0) return;
    TGdiObject<HBITMAP> image, mask;
    CopyImages(first, count, image, mask);
    if (CommonControls().ImageList_Add(handle_, image.Get(), mask.Get()) < 0)
        throw EInvalidGraphicOperation("Cannot add the picture to the image list");
}

void TImageList::Clear() {
    pendingName_.clear();
    count_ = 0;
    if (handle_) CommonControls().ImageList_Remove(handle_, -1);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index) {
    if (canvas) DrawTo(canvas->Handle(), x, y, index);
}

void TImageList::DrawTo(HDC dc, int x, int y, int index) {
    if (!dc || index < 0 || index >= Count()) return;
    TMemoryDC image(nullptr), mask(nullptr);
    image.Select(image_.Get());
    mask.Select(mask_.Get());
    // The mask's bits become white (kept) and black (cleared) on the way in.
    COLORREF text = SetTextColor(dc, kBlack), back = SetBkColor(dc, kWhite);
    BitBlt(dc, x, y, width_, height_, mask.Handle(), index * width_, 0, SRCAND);
    BitBlt(dc, x, y, width_, height_, image.Handle(), index * width_, 0, SRCPAINT);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
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
    TGdiObject<HBITMAP> image, mask;
    CopyImages(index, 1, image, mask);
    // an icon's mask: set where the screen shows through, its colours black there
    ICONINFO info = {TRUE, 0, 0, mask.Get(), image.Get()};
    return CreateIconIndirect(&info);
}
