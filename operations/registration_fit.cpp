#include "operations/registration_fit.h"

#include "operations/settings_record.h"

MemoryAtSize FormMemoryAtSize(const SettingsRecord& settings, const InstalledFamilies& fonts,
                              const FormFields& fields, const FormEnvironment& environment) {
    // Copies: the search runs after the form may have changed.
    return [settings, &fonts, fields, environment](int points) -> std::optional<uint64_t> {
        SettingsRecord sized = settings;
        sized.SetPointSize(points);
        // The cell is fixed before any glyph is drawn: a deferred build
        // measures the font and renders nothing.
        FormEnvironment deferring = environment;
        deferring.deferGlyphs = true;
        const FormRegistration built = BuildFormRegistration(
            sized, fonts, fields, deferring, RegistrationAction::Download, std::nullopt);
        if (!built.built)
            return std::nullopt;
        return FiguresOf(built.rendered.header).memoryBytes;
    };
}
