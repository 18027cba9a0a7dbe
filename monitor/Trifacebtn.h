// The push button of the skinned windows: a normal, a hover, a pressed and a disabled picture
// stretched over the button, the hover face while the mouse is over it, optionally the outline
// of its picture as its window region; without pictures it draws as a colour button.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../classlib/Graphics.h"
#include "Bitmapbutton.h"

class TTrifaceBtn : public TShapedButton {
public:
    explicit TTrifaceBtn(TComponent* owner);

    // The four faces are owned; the setters copy the picture given. Faces is also the
    // fallback for every other state.
    TBitmap* FacesDown() { return &facesDown_; }
    void SetFacesDown(const TBitmap* faces);
    TBitmap* FacesOver() { return &facesOver_; }
    void SetFacesOver(const TBitmap* faces);
    TBitmap* FacesDisable() { return &facesDisable_; }
    void SetFacesDisable(const TBitmap* faces);
    // A shaped button always has NoFocusRect on.
    void SetNoFocusRect(bool noFocusRect) override;
    // Sized to Faces, with its outline as the window region.
    void SetAutoShape(bool autoShape) override;
    // The mouse is over the button.
    bool MouseOver() const { return mouseOver_; }

    void WndProc(TMessage& msg) override;

protected:
    void DoDrawButtonFace(TOwnerDrawState state) override;
    void DoDrawButtonText(TOwnerDrawState state) override;
    // The whole picture: there is no strip.
    int ShapeWidth() const override;

private:
    void WMMouseMove(TMessage& msg);
    void WMMouseLeve(TMessage& msg);
    void DrawFocusMarks(const RECT& r);

    TBitmap facesDown_;
    TBitmap facesOver_;
    TBitmap facesDisable_;
    bool mouseOver_ = false;
};
