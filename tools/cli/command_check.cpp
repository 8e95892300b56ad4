// glyphkit-cli check: the registration check of the main form's menu. The
// form is given as build takes it, or as a font data file (its characters
// and settings, built again as they would be sent). Prints "key=value"
// lines: count, bytes_per_glyph, memory_bytes, fits_240KB, cell, cell_mm,
// then "missing=U+XXXX C" for each character the face has no glyph for and
// "dropped=U+XXXX C" for each one the code page cannot hold. --image
// FILE.bmp [--zoom 1|2|4|8] also writes the sheet as the window saves it;
// --json prints the same as one JSON object.
#include <cwctype>
#include <string>

#include "check/registration_check.h"
#include "check/sheet_image_file.h"
#include "fontdata/font_header.h"
#include "framework/code_page_text.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/form_options.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/json_text.h"
#include "tools/cli/loaded_registration.h"
#include "tools/cli/model_option.h"

namespace {

std::wstring Line(const wchar_t* key, const std::wstring& value) {
    return std::wstring(key) + L"=" + value + L"\n";
}

// "U+AC00 가": the code, then the character where it can be shown.
std::wstring CharacterText(uint32_t codePoint) {
    const std::wstring code = CodePointText<wchar_t>(codePoint);
    const std::u16string character = CharacterOf(codePoint);
    return character.empty() ? code
                             : code + (L" " + std::wstring(character.begin(), character.end()));
}

// {"code":"U+AC00","character":"가"}, the character empty where it cannot be
// shown.
std::wstring CharacterJson(uint32_t codePoint) {
    const std::u16string character = CharacterOf(codePoint);
    return L"{\"code\":\"" + CodePointText<wchar_t>(codePoint) + L"\",\"character\":" +
           JsonString(std::wstring(character.begin(), character.end())) + L"}";
}

// What the lines say, as one JSON object: the figures as numbers, the verdict
// as true or false, the cell as the lines write it.
std::wstring CheckJson(const RegistrationFigures& figures, const std::wstring& cell,
                       const std::wstring& cellMm, const std::vector<uint16_t>& missing,
                       const std::vector<uint32_t>& dropped) {
    std::wstring json = L"{\"count\":" + std::to_wstring(figures.count) + L",\"bytes_per_glyph\":" +
                        std::to_wstring(figures.bytesPerGlyph) + L",\"memory_bytes\":" +
                        std::to_wstring(figures.memoryBytes) + L",\"fits_240KB\":" +
                        (figures.memoryBytes <= kPrinterMemoryBytes ? L"true" : L"false") +
                        L",\"cell\":" + JsonString(cell) + L",\"cell_mm\":" + JsonString(cellMm) +
                        L",\"missing\":[";
    for (size_t i = 0; i < missing.size(); ++i)
        json += (i ? L"," : L"") + CharacterJson(missing[i]);
    json += L"],\"dropped\":[";
    for (size_t i = 0; i < dropped.size(); ++i)
        json += (i ? L"," : L"") + CharacterJson(dropped[i]);
    return json + L"]}\n";
}

// The form as a font data file leaves it after Load, with all its characters
// as the registration text and the one-byte mode off: exactly the file's
// characters, built again.
int ReadFontDataForm(const std::wstring& path, FormSession& session, FormFields* fields) {
    const LoadResult load = session.operations.LoadFontDataFile(ToCodePage(path));
    if (!load.loaded)
        return 1;
    *fields = FieldsAfterLoad(session.doc, load);
    fields->rangeOn = false;
    fields->text = load.fileText;
    return 0;
}

bool EndsWithBmp(const std::wstring& path) {
    if (path.size() < 4)
        return false;
    std::wstring extension = path.substr(path.size() - 4);
    for (wchar_t& c : extension)
        c = wchar_t(towlower(c));
    return extension == L".bmp";
}

} // namespace

int RunCheck(const CliArgs& args) {
    const bool fromFile = args.positional().size() == 1;
    if (args.positional().size() > 1 || (fromFile && args.Has(L"face")))
        return UsageError(L"check takes the form's options or one FILE.kfd");
    // The sheet is written as the window saves it, a BMP file; a name that
    // promises another format would mislead whoever opens it.
    const auto image = args.Value(L"image");
    if (image && !EndsWithBmp(*image))
        return UsageError(L"--image writes a BMP file: give it a name ending in .bmp");
    if (args.Has(L"zoom") && !image)
        return UsageError(L"--zoom applies only with --image FILE.bmp");
    std::optional<long> zoom;
    if (const auto text = args.Value(L"zoom")) {
        zoom = ParseDecimal(*text, 1, 8);
        if (!zoom || (*zoom & (*zoom - 1)) != 0)
            return UsageError(L"--zoom must be 1, 2, 4 or 8");
    }

    FormOptions options;
    std::optional<FormSession> session;
    if (fromFile) {
        session.emplace();
        if (const int status = ReadFontDataForm(args.positional()[0], *session, &options.fields))
            return status;
        const PrinterModel* named = nullptr;
        if (const int status = ReadModelOption(args, &named))
            return status;
        options.model = &ChooseModel(named, session->doc.GetFontHeader());
    } else {
        if (const int status = ReadFormOptions(
                args, L"check needs --face NAME --size PT --name REGNAME, or FILE.kfd", &options))
            return status;
        session.emplace(std::nullopt, options.model->caption);
        options.ApplyTo(session->doc);
    }

    FormEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = options.model->resolution;
    CheckedBuild build;
    if (!session->operations.BuildForCheck(options.fields, environment, &build))
        return 1;

    const RegistrationFigures figures = FiguresOf(build.header);
    const int dotsPerMm = options.model->dotsPerMm;
    const std::wstring cell =
        std::to_wstring(figures.cellWidth) + L"x" + std::to_wstring(figures.cellHeight);
    const std::string mm = Millimetres(figures.cellWidth, dotsPerMm) + "x" +
                           Millimetres(figures.cellHeight, dotsPerMm);
    const std::wstring cellMm(mm.begin(), mm.end());
    const std::vector<uint32_t> dropped = DroppedCharacters(options.fields.text, build.codes);
    if (args.Has(L"json")) {
        console::Out(CheckJson(figures, cell, cellMm, build.missing, dropped));
    } else {
        std::wstring out;
        out += Line(L"count", std::to_wstring(figures.count));
        out += Line(L"bytes_per_glyph", std::to_wstring(figures.bytesPerGlyph));
        out += Line(L"memory_bytes", std::to_wstring(figures.memoryBytes));
        out += Line(L"fits_240KB", figures.memoryBytes <= kPrinterMemoryBytes ? L"yes" : L"no");
        out += Line(L"cell", cell);
        out += Line(L"cell_mm", cellMm);
        for (uint16_t code : build.missing)
            out += Line(L"missing", CharacterText(code));
        for (uint32_t codePoint : dropped)
            out += Line(L"dropped", CharacterText(codePoint));
        console::Out(out);
    }

    if (!image)
        return 0;
    const SheetGlyphs sheet = CheckedSheet(build);
    uint32_t error = 0;
    switch (SaveSheetImage(*image, sheet,
                           zoom ? uint32_t(*zoom) : DefaultSheetZoom(figures.cellHeight), &error)) {
    case SheetImageResult::Saved:
        return 0;
    case SheetImageResult::TooLarge:
        console::Err(L"glyphkit-cli: the image would be too large for a BMP file; try a smaller "
                     L"--zoom\n");
        return 1;
    case SheetImageResult::WriteFailed:
        break;
    }
    return FileFailure(L"glyphkit-cli: cannot write the image", *image, error);
}
