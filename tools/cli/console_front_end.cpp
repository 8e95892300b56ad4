#include "tools/cli/console_front_end.h"

#include <windows.h>

#include <algorithm>

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "operations/memory_usage_text.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"
#include "tools/cli/file_problem.h"

namespace {

// What a no left as it was, and the option that says yes without asking.
std::wstring Declined(unsigned question, const std::string& line) {
    if (question == IDS_ASK_OVERWRITE)
        return (line.empty() ? std::wstring(L"the ID") : FromCodePage(line)) +
               L" is registered already and was kept; --overwrite yes replaces it";
    return L"nothing was deleted; --confirm yes deletes without asking";
}

} // namespace

void PrintMissingGlyphs(const std::string& face, const std::vector<uint16_t>& codes,
                        const std::wstring& where) {
    // Indented, so the codes never pass for the code list that the codes
    // command prints on standard output.
    std::wstring text = L"glyphkit-cli: " + (where.empty() ? L"" : where + L": ") +
                        FromCodePage(face) + L" has no glyph for " + std::to_wstring(codes.size()) +
                        (codes.size() == 1 ? L" character" : L" characters") +
                        L", registered as its empty box:";
    for (size_t i = 0; i < codes.size(); ++i)
        text += (i % 16 == 0 ? L"\n  " : L" ") + CodePointText<wchar_t>(codes[i]);
    console::Err(text + L"\n");
}

ConsoleFrontEnd::ConsoleFrontEnd(std::optional<bool> answer, std::wstring windowCaption)
    : m_answer(answer), m_strWindowCaption(std::move(windowCaption)) {}

void ConsoleFrontEnd::EndProgressLine() {
    if (m_bProgressShown)
        console::Err(L"\n");
    m_bProgressShown = false;
}

void ConsoleFrontEnd::ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) {
    EndProgressLine();
    // A message with a caption of its own (a port that cannot be set up, the
    // font that cannot be realised) keeps it: it tells which part failed.
    std::wstring text;
    if (caption == MessageCaption::Application)
        text = LoadText(IDS_APP_NAME) + L": ";
    else if (caption == MessageCaption::MainWindow && !m_strWindowCaption.empty())
        text = m_strWindowCaption + L": ";
    text += LoadText(id) + L"\n";
    if (kind == MessageKind::Warning || m_bKeepOut)
        console::Err(text);
    else
        console::Out(text);
}

void ConsoleFrontEnd::ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                                            unsigned detailId,
                                            const std::vector<std::string>& values) {
    ShowMessage(id, kind, caption);
    const std::wstring detail = DetailText(detailId, values) + L"\n";
    if (kind == MessageKind::Warning || m_bKeepOut)
        console::Err(detail);
    else
        console::Out(detail);
}

void ConsoleFrontEnd::ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) {
    ShowWideFileMessage(id, FromCodePage(path), systemError);
}

void ConsoleFrontEnd::ShowWideFileMessage(unsigned id, const std::wstring& path,
                                          uint32_t systemError) {
    EndProgressLine();
    console::Err(LoadText(id) + L"\n" + FileProblem(path, systemError) + L"\n");
}

void ConsoleFrontEnd::ShowMessageAbout(unsigned id, const std::string& subject) {
    EndProgressLine();
    console::Err(LoadTextWith(id, {FromCodePage(subject)}) + L"\n");
}

bool ConsoleFrontEnd::AskYesNo(unsigned id) {
    return AskYesNoAbout(id, std::string());
}

bool ConsoleFrontEnd::AskYesNoAbout(unsigned id, const std::string& line) {
    EndProgressLine();
    const bool yes = m_answer || !console::InIsConsole() ? m_answer.value_or(false)
                                                         : console::AskOnConsole(LoadText(id));
    // A no from an option, or for want of a console to ask, ends the command
    // with status 1: the operator learns why.
    if (!yes)
        console::Err(L"glyphkit-cli: " + Declined(id, line) + L"\n");
    return yes;
}

void ConsoleFrontEnd::ShowRegisteredData(const RegisteredData& data, int /*extent*/) {
    if (m_bKeepOut)
        return;
    EndProgressLine();
    std::wstring out;
    for (const std::string& line : data.m_lines)
        out += FromCodePage(line) + L"\n";
    console::Out(out + MemoryUsageText(data) + L"\n");
}

void ConsoleFrontEnd::GlyphsMissing(const std::string& face, const std::vector<uint16_t>& codes) {
    EndProgressLine();
    PrintMissingGlyphs(face, codes);
}

void ConsoleFrontEnd::CharacterSent(uint32_t count, uint32_t index) {
    constexpr int kBarWidth = 40;
    constexpr ULONGLONG kRedrawMs = 250;
    // The printer waits for the next frame while the line is drawn, and a
    // write to the console can cost more than all else between two frames:
    // the line is drawn four times a second and for the last character.
    const ULONGLONG now = GetTickCount64();
    if (m_bProgressShown && index + 1 < count && now - m_progressDrawnAt < kRedrawMs)
        return;
    m_progressDrawnAt = now;
    // The carriage return goes back to the start of the row only: on a
    // console narrower than the bar, the bar shrinks to keep to one row.
    const std::wstring figures = L" " + std::to_wstring(index + 1) + L"/" + std::to_wstring(count);
    const int columns = console::ErrColumns();
    int width = kBarWidth;
    if (columns > 0)
        width = std::min(width, columns - 1 - 2 - int(figures.size()));
    std::wstring line = figures.substr(1);
    if (width > 0) {
        const int filled = int(uint64_t(index + 1) * uint32_t(width) / count);
        line = L"[" + std::wstring(size_t(filled), L'#') +
               std::wstring(size_t(width - filled), L'.') + L"]" + figures;
    }
    console::Err(L"\r" + (columns > 1 ? console::FitColumns(line, columns - 1) : line));
    m_bProgressShown = true;
}
