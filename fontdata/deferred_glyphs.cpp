#include "fontdata/deferred_glyphs.h"

#include <new>

bool CDeferredGlyphs::Begin(HDC reference, const FontHeader& header, const uint16_t* codes,
                            const LOGFONTA& font, UINT codePage) {
    const uint32_t n = header.DWord(FontHeader::kCharCount);
    m_codes.assign(codes, codes + n);
    m_glyphs.clear();
    m_glyphs.resize(n);
    return m_rasterizer.Begin(reference, header, m_codes.data(), font, codePage) != 0;
}

const uint8_t* CDeferredGlyphs::Glyph(size_t i) {
    if (i >= m_glyphs.size())
        return nullptr;
    if (!m_glyphs[i]) {
        const size_t size = m_rasterizer.BytesPerGlyph();
        // Out of memory leaves this glyph undrawn, and the next ask tries
        // again.
        std::unique_ptr<uint8_t[]> glyph(new (std::nothrow) uint8_t[size > 0 ? size : 1]());
        if (!glyph)
            return nullptr;
        m_rasterizer.RenderGlyph(m_codes[i], glyph.get());
        m_glyphs[i] = std::move(glyph);
    }
    return m_glyphs[i].get();
}
