#pragma once
// Where a printer is: a COM port of this workstation, or the network
// interface of a printer on the site's network, which takes the same command
// stream over TCP.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/decimal_number.h"

// The COM ports the operator can choose.
constexpr int kFirstComPort = int(kComPortNumbers.min);
constexpr int kLastComPort = int(kComPortNumbers.max);

// The port a printer's network interface listens on unless told otherwise.
constexpr uint16_t kDefaultPrinterTcpPort = 9100;

struct PrinterAddress {
    int comPort = 1;  // when host is empty
    std::string host; // a host name, an IPv4 address or an IPv6 address without brackets
    uint16_t tcpPort = kDefaultPrinterTcpPort;

    bool IsNetwork() const { return !host.empty(); }
    static PrinterAddress Com(int port);
    static PrinterAddress Network(std::string host, uint16_t port = kDefaultPrinterTcpPort);
    bool operator==(const PrinterAddress& other) const;
    bool operator!=(const PrinterAddress& other) const { return !(*this == other); }
};

// What a host is, by its spelling: None when it cannot name a printer. IPv4
// only as four decimal parts of 0 to 255 without leading zeros; IPv6 in its
// standard text forms, with or without a zone ("%eth0"); a name in labels of
// letters, digits, "-" and "_" whose last label is no number.
enum class HostKind { None, Name, Ipv4, Ipv6 };
HostKind KindOfHost(std::string_view host);

// Whether the address's host is an IPv4 or IPv6 address, which the
// connection gives the resolver as a literal only, never as a name.
bool IsNumericHost(const PrinterAddress& address);

// "HOST", "HOST:PORT", "[IPv6]", "[IPv6]:PORT" or a bare IPv6 address, where
// HOST is a host name or an IPv4 address; nothing for anything else.
std::optional<PrinterAddress> ParseNetworkAddress(std::string_view text);

// A TCP port as the operator types it: 1 to 65535 in plain digits.
std::optional<uint16_t> ParseTcpPort(std::string_view text);

// A host as the operator types it alone (a name, IPv4, IPv6 with or without
// brackets); nothing when it cannot be one.
std::optional<std::string> ParseHost(std::string_view text);

// "COM1", "192.168.0.21:9100", "[fe80::1]:9100"
std::string PrinterAddressText(const PrinterAddress& address);

// The name under which one program of the session at a time holds the
// printer: the same for every spelling of a host that differs only in case.
std::string PrinterLockName(const PrinterAddress& address);

// The host as it names one machine: an IPv6 zone ("%1", "%eth0") chooses
// among the links only for a link-local or multicast address; on any other
// address it names no other host and is dropped.
std::string HostWithoutIdleZone(std::string_view host);
