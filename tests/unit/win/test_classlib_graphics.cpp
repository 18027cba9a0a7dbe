// Pictures: JPEG (baseline, progressive, greyscale) and BMP data decoded to
// 24-bit bitmaps, RCDATA resources, canvas drawing and image lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// libjpeg wants FILE and size_t declared first.
#include <jpeglib.h>

#include "TempDir.h"
#include "TestPictures.h"
#include "classlib/Application.h"
#include "classlib/ExtCtrls.h"
#include "classlib/GdiScopes.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"

namespace {

struct Rgb {
    uint8_t r, g, b;
};

// A JPEG made with the library's own compressor, without chroma subsampling.
std::vector<uint8_t> MakeJpeg(int width, int height, const std::function<Rgb(int, int)>& pixel,
                              bool progressive, bool grey = false) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            Rgb p = pixel(x, static_cast<int>(cinfo.next_scanline));
            if (grey) {
                row[x] = p.r;
            } else {
                row[x * 3] = p.r;
                row[x * 3 + 1] = p.g;
                row[x * 3 + 2] = p.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> data(out, out + size);
    free(out);
    return data;
}

// Four quadrants: red, blue over green, white.
Rgb Quadrants(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    if (!bottom) return right ? Rgb{0, 0, 255} : Rgb{255, 0, 0};
    return right ? Rgb{255, 255, 255} : Rgb{0, 255, 0};
}

::testing::AssertionResult PixelNear(TBitmap* bitmap, int x, int y, Rgb want, int tolerance = 10) {
    const uint8_t* p = bitmap->ScanLine(y) + x * 3;  // blue, green, red
    if (std::abs(p[2] - want.r) <= tolerance && std::abs(p[1] - want.g) <= tolerance &&
        std::abs(p[0] - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel " << x << "," << y << " is " << int(p[2]) << "," << int(p[1]) << ","
           << int(p[0]) << " not " << int(want.r) << "," << int(want.g) << "," << int(want.b);
}

void ExpectQuadrants(TBitmap* bitmap) {
    // Width 30: each row padded to 92 bytes; the top row comes first.
    ASSERT_EQ(bitmap->Width(), 30);
    ASSERT_EQ(bitmap->Height(), 20);
    EXPECT_EQ(bitmap->Stride(), 92);
    EXPECT_TRUE(PixelNear(bitmap, 7, 5, {255, 0, 0}));
    EXPECT_TRUE(PixelNear(bitmap, 22, 5, {0, 0, 255}));
    EXPECT_TRUE(PixelNear(bitmap, 7, 15, {0, 255, 0}));
    EXPECT_TRUE(PixelNear(bitmap, 22, 15, {255, 255, 255}));
    // Drawn elsewhere, the picture keeps its orientation.
    HDC dc = bitmap->Canvas()->Handle();
    EXPECT_EQ(GetPixel(dc, 7, 5) & 0xF0F0F0, RGB(0xF0, 0, 0));
}

std::vector<uint8_t> MakeBmp24(int width, int height, const std::function<Rgb(int, int)>& pixel) {
    testpictures::BmpFile bmp = testpictures::NewBmp(width, height, 24);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bmp.Row(y);
        for (int x = 0; x < width; ++x) {
            Rgb p = pixel(x, y);
            row[x * 3] = p.b;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.r;
        }
    }
    return bmp.Data;
}

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TEST(ClasslibPicture, BaselineAndProgressiveJpegDecodeToTheirPixels) {
    auto quadrants = [](int x, int y) { return Quadrants(x, y, 30, 20); };
    TBitmap baseline;
    std::vector<uint8_t> data = MakeJpeg(30, 20, quadrants, false);
    baseline.LoadFromMemory(data.data(), data.size());
    ExpectQuadrants(&baseline);

    TBitmap progressive;
    data = MakeJpeg(30, 20, quadrants, true);
    progressive.LoadFromMemory(data.data(), data.size());
    ExpectQuadrants(&progressive);

    TBitmap grey;
    data = MakeJpeg(
        8, 4,
        [](int x, int) {
            return Rgb{uint8_t(x < 4 ? 40 : 200), 0, 0};
        },
        false, true);
    grey.LoadFromMemory(data.data(), data.size());
    EXPECT_TRUE(PixelNear(&grey, 1, 1, {40, 40, 40}));
    EXPECT_TRUE(PixelNear(&grey, 6, 2, {200, 200, 200}));
}

TEST(ClasslibPicture, DamagedDataThrowsAndKeepsThePicture) {
    TBitmap bitmap;
    std::vector<uint8_t> data = MakeJpeg(
        30, 20, [](int x, int y) { return Quadrants(x, y, 30, 20); }, false);
    bitmap.LoadFromMemory(data.data(), data.size());
    std::vector<uint8_t> damaged(data.begin(), data.begin() + 40);
    damaged.resize(400, 0x5A);  // a header cut off by junk
    EXPECT_THROW(bitmap.LoadFromMemory(damaged.data(), damaged.size()), EInvalidGraphic);
    const char text[] = "not a picture";
    EXPECT_THROW(bitmap.LoadFromMemory(text, sizeof(text)), EInvalidGraphic);
    std::vector<uint8_t> shortBmp = {'B', 'M', 0, 0};
    EXPECT_THROW(bitmap.LoadFromMemory(shortBmp.data(), shortBmp.size()), EInvalidGraphic);
    ExpectQuadrants(&bitmap);
}

TEST(ClasslibPicture, BmpDataKeepsRowOrderAndPadding) {
    TBitmap bitmap;
    std::vector<uint8_t> data = MakeBmp24(3, 2, [](int x, int y) {
        return y == 0 ? Rgb{uint8_t(x * 100), 0, 0} : Rgb{0, 0, uint8_t(50 + x)};
    });
    bitmap.LoadFromMemory(data.data(), data.size());
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_TRUE(PixelNear(&bitmap, 2, 0, {200, 0, 0}, 0));
    EXPECT_TRUE(PixelNear(&bitmap, 0, 1, {0, 0, 50}, 0));
    EXPECT_TRUE(PixelNear(&bitmap, 2, 1, {0, 0, 52}, 0));
    // Pixel data shorter than the header says is refused.
    data.resize(data.size() - 4);
    EXPECT_THROW(bitmap.LoadFromMemory(data.data(), data.size()), EInvalidGraphic);
}

TEST(ClasslibPicture, APaletteBmpKeepsItsColourTableAsThePalette) {
    const std::vector<RGBQUAD> colours = {
        {30, 20, 10, 0}, {50, 100, 200, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}};
    std::vector<uint8_t> data =
        testpictures::MakeBmp8(4, 2, colours, [](int x, int y) { return uint8_t((x + y) % 4); });
    TBitmap bitmap;
    bitmap.LoadFromMemory(data.data(), data.size());
    EXPECT_TRUE(PixelNear(&bitmap, 0, 0, {10, 20, 30}, 0));
    EXPECT_TRUE(PixelNear(&bitmap, 1, 0, {200, 100, 50}, 0));
    EXPECT_TRUE(PixelNear(&bitmap, 3, 1, {10, 20, 30}, 0));
    const std::string table = "10,20,30 200,100,50 0,255,0 255,255,255";
    ASSERT_EQ(testpictures::PaletteColours(bitmap.Palette()), table);

    // copies keep it, also once drawn into; a new picture has none
    TBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_EQ(copy.Palette(), bitmap.Palette());
    RECT all = {0, 0, 4, 2};
    copy.Canvas()->FillRect(all);
    EXPECT_EQ(testpictures::PaletteColours(copy.Palette()), table);
    copy.SetSize(4, 2);
    EXPECT_EQ(copy.Palette(), nullptr);
    bitmap.SetSize(0, 0);
    EXPECT_EQ(bitmap.Palette(), nullptr);

    // pictures without a colour table have no palette
    TBitmap plain;
    std::vector<uint8_t> bmp24 = MakeBmp24(2, 2, [](int, int) { return Rgb{1, 2, 3}; });
    plain.LoadFromMemory(bmp24.data(), bmp24.size());
    EXPECT_EQ(plain.Palette(), nullptr);
    auto grey = [](int, int) { return Rgb{9, 9, 9}; };
    std::vector<uint8_t> jpeg = MakeJpeg(8, 8, grey, false);
    plain.LoadFromMemory(jpeg.data(), jpeg.size());
    EXPECT_EQ(plain.Palette(), nullptr);

    // a colour table said to be longer than the file has room for is refused, not read on
    std::vector<uint8_t> cut = data;
    const DWORD all256 = 0;
    std::memcpy(cut.data() + sizeof(BITMAPFILEHEADER) + offsetof(BITMAPINFOHEADER, biClrUsed),
                &all256, sizeof(all256));
    bitmap.LoadFromMemory(data.data(), data.size());
    EXPECT_THROW(bitmap.LoadFromMemory(cut.data(), cut.size()), EInvalidGraphic);
    EXPECT_EQ(testpictures::PaletteColours(bitmap.Palette()), table);
}

TEST(ClasslibPicture, APaletteScopePutsTheContextsOwnPaletteBackAlsoOnAnError) {
    std::vector<uint8_t> data = testpictures::MakeBmp8(2, 2, {{1, 2, 3, 0}, {4, 5, 6, 0}},
                                                       [](int x, int) { return uint8_t(x); });
    TBitmap bitmap;
    bitmap.LoadFromMemory(data.data(), data.size());
    ASSERT_NE(bitmap.Palette(), nullptr);
    TMemoryDC dc(nullptr);
    HGDIOBJ own = GetStockObject(DEFAULT_PALETTE);
    auto selected = [&] { return GetCurrentObject(dc.Handle(), OBJ_PAL); };
    ASSERT_EQ(selected(), own);
    {
        PaletteScope scope(dc.Handle(), bitmap.Palette());
        EXPECT_EQ(selected(), bitmap.Palette());
    }
    EXPECT_EQ(selected(), own);
    try {
        PaletteScope scope(dc.Handle(), bitmap.Palette());
        throw EInvalidGraphicOperation("Out of system resources");
    } catch (const EInvalidGraphicOperation&) {
    }
    EXPECT_EQ(selected(), own);
    {
        PaletteScope none(dc.Handle(), nullptr);
        EXPECT_EQ(selected(), own);
    }
    EXPECT_EQ(selected(), own);
}

TEST(ClasslibPicture, LoadsAnRcdataResourceByName) {
    // A copy of this program given one RCDATA resource, loaded as data.
    TempDir dir;
    std::string copy = dir.File("skin.exe");
    ASSERT_TRUE(CopyFileA(ThisProgram().c_str(), copy.c_str(), FALSE));
    std::vector<uint8_t> jpeg = MakeJpeg(
        30, 20, [](int x, int y) { return Quadrants(x, y, 30, 20); }, true);
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, RT_RCDATA, "IMGMAINBG",
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), jpeg.data(),
                                static_cast<DWORD>(jpeg.size())));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromResourceName(module, "IMGMAINBG");
    EXPECT_EQ(changes, 1);
    ExpectQuadrants(picture.Bitmap());
    EXPECT_THROW(picture.LoadFromResourceName(module, "IMGMISSING"), Exception);
    EXPECT_EQ(picture.Width(), 30);
    FreeLibrary(module);
}

