// Arithmetic of the skinned buttons that needs no window: which pixels of a 24-bit picture
// are key-coloured, the runs of opaque pixels per row as region rectangles, the region data
// blocks they are handed to the system in, and the face rectangles of a strip of faces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle with the layout of the system's RECT: 16 bytes, right and bottom exclusive.
struct KeyRect {
    int32_t Left;
    int32_t Top;
    int32_t Right;
    int32_t Bottom;
};
static_assert(sizeof(KeyRect) == 16, "KeyRect is a RECT");

inline bool operator==(const KeyRect& a, const KeyRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

// Bytes per row of a 24-bit device-independent bitmap: rows padded to 4 bytes.
size_t DibStride24(int width);

// A pixel is key-coloured when its colour distance to the key (an RGB value, red in the low
// byte) is at most the tolerance; with tolerance 0 only the key itself is.
bool IsKeyPixel(uint8_t blue, uint8_t green, uint8_t red, uint32_t key, uint8_t tolerance);

// bits: a 24-bit picture of width by height pixels, rows bottom-up, blue-green-red, rows
// padded to DibStride24(width). The number of runs of opaque pixels, all rows together.
size_t CountOpaqueRuns(const uint8_t* bits, int width, int height, uint32_t key, uint8_t tolerance);
// The runs as rectangles in picture coordinates (top row 0), each one row high, row by row
// from the top and left to right within a row; at most count of them.
std::vector<KeyRect> CollectOpaqueRuns(size_t count, const uint8_t* bits, int width, int height,
                                       uint32_t key, uint8_t tolerance);

// Rectangles per region block handed to the system at most.
constexpr size_t kRegionBatchMax = 1000;
// The region block header (RGNDATAHEADER) and one rectangle.
constexpr size_t kRegionHeaderSize = 32;
constexpr size_t kRegionRectSize = 16;
constexpr uint32_t kRegionRectangles = 1;  // RDH_RECTANGLES

// The rectangle counts of the blocks, in order: 2500 rectangles give 1000, 1000 and 500.
std::vector<size_t> RegionBatchCounts(size_t total);

// A region block (RGNDATA) with room for capacity rectangles, reused batch after batch.
class RegionBlock {
public:
    explicit RegionBlock(size_t capacity);
    // Puts count rectangles behind the header and sets its count; more than the capacity throws.
    void Fill(const KeyRect* rects, size_t count);
    size_t Capacity() const { return capacity_; }
    // The whole block's size, whatever the count.
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
    const void* Data() const { return bytes_.data(); }
    uint32_t Count() const;

private:
    size_t capacity_;
    std::vector<uint8_t> bytes_;
};

// Width of one face of a strip of numFaces equal faces side by side. Fewer than one face
// counts as one: the whole strip is the face.
int FaceWidth(int stripWidth, int32_t numFaces);

enum class FaceState { Normal, Pressed, Disabled };

// The part of a strip a bitmap button shows in a state: with 1 face the whole strip; with 2
// the left half normally and when disabled, the right half when pressed; with 3 the thirds
// normal, pressed, disabled; with more only the first face, and nothing pressed or disabled.
KeyRect StripFaceRect(FaceState state, int stripWidth, int stripHeight, int32_t numFaces);
