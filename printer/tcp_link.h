#pragma once
// A printer's network interface over TCP: connecting within the connect
// time-out, and the link the exchanges use over the connection, with the
// reads bounded as on the serial line.
#include <winsock2.h>

#include "printer/printer_address.h"
#include "printer/printer_link.h"
#include "printer/printer_operator.h"

// No connection within this time counts as no answer.
constexpr unsigned kConnectTimeoutMs = 3000;

// Owns a connected socket; closing it ends the connection.
class TcpConnection {
public:
    TcpConnection() = default;
    explicit TcpConnection(SOCKET socket) : m_socket(socket) {}
    TcpConnection(TcpConnection&& other) noexcept : m_socket(other.m_socket) {
        other.m_socket = INVALID_SOCKET;
    }
    TcpConnection& operator=(TcpConnection&& other) noexcept;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;
    ~TcpConnection() { Close(); }

    bool IsOpen() const { return m_socket != INVALID_SOCKET; }
    SOCKET Get() const { return m_socket; }
    void Close();

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// Connects to the printer; on failure the connection is not open and
// failure says why (NetworkRefused, NetworkNoAnswer, NetworkNameNotFound).
TcpConnection ConnectToPrinter(const PrinterAddress& printer, PrinterResult& failure);

class TcpPrinterLink : public PrinterLink {
public:
    explicit TcpPrinterLink(SOCKET socket) : m_socket(socket) {}
    bool WriteBlock(const uint8_t* data, size_t count) override;
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned constantMs) override;
    // The peer closed or reset the connection, or the network failed.
    bool Lost() const { return m_bLost; }

private:
    // Reads into buffer until count bytes came or timeoutMs passed; the
    // number of bytes read.
    size_t ReadWithin(uint8_t* buffer, size_t count, unsigned timeoutMs);

    SOCKET m_socket;
    bool m_bLost = false;
};
