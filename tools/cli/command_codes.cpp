// glyphkit-cli codes: the code list a registration would hold:
// "n=<count>", then one "U+XXXX" line per code, ascending; the codes the face
// has no glyph for are listed on standard error.
#include <string>

#include "fontdata/code_list.h"
#include "fontdata/glyph_rasterizer.h"
#include "fontdata/missing_glyphs.h"
#include "fontdata/win_code_page_conversion.h"
#include "framework/code_page_text.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/registration_input.h"

int RunCodes(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"codes takes no positional arguments");
    const auto face = args.Value(L"face");
    if (!face)
        return UsageError(L"codes needs --face NAME");

    RegistrationInput input;
    if (int status = ReadRegistrationInput(args, &input))
        return status;
    LOGFONTA family{};
    if (!InstalledFonts().Lookup(ToCodePage(*face).c_str(), &family)) {
        console::Err(L"glyphkit-cli: the font " + *face + L" is not installed\n");
        return 1;
    }
    const uint32_t codePage = CharsetToCodePage(family.lfCharSet);
    const CWinCodePageConversion conversion;
    RegistrationCodes registration;
    if (registration.Build(input.text, input.rangeOn, input.rangeStart, input.rangeEnd, codePage,
                           conversion) != RegistrationCodes::Outcome::Built)
        return Failure(IDS_TEXT_TOO_LARGE);
    const CCodeList& codes = registration.list;
    std::wstring out = L"n=" + std::to_wstring(codes.Count()) + L"\n";
    for (uint16_t i = 0; i < codes.Count(); ++i)
        out += CodePointText<wchar_t>(codes.Codes()[i]) + L"\n";
    console::Out(out);
    const std::vector<uint16_t> missing = FindMissingGlyphs(
        DisplayContext(), RenderingFont(family, FontHeader()), codes.Codes(), codes.Count());
    if (!missing.empty())
        PrintMissingGlyphs(family.lfFaceName, missing);
    return 0;
}
