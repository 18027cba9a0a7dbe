// A list of same-sized images over the system's image lists: tray icons, list
// view icons, meter strips.
#pragma once

#include <windows.h>
// The common controls need the base types first.
#include <commctrl.h>

#include "Controls.h"
#include "Graphics.h"

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

    HIMAGELIST Handle();
    int Count() const;
    // Adds the images of a horizontal strip (Width() each); returns the first
    // new index. mask: white where the image is transparent, or none.
    int Add(TBitmap* strip, TBitmap* mask = nullptr);
    // The same, transparent where the strip has maskColor.
    int AddMasked(TBitmap* strip, TColor maskColor);
    void Clear();
    void Draw(TCanvas* canvas, int x, int y, int index);
    // The image alone in dest, on the button face colour.
    void GetBitmap(int index, TBitmap* dest);
    // A new icon of the image; the caller destroys it.
    HICON GetIcon(int index);

private:
    void LoadPending();

    HIMAGELIST handle_ = nullptr;
    // the strip still to be loaded, if any
    HINSTANCE pendingInstance_ = nullptr;
    AnsiString pendingName_;
    TColor pendingMask_ = 0;
    int width_ = 16;
    int height_ = 16;
    int allocBy_ = 4;
};
