#include "fontdata/font_header_check.h"

#include "fontdata/glyph_record.h"

namespace {

bool IsFlag(uint32_t value) {
    return value == 0 || value == 1;
}

} // namespace

bool IsLoadableFontHeader(const FontHeader& h, uint64_t bodySize) {
    // The settings the form restores: its size field takes 1 to 72, bold is
    // saved as weight 700 or 400, italic and vertical writing as 1 or 0.
    const uint16_t points = h.Word(FontHeader::kPointSize);
    const uint16_t weight = h.Word(FontHeader::kWeight);
    if (points < kMinPointSize || points > kMaxPointSize || (weight != 400 && weight != 700) ||
        !IsFlag(h.Byte(FontHeader::kItalic)) || !IsFlag(h.Word(FontHeader::kVertical)))
        return false;
    // Every registration names its face; without one a build would take
    // whatever face the form's list shows first.
    if (h.Byte(FontHeader::kFaceName) == 0)
        return false;

    // The cell and the glyph size are one fact written three times: every
    // bitmap is whole rows of the cell, and the data size counts each
    // character's record and bitmap. 64-bit sums keep a hostile header from
    // wrapping into agreement.
    const uint64_t rowBytes = (uint64_t(h.Word(FontHeader::kCellWidth)) + 7) / 8;
    const uint64_t bytesPerGlyph = h.DWord(FontHeader::kBytesPerGlyph);
    const uint64_t count = h.DWord(FontHeader::kCharCount);
    if (rowBytes * h.Word(FontHeader::kCellHeight) != bytesPerGlyph ||
        count > kMaxRegistrationCodes)
        return false;
    const uint64_t body = count * (GlyphRecord::kSize + bytesPerGlyph);
    return h.DWord(FontHeader::kDataSize) == body && body <= bodySize;
}
