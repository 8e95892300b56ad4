#pragma once
// The 142-byte font header: the description of one download font, written
// into the download data and the font data file. Little-endian throughout.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct FontHeader {
    static constexpr size_t kSize = 142;

    // Field offsets.
    static constexpr size_t kRegistrationId = 0; // two ASCII digits, "%02d"
    static constexpr size_t kIdTerminator = 2;   // 16-bit 0
    static constexpr size_t kRegName = 4;        // 32 bytes
    static constexpr size_t kStyleText = 36;     // 12 bytes
    static constexpr size_t kSizeText = 48;      // 4 bytes, "%d"
    static constexpr size_t kCellWidth = 52;     // 16-bit
    static constexpr size_t kCellHeight = 54;    // 16-bit
    static constexpr size_t kBytesPerGlyph = 56; // 32-bit
    static constexpr size_t kCharCount = 60;     // 32-bit
    static constexpr size_t kReserved64 = 64;    // 32-bit 0
    static constexpr size_t kDataSize = 68;      // 32-bit
    static constexpr size_t kVertical = 72;      // 16-bit
    static constexpr size_t kPitch = 74;         // 8-bit
    static constexpr size_t kFamily = 75;        // 8-bit
    static constexpr size_t kCharSet = 76;       // 8-bit
    static constexpr size_t kItalic = 77;        // 8-bit
    static constexpr size_t kWeight = 78;        // 16-bit
    static constexpr size_t kAverageWidth = 80;  // 16-bit
    static constexpr size_t kAscent = 82;        // 16-bit
    static constexpr size_t kCodeStart = 84;     // 16-bit
    static constexpr size_t kCodeEnd = 86;       // 16-bit
    static constexpr size_t kFormatId = 100;     // 4 bytes 03 00 27 38
    static constexpr size_t kFaceName = 104;     // 32 bytes
    static constexpr size_t kPointSize = 136;    // 16-bit
    static constexpr size_t kRendered = 138;     // 16-bit, 1 once rendered
    static constexpr size_t kResolution = 140;   // 16-bit

    static constexpr size_t kNameWidth = 32;
    static constexpr size_t kStyleWidth = 12;
    static constexpr size_t kSizeTextWidth = 4;
    static constexpr std::array<uint8_t, 4> kFormatIdentifier{0x03, 0x00, 0x27, 0x38};

    std::array<uint8_t, kSize> bytes{};

    uint8_t Byte(size_t offset) const { return bytes[offset]; }
    uint16_t Word(size_t offset) const;
    uint32_t DWord(size_t offset) const;
    void SetByte(size_t offset, uint8_t value) { bytes[offset] = value; }
    void SetWord(size_t offset, uint16_t value);
    void SetDWord(size_t offset, uint32_t value);

    // The bytes of a text field up to its first zero byte, at most width bytes.
    std::string Text(size_t offset, size_t width) const;
    // Writes text zero-filled to width bytes; text of width bytes or more fills
    // the field with no terminator (the excess is cut off).
    void SetText(size_t offset, size_t width, const std::string& text);

    bool HasFormatIdentifier() const;
    void SetFormatIdentifier();
};