TEST(ClasslibPicture, AssignCopiesAndImagesTakeThePictureSize) {
    Application->Initialize();
    TPicture source;
    std::vector<uint8_t> data = MakeJpeg(
        30, 20, [](int x, int y) { return Quadrants(x, y, 30, 20); }, false);
    source.LoadFromMemory(data.data(), data.size());
    TImage* image = new TImage(Application);
    image->SetAutoSize(true);
    image->Picture()->Assign(&source);
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(image->Height(), 20);
    // A copy, not a share: changing the source leaves the image's picture.
    source.Bitmap()->SetSize(0, 0);
    EXPECT_TRUE(source.Empty());
    ExpectQuadrants(image->Picture()->Bitmap());
    image->Picture()->Assign(static_cast<TPicture*>(nullptr));
    EXPECT_TRUE(image->Picture()->Empty());
    image->Free();
}

TEST(ClasslibPicture, CanvasDrawsFramesTextAndPictures) {
    TBitmap target;
    target.SetSize(40, 20);
    TCanvas* canvas = target.Canvas();
    canvas->Brush.Color = clWhite;
    canvas->FillRect({0, 0, 40, 20});
    RECT r = {0, 0, 40, 20};
    Frame3D(canvas, r, clRed, clBlue, 2);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 38);
    EXPECT_TRUE(PixelNear(&target, 0, 10, {255, 0, 0}, 0));   // left edge: top colour
    EXPECT_TRUE(PixelNear(&target, 39, 10, {0, 0, 255}, 0));  // right edge: bottom colour
    EXPECT_TRUE(PixelNear(&target, 20, 10, {255, 255, 255}, 0));

    // A font changed while bound is put to use, the old one let go.
    canvas->Font()->SetHeight(-11);
    SIZE small = canvas->TextExtent("Wireless");
    canvas->Font()->SetHeight(-22);
    SIZE large = canvas->TextExtent("Wireless");
    EXPECT_GT(small.cx, 0);
    EXPECT_GT(large.cy, small.cy);

    TBitmap stamp;
    stamp.SetSize(4, 4);
    stamp.Canvas()->Brush.Color = clLime;
    stamp.Canvas()->FillRect({0, 0, 4, 4});
    canvas->Draw(30, 5, &stamp);
    canvas->StretchDraw({5, 5, 15, 15}, &stamp);
    EXPECT_TRUE(PixelNear(&target, 31, 6, {0, 255, 0}, 0));
    EXPECT_TRUE(PixelNear(&target, 14, 14, {0, 255, 0}, 0));
    EXPECT_TRUE(PixelNear(&target, 16, 16, {255, 255, 255}, 0));
}

