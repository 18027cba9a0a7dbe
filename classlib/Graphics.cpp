#include "Graphics.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

// libjpeg wants FILE and size_t declared first.
#include <jpeglib.h>

COLORREF ColorToRGB(TColor color) {
    if ((color & clSystemColor) == clSystemColor) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

// TFont

void TFont::Assign(const TFont& other) {
    if (&other == this) return;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    Changed(true);
}

void TFont::SetName(const AnsiString& name) {
    if (name == name_) return;
    name_ = name;
    Changed(true);
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed(true);
}

static int ScreenPixelsPerInch() {
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : 96;
}

int TFont::Size() const {
    return -MulDiv(height_, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed(true);
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(false);
}

void TFont::SetCharset(BYTE charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed(true);
}

HFONT TFont::Handle() {
    if (!handle_) {
        handle_.Reset(CreateFontA(
            height_, 0, 0, 0, (style_ & fsBold) ? FW_BOLD : FW_NORMAL,
            (style_ & fsItalic) ? TRUE : FALSE, (style_ & fsUnderline) ? TRUE : FALSE,
            (style_ & fsStrikeOut) ? TRUE : FALSE, charset_, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name_.c_str()));
        // The font mapper substitutes a face the system lacks; this is the last resort.
        if (!handle_) handle_.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    return handle_.Get();
}

void TFont::Changed(bool shape) {
    TGdiObject<HFONT> old;
    if (shape) old = std::move(handle_);
    // Users switch to the new handle here, so the old one is free to go after.
    if (OnChange) OnChange();
}

// TCanvas

TCanvas::TCanvas() {
    // A changed font is put out of the context before its old handle goes.
    font_.OnChange = [this] {
        if (dc_ && oldFont_) SelectObject(dc_, oldFont_);
        oldFont_ = nullptr;
        selectedFont_ = nullptr;
    };
}

TCanvas::~TCanvas() {
    ReleaseObjects();  // the pen and brush go after, out of the context
}

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    ReleaseObjects();
    dc_ = dc;
}

void TCanvas::ReleaseObjects() {
    if (dc_) {
        if (oldPen_) SelectObject(dc_, oldPen_);
        if (oldBrush_) SelectObject(dc_, oldBrush_);
        if (oldFont_) SelectObject(dc_, oldFont_);
    }
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    selectedFont_ = nullptr;
    dc_ = nullptr;
}

void TCanvas::RequirePen() {
    HDC dc = Handle();
    if (!dc) return;
    COLORREF color = ColorToRGB(Pen.Color);
    if (!pen_ || color != penColor_ || Pen.Width != penWidth_) {
        HPEN pen = CreatePen(PS_SOLID, Pen.Width, color);
        HGDIOBJ previous = SelectObject(dc, pen);
        if (!oldPen_) oldPen_ = previous;
        pen_.Reset(pen);
        penColor_ = color;
        penWidth_ = Pen.Width;
    } else if (!oldPen_) {
        oldPen_ = SelectObject(dc, pen_.Get());
    }
}

void TCanvas::RequireBrush() {
    HDC dc = Handle();
    if (!dc) return;
    if (Brush.Style == bsClear) {
        HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
        if (!oldBrush_) oldBrush_ = previous;
        SetBkMode(dc, TRANSPARENT);
        return;
    }
    COLORREF color = ColorToRGB(Brush.Color);
    if (!brush_ || color != brushColor_) {
        HBRUSH brush = CreateSolidBrush(color);
        HGDIOBJ previous = SelectObject(dc, brush);
        if (!oldBrush_) oldBrush_ = previous;
        brush_.Reset(brush);
        brushColor_ = color;
    } else {
        HGDIOBJ previous = SelectObject(dc, brush_.Get());
        if (!oldBrush_) oldBrush_ = previous;
    }
    SetBkColor(dc, color);
    SetBkMode(dc, OPAQUE);
}

void TCanvas::RequireFont() {
    HDC dc = Handle();
    if (!dc) return;
    HFONT font = font_.Handle();
    if (font != selectedFont_) {
        HGDIOBJ previous = SelectObject(dc, font);
        if (!oldFont_) oldFont_ = previous;
        selectedFont_ = font;
    }
    SetTextColor(dc, ColorToRGB(font_.Color()));
}

void TCanvas::FillRect(const RECT& r) {
    RequireBrush();
    if (!dc_ || Brush.Style == bsClear) return;
    ::FillRect(dc_, &r, brush_.Get());
}

void TCanvas::Rectangle(const RECT& r) {
    RequirePen();
    RequireBrush();
    if (dc_) ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::MoveTo(int x, int y) {
    if (Handle()) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::Polyline(const POINT* points, int count) {
    RequirePen();
    if (dc_) ::Polyline(dc_, points, count);
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
    RequireFont();
    RequireBrush();
    if (dc_) ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

int TCanvas::TextRect(RECT& r, const AnsiString& text, UINT format) {
    RequireFont();
    return dc_ ? ::DrawTextA(dc_, text.c_str(), -1, &r, format) : 0;
}

SIZE TCanvas::TextExtent(const AnsiString& text) {
    SIZE size = {0, 0};
    RequireFont();
    if (dc_) GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::DrawFocusRect(const RECT& r) {
    if (Handle()) ::DrawFocusRect(dc_, &r);
}

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty() || !Handle()) return;
    RECT all = {0, 0, bitmap->Width(), bitmap->Height()};
    RECT dest = {x, y, x + bitmap->Width(), y + bitmap->Height()};
    bitmap->DrawOn(dc_, dest, all);
}

void TCanvas::StretchDraw(const RECT& dest, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty() || !Handle()) return;
    RECT all = {0, 0, bitmap->Width(), bitmap->Height()};
    bitmap->DrawOn(dc_, dest, all);
}

void TCanvas::CopyRect(const RECT& dest, const TBitmap* source, const RECT& sourceRect) {
    if (!source || source->Empty() || !Handle()) return;
    source->DrawOn(dc_, dest, sourceRect);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect) {
    if (!source || !Handle() || !source->Handle()) return;
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
               source->Handle(), sourceRect.left, sourceRect.top,
               sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, SRCCOPY);
}

void Frame3D(TCanvas* canvas, RECT& r, TColor topColor, TColor bottomColor, int width) {
    canvas->Pen.Width = 1;
    for (int i = 0; i < width; ++i) {
        --r.bottom;
        --r.right;
        canvas->Pen.Color = topColor;
        POINT top[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
        canvas->Polyline(top, 3);
        canvas->Pen.Color = bottomColor;
        POINT bottom[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
        canvas->Polyline(bottom, 3);
        InflateRect(&r, -1, -1);
        ++r.bottom;
        ++r.right;
    }
}

// TBitmap

struct TBitmap::Image {
    TGdiObject<HBITMAP> Handle;
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    // The colour table of the file the picture came from, shared by its copies.
    std::shared_ptr<std::remove_pointer_t<HPALETTE>> Palette;
};

// A picture in the program's resources: the data stay where the module maps them.
struct TBitmap::Source {
    const unsigned char* Data = nullptr;
    size_t Size = 0;
    int Width = 0;
    int Height = 0;
    std::weak_ptr<Image> Decoded;  // held by the bitmaps that drew it
};

// The bitmap's own memory context, made on first use and given up whenever the
// section's handle is wanted elsewhere or its pixels come to be shared.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { Free(); }
    void Free() {
        if (!memory_) return;
        ReleaseObjects();
        memory_.reset();  // puts the section out, then deletes the context
    }
    bool Bound() const { return memory_ != nullptr; }

protected:
    void CreateHandle() override {
        bitmap_->MakeOwn();  // what is drawn here is seen by this bitmap alone
        if (!bitmap_->image_) return;
        std::unique_ptr<TMemoryDC> memory(new TMemoryDC(nullptr));
        if (!*memory) throw EInvalidGraphicOperation("Out of system resources");
        memory->Select(bitmap_->image_->Handle.Get());
        memory_ = std::move(memory);
        dc_ = memory_->Handle();
    }

private:
    TBitmap* bitmap_;
    std::unique_ptr<TMemoryDC> memory_;
};

TBitmap::TBitmap() : canvas_(new TBitmapCanvas(this)) {}

TBitmap::~TBitmap() {
    FreeCanvas();  // out of the canvas's context before the section goes
}

HBITMAP CreateSection24(int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

namespace {

size_t RowBytes(int width) {
    return static_cast<size_t>(((width * 24 + 31) & ~31) / 8);
}

std::shared_ptr<TBitmap::Image> ImageOf(HBITMAP handle, void* bits, int width, int height) {
    auto image = std::make_shared<TBitmap::Image>();
    image->Handle.Reset(handle);
    image->Bits = static_cast<uint8_t*>(bits);
    image->Width = width;
    image->Height = height;
    return image;
}

std::shared_ptr<TBitmap::Image> NewImage(int width, int height) {
    void* bits = nullptr;
    HBITMAP handle = CreateSection24(width, height, &bits);
    if (!handle)
        throw EInvalidGraphicOperation(Format("Cannot make a %dx%d bitmap", width, height));
    return ImageOf(handle, bits, width, height);
}

}  // namespace

void TBitmap::FreeCanvas() const {
    static_cast<TBitmapCanvas*>(canvas_.get())->Free();
}

void TBitmap::Adopt(std::shared_ptr<Image> image) {
    FreeCanvas();
    image_ = std::move(image);
    source_.reset();
    width_ = image_ ? image_->Width : 0;
    height_ = image_ ? image_->Height : 0;
}

void TBitmap::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        Adopt(nullptr);
        return;
    }
    Adopt(NewImage(width, height));
}

void TBitmap::Assign(const TBitmap* src) {
    if (src == this) return;
    if (!src || src->Empty()) {
        SetSize(0, 0);
        return;
    }
    // Neither context may keep the shared section selected: the next drawing call on
    // either takes its own copy first.
    src->FreeCanvas();
    FreeCanvas();
    image_ = src->image_;
    source_ = src->source_;
    width_ = src->width_;
    height_ = src->height_;
}

TCanvas* TBitmap::Canvas() {
    return canvas_.get();
}

HBITMAP TBitmap::Handle() {
    FreeCanvas();
    MakeOwn();
    GdiFlush();
    return image_ ? image_->Handle.Get() : nullptr;
}

uint8_t* TBitmap::ScanLine(int y) {
    if (Empty() || y < 0 || y >= height_)
        throw EInvalidGraphicOperation(Format("Scan line index out of range (%d)", y));
    MakeOwn();
    GdiFlush();
    return image_->Bits + RowBytes(width_) * (height_ - 1 - y);
}

const uint8_t* TBitmap::ScanLine(int y) const {
    if (Empty() || y < 0 || y >= height_)
        throw EInvalidGraphicOperation(Format("Scan line index out of range (%d)", y));
    Image* image = Pixels();
    GdiFlush();
    return image->Bits + RowBytes(width_) * (height_ - 1 - y);
}

void TBitmap::DrawOn(HDC dc, const RECT& dest, const RECT& source) const {
    Image* image = Pixels();
    if (!image || !dc) return;
    auto blit = [&](HDC from) {
        StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from,
                   source.left, source.top, source.right - source.left, source.bottom - source.top,
                   SRCCOPY);
    };
    auto* canvas = static_cast<TBitmapCanvas*>(canvas_.get());
    if (canvas->Bound()) {
        blit(canvas->Handle());  // its own pixels, selected there already
        return;
    }
    TMemoryDC memory(nullptr);
    if (!memory) throw EInvalidGraphicOperation("Out of system resources");
    memory.Select(image->Handle.Get());
    blit(memory.Handle());
}

void TBitmap::MakeOwn() {
    Image* image = Pixels();
    if (!image) return;
    if (image_.use_count() > 1) {
        std::shared_ptr<Image> own = NewImage(image->Width, image->Height);
        GdiFlush();
        std::memcpy(own->Bits, image->Bits, RowBytes(image->Width) * image->Height);
        own->Palette = image->Palette;
        FreeCanvas();
        image_ = std::move(own);
    } else if (source_ && source_->Decoded.lock() == image_) {
        source_->Decoded.reset();  // the resource's next reader decodes it afresh
    }
    source_.reset();
}

namespace {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}  // warnings of a damaged but readable file stay quiet

// Reads the header alone (decode false) or decodes into a new bottom-up section. Only
// plain data lives across setjmp, so the library's longjmp skips no destructor.
bool ReadJpeg(const unsigned char* data, unsigned long size, bool decode, HBITMAP* outHandle,
              void** outBits, int* outWidth, int* outHeight, char* message) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    HBITMAP volatile handle = nullptr;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.output_message = JpegOutputMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (handle) DeleteObject(handle);
        std::strncpy(message, err.message, JMSG_LENGTH_MAX - 1);
        message[JMSG_LENGTH_MAX - 1] = '\0';
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (!decode) {
        *outWidth = static_cast<int>(cinfo.image_width);
        *outHeight = static_cast<int>(cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    cinfo.out_color_space = JCS_EXT_BGR;  // the byte order of a DIB row
    jpeg_start_decompress(&cinfo);
    int width = static_cast<int>(cinfo.output_width);
    int height = static_cast<int>(cinfo.output_height);
    void* bits = nullptr;
    handle = CreateSection24(width, height, &bits);
    if (!handle) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "Cannot make a %dx%d bitmap", width, height);
        return false;
    }
    size_t stride = RowBytes(width);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = static_cast<JSAMPROW>(bits) +
                       stride * (static_cast<size_t>(height) - 1 - cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    *outHandle = handle;
    *outBits = bits;
    *outWidth = width;
    *outHeight = height;
    return true;
}

bool IsJpeg(const unsigned char* bytes, size_t size) {
    return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

// A 24-bit or palette BMP's header and colour table, copied out of the file (its layout
// leaves them unaligned), with the picture's size.
struct BmpLayout {
    BITMAPFILEHEADER File;
    std::vector<uint8_t> Info;  // empty when the data is no BMP this reads
    int Width = 0;
    int Height = 0;
};

// The colours a BMP of 8 bits or fewer a pixel lists; none above 8 bits.
size_t ColorTableSize(const BITMAPINFOHEADER& header) {
    if (header.biBitCount > 8) return 0;
    return header.biClrUsed ? header.biClrUsed : size_t(1) << header.biBitCount;
}

BmpLayout ReadBmp(const unsigned char* bytes, size_t size) {
    BmpLayout bmp;
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' ||
        bytes[1] != 'M')
        return bmp;
    std::memcpy(&bmp.File, bytes, sizeof(bmp.File));
    if (bmp.File.bfOffBits < sizeof(bmp.File) + sizeof(BITMAPINFOHEADER) ||
        bmp.File.bfOffBits >= size)
        return bmp;
    std::vector<uint8_t> info(bytes + sizeof(bmp.File), bytes + bmp.File.bfOffBits);
    BITMAPINFOHEADER header;
    std::memcpy(&header, info.data(), sizeof(header));
    int width = header.biWidth;
    int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    size_t stride = ((static_cast<size_t>(width) * header.biBitCount + 31) & ~31u) / 8;
    // The header and its colour table must lie before the pixels: the drawing reads both.
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > info.size() ||
        ColorTableSize(header) > (info.size() - header.biSize) / sizeof(RGBQUAD) || width <= 0 ||
        height <= 0 || header.biCompression != BI_RGB ||
        stride * height > size - bmp.File.bfOffBits)
        return bmp;
    bmp.Info = std::move(info);
    bmp.Width = width;
    bmp.Height = height;
    return bmp;
}

