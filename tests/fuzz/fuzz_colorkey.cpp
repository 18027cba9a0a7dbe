// The colour-key runs of any picture: the runs cover exactly the opaque
// pixels, one row high, maximal, in row and column order; the region blocks
// carry them all; face rectangles stay inside their strip.
#include <algorithm>

#include "FuzzCheck.h"
#include "monitor/Colorkey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    int width = input.ConsumeIntegralInRange(-2, 48);
    int height = input.ConsumeIntegralInRange(-2, 48);
    uint32_t key = input.ConsumeIntegral<uint32_t>();
    uint8_t tolerance = input.ConsumeBool() ? 0 : input.ConsumeIntegral<uint8_t>();
    bool twoColours = input.ConsumeBool();  // key pixels are rare in random bytes
    uint32_t other = input.ConsumeIntegral<uint32_t>();

    size_t stride = DibStride24(width);
    FUZZ_CHECK(width <= 0 ? stride == 0 : stride >= 3u * width && stride % 4 == 0);
    std::vector<uint8_t> bits = input.ConsumeBytes<uint8_t>(stride * std::max(height, 0));
    bits.resize(stride * std::max(height, 0));
    if (twoColours)
        for (size_t i = 0; i + 2 < bits.size(); i += 3) {
            uint32_t c = bits[i] & 1 ? key : other;
            bits[i] = static_cast<uint8_t>(c >> 16);  // blue, green, red
            bits[i + 1] = static_cast<uint8_t>(c >> 8);
            bits[i + 2] = static_cast<uint8_t>(c);
        }

    size_t count = CountOpaqueRuns(bits.data(), width, height, key, tolerance);
    std::vector<KeyRect> runs =
        CollectOpaqueRuns(count, bits.data(), width, height, key, tolerance);
    FUZZ_CHECK(runs.size() == count);
    std::vector<KeyRect> some =
        CollectOpaqueRuns(count / 2, bits.data(), width, height, key, tolerance);
    FUZZ_CHECK(std::equal(some.begin(), some.end(), runs.begin()) && some.size() == count / 2);

    std::vector<bool> covered(std::max(width, 0) * std::max(height, 0));
    for (size_t i = 0; i < runs.size(); ++i) {
        const KeyRect& r = runs[i];
        FUZZ_CHECK(r.Top >= 0 && r.Bottom == r.Top + 1 && r.Top < height);
        FUZZ_CHECK(r.Left >= 0 && r.Left < r.Right && r.Right <= width);
        if (i > 0) {
            const KeyRect& p = runs[i - 1];
            FUZZ_CHECK(p.Top < r.Top || (p.Top == r.Top && p.Right < r.Left));
        }
        for (int x = r.Left; x < r.Right; ++x) covered[r.Top * width + x] = true;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = bits.data() + stride * (height - 1 - y) + 3 * x;  // rows bottom-up
            FUZZ_CHECK(covered[y * width + x] == !IsKeyPixel(p[0], p[1], p[2], key, tolerance));
            if (tolerance == 0) {
                uint32_t colour = p[2] | p[1] << 8 | p[0] << 16;
                FUZZ_CHECK(IsKeyPixel(p[0], p[1], p[2], key, 0) == (colour == (key & 0xFFFFFF)));
            }
        }

    size_t total = count + input.ConsumeIntegralInRange<size_t>(0, 5000);
    std::vector<size_t> batches = RegionBatchCounts(total);
    size_t sum = 0;
    for (size_t i = 0; i < batches.size(); ++i) {
        FUZZ_CHECK(batches[i] > 0 && batches[i] <= kRegionBatchMax);
        FUZZ_CHECK(i + 1 == batches.size() || batches[i] == kRegionBatchMax);
        sum += batches[i];
    }
    FUZZ_CHECK(sum == total);
    RegionBlock block(std::min(count, kRegionBatchMax));
    size_t n = std::min(count, kRegionBatchMax);
    block.Fill(runs.data(), n);
    FUZZ_CHECK(block.Count() == n && block.Size() == kRegionHeaderSize + kRegionRectSize * n);

    int stripWidth = input.ConsumeIntegral<int>();
    int stripHeight = input.ConsumeIntegral<int>();
    int32_t faces = input.ConsumeIntegral<int32_t>();
    int face = FaceWidth(stripWidth, faces);
    FUZZ_CHECK(face >= 0 && face <= std::max(stripWidth, 0));
    for (FaceState state : {FaceState::Normal, FaceState::Pressed, FaceState::Disabled}) {
        KeyRect r = StripFaceRect(state, stripWidth, stripHeight, faces);
        FUZZ_CHECK(0 <= r.Left && r.Left <= r.Right && r.Right <= std::max(stripWidth, 0));
        FUZZ_CHECK(r.Top == 0 && (r.Bottom == 0 || r.Bottom == std::max(stripHeight, 0)));
    }
    return 0;
}