TEST(ClasslibPicture, ImageListSplitsAStripAndGivesIconsAndBitmaps) {
    TBitmap strip;
    strip.SetSize(24, 8);
    TColor colours[] = {clRed, clLime, clFuchsia};
    for (int i = 0; i < 3; ++i) {
        strip.Canvas()->Brush.Color = colours[i];
        strip.Canvas()->FillRect({i * 8, 0, i * 8 + 8, 8});
    }
    strip.Canvas()->Brush.Color = clBlue;
    strip.Canvas()->FillRect({16, 0, 18, 2});  // a blue corner in the third image
    TImageList list(nullptr);
    list.SetSize(8, 8);
    EXPECT_EQ(list.Add(&strip), 0);
    EXPECT_EQ(list.Count(), 3);
    TBitmap face;
    list.GetBitmap(1, &face);
    EXPECT_EQ(face.Width(), 8);
    EXPECT_TRUE(PixelNear(&face, 4, 4, {0, 255, 0}, 0));
    HICON icon = list.GetIcon(2);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_EQ(list.GetIcon(3), nullptr);

    // Masked: the key colour lets the background through.
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 3);
    EXPECT_EQ(list.Count(), 6);
    list.GetBitmap(5, &face);
    COLORREF face_colour = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(PixelNear(
        &face, 5, 5, {GetRValue(face_colour), GetGValue(face_colour), GetBValue(face_colour)}, 0));
    EXPECT_TRUE(PixelNear(&face, 0, 0, {0, 0, 255}, 0));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

