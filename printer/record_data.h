#pragma once
// Reading the printer's listing: the info reply's announced length and the
// record data that follows Proceed (STX, the records, ETX).
#include <cstdint>
#include <optional>
#include <vector>

#include "printer/font_pt.h"
#include "printer/printer_link.h"

// L: the decimal value of bytes 2 to 9 of the 11-byte info reply; nothing
// when one of them is not a decimal digit, which no printer sends.
std::optional<uint32_t> AnnouncedLength(const uint8_t* infoReply);

enum class RecordDataEnd {
    Complete, // STX, the announced records and ETX all arrived
    Missing,  // a mark or a record did not come, or did not fit the records
    Foreign,  // a byte other than STX or ETX where a mark belongs, or records
              // of another length than announced: no printer's answer
};

struct RecordData {
    RecordDataEnd end = RecordDataEnd::Missing;
    std::vector<CFontPT> records;
    uint64_t memoryUse = 0; // sum of data size + 10 x character count
};

// Sends Proceed and reads the record data of announcedLength bytes.
RecordData ReadRecordData(PrinterLink& link, uint32_t announcedLength);
