// A list of same-sized images: tray icons, list view icons, meter strips. The images are held
// and drawn with plain bitmaps and a mask; the system's image list, which a list view needs,
// is made only when asked for by Handle().
#pragma once

#include <windows.h>
// The common controls need the base types first.
#include <commctrl.h>

#include "Controls.h"
#include "Graphics.h"
#include "Handles.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetSize(int width, int height);
    // How many places the list grows by when full.
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int allocBy) { allocBy_ = allocBy; }

    // The list is filled from a resource strip when first used (its handle, count, drawing or
    // an added image), so that a list nobody shows costs no bitmaps at start.
    void LoadOnDemand(HINSTANCE instance, const AnsiString& resourceName, TColor maskColor);

    // The system's image list of the same images, kept up to date from then on.
    HIMAGELIST Handle();
    int Count() const;
    // Adds the images of a horizontal strip (Width() each); returns the first
    // new index. mask: white where the image is transparent, or none.
    int Add(TBitmap* strip, TBitmap* mask = nullptr);
    // The same, transparent where the strip has maskColor.
    int AddMasked(TBitmap* strip, TColor maskColor);
    void Clear();
    void Draw(TCanvas* canvas, int x, int y, int index);
    // The image at (x, y) of dc, its transparent pixels leaving dc as it was.
    void DrawTo(HDC dc, int x, int y, int index);
    // The image alone in dest, on the button face colour.
    void GetBitmap(int index, TBitmap* dest);
    // A new icon of the image; the caller destroys it.
    HICON GetIcon(int index);

private:
    void LoadPending();
    // Room for count more images; the strips grow by AllocBy() places at least.
    void Reserve(int count);
    // Appends the strip's images; maskColor, or the mask's white, marks the transparent pixels.
    int Append(TBitmap* strip, TBitmap* mask, COLORREF maskColor);
    // Copies of images [first, first + count) of the strips, as new bitmaps.
    void CopyImages(int first, int count, TGdiObject<HBITMAP>& image, TGdiObject<HBITMAP>& mask);
    void AddToHandle(int first, int count);
    void DestroyHandle();

    // count_ images side by side, room for capacity_; the mask is white where transparent,
    // and the image black there.
    TGdiObject<HBITMAP> image_;
    TGdiObject<HBITMAP> mask_;
    int count_ = 0;
    int capacity_ = 0;
    HIMAGELIST handle_ = nullptr;
    // the strip still to be loaded, if any
    HINSTANCE pendingInstance_ = nullptr;
    AnsiString pendingName_;
    TColor pendingMask_ = 0;
    int width_ = 16;
    int height_ = 16;
    int allocBy_ = 4;
};
