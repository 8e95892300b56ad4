#include "check/mono_bmp.h"

#include <algorithm>

#include "fontdata/byte_order.h"

namespace bmp {

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

MonoWriter::MonoWriter(uint32_t width, uint32_t height, size_t bandBytes)
    : m_width(width), m_fileSize(MonoFileSize(width, height)), m_stride(MonoStride(width)),
      m_bandRows(uint32_t(std::clamp<size_t>(bandBytes / std::max<size_t>(m_stride, 1), 1,
                                             std::max<uint32_t>(height, 1)))),
      m_rowsLeft(m_fileSize ? height : 0) {}

bool MonoWriter::WriteNext(const RowBand& band, const ByteSink& sink) {
    if (m_fileSize == 0 || Done())
        return false;
    if (m_written == 0) {
        const std::vector<uint8_t> header = MonoHeader(m_width, m_rowsLeft);
        if (!sink(header.data(), header.size()))
            return false;
        m_written = header.size();
        // The band's buffers only once there are rows to write.
        m_rows.resize(m_stride * m_bandRows);
        m_stored.resize(m_stride * m_bandRows);
        return true;
    }
    // The file holds the bottom row first: bands from the bottom up, each
    // turned over.
    const uint32_t count = std::min(m_rowsLeft, m_bandRows);
    const uint32_t top = m_rowsLeft - count;
    std::fill(m_rows.begin(), m_rows.end(), uint8_t(0));
    band(top, count, m_rows.data());
    for (uint32_t r = 0; r < count; ++r)
        std::copy_n(m_rows.data() + size_t(count - 1 - r) * m_stride, m_stride,
                    m_stored.data() + size_t(r) * m_stride);
    if (!sink(m_stored.data(), m_stride * count))
        return false;
    m_rowsLeft = top;
    m_written += uint64_t(m_stride) * count;
    if (Done()) {
        std::vector<uint8_t>().swap(m_rows);
        std::vector<uint8_t>().swap(m_stored);
    }
    return true;
}

} // namespace bmp
