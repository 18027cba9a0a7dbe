#include "Bitmapbutton.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

#include "../classlib/GdiScopes.h"

static_assert(sizeof(KeyRect) == sizeof(RECT), "region rectangles are RECTs");
static_assert(kRegionHeaderSize == sizeof(RGNDATAHEADER), "region block header");
static_assert(kRegionRectangles == RDH_RECTANGLES, "region block type");

HRGN BuildColorKeyRegion(HBITMAP section, COLORREF key, uint8_t tolerance) {
    BITMAP info = {};
    GetObjectA(section, sizeof(info), &info);
    const auto* bits = static_cast<const uint8_t*>(info.bmBits);
    const int width = info.bmWidth;
    const int height = std::abs(info.bmHeight);
    GdiFlush();  // the section's pixels as last drawn
    size_t count = CountOpaqueRuns(bits, width, height, key, tolerance);
    std::vector<KeyRect> rects = CollectOpaqueRuns(count, bits, width, height, key, tolerance);
    if (rects.empty()) return nullptr;

    RegionBlock block(std::min(rects.size(), kRegionBatchMax));
    TGdiObject<HRGN> result;
    size_t done = 0;
    for (size_t batch : RegionBatchCounts(rects.size())) {
        block.Fill(rects.data() + done, batch);
        done += batch;
        TGdiObject<HRGN> part(
            ExtCreateRegion(nullptr, block.Size(), static_cast<const RGNDATA*>(block.Data())));
        if (!part) throw std::runtime_error("!hBatchRgn");
        if (!result) {
            result = std::move(part);
        } else {
            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
        }
    }
    return result.Release();
}

HBITMAP CopyToSection(TBitmap* source, int width, int height) {
    if (!source || source->Empty() || width <= 0 || height <= 0) return nullptr;
    void* bits = nullptr;
    TGdiObject<HBITMAP> section(CreateSection24(width, height, &bits));
    if (!section) return nullptr;
    {
        TMemoryDC dc(nullptr);
        if (!dc) return nullptr;
        dc.Select(section.Get());
        RECT part = {0, 0, width, height};
        source->DrawOn(dc.Handle(), part, part);
    }
    GdiFlush();
    return section.Release();
}

void ShapeWindowFromSection(HWND hwnd, HBITMAP section, TColor key, uint16_t tolerance) {
    TGdiObject<HBITMAP> picture(section);
    TGdiObject<HRGN> outline(
        BuildColorKeyRegion(section, ColorToRGB(key), static_cast<uint8_t>(tolerance & 0xFF)));
    if (!outline) throw EInvalidGraphicOperation("Failed to create region.");
    picture.Reset();
    if (!hwnd) return;
    if (!SetWindowRgn(hwnd, outline.Get(), FALSE))
        throw EInvalidGraphicOperation("Failed to set window region.");
    outline.Release();  // the window owns it now
}

void RedrawOnParent(TControl* control) {
    TWinControl* parent = control->Parent();
    if (!parent || !parent->HandleAllocated()) return;
    RECT r = control->BoundsRect();
    RedrawWindow(parent->Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// TBitmapButton

// ---------------------------------------------------------------------------------------------
// TShapedButton

void TShapedButton::SetFaces(const TBitmap* faces) {
    if (faces == &faces_) return;
    faces_.Assign(faces);
    if (faces_.Empty()) {
        SetAutoShape(false);
        return;
    }
    DoShapeButton();
    DoRedrawButton();
}

void TShapedButton::SetTransColor(TColor color) {
    if (color == transColor_) return;
    transColor_ = color;
    DoShapeButton();
    DoRedrawButton();
}

void TShapedButton::SetTransTolerance(uint16_t tolerance) {
    if (tolerance == transTolerance_) return;
    transTolerance_ = tolerance;
    DoShapeButton();
    DoRedrawButton();
}

void TShapedButton::SetBounds(int left, int top, int width, int height) {
    if (autoShape_ && !faces_.Empty()) {
        width = ShapeWidth();
        height = faces_.Height();
    }
    TColorButton::SetBounds(left, top, width, height);
}

HPALETTE TShapedButton::GetPalette() {
    return faces_.Empty() ? TColorButton::GetPalette() : faces_.Palette();
}

void TShapedButton::InitializeHandle() {
    TColorButton::InitializeHandle();
    if (autoShape_) DoShapeButton();  // shaped before the window existed
}

HBITMAP TShapedButton::DoCreateDIBSection() {
    return CopyToSection(&faces_, ShapeWidth(), faces_.Height());
}

void TShapedButton::DoShapeButton() {
    if (!autoShape_ || faces_.Empty()) {
        if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, FALSE);
        return;
    }
    SetBounds(Left(), Top(), Width(), Height());
    HBITMAP section = DoCreateDIBSection();
    if (!section) throw EInvalidGraphicOperation("Failed to create DIB section.");
    ShapeWindowFromSection(HandleAllocated() ? Handle() : nullptr, section, transColor_,
                           transTolerance_);
}

void TShapedButton::DoRedrawButton() {
    RedrawOnParent(this);
}

// ---------------------------------------------------------------------------------------------
// TBitmapButton

TBitmapButton::TBitmapButton(TComponent* owner) : TShapedButton(owner) {}

void TBitmapButton::SetNumFaces(int32_t numFaces) {
    if (numFaces == numFaces_) return;
    numFaces_ = numFaces;
    DoShapeButton();
    DoRedrawButton();
}

void TBitmapButton::SetNoFocusRect(bool noFocusRect) {
    if (noFocusRect == noFocusRect_) return;
    noFocusRect_ = noFocusRect;
    DoRedrawButton();
}

void TBitmapButton::SetAutoShape(bool autoShape) {
    autoShape = autoShape && !faces_.Empty();
    if (autoShape == autoShape_) return;
    autoShape_ = autoShape;
    DoShapeButton();
    DoRedrawButton();
}

int TBitmapButton::ShapeWidth() const {
    return FaceWidth(faces_.Width(), numFaces_);
}

void TBitmapButton::DoDrawButtonFace(TOwnerDrawState state) {
    if (faces_.Empty()) {
        TColorButton::DoDrawButtonFace(state);
        return;
    }
    FaceState face = FaceState::Normal;
    if (!Enabled() || (state & odDisabled)) {
        face = FaceState::Disabled;
    } else if (state & odSelected) {
        face = FaceState::Pressed;
    }
    KeyRect part = StripFaceRect(face, faces_.Width(), faces_.Height(), numFaces_);
    if (part.Right <= part.Left || part.Bottom <= part.Top) return;  // no face for the state
    TCanvas* canvas = Canvas();
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    PaletteScope palette(canvas->Handle(), faces_.Palette());
    RECT source = {part.Left, part.Top, part.Right, part.Bottom};
    canvas->CopyRect(ClientRect(), &faces_, source);
}

void TBitmapButton::DoDrawButtonText(TOwnerDrawState state) {
    if (noFocusRect_) state &= ~static_cast<TOwnerDrawState>(odFocused);
    TColorButton::DoDrawButtonText(state);
}
