#include "operations/settings_record.h"

#include <cstdio>

// ＭＳ 明朝 in code page 932: full-width M and S, an ASCII space, then 明朝.
const char kDefaultFaceName[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";

SettingsRecord::SettingsRecord() : m_strFaceName(kDefaultFaceName) {}

namespace {

// Neither style is "Regular"; both is "BoldItalic" (10 bytes, within the 11 allowed).
const char* StyleText(bool bold, bool italic) {
    if (bold && italic)
        return "BoldItalic";
    if (bold)
        return "Bold";
    if (italic)
        return "Italic";
    return "Regular";
}

} // namespace

FontHeader SettingsRecord::BuildFontHeader() const {
    FontHeader h = m_fontHeader;
    h.SetWord(FontHeader::kIdTerminator, 0);
    h.SetText(FontHeader::kRegName, FontHeader::kNameWidth, m_strRegName);
    h.SetText(FontHeader::kStyleText, FontHeader::kStyleWidth,
              StyleText(m_bBold != 0, m_bItalic != 0));
    char sizeText[16];
    std::snprintf(sizeText, sizeof sizeText, "%d", static_cast<int>(m_nPointSize));
    // The size field holds up to four characters; point sizes stop at 72.
    h.SetText(FontHeader::kSizeText, FontHeader::kSizeTextWidth, sizeText);
    h.SetDWord(FontHeader::kCharCount, m_wCharCount);
    h.SetWord(FontHeader::kVertical, m_bVertical ? 1 : 0);
    h.SetByte(FontHeader::kItalic, uint8_t(m_bItalic));
    h.SetWord(FontHeader::kWeight, m_bBold ? 700 : 400);
    h.SetWord(FontHeader::kCodeStart, m_wCodeStart);
    h.SetWord(FontHeader::kCodeEnd, m_wCodeEnd);
    h.SetText(FontHeader::kFaceName, FontHeader::kNameWidth, m_strFaceName);
    h.SetWord(FontHeader::kPointSize, uint16_t(m_nPointSize));
    return h;
}

void SettingsRecord::ApplyFontHeader() {
    const FontHeader& h = m_fontHeader;
    m_strRegName = h.Text(FontHeader::kRegName, FontHeader::kNameWidth);
    m_bItalic = h.Byte(FontHeader::kItalic);
    m_wCodeStart = h.Word(FontHeader::kCodeStart);
    m_bVertical = h.Word(FontHeader::kVertical) == 1 ? 1 : 0;
    m_wCodeEnd = h.Word(FontHeader::kCodeEnd);
    m_bBold = h.Word(FontHeader::kWeight) == 700 ? 1 : 0;
    m_wCharCount = uint16_t(h.DWord(FontHeader::kCharCount));
    m_strFaceName = h.Text(FontHeader::kFaceName, FontHeader::kNameWidth);
    m_nPointSize = h.Word(FontHeader::kPointSize);
}
