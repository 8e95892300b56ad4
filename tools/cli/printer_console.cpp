#include "tools/cli/printer_console.h"

#include <windows.h>

#include <cwchar>

#include "framework/message_text.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName) {
    PrinterOptions options;
    if (const std::optional<std::wstring> port = args.Value(L"port")) {
        const std::optional<long> number = ParseDecimal(*port, 1, 255);
        if (!number) {
            options.error = L"--port takes a number from 1 to 255";
            return options;
        }
        options.port = int(*number);
    }
    if (answerName.empty())
        return options;
    if (const std::optional<std::wstring> answer = args.Value(answerName)) {
        if (*answer == L"yes")
            options.answer = true;
        else if (*answer == L"no")
            options.answer = false;
        else
            options.error = L"--" + answerName + L" takes yes or no";
    }
    return options;
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
