#pragma once
// The glyphs of a registration rendered one by one when first asked for, by
// the rasteriser that a build uses, so that a window showing a few of them
// need not wait for all. Each glyph equals what a whole build stores.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "fontdata/glyph_rasterizer.h"
#include "fontdata/glyph_source.h"

class CDeferredGlyphs : public GlyphSource {
public:
    // Realises the font and completes the header as a build does; codes are
    // the header's n codes. False after a failure (see Failure).
    bool Begin(HDC reference, const FontHeader& header, const uint16_t* codes, const LOGFONTA& font,
               UINT codePage);

    const FontHeader& Header() const { return m_rasterizer.Header(); }
    const std::vector<uint16_t>& Codes() const { return m_codes; }
    RenderFailure Failure() const { return m_rasterizer.Failure(); }

    const uint8_t* Glyph(size_t i) override;

private:
    CGlyphRasterizer m_rasterizer;
    std::vector<uint16_t> m_codes;
    std::vector<std::unique_ptr<uint8_t[]>> m_glyphs; // rendered ones
};
