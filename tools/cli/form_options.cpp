#include "tools/cli/form_options.h"

#include "framework/code_page_text.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/model_option.h"
#include "tools/cli/registration_input.h"

namespace {

// A code field as the form reads it: an unsigned decimal number or nothing.
std::optional<uint32_t> CodeField(const std::wstring& text) {
    const auto value = ParseDecimal(text, 0, 999999999);
    if (!value)
        return std::nullopt;
    return uint32_t(*value);
}

} // namespace

const std::set<std::wstring> kFormOptionNames = {L"face",   L"size", L"name",      L"bold",
                                                 L"italic", L"text", L"text-file", L"unicode",
                                                 L"range",  L"model"};

void FormOptions::ApplyTo(SettingsRecord& doc) const {
    doc.SetPointSize(int32_t(points));
    doc.SetBold(bold ? 1 : 0);
    doc.SetItalic(italic ? 1 : 0);
    doc.SetUnicodeFile(unicode ? 1 : 0);
    doc.SetVertical(fields.selectedFace[0] == '@' ? 1 : 0);
}

int ReadFormOptions(const CliArgs& args, const wchar_t* usage, FormOptions* options) {
    const auto face = args.Value(L"face");
    const auto sizeText = args.Value(L"size");
    if (!face || !sizeText)
        return UsageError(usage);
    const auto points = ParseDecimal(*sizeText, 1, 72);
    if (!points)
        return UsageError(L"--size must be 1 to 72");
    options->points = int(*points);
    if (const int status = ReadModelOption(args, &options->model))
        return status;
    if (!options->model)
        options->model = &kPrinterModels[0];
    options->bold = args.Has(L"bold");
    options->italic = args.Has(L"italic");
    options->unicode = args.Has(L"unicode");

    FormFields& fields = options->fields;
    // The name is checked as the form checks its field: Save refuses one that
    // does not fit 32 bytes of the ANSI code page or that it cannot hold.
    const std::wstring name = args.Value(L"name").value_or(L"");
    const std::optional<std::string> exactName = ToCodePageExactly(name);
    fields.regName = exactName.value_or(ToCodePage(name));
    fields.regNameExact = exactName.has_value();
    if (const int status = ReadRegistrationText(args, &fields.text))
        return status;
    // The one-byte range is read as the form reads its code fields, so the
    // console's own range check does not apply. Without --range the mode is
    // off and the fields keep the form's defaults, which the checks still read.
    fields.rangeOn = false;
    fields.codeStart = 32u;
    fields.codeEnd = 255u;
    if (const auto range = args.Value(L"range")) {
        fields.rangeOn = true;
        const size_t dash = range->find(L'-');
        fields.codeStart = CodeField(range->substr(0, dash));
        fields.codeEnd =
            dash == std::wstring::npos ? std::nullopt : CodeField(range->substr(dash + 1));
    }
    // The window offers only installed faces.
    fields.selectedFace = ToCodePage(*face);
    LOGFONTA family{};
    if (!InstalledFonts().Lookup(fields.selectedFace.c_str(), &family)) {
        console::Err(L"glyphkit-cli: the font " + *face + L" is not installed\n");
        return 1;
    }
    return 0;
}
