// Pictures for the picture and button tests: BMP files of 24 bits a pixel or of 8 with a colour
// table, a palette's colours, and the palette and blit records of a drawing taken down in an
// enhanced metafile.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace testpictures {

// A bottom-up BMP file of width by height pixels of bits each (8 or 24), its colour table the
// colours given (listed whole), every pixel zero until written through Row.
struct BmpFile {
    std::vector<uint8_t> Data;
    size_t Pixels = 0;  // where the rows start
    size_t Stride = 0;
    int Height = 0;
    // Row y, counted from the top.
    uint8_t* Row(int y) { return Data.data() + Pixels + Stride * (Height - 1 - y); }
};

inline BmpFile NewBmp(int width, int height, int bits, const std::vector<RGBQUAD>& colours = {}) {
    BmpFile bmp;
    bmp.Stride = ((static_cast<size_t>(width) * bits + 31) & ~size_t(31)) / 8;
    bmp.Height = height;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biClrUsed = static_cast<DWORD>(colours.size());
    file.bfType = 0x4D42;
    bmp.Pixels = sizeof(file) + sizeof(info) + colours.size() * sizeof(RGBQUAD);
    file.bfOffBits = static_cast<DWORD>(bmp.Pixels);
    file.bfSize = static_cast<DWORD>(bmp.Pixels + bmp.Stride * height);
    bmp.Data.assign(file.bfSize, 0);
    std::memcpy(bmp.Data.data(), &file, sizeof(file));
    std::memcpy(bmp.Data.data() + sizeof(file), &info, sizeof(info));
    if (!colours.empty())
        std::memcpy(bmp.Data.data() + sizeof(file) + sizeof(info), colours.data(),
                    colours.size() * sizeof(RGBQUAD));
    return bmp;
}

// width by height pixels of 8 bits, each an index into colours.
inline std::vector<uint8_t> MakeBmp8(int width, int height, const std::vector<RGBQUAD>& colours,
                                     const std::function<uint8_t(int, int)>& index) {
    BmpFile bmp = NewBmp(width, height, 8, colours);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bmp.Row(y)[x] = index(x, y);
    return bmp.Data;
}

// The palette's colours as "r,g,b" texts joined by blanks.
inline std::string PaletteColours(HPALETTE palette) {
    std::string colours;
    UINT count = palette ? GetPaletteEntries(palette, 0, 0, nullptr) : 0;
    std::vector<PALETTEENTRY> entries(count);
    if (count) GetPaletteEntries(palette, 0, count, entries.data());
    for (const PALETTEENTRY& e : entries)
        colours += (colours.empty() ? "" : " ") + std::to_string(e.peRed) + "," +
                   std::to_string(e.peGreen) + "," + std::to_string(e.peBlue);
    return colours;
}

// What draw did to palettes and pixels on a metafile's context, in order: "palette <n>" for
// a palette selected, n counting the palettes in the order they were first selected, "default
// palette" for the system's own selected back, and "blit". (Wine's metafiles keep neither a
// palette's colours nor its realizing.)
inline std::vector<std::string> RecordPalettes(const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, screen);
    draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<uint8_t> bits(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(metafile);

    std::vector<DWORD> palettes;  // the metafile's object numbers, in order of first use
    std::vector<std::string> steps;
    for (size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        EMR head;
        std::memcpy(&head, bits.data() + at, sizeof(head));
        if (head.nSize < sizeof(EMR) || at + head.nSize > bits.size()) break;
        const uint8_t* record = bits.data() + at;
        at += head.nSize;
        switch (head.iType) {
            case EMR_SELECTPALETTE: {
                EMRSELECTPALETTE select;
                std::memcpy(&select, record, sizeof(select));
                if (select.ihPal == (0x80000000u | DEFAULT_PALETTE)) {
                    steps.push_back("default palette");
                    break;
                }
                size_t n = 0;
                while (n < palettes.size() && palettes[n] != select.ihPal) ++n;
                if (n == palettes.size()) palettes.push_back(select.ihPal);
                steps.push_back("palette " + std::to_string(n + 1));
                break;
            }
            case EMR_BITBLT:
            case EMR_STRETCHBLT:
            case EMR_STRETCHDIBITS:
                steps.push_back("blit");
                break;
            default:
                break;
        }
    }
    return steps;
}

}  // namespace testpictures
