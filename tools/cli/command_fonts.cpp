// glyphkit-cli fonts: the installed-font list, one family a line:
// <face name> TAB <character set> TAB <code page> TAB <escapement>
#include <string>

#include "fontdata/code_page.h"
#include "framework/code_page_text.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"

int RunFonts(const CliArgs& args) {
    if (!args.positional().empty())
        return UsageError(L"fonts takes no arguments");
    const InstalledFamilies& fonts = InstalledFonts();
    std::wstring out;
    for (int i = 0; i < fonts.Count(false); ++i) {
        LOGFONTA family{};
        fonts.GetAt(i, &family);
        out += FromCodePage(family.lfFaceName) + L"\t" + std::to_wstring(family.lfCharSet) + L"\t" +
               std::to_wstring(CharsetToCodePage(family.lfCharSet)) + L"\t" +
               std::to_wstring(family.lfEscapement) + L"\n";
    }
    console::Out(out);
    return 0;
}
