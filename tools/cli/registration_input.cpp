#include "tools/cli/registration_input.h"

#include "operations/text_file_input.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"

int ReadRegistrationText(const CliArgs& args, std::u16string* text) {
    const auto typed = args.Value(L"text");
    const auto file = args.Value(L"text-file");
    if (typed && file)
        return UsageError(L"give --text or --text-file, not both");
    if (args.Has(L"unicode") && !file)
        return UsageError(L"--unicode applies to --text-file");
    if (typed)
        text->assign(typed->begin(), typed->end());
    if (file) {
        TextFileResult result = ReadRegistrationTextFile(*file, args.Has(L"unicode"));
        if (result.messageId != 0)
            return Failure(result.messageId);
        if (!result.opened)
            return FileFailure(L"glyphkit-cli: cannot read the text file", *file,
                               result.systemError);
        *text = std::move(result.text);
    }
    return 0;
}

int ReadRegistrationInput(const CliArgs& args, RegistrationInput* input) {
    if (const int status = ReadRegistrationText(args, &input->text))
        return status;
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
