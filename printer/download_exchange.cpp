#include "printer/download_exchange.h"

#include <cstring>
#include <vector>

#include "printer/command_blocks.h"
#include "printer/listing_exchange.h"
#include "res/resource_ids.h"

using namespace printer_protocol;

namespace {

using S = OutcomeStep;

// A failed download shows its message while the progress window is still up,
// then closes the port; the list is not refreshed.
ExchangeOutcome Failed(unsigned messageId) {
    ExchangeOutcome out;
    out.steps = {S::ShowMessage, S::ClosePort};
    out.messageId = messageId;
    return out;
}

bool ReadCode(PrinterLink& link, unsigned constantMs, uint8_t* code) {
    uint8_t reply[kShortReplySize] = {};
    if (!link.ReadBlock(reply, sizeof reply, constantMs))
        return false;
    *code = reply[kReplyCodeOffset];
    return true;
}

} // namespace

bool GlyphDataFits(const CFontPT& record, size_t glyphDataSize) {
    return uint64_t(record.m_dwCharCount) * record.m_dwBytesPerGlyph <= glyphDataSize &&
           record.m_wireRecords.size() >= size_t(record.m_dwCharCount) * GlyphRecord::kSize;
}

ExchangeOutcome DownloadRegistration(PrinterLink& link, const CFontPT& record,
                                     const uint8_t* glyphData, size_t glyphDataSize, Operator& op,
                                     DownloadProgress& progress) {
    // Callers check this before they open the port; a record and data that
    // do not match are never sent.
    if (!GlyphDataFits(record, glyphDataSize))
        return Failed(IDS_DOWNLOAD_FAILED);

    link.WriteBlock(kDownloadStart.data(), kDownloadStart.size());
    link.WriteBlock(record.m_infoBlock.data(), record.m_infoBlock.size());
    link.WriteBlock(kDownloadHeaderEnd.data(), kDownloadHeaderEnd.size());
    uint8_t code = 0;
    if (!ReadCode(link, kDownloadReplyTimeout, &code))
        return Failed(IDS_DOWNLOAD_FAILED);

    unsigned proceedTimeout = kReplyTimeout;
    if (code == 'B') {
        if (!op.AskYesNo(IDS_ASK_OVERWRITE)) {
            // Whether or not the printer acknowledges the cancel with S, the
            // operation ends quietly.
            link.WriteBlock(kCancel.data(), kCancel.size());
            ReadCode(link, kConfirmedReplyTimeout, &code);
            ExchangeOutcome out;
            out.declined = true;
            out.steps = {S::ClosePort};
            return out;
        }
        proceedTimeout = kConfirmedReplyTimeout;
    } else if (code == 'N') {
        return Failed(IDS_AREA_NG);
    } else if (code != 'A') {
        return Failed(IDS_DOWNLOAD_FAILED);
    }

    progress.TransferStarting();
    link.WriteBlock(kProceed.data(), kProceed.size());
    if (!ReadCode(link, proceedTimeout, &code) || code != 'O')
        return Failed(IDS_DOWNLOAD_FAILED);

    const uint32_t n = record.m_dwCharCount;
    const size_t b = record.m_dwBytesPerGlyph;
    // Each frame (STX, wire record, bitmap, ETX) leaves in one write: every
    // write is a trip through the system, and on a line paced by the printer
    // a gap between the pieces of a frame is time the line stands idle.
    std::vector<uint8_t> frame(1 + GlyphRecord::kSize + b + 1);
    frame.front() = STX;
    frame.back() = ETX;
    const auto send = [&](uint32_t i) {
        std::memcpy(&frame[1], record.WireRecord(i), GlyphRecord::kSize);
        if (b > 0)
            std::memcpy(&frame[1 + GlyphRecord::kSize], glyphData + i * b, b);
        link.WriteBlock(frame.data(), frame.size());
    };
    if (n > 0)
        send(0);
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t ack = 0;
        if (!link.ReadBlock(&ack, 1, kAckTimeout) || ack != ACK)
            return Failed(IDS_DOWNLOAD_FAILED);
        // The next frame leaves before the progress is shown: the window's
        // work for this character (the bar, the messages) is done while the
        // line carries the next one, instead of keeping the printer waiting.
        if (i + 1 < n)
            send(i + 1);
        progress.CharacterSent(n, i);
    }

    // The refresh's steps close the port; the success message follows them.
    ExchangeOutcome out = RefreshRegisteredData(link);
    out.succeeded = true;
    out.steps.push_back(S::ShowMessage);
    out.messageId = IDS_DOWNLOAD_DONE;
    out.kind = MessageKind::Plain;
    return out;
}
