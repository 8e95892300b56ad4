#include "fontdata/deferred_glyphs.h"

#include <cstring>

namespace {

// Wine's DIB engine keeps a copy of every glyph it has drawn, at a byte a
// dot, for each of the last fonts it drew with, also after they are deleted
// (a 72-point kanji at 305 dpi takes some 80 KB there, the sheet of 5000
// characters 400 MB); Windows keeps no such copy. Once more than a few fonts
// it has let go are waiting, each new one pushes the oldest out with its
// glyphs. So a rendering that has drawn this much lets its font go for a
// moment while fonts that draw nothing take its place.
constexpr uint64_t kDrawnBytesKept = 32u * 1024 * 1024;
constexpr int kFontsPushingOut = 16;

// Selects fonts never drawn with into dc, one after the other, and then what
// was selected before.
void PushOutDrawnGlyphs(HDC dc) {
    // Heights no other font of the program has, so that each is a new one.
    static unsigned s_next = 0;
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    for (int k = 0; k < kFontsPushingOut; ++k) {
        LOGFONTW lf{};
        lf.lfHeight = -LONG(4001 + s_next++ % 4000);
        lf.lfCharSet = DEFAULT_CHARSET;
        HFONT font = CreateFontIndirectW(&lf);
        if (!font)
            break;
        SelectObject(dc, font);
        SelectObject(dc, selected);
        DeleteObject(font);
    }
}

} // namespace

CDeferredGlyphs::~CDeferredGlyphs() {
    m_rasterizer.End();
    if (m_drawnBytes == 0)
        return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) {
        PushOutDrawnGlyphs(dc);
        DeleteDC(dc);
    }
}

bool CDeferredGlyphs::Begin(HDC reference, const FontHeader& header, const uint16_t* codes,
                            const LOGFONTA& font, UINT codePage) {
    const uint32_t n = header.DWord(FontHeader::kCharCount);
    m_codes.assign(codes, codes + n);
    m_cache.reset();
    if (!m_rasterizer.Begin(reference, header, m_codes.data(), font, codePage))
        return false;
    m_cache = std::make_unique<GlyphCache>(n, m_rasterizer.BytesPerGlyph());
    return true;
}

void CDeferredGlyphs::Render(size_t i, uint8_t* glyph) {
    m_rasterizer.RenderGlyph(m_codes[i], glyph);
    const FontHeader& header = m_rasterizer.Header();
    m_drawnBytes +=
        uint64_t(header.Word(FontHeader::kCellWidth)) * header.Word(FontHeader::kCellHeight);
    if (m_drawnBytes - m_drawnAtPush >= kDrawnBytesKept) {
        // The rasteriser's font itself goes between the others, and comes
        // back with nothing drawn.
        HDC dc = m_rasterizer.GetSafeHdc();
        HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        PushOutDrawnGlyphs(dc);
        SelectObject(dc, font);
        m_drawnAtPush = m_drawnBytes;
    }
}

const uint8_t* CDeferredGlyphs::Glyph(size_t i) {
    if (!m_cache || i >= m_codes.size())
        return nullptr;
    if (const uint8_t* kept = m_cache->Find(i))
        return kept;
    // Out of memory leaves this glyph undrawn, and the next ask tries again.
    uint8_t* glyph = m_cache->Make(i);
    if (glyph)
        Render(i, glyph);
    return glyph;
}

bool CDeferredGlyphs::CopyGlyph(size_t i, uint8_t* out, size_t bytesPerGlyph) {
    if (!m_cache || i >= m_codes.size() || bytesPerGlyph != m_rasterizer.BytesPerGlyph())
        return false;
    std::memset(out, 0, bytesPerGlyph);
    Render(i, out);
    return true;
}
