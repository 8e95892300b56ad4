#include "fontdata/font_header.h"

#include <algorithm>
#include <cstring>

#include "fontdata/byte_order.h"

uint16_t FontHeader::Word(size_t offset) const {
    return ReadLE16(&bytes.at(offset + 1) - 1);
}

uint32_t FontHeader::DWord(size_t offset) const {
    return ReadLE32(&bytes.at(offset + 3) - 3);
}

void FontHeader::SetWord(size_t offset, uint16_t value) {
    WriteLE16(&bytes.at(offset + 1) - 1, value);
}

void FontHeader::SetDWord(size_t offset, uint32_t value) {
    WriteLE32(&bytes.at(offset + 3) - 3, value);
}

std::string FontHeader::Text(size_t offset, size_t width) const {
    const uint8_t* field = &bytes.at(offset + width - 1) - (width - 1);
    const size_t length = std::find(field, field + width, 0) - field;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void FontHeader::SetText(size_t offset, size_t width, const std::string& text) {
    uint8_t* field = &bytes.at(offset + width - 1) - (width - 1);
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), std::min(width, text.size()));
}

bool FontHeader::HasFormatIdentifier() const {
    return std::equal(kFormatIdentifier.begin(), kFormatIdentifier.end(),
                      bytes.begin() + kFormatId);
}

void FontHeader::SetFormatIdentifier() {
    std::copy(kFormatIdentifier.begin(), kFormatIdentifier.end(), bytes.begin() + kFormatId);
}
