// libFuzzer target: the font data file reader on arbitrary bytes. Besides
// the sanitizers' checks, a file the reader accepts must be consistent with
// what it announces and must encode back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fontdata/code_page.h"
#include "fontdata/font_data_file.h"
#include "operations/font_data_load.h"
#include "operations/settings_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SettingsRecord doc;
    const FontDataLoad load = LoadFontDataInto(data, size, "fuzz.kfd", 932, doc);
    const FontDataFile file = ParseFontDataFile(data, size);
    // A file the parser takes is refused only for a face of a lone lead byte.
    const std::string face = file.header.Text(FontHeader::kFaceName, FontHeader::kNameWidth);
    const bool faceless = file.problem == FontDataProblem::None && face.size() == 1 &&
                          IsLeadByte(uint8_t(face[0]), 932);
    if (load.messageId != MessageForProblem(faceless ? FontDataProblem::Damaged : file.problem))
        abort();
    if (load.messageId != 0)
        return 0;

    // The names the form takes are read within their fields and end on a
    // whole character: the system's conversions would read past a lead byte
    // left alone at the end.
    const size_t fields[] = {FontHeader::kFaceName, FontHeader::kRegName};
    const std::string names[] = {doc.GetFaceName(), doc.GetRegName()};
    for (size_t i = 0; i < 2; ++i) {
        const std::string& name = names[i];
        if ((i == 0 && name.empty()) ||
            file.header.Text(fields[i], FontHeader::kNameWidth).rfind(name, 0) != 0)
            abort();
        for (size_t at = 0; at < name.size(); ++at)
            if (name[at] == '\0' || (IsLeadByte(uint8_t(name[at]), 932) && ++at == name.size()))
                abort();
    }

    const size_t count = file.records.size();
    if (count > kMaxRegistrationCodes || load.text.size() != count || doc.GetCharCount() != count)
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
