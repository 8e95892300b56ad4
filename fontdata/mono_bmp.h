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

// Writes the whole file through sink. False when the size is refused (see
// MonoFileSize) or the sink gave up.
bool WriteMonoBmp(uint32_t width, uint32_t height, const RowBand& band, const ByteSink& sink);

} // namespace bmp
