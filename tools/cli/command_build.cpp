// glyphkit-cli build: the Save button of the main form, with the form's
// fields given as options. Prints "n=<count> cell=<W>x<H> bytes-per-glyph=<b>".
#include <string>

#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/form_options.h"
#include "tools/cli/installed_fonts.h"

int RunBuild(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"build takes no positional arguments");
    const wchar_t usage[] = L"build needs --face NAME --size PT --name REGNAME --out FILE.kfd";
    const auto out = args.Value(L"out");
    if (!out)
        return UsageError(usage);
    FormOptions options;
    if (const int status = ReadFormOptions(args, usage, &options))
        return status;

    FormSession session(std::nullopt, options.model->caption);
    options.ApplyTo(session.doc);
    FormEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = options.model->resolution;
    FontHeader h;
    if (!session.operations.SaveFontDataFileAt(
            options.fields, environment, [&](const std::string&) { return *out; }, &h))
        return 1;

    console::Out(L"n=" + std::to_wstring(h.DWord(FontHeader::kCharCount)) + L" cell=" +
                 std::to_wstring(h.Word(FontHeader::kCellWidth)) + L"x" +
                 std::to_wstring(h.Word(FontHeader::kCellHeight)) + L" bytes-per-glyph=" +
                 std::to_wstring(h.DWord(FontHeader::kBytesPerGlyph)) + L"\n");
    return 0;
}
