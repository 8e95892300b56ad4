#include "fontdata/mono_bmp.h"

#include <algorithm>

#include "fontdata/byte_order.h"

namespace bmp {

namespace {

// Rows composed at a time: a band of a few megabytes whatever the width.
constexpr size_t kBandBytes = 4u * 1024 * 1024;

} // namespace

size_t MonoStride(uint32_t width) {
    return (size_t(width) + 31) / 32 * 4;
}

uint64_t MonoFileSize(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return 0;
    const uint64_t size = kMonoHeaderSize + uint64_t(MonoStride(width)) * height;
    return size > kMaxMonoFileSize ? 0 : size;
}

std::vector<uint8_t> MonoHeader(uint32_t width, uint32_t height) {
    const uint64_t fileSize = MonoFileSize(width, height);
    if (fileSize == 0)
        return {};
    std::vector<uint8_t> header(kMonoHeaderSize, 0);
    uint8_t* p = header.data();
    p[0] = 'B';
    p[1] = 'M';
    WriteLE32(p + 2, uint32_t(fileSize));
    WriteLE32(p + 10, uint32_t(kMonoHeaderSize));
    // The information header: a positive height, so rows go bottom first.
    uint8_t* info = p + 14;
    WriteLE32(info, 40);
    WriteLE32(info + 4, width);
    WriteLE32(info + 8, height);
    WriteLE16(info + 12, 1); // planes
    WriteLE16(info + 14, 1); // bits per pixel
    WriteLE32(info + 20, uint32_t(fileSize - kMonoHeaderSize));
    WriteLE32(info + 32, 2); // colours used
    WriteLE32(info + 36, 2); // colours important
    // Palette, blue green red reserved: entry 0 white, entry 1 black.
    uint8_t* palette = info + 40;
    std::fill(palette, palette + 3, uint8_t(0xFF));
    return header;
}

bool WriteMonoBmp(uint32_t width, uint32_t height, const RowBand& band, const ByteSink& sink) {
    const std::vector<uint8_t> header = MonoHeader(width, height);
    if (header.empty() || !sink(header.data(), header.size()))
        return false;
    const size_t stride = MonoStride(width);
    const uint32_t bandRows = uint32_t(std::clamp<size_t>(kBandBytes / stride, 1, height));
    std::vector<uint8_t> rows(stride * bandRows);
    std::vector<uint8_t> stored(stride * bandRows);
    // The file holds the bottom row first: bands from the bottom up, each
    // turned over.
    for (uint32_t end = height; end > 0;) {
        const uint32_t count = std::min(end, bandRows);
        const uint32_t top = end - count;
        std::fill(rows.begin(), rows.end(), uint8_t(0));
        band(top, count, rows.data());
        for (uint32_t r = 0; r < count; ++r)
            std::copy_n(rows.data() + size_t(count - 1 - r) * stride, stride,
                        stored.data() + size_t(r) * stride);
        if (!sink(stored.data(), stride * count))
            return false;
        end = top;
    }
    return true;
}

} // namespace bmp
