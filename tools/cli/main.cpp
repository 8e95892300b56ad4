// glyphkit-cli: the scriptable front end of Glyphkit.
// Exit status: 0 success, 1 the operation failed, 2 usage error.
#include <windows.h>

#include <string>

#include "framework/message_text.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"

namespace {

struct Command {
    const wchar_t* name;
    int (*run)(const CliArgs&);
    const wchar_t* usage;
};

const Command kCommands[] = {
    {L"fonts", RunFonts, L"fonts"},
    {L"codes", RunCodes,
     L"codes --face NAME [--text TEXT] [--text-file FILE [--unicode]] [--range START-END]"},
    {L"build", RunBuild,
     L"build --face NAME --size PT --name REGNAME [--bold] [--italic] [--text TEXT]\n"
     L"        [--text-file FILE [--unicode]] [--range START-END] [--model QC150|QW300|QW400]\n"
     L"        --out FILE.kfd"},
    {L"show", RunShow, L"show FILE.kfd"},
    {L"glyphs", RunGlyphs, L"glyphs FILE.kfd --out FILE.png [--columns N] [--scale N]"},
    {L"list", RunList, L"list [--port N]"},
    {L"delete", RunDelete, L"delete --id N [--port N] [--confirm yes|no]"},
    {L"clear", RunClear, L"clear [--port N] [--confirm yes|no]"},
    {L"download", RunDownload,
     L"download FILE.kfd --id N [--port N] [--overwrite yes|no] [--model QC150|QW300|QW400]"},
};

// Options that take no value, whatever the command.
const std::set<std::wstring> kFlags = {L"unicode", L"bold", L"italic"};

std::wstring Usage() {
    std::wstring usage = L"usage: glyphkit-cli COMMAND [OPTIONS]\n";
    for (const Command& command : kCommands)
        usage += std::wstring(L"  ") + command.usage + L"\n";
    return usage;
}

} // namespace

int UsageError(const std::wstring& text) {
    console::Err(L"glyphkit-cli: " + text + L"\n");
    return 2;
}

int Failure(unsigned messageId) {
    console::Err(LoadText(messageId) + L"\n");
    return 1;
}

int wmain(int argc, wchar_t** argv) {
    CliArgs args(argc, argv, kFlags);
    if (!args.ok())
        return UsageError(args.error() + L"\n" + Usage());
    for (const Command& command : kCommands)
        if (args.command() == command.name)
            return command.run(args);
    return UsageError(L"unknown command " + args.command() + L"\n" + Usage());
}
