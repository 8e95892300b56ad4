#include "tools/cli/printer_options.h"

#include "printer/printer_port.h"

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName) {
    PrinterOptions options;
    if (const std::optional<std::wstring> port = args.Value(L"port")) {
        const std::optional<long> number = ParseDecimal(*port, kFirstComPort, kLastComPort);
        if (!number) {
            options.error = L"--port takes a number from " + std::to_wstring(kFirstComPort) +
                            L" to " + std::to_wstring(kLastComPort);
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
