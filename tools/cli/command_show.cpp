// glyphkit-cli show FILE.kfd: reads a font data file as the form's Load does
// and prints what it restores, "key=value" lines, then one "U+XXXX" line per
// code in file order.
#include <string>

#include "framework/code_page_text.h"
#include "printer/text_formats.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"

namespace {

std::wstring Line(const wchar_t* key, const std::wstring& value) {
    return std::wstring(key) + L"=" + value + L"\n";
}

std::wstring Line(const wchar_t* key, long value) {
    return Line(key, std::to_wstring(value));
}

} // namespace

int RunShow(const CliArgs& args) {
    if (args.positional().size() != 1)
        return UsageError(L"show needs one FILE.kfd");

    FormSession session;
    const LoadResult load = session.operations.LoadFontDataFile(args.positional()[0]);
    if (!load.loaded)
        return 1;
    const SettingsRecord& doc = session.doc;

    const FontHeader& h = doc.GetFontHeader();
    std::wstring out;
    out += Line(L"name", FromCodePage(doc.GetRegName()));
    out += Line(L"face", FromCodePage(doc.GetFaceName()));
    out += Line(L"size", doc.GetPointSize());
    out += Line(L"bold", doc.GetBold());
    out += Line(L"italic", doc.GetItalic());
    out += Line(L"vertical", doc.GetVertical());
    out += Line(L"range_start", doc.GetRangeStart());
    out += Line(L"range_end", doc.GetRangeEnd());
    out += Line(L"code_start", h.Word(FontHeader::kCodeStart));
    out += Line(L"code_end", h.Word(FontHeader::kCodeEnd));
    out += Line(L"count", doc.GetCharCount());
    out += Line(L"cell_width", h.Word(FontHeader::kCellWidth));
    out += Line(L"cell_height", h.Word(FontHeader::kCellHeight));
    out += Line(L"bytes_per_glyph", long(h.DWord(FontHeader::kBytesPerGlyph)));
    out += Line(L"resolution", h.Word(FontHeader::kResolution));
    // What the registration takes of the printer's memory, counted as the
    // printer counts it: each character's record and bitmap (the header's
    // data size), whole kilobytes, the rest dropped.
    out += Line(L"memory", std::to_wstring(h.DWord(FontHeader::kDataSize) / 1024) + L"/" +
                               std::to_wstring(kPrinterMemoryKilobytes) + L"KB");
    for (char16_t code : load.fileText)
        out += CodePointText<wchar_t>(code) + L"\n";
    console::Out(out);
    return 0;
}
