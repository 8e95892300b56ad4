#include "printer/printer_address.h"

#include <gtest/gtest.h>

namespace {

// What the operator types and what it names: empty text where it names no
// printer.
TEST(PrinterAddress, ParsedAndWrittenBack) {
    const struct {
        const char* typed;
        const char* host;
        uint16_t port;
        const char* written;
    } cases[] = {
        {"192.168.0.21", "192.168.0.21", 9100, "192.168.0.21:9100"},
        {"printer-3:9101", "printer-3", 9101, "printer-3:9101"},
        {"[fe80::1]:9102", "fe80::1", 9102, "[fe80::1]:9102"},
        {"[::1]", "::1", 9100, "[::1]:9100"},
        {"fe80::1%eth0", "fe80::1%eth0", 9100, "[fe80::1%eth0]:9100"},
        {"", "", 0, ""},
        {"host:", "", 0, ""},
        {"host:0", "", 0, ""},
        {"host:65536", "", 0, ""},
        {"host:91a", "", 0, ""},
        {"a b", "", 0, ""},
        {"-host", "", 0, ""},
        {"[::1", "", 0, ""},
        {"[::1]9100", "", 0, ""},
        {"[host]:9100", "", 0, ""},
        {"\\\\.\\COM1", "", 0, ""},
        {"[::1]:9100", "::1", 9100, "[::1]:9100"},
        {"::ffff:127.0.0.1", "::ffff:127.0.0.1", 9100, "[::ffff:127.0.0.1]:9100"},
        {"127.0.0.1:9101", "127.0.0.1", 9101, "127.0.0.1:9101"},
        {"127.1:9100", "", 0, ""},
        {"2130706433:9100", "", 0, ""},
        {"[127.0.0.1]:9100", "", 0, ""},
        {"::1:9100", "::1:9100", 9100, "[::1:9100]:9100"},
    };
    for (const auto& c : cases) {
        const std::optional<PrinterAddress> parsed = ParseNetworkAddress(c.typed);
        ASSERT_EQ(parsed.has_value(), *c.host != 0) << c.typed;
        if (!parsed)
            continue;
        EXPECT_EQ(parsed->host, c.host) << c.typed;
        EXPECT_EQ(parsed->tcpPort, c.port) << c.typed;
        EXPECT_EQ(PrinterAddressText(*parsed), c.written) << c.typed;
    }
}

// Hosts as typed alone: what each names, None where nothing. A host made
// of digits and dots is an exact IPv4 address or nothing, whatever the C
// library would make of it.
TEST(PrinterAddress, HostSpellings) {
    const std::string label63(63, 'a');
    const std::string name253 =
        label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
    const struct {
        std::string typed;
        HostKind kind;
    } cases[] = {
        {"127.0.0.1", HostKind::Ipv4},
        {"0.0.0.0", HostKind::Ipv4},
        {"255.255.255.255", HostKind::Ipv4},
        {"127.1", HostKind::None},
        {"0177.0.0.1", HostKind::None},
        {"010.0.0.1", HostKind::None},
        {"999.1.1.1", HostKind::None},
        {"256.256.256.256", HostKind::None},
        {"1.2.3", HostKind::None},
        {"1.2.3.4.5", HostKind::None},
        {"2130706433", HostKind::None},
        {"192.168.21", HostKind::None},
        {"127.0.0.1.", HostKind::None},
        {"0x7f.1", HostKind::None},
        {"0x7f000001", HostKind::None},
        {"printer.3", HostKind::None},
        {"printer-3", HostKind::Name},
        {"printer_3", HostKind::Name},
        {"PRINTER-3.example", HostKind::Name},
        {"3com.example", HostKind::Name},
        {"1.2.3.4.example", HostKind::Name},
        {"printer.example.", HostKind::None},
        {"printer..example", HostKind::None},
        {"-printer", HostKind::None},
        {"printer-", HostKind::None},
        {"printer-.example", HostKind::None},
        {label63 + ".example", HostKind::Name},
        {label63 + "a.example", HostKind::None},
        {name253, HostKind::Name},
        {name253 + "b", HostKind::None},
        {"::1", HostKind::Ipv6},
        {"::", HostKind::Ipv6},
        {"[::1]", HostKind::Ipv6},
        {"fe80::1%eth0", HostKind::Ipv6},
        {"fe80::1%", HostKind::None},
        {"::ffff:127.0.0.1", HostKind::Ipv6},
        {"::ffff:127.1", HostKind::None},
        {"::ffff:127.0.0.01", HostKind::None},
        {"1:2:3:4:5:6:7:8", HostKind::Ipv6},
        {"1:2:3:4:5:6:7:8:9", HostKind::None},
        {"1:2:3:4:5:6:7", HostKind::None},
        {"1:2:3:4:5:6:7::", HostKind::Ipv6},
        {"1:2:3:4:5:6:7:8::", HostKind::None},
        {"1:2:3:4:5:6:1.2.3.4", HostKind::Ipv6},
        {"1.2.3.4::", HostKind::None},
        {"1::2::3", HostKind::None},
        {"1:::2", HostKind::None},
        {"12345::", HostKind::None},
        {"[printer-3]", HostKind::None},
        {"", HostKind::None},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> host = ParseHost(c.typed);
        ASSERT_EQ(host.has_value(), c.kind != HostKind::None) << c.typed;
        if (host) {
            EXPECT_EQ(KindOfHost(*host), c.kind) << c.typed;
        }
    }
}

TEST(PrinterAddress, OneLockNamePerPrinter) {
    EXPECT_EQ(PrinterLockName(PrinterAddress::Com(3)), "COM3");
    EXPECT_EQ(PrinterLockName(*ParseNetworkAddress("Printer-3")),
              PrinterLockName(*ParseNetworkAddress("printer-3:9100")));
    EXPECT_NE(PrinterLockName(*ParseNetworkAddress("printer-3:9101")),
              PrinterLockName(*ParseNetworkAddress("printer-3")));
    EXPECT_NE(PrinterLockName(*ParseNetworkAddress("COM3")),
              PrinterLockName(PrinterAddress::Com(3)));
}

} // namespace
