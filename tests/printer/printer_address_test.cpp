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
