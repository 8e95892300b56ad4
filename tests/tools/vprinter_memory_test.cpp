// The virtual printer's state file and its drawing of a stored entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/tools/vprinter_test_util.h"
#include "tools/image/glyph_sheet.h"
#include "tools/vprinter/glyph_sheet.h"
#include "tools/vprinter/state_file.h"
#include "tools/vprinter/wire_log.h"

using namespace vprinter;
using namespace vprinter_test;

namespace {

StoredFont TwoGlyphFont() {
    StoredFont f;
    const Bytes block = InfoBlock("12", "Two", 10, 2, 4, 2);
    std::copy(block.begin(), block.end(), f.info.begin());
    f.records.push_back({0x41, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x02});
    f.records.push_back({0x42, 0x30, 0x00, 0x01, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x02});
    // Rows of 10 dots in 2 bytes: 'A' is a frame of its first and last dots,
    // the second glyph a full top row.
    f.glyphs = {0x80, 0x40, 0x80, 0x40, 0xFF, 0xC0, 0x00, 0x00};
    return f;
}

TEST(VprinterState, RoundTripKeepsEveryByte) {
    RegistrationMemory memory;
    memory.Store(TwoGlyphFont());
    memory.Store(MakeLogo(4, "Logo name", 8, 12));
    const std::string text = FormatState(memory);
    RegistrationMemory loaded;
    std::string error;
    ASSERT_TRUE(ParseState(text, loaded, &error)) << error;
    ASSERT_EQ(loaded.Entries().size(), 2u);
    EXPECT_EQ(loaded.Entries()[0].Id(), 4);
    EXPECT_TRUE(loaded.Entries()[0].IsLogo());
    EXPECT_EQ(loaded.Entries()[1].info, memory.Find(12)->info);
    EXPECT_EQ(loaded.Entries()[1].records, memory.Find(12)->records);
    EXPECT_EQ(loaded.Entries()[1].glyphs, memory.Find(12)->glyphs);
    EXPECT_EQ(FormatState(loaded), text);
}

TEST(VprinterState, LogoLineSeedsALogoOfTheGivenSizes) {
    RegistrationMemory memory;
    std::string error;
    ASSERT_TRUE(ParseState("glyphkit-vprinter-state 1\nlogo 42 96 200 Shop logo\n", memory, &error))
        << error;
    const StoredFont* logo = memory.Find(42);
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->IsLogo());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&logo->info[4])), "Shop logo");
    EXPECT_EQ(logo->Entry(0), (std::array<uint8_t, 6>{0x6B, 0x82, 0x00, 0xC8, 0x00, 0x60}));
}

