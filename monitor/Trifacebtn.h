// The push button of the skinned windows: a normal, a hover, a pressed and a disabled picture
// stretched over the button, the hover face while the mouse is over it, optionally the outline
// of its picture as its window region; without pictures it draws as a colour button.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../classlib/Graphics.h"
#include "Colorbutton.h"

class TTrifaceBtn : public TColorButton {
public:
    explicit TTrifaceBtn(TComponent* owner);

    // The four faces are owned; the setters copy the picture given. Faces is also the
    // fallback for every other state.
    TBitmap* Faces() { return &faces_; }
    void SetFaces(const TBitmap* faces);
    TBitmap* FacesDown() { return &facesDown_; }
    void SetFacesDown(const TBitmap* faces);
    TBitmap* FacesOver() { return &facesOver_; }
    void SetFacesOver(const TBitmap* faces);
    TBitmap* FacesDisable() { return &facesDisable_; }
    void SetFacesDisable(const TBitmap* faces);
    // A shaped button always has NoFocusRect on.
    bool NoFocusRect() const { return noFocusRect_; }
    void SetNoFocusRect(bool noFocusRect);
    // Sized to Faces, with its outline as the window region; stays false while Faces is empty.
    bool AutoShape() const { return autoShape_; }
    void SetAutoShape(bool autoShape);
    TColor TransColor() const { return transColor_; }
    void SetTransColor(TColor color);
    // Only the low 8 bits count.
    uint16_t TransTolerance() const { return transTolerance_; }
    void SetTransTolerance(uint16_t tolerance);
    // The mouse is over the button.
    bool MouseOver() const { return mouseOver_; }

    // With AutoShape the size is that of Faces.
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& msg) override;

protected:
    void InitializeHandle() override;
    void DoDrawButtonFace(TOwnerDrawState state) override;
    void DoDrawButtonText(TOwnerDrawState state) override;
    virtual void DoShapeButton();
    virtual HBITMAP DoCreateDIBSection();
    virtual void DoRedrawButton();

private:
    void WMMouseMove(TMessage& msg);
    void WMMouseLeve(TMessage& msg);
    void DrawFocusMarks(const RECT& r);

    TBitmap faces_;
    TBitmap facesDown_;
    TBitmap facesOver_;
    TBitmap facesDisable_;
    bool noFocusRect_ = false;
    bool autoShape_ = false;
    TColor transColor_ = clFuchsia;
    uint16_t transTolerance_ = 0;
    bool mouseOver_ = false;
};