namespace {

// A pixel read without taking pixels of its own: blue, green, red.
uint32_t PixelOf(const TBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + x * 3;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

}  // namespace

// The images are drawn without the system's image list; the one made for a list view, before
// or after more images came, holds the same pictures, transparent in the same places.
TEST(ClasslibPicture, TheSystemsImageListHoldsWhatTheListDraws) {
    TBitmap strip;
    strip.SetSize(16, 8);
    strip.Canvas()->Brush.Color = clFuchsia;  // the key colour around a red and a green square
    strip.Canvas()->FillRect({0, 0, 16, 8});
    strip.Canvas()->Brush.Color = clRed;
    strip.Canvas()->FillRect({2, 2, 6, 6});
    strip.Canvas()->Brush.Color = clLime;
    strip.Canvas()->FillRect({8, 0, 16, 4});
    TBitmap holes;  // a second strip with its own mask: white where it is transparent
    holes.SetSize(8, 8);
    holes.Canvas()->Brush.Color = clBlue;
    holes.Canvas()->FillRect({0, 0, 8, 8});
    TBitmap holesMask;
    holesMask.SetSize(8, 8);
    holesMask.Canvas()->Brush.Color = clWhite;
    holesMask.Canvas()->FillRect({0, 0, 8, 8});
    holesMask.Canvas()->Brush.Color = clBlack;
    holesMask.Canvas()->FillRect({0, 0, 4, 8});

    TImageList list(nullptr);
    list.SetSize(8, 8);
    list.SetAllocBy(1);  // every add makes the strips grow
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    HIMAGELIST system = list.Handle();
    EXPECT_EQ(list.Add(&holes, &holesMask), 2);
    EXPECT_EQ(list.Count(), 3);
    ASSERT_EQ(ImageList_GetImageCount(system), 3);

    auto drawn = [&](int index, bool bySystem) {
        auto* picture = new TBitmap;
        picture->SetSize(8, 8);
        picture->Canvas()->Brush.Color = 0x00FFFF;  // yellow
        picture->Canvas()->FillRect({0, 0, 8, 8});
        if (bySystem)
            ImageList_Draw(system, index, picture->Canvas()->Handle(), 0, 0, ILD_NORMAL);
        else
            list.Draw(picture->Canvas(), 0, 0, index);
        return std::unique_ptr<TBitmap>(picture);
    };
    const Rgb yellow = {255, 255, 0};
    for (int index = 0; index < 3; ++index) {
        auto ours = drawn(index, false), theirs = drawn(index, true);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(PixelOf(*ours, x, y), PixelOf(*theirs, x, y))
                    << "image " << index << " at " << x << "," << y;
    }
    auto first = drawn(0, false), third = drawn(2, false);
    EXPECT_TRUE(PixelNear(first.get(), 0, 0, yellow, 0)) << "the key colour lets through";
    EXPECT_TRUE(PixelNear(first.get(), 3, 3, {255, 0, 0}, 0));
    EXPECT_TRUE(PixelNear(third.get(), 1, 1, {0, 0, 255}, 0));
    EXPECT_TRUE(PixelNear(third.get(), 6, 1, yellow, 0)) << "the mask's white lets through";

    // an icon of an image: its colours where the image has them
    HICON icon = list.GetIcon(1);
    ASSERT_NE(icon, nullptr);
    auto onIcon = drawn(0, false);
    DrawIconEx(onIcon->Canvas()->Handle(), 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    EXPECT_TRUE(PixelNear(onIcon.get(), 1, 1, {0, 255, 0}, 0));
    EXPECT_TRUE(PixelNear(onIcon.get(), 3, 5, {255, 0, 0}, 0)) << "transparent below the green";

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ImageList_GetImageCount(system), 0);
}

TEST(ClasslibPicture, ProgramPicturesDecodeWhenDrawnAndCopiesShareUntilWritten) {
    TBitmap store;
    store.LoadFromResourceName(nullptr, "TESTJPEG");
    // The size is known from the header; nothing is decoded yet, nor by copying.
    EXPECT_FALSE(store.Empty());
    EXPECT_EQ(store.Width(), 119);
    EXPECT_EQ(store.Height(), 32);
    EXPECT_FALSE(store.Decoded());
    TBitmap shown;
    shown.Assign(&store);
    EXPECT_FALSE(shown.Decoded());

    TBitmap target;
    target.SetSize(119, 32);
    target.Canvas()->Draw(0, 0, &shown);
    EXPECT_TRUE(shown.Decoded());
    EXPECT_FALSE(store.Decoded());
    const uint32_t original = PixelOf(shown, 60, 16);
    EXPECT_EQ(PixelOf(target, 60, 16), original);

    // A second reader of the resource shares the copy being held, with no decode of its own.
    TBitmap again;
    again.LoadFromResourceName(nullptr, "TESTJPEG");
    EXPECT_TRUE(again.Decoded());
    EXPECT_EQ(static_cast<const TBitmap&>(again).ScanLine(3),
              static_cast<const TBitmap&>(shown).ScanLine(3));

    // Drawing into one copy leaves the others and the resource's picture as they were.
    again.Canvas()->Brush.Color = clRed;
    again.Canvas()->FillRect({0, 0, 119, 32});
    EXPECT_EQ(PixelOf(again, 60, 16), 0xFF0000u);
    EXPECT_EQ(PixelOf(shown, 60, 16), original);
    TBitmap fresh;
    fresh.LoadFromResourceName(nullptr, "TESTJPEG");
    EXPECT_EQ(PixelOf(fresh, 60, 16), original);

    // Once no bitmap holds the decoded picture it is gone: the next reader decodes anew.
    shown.SetSize(0, 0);
    fresh.SetSize(0, 0);
    TBitmap later;
    later.LoadFromResourceName(nullptr, "TESTJPEG");
    EXPECT_FALSE(later.Decoded());
    EXPECT_EQ(PixelOf(later, 60, 16), original);

    // BMP resources likewise.
    TBitmap face;
    face.LoadFromResourceName(nullptr, "TESTBMP");
    EXPECT_EQ(face.Width(), 27);
    EXPECT_FALSE(face.Decoded());
    EXPECT_THROW(face.LoadFromResourceName(nullptr, "TESTMISSING"), Exception);
}

TEST(ClasslibPicture, ACanvasHeldAcrossACopyDrawsIntoItsOwnBitmapOnly) {
    TBitmap painted;
    painted.SetSize(8, 8);
    TCanvas* canvas = painted.Canvas();
    canvas->Brush.Color = clBlue;
    canvas->FillRect({0, 0, 8, 8});
    TBitmap copy;
    copy.Assign(&painted);
    canvas->Brush.Color = clLime;
    canvas->FillRect({0, 0, 8, 8});
    EXPECT_EQ(PixelOf(painted, 4, 4), 0x00FF00u);
    EXPECT_EQ(PixelOf(copy, 4, 4), 0x0000FFu);
    // Through the copy's writable scan line as well.
    copy.ScanLine(1)[0] = 0x11;
    EXPECT_EQ(PixelOf(painted, 0, 1), 0x00FF00u);
    EXPECT_EQ(PixelOf(copy, 0, 1) & 0xFF, 0x11u);
    // Part of a picture copied, stretched, onto another canvas, the source left shared.
    TBitmap target;
    target.SetSize(4, 4);
    target.Canvas()->CopyRect({0, 0, 4, 4}, &copy, {2, 2, 4, 4});
    EXPECT_EQ(PixelOf(target, 3, 3), 0x0000FFu);
}
