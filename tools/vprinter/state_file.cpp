#include "tools/vprinter/state_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "fontdata/byte_order.h"

namespace vprinter {

namespace {

const char kMagic[] = "glyphkit-vprinter-state 1";

std::string ToHex(const uint8_t* p, size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * n);
    for (size_t i = 0; i < n; ++i) {
        text += digits[p[i] >> 4];
        text += digits[p[i] & 15];
    }
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool FromHex(const std::string& text, std::vector<uint8_t>& bytes) {
    if (text.size() % 2)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes.push_back(uint8_t(hi * 16 + lo));
    }
    return true;
}

} // namespace

std::string FormatState(const RegistrationMemory& memory) {
    std::string text = std::string(kMagic) + "\n";
    for (const auto& e : memory.Entries()) {
        text += "font " + ToHex(e.info.data(), e.info.size()) + "\n";
        const uint32_t b = e.BytesPerGlyph();
        for (size_t i = 0; i < e.records.size(); ++i)
            text += "char " + ToHex(e.records[i].data(), kWireRecordSize) + " " +
                    ToHex(e.Glyph(i), b) + "\n";
        text += "end\n";
    }
    return text;
}

bool ParseState(const std::string& text, RegistrationMemory& memory, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (error)
            *error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    if (!std::getline(in, line) || line != kMagic) {
        number = 1;
        return fail("not a virtual printer state file");
    }
    ++number;
    RegistrationMemory loaded;
    StoredFont font;
    bool inFont = false;
    std::vector<uint8_t> bytes;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#')
            continue;
        if (word == "font") {
            std::string hex;
            words >> hex;
            if (inFont)
                return fail("font inside a font");
            if (!FromHex(hex, bytes) || bytes.size() != kInfoBlockSize)
                return fail("the information block must be 100 bytes of hex");
            font = StoredFont{};
            std::copy(bytes.begin(), bytes.end(), font.info.begin());
            if (font.Id() < 0)
                return fail("the block does not begin with two ID digits");
            inFont = true;
        } else if (word == "char") {
            std::string record, glyph;
            words >> record >> glyph;
            if (!inFont)
                return fail("char outside a font");
            if (!FromHex(record, bytes) || bytes.size() != kWireRecordSize)
                return fail("the record must be 10 bytes of hex");
            std::array<uint8_t, kWireRecordSize> r;
            std::copy(bytes.begin(), bytes.end(), r.begin());
            if (!FromHex(glyph, bytes) || bytes.size() != font.BytesPerGlyph())
                return fail("the glyph must be as long as the block's bytes per glyph");
            if (font.records.size() >= kMaxCharacters)
                return fail("more than 5000 characters");
            font.records.push_back(r);
            font.glyphs.insert(font.glyphs.end(), bytes.begin(), bytes.end());
        } else if (word == "end") {
            if (!inFont)
                return fail("end outside a font");
            if (font.CharacterCount() != ReadBE32(font.info.data() + 60))
                return fail("the block's character count differs from the chars given");
            loaded.Store(std::move(font));
            inFont = false;
        } else if (word == "logo") {
            int id = -1, vertical = 0, horizontal = 0;
            std::string name;
            if (!(words >> id >> vertical >> horizontal) || id < 0 || id > kMaxId ||
                vertical <= 0 || vertical > 0xFFFF || horizontal <= 0 || horizontal > 0xFFFF)
                return fail("logo wants an ID 0-99 and two sizes in dots");
            std::getline(words >> std::ws, name);
            loaded.Store(MakeLogo(id, name, uint16_t(vertical), uint16_t(horizontal)));
        } else {
            return fail("unknown keyword " + word);
        }
    }
    if (inFont)
        return fail("font without end");
    if (loaded.Used() > kMemoryCapacity)
        return fail("more than the 240 KB memory holds");
    memory = std::move(loaded);
    return true;
}

bool LoadState(const std::string& path, RegistrationMemory& memory, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!ParseState(text.str(), memory, error)) {
        if (error)
            *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool SaveState(const std::string& path, const RegistrationMemory& memory, std::string* error) {
    // Written beside the target and renamed over it, so a reader never sees
    // half a file.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << FormatState(memory);
        if (!out.flush()) {
            if (error)
                *error = "cannot write " + temporary;
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        if (error)
            *error = "cannot replace " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace vprinter