// A palette of the colour table of a BMP of 8 bits or fewer a pixel; null for any other.
std::shared_ptr<std::remove_pointer_t<HPALETTE>> BmpPalette(const BmpLayout& bmp) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, bmp.Info.data(), sizeof(header));
    size_t count = header.biBitCount == 0 ? 0 : ColorTableSize(header);  // there, ReadBmp says
    if (count > 256) count = 256;
    if (count == 0) return nullptr;
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (size_t i = 0; i < count; ++i) {
        RGBQUAD quad;
        std::memcpy(&quad, bmp.Info.data() + header.biSize + i * sizeof(quad), sizeof(quad));
        palette->palPalEntry[i] = {quad.rgbRed, quad.rgbGreen, quad.rgbBlue, 0};
    }
    HPALETTE handle = CreatePalette(palette);
    if (!handle) return nullptr;
    return {handle, [](HPALETTE p) { DeleteObject(p); }};
}

[[noreturn]] void RefuseBmp(const unsigned char* bytes, size_t size) {
    if (size >= sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) && bytes[0] == 'B' &&
        bytes[1] == 'M')
        throw EInvalidGraphic("Bitmap image is not valid");
    throw EInvalidGraphic("Unknown picture format");
}

void PictureSize(const unsigned char* bytes, size_t size, int* width, int* height) {
    if (IsJpeg(bytes, size)) {
        char message[JMSG_LENGTH_MAX];
        if (!ReadJpeg(bytes, static_cast<unsigned long>(size), false, nullptr, nullptr, width,
                      height, message))
            throw EInvalidGraphic(Format("JPEG error: %s", message));
        return;
    }
    BmpLayout bmp = ReadBmp(bytes, size);
    if (bmp.Info.empty()) RefuseBmp(bytes, size);
    *width = bmp.Width;
    *height = bmp.Height;
}

