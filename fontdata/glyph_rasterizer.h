#pragma once
// Renders the characters of one registration as one-bit bitmaps of a common
// cell at the printer's resolution, and completes the font header's metric
// fields and the native glyph records. One rasteriser serves one build.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fontdata/font_header.h"
#include "fontdata/glyph_record.h"
#include "framework/dc.h"

// Copies face into the 32-byte face field of lf, always terminated: a name of
// 32 bytes (possible after a load) is cut at the last whole character that fits
// in 31 bytes of the ANSI code page.
void SetLogFontFaceName(LOGFONTA* lf, const std::string& face);

// The description RenderGlyphs realises from font for header: no width or
// escapement of its own, the header's weight and italic flag, and a face
// name that always ends within its field.
LOGFONTA RenderingFont(const LOGFONTA& font, const FontHeader& header);

// Why a rendering stopped.
enum class RenderFailure {
    None,
    FontNotRealised, // the font could not be created
    NoMemory         // no room for the context, records or bitmaps
};

class CGlyphRasterizer : public CDC {
public:
    CGlyphRasterizer() = default;
    ~CGlyphRasterizer() override { Release(); }

    // Renders the n codes (n = header offset 60; a zero unit follows them) with
    // font, whose height is already minus the character height in dots.
    // Returns 1 on success, 0 on failure (see Failure).
    int RenderGlyphs(HDC reference, const FontHeader& header, const uint16_t* codes,
                     const LOGFONTA& font, UINT codePage);

    // The same steps one glyph at a time, for a caller that needs only some
    // of them. Begin realises the font in a context of its own, measures the
    // first code and completes the header as RenderGlyphs does (0 on failure,
    // see Failure); RenderGlyph draws one code into bytes-per-glyph
    // bytes (none when glyph is null) exactly as RenderGlyphs stores it and
    // returns its record; End lets the font and the context go.
    int Begin(HDC reference, const FontHeader& header, const uint16_t* codes, const LOGFONTA& font,
              UINT codePage);
    GlyphRecord RenderGlyph(uint16_t code, uint8_t* glyph);
    void End();

    // Measures code in the selected font; with bits, also draws it as a
    // cell->cx x cell->cy bottom-up one-bit bitmap into bits (info is filled).
    void RenderChar(uint16_t code, TEXTMETRICA* metrics, BITMAPINFO* info, void* bits, SIZE* size,
                    const SIZE* cell, bool italic, uint16_t* leftOverhang, UINT codePage);

    // The header as rendering completed it, and the products it describes.
    const FontHeader& Header() const { return m_header; }
    uint32_t CharCount() const { return uint32_t(m_records.size() / GlyphRecord::kSize); }
    uint32_t BytesPerGlyph() const { return m_header.DWord(FontHeader::kBytesPerGlyph); }
    const uint8_t* RecordTable() const { return m_records.data(); } // n native records
    const std::vector<uint8_t>& GlyphData() const { return m_glyphs; }
    std::vector<GlyphRecord> GlyphRecords() const;

    // Why the last RenderGlyphs failed; None after a success.
    RenderFailure Failure() const { return m_failure; }

    // Frees the record table and the glyph data and deletes the context.
    void Release();

private:
    int Prepare(const uint16_t* codes, const LOGFONTA& font);

    RenderFailure m_failure = RenderFailure::None;
    FontHeader m_header;
    std::vector<uint8_t> m_records;
    std::vector<uint8_t> m_glyphs;
    // Between Begin and End: the realised font, selected, the cell, the work
    // buffer (one bottom-up bitmap, reused for every glyph) and its bitmap
    // information.
    ScopedFont m_font;
    std::optional<ScopedSelectObject> m_selectedFont;
    SIZE m_cell{0, 0};
    bool m_bItalic = false;
    UINT m_nCodePage = 0;
    std::vector<uint8_t> m_work;
    std::vector<uint8_t> m_bitmapInfo;
};
