#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/Colorkey.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// A 24-bit picture as the system stores it: rows bottom-up, blue-green-red, rows padded to
// 4 bytes. Rows are given top first, one letter a pixel: '.' magenta, 'x' blue, 'g' green.
// The padding bytes hold blue, so a reader that strays into them sees opaque pixels.
struct Picture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bits;

    explicit Picture(const std::vector<std::string>& rows)
        : Width(static_cast<int>(rows.at(0).size())), Height(static_cast<int>(rows.size())) {
        size_t stride = DibStride24(Width);
        Bits.assign(stride * Height, 0xFF);
        for (int y = 0; y < Height; ++y) {
            uint8_t* row = Bits.data() + stride * (Height - 1 - y);
            for (int x = 0; x < Width; ++x) {
                uint8_t* p = row + x * 3;
                switch (rows[y][x]) {
                    case '.':
                        p[0] = 0xFF, p[1] = 0x00, p[2] = 0xFF;
                        break;
                    case 'g':
                        p[0] = 0x00, p[1] = 0xFF, p[2] = 0x00;
                        break;
                    default:
                        p[0] = 0xFF, p[1] = 0x00, p[2] = 0x00;
                        break;
                }
            }
        }
    }
    std::vector<KeyRect> Runs(uint32_t key = kMagenta, uint8_t tolerance = 0) const {
        size_t n = CountOpaqueRuns(Bits.data(), Width, Height, key, tolerance);
        std::vector<KeyRect> rects =
            CollectOpaqueRuns(n, Bits.data(), Width, Height, key, tolerance);
        EXPECT_EQ(rects.size(), n);
        return rects;
    }
};

TEST(ColorKeyRuns, OneRectanglePerRunPerRowTopRowFirst) {
    EXPECT_EQ(Picture({".x."}).Runs(), (std::vector<KeyRect>{{1, 0, 2, 1}}));
    // Runs at a row's start and end, a row of key only, a row fully opaque, rows with padding.
    Picture picture({
        "xx..gx.",
        ".......",
        "xxgxxxx",
        "..x...x",
    });
    EXPECT_EQ(DibStride24(7), 24u);
    EXPECT_EQ(picture.Runs(),
              (std::vector<KeyRect>{
                  {0, 0, 2, 1}, {4, 0, 6, 1}, {0, 2, 7, 3}, {2, 3, 3, 4}, {6, 3, 7, 4}}));
    EXPECT_EQ(Picture({"x.", ".x"}).Runs(), (std::vector<KeyRect>{{0, 0, 1, 1}, {1, 1, 2, 2}}));
    EXPECT_EQ(Picture({"....", "...."}).Runs().size(), 0u);
    // Another key: magenta is opaque then.
    EXPECT_EQ(Picture({".x."}).Runs(0xFF0000).size(), 2u);
}

