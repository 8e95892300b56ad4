#pragma once
// Reading the printer's listing: the info reply's announced length and the
// record data that follows Proceed (STX, the records, ETX).
#include <cstdint>
#include <vector>

#include "printer/font_pt.h"
#include "printer/printer_link.h"

// L: the decimal value of bytes 2 to 9 of the 11-byte info reply.
uint32_t AnnouncedLength(const uint8_t* infoReply);

struct RecordData {
    bool complete = false; // STX, the announced records and ETX all arrived
    std::vector<CFontPT> records;
    uint64_t memoryUse = 0; // sum of data size + 10 x character count
};

// Sends Proceed and reads the record data of announcedLength bytes.
RecordData ReadRecordData(PrinterLink& link, uint32_t announcedLength);
