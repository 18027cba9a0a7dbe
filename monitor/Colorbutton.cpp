#include "Colorbutton.h"

#include "../classlib/GdiScopes.h"

namespace {

// DSPDxax: where the source is white the destination stays, elsewhere the brush is painted.
constexpr DWORD kRopMaskedBrush = 0xE20746;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

bool ValidGlyph(TImageList* glyphs, int32_t index) {
    return glyphs && index >= 0;
}

}  // namespace

TColorButton::TColorButton(TComponent* owner) : TButton(owner), canvas_(new TCanvas) {}

TColorButton::~TColorButton() = default;

void TColorButton::SetColorLo(TColor color) {
    if (color == colorLo_) return;
    colorLo_ = color;
    Invalidate();
}

void TColorButton::SetColorHi(TColor color) {
    if (color == colorHi_) return;
    colorHi_ = color;
    Invalidate();
}

void TColorButton::SetGlyphIndex(int32_t index) {
    if (index == glyphIndex_) return;
    glyphIndex_ = index;
    Invalidate();
}

void TColorButton::SetGlyphs(TImageList* glyphs) {
    if (glyphs == glyphs_) return;
    glyphs_ = glyphs;
    Invalidate();
}

void TColorButton::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style |= BS_OWNERDRAW;  // a draw request for every paint
}

void TColorButton::SetButtonStyle(bool isDefault) {
    // The system's style stays owner-drawn; the face shows the default look itself.
    if (isDefault == isDefault_) return;
    isDefault_ = isDefault;
    Invalidate();
}

RECT TColorButton::ClientRect() {
    RECT r = {0, 0, Width(), Height()};
    if (HandleAllocated()) GetClientRect(Handle(), &r);
    return r;
}

void TColorButton::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_ERASEBKGND:
            msg.Result = 1;  // the face covers the whole client area
            return;
        case WM_LBUTTONDBLCLK:
            // Owner-drawn buttons only report a double click; make it a second press.
            Perform(WM_LBUTTONDOWN, msg.WParam, msg.LParam);
            return;
        case CM_ENABLEDCHANGED:
        case CM_FONTCHANGED:
            TButton::WndProc(msg);
            if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
            return;
        case CN_DRAWITEM:
            CNDrawItem(msg);
            return;
        default:
            TButton::WndProc(msg);
    }
}

void TColorButton::CNDrawItem(TMessage& msg) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(msg.LParam);
    HDC dc = item->hDC;
    {
        // The context as it was and the canvas unbound, however the drawing ends.
        SavedDC saved(dc);
        BoundCanvas bound(canvas_.get(), dc);
        TOwnerDrawState state = 0;
        if (item->itemState & ODS_FOCUS) state |= odFocused;
        if (item->itemState & ODS_SELECTED) state |= odSelected;
        if (item->itemState & ODS_DISABLED) state |= odDisabled;
        DoDrawButtonFace(state);
        DoDrawButtonGlyph(state);
        DoDrawButtonText(state);
    }
    msg.Result = 1;
}

void TColorButton::DoDrawButtonFace(TOwnerDrawState state) {
    TCanvas* canvas = canvas_.get();
    RECT r = ClientRect();
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = Color();
    canvas->Pen.Width = 1;
    if (isDefault_ || (state & odFocused)) {
        canvas->Pen.Color = clWindowFrame;
        canvas->Rectangle(r);
        InflateRect(&r, -1, -1);
    }
    if (state & odSelected) {
        canvas->Pen.Color = colorLo_;
        canvas->Rectangle(r);  // pressed: flat
        return;
    }
    canvas->FillRect(r);
    Frame3D(canvas, r, colorHi_, clWindowFrame, 1);
    canvas->Pen.Color = colorLo_;
    // The inner shade starts at x 1 whatever the frame: so it always has.
    POINT shade[3] = {{1, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}};
    canvas->Polyline(shade, 3);
}

void TColorButton::DoDrawButtonText(TOwnerDrawState state) {
    AnsiString caption = Caption();
    if (caption.empty()) return;
    TCanvas* canvas = canvas_.get();
    SetBkMode(canvas->Handle(), TRANSPARENT);
    canvas->Font()->Assign(*Font());
    RECT r = {0, 0, Width(), Height()};
    if (ValidGlyph(glyphs_, glyphIndex_)) r.left += glyphs_->Width() + 6;
    if (state & odSelected) OffsetRect(&r, 1, 1);
    if (!Enabled() || (state & odDisabled)) {
        OffsetRect(&r, 1, 1);
        canvas->Font()->SetColor(colorHi_);
        canvas->TextRect(r, caption, kCaptionFormat);
        OffsetRect(&r, -1, -1);
        canvas->Font()->SetColor(colorLo_);
    }
    canvas->TextRect(r, caption, kCaptionFormat);
    if (state & odFocused) {
        RECT focus = ClientRect();
        InflateRect(&focus, -4, -4);
        canvas->DrawFocusRect(focus);
    }
}

void TColorButton::DoDrawButtonGlyph(TOwnerDrawState state) {
    if (!ValidGlyph(glyphs_, glyphIndex_)) return;
    TCanvas* canvas = canvas_.get();
    canvas->Font()->Assign(*Font());
    int w = canvas->TextWidth(Caption()) + 2;
    POINT p = {(Width() - w - glyphs_->Width()) / 2, (Height() - glyphs_->Height() + 2) / 2};
    if (state & odSelected) {
        ++p.x;
        ++p.y;
    }
    if (!Enabled() || (state & odDisabled)) {
        DrawEmbossedGlyph(canvas, p, glyphs_, glyphIndex_, colorHi_, colorLo_);
    } else {
        glyphs_->Draw(canvas, p.x, p.y, glyphIndex_);
    }
}

void DrawEmbossedGlyph(TCanvas* canvas, POINT position, TImageList* images, int index, TColor hi,
                       TColor lo) {
    HDC dc = canvas ? canvas->Handle() : nullptr;
    if (!dc || !images) return;
    const int w = images->Width(), h = images->Height();
    // Declared before the contexts that select them: they go after those let them go.
    TGdiObject<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
    TGdiObject<HBRUSH> brushHi(CreateSolidBrush(ColorToRGB(hi)));
    TGdiObject<HBRUSH> brushLo(CreateSolidBrush(ColorToRGB(lo)));
    TMemoryDC maskDc(dc);
    if (!mask || !maskDc) return;
    maskDc.Select(mask.Get());
    // White where nothing is drawn; the glyph's pixels turn black on the way in.
    PatBlt(maskDc.Handle(), 0, 0, w, h, WHITENESS);
    images->DrawTo(maskDc.Handle(), 0, 0, index);

    SavedDC saved(dc);  // colours and brush as they were
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SelectObject(dc, brushHi.Get());
    BitBlt(dc, position.x + 1, position.y + 1, w, h, maskDc.Handle(), 0, 0, kRopMaskedBrush);
    SelectObject(dc, brushLo.Get());
    BitBlt(dc, position.x, position.y, w, h, maskDc.Handle(), 0, 0, kRopMaskedBrush);
}
