#include "printer/printer_address.h"

#include <algorithm>

#include "framework/decimal_number.h"
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

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLabelCharacter(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
}

// text split at every separator, empty parts included.
template <typename Visit> bool EachPart(std::string_view text, char separator, Visit visit) {
    while (true) {
        const size_t end = text.find(separator);
        if (!visit(text.substr(0, end)))
            return false;
        if (end == std::string_view::npos)
            return true;
        text.remove_prefix(end + 1);
    }
}

// Exactly four decimal parts of 0 to 255 without leading zeros: the one
// spelling every resolver reads alike. The C library also takes "127.1",
// "010.0.0.1" (octal) and "2130706433", each meaning another address than a
// reader of the text would think.
bool IsIpv4(std::string_view text) {
    int parts = 0;
    return EachPart(text, '.',
                    [&](std::string_view part) {
                        if (++parts > 4 || part.empty() || part.size() > 3 ||
                            !std::all_of(part.begin(), part.end(), IsDigit) ||
                            (part.size() > 1 && part.front() == '0'))
                            return false;
                        return std::stoi(std::string(part)) <= 255;
                    }) &&
           parts == 4;
}

// Groups of 1 to 4 hex digits separated by ":", the last of them possibly an
// IPv4 address worth two groups; the number of groups they make.
std::optional<int> Ipv6Groups(std::string_view text, bool ipv4Tail) {
    if (text.empty())
        return 0;
    int groups = 0;
    bool last = false;
    const bool ok = EachPart(text, ':', [&](std::string_view group) {
        if (last)
            return false;
        if (ipv4Tail && group.find('.') != std::string_view::npos) {
            last = true;
            groups += 2;
            return IsIpv4(group);
        }
        ++groups;
        return !group.empty() && group.size() <= 4 &&
               std::all_of(group.begin(), group.end(), IsHexDigit);
    });
    return ok ? std::optional<int>(groups) : std::nullopt;
}

// The text forms of an IPv6 address: eight groups, or fewer with one "::"
// standing for the zero groups left out, an IPv4 address in place of the
// last two; a zone ("%eth0", "%12") after it for a link-local address.
bool IsIpv6(std::string_view text) {
    const size_t percent = text.find('%');
    if (percent != std::string_view::npos) {
        const std::string_view zone = text.substr(percent + 1);
        if (zone.empty() || zone.size() > 63 ||
            !std::all_of(zone.begin(), zone.end(), IsLabelCharacter))
            return false;
        text = text.substr(0, percent);
    }
    const size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        const std::optional<int> groups = Ipv6Groups(text, true);
        return groups && *groups == 8;
    }
    const std::string_view tail = text.substr(gap + 2);
    if (tail.find("::") != std::string_view::npos || (!tail.empty() && tail.front() == ':'))
        return false;
    const std::optional<int> head = Ipv6Groups(text.substr(0, gap), false);
    const std::optional<int> rest = Ipv6Groups(tail, true);
    return head && rest && *head + *rest <= 7;
}

// The last label the C library would read as a number: decimal, or hex
// after "0x" ("0x" alone being 0). A name ending in one is an IPv4 address
// or nothing, since "printer.1" or "0x7f.1" would be read as a number too.
bool IsNumericLabel(std::string_view label) {
    if (label.size() >= 2 && label[0] == '0' && (label[1] == 'x' || label[1] == 'X'))
        return std::all_of(label.begin() + 2, label.end(), IsHexDigit);
    return !label.empty() && std::all_of(label.begin(), label.end(), IsDigit);
}

// Labels of 1 to 63 letters, digits, hyphens and underscores, neither first
// nor last a hyphen, 253 characters in all. A trailing dot (the root) is
// refused: one printer, one spelling, which its lock name relies on.
bool IsHostName(std::string_view text) {
    if (text.empty() || text.size() > 253)
        return false;
    return EachPart(text, '.', [](std::string_view label) {
        return !label.empty() && label.size() <= 63 && label.front() != '-' &&
               label.back() != '-' && std::all_of(label.begin(), label.end(), IsLabelCharacter);
    });
}

} // namespace

HostKind KindOfHost(std::string_view host) {
    if (host.find(':') != std::string_view::npos)
        return IsIpv6(host) ? HostKind::Ipv6 : HostKind::None;
    if (IsIpv4(host))
        return HostKind::Ipv4;
    const size_t dot = host.rfind('.');
    const std::string_view last = dot == std::string_view::npos ? host : host.substr(dot + 1);
    if (IsNumericLabel(last))
        return HostKind::None;
    return IsHostName(host) ? HostKind::Name : HostKind::None;
}

bool IsNumericHost(const PrinterAddress& address) {
    const HostKind kind = KindOfHost(address.host);
    return kind == HostKind::Ipv4 || kind == HostKind::Ipv6;
}

std::optional<uint16_t> ParseTcpPort(std::string_view text) {
    // Five digits at most: a port is written as it is read, "09100" at the most.
    if (text.size() > 5)
        return std::nullopt;
    const std::optional<int64_t> port = DecimalIn(text, kTcpPortNumbers);
    return port ? std::optional<uint16_t>(uint16_t(*port)) : std::nullopt;
}

std::optional<std::string> ParseHost(std::string_view text) {
    // Brackets belong to an IPv6 address only, as in "[::1]:9100".
    const bool bracketed = text.size() > 2 && text.front() == '[' && text.back() == ']';
    if (bracketed)
        text = text.substr(1, text.size() - 2);
    const HostKind kind = KindOfHost(text);
    if (kind == HostKind::None || (bracketed && kind != HostKind::Ipv6))
        return std::nullopt;
    return std::string(text);
}

std::optional<PrinterAddress> ParseNetworkAddress(std::string_view text) {
    std::string_view host = text;
    std::optional<uint16_t> port = kDefaultPrinterTcpPort;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(0, close + 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty())
            port = rest.front() == ':' ? ParseTcpPort(rest.substr(1)) : std::nullopt;
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        // One colon ends a name or an IPv4 address; an IPv6 address has
        // at least two.
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

std::string HostWithoutIdleZone(std::string_view host) {
    const size_t percent = host.find('%');
    if (percent == std::string_view::npos)
        return std::string(host);
    // The first group decides: fe80::/10 is link-local, ff00::/8 multicast.
    const std::string_view first = host.substr(0, std::min(host.find(':'), percent));
    unsigned group = 0;
    for (char c : first)
        group = group * 16 + unsigned(IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
    const bool zoneChooses = (group & 0xFFC0) == 0xFE80 || (group & 0xFF00) == 0xFF00;
    return std::string(zoneChooses ? host : host.substr(0, percent));
}

std::string PrinterLockName(const PrinterAddress& address) {
    if (!address.IsNetwork())
        return ComPortName(address.comPort);
    PrinterAddress named = address;
    named.host = HostWithoutIdleZone(address.host);
    std::string text = PrinterAddressText(named);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    // Kernel object names take no backslash; none of these has one, but a
    // name is no place to trust that.
    std::replace(text.begin(), text.end(), '\\', '_');
    return "Net." + text;
}