std::shared_ptr<TBitmap::Image> DecodePicture(const unsigned char* bytes, size_t size) {
    if (IsJpeg(bytes, size)) {
        HBITMAP handle = nullptr;
        void* bits = nullptr;
        int width = 0, height = 0;
        char message[JMSG_LENGTH_MAX];
        if (!ReadJpeg(bytes, static_cast<unsigned long>(size), true, &handle, &bits, &width,
                      &height, message))
            throw EInvalidGraphic(Format("JPEG error: %s", message));
        return ImageOf(handle, bits, width, height);
    }
    BmpLayout bmp = ReadBmp(bytes, size);
    if (bmp.Info.empty()) RefuseBmp(bytes, size);
    std::shared_ptr<TBitmap::Image> image = NewImage(bmp.Width, bmp.Height);
    image->Palette = BmpPalette(bmp);
    {
        TMemoryDC memory(nullptr);
        if (!memory) throw EInvalidGraphicOperation("Out of system resources");
        memory.Select(image->Handle.Get());
        StretchDIBits(memory.Handle(), 0, 0, bmp.Width, bmp.Height, 0, 0, bmp.Width, bmp.Height,
                      bytes + bmp.File.bfOffBits,
                      reinterpret_cast<const BITMAPINFO*>(bmp.Info.data()), DIB_RGB_COLORS,
                      SRCCOPY);
    }
    GdiFlush();
    return image;
}

