// The colour-key region of a 24-bit picture, and the bitmap button: a colour button whose
// faces are cut from one horizontal strip and which can take the outline of its picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../classlib/Graphics.h"
#include "Colorbutton.h"
#include "Colorkey.h"

// The region of every pixel of a 24-bit bottom-up section not within tolerance of key (an
// RGB value); null when every pixel is key-coloured. The caller owns the region. Throws
// std::runtime_error("!hBatchRgn") when the system refuses a batch of rectangles.
HRGN BuildColorKeyRegion(HBITMAP section, COLORREF key, uint8_t tolerance);

// A new 24-bit section of width by height holding the top left part of source; the caller
// deletes it. Null when it cannot be made.
HBITMAP CopyToSection(TBitmap* source, int width, int height);

// Gives the window the outline of section (which is deleted here) in the key colour:
// "Failed to create region." when no pixel is opaque, "Failed to set window region." when the
// window refuses it (EInvalidGraphicOperation); the builder's runtime error travels on. Null
// hwnd: the region is built and checked, then dropped.
void ShapeWindowFromSection(HWND hwnd, HBITMAP section, TColor key, uint16_t tolerance);

// What the bitmap button and the three-face button share: a face picture whose outline, in
// the key colour, can become the window region, and the focus rectangle that can be left off.
class TShapedButton : public TColorButton {
public:
    explicit TShapedButton(TComponent* owner) : TColorButton(owner) {}

    // Owned; the setter copies the picture.
    TBitmap* Faces() { return &faces_; }
    void SetFaces(const TBitmap* faces);
    bool NoFocusRect() const { return noFocusRect_; }
    virtual void SetNoFocusRect(bool noFocusRect) = 0;
    // Stays false while Faces is empty.
    bool AutoShape() const { return autoShape_; }
    virtual void SetAutoShape(bool autoShape) = 0;
    TColor TransColor() const { return transColor_; }
    void SetTransColor(TColor color);
    // Only the low 8 bits count.
    uint16_t TransTolerance() const { return transTolerance_; }
    void SetTransTolerance(uint16_t tolerance);

    // With AutoShape the size is that of the shape's picture (ShapeWidth by the faces' height).
    void SetBounds(int left, int top, int width, int height) override;
    // The palette of Faces; the colour button's while Faces is empty.
    HPALETTE GetPalette() override;

protected:
    void InitializeHandle() override;
    // The width of the picture the outline is taken from.
    virtual int ShapeWidth() const = 0;
    virtual void DoShapeButton();
    virtual HBITMAP DoCreateDIBSection();
    virtual void DoRedrawButton();

    TBitmap faces_;
    bool noFocusRect_ = false;
    bool autoShape_ = false;
    TColor transColor_ = clFuchsia;
    uint16_t transTolerance_ = 0;
};

class TBitmapButton : public TShapedButton {
public:
    explicit TBitmapButton(TComponent* owner);

    int32_t NumFaces() const { return numFaces_; }
    void SetNumFaces(int32_t numFaces);
    void SetNoFocusRect(bool noFocusRect) override;
    void SetAutoShape(bool autoShape) override;

protected:
    void DoDrawButtonFace(TOwnerDrawState state) override;
    void DoDrawButtonText(TOwnerDrawState state) override;
    // One face of the strip.
    int ShapeWidth() const override;

private:
    int32_t numFaces_ = 2;
};

// Redraws the control's bounds on its parent, so a shaped button's surroundings follow.
void RedrawOnParent(TControl* control);
