// An owner-drawn push button: a flat 3D face in colours of its own, an optional glyph from an
// image list beside the caption, and an embossed look when disabled. The base of the bitmap
// button and of the three-face button, whose drawing falls back to it without pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "../classlib/Controls.h"
#include "../classlib/Graphics.h"
#include "../classlib/ImgList.h"
#include "../classlib/StdCtrls.h"

class TColorButton : public TButton {
public:
    explicit TColorButton(TComponent* owner);
    ~TColorButton() override;

    // The face colour is the control's Color (the brush of its window).
    TColor ColorLo() const { return colorLo_; }
    void SetColorLo(TColor color);
    TColor ColorHi() const { return colorHi_; }
    void SetColorHi(TColor color);
    // Negative: no glyph.
    int32_t GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int32_t index);
    // Not owned.
    TImageList* Glyphs() const { return glyphs_; }
    void SetGlyphs(TImageList* glyphs);
    // Bound to the item's context while a draw request is served.
    TCanvas* Canvas() const { return canvas_.get(); }
    // Shown as the default or focused button.
    bool IsDefault() const { return isDefault_; }

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    virtual void DoDrawButtonFace(TOwnerDrawState state);
    virtual void DoDrawButtonText(TOwnerDrawState state);
    virtual void DoDrawButtonGlyph(TOwnerDrawState state);
    RECT ClientRect();

private:
    void CNDrawItem(TMessage& msg);

    TColor colorLo_ = clBtnShadow;
    TColor colorHi_ = clBtnHighlight;
    std::unique_ptr<TCanvas> canvas_;
    bool isDefault_ = false;
    int32_t glyphIndex_ = 0;
    TImageList* glyphs_ = nullptr;
};

// Draws the image list's entry twice through a mask of its drawn pixels: in hi one pixel down
// and right, then in lo at the position itself.
void DrawEmbossedGlyph(TCanvas* canvas, POINT position, TImageList* images, int index, TColor hi,
                       TColor lo);
