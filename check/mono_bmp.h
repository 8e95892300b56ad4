#pragma once
// A 1-bit BMP file: white paper (palette entry 0) and black ink (entry 1),
// rows stored bottom first as the format wants them. The rows come from the
// caller in bands, top row first, so a large picture never has to be held
// in memory whole; the bytes go to a sink.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace bmp {

// File header, information header and the two palette entries.
constexpr size_t kMonoHeaderSize = 62;
// Largest file written: the format's sizes are 32-bit.
constexpr uint64_t kMaxMonoFileSize = 0x7FFFFFFF;

// Bytes of one stored row: whole 32-bit words.
size_t MonoStride(uint32_t width);
// Size of the whole file, or 0 when the picture is empty or would exceed
// kMaxMonoFileSize.
uint64_t MonoFileSize(uint32_t width, uint32_t height);
// The 62 bytes before the rows; empty when MonoFileSize is 0.
std::vector<uint8_t> MonoHeader(uint32_t width, uint32_t height);

// Fills rows [top, top + count) into rows, MonoStride(width) bytes each, top
// row first, 1 for ink, the most significant bit leftmost. The buffer comes
// zeroed.
using RowBand = std::function<void(uint32_t top, uint32_t count, uint8_t* rows)>;
// Takes the next bytes of the file; false stops the writing.
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;

// Writes the file through a sink a part at a time: the header, then bands
// of rows from the bottom up, each of at most bandBytes, so that a window can
// write a large picture between its messages.
class MonoWriter {
public:
    static constexpr size_t kBandBytes = 256 * 1024;

    MonoWriter(uint32_t width, uint32_t height, size_t bandBytes = kBandBytes);
    // The file's size; 0 when it is refused (see MonoFileSize).
    uint64_t FileSize() const { return m_fileSize; }
    uint64_t Written() const { return m_written; }
    bool Done() const { return m_fileSize != 0 && m_written == m_fileSize; }
    // Hands the next part to sink: false when the size is refused, the file
    // is done or the sink gave up.
    bool WriteNext(const RowBand& band, const ByteSink& sink);

private:
    uint32_t m_width;
    uint64_t m_fileSize;
    uint64_t m_written = 0;
    size_t m_stride;
    uint32_t m_bandRows;
    uint32_t m_rowsLeft; // rows above those written
    std::vector<uint8_t> m_rows;
    std::vector<uint8_t> m_stored;
};

} // namespace bmp
