#pragma once
// The build that Save and Download share, once the form has made the code
// list and filled the settings fields of the font header: realise the font at
// the printer's resolution, render every character and complete the header
// with the cell, the metrics, the format identifier and the resolution.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "fontdata/code_page.h"
#include "fontdata/deferred_glyphs.h"
#include "fontdata/font_header.h"
#include "fontdata/font_height.h"
#include "fontdata/glyph_rasterizer.h"
#include "fontdata/glyph_record.h"

// What a build renders from.
struct RegistrationSettings {
    HDC reference = nullptr; // the preview area's context
    int resolution = 203;    // dots per inch of the chosen printer model
    int pointSize = 10;
    FontHeader header;      // the settings fields filled, the count n among them
    LOGFONTA description{}; // the face; the build sets its height
    uint32_t codePage = kWesternCodePage;
    const uint16_t* codes = nullptr; // the header's n codes, then a zero unit
    // Only the header now; the glyphs later, each when first asked for.
    bool deferGlyphs = false;
};

struct BuiltRegistration {
    FontHeader header;                // completed by rendering
    std::vector<GlyphRecord> records; // native form, ascending code
    std::vector<uint8_t> glyphData;   // n bitmaps of bytesPerGlyph bytes
    uint32_t bytesPerGlyph = 0;
    // A deferred build: no records or glyph data, but the glyphs on demand.
    std::shared_ptr<CDeferredGlyphs> deferred;
    RenderFailure failure = RenderFailure::None; // why a build failed
};

// The font description a build of settings realises: the face at the height
// of its point size and resolution, with the header's weight and italic flag.
LOGFONTA RegistrationFont(const RegistrationSettings& settings);

// False after a failure; built then holds only the failure message.
bool BuildRegistration(const RegistrationSettings& settings, BuiltRegistration* built);
