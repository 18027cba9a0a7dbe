#include "Trifacebtn.h"

#include "../classlib/GdiScopes.h"
#include "Bitmapbutton.h"

TTrifaceBtn::TTrifaceBtn(TComponent* owner) : TShapedButton(owner) {}

void TTrifaceBtn::SetFacesDown(const TBitmap* faces) {
    if (faces == &facesDown_) return;
    facesDown_.Assign(faces);
    DoRedrawButton();
}

void TTrifaceBtn::SetFacesOver(const TBitmap* faces) {
    if (faces == &facesOver_) return;
    facesOver_.Assign(faces);
    DoRedrawButton();
}

void TTrifaceBtn::SetFacesDisable(const TBitmap* faces) {
    if (faces == &facesDisable_) return;
    facesDisable_.Assign(faces);
    DoRedrawButton();
}

void TTrifaceBtn::SetAutoShape(bool autoShape) {
    if (autoShape == autoShape_) return;
    autoShape_ = autoShape && !faces_.Empty();
    DoShapeButton();
    if (autoShape_ && !noFocusRect_) {
        SetNoFocusRect(true);  // redraws
    } else {
        DoRedrawButton();
    }
}

void TTrifaceBtn::SetNoFocusRect(bool noFocusRect) {
    if (noFocusRect == noFocusRect_) return;
    noFocusRect_ = noFocusRect;
    if (!noFocusRect_ && autoShape_) {
        SetAutoShape(false);
    } else {
        DoRedrawButton();
    }
}

int TTrifaceBtn::ShapeWidth() const {
    return faces_.Width();
}

void TTrifaceBtn::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_MOUSEMOVE:
            WMMouseMove(msg);
            return;
        case WM_MOUSELEAVE:
            WMMouseLeve(msg);
            return;
        default:
            TColorButton::WndProc(msg);
    }
}

void TTrifaceBtn::WMMouseMove(TMessage&) {
    if (!mouseOver_) {
        mouseOver_ = true;
        DoRedrawButton();
    }
    // Asked on every move: the system drops the request once it has sent the notice.
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
}

void TTrifaceBtn::WMMouseLeve(TMessage&) {
    mouseOver_ = false;
    DoRedrawButton();
}

void TTrifaceBtn::DoDrawButtonFace(TOwnerDrawState state) {
    TBitmap* picture = &faces_;
    if (!Enabled() || (state & odDisabled)) {
        picture = &facesDisable_;
    } else if (state & odSelected) {
        picture = &facesDown_;
    } else if (mouseOver_) {
        picture = facesOver_.Empty() ? &faces_ : &facesOver_;
    }
    if (picture->Empty()) picture = &faces_;
    if (picture->Empty()) {
        TColorButton::DoDrawButtonFace(state);
        return;
    }
    TCanvas* canvas = Canvas();
    RECT client = ClientRect();
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    PaletteScope palette(canvas->Handle(), picture->Palette());
    RECT source = {0, 0, picture->Width(), picture->Height()};
    canvas->CopyRect(client, picture, source);
    if (!noFocusRect_ && (state & odFocused)) DrawFocusMarks(client);
}

void TTrifaceBtn::DrawFocusMarks(const RECT& r) {
    // Two 6-pixel strokes along the edges at each corner, in the canvas's current pen.
    TCanvas* canvas = Canvas();
    const LONG L = r.left, T = r.top, R = r.right, B = r.bottom;
    const POINT strokes[8][2] = {
        {{L, T}, {L + 6, T}},
        {{L, T}, {L, T + 6}},
        {{R - 1, T}, {R - 7, T}},
        {{R - 1, T}, {R - 1, T + 6}},
        {{L, B - 1}, {L, B - 7}},
        {{L, B - 1}, {L + 6, B - 1}},
        {{R - 1, B - 1}, {R - 7, B - 1}},
        {{R - 1, B - 1}, {R - 1, B - 7}},
    };
    for (const auto& stroke : strokes) {
        canvas->MoveTo(stroke[0].x, stroke[0].y);
        canvas->LineTo(stroke[1].x, stroke[1].y);
    }
}

void TTrifaceBtn::DoDrawButtonText(TOwnerDrawState state) {
    bool pictured;
    if (!Enabled() || (state & odDisabled)) {
        pictured = !faces_.Empty();
    } else if (state & odSelected) {
        pictured = !facesDown_.Empty();
    } else {
        pictured = !faces_.Empty();
    }
    // The picture's corner marks stand for the focus rectangle.
    if (pictured) state &= ~static_cast<TOwnerDrawState>(odFocused);
    TColorButton::DoDrawButtonText(state);
}
