#pragma once
// The font data file ("kfd"): a registration kept on disk so that it can be
// loaded into the form and downloaded again. Little-endian:
//   0    start code of the one-byte range as entered, 32-bit
//   4    end code of that range, 32-bit
//   8    file type, 16-bit, 1
//   10   the 142-byte FontHeader (registration ID bytes zero)
//   152  n native GlyphRecords, ascending code
//   ...  n glyph bitmaps of bytes-per-glyph bytes each
// Encoding and parsing work on memory only; reading and writing the file
// itself is the caller's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fontdata/font_header.h"
#include "fontdata/glyph_record.h"

namespace kfd {

constexpr size_t kRangeStartOffset = 0;
constexpr size_t kRangeEndOffset = 4;
constexpr size_t kTypeOffset = 8;
constexpr size_t kHeaderOffset = 10;
constexpr size_t kRecordsOffset = kHeaderOffset + FontHeader::kSize; // 152
constexpr uint16_t kFileType = 1;
// Largest font data file that Load reads: 5000 glyphs of the largest cell
// fit many times over.
constexpr uint64_t kMaxFileSize = 256u * 1024 * 1024;

} // namespace kfd

// The bytes of a font data file. The header must state count characters
// (offset 60) and the bytes per glyph (offset 56) of glyphData, which holds
// count bitmaps; the registration ID is not kept in the file. Returns an empty
// vector when the parts do not agree.
std::vector<uint8_t> EncodeFontDataFile(int32_t rangeStart, int32_t rangeEnd,
                                        const FontHeader& header, const GlyphRecord* records,
                                        size_t count, const uint8_t* glyphData,
                                        size_t glyphDataSize);

// What keeps a font data file from being used.
enum class FontDataProblem {
    None,
    Damaged,      // cut short, or a header the tool could not have written
    OtherVersion, // a file type other than 1
    NotFontData   // no format identifier in the header
};

// A font data file taken apart.
struct FontDataFile {
    FontDataProblem problem = FontDataProblem::None;
    int32_t rangeStart = 0;
    int32_t rangeEnd = 0;
    uint16_t type = 0;
    FontHeader header;
    std::vector<GlyphRecord> records;
    // Where the glyph data starts in the parsed bytes, and its size
    // (records.size() x bytes per glyph).
    size_t glyphDataOffset = 0;
    uint64_t glyphDataSize = 0;
};

// Parses the bytes of a font data file; reads nothing beyond size. A file
// whose header the tool could not have written (IsLoadableFontHeader: a field
// out of its range, a cell that disagrees with its glyph size, more than
// kMaxRegistrationCodes characters, fewer bytes than the records and glyph
// data it announces) is Damaged.
FontDataFile ParseFontDataFile(const uint8_t* data, size_t size);

// One glyph bitmap of the glyph data: rows top first, each ceil(width / 8)
// bytes, the most significant bit the leftmost dot, 1 ink.
struct GlyphBitmapRef {
    uint16_t code = 0;
    const uint8_t* bits = nullptr;
};

struct FontDataGlyphs {
    bool ok = false;
    uint16_t cellWidth = 0;
    uint16_t cellHeight = 0;
    uint32_t bytesPerGlyph = 0;
    std::vector<GlyphBitmapRef> glyphs; // point into the parsed bytes
};

// The glyph bitmaps of a usable file (parsed from the same data). Not ok when
// the file is refused or its cell does not match its bytes per glyph.
FontDataGlyphs ReadFontDataGlyphs(const FontDataFile& file, const uint8_t* data, size_t size);
