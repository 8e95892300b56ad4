#include "tools/cli/printer_console.h"

#include <windows.h>

#include <cwchar>

#include "framework/message_text.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"

std::optional<int> PortOption(const CliArgs& args) {
    const std::optional<std::wstring> text = args.Value(L"port");
    if (!text)
        return kDefaultComPort;
    const std::optional<long> port = ParseDecimal(*text, 1, 255);
    if (!port)
        return std::nullopt;
    return int(*port);
}

Answer AnswerOption(const CliArgs& args, const std::wstring& name) {
    Answer answer;
    const std::optional<std::wstring> text = args.Value(name);
    if (!text)
        return answer;
    if (*text == L"yes")
        answer.value = true;
    else if (*text == L"no")
        answer.value = false;
    else
        answer.bad = true;
    return answer;
}

namespace {

bool StdinIsConsole() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    return input != nullptr && input != INVALID_HANDLE_VALUE &&
           GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
}

} // namespace

bool AskOperator(unsigned questionId, std::optional<bool> given) {
    if (given || !StdinIsConsole())
        return given.value_or(false);
    console::Err(LoadText(questionId) + L" [y/N] ");
    wchar_t line[16] = {};
    DWORD read = 0;
    if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), line, 15, &read, nullptr))
        return false;
    return read > 0 && (line[0] == L'y' || line[0] == L'Y');
}

void ConsoleOutcome::ApplyListing(const ListingUpdate& update) {
    // The console has no list box to measure: the extent is of no use here.
    m_panel.Apply(update, nullptr);
    std::wstring out;
    for (const std::string& line : m_panel.m_lines)
        out += console::FromAnsi(line) + L"\n";
    if (m_panel.MemoryAvailable()) {
        wchar_t text[128];
        std::swprintf(text, 128, LoadText(IDS_MEMORY_USAGE).c_str(), m_panel.MemoryKilobytes());
        out += text;
    } else {
        out += LoadText(IDS_MEMORY_USAGE_NA);
    }
    console::Out(out + L"\n");
}

void ConsoleOutcome::ShowMessage(unsigned id, BoxKind box) {
    if (box == BoxKind::Warning) {
        m_bFailureShown = true;
        console::Err(LoadText(id) + L"\n");
    } else {
        console::Out(LoadText(id) + L"\n");
    }
}

int ExitStatus(bool portOpened, const ExchangeOutcome& outcome) {
    return portOpened && outcome.succeeded ? 0 : 1;
}
