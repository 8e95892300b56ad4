// libFuzzer target: the font data file reader on arbitrary bytes. Besides
// the sanitizers' checks, a file the reader accepts must be consistent with
// what it announces and must encode back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fontdata/font_data_file.h"
#include "form/font_data_load.h"
#include "form/glyphkit_doc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CGlyphkitDoc doc;
    const FontDataLoad load = LoadFontDataInto(data, size, "fuzz.kfd", doc);
    const FontDataFile file = ParseFontDataFile(data, size);
    if (load.messageId != MessageForProblem(file.problem))
        abort();
    if (file.problem != FontDataProblem::None)
        return 0;

    const size_t count = file.records.size();
    if (count > kMaxRegistrationCodes || load.text.size() != count || doc.m_wCharCount != count)
        abort();
    if (file.glyphDataOffset != kfd::kRecordsOffset + count * GlyphRecord::kSize)
        abort();
    if (file.glyphDataOffset + file.glyphDataSize > size)
        abort();

    // An accepted file's cell matches its glyph size. Every glyph byte is
    // read, so ASan sees any bitmap pointing outside.
    const FontDataGlyphs glyphs = ReadFontDataGlyphs(file, data, size);
    if (!glyphs.ok)
        abort();
    unsigned ink = 0;
    for (const GlyphBitmapRef& glyph : glyphs.glyphs)
        for (uint32_t i = 0; i < glyphs.bytesPerGlyph; ++i)
            ink += glyph.bits[i];

    // What was read encodes back to the same bytes, apart from the ID bytes
    // and the records' reserved words, which the writer clears.
    const std::vector<uint8_t> again =
        EncodeFontDataFile(file.rangeStart, file.rangeEnd, file.header, file.records.data(), count,
                           data + file.glyphDataOffset, size_t(file.glyphDataSize));
    if (again.size() != file.glyphDataOffset + file.glyphDataSize)
        abort();
    for (size_t i = 0; i < again.size(); ++i) {
        const bool idByte = i == kfd::kHeaderOffset || i == kfd::kHeaderOffset + 1;
        const bool reserved = i >= kfd::kRecordsOffset && i < file.glyphDataOffset &&
                              (i - kfd::kRecordsOffset) % GlyphRecord::kSize >= 6 &&
                              (i - kfd::kRecordsOffset) % GlyphRecord::kSize < 8;
        if (again[i] != (idByte || reserved ? 0 : data[i]))
            abort();
    }
    return int(ink & 0);
}
