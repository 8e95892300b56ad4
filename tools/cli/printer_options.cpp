#include "tools/cli/printer_options.h"

#include <algorithm>

#include "printer/printer_port.h"

namespace {

// "1,3,4": the ports in the order given; false with the usage error's text.
bool ParsePorts(const std::wstring& text, bool portList, std::vector<int>* ports,
                std::wstring* error) {
    const std::wstring range =
        std::to_wstring(kFirstComPort) + L" to " + std::to_wstring(kLastComPort);
    ports->clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(L',', start);
        const std::wstring item = text.substr(start, comma - start);
        const std::optional<long> number = ParseDecimal(item, kFirstComPort, kLastComPort);
        if (!number) {
            *error = portList ? L"--port takes numbers from " + range + L", separated by commas"
                              : L"--port takes a number from " + range;
            return false;
        }
        if (std::find(ports->begin(), ports->end(), int(*number)) != ports->end()) {
            *error = L"--port names COM" + item + L" twice";
            return false;
        }
        ports->push_back(int(*number));
        if (comma == std::wstring::npos)
            break;
        if (!portList) {
            *error = L"--port takes one port here";
            return false;
        }
        start = comma + 1;
    }
    return true;
}

} // namespace

PrinterOptions ReadPrinterOptions(const CliArgs& args, const std::wstring& answerName,
                                  bool portList) {
    PrinterOptions options;
    if (const std::optional<std::wstring> port = args.Value(L"port")) {
        if (!ParsePorts(*port, portList, &options.ports, &options.error))
            return options;
        options.port = options.ports.front();
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
