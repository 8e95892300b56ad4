#pragma once
// What the registration check shows of a registration built as Save and
// Download build it: the figures the printer's memory counts, whether it
// fits, and the characters that will not come out as typed.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/check_sheet.h"
#include "fontdata/font_header.h"
#include "fontdata/glyph_source.h"
#include "printer/registered_data.h"

// A registration as the check build leaves it.
struct CheckedBuild {
    FontHeader header;                   // completed as a Save writes it
    std::vector<uint16_t> codes;         // the records' codes, ascending
    std::shared_ptr<GlyphSource> glyphs; // their bitmaps, as a Save writes them
    std::vector<uint16_t> missing;       // codes the face has no glyph for (its empty box)
};

// The sheet of a checked build's glyphs; it refers to build, which must
// outlive it.
SheetGlyphs CheckedSheet(const CheckedBuild& build);

struct RegistrationFigures {
    uint32_t count = 0;
    uint32_t bytesPerGlyph = 0;
    uint16_t cellWidth = 0;  // dots
    uint16_t cellHeight = 0; // dots
    // What the printer's memory takes: count x (bytes per glyph + 10).
    uint64_t memoryBytes = 0;
};

RegistrationFigures FiguresOf(const FontHeader& header);
// dots at the model's dots per millimetre, to a tenth ("3.5").
std::string Millimetres(uint32_t dots, int dotsPerMm);

struct MemoryVerdict {
    bool fitsMemory = false;    // within the 240 KB
    bool listingRead = false;   // a listing of the printer was read in this run
    uint64_t freeBytes = 0;     // free in that listing, the held entry's bytes included
    bool idHeld = false;        // the registration's ID is one the listing holds
    uint64_t heldBytes = 0;     // what that entry takes, its records included
    uint64_t heldDataBytes = 0; // of which its glyph data, the list's figure
    bool fitsFree = false;      // within freeBytes
};

// The verdict for a registration taking bytes, under the ID typed in the
// form (none when it is not a valid one), after the last listing.
MemoryVerdict JudgeMemory(uint64_t bytes, const RegisteredData& listing, std::optional<int> id);

// The characters of text, in ascending order of code point, that the code
// list left out although they are no control codes: the code page of the
// face cannot hold them. A pair of surrogates counts as one character.
std::vector<uint32_t> DroppedCharacters(const std::u16string& text,
                                        const std::vector<uint16_t>& codes);

// The character as UTF-16; empty for a control code or a lone surrogate,
// which cannot be shown.
std::u16string CharacterOf(uint32_t codePoint);
// A line of the check's lists: the character, then its code ("가  U+AC00").
std::u16string CharacterLine(uint32_t codePoint);
