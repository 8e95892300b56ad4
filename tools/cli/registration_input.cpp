#include "tools/cli/registration_input.h"

#include "form/text_file_input.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"

int ReadRegistrationInput(const CliArgs& args, RegistrationInput* input) {
    const auto text = args.Value(L"text");
    const auto file = args.Value(L"text-file");
    if (text && file) return UsageError(L"give --text or --text-file, not both");
    if (args.Has(L"unicode") && !file) return UsageError(L"--unicode applies to --text-file");
    if (text) input->text.assign(text->begin(), text->end());
    if (file) {
        TextFileResult result = ReadRegistrationTextFile(*file, args.Has(L"unicode"));
        if (result.messageId != 0) return Failure(result.messageId);
        if (!result.opened) {
            console::Err(L"glyphkit-cli: cannot read " + *file + L"\n");
            return 1;
        }
        input->text = std::move(result.text);
    }
    if (const auto range = args.Value(L"range")) {
        long start = 0;
        long end = 0;
        if (!ParseRange(*range, 32, 255, &start, &end))
            return UsageError(L"--range must be START-END, both 32 to 255");
        input->rangeOn = true;
        input->rangeStart = int(start);
        input->rangeEnd = int(end);
    }
    return 0;
}