TEST(VprinterState, MalformedFilesAreRefusedAndLeaveMemoryAlone) {
    const std::string block(200, '0');
    const std::string idBlock = "3037" + block.substr(4); // "07"
    const std::string bad[] = {
        "",
        "glyphkit-vprinter-state 2\n",
        "glyphkit-vprinter-state 1\nfont 00\nend\n",
        "glyphkit-vprinter-state 1\nfont " + block + "\nend\n", // ID not digits
        "glyphkit-vprinter-state 1\nchar 00000000000000000000 \n",
        "glyphkit-vprinter-state 1\nlogo 100 8 8 x\n",
        "glyphkit-vprinter-state 1\nlogo 1 0 8 x\n",
        "glyphkit-vprinter-state 1\nbogus\n",
    };
    for (const std::string& text : bad) {
        RegistrationMemory memory;
        memory.Store(MakeLogo(1, "kept", 8, 8));
        std::string error;
        EXPECT_FALSE(ParseState(text, memory, &error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_NE(memory.Find(1), nullptr);
    }
    // A font whose block announces one character but lists none.
    std::string oneChar = idBlock;
    oneChar[121] = '1'; // byte 60-63 = 00 00 00 01
    RegistrationMemory memory;
    std::string error;
    EXPECT_FALSE(
        ParseState("glyphkit-vprinter-state 1\nfont " + oneChar + "\nend\n", memory, &error));
    // A glyph shorter than the block's bytes per glyph (0 here, so any byte is too many).
    EXPECT_FALSE(ParseState("glyphkit-vprinter-state 1\nfont " + idBlock +
                                "\nchar 41000000000800000008 FF\nend\n",
                            memory, &error));
    // More than the memory holds: 3 logos of 8 x 32767 dots... ~98 KB each.
    EXPECT_FALSE(ParseState("glyphkit-vprinter-state 1\nlogo 1 30000 26\nlogo 2 30000 26\n"
                            "logo 3 30000 26\n",
                            memory, &error));
    EXPECT_NE(error.find("240 KB"), std::string::npos);
}

TEST(VprinterSheet, GlyphsLandInTheirCellsMostSignificantBitLeft) {
    const image::IndexedImage sheet = DrawEntry(TwoGlyphFont(), 16, 1);
    // Two cells of 10 x 2 between one-pixel lines: 1 + 11 + 11 wide, 1 + 3 high.
    ASSERT_EQ(sheet.width, 23u);
    ASSERT_EQ(sheet.height, 4u);
    int ink = 0;
    for (uint8_t d : sheet.pixels)
        ink += d == image::kInk;
    EXPECT_EQ(ink, 2 + 2 + 10);
    EXPECT_EQ(sheet.At(1, 1), image::kInk);  // 'A' row 0, dot 0
    EXPECT_EQ(sheet.At(10, 1), image::kInk); // 'A' row 0, dot 9 (0x40 of the second byte)
    EXPECT_NE(sheet.At(11, 1), image::kInk);
    for (uint32_t x = 12; x < 22; ++x)
        EXPECT_EQ(sheet.At(x, 1), image::kInk) << x;
    EXPECT_NE(sheet.At(12, 2), image::kInk);
}

TEST(VprinterSheet, CellComesFromTheArrivedBytesAndALogosHorizontalSize) {
    // A logo's block gives 8 dots vertical at 52, 12 horizontal at 54: rows of
    // 2 bytes, 16 bytes a glyph.
    const GlyphCell logo = EntryCell(MakeLogo(4, "Logo", 8, 12));
    EXPECT_EQ(logo.width, 12u);
    EXPECT_EQ(logo.height, 8u);
    // A font whose block claims 9 rows but whose glyphs hold 4 bytes (2 rows
    // of 10 dots) is drawn 2 rows high.
    StoredFont font = TwoGlyphFont();
    font.info[55] = 9;
    const GlyphCell cell = EntryCell(font);
    EXPECT_EQ(cell.width, 10u);
    EXPECT_EQ(cell.height, 2u);
    // Nothing to draw: no characters, or fewer glyph bytes than they need.
    StoredFont empty = TwoGlyphFont();
    empty.records.clear();
    EXPECT_TRUE(DrawEntry(empty).pixels.empty());
    StoredFont truncated = TwoGlyphFont();
    truncated.glyphs.resize(7);
    EXPECT_TRUE(DrawEntry(truncated).pixels.empty());
}

TEST(VprinterSheet, PbmHasHeaderAndPackedRows) {
    // One column: 1 + 10 + 1 wide, 1 + 2 + 1 + 2 + 1 high. Ink is black, the
    // cell lines and paper white.
    const image::IndexedImage sheet = DrawEntry(TwoGlyphFont(), 1, 1);
    const std::string path = ::testing::TempDir() + "vprinter_sheet.pbm";
    ASSERT_TRUE(WritePbm(sheet, path));
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), std::string("P4\n12 7\n"
                                         "\x00\x00"  // line
                                         "\x40\x20"  // 'A' row 0: dots at x 1 and 10
                                         "\x40\x20"  // 'A' row 1
                                         "\x00\x00"  // line
                                         "\x7F\xE0"  // second glyph row 0: x 1 to 10
                                         "\x00\x00"  // second glyph row 1
                                         "\x00\x00", // line
                                         22));
    std::remove(path.c_str());
    EXPECT_FALSE(WritePbm(image::IndexedImage(), path));
}

TEST(VprinterLog, TranscriptJoinsEachDirection) {
    const std::string path = ::testing::TempDir() + "vprinter_wire.log";
    std::remove(path.c_str());
    {
        WireLog log;
        ASSERT_TRUE(log.Open(path));
        const uint8_t a[] = {0x01, 0x46}, b[] = {0x47}, c[] = {0x02, 0x41, 0x03};
        log.Received(a, 2);
        log.Note("half a command");
        log.Received(b, 1);
        log.Sent(c, 3);
    }
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    const WireTranscript t = ParseWireLog(content.str());
    EXPECT_EQ(t.received, (Bytes{0x01, 0x46, 0x47}));
    EXPECT_EQ(t.sent, (Bytes{0x02, 0x41, 0x03}));
    EXPECT_EQ(t.notes, std::vector<std::string>{"half a command"});
    std::remove(path.c_str());
}

} // namespace
