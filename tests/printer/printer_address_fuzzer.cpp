// libFuzzer target: printer addresses as the operator types them. The first
// line is the network dialog's host field and also the console's --port list;
// the second line is the dialog's port field. Whatever is accepted writes
// back to text that names the same printer, and a numeric host is read
// exactly as the C library's strict parser reads it: never as a name, never
// in one of the library's lenient spellings.
#include <arpa/inet.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "printer/printer_address.h"
#include "tools/cli/printer_options.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool DigitsAndDots(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

// Any text: its kind agrees with the strict parsers of the C library, and
// nothing taken as a name is read as an address by the lenient one.
void CheckKind(const std::string& text) {
    const HostKind kind = KindOfHost(text);
    unsigned char bytes[16];
    if (inet_pton(AF_INET, text.c_str(), bytes) == 1)
        Check(kind == HostKind::Ipv4);
    if (inet_pton(AF_INET6, text.c_str(), bytes) == 1)
        Check(kind == HostKind::Ipv6);
    if (DigitsAndDots(text))
        Check(kind == HostKind::Ipv4 || kind == HostKind::None);
    switch (kind) {
    case HostKind::Ipv4: {
        Check(inet_pton(AF_INET, text.c_str(), bytes) == 1);
        char canonical[16];
        std::snprintf(canonical, sizeof canonical, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2],
                      bytes[3]);
        Check(text == canonical);
        break;
    }
    case HostKind::Ipv6: {
        const std::string address = text.substr(0, text.find('%'));
        Check(inet_pton(AF_INET6, address.c_str(), bytes) == 1);
        break;
    }
    case HostKind::Name: {
        in_addr lenient{};
        Check(inet_aton(text.c_str(), &lenient) == 0);
        Check(!text.empty() && text.size() <= 253 && text.back() != '.');
        break;
    }
    case HostKind::None:
        break;
    }
}

// An accepted address: a host of its kind, written back and read again the
// same.
void CheckAccepted(const PrinterAddress& address) {
    if (!address.IsNetwork()) {
        Check(address.comPort >= kFirstComPort && address.comPort <= kLastComPort);
        return;
    }
    Check(KindOfHost(address.host) != HostKind::None);
    Check(address.tcpPort != 0);
    const std::optional<PrinterAddress> again = ParseNetworkAddress(PrinterAddressText(address));
    Check(again && *again == address);
    Check(IsNumericHost(address) == (KindOfHost(address.host) != HostKind::Name));
}

// The network dialog: host and port fields apart.
void Window(const std::string& hostField, const std::string& portField) {
    const std::optional<std::string> host = ParseHost(hostField);
    const std::optional<uint16_t> port = ParseTcpPort(portField);
    if (port)
        Check(*port != 0 && ParseTcpPort(std::to_string(*port)) == port);
    if (!host)
        return;
    CheckKind(*host);
    Check(ParseHost(*host) == host);
    if (*host != hostField)
        Check(KindOfHost(*host) == HostKind::Ipv6 && "[" + *host + "]" == hostField);
    CheckAccepted(PrinterAddress::Network(*host, port.value_or(kDefaultPrinterTcpPort)));
}

// The console: --port with a list of printers.
void Console(const std::string& value) {
    std::wstring wide(value.begin(), value.end());
    wchar_t program[] = L"glyphkit-cli";
    wchar_t command[] = L"provision";
    wchar_t option[] = L"--port";
    wchar_t* argv[] = {program, command, option, wide.data()};
    const CliArgs args(4, argv, {});
    const PrinterOptions options = ParsePrinterOptions(args, L"", true, nullptr);
    if (!options.error.empty())
        return;
    Check(!options.printers.empty() && options.names.size() == options.printers.size());
    Check(options.printer == options.printers.front());
    for (size_t i = 0; i < options.printers.size(); ++i) {
        CheckAccepted(options.printers[i]);
        for (size_t k = 0; k < i; ++k)
            Check(options.printers[k] != options.printers[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string first = input.substr(0, newline);
    const std::string rest = newline == std::string::npos ? "" : input.substr(newline + 1);
    const std::string second = rest.substr(0, rest.find('\n'));
    // A zero ends the text of a field and of a command-line argument.
    if (first.find('\0') != std::string::npos || second.find('\0') != std::string::npos)
        return 0;
    CheckKind(first);
    Window(first, second);
    Console(first);
    if (const std::optional<PrinterAddress> address = ParseNetworkAddress(first))
        CheckAccepted(*address);
    return 0;
}
