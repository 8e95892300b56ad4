// glyphkit-cli: the scriptable front end of Glyphkit.
// Exit status: 0 success, 1 the operation failed, 2 usage error.
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/version_info.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/command_help.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/form_options.h"
#include "tools/cli/interrupt.h"

namespace {

struct Command {
    const wchar_t* name;
    int (*run)(const CliArgs&);
    const wchar_t* usage;
    std::set<std::wstring> options; // the --options it takes
    const wchar_t* details;         // what help COMMAND adds to the usage, or null
};

std::set<std::wstring> FormOptionsAnd(std::set<std::wstring> more) {
    more.insert(kFormOptionNames.begin(), kFormOptionNames.end());
    return more;
}

// Built at first use: the form's option names belong to another file, whose
// statics may not be made yet when this file's are.
const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {L"fonts", RunFonts, L"fonts", {}, nullptr},
        {L"codes",
         RunCodes,
         L"codes --face NAME [--text TEXT] [--text-file FILE [--unicode]] [--range START-END]",
         {L"face", L"text", L"text-file", L"unicode", L"range"},
         nullptr},
        {L"build", RunBuild,
         L"build --face NAME --size PT --name REGNAME [--bold] [--italic] [--text TEXT]\n"
         L"        [--text-file FILE [--unicode]] [--range START-END] [--model QC150|QW300|QW400]\n"
         L"        --out FILE.kfd",
         FormOptionsAnd({L"out"}), nullptr},
        {L"check", RunCheck,
         L"check (--face NAME --size PT --name REGNAME [build's options] | FILE.kfd [--model M])\n"
         L"        [--fit [--port P [--id N]]] [--line TEXT] [--image FILE.bmp [--zoom 1|2|4|8]]\n"
         L"        [--json]",
         FormOptionsAnd({L"image", L"zoom", L"json", L"fit", L"port", L"id", L"line"}),
         kCheckDetails},
        {L"show", RunShow, L"show FILE.kfd", {}, nullptr},
        {L"glyphs",
         RunGlyphs,
         L"glyphs FILE.kfd --out FILE.png [--columns N] [--scale N]",
         {L"out", L"columns", L"scale"},
         nullptr},
        {L"list",
         RunList,
         L"list [--port P[,P...]] [--ports-file FILE] [--jobs N] [--json]",
         {L"port", L"ports-file", L"jobs", L"json"},
         kListDetails},
        {L"delete",
         RunDelete,
         L"delete --id N [--port P[,P...]] [--ports-file FILE] [--confirm yes|no | --yes]\n"
         L"        [--jobs N] [--json]",
         {L"id", L"port", L"ports-file", L"confirm", L"yes", L"jobs", L"json"},
         kUpkeepDetails},
        {L"clear",
         RunClear,
         L"clear [--port P[,P...]] [--ports-file FILE] [--confirm yes|no | --yes] [--jobs N]\n"
         L"        [--json]",
         {L"port", L"ports-file", L"confirm", L"yes", L"jobs", L"json"},
         kUpkeepDetails},
        {L"download",
         RunDownload,
         L"download FILE.kfd --id N [--port P[,P...]] [--ports-file FILE] [--overwrite yes|no]\n"
         L"        [--model QC150|QW300|QW400] [--jobs N] [--converge] [--json]",
         {L"id", L"port", L"ports-file", L"overwrite", L"model", L"jobs", L"converge", L"json"},
         kDownloadDetails},
        {L"provision",
         RunProvision,
         L"provision PLAN (--port P[,P...] | --ports-file FILE) [--clear | --converge]\n"
         L"        [--overwrite yes|no] [--model QC150|QW300|QW400] [--jobs N] [--json]",
         {L"port", L"ports-file", L"clear", L"overwrite", L"model", L"jobs", L"converge", L"json"},
         kProvisionDetails},
    };
    return commands;
}

// Options that take no value, whatever the command.
const std::set<std::wstring> kFlags = {L"unicode",  L"bold", L"italic", L"help", L"clear",
                                       L"converge", L"json", L"yes",    L"fit"};

std::wstring Usage() {
    std::wstring usage = L"usage: glyphkit-cli COMMAND [OPTIONS]\n";
    for (const Command& command : Commands())
        usage += std::wstring(L"  ") + command.usage + L"\n";
    usage += L"  help [COMMAND]\n  --version\n";
    return usage;
}

const Command* FindCommand(const std::wstring& name) {
    for (const Command& command : Commands())
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
    console::Out(std::wstring(L"usage: glyphkit-cli ") + command->usage + L"\n" +
                 (command->details ? command->details : L""));
    return 0;
}

// An option the command does not take is named, with the command's usage.
int RefuseUnknownOption(const Command& command, const std::wstring& option) {
    return UsageError(std::wstring(command.name) + L" does not take " + option +
                      L"\nusage: glyphkit-cli " + command.usage);
}

// The first option the command does not take, or a word that looks like one
// ("-p"), which would otherwise pass for a file; empty when there is none.
std::wstring UnknownOption(const Command& command, const CliArgs& args) {
    if (const std::wstring name = args.UnknownOption(command.options); !name.empty())
        return L"--" + name;
    for (const std::wstring& word : args.positional())
        if (word.size() > 1 && word[0] == L'-')
            return word;
    return L"";
}

// An option said twice is never read as one of its values: the line says
// two things and the command would have to guess which was meant.
int RefuseRepeatedOption(const Command& command, const std::wstring& option) {
    return UsageError(L"--" + option + L" is given more than once; give each option once" +
                      L"\nusage: glyphkit-cli " + command.usage);
}

// Options that say opposite things: refused before anything is opened,
// whichever came first.
std::wstring Contradiction(const CliArgs& args) {
    if (args.Has(L"yes") && args.Value(L"confirm") == std::optional<std::wstring>(L"no"))
        return L"--yes and --confirm no contradict each other: give one of them";
    return L"";
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

int CommandUsageError(const wchar_t* command) {
    return UsageError(std::wstring(L"usage: ") + FindCommand(command)->usage);
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
    const Command* command = FindCommand(args.command());
    // An unknown flag at the end reads as an option without its value: it is
    // named as what it is.
    if (!args.ok() && command && !args.withoutValue().empty() &&
        !command->options.count(args.withoutValue()))
        return RefuseUnknownOption(*command, L"--" + args.withoutValue());
    if (!args.ok())
        return UsageError(args.error() + L"\n" + Usage());
    if (!command)
        return UsageError(L"unknown command " + args.command() + L"\n" + Usage());
    // COMMAND --help: that command's usage, whatever else was given.
    if (args.Has(L"help"))
        return Help(command->name);
    if (const std::wstring unknown = UnknownOption(*command, args); !unknown.empty())
        return RefuseUnknownOption(*command, unknown);
    if (!args.repeated().empty())
        return RefuseRepeatedOption(*command, args.repeated());
    if (const std::wstring contradiction = Contradiction(args); !contradiction.empty())
        return UsageError(contradiction);
    return command->run(args);
}
