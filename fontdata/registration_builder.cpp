#include "fontdata/registration_builder.h"

#include "fontdata/glyph_rasterizer.h"

LOGFONTA RegistrationFont(const RegistrationSettings& settings) {
    LOGFONTA description = settings.description;
    description.lfHeight = FontHeightForPoints(settings.resolution, settings.pointSize);
    return RenderingFont(description, settings.header);
}

namespace {

// The rendered header as a build hands it on: the format identifier and the
// resolution it was rendered for.
FontHeader CompletedHeader(const FontHeader& rendered, int resolution) {
    FontHeader header = rendered;
    header.SetFormatIdentifier();
    header.SetWord(FontHeader::kResolution, uint16_t(resolution));
    return header;
}

} // namespace

bool BuildRegistration(const RegistrationSettings& settings, BuiltRegistration* built) {
    *built = BuiltRegistration();
    const LOGFONTA description = RegistrationFont(settings);

    // The rendering runs against the preview area's context in text mode;
    // its state is given back as it was.
    ScopedSaveDC savedReference(settings.reference);
    if (settings.reference)
        SetMapMode(settings.reference, MM_TEXT);
    if (settings.deferGlyphs) {
        auto deferred = std::make_shared<CDeferredGlyphs>();
        if (!deferred->Begin(settings.reference, settings.header, settings.codes, description,
                             settings.codePage)) {
            built->failure = deferred->Failure();
            return false;
        }
        built->header = CompletedHeader(deferred->Header(), settings.resolution);
        built->bytesPerGlyph = built->header.DWord(FontHeader::kBytesPerGlyph);
        built->deferred = std::move(deferred);
        return true;
    }
    CGlyphRasterizer rasterizer;
    if (!rasterizer.RenderGlyphs(settings.reference, settings.header, settings.codes, description,
                                 settings.codePage)) {
        built->failure = rasterizer.Failure();
        return false;
    }
    built->header = CompletedHeader(rasterizer.Header(), settings.resolution);
    built->records = rasterizer.GlyphRecords();
    built->glyphData = rasterizer.GlyphData();
    built->bytesPerGlyph = rasterizer.BytesPerGlyph();
    return true;
}
