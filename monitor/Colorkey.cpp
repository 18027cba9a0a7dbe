#include "Colorkey.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

size_t DibStride24(int width) {
    if (width <= 0) return 0;
    return ((static_cast<size_t>(width) * 24 + 31) & ~static_cast<size_t>(31)) / 8;
}

bool IsKeyPixel(uint8_t blue, uint8_t green, uint8_t red, uint32_t key, uint8_t tolerance) {
    double dr = static_cast<double>(red) - static_cast<double>(key & 0xFF);
    double dg = static_cast<double>(green) - static_cast<double>((key >> 8) & 0xFF);
    double db = static_cast<double>(blue) - static_cast<double>((key >> 16) & 0xFF);
    return std::sqrt(dr * dr + dg * dg + db * db) <= static_cast<double>(tolerance);
}

namespace {

// Calls run(x, y, length) for every run of opaque pixels, rows from the top.
template <class F>
void ForEachRun(const uint8_t* bits, int width, int height, uint32_t key, uint8_t tolerance,
                F run) {
    if (!bits || width <= 0 || height <= 0) return;
    size_t stride = DibStride24(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bits + stride * static_cast<size_t>(height - 1 - y);
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * 3;
            bool keyed = IsKeyPixel(p[0], p[1], p[2], key, tolerance);
            if (!keyed && start < 0) {
                start = x;
            } else if (keyed && start >= 0) {
                run(start, y, x - start);
                start = -1;
            }
        }
        if (start >= 0) run(start, y, width - start);
    }
}

}  // namespace

size_t CountOpaqueRuns(const uint8_t* bits, int width, int height, uint32_t key,
                       uint8_t tolerance) {
    size_t count = 0;
    ForEachRun(bits, width, height, key, tolerance, [&](int, int, int) { ++count; });
    return count;
}

std::vector<KeyRect> CollectOpaqueRuns(size_t count, const uint8_t* bits, int width, int height,
                                       uint32_t key, uint8_t tolerance) {
    std::vector<KeyRect> rects;
    rects.reserve(count);
    ForEachRun(bits, width, height, key, tolerance, [&](int x, int y, int length) {
        if (rects.size() < count) rects.push_back({x, y, x + length, y + 1});
    });
    return rects;
}

std::vector<size_t> RegionBatchCounts(size_t total) {
    std::vector<size_t> counts;
    for (size_t done = 0; done < total;) {
        size_t n = std::min(kRegionBatchMax, total - done);
        counts.push_back(n);
        done += n;
    }
    return counts;
}

namespace {

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

}  // namespace

RegionBlock::RegionBlock(size_t capacity)
    : capacity_(capacity), bytes_(kRegionHeaderSize + kRegionRectSize * capacity, 0) {
    PutU32(bytes_, 0, static_cast<uint32_t>(kRegionHeaderSize));  // dwSize
    PutU32(bytes_, 4, kRegionRectangles);                         // iType
}

void RegionBlock::Fill(const KeyRect* rects, size_t count) {
    if (count > capacity_) throw std::length_error("region block overflow");
    PutU32(bytes_, 8, static_cast<uint32_t>(count));  // nCount
    if (count) std::memcpy(bytes_.data() + kRegionHeaderSize, rects, kRegionRectSize * count);
}

uint32_t RegionBlock::Count() const {
    uint32_t count = 0;
    std::memcpy(&count, bytes_.data() + 8, sizeof(count));
    return count;
}

int FaceWidth(int stripWidth, int32_t numFaces) {
    if (stripWidth <= 0) return 0;
    return numFaces < 1 ? stripWidth : stripWidth / numFaces;
}

namespace {

int32_t TwoThirds(int32_t w) {
    return static_cast<int32_t>(2 * static_cast<int64_t>(w) / 3);
}

}  // namespace

KeyRect StripFaceRect(FaceState state, int stripWidth, int stripHeight, int32_t numFaces) {
    const int32_t w = std::max(stripWidth, 0), h = std::max(stripHeight, 0);
    const int32_t faces = numFaces < 1 ? 1 : numFaces;
    const KeyRect whole = {0, 0, w, h};
    const KeyRect first = {0, 0, FaceWidth(w, faces), h};
    const KeyRect none = {0, 0, 0, 0};
    switch (state) {
        case FaceState::Disabled:
            if (faces == 1) return whole;
            if (faces == 2) return {0, 0, w / 2, h};
            if (faces == 3) return {TwoThirds(w), 0, w, h};
            return none;
        case FaceState::Pressed:
            if (faces == 1) return whole;
            if (faces == 2) return {w / 2, 0, w, h};
            if (faces == 3) return {w / 3, 0, TwoThirds(w), h};
            return none;
        case FaceState::Normal:
        default:
            return first;
    }
}
