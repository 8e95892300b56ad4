// fit_bench: how long the registration check takes to find the largest size
// at which 5000 characters fit, beside one build at that size (every glyph
// rendered, as Save and Download build), and how long the label line takes to
// be drawn again after a keystroke. Run under Wine:
//
//   scripts/winrun build/windows/bin/fit_bench.exe
//
// Prints, per face and model, the size found, the builds the search asked
// for, its time and the ratio to the one build; then the line's redraw.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "check/label_line.h"
#include "check/registration_check.h"
#include "check/size_fit.h"
#include "operations/installed_families.h"
#include "operations/registration_fit.h"
#include "operations/settings_record.h"
#include "printer/text_formats.h"
#include "tools/bench/bench_clock.h"

namespace {

constexpr size_t kCharacters = 5000;

std::string Ansi(const wchar_t* text) {
    char bytes[64] = {};
    WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    return bytes;
}

// Level-1 and level-2 kanji of Shift_JIS, in code order, up to n.
std::u16string Kanji(size_t n) {
    std::u16string text;
    for (int lead = 0x88; lead <= 0xEA && text.size() < n; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC && text.size() < n; ++trail) {
            const char bytes[2] = {char(lead), char(trail)};
            WCHAR unit = 0;
            if (trail != 0x7F && (lead << 8 | trail) >= 0x889F &&
                MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, &unit, 1) == 1)
                text += char16_t(unit);
        }
    }
    return text;
}

FormFields Fields(const std::u16string& text, const wchar_t* face) {
    FormFields fields;
    fields.regName = "BENCH";
    fields.codeStart = 0x20;
    fields.codeEnd = 0x7E;
    fields.rangeOn = false;
    fields.text = text;
    fields.selectedFace = Ansi(face);
    return fields;
}

// The empty printer's answer with the builds it took, in seconds.
double TimeSearch(const MemoryAtSize& memoryAt, int* largest, size_t* builds) {
    const double start = BenchSeconds();
    SizeFitSearch search(memoryAt);
    *largest = search.Largest(kPrinterMemoryBytes);
    const double seconds = BenchSeconds() - start;
    *builds = search.Builds();
    return seconds;
}

double TimeFullBuild(const SettingsRecord& settings, const InstalledFamilies& fonts,
                     const FormFields& fields, const FormEnvironment& environment) {
    const double start = BenchSeconds();
    const FormRegistration built = BuildFormRegistration(
        settings, fonts, fields, environment, RegistrationAction::Download, std::nullopt);
    const double seconds = BenchSeconds() - start;
    if (!built.built)
        std::fprintf(stderr, "fit_bench: the build at the size found failed\n");
    return seconds;
}

// A keystroke in the line field: the line laid out again and the control's
// area composed, the new character's glyph rendered on first use.
void TimeLine(const SettingsRecord& settings, const InstalledFamilies& fonts,
              const FormFields& fields, FormEnvironment environment) {
    environment.deferGlyphs = true;
    const FormRegistration built = BuildFormRegistration(
        settings, fonts, fields, environment, RegistrationAction::Download, std::nullopt);
    CheckedBuild build;
    build.header = built.rendered.header;
    build.codes = built.codes;
    build.glyphs = built.rendered.deferred;
    const SheetGlyphs sheet = CheckedSheet(build);
    // The control's area at 96 dpi, zoom 2.
    const uint32_t width = 690, height = 84;
    std::vector<uint8_t> pixels((width + 31) / 32 * 4 * height);
    std::u16string typed;
    double worst = 0, total = 0;
    const size_t keys = 40;
    for (size_t k = 0; k < keys; ++k) {
        typed += fields.text[k * 97 % fields.text.size()];
        const double start = BenchSeconds();
        const LabelLine line = LabelLineOf(typed, sheet);
        const LineLayout layout(sheet, line, 2, 8);
        ComposeLine(layout, sheet, line, 0, 0, width, height, pixels.data(), (width + 31) / 32 * 4);
        const double seconds = BenchSeconds() - start;
        worst = std::max(worst, seconds);
        total += seconds;
    }
    std::printf("line: %.2f ms a keystroke on average, %.2f ms at most (%zu keys, aim: 50 ms)\n",
                total * 1000 / keys, worst * 1000, keys);
}

} // namespace

int main() {
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const InstalledFamilies fonts(screen);
    const struct {
        const wchar_t* face;
        const char* name; // as the console shows it
        int resolution;
        size_t characters;
    } cases[] = {{L"IPAゴシック", "IPA Gothic", 203, kCharacters},
                 {L"IPA明朝", "IPA Mincho", 203, kCharacters},
                 {L"IPAゴシック", "IPA Gothic", 305, kCharacters},
                 {L"IPAゴシック", "IPA Gothic", 203, 300}};
    for (const auto& c : cases) {
        const FormFields fields = Fields(Kanji(c.characters), c.face);
        SettingsRecord settings;
        FormEnvironment environment;
        environment.reference = screen;
        environment.resolution = c.resolution;
        int largest = 0;
        size_t builds = 0;
        const double search =
            TimeSearch(FormMemoryAtSize(settings, fonts, fields, environment), &largest, &builds);
        settings.SetPointSize(std::max(largest, 1));
        const double full = TimeFullBuild(settings, fonts, fields, environment);
        std::printf("%zu kanji, %s, %d dpi: largest %d pt in %.3f s (%zu builds, %.1f ms each); "
                    "one build at %d pt %.3f s; search / build %.2f (aim: within 2 s)\n",
                    c.characters, c.name, c.resolution, largest, search, builds,
                    search * 1000 / builds, std::max(largest, 1), full, search / full);
        if (&c == &cases[0])
            TimeLine(settings, fonts, fields, environment);
    }
    DeleteDC(screen);
    return 0;
}
