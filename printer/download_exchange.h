#pragma once
// Sending the download record and its glyph data to the printer.
#include <cstddef>
#include <cstdint>

#include "printer/exchange_outcome.h"
#include "printer/font_pt.h"
#include "printer/printer_link.h"

// Where the transfer shows its progress (the progress window).
class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    // The printer took the header; the character frames follow.
    virtual void TransferStarting() = 0;
    // Character index (0-based) of count was acknowledged.
    virtual void CharacterSent(uint32_t count, uint32_t index) = 0;
};

// True when glyphData holds the n x bytes per glyph bytes the record needs.
bool GlyphDataFits(const CFontPT& record, size_t glyphDataSize);

// The download exchange up to the last character's acknowledgement, without
// the refresh: succeeded with no steps, or the outcome of a failure or of the
// operator's No.
ExchangeOutcome TransferRegistration(PrinterLink& link, const CFontPT& record,
                                     const uint8_t* glyphData, size_t glyphDataSize,
                                     PrinterOperator& op, DownloadProgress& progress);

// The download exchange for a record whose information block is built, over
// a freshly opened port; the operator is asked before an existing
// registration is overwritten. On success the printer is listed again.
ExchangeOutcome DownloadRegistration(PrinterLink& link, const CFontPT& record,
                                     const uint8_t* glyphData, size_t glyphDataSize,
                                     PrinterOperator& op, DownloadProgress& progress);
