// What a window shows on screen, as pixels, and as a 24-bit BMP file written
// under the folder named by WL_SCREENSHOT_DIR (nothing is written when unset).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

struct WindowPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Bgr;  // rows from the top, 3 bytes a pixel, no padding

    COLORREF At(int x, int y) const {
        size_t i = (static_cast<size_t>(y) * Width + x) * 3;
        return RGB(Bgr[i + 2], Bgr[i + 1], Bgr[i]);
    }
};

// Whether the window or one of its children has something left to paint.
inline bool PaintPending(HWND hwnd) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return true;
    bool pending = false;
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM lp) -> BOOL {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(lp) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// Repainted whole: a window of this thread at once; one of another thread once that thread
// has painted all of it and has waited for messages since, which is when the system puts what
// it painted on the screen. A paint that does not come fails the test: the picture would show
// what was there before.
inline void Repaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) return;
    const DWORD kPaintMs = 5000, kAnswerMs = 1000;
    auto name = [hwnd] {
        char cls[64] = {}, title[64] = {};
        GetClassNameA(hwnd, cls, sizeof(cls));
        GetWindowTextA(hwnd, title, sizeof(title));
        return std::string(cls) + " \"" + title + "\"";
    };
    for (DWORD start = GetTickCount(); PaintPending(hwnd); Sleep(10)) {
        if (GetTickCount() - start >= kPaintMs) {
            ADD_FAILURE() << name() << " has not painted after " << kPaintMs << " ms";
            return;
        }
    }
    DWORD_PTR result = 0;
    for (int round = 0; round < 2; ++round) {
        if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) {
            ADD_FAILURE() << name() << " did not wait for messages after its paint";
            return;
        }
    }
}

// The window with its frame and child windows, repainted. A shown window is
// read from its window context (its children included); a hidden one is asked
// to print itself.
inline WindowPixels CaptureWindow(HWND hwnd) {
    WindowPixels pixels;
    Repaint(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    pixels.Width = r.right - r.left;
    pixels.Height = r.bottom - r.top;
    if (pixels.Width <= 0 || pixels.Height <= 0) return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.Width;
    info.bmiHeader.biHeight = -pixels.Height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, section);
    if (IsWindowVisible(hwnd)) {
        HDC window = GetWindowDC(hwnd);
        BitBlt(mem, 0, 0, pixels.Width, pixels.Height, window, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, window);
    } else {
        PrintWindow(hwnd, mem, 0);
    }
    GdiFlush();
    size_t stride = ((static_cast<size_t>(pixels.Width) * 24 + 31) & ~size_t(31)) / 8;
    pixels.Bgr.resize(static_cast<size_t>(pixels.Width) * pixels.Height * 3);
    for (int y = 0; y < pixels.Height; ++y) {
        const auto* row = static_cast<const uint8_t*>(bits) + stride * y;
        std::copy(row, row + pixels.Width * 3, pixels.Bgr.begin() + size_t(y) * pixels.Width * 3);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(section);
    return pixels;
}

inline bool WriteBmp(const WindowPixels& pixels, const std::string& path) {
    size_t stride = ((static_cast<size_t>(pixels.Width) * 24 + 31) & ~size_t(31)) / 8;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = pixels.Width;
    info.biHeight = pixels.Height;  // bottom-up, as most readers expect
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * pixels.Height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &file, sizeof(file), &written, nullptr) &&
              WriteFile(h, &info, sizeof(info), &written, nullptr);
    std::vector<uint8_t> row(stride, 0);
    for (int y = pixels.Height - 1; ok && y >= 0; --y) {
        std::copy_n(pixels.Bgr.begin() + size_t(y) * pixels.Width * 3, pixels.Width * 3,
                    row.begin());
        ok = WriteFile(h, row.data(), static_cast<DWORD>(stride), &written, nullptr) != FALSE;
    }
    CloseHandle(h);
    return ok;
}

// Writes <WL_SCREENSHOT_DIR>\<name>.bmp; false when the variable is unset or
// the file cannot be written.
inline bool SaveScreenshot(HWND hwnd, const std::string& name) {
    const char* dir = std::getenv("WL_SCREENSHOT_DIR");
    if (!dir || !*dir) return false;
    std::string path = std::string(dir) + "\\" + name + ".bmp";
    return WriteBmp(CaptureWindow(hwnd), path);
}
