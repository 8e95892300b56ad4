#pragma once
// A PNG writer for small palette pictures such as glyph sheets, without an
// image library: the image data goes into stored (uncompressed) deflate
// blocks, so only CRC-32 and Adler-32 need computing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace image {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// A picture of palette indices, one byte per pixel, rows top first.
struct IndexedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Rgb> palette;
    std::vector<uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(uint32_t w, uint32_t h, std::vector<Rgb> colours, uint8_t fill = 0)
        : width(w), height(h), palette(std::move(colours)), pixels(size_t(w) * h, fill) {}
    uint8_t At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
    void Set(uint32_t x, uint32_t y, uint8_t index) { pixels[size_t(y) * width + x] = index; }
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// The PNG file of image: indexed colour at the smallest bit depth its
// palette allows. Empty when the image cannot be written (no pixels, no or
// more than 256 palette entries, an index past the palette).
std::vector<uint8_t> EncodePng(const IndexedImage& image);

} // namespace image