// One source a resource, so that every bitmap loading it shares the decoded copy.
std::shared_ptr<TBitmap::Source> ResourceSource(const unsigned char* data, size_t size) {
    static TCriticalSection lock;
    static std::map<const unsigned char*, std::weak_ptr<TBitmap::Source>> sources;
    TScopedLock hold(lock);
    std::shared_ptr<TBitmap::Source> source = sources[data].lock();
    if (source && source->Size == size) return source;
    source = std::make_shared<TBitmap::Source>();
    source->Data = data;
    source->Size = size;
    PictureSize(data, size, &source->Width, &source->Height);
    sources[data] = source;
    return source;
}

}  // namespace

TBitmap::Image* TBitmap::Pixels() const {
    if (!image_ && source_) {
        std::shared_ptr<Image> image = source_->Decoded.lock();
        if (!image) {
            try {
                image = DecodePicture(source_->Data, source_->Size);
            } catch (...) {
                // Empty from here on, so that a failed picture is not decoded at every paint.
                source_.reset();
                width_ = height_ = 0;
                throw;
            }
            source_->Decoded = image;
        }
        image_ = std::move(image);
    }
    return image_.get();
}

HPALETTE TBitmap::Palette() const {
    Image* image = Pixels();
    return image ? image->Palette.get() : nullptr;
}

