#include "check/registration_check.h"

#include <algorithm>

#include "printer/text_formats.h"

SheetGlyphs CheckedSheet(const CheckedBuild& build) {
    SheetGlyphs sheet;
    sheet.cellWidth = build.header.Word(FontHeader::kCellWidth);
    sheet.cellHeight = build.header.Word(FontHeader::kCellHeight);
    sheet.bytesPerGlyph = build.header.DWord(FontHeader::kBytesPerGlyph);
    sheet.count = build.glyphs ? build.codes.size() : 0;
    sheet.codes = build.codes.data();
    sheet.bits = build.glyphs.get();
    return sheet;
}

RegistrationFigures FiguresOf(const FontHeader& header) {
    RegistrationFigures figures;
    figures.count = header.DWord(FontHeader::kCharCount);
    figures.bytesPerGlyph = header.DWord(FontHeader::kBytesPerGlyph);
    figures.cellWidth = header.Word(FontHeader::kCellWidth);
    figures.cellHeight = header.Word(FontHeader::kCellHeight);
    // In 64 bits, unlike the header's own field.
    figures.memoryBytes = EntryMemoryUse(figures.count, figures.bytesPerGlyph);
    return figures;
}

std::string Millimetres(uint32_t dots, int dotsPerMm) {
    if (dotsPerMm <= 0)
        return "-";
    // Tenths rounded half up, in integers so that no system's rounding of
    // binary fractions shows.
    const uint64_t tenths = (uint64_t(dots) * 20 / uint64_t(dotsPerMm) + 1) / 2;
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%llu", static_cast<unsigned long long>(tenths / 10),
                  static_cast<unsigned long long>(tenths % 10));
    return text;
}

MemoryVerdict JudgeMemory(uint64_t bytes, const RegisteredData& listing, std::optional<int> id) {
    MemoryVerdict verdict;
    verdict.fitsMemory = bytes <= kPrinterMemoryBytes;
    // A failed listing leaves "N/A" or the previous figure; only a listing
    // that stated the memory use tells what is free.
    verdict.listingRead = listing.MemoryAvailable();
    if (!verdict.listingRead)
        return verdict;
    // An ID the printer holds is overwritten, so its entry's bytes come free
    // with the download.
    if (const CFontPT* held = id ? FindRegistered(listing.m_records, *id) : nullptr) {
        verdict.idHeld = true;
        verdict.heldBytes = held->MemoryUse();
        verdict.heldDataBytes = held->m_nDataSize;
    }
    const uint64_t used = std::min(listing.MemoryBytes(), kPrinterMemoryBytes);
    verdict.freeBytes =
        std::min(kPrinterMemoryBytes - used + verdict.heldBytes, kPrinterMemoryBytes);
    verdict.fitsFree = bytes <= verdict.freeBytes;
    return verdict;
}

std::vector<uint32_t> DroppedCharacters(const std::u16string& text,
                                        const std::vector<uint16_t>& codes) {
    const auto registered = [&](char16_t unit) {
        return std::binary_search(codes.begin(), codes.end(), uint16_t(unit));
    };
    std::vector<uint32_t> dropped;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x20)
            continue; // line breaks and tabs are no characters to register
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            // The code list takes each unit on its own; a character is
            // registered only when both of its units are.
            const char16_t low = text[i + 1];
            ++i;
            if (!registered(unit) || !registered(low))
                dropped.push_back(0x10000 + ((uint32_t(unit) - 0xD800) << 10) +
                                  (uint32_t(low) - 0xDC00));
        } else if (!registered(unit)) {
            dropped.push_back(unit);
        }
    }
    std::sort(dropped.begin(), dropped.end());
    dropped.erase(std::unique(dropped.begin(), dropped.end()), dropped.end());
    return dropped;
}

std::u16string CharacterOf(uint32_t codePoint) {
    std::u16string character;
    if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) {
        character += char16_t(0xD800 + ((codePoint - 0x10000) >> 10));
        character += char16_t(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else if (codePoint >= 0x20 && codePoint <= 0xFFFF &&
               (codePoint < 0xD800 || codePoint > 0xDFFF)) {
        character += char16_t(codePoint);
    }
    return character;
}

std::u16string CharacterLine(uint32_t codePoint) {
    return CharacterOf(codePoint) + u"  " + CodePointText<char16_t>(codePoint);
}
