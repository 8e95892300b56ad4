#pragma once
// The glyphs of a registration rendered one by one when first asked for, by
// the rasteriser that a build uses, so that a window showing a few of them
// need not wait for all. Each glyph equals what a whole build stores. The
// rendered ones are kept within the cache's bound.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "fontdata/glyph_cache.h"
#include "fontdata/glyph_rasterizer.h"
#include "fontdata/glyph_source.h"

class CDeferredGlyphs : public GlyphSource {
public:
    CDeferredGlyphs() = default;
    // Also lets go what the system kept of the glyphs drawn.
    ~CDeferredGlyphs() override;
    CDeferredGlyphs(const CDeferredGlyphs&) = delete;
    CDeferredGlyphs& operator=(const CDeferredGlyphs&) = delete;

    // Realises the font and completes the header as a build does; codes are
    // the header's n codes. False after a failure (see Failure).
    bool Begin(HDC reference, const FontHeader& header, const uint16_t* codes, const LOGFONTA& font,
               UINT codePage);

    const FontHeader& Header() const { return m_rasterizer.Header(); }
    const std::vector<uint16_t>& Codes() const { return m_codes; }
    RenderFailure Failure() const { return m_rasterizer.Failure(); }

    const uint8_t* Glyph(size_t i) override;
    bool CopyGlyph(size_t i, uint8_t* out, size_t bytesPerGlyph) override;

private:
    void Render(size_t i, uint8_t* glyph);

    CGlyphRasterizer m_rasterizer;
    std::vector<uint16_t> m_codes;
    std::unique_ptr<GlyphCache> m_cache;
    uint64_t m_drawnBytes = 0; // dots drawn, a byte each
    uint64_t m_drawnAtPush = 0;
};
