// glyphkit-cli glyphs FILE.kfd --out FILE.png [--columns N] [--scale N]:
// draws the glyph bitmaps that a font data file holds, in file order on a
// grid, so that a person can look at what the printer would receive.
#include <string>
#include <vector>

#include "fontdata/font_data_file.h"
#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/whole_file.h"
#include "operations/font_data_load.h"
#include "res/resource_ids.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/image/glyph_sheet.h"
#include "tools/image/png_writer.h"

int RunGlyphs(const CliArgs& args) {
    if (args.positional().size() != 1)
        return UsageError(L"glyphs needs one FILE.kfd");
    const auto out = args.Value(L"out");
    if (!out)
        return UsageError(L"glyphs needs --out FILE.png");
    std::optional<long> columns = 16, scale = 1;
    if (auto text = args.Value(L"columns"))
        columns = ParseDecimal(*text, 1, 5000);
    if (auto text = args.Value(L"scale"))
        scale = ParseDecimal(*text, 1, 64);
    if (!columns || !scale)
        return UsageError(L"--columns takes 1 to 5000, --scale 1 to 64");

    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    if (ReadWholeFile(args.positional()[0], kfd::kMaxFileSize, &bytes, &error) !=
        FileReadResult::Ok)
        return FileFailure(LoadText(IDS_READ_FILE_FAILED), args.positional()[0], error);
    const FontDataFile file = ParseFontDataFile(bytes.data(), bytes.size());
    if (file.problem != FontDataProblem::None)
        return Failure(MessageForProblem(file.problem));
    const FontDataGlyphs glyphs = ReadFontDataGlyphs(file, bytes.data(), bytes.size());
    // A cell that does not match the glyph size leaves nothing to draw from.
    if (!glyphs.ok)
        return Failure(IDS_FILE_UNUSABLE);

    std::vector<const uint8_t*> bitmaps;
    for (const GlyphBitmapRef& glyph : glyphs.glyphs)
        bitmaps.push_back(glyph.bits);
    const image::IndexedImage sheet = image::DrawGlyphSheet(
        bitmaps, glyphs.cellWidth, glyphs.cellHeight, uint32_t(*columns), uint32_t(*scale));
    const std::vector<uint8_t> png = image::EncodePng(sheet);
    if (png.empty()) {
        console::Err(L"glyphkit-cli: the sheet would be too large to draw\n");
        return 1;
    }
    if (!SaveFileReplacing(*out, png.data(), png.size(), &error))
        return FileFailure(L"glyphkit-cli: cannot write the glyph sheet", *out, error);
    console::Out(L"n=" + std::to_wstring(glyphs.glyphs.size()) + L" cell=" +
                 std::to_wstring(glyphs.cellWidth) + L"x" + std::to_wstring(glyphs.cellHeight) +
                 L" sheet=" + std::to_wstring(sheet.width) + L"x" + std::to_wstring(sheet.height) +
                 L"\n");
    return 0;
}
