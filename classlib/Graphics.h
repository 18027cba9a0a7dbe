// Colours, fonts, a drawing surface over a device context, 24-bit bitmaps and
// pictures decoded from JPEG or BMP data (memory or an RCDATA resource).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "AnsiString.h"
#include "Handles.h"
#include "SysUtils.h"

// An RGB value (red in the low byte) or, with the high byte 0xFF, a system colour index.
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;

COLORREF ColorToRGB(TColor color);

// A picture that cannot be decoded, or a graphics operation that failed.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// A logical font; its GDI handle is made when first asked for and remade after a change.
class TFont {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& other);
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;  // points at the screen's resolution
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    HFONT Handle();

    // Runs after every change, before the old handle is deleted.
    std::function<void()> OnChange;

private:
    void Changed(bool shape);

    AnsiString name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    TGdiObject<HFONT> handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBitmap;

// Drawing on a device context. The pen, brush and font are selected when a
// drawing call needs them and put back when the context is unbound.
class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle();
    // Binds to a context owned by someone else; null unbinds.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    struct {
        TColor Color = clWhite;
        TBrushStyle Style = bsSolid;
    } Brush;
    struct {
        TColor Color = clBlack;
        int Width = 1;
    } Pen;
    TFont* Font() { return &font_; }

    void FillRect(const RECT& r);
    void Rectangle(const RECT& r);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const POINT* points, int count);
    void TextOut(int x, int y, const AnsiString& text);
    // The text laid out in r by the system's DrawText (DT_ flags), in the font's colour over
    // whatever background mode the context has; DT_CALCRECT updates r.
    int TextRect(RECT& r, const AnsiString& text, UINT format);
    SIZE TextExtent(const AnsiString& text);
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
    void DrawFocusRect(const RECT& r);
    void Draw(int x, int y, const TBitmap* bitmap);
    void StretchDraw(const RECT& dest, const TBitmap* bitmap);
    // Copies (and stretches) a part of another canvas, or of a bitmap.
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect);
    void CopyRect(const RECT& dest, const TBitmap* source, const RECT& sourceRect);

protected:
    // Bitmap canvases make their context here when it is first needed.
    virtual void CreateHandle() {}
    // Puts the original objects back and forgets the context.
    void ReleaseObjects();
    HDC dc_ = nullptr;

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();

    TFont font_;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
    TGdiObject<HPEN> pen_;
    TGdiObject<HBRUSH> brush_;
    COLORREF penColor_ = 0, brushColor_ = 0;
    int penWidth_ = 0;
    HFONT selectedFont_ = nullptr;
};

// Draws a 3D frame of the given width around r and shrinks r by it.
void Frame3D(TCanvas* canvas, RECT& r, TColor topColor, TColor bottomColor, int width);

// A new 24-bit section of rows stored bottom-up, or null.
HBITMAP CreateSection24(int width, int height, void** bits);

// A 24-bit device-independent bitmap section, rows stored bottom-up.
//
// Copies share their pixels until one of them is written (through its canvas, a
// writable scan line or its handle), which then takes a copy of its own. A picture
// loaded from the program's own resources is only decoded when it is first drawn or
// read, and bitmaps loaded from the same resource share one decoded copy while any of
// them holds it.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !image_ && !source_; }
    // A new black picture; 0 by 0 empties the bitmap.
    void SetSize(int width, int height);
    // The picture of src (its pixels shared until either is written); null or empty
    // empties this one.
    void Assign(const TBitmap* src);
    // Drawing into the bitmap: the first drawing call gives it pixels of its own.
    TCanvas* Canvas();
    // The section's handle, out of the canvas's context so that it can be
    // selected elsewhere; the canvas takes it back on its next use.
    HBITMAP Handle();
    // Row y counted from the top: Width() pixels of blue, green, red.
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    int Stride() const { return ((width_ * 24 + 31) & ~31) / 8; }
    // Copies (stretching) the part source of the picture to dest on dc, leaving
    // shared pixels shared.
    void DrawOn(HDC dc, const RECT& dest, const RECT& source) const;
    // True while the pixels are decoded and held by this bitmap.
    bool Decoded() const { return image_ != nullptr; }
    // The logical palette of a picture read from a BMP with a colour table, kept by the
    // bitmap and its copies; null for any other picture.
    HPALETTE Palette() const;

    // JPEG (baseline or progressive) or BMP data.
    void LoadFromMemory(const void* data, size_t size);
    // An RCDATA resource holding JPEG or BMP data.
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);

    struct Image;
    struct Source;

private:
    friend class TBitmapCanvas;
    void Adopt(std::shared_ptr<Image> image);
    // Decodes the resource when needed; null when empty.
    Image* Pixels() const;
    // Pixels of its own, shared with no other bitmap nor the resource's copy.
    void MakeOwn();
    void FreeCanvas() const;

    mutable std::shared_ptr<Image> image_;
    mutable std::shared_ptr<Source> source_;
    mutable int width_ = 0;
    mutable int height_ = 0;
    std::unique_ptr<TCanvas> canvas_;
};

// The picture of a picture control: a bitmap plus change notice.
class TPicture {
public:
    TBitmap* Bitmap() { return &bitmap_; }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }
    bool Empty() const { return bitmap_.Empty(); }
    void Assign(const TPicture* src);
    void Assign(const TBitmap* src);
    void LoadFromMemory(const void* data, size_t size);
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
    // Call after drawing into Bitmap() directly.
    void Changed();

    std::function<void()> OnChange;

private:
    TBitmap bitmap_;
};
