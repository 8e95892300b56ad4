#include "printer/record_data.h"

#include "printer/command_blocks.h"
#include "printer/registered_data.h"

using namespace printer_protocol;

std::optional<uint32_t> AnnouncedLength(const uint8_t* infoReply) {
    uint32_t value = 0;
    for (int i = 2; i < 10; ++i) {
        if (infoReply[i] < '0' || infoReply[i] > '9')
            return std::nullopt;
        value = value * 10 + uint32_t(infoReply[i] - '0');
    }
    return value;
}

// Any read that fails, a hundred-and-first record or a record of more than
// 5000 characters makes the whole listing incomplete at once. A failed read
// has lost bytes, so everything after it is out of step; reading on would
// only decode garbage and could wait through thousands of entry time-outs.
// Too many records or characters would not fit the form's record array or a
// record's character table.
RecordData ReadRecordData(PrinterLink& link, uint32_t announcedLength) {
    RecordData data;
    link.WriteBlock(kProceed.data(), kProceed.size());
    uint8_t mark = 0;
    if (!link.ReadBlock(&mark, 1, kReplyTimeout))
        return data;
    if (mark != STX) {
        data.end = RecordDataEnd::Foreign;
        return data;
    }

    uint64_t consumed = 0;
    while (consumed < announcedLength) {
        if (data.records.size() == RegisteredData::kMaxRecords)
            return data;
        uint8_t block[CFontPT::kInfoBlockSize];
        if (!link.ReadBlock(block, sizeof block, kReplyTimeout))
            return data;
        CFontPT record;
        record.ParseInfoBlock(block);
        if (record.m_nCharCount > kMaxRegistrationCodes)
            return data;
        record.m_charEntries.resize(record.m_nCharCount);
        for (CFontPT::CharEntry& entry : record.m_charEntries)
            if (!link.ReadBlock(entry.data(), entry.size(), kReplyTimeout))
                return data;
        data.memoryUse += record.MemoryUse();
        consumed += CFontPT::kInfoBlockSize + CFontPT::kCharEntrySize * record.m_nCharCount;
        data.records.push_back(std::move(record));
    }

    // A printer's records add up to the length it announced, and ETX follows.
    if (!link.ReadBlock(&mark, 1, kRecordEndTimeout))
        return data;
    data.end = mark == ETX && consumed == announcedLength ? RecordDataEnd::Complete
                                                          : RecordDataEnd::Foreign;
    return data;
}
