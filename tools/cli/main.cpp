// glyphkit-cli: the scriptable front end of Glyphkit.
// Exit status: 0 success, 1 the operation failed, 2 usage error.
#include <windows.h>

#include <string>

#include "tools/cli/cli_args.h"
#include "tools/cli/console.h"

namespace {

const wchar_t kUsage[] =
    L"usage: glyphkit-cli COMMAND [OPTIONS]\n"
    L"  fonts                                 list the installed font families\n"
    L"  codes --face NAME [--text TEXT] [--text-file FILE [--unicode]] [--range START-END]\n";

} // namespace

int wmain(int argc, wchar_t** argv) {
    CliArgs args(argc, argv, {L"unicode", L"bold", L"italic"});
    if (!args.ok()) {
        console::Err(L"glyphkit-cli: " + args.error() + L"\n" + kUsage);
        return 2;
    }
    console::Err(L"glyphkit-cli: unknown command " + args.command() + L"\n" + kUsage);
    return 2;
}
