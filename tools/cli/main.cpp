// glyphkit-cli: the scriptable front end of Glyphkit.
// Exit status: 0 success, 1 the operation failed, 2 usage error.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/version_info.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/interrupt.h"

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
    {L"check", RunCheck,
     L"check (--face NAME --size PT --name REGNAME [build's options] | FILE.kfd [--model M])\n"
     L"        [--image FILE.bmp [--zoom 1|2|4|8]]"},
    {L"show", RunShow, L"show FILE.kfd"},
    {L"glyphs", RunGlyphs, L"glyphs FILE.kfd --out FILE.png [--columns N] [--scale N]"},
    {L"list", RunList, L"list [--port N]"},
    {L"delete", RunDelete, L"delete --id N [--port N] [--confirm yes|no]"},
    {L"clear", RunClear, L"clear [--port N] [--confirm yes|no]"},
    {L"download", RunDownload,
     L"download FILE.kfd --id N [--port N[,N...]] [--overwrite yes|no]\n"
     L"        [--model QC150|QW300|QW400]"},
    {L"provision", RunProvision,
     L"provision PLAN --port N[,N...] [--clear] [--overwrite yes|no]\n"
     L"        [--model QC150|QW300|QW400]"},
};

// Options that take no value, whatever the command.
const std::set<std::wstring> kFlags = {L"unicode", L"bold", L"italic", L"help", L"clear"};

std::wstring Usage() {
    std::wstring usage = L"usage: glyphkit-cli COMMAND [OPTIONS]\n";
    for (const Command& command : kCommands)
        usage += std::wstring(L"  ") + command.usage + L"\n";
    usage += L"  help [COMMAND]\n  --version\n";
    return usage;
}

const Command* FindCommand(const std::wstring& name) {
    for (const Command& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

// The usage of one command, or of all when name is empty, on standard output.
int Help(const std::wstring& name) {
    if (name.empty()) {
        console::Out(Usage());
        return 0;
    }
    const Command* command = FindCommand(name);
    if (!command)
        return UsageError(L"unknown command " + name + L"\n" + Usage());
    console::Out(std::wstring(L"usage: glyphkit-cli ") + command->usage + L"\n");
    return 0;
}

int Version() {
    const std::wstring version = FromCodePage(CVersionInfo().GetFileVersionText());
    if (version.empty()) {
        console::Err(L"glyphkit-cli: the executable carries no version information\n");
        return 1;
    }
    console::Out(L"glyphkit-cli " + version + L"\n");
    return 0;
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

int FileFailure(const std::wstring& text, const std::wstring& path, uint32_t systemError) {
    console::Err(text + L"\n" + FileProblem(path, systemError) + L"\n");
    return 1;
}

int wmain(int argc, wchar_t** argv) {
    InstallInterruptHandler();
    // "--help", "-h", "help [COMMAND]" and "--version" come first, before
    // the arguments are read as a command.
    const std::vector<std::wstring> words(argv + 1, argv + argc);
    if (!words.empty() && (words[0] == L"--help" || words[0] == L"-h" || words[0] == L"help"))
        return Help(words.size() > 1 ? words[1] : L"");
    if (!words.empty() && words[0] == L"--version")
        return Version();

    CliArgs args(argc, argv, kFlags);
    if (!args.ok())
        return UsageError(args.error() + L"\n" + Usage());
    const Command* command = FindCommand(args.command());
    if (!command)
        return UsageError(L"unknown command " + args.command() + L"\n" + Usage());
    // COMMAND --help: that command's usage, whatever else was given.
    if (args.Has(L"help"))
        return Help(command->name);
    return command->run(args);
}
