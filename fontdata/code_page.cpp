#include "fontdata/code_page.h"

uint32_t CharsetToCodePage(uint8_t charset) {
    switch (charset) {
    case 128:
        return 932; // SHIFTJIS_CHARSET
    case 129:
        return 949; // HANGUL_CHARSET
    case 134:
        return 936; // GB2312_CHARSET
    case 136:
        return 950; // CHINESEBIG5_CHARSET
    default:
        return kWesternCodePage;
    }
}

bool IsLeadByte(uint8_t byte, uint32_t codePage) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

std::string WholeCharacters(const std::string& text, uint32_t codePage) {
    // A text field filled to its last byte by a tool that cut a name inside
    // a character ends in a lead byte alone. The system's conversions take
    // the byte after a lead byte as its trail whatever it is, the terminator
    // too, and read on past the end of the text.
    size_t i = 0;
    while (i < text.size()) {
        if (!IsLeadByte(uint8_t(text[i]), codePage))
            ++i;
        else if (i + 1 < text.size())
            i += 2;
        else
            return text.substr(0, i);
    }
    return text;
}
