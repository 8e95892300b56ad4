// libFuzzer target: a text file's bytes as the registration text takes them,
// and the code list that text makes. The text is the file's units (or
// code-page bytes) up to the first zero and nothing else; its code list holds
// every unit of it the code page can express, from U+0020 up, once and in
// order.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fontdata/code_list.h"
#include "operations/text_file_input.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A code page that cannot express the surrogates nor a few units picked out
// by their low bits; one byte per unit otherwise.
class StandInConversion : public CodePageConversion {
public:
    static bool Expressible(uint16_t unit) {
        return (unit < 0xD800 || unit > 0xDFFF) && (unit & 0x3F) != 0x3F;
    }
    bool UnitToCodePage(uint16_t unit, uint32_t, uint8_t bytes[2], int* count) const override {
        bytes[0] = uint8_t(unit);
        *count = 1;
        return Expressible(unit);
    }
    uint16_t ByteToUnit(uint8_t b, uint32_t) const override { return b; }
    bool KeepsInexpressibleUnits() const override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Larger files are refused before they are decoded.
    if (size > kMaxTextFileBytes)
        return 0;
    const std::vector<uint8_t> bytes(data, data + size);

    const std::string ansi = AnsiTextBytes(bytes);
    Check(ansi.size() <= size &&
          ansi.compare(0, ansi.size(), reinterpret_cast<const char*>(data), ansi.size()) == 0);
    Check(ansi.size() == size || data[ansi.size()] == 0);

    // Whatever a byte-order mark says, the text holds no zero and is either
    // units or code-page bytes.
    for (const bool unicode : {false, true}) {
        const TextFileText read = DecodeTextFile(bytes, unicode);
        Check(read.text.find(u'\0') == std::u16string::npos);
        Check(read.codePageBytes.find('\0') == std::string::npos);
        Check(!read.codePage || read.text.empty());
    }

    const std::u16string text = DecodeUtf16Text(bytes);
    Check(text.size() <= (size + 1) / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint16_t low = data[2 * i];
        const uint16_t high = 2 * i + 1 < size ? data[2 * i + 1] : 0;
        Check(text[i] != 0 && text[i] == (low | high << 8));
    }
    // It ends at the first zero unit or at the end of the bytes.
    const size_t next = 2 * text.size();
    Check(next >= size || (data[next] == 0 && (next + 1 >= size || data[next + 1] == 0)));

    const StandInConversion conversion;
    RegistrationCodes codes;
    if (codes.Build(text, false, 0, 0, 932, conversion) != RegistrationCodes::Outcome::Built)
        return 0;
    std::set<uint16_t> expected;
    for (const char16_t unit : text)
        if (unit >= 0x20 && StandInConversion::Expressible(unit))
            expected.insert(unit);
    Check(codes.list.Count() == expected.size());
    size_t i = 0;
    for (const uint16_t unit : expected)
        Check(codes.list.Codes()[i++] == unit);
    Check(codes.list.Codes()[i] == 0);
    return 0;
}
