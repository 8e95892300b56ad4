#include "printer/printer_address.h"

#include <algorithm>
#include <cctype>

#include "printer/text_formats.h"

PrinterAddress PrinterAddress::Com(int port) {
    PrinterAddress address;
    address.comPort = port;
    return address;
}

PrinterAddress PrinterAddress::Network(std::string host, uint16_t port) {
    PrinterAddress address;
    address.host = std::move(host);
    address.tcpPort = port;
    return address;
}

bool PrinterAddress::operator==(const PrinterAddress& other) const {
    // One rule for both: two spellings hold one lock exactly when they are
    // one printer (host names without regard to case).
    return PrinterLockName(*this) == PrinterLockName(other);
}

namespace {

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

// Hex digits and colons, with an IPv4 tail or a zone after "%" allowed;
// the resolver decides the rest.
bool LooksLikeIpv6(std::string_view text) {
    if (text.size() < 2 || std::count(text.begin(), text.end(), ':') < 2)
        return false;
    const size_t zone = text.find('%');
    const std::string_view address = text.substr(0, zone);
    if (zone != std::string_view::npos && zone + 1 == text.size())
        return false;
    return std::all_of(address.begin(), address.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
    });
}

bool IsHostName(std::string_view text) {
    // 253 characters is the longest name the resolver takes.
    return !text.empty() && text.size() <= 253 &&
           std::all_of(text.begin(), text.end(), IsNameCharacter) && text.front() != '-' &&
           text.front() != '.';
}

} // namespace

std::optional<uint16_t> ParseTcpPort(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const unsigned long port = std::stoul(std::string(text));
    if (port == 0 || port > 65535)
        return std::nullopt;
    return uint16_t(port);
}

std::optional<std::string> ParseHost(std::string_view text) {
    if (text.size() > 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    if (LooksLikeIpv6(text) || IsHostName(text))
        return std::string(text);
    return std::nullopt;
}

std::optional<PrinterAddress> ParseNetworkAddress(std::string_view text) {
    std::string_view host = text;
    std::optional<uint16_t> port = kDefaultPrinterTcpPort;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty())
            port = rest.front() == ':' ? ParseTcpPort(rest.substr(1)) : std::nullopt;
        if (!LooksLikeIpv6(host))
            return std::nullopt;
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = ParseTcpPort(text.substr(colon + 1));
    }
    const std::optional<std::string> parsedHost = ParseHost(host);
    if (!parsedHost || !port)
        return std::nullopt;
    return PrinterAddress::Network(*parsedHost, *port);
}

std::string PrinterAddressText(const PrinterAddress& address) {
    if (!address.IsNetwork())
        return ComPortName(address.comPort);
    const bool ipv6 = address.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.tcpPort);
}

std::string PrinterLockName(const PrinterAddress& address) {
    if (!address.IsNetwork())
        return ComPortName(address.comPort);
    std::string text = PrinterAddressText(address);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    // Kernel object names take no backslash; none of these has one, but a
    // name is no place to trust that.
    std::replace(text.begin(), text.end(), '\\', '_');
    return "Net." + text;
}
