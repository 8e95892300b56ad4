#include "tools/image/png_writer.h"

#include <algorithm>
#include <array>

namespace image {

namespace {

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

// Length, type, data, and the CRC over type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBE32(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBE32(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

int BitDepthFor(size_t colours) {
    if (colours <= 2)
        return 1;
    if (colours <= 4)
        return 2;
    if (colours <= 16)
        return 4;
    return 8;
}

// A zlib stream of stored blocks: no compression, but any decoder reads it,
// and it costs five bytes per 65535.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t done = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - done, 65535);
        const bool last = done + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(uint8_t(length));
        out.push_back(uint8_t(length >> 8));
        out.push_back(uint8_t(~length));
        out.push_back(uint8_t(~length >> 8));
        out.insert(out.end(), raw.begin() + done, raw.begin() + done + length);
        done += length;
    } while (done < raw.size());
    PutBE32(out, Adler32(raw.data(), raw.size()));
    return out;
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    const auto& table = CrcTable();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::vector<uint8_t> EncodePng(const IndexedImage& image) {
    if (image.width == 0 || image.height == 0 || image.width > 0x7FFFFFFF ||
        image.height > 0x7FFFFFFF || image.palette.empty() || image.palette.size() > 256 ||
        image.pixels.size() != size_t(image.width) * image.height)
        return {};
    if (std::any_of(image.pixels.begin(), image.pixels.end(),
                    [&](uint8_t index) { return index >= image.palette.size(); }))
        return {};

    const int depth = BitDepthFor(image.palette.size());
    const size_t rowBytes = (size_t(image.width) * depth + 7) / 8;
    // Each row: filter type 0 (none), then the indices packed from the most
    // significant bit.
    std::vector<uint8_t> raw(size_t(image.height) * (1 + rowBytes), 0);
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = raw.data() + size_t(y) * (1 + rowBytes) + 1;
        for (uint32_t x = 0; x < image.width; ++x) {
            const size_t bit = size_t(x) * depth;
            row[bit / 8] |= uint8_t(image.At(x, y) << (8 - depth - bit % 8));
        }
    }

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBE32(header, image.width);
    PutBE32(header, image.height);
    header.insert(header.end(), {uint8_t(depth), 3, 0, 0, 0}); // indexed, deflate, no interlace
    PutChunk(png, "IHDR", header);
    std::vector<uint8_t> palette;
    for (const Rgb& c : image.palette)
        palette.insert(palette.end(), {c.r, c.g, c.b});
    PutChunk(png, "PLTE", palette);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace image
