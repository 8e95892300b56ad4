#include "printer/download_exchange.h"

#include <cstring>
#include <vector>

#include "printer/command_blocks.h"
#include "printer/listing_exchange.h"

using namespace printer_protocol;

namespace {

// A failed download: the list is not refreshed.
ExchangeOutcome Failed(PrinterResult result, uint32_t character = 0) {
    ExchangeOutcome out;
    out.report = {PrinterTask::Download, result, character};
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

ExchangeOutcome TransferRegistration(PrinterLink& link, const CFontPT& record,
                                     const uint8_t* glyphData, size_t glyphDataSize,
                                     PrinterOperator& op, DownloadProgress& progress) {
    // Callers check this before they open the port; a record and data that
    // do not match are never sent.
    if (!GlyphDataFits(record, glyphDataSize))
        return Failed(PrinterResult::DataMismatch);

    link.WriteBlock(kDownloadStart.data(), kDownloadStart.size());
    link.WriteBlock(record.m_infoBlock.data(), record.m_infoBlock.size());
    link.WriteBlock(kDownloadHeaderEnd.data(), kDownloadHeaderEnd.size());
    uint8_t code = 0;
    if (!ReadCode(link, kDownloadReplyTimeout, &code))
        return Failed(PrinterResult::NoAnswer);

    unsigned proceedTimeout = kReplyTimeout;
    if (code == 'B') {
        if (!op.Ask(PrinterQuestion::Overwrite)) {
            // Whether or not the printer acknowledges the cancel with S, the
            // operation ends quietly.
            link.WriteBlock(kCancel.data(), kCancel.size());
            ReadCode(link, kConfirmedReplyTimeout, &code);
            ExchangeOutcome out;
            out.report = {PrinterTask::Download, PrinterResult::Declined};
            return out;
        }
        proceedTimeout = kConfirmedReplyTimeout;
    } else if (code == 'N') {
        return Failed(PrinterResult::AreaUnusable);
    } else if (code != 'A') {
        return Failed(PrinterResult::NotPrinterAnswer);
    }

    progress.TransferStarting();
    link.WriteBlock(kProceed.data(), kProceed.size());
    if (!ReadCode(link, proceedTimeout, &code))
        return Failed(PrinterResult::NoAnswer);
    if (code != 'O')
        return Failed(PrinterResult::NotPrinterAnswer);

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
        const bool answered = link.ReadBlock(&ack, 1, kAckTimeout);
        if (!answered || ack != ACK) {
            ExchangeOutcome out = Failed(PrinterResult::CharacterNotAcknowledged, i);
            out.report.replyMissing = !answered;
            return out;
        }
        // The next frame leaves before the progress is shown: the window's
        // work for this character (the bar, the messages) is done while the
        // line carries the next one, instead of keeping the printer waiting.
        if (i + 1 < n)
            send(i + 1);
        progress.CharacterSent(n, i);
    }
    ExchangeOutcome out;
    out.succeeded = true;
    out.report = {PrinterTask::Download, PrinterResult::Done};
    return out;
}

ExchangeOutcome DownloadRegistration(PrinterLink& link, const CFontPT& record,
                                     const uint8_t* glyphData, size_t glyphDataSize,
                                     PrinterOperator& op, DownloadProgress& progress) {
    const ExchangeOutcome sent =
        TransferRegistration(link, record, glyphData, glyphDataSize, op, progress);
    if (!sent.succeeded)
        return sent;
    ExchangeOutcome out = RefreshRegisteredData(link);
    out.succeeded = true;
    out.report = sent.report;
    return out;
}