TEST(ColorKeyRuns, CollectingNeverWritesBeyondTheCountGiven) {
    Picture picture({"x.x.x.x"});
    EXPECT_EQ(CountOpaqueRuns(picture.Bits.data(), 7, 1, kMagenta, 0), 4u);
    std::vector<KeyRect> two = CollectOpaqueRuns(2, picture.Bits.data(), 7, 1, kMagenta, 0);
    EXPECT_EQ(two, (std::vector<KeyRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
    EXPECT_EQ(CountOpaqueRuns(nullptr, 7, 1, kMagenta, 0), 0u);
    EXPECT_EQ(CountOpaqueRuns(picture.Bits.data(), 0, 1, kMagenta, 0), 0u);
    EXPECT_EQ(CountOpaqueRuns(picture.Bits.data(), 7, 0, kMagenta, 0), 0u);
}

TEST(ColorKeyRuns, ToleranceIsTheColourDistance) {
    // Blue, green, red bytes against magenta.
    EXPECT_TRUE(IsKeyPixel(250, 0, 250, kMagenta, 10));   // about 7.07
    EXPECT_FALSE(IsKeyPixel(245, 0, 245, kMagenta, 10));  // about 14.1
    EXPECT_TRUE(IsKeyPixel(255, 0, 255, kMagenta, 0));
    EXPECT_FALSE(IsKeyPixel(255, 1, 255, kMagenta, 0));
    // Exactly at the tolerance counts as the key: distance 5 from (3, 4, 0).
    EXPECT_TRUE(IsKeyPixel(255, 4, 252, kMagenta, 5));
    EXPECT_FALSE(IsKeyPixel(255, 4, 252, kMagenta, 4));
    // Red is the key's low byte, blue its third.
    EXPECT_TRUE(IsKeyPixel(0x30, 0x20, 0x10, 0x302010, 0));
    EXPECT_FALSE(IsKeyPixel(0x10, 0x20, 0x30, 0x302010, 0));
    EXPECT_FALSE(IsKeyPixel(0, 0, 0, 0xFFFFFF, 255));  // about 441 away
}

TEST(RegionBatches, AtMostAThousandRectanglesABlock) {
    EXPECT_EQ(RegionBatchCounts(0), std::vector<size_t>{});
    EXPECT_EQ(RegionBatchCounts(1), std::vector<size_t>{1});
    EXPECT_EQ(RegionBatchCounts(1000), std::vector<size_t>{1000});
    EXPECT_EQ(RegionBatchCounts(1001), (std::vector<size_t>{1000, 1}));
    EXPECT_EQ(RegionBatchCounts(2500), (std::vector<size_t>{1000, 1000, 500}));
}

uint32_t U32At(const RegionBlock& block, size_t offset) {
    uint32_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(block.Data()) + offset, sizeof(value));
    return value;
}

TEST(RegionBatches, BlockHasTheRegionDataLayout) {
    RegionBlock block(3);
    EXPECT_EQ(block.Size(), 32u + 16u * 3);
    EXPECT_EQ(U32At(block, 0), 32u);  // dwSize
    EXPECT_EQ(U32At(block, 4), 1u);   // iType: rectangles
    const KeyRect rects[3] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {-1, 0, 9, 1}};
    block.Fill(rects, 3);
    EXPECT_EQ(block.Count(), 3u);
    EXPECT_EQ(U32At(block, 8), 3u);  // nCount
    for (size_t offset = 12; offset < 32; offset += 4) EXPECT_EQ(U32At(block, offset), 0u);
    EXPECT_EQ(std::memcmp(static_cast<const uint8_t*>(block.Data()) + 32, rects, sizeof(rects)), 0);
    // A last, shorter batch: the block keeps its size, the count follows.
    block.Fill(rects + 2, 1);
    EXPECT_EQ(block.Count(), 1u);
    EXPECT_EQ(block.Size(), 32u + 16u * 3);
    EXPECT_EQ(U32At(block, 32), static_cast<uint32_t>(-1));
    EXPECT_THROW(block.Fill(rects, 4), std::length_error);
}

TEST(StripFaces, FaceWidthNeverDividesByZeroNorGoesNegative) {
    EXPECT_EQ(FaceWidth(100, 2), 50);
    EXPECT_EQ(FaceWidth(100, 3), 33);
    EXPECT_EQ(FaceWidth(100, 1), 100);
    EXPECT_EQ(FaceWidth(100, 0), 100);
    EXPECT_EQ(FaceWidth(100, -3), 100);
    EXPECT_EQ(FaceWidth(0, 2), 0);
    EXPECT_EQ(FaceWidth(-8, 2), 0);
    EXPECT_EQ(FaceWidth(5, 8), 0);
}

TEST(StripFaces, FaceByStateAndNumberOfFaces) {
    const int w = 90, h = 20;
    struct Case {
        int32_t faces;
        KeyRect normal, pressed, disabled;
    } cases[] = {
        {1, {0, 0, 90, 20}, {0, 0, 90, 20}, {0, 0, 90, 20}},
        {2, {0, 0, 45, 20}, {45, 0, 90, 20}, {0, 0, 45, 20}},
        {3, {0, 0, 30, 20}, {30, 0, 60, 20}, {60, 0, 90, 20}},
        {4, {0, 0, 22, 20}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {0, {0, 0, 90, 20}, {0, 0, 90, 20}, {0, 0, 90, 20}},
        {-2, {0, 0, 90, 20}, {0, 0, 90, 20}, {0, 0, 90, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripFaceRect(FaceState::Normal, w, h, c.faces), c.normal) << c.faces;
        EXPECT_EQ(StripFaceRect(FaceState::Pressed, w, h, c.faces), c.pressed) << c.faces;
        EXPECT_EQ(StripFaceRect(FaceState::Disabled, w, h, c.faces), c.disabled) << c.faces;
    }
    // Thirds cut toward zero; an odd half likewise.
    EXPECT_EQ(StripFaceRect(FaceState::Disabled, 100, 7, 3), (KeyRect{66, 0, 100, 7}));
    EXPECT_EQ(StripFaceRect(FaceState::Pressed, 100, 7, 3), (KeyRect{33, 0, 66, 7}));
    EXPECT_EQ(StripFaceRect(FaceState::Pressed, 91, 7, 2), (KeyRect{45, 0, 91, 7}));
    // No strip: nothing, whatever the state.
    EXPECT_EQ(StripFaceRect(FaceState::Pressed, -4, -1, 2), (KeyRect{0, 0, 0, 0}));
}

}  // namespace
