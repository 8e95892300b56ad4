// glyphkit-cli check: the registration check of the main form's menu. The
// form is given as build takes it, or as a font data file (its characters
// and settings, built again as they would be sent). Prints "key=value"
// lines: count, bytes_per_glyph, memory_bytes, fits_240KB, cell, cell_mm,
// then "missing=U+XXXX C" for each character the face has no glyph for and
// "dropped=U+XXXX C" for each one the code page cannot hold. --image
// FILE.bmp [--zoom 1|2|4|8] also writes the sheet as the window saves it;
// --json prints the same as one JSON object. --fit adds the largest size
// that fits an empty printer and, with --port P [--id N], the one that fits
// that printer's free memory; --line TEXT names the characters of that line
// the registration lacks, and with --image writes the line instead of the
// sheet.
#include <algorithm>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>

#include "check/label_line.h"
#include "check/registration_check.h"
#include "check/sheet_image_file.h"
#include "check/size_fit.h"
#include "fontdata/font_header.h"
#include "framework/code_page_text.h"
#include "operations/registration_fit.h"
#include "printer/registration_id.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/form_options.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/json_text.h"
#include "tools/cli/loaded_registration.h"
#include "tools/cli/model_option.h"
#include "tools/cli/printer_options.h"

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
                       const std::vector<uint32_t>& dropped, const std::wstring& answers) {
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
    return json + L"]" + answers + L"}\n";
}

// The form as a font data file leaves it after Load, with all its characters
// as the registration text and the one-byte mode off: exactly the file's
// characters, built again.
int ReadFontDataForm(const std::wstring& path, FormSession& session, FormFields* fields) {
    const LoadResult load = session.operations.LoadFontDataFile(path);
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

// What --fit, --port, --id and --line ask for.
struct AnswerOptions {
    bool fit = false;
    std::optional<PrinterAddress> printer; // the printer whose free memory counts
    std::optional<int> id;                 // the ID a download would overwrite
    std::optional<std::u16string> line;
};

int ReadAnswerOptions(const CliArgs& args, AnswerOptions* options) {
    options->fit = args.Has(L"fit");
    if ((args.Has(L"port") || args.Has(L"id")) && !options->fit)
        return UsageError(L"--port and --id apply only with --fit");
    if (args.Has(L"id") && !args.Has(L"port"))
        return UsageError(L"--id names an entry of the printer given with --port");
    if (args.Has(L"port")) {
        const PrinterOptions printer = ReadPrinterOptions(args);
        if (!printer.error.empty())
            return UsageError(printer.error);
        options->printer = printer.printer;
    }
    if (const auto id = args.Value(L"id")) {
        options->id = ParseRegistrationId(ToCodePage(*id));
        if (!options->id)
            return UsageError(L"--id takes a registration ID from 0 to 99");
    }
    if (const auto line = args.Value(L"line"))
        options->line = std::u16string(line->begin(), line->end());
    return 0;
}

// The answers' lines, or their JSON members (each after a comma).
std::wstring AnswerLines(const std::optional<SizeFit>& fit, const LabelLine* line, bool json) {
    std::wstring out;
    const auto member = [&](const wchar_t* key, const std::wstring& value) {
        out += json ? L",\"" + std::wstring(key) + L"\":" + value : Line(key, value);
    };
    if (fit) {
        member(L"largest_size_fitting", std::to_wstring(fit->empty));
        if (fit->free)
            member(L"largest_size_fitting_free", std::to_wstring(*fit->free));
        else if (json)
            member(L"largest_size_fitting_free", L"null");
    }
    if (line && json) {
        std::wstring list;
        for (size_t i = 0; i < line->missing.size(); ++i)
            list += (i ? L"," : L"") + CharacterJson(line->missing[i]);
        member(L"line_missing", L"[" + list + L"]");
    } else if (line) {
        for (uint32_t codePoint : line->missing)
            member(L"line_missing", CharacterText(codePoint));
    }
    return out;
}

} // namespace

int RunCheck(const CliArgs& args) {
    const bool fromFile = args.positional().size() == 1;
    // A file brings its own registration: a form option beside it would be
    // either dropped or laid over the file, and neither is what was said.
    const bool formOptionToo =
        fromFile &&
        std::any_of(kFormOptionNames.begin(), kFormOptionNames.end(),
                    [&](const std::wstring& name) { return name != L"model" && args.Has(name); });
    if (args.positional().size() > 1 || formOptionToo)
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

    AnswerOptions answers;
    if (const int status = ReadAnswerOptions(args, &answers))
        return status;

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

    std::optional<SizeFit> fit;
    if (answers.fit) {
        // The printer's listing, its message on standard error: standard
        // output stays the check's.
        if (answers.printer) {
            session->frontEnd.KeepStandardOutput();
            if (!session->operations.QueryRegisteredData(*answers.printer))
                return 1;
        }
        const MemoryVerdict verdict =
            JudgeMemory(figures.memoryBytes, session->operations.Registered(), answers.id);
        fit = FindFittingSizes(
            FormMemoryAtSize(session->doc, InstalledFonts(), options.fields, environment), verdict);
    }
    const SheetGlyphs sheet = CheckedSheet(build);
    std::optional<LabelLine> line;
    if (answers.line)
        line = LabelLineOf(*answers.line, sheet);
    const std::wstring answerText = AnswerLines(fit, line ? &*line : nullptr, args.Has(L"json"));

    if (args.Has(L"json")) {
        console::Out(CheckJson(figures, cell, cellMm, build.missing, dropped, answerText));
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
        console::Out(out + answerText);
    }

    if (!image)
        return 0;
    uint32_t error = 0;
    const uint32_t imageZoom = zoom ? uint32_t(*zoom) : DefaultSheetZoom(figures.cellHeight);
    // With a line, the image is that line as the window draws it.
    std::unique_ptr<MonoImageWriter> writer;
    if (line)
        writer = std::make_unique<LineImageWriter>(sheet, *line, imageZoom, dotsPerMm);
    else
        writer = std::make_unique<SheetImageWriter>(sheet, imageZoom);
    switch (SaveImage(*image, std::move(writer), &error)) {
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
