#pragma once
// Command blocks, control bytes and reply codes of the printer's protocol.
#include <array>
#include <cstdint>

namespace printer_protocol {

constexpr uint8_t SOH = 0x01;
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t ESC = 0x1B;

constexpr std::array<uint8_t, 3> kInfoRequest{SOH, 'F', 'G'};
constexpr std::array<uint8_t, 3> kProceed{STX, '0', ETX};
constexpr std::array<uint8_t, 3> kCancel{STX, '1', ETX};
constexpr std::array<uint8_t, 7> kDeleteAll{ESC, 'A', ESC, '*', 'F', ESC, 'Z'};
constexpr std::array<uint8_t, 6> kDownloadStart{STX, ESC, 'A', ESC, 'F', 'D'};
constexpr std::array<uint8_t, 3> kDownloadHeaderEnd{ESC, 'Z', ETX};

// Delete entry: ESC A, ESC FC, the ID as "%02d", ESC Z.
inline std::array<uint8_t, 9> DeleteEntryBlock(int id) {
    return {ESC, 'A', ESC, 'F', 'C', uint8_t('0' + id / 10 % 10), uint8_t('0' + id % 10), ESC, 'Z'};
}

constexpr size_t kInfoReplySize = 11;
constexpr size_t kShortReplySize = 3;
constexpr size_t kReplyCodeOffset = 1;

// Read time-outs: the constant part of each read, in milliseconds.
constexpr unsigned kReplyTimeout = 100;
constexpr unsigned kRecordEndTimeout = 1000;
constexpr unsigned kDownloadReplyTimeout = 1000;
constexpr unsigned kConfirmedReplyTimeout = 10000;
constexpr unsigned kAckTimeout = 1000;

} // namespace printer_protocol