void TBitmap::LoadFromMemory(const void* data, size_t size) {
    // Decoded now: the caller's data need not outlive the call.
    Adopt(DecodePicture(static_cast<const unsigned char*>(data), size));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const AnsiString& name) {
    HINSTANCE program = GetModuleHandleA(nullptr);
    if (!instance) instance = program;
    HRSRC resource = FindResourceA(instance, name.c_str(), RT_RCDATA);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw Exception(Format("Resource %s not found", name.c_str()));
    size_t size = SizeofResource(instance, resource);
    if (instance != program) {
        // Another module may be unloaded while the picture lives.
        LoadFromMemory(data, size);
        return;
    }
    std::shared_ptr<Source> source = ResourceSource(static_cast<const unsigned char*>(data), size);
    FreeCanvas();
    image_ = source->Decoded.lock();
    source_ = std::move(source);
    width_ = source_->Width;
    height_ = source_->Height;
}

// TPicture

void TPicture::Assign(const TPicture* src) {
    bitmap_.Assign(src ? &src->bitmap_ : nullptr);
    Changed();
}

void TPicture::Assign(const TBitmap* src) {
    bitmap_.Assign(src);
    Changed();
}

void TPicture::LoadFromMemory(const void* data, size_t size) {
    bitmap_.LoadFromMemory(data, size);
    Changed();
}

void TPicture::LoadFromResourceName(HINSTANCE instance, const AnsiString& name) {
    bitmap_.LoadFromResourceName(instance, name);
    Changed();
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}
