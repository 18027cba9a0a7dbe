// Scopes of painting: whatever a drawing changes in a context (its state, a paint begun, a
// buffer, a canvas bound to it) is put back when the drawing ends, also by an exception.
#pragma once

#include <windows.h>

#include "Graphics.h"
#include "Handles.h"

// The context's state (objects selected, colours, origin, clipping) as it was.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A paint of the window's invalid area (BeginPaint to EndPaint), or, given a target context,
// a drawing of the whole client area into it.
class PaintScope {
public:
    PaintScope(HWND hwnd, HDC target) : hwnd_(hwnd), ps_() {
        if (target) {
            dc_ = target;
            GetClientRect(hwnd, &area_);
        } else {
            dc_ = BeginPaint(hwnd, &ps_);
            area_ = ps_.rcPaint;
            painting_ = true;
        }
    }
    ~PaintScope() {
        if (painting_) EndPaint(hwnd_, &ps_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return area_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_ = nullptr;
    RECT area_ = {};
    bool painting_ = false;
};

// A memory context of the area, with the area's own coordinates; copied to the target at the
// end, so the background and what is drawn over it never flicker. Without the memory it
// draws straight into the target.
class BufferScope {
public:
    BufferScope(HDC target, const RECT& area) : target_(target), area_(area), mem_(target) {
        if (!mem_) return;
        bitmap_.Reset(
            CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top));
        if (!bitmap_) return;
        mem_.Select(bitmap_.Get());
        SetViewportOrgEx(mem_.Handle(), -area.left, -area.top, nullptr);
    }
    ~BufferScope() {
        if (!bitmap_) return;
        SetViewportOrgEx(mem_.Handle(), 0, 0, nullptr);
        BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
               mem_.Handle(), 0, 0, SRCCOPY);
    }
    BufferScope(const BufferScope&) = delete;
    BufferScope& operator=(const BufferScope&) = delete;
    HDC dc() const { return bitmap_ ? mem_.Handle() : target_; }

private:
    HDC target_;
    RECT area_;
    TGdiObject<HBITMAP> bitmap_;  // goes after the context has let it go
    TMemoryDC mem_;
};

// A picture's palette selected into the context and realized for a drawing, and the
// context's own selected back at the end, also by an exception. No palette: nothing changes.
class PaletteScope {
public:
    PaletteScope(HDC dc, HPALETTE palette) : dc_(dc) {
        if (!palette) return;
        old_ = SelectPalette(dc, palette, TRUE);
        if (old_) RealizePalette(dc);
    }
    ~PaletteScope() {
        if (old_) SelectPalette(dc_, old_, TRUE);
    }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;

private:
    HDC dc_;
    HPALETTE old_ = nullptr;
};

// A canvas drawing on a context that is someone else's, for the scope.
class BoundCanvas {
public:
    BoundCanvas(TCanvas* canvas, HDC dc) : canvas_(canvas) { canvas_->SetHandle(dc); }
    ~BoundCanvas() { canvas_->SetHandle(nullptr); }
    BoundCanvas(const BoundCanvas&) = delete;
    BoundCanvas& operator=(const BoundCanvas&) = delete;

private:
    TCanvas* canvas_;
};
