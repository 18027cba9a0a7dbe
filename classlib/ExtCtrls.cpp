#include "ExtCtrls.h"

// TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) PictureChanged();
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    Invalidate();
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) {
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    }
    Invalidate();
}

void TImage::Paint() {
    if (picture_.Empty()) return;
    if (stretch_) {
        RECT r = {0, 0, Width(), Height()};
        Canvas()->StretchDraw(r, picture_.Bitmap());
    } else {
        Canvas()->Draw(0, 0, picture_.Bitmap());
    }
}

// TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    clickEvents_ = false;
}

void TBevel::SetShape(TBevelShape shape) {
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
    style_ = style;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = Canvas();
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    canvas->Pen.Width = 1;
    switch (shape_) {
        case bsBox: {
            RECT r = {0, 0, w, h};
            Frame3D(canvas, r, first, second, 1);
            break;
        }
        case bsTopLine:
        case bsBottomLine: {
            int y = shape_ == bsTopLine ? 0 : h - 2;
            canvas->Pen.Color = first;
            canvas->MoveTo(0, y);
            canvas->LineTo(w, y);
            canvas->Pen.Color = second;
            canvas->MoveTo(0, y + 1);
            canvas->LineTo(w, y + 1);
            break;
        }
    }
}

// TTimer

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_(this, [this](TMessage& msg) {
          if (msg.Msg != WM_TIMER) return false;
          // A tick already queued when the timer was stopped is dropped.
          if (enabled_ && OnTimer) OnTimer(this);
          return true;
      }) {
    Update();
}

TTimer::~TTimer() {
    KillTimer(window_.Handle(), 1);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(UINT interval) {
    interval_ = interval;
    Update();
}

void TTimer::Update() {
    KillTimer(window_.Handle(), 1);
    if (enabled_ && interval_ > 0) {
        if (!SetTimer(window_.Handle(), 1, interval_, nullptr))
            throw Exception("Not enough timers available");
    }
}
