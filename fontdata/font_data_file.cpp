#include "fontdata/font_data_file.h"

#include <algorithm>

#include "fontdata/byte_order.h"
#include "fontdata/font_header_check.h"

namespace {

// Reads fields from a block of memory. Running past the end sets a sticky
// failure and yields zeros, so a parser can read its whole layout and check
// once; it never touches a byte beyond the block.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return !m_failed; }
    size_t remaining() const { return m_size - m_position; }

    // The next count bytes, or nullptr (and failure) when fewer remain.
    const uint8_t* Take(uint64_t count) {
        if (m_failed || count > remaining()) {
            m_failed = true;
            return nullptr;
        }
        const uint8_t* p = m_data + m_position;
        m_position += size_t(count);
        return p;
    }

    uint16_t U16() {
        const uint8_t* p = Take(2);
        return p ? ReadLE16(p) : 0;
    }

    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p ? ReadLE32(p) : 0;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
    bool m_failed = false;
};

} // namespace

std::vector<uint8_t> EncodeFontDataFile(int32_t rangeStart, int32_t rangeEnd,
                                        const FontHeader& header, const GlyphRecord* records,
                                        size_t count, const uint8_t* glyphData,
                                        size_t glyphDataSize) {
    const uint32_t bytesPerGlyph = header.DWord(FontHeader::kBytesPerGlyph);
    // A file whose header disagrees with its records or glyph data, or that
    // Load would refuse, could not be loaded again; refuse to write one.
    if (count > kMaxRegistrationCodes || header.DWord(FontHeader::kCharCount) != count ||
        uint64_t(bytesPerGlyph) * count != glyphDataSize || (count != 0 && records == nullptr) ||
        (glyphDataSize != 0 && glyphData == nullptr) ||
        !IsLoadableFontHeader(header, count * GlyphRecord::kSize + uint64_t(glyphDataSize)))
        return {};

    std::vector<uint8_t> file(kfd::kRecordsOffset + count * GlyphRecord::kSize + glyphDataSize);
    uint8_t* p = file.data();
    WriteLE32(p + kfd::kRangeStartOffset, uint32_t(rangeStart));
    WriteLE32(p + kfd::kRangeEndOffset, uint32_t(rangeEnd));
    WriteLE16(p + kfd::kTypeOffset, kfd::kFileType);
    std::copy(header.bytes.begin(), header.bytes.end(), p + kfd::kHeaderOffset);
    // The registration ID belongs to a download, never to the file.
    p[kfd::kHeaderOffset + FontHeader::kRegistrationId] = 0;
    p[kfd::kHeaderOffset + FontHeader::kRegistrationId + 1] = 0;
    p += kfd::kRecordsOffset;
    for (size_t i = 0; i < count; ++i, p += GlyphRecord::kSize)
        records[i].ToNative(p);
    if (glyphDataSize != 0)
        std::copy(glyphData, glyphData + glyphDataSize, p);
    return file;
}

FontDataFile ParseFontDataFile(const uint8_t* data, size_t size) {
    FontDataFile file;
    ByteReader reader(data, size);
    file.rangeStart = int32_t(reader.U32());
    file.rangeEnd = int32_t(reader.U32());
    file.type = reader.U16();
    if (!reader.ok()) {
        file.problem = FontDataProblem::Damaged;
        return file;
    }
    if (file.type != kfd::kFileType) {
        file.problem = FontDataProblem::OtherVersion;
        return file;
    }
    const uint8_t* header = reader.Take(FontHeader::kSize);
    if (!header) {
        file.problem = FontDataProblem::Damaged;
        return file;
    }
    std::copy(header, header + FontHeader::kSize, file.header.bytes.begin());
    if (!file.header.HasFormatIdentifier()) {
        file.problem = FontDataProblem::NotFontData;
        return file;
    }

    // Every field that goes on to the settings and the printer is checked in
    // one place, the count and glyph size against what the file really holds
    // among them, so a damaged or hostile header can neither make the reader
    // run past the data nor load values the tool never writes.
    if (!IsLoadableFontHeader(file.header, reader.remaining())) {
        file.problem = FontDataProblem::Damaged;
        return file;
    }
    const uint32_t count = file.header.DWord(FontHeader::kCharCount);
    const uint8_t* records = reader.Take(uint64_t(count) * GlyphRecord::kSize);
    file.glyphDataOffset = kfd::kRecordsOffset + size_t(count) * GlyphRecord::kSize;
    file.glyphDataSize = uint64_t(count) * file.header.DWord(FontHeader::kBytesPerGlyph);
    file.records.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        file.records.push_back(GlyphRecord::FromNative(records + i * GlyphRecord::kSize));
    return file;
}

FontDataGlyphs ReadFontDataGlyphs(const FontDataFile& file, const uint8_t* data, size_t size) {
    FontDataGlyphs result;
    if (file.problem != FontDataProblem::None || file.glyphDataOffset > size ||
        file.glyphDataSize > size - file.glyphDataOffset)
        return result;
    result.cellWidth = file.header.Word(FontHeader::kCellWidth);
    result.cellHeight = file.header.Word(FontHeader::kCellHeight);
    result.bytesPerGlyph = file.header.DWord(FontHeader::kBytesPerGlyph);
    const uint64_t rowBytes = (uint64_t(result.cellWidth) + 7) / 8;
    // Every bitmap must be exactly the cell's rows, or the drawing would
    // read one glyph's rows out of the next.
    if (rowBytes * result.cellHeight != result.bytesPerGlyph)
        return result;
    const uint8_t* bits = data + file.glyphDataOffset;
    result.glyphs.reserve(file.records.size());
    for (const GlyphRecord& record : file.records) {
        result.glyphs.push_back({record.code, bits});
        bits += result.bytesPerGlyph;
    }
    result.ok = true;
    return result;
}
