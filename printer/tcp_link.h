#pragma once
// A printer's network interface over TCP: connecting within the connect
// time-out, and the link the exchanges use over the connection, with the
// reads bounded as on the serial line.
#include <winsock2.h>

#include <array>
#include <string>
#include <vector>

#include "printer/printer_address.h"
#include "printer/printer_link.h"
#include "printer/printer_operator.h"

class PrinterStop;

// No connection within this time counts as no answer.
constexpr unsigned kConnectTimeoutMs = 3000;

// Connects to the printer: the connected socket, or INVALID_SOCKET with
// failure saying why (NetworkRefused, NetworkNoAnswer, NetworkNameNotFound,
// or Stopped when stop was stopped meanwhile). endpoint, when given,
// receives the endpoint reached ("127.0.0.1:9100", "[::1]:9100").
SOCKET ConnectToPrinter(const PrinterAddress& printer, PrinterResult& failure,
                        const PrinterStop* stop = nullptr, std::string* endpoint = nullptr);

// The endpoints the printer's address leads to, in the order a connection
// tries them, each as "family address port" with the address in its numeric
// form; empty when the name does not resolve. Two addresses that share one
// lead to one printer.
std::vector<std::string> PrinterEndpoints(const PrinterAddress& printer);

// The link over a connected socket, which it owns: the connection ends with
// the link.
class TcpPrinterLink : public PrinterLink {
public:
    // endpoint: the endpoint it reached, as ConnectToPrinter gives it.
    TcpPrinterLink(SOCKET socket, std::string endpoint);
    ~TcpPrinterLink() override { closesocket(m_socket); }
    TcpPrinterLink(const TcpPrinterLink&) = delete;
    TcpPrinterLink& operator=(const TcpPrinterLink&) = delete;
    bool WriteBlock(const uint8_t* data, size_t count) override;
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override;
    bool BytesWaiting() override;
    // The endpoint connected to, "127.0.0.1:9100" or "[::1]:9100", also
    // after the connection broke.
    const std::string& PeerAddress() const { return m_peerAddress; }
    // The peer closed or reset the connection, or the network failed.
    bool Lost() const { return m_bLost; }
    // Any thread: ends the connection both ways, so that a wait in a read
    // ends at once; the socket stays the link's until it goes.
    void Cut();

private:
    // Reads into buffer until count bytes came or timeoutMs passed; the
    // number of bytes read.
    size_t ReadWithin(uint8_t* buffer, size_t count, unsigned timeoutMs);
    // Waits up to timeoutMs (at least 1) for bytes and takes what came into
    // the receive buffer, which must be empty; false when none came.
    bool Receive(unsigned timeoutMs);

    SOCKET m_socket;
    std::string m_peerAddress;
    bool m_bLost = false;
    // Bytes received and not read yet: a listing's records come in far
    // fewer pieces than the reads that take them.
    std::array<uint8_t, 4096> m_received{};
    size_t m_receivedBegin = 0;
    size_t m_receivedEnd = 0;
    unsigned m_receiveTimeoutMs = 0; // the socket's receive time-out; 0: never set
};
