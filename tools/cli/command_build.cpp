// glyphkit-cli build: the Save path of the main form. Applies the Save checks,
// renders the registration at the chosen model's resolution and writes the
// font data file. Prints "n=<count> cell=<W>x<H> bytes-per-glyph=<b>".
#include <string>

#include "app/printer_model.h"
#include "fontdata/registration_builder.h"
#include "fontdata/win_file_io.h"
#include "form/glyphkit_doc.h"
#include "framework/message_text.h"
#include "res/resource_ids.h"
#include "tools/cli/build_environment.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/console_messages.h"
#include "tools/cli/installed_fonts.h"
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

int RunBuild(const CliArgs& args) {
    const std::wstring unknown =
        args.UnknownOption({L"face", L"size", L"name", L"bold", L"italic", L"text", L"text-file",
                            L"unicode", L"range", L"model", L"out"});
    if (!unknown.empty())
        return UsageError(L"build does not take --" + unknown);
    if (!args.positional().empty())
        return UsageError(L"build takes no positional arguments");
    const auto face = args.Value(L"face");
    const auto out = args.Value(L"out");
    const auto sizeText = args.Value(L"size");
    if (!face || !out || !sizeText)
        return UsageError(L"build needs --face NAME --size PT --name REGNAME --out FILE.kfd");
    const auto points = ParseDecimal(*sizeText, 1, 72);
    if (!points)
        return UsageError(L"--size must be 1 to 72");
    const PrinterModel* model =
        FindPrinterModel(console::ToAnsi(args.Value(L"model").value_or(L"QC150")).c_str());
    if (!model)
        return UsageError(L"--model must be QC150, QW300 or QW400");
    const std::string regName = console::ToAnsi(args.Value(L"name").value_or(L""));
    if (regName.size() > FontHeader::kNameWidth)
        return UsageError(L"--name takes at most 32 bytes");

    // The registration text, typed or from a file; the range is read below
    // as the form reads its code fields, so the console's own --range check
    // does not apply.
    RegistrationSource source;
    if (const int status = ReadRegistrationText(args, &source.text))
        return status;

    // The one-byte range: without --range the mode is off and the code fields
    // keep the form's defaults, which the checks still read.
    RegistrationForm form;
    form.regName = regName;
    form.codeStart = 32u;
    form.codeEnd = 255u;
    if (const auto range = args.Value(L"range")) {
        form.rangeOn = true;
        const size_t dash = range->find(L'-');
        form.codeStart = CodeField(range->substr(0, dash));
        form.codeEnd =
            dash == std::wstring::npos ? std::nullopt : CodeField(range->substr(dash + 1));
    }
    form.textLength = source.text.size();
    if (const unsigned message = CheckRegistrationForm(form, RegistrationAction::Save))
        return Failure(message);

    const auto family = FindInstalledFace(*face);
    if (!family) {
        console::Err(L"glyphkit-cli: the font " + *face + L" is not installed\n");
        return 1;
    }

    CGlyphkitDoc doc;
    doc.SetRegName(regName);
    doc.SetPointSize(int32_t(*points));
    doc.SetBold(args.Has(L"bold") ? 1 : 0);
    doc.SetItalic(args.Has(L"italic") ? 1 : 0);
    doc.SetUnicodeFile(args.Has(L"unicode") ? 1 : 0);
    source.faceName = console::ToAnsi(*face);
    doc.SetVertical(!source.faceName.empty() && source.faceName[0] == '@' ? 1 : 0);
    doc.SetCodeStart(uint16_t(*form.codeStart));
    doc.SetCodeEnd(uint16_t(*form.codeEnd));
    doc.SetRangeStart(int32_t(*form.codeStart));
    doc.SetRangeEnd(int32_t(*form.codeEnd));
    source.rangeOn = form.rangeOn;
    source.codeStart = int(*form.codeStart);
    source.codeEnd = int(*form.codeEnd);

    ConsoleMessages messages;
    CRegistrationBuilder builder(ConsoleBuildEnvironment(*model, messages));
    if (!builder.Build(doc, source))
        return 1;

    const std::vector<uint8_t> bytes =
        builder.FontDataFileBytes(doc.m_nRangeStart, doc.m_nRangeEnd);
    if (bytes.empty())
        return Failure(IDS_CREATE_FILE_FAILED);
    if (const unsigned message = WriteFontDataFileAt(console::ToAnsi(*out), bytes))
        return Failure(message);

    const FontHeader& h = builder.Header();
    console::Out(L"n=" + std::to_wstring(builder.CharCount()) + L" cell=" +
                 std::to_wstring(h.Word(FontHeader::kCellWidth)) + L"x" +
                 std::to_wstring(h.Word(FontHeader::kCellHeight)) + L" bytes-per-glyph=" +
                 std::to_wstring(h.DWord(FontHeader::kBytesPerGlyph)) + L"\n");
    return 0;
}
