#include "operations/text_file_input.h"

#include <algorithm>
#include <initializer_list>

namespace {

// UTF-16 units of bytes [at, end), in either byte order, up to a zero unit.
std::u16string Utf16Units(const std::vector<uint8_t>& bytes, size_t at, bool bigEndian, bool* cut) {
    std::u16string text;
    text.reserve((bytes.size() - at) / 2 + 1);
    for (size_t i = at; i < bytes.size(); i += 2) {
        const uint16_t first = bytes[i];
        const uint16_t second = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        const char16_t unit =
            bigEndian ? char16_t(first << 8 | second) : char16_t(first | second << 8);
        if (unit == 0) {
            *cut = i + 2 < bytes.size();
            break;
        }
        text.push_back(unit);
    }
    return text;
}

void Append(std::u16string* text, uint32_t c) {
    if (c < 0x10000) {
        text->push_back(char16_t(c));
        return;
    }
    c -= 0x10000;
    text->push_back(char16_t(0xD800 + (c >> 10)));
    text->push_back(char16_t(0xDC00 + (c & 0x3FF)));
}

// The length of the UTF-8 sequence that lead begins; 0 for a byte that
// begins none.
int SequenceLength(uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2)
        return 0;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return lead < 0xF5 ? 4 : 0;
}

// The length of the well-formed UTF-8 sequence at i, its character in *c;
// 0 when none begins there (overlong, a surrogate, cut short).
size_t DecodeSequence(const std::vector<uint8_t>& bytes, size_t i, uint32_t* c) {
    const int length = SequenceLength(bytes[i]);
    if (length == 0 || i + size_t(length) > bytes.size())
        return 0;
    *c = length == 1 ? bytes[i] : bytes[i] & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((bytes[i + size_t(k)] & 0xC0) != 0x80)
            return 0;
        *c = *c << 6 | (bytes[i + size_t(k)] & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool good = *c >= smallest[length] && *c <= 0x10FFFF && (*c < 0xD800 || *c > 0xDFFF);
    return good ? size_t(length) : 0;
}

// UTF-8 from at, up to a zero byte. A byte that starts no well-formed
// sequence stands as U+FFFD, as the system's own conversion shows it.
std::u16string Utf8Units(const std::vector<uint8_t>& bytes, size_t at, bool* cut) {
    std::u16string text;
    size_t i = at;
    while (i < bytes.size()) {
        if (bytes[i] == 0) {
            *cut = i + 1 < bytes.size();
            break;
        }
        uint32_t c = 0;
        const size_t length = DecodeSequence(bytes, i, &c);
        Append(&text, length ? c : 0xFFFD);
        i += length ? length : 1;
    }
    return text;
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

} // namespace

std::u16string DecodeUtf16Text(const std::vector<uint8_t>& bytes) {
    bool cut = false;
    return Utf16Units(bytes, 0, false, &cut);
}

std::string AnsiTextBytes(const std::vector<uint8_t>& bytes) {
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

bool ReadsAsUtf8(const std::vector<uint8_t>& bytes) {
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size() && bytes[i] != 0;) {
        uint32_t c = 0;
        const size_t length = DecodeSequence(bytes, i, &c);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

size_t CharacterCount(const std::u16string& text) {
    return size_t(std::count_if(text.begin(), text.end(),
                                [](char16_t unit) { return unit < 0xDC00 || unit > 0xDFFF; }));
}

TextFileText DecodeTextFile(const std::vector<uint8_t>& bytes, bool unicode) {
    TextFileText read;
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
        read.text = Utf8Units(bytes, 3, &read.cutAtZero);
    else if (StartsWith(bytes, {0xFF, 0xFE}))
        read.text = Utf16Units(bytes, 2, false, &read.cutAtZero);
    else if (StartsWith(bytes, {0xFE, 0xFF}))
        read.text = Utf16Units(bytes, 2, true, &read.cutAtZero);
    else if (unicode) {
        read.text = Utf16Units(bytes, 0, false, &read.cutAtZero);
        if (bytes.size() % 2 != 0)
            read.doubt = Utf16Doubt::OddLength;
        else if (ReadsAsUtf8(bytes))
            read.doubt = Utf16Doubt::ReadsAsUtf8;
    } else if (ReadsAsUtf8(bytes))
        read.text = Utf8Units(bytes, 0, &read.cutAtZero);
    else {
        read.codePage = true;
        read.codePageBytes = AnsiTextBytes(bytes);
        read.cutAtZero = read.codePageBytes.size() + 1 < bytes.size();
    }
    return read;
}
