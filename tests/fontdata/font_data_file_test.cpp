#include "fontdata/font_data_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "operations/font_data_load.h"
#include "operations/settings_record.h"
#include "res/resource_ids.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(uint8_t* at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes)
        *at++ = b;
}

Bytes Slice(const Bytes& v, size_t offset, size_t count) {
    return Bytes(v.begin() + offset, v.begin() + offset + count);
}

// A header as the builder leaves it for two characters in a 9 x 3 cell
// (2 bytes per row, 6 bytes per glyph), written byte by byte from the layout.
FontHeader TwoCharHeader() {
    FontHeader h;
    uint8_t* b = h.bytes.data();
    Put(b + 4, {'N', 'a', 'm', 'e'});
    Put(b + 36, {'B', 'o', 'l', 'd'});
    Put(b + 48, {'1', '0'});
    Put(b + 52, {9, 0, 3, 0, 6, 0, 0, 0, 2, 0, 0, 0}); // width, height, bytes/glyph, n
    Put(b + 68, {32, 0, 0, 0});                        // 2 x (6 + 10)
    Put(b + 72, {1, 0});                               // vertical
    Put(b + 74, {0x02, 0x30, 0x80, 0x01, 0xBC, 0x02}); // pitch, family, charset, italic, 700
    Put(b + 84, {0x20, 0, 0x7E, 0});                   // code start and end
    Put(b + 100, {0x03, 0x00, 0x27, 0x38});            // format identifier
    Put(b + 104, {'@', 'I', 'P', 'A', 0x96, 0xBE, 0x92, 0xA9}); // @IPA明朝
    Put(b + 136, {10, 0, 1, 0, 203, 0});                        // size, rendered, resolution
    return h;
}

const GlyphRecord kTwoRecords[] = {{0x0041, 0, 5, 3}, {0x3042, 1, 9, 3}};
const uint8_t kTwoGlyphs[12] = {0x80, 0x00, 0x40, 0x00, 0xFF, 0x80,
                                0x01, 0x00, 0x02, 0x00, 0x04, 0x00};

Bytes TwoCharFile() {
    return EncodeFontDataFile(32, 126, TwoCharHeader(), kTwoRecords, 2, kTwoGlyphs, 12);
}

// Everything Load may touch, to check that a refused file changed nothing.
struct DocState {
    std::string face, reg, dataFile;
    int32_t points, rangeStart, rangeEnd, bold, italic, vertical;
    FontHeader header;

    explicit DocState(const SettingsRecord& d)
        : face(d.GetFaceName()), reg(d.GetRegName()), dataFile(d.GetDataFileName()),
          points(d.GetPointSize()), rangeStart(d.GetRangeStart()), rangeEnd(d.GetRangeEnd()),
          bold(d.GetBold()), italic(d.GetItalic()), vertical(d.GetVertical()),
          header(d.GetFontHeader()) {}

    bool operator==(const DocState& o) const {
        return face == o.face && reg == o.reg && dataFile == o.dataFile && points == o.points &&
               rangeStart == o.rangeStart && rangeEnd == o.rangeEnd && bold == o.bold &&
               italic == o.italic && vertical == o.vertical && header.bytes == o.header.bytes;
    }
};

SettingsRecord EditedDoc() {
    SettingsRecord doc;
    doc.SetRegName("Before");
    doc.SetRangeStart(40);
    doc.SetRangeEnd(50);
    doc.SetDataFileName("old.kfd");
    return doc;
}

TEST(FontDataFileEncode, PutsEachPartAtItsOffset) {
    const Bytes file = TwoCharFile();
    ASSERT_EQ(file.size(), 152u + 2 * (10 + 6));
    EXPECT_EQ(Slice(file, 0, 10), (Bytes{0x20, 0, 0, 0, 0x7E, 0, 0, 0, 0x01, 0x00}));
    EXPECT_EQ(Slice(file, 10, 8), (Bytes{0, 0, 0, 0, 'N', 'a', 'm', 'e'}));
    EXPECT_EQ(Slice(file, 10 + 56, 8), (Bytes{6, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 110, 4), (Bytes{0x03, 0x00, 0x27, 0x38}));
    EXPECT_EQ(Slice(file, 150, 2), (Bytes{203, 0}));
    // Native records: code, overhang, width, 0, height, all little-endian.
    EXPECT_EQ(Slice(file, 152, 20), (Bytes{0x41, 0x00, 0, 0, 5, 0, 0, 0, 3, 0, //
                                           0x42, 0x30, 1, 0, 9, 0, 0, 0, 3, 0}));
    EXPECT_EQ(Slice(file, 172, 12), Bytes(kTwoGlyphs, kTwoGlyphs + 12));
}

TEST(FontDataFileEncode, LeavesTheRegistrationIdOut) {
    FontHeader h = TwoCharHeader();
    Put(h.bytes.data(), {'0', '7'});
    const Bytes file = EncodeFontDataFile(32, 126, h, kTwoRecords, 2, kTwoGlyphs, 12);
    ASSERT_EQ(file.size(), 184u);
    EXPECT_EQ(Slice(file, 10, 4), (Bytes{0, 0, 0, 0}));
}

TEST(FontDataFileEncode, RefusesPartsThatDisagree) {
    // Count in the header differs from the records given.
    EXPECT_TRUE(
        EncodeFontDataFile(32, 126, TwoCharHeader(), kTwoRecords, 1, kTwoGlyphs, 6).empty());
    // Glyph data shorter than n x bytes per glyph.
    EXPECT_TRUE(
        EncodeFontDataFile(32, 126, TwoCharHeader(), kTwoRecords, 2, kTwoGlyphs, 11).empty());
}

TEST(FontDataFileEncode, NoCharactersGiveA152ByteFile) {
    FontHeader h = TwoCharHeader();
    Put(h.bytes.data() + 60, {0, 0, 0, 0});
    Put(h.bytes.data() + 68, {0, 0, 0, 0}); // data size
    const Bytes file = EncodeFontDataFile(32, 255, h, nullptr, 0, nullptr, 0);
    EXPECT_EQ(file.size(), 152u);

    SettingsRecord doc;
    const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "empty.kfd", 932, doc);
    EXPECT_EQ(load.messageId, 0u);
    EXPECT_TRUE(load.text.empty());
    EXPECT_EQ(doc.GetCharCount(), 0);
    EXPECT_EQ(doc.GetRangeEnd(), 255);
}

TEST(FontDataFileLoad, SaveThenLoadRestoresTheRegistration) {
    SettingsRecord saved;
    saved.SetVertical(1);
    saved.SetPointSize(72);
    saved.SetBold(1);
    saved.SetItalic(1);
    saved.SetRegName("Label");
    saved.SetFaceName("@IPA\x83\x53\x83\x56\x83\x62\x83\x4e"); // @IPAゴシック
    saved.SetCodeStart(0x21);
    saved.SetCodeEnd(0x23);
    saved.SetCharCount(4);
    FontHeader header = saved.BuildFontHeader();
    Put(header.bytes.data() + 52, {1, 0, 1, 0, 1, 0, 0, 0}); // 1 x 1 cell, 1 byte each
    Put(header.bytes.data() + 68, {44, 0, 0, 0});            // 4 x (1 + 10)
    header.SetFormatIdentifier();
    const GlyphRecord records[] = {
        {0x21, 0, 1, 1}, {0x22, 0, 1, 1}, {0x23, 0, 1, 1}, {0x4E9C, 0, 1, 1}};
    const uint8_t glyphs[4] = {0x80, 0x00, 0x80, 0x00};
    const Bytes file = EncodeFontDataFile(0x21, 0x23, header, records, 4, glyphs, 4);
    ASSERT_EQ(file.size(), 152u + 4 * 11);

    SettingsRecord loaded;
    const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "label.kfd", 932, loaded);
    ASSERT_EQ(load.messageId, 0u);
    EXPECT_EQ(loaded.GetRegName(), "Label");
    EXPECT_EQ(loaded.GetFaceName(), "@IPA\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(loaded.GetPointSize(), 72);
    EXPECT_EQ(loaded.GetBold(), 1);
    EXPECT_EQ(loaded.GetItalic(), 1);
    EXPECT_EQ(loaded.GetVertical(), 1);
    EXPECT_EQ(loaded.GetRangeStart(), 0x21);
    EXPECT_EQ(loaded.GetRangeEnd(), 0x23);
    EXPECT_EQ(loaded.GetCodeStart(), 0x21);
    EXPECT_EQ(loaded.GetCodeEnd(), 0x23);
    EXPECT_EQ(loaded.GetCharCount(), 4);
    EXPECT_EQ(loaded.GetDataFileName(), "label.kfd");
    EXPECT_EQ(load.text, std::u16string(u"!\"#\u4E9C"));
    EXPECT_EQ(loaded.GetFontHeader().bytes, header.bytes);
}

TEST(FontDataFileLoad, KeepsTheRecordsOrderOfTheFile) {
    Bytes file = TwoCharFile();
    // Swap the two records' codes: the text follows the file, not a sort.
    Put(file.data() + 152, {0x42, 0x30});
    Put(file.data() + 162, {0x41, 0x00});
    SettingsRecord doc;
    EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), "x.kfd", 932, doc).text,
              std::u16string(u"\u3042A"));
}

TEST(FontDataFileLoad, RegistrationNameOf32BytesComesBackWhole) {
    const std::string name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    ASSERT_EQ(name.size(), 32u);
    FontHeader h = TwoCharHeader();
    std::memcpy(h.bytes.data() + 4, name.data(), 32); // no terminator; style text follows
    const Bytes file = EncodeFontDataFile(32, 126, h, kTwoRecords, 2, kTwoGlyphs, 12);
    SettingsRecord doc;
    ASSERT_EQ(LoadFontDataInto(file.data(), file.size(), "n.kfd", 932, doc).messageId, 0u);
    EXPECT_EQ(doc.GetRegName(), name);
}

// The names are read within their 32 bytes and end on a whole character of
// the code page they were saved in; whatever else they hold is kept.
TEST(FontDataFileLoad, NamesEndOnAWholeCharacterOfTheirField) {
    const std::string vanished = "\x8F\xC1\x82\xA6\x82\xBD\x8F\x91\x91\xCC"; // 消えた書体
    const std::string face31 = "A" + vanished + vanished + vanished;
    const struct {
        std::string face, name, loadedFace, loadedName;
    } cases[] = {{face31 + "\x8F", "Name", face31, "Name"},
                 {"F\x8F\x40", std::string(31, 'N') + "\x82", "F\x8F\x40", std::string(31, 'N')},
                 {std::string(32, 'G'), "A\tB\x1B", std::string(32, 'G'), "A\tB\x1B"}};
    for (const auto& c : cases) {
        FontHeader h = TwoCharHeader();
        h.SetText(FontHeader::kFaceName, FontHeader::kNameWidth, c.face);
        h.SetText(FontHeader::kRegName, FontHeader::kNameWidth, c.name);
        const Bytes file = EncodeFontDataFile(32, 126, h, kTwoRecords, 2, kTwoGlyphs, 12);
        SettingsRecord doc;
        ASSERT_EQ(LoadFontDataInto(file.data(), file.size(), "n.kfd", 932, doc).messageId, 0u);
        EXPECT_EQ(doc.GetFaceName(), c.loadedFace);
        EXPECT_EQ(doc.GetRegName(), c.loadedName);
    }
}

TEST(FontDataFileLoad, OtherTypeGivesVersionMessageAfterTakingRangeAndName) {
    Bytes file = TwoCharFile();
    Put(file.data() + 8, {0x02, 0x00});
    SettingsRecord doc = EditedDoc();
    DocState expected(doc);
    expected.rangeStart = 32;
    expected.rangeEnd = 126;
    expected.dataFile = "v2.kfd";
    const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "v2.kfd", 932, doc);
    EXPECT_EQ(load.messageId, unsigned(IDS_FILE_VERSION));
    EXPECT_TRUE(load.text.empty());
    EXPECT_TRUE(DocState(doc) == expected);
}

TEST(FontDataFileLoad, ChangedIdentifierGivesUnusableMessageAfterTakingRangeAndName) {
    for (size_t at = 110; at < 114; ++at) {
        Bytes file = TwoCharFile();
        file[at] ^= 0x01;
        SettingsRecord doc = EditedDoc();
        DocState expected(doc);
        expected.rangeStart = 32;
        expected.rangeEnd = 126;
        expected.dataFile = "id.kfd";
        const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "id.kfd", 932, doc);
        EXPECT_EQ(load.messageId, unsigned(IDS_FILE_UNUSABLE)) << "byte " << at;
        EXPECT_TRUE(DocState(doc) == expected) << "byte " << at;
    }
}

TEST(FontDataFileLoad, MoreThan5000CharactersAreRefused) {
    // 5001 records of 10 bytes, no glyph data (0 bytes per glyph): long
    // enough for what it announces, but beyond what a registration holds.
    FontHeader h = TwoCharHeader();
    Put(h.bytes.data() + 52, {0, 0, 0, 0, 0, 0, 0, 0, 0x89, 0x13, 0, 0}); // n = 5001
    Bytes file(152 + 5001 * 10, 0);
    Put(file.data(), {0x20, 0, 0, 0, 0xFF, 0, 0, 0, 1, 0});
    std::memcpy(file.data() + 10, h.bytes.data(), 142);
    SettingsRecord doc = EditedDoc();
    const DocState before(doc);
    EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), "big.kfd", 932, doc).messageId,
              unsigned(IDS_READ_FILE_FAILED));
    EXPECT_TRUE(DocState(doc) == before);

    // 5000 pass.
    Put(file.data() + 10 + 60, {0x88, 0x13});
    Put(file.data() + 10 + 68, {0x50, 0xC3}); // data size 5000 x 10
    file.resize(152 + 5000 * 10);
    const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "max.kfd", 932, doc);
    EXPECT_EQ(load.messageId, 0u);
    EXPECT_EQ(load.text.size(), 5000u);
    EXPECT_EQ(doc.GetCharCount(), 5000);
}

TEST(FontDataFileLoad, HugeGlyphSizeIsRefusedWithoutOverflow) {
    Bytes file = TwoCharFile();
    // bytes per glyph 0xFFFFFFFF: n x size would wrap in 32 bits.
    Put(file.data() + 10 + 56, {0xFF, 0xFF, 0xFF, 0xFF});
    SettingsRecord doc;
    EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), "h.kfd", 932, doc).messageId,
              unsigned(IDS_READ_FILE_FAILED));
    // Count 0x80000000 (with its low 16 bits zero) is refused as too many.
    file = TwoCharFile();
    Put(file.data() + 10 + 60, {0, 0, 0, 0x80});
    EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), "h.kfd", 932, doc).messageId,
              unsigned(IDS_READ_FILE_FAILED));
}

// One field of the two-character file changed: a header the tool could not
// have written is refused as damaged and changes nothing; the values it does
// write at the ends of each range still load.
TEST(FontDataFileLoad, HeaderFieldsOutsideWhatTheToolWritesAreRefused) {
    const unsigned kRefused = IDS_READ_FILE_FAILED;
    const struct {
        const char* what;
        std::vector<std::pair<size_t, Bytes>> changes; // header offset, bytes
        unsigned expected;
    } kCases[] = {
        {"size 0", {{136, {0, 0}}}, kRefused},
        {"size 73", {{136, {73, 0}}}, kRefused},
        {"size 65535", {{136, {0xFF, 0xFF}}}, kRefused},
        {"size 1", {{136, {1, 0}}}, 0},
        {"size 72", {{136, {72, 0}}}, 0},
        {"italic 0xFF", {{77, {0xFF}}}, kRefused},
        {"italic 0", {{77, {0}}}, 0},
        {"weight 500", {{78, {0xF4, 0x01}}}, kRefused},
        {"weight 400", {{78, {0x90, 0x01}}}, 0},
        {"vertical 2", {{72, {2, 0}}}, kRefused},
        {"vertical 256", {{72, {0, 1}}}, kRefused},
        {"vertical 0", {{72, {0, 0}}}, 0},
        {"width 17 needs 3 bytes a row", {{52, {17, 0}}}, kRefused},
        {"width 16 still 2 bytes a row", {{52, {16, 0}}}, 0},
        {"height 4", {{54, {4, 0}}}, kRefused},
        {"glyph size 4 with its data size", {{56, {4}}, {68, {28}}}, kRefused},
        {"data size n x glyph size", {{68, {12}}}, kRefused},
        {"3 characters, records for 2", {{60, {3}}, {68, {48}}}, kRefused},
        {"no face", {{104, {0}}}, kRefused},
        {"a face of a lone lead byte", {{104, {0x8F, 0}}}, kRefused},
    };
    for (const auto& c : kCases) {
        Bytes file = TwoCharFile();
        for (const auto& change : c.changes)
            std::copy(change.second.begin(), change.second.end(), file.begin() + 10 + change.first);
        SettingsRecord doc = EditedDoc();
        const DocState before(doc);
        EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), "m.kfd", 932, doc).messageId,
                  c.expected)
            << c.what;
        EXPECT_EQ(DocState(doc) == before, c.expected != 0) << c.what;
    }
}

TEST(FontDataFileGlyphs, PointsAtEachBitmapInTheFile) {
    const Bytes file = TwoCharFile();
    const FontDataFile parsed = ParseFontDataFile(file.data(), file.size());
    ASSERT_EQ(parsed.problem, FontDataProblem::None);
    const FontDataGlyphs glyphs = ReadFontDataGlyphs(parsed, file.data(), file.size());
    ASSERT_TRUE(glyphs.ok);
    EXPECT_EQ(glyphs.cellWidth, 9);
    EXPECT_EQ(glyphs.cellHeight, 3);
    ASSERT_EQ(glyphs.glyphs.size(), 2u);
    EXPECT_EQ(glyphs.glyphs[0].code, 0x41);
    EXPECT_EQ(glyphs.glyphs[0].bits, file.data() + 172);
    EXPECT_EQ(glyphs.glyphs[1].code, 0x3042);
    EXPECT_EQ(glyphs.glyphs[1].bits, file.data() + 178);
}

TEST(FontDataFileGlyphs, RefusesACellThatDoesNotMatchTheGlyphSize) {
    Bytes file = TwoCharFile();
    FontDataFile parsed = ParseFontDataFile(file.data(), file.size());
    ASSERT_EQ(parsed.problem, FontDataProblem::None);
    parsed.header.SetWord(FontHeader::kCellWidth, 17); // 17 dots need 3 bytes a row, not 2
    EXPECT_FALSE(ReadFontDataGlyphs(parsed, file.data(), file.size()).ok);

    Put(file.data() + 8, {2, 0});
    const FontDataFile refused = ParseFontDataFile(file.data(), file.size());
    EXPECT_FALSE(ReadFontDataGlyphs(refused, file.data(), file.size()).ok);
}

} // namespace

namespace {

// A committed corpus file. abc.kfd is one the console tool built: IPAゴシック,
// 10 points, 203 dpi, name "X", text "ABC", default range 32-255.
Bytes RealFile(const std::string& name = "abc.kfd") {
    std::FILE* f = std::fopen((KFD_CORPUS_DIR "/" + name).c_str(), "rb");
    Bytes bytes;
    if (!f)
        return bytes;
    uint8_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

TEST(FontDataFileReal, HoldsTheLayoutAndLoads) {
    const Bytes file = RealFile();
    ASSERT_EQ(file.size(), 152u + 3 * (10 + 180)); // 41 x 30 cell: 6 bytes x 30 rows
    EXPECT_EQ(Slice(file, 0, 10), (Bytes{32, 0, 0, 0, 255, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Slice(file, 10, 6), (Bytes{0, 0, 0, 0, 'X', 0}));
    EXPECT_EQ(Slice(file, 58, 4), (Bytes{'1', '0', 0, 0}));
    EXPECT_EQ(Slice(file, 62, 12), (Bytes{41, 0, 30, 0, 180, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 110, 4), (Bytes{0x03, 0x00, 0x27, 0x38}));
    EXPECT_EQ(Slice(file, 146, 6), (Bytes{10, 0, 1, 0, 203, 0}));
    EXPECT_EQ(Slice(file, 152, 2), (Bytes{0x41, 0}));
    EXPECT_EQ(Slice(file, 162, 2), (Bytes{0x42, 0}));
    EXPECT_EQ(Slice(file, 172, 2), (Bytes{0x43, 0}));

    SettingsRecord doc;
    const FontDataLoad load = LoadFontDataInto(file.data(), file.size(), "abc.kfd", 932, doc);
    ASSERT_EQ(load.messageId, 0u);
    EXPECT_EQ(load.text, std::u16string(u"ABC"));
    EXPECT_EQ(doc.GetRegName(), "X");
    EXPECT_EQ(doc.GetFaceName(), "IPA\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(doc.GetPointSize(), 10);
    EXPECT_EQ(doc.GetCharCount(), 3);
}

TEST(FontDataFileReal, EveryTruncationIsRefusedAndChangesNothing) {
    const Bytes file = RealFile();
    ASSERT_FALSE(file.empty());
    for (size_t length = 0; length < file.size(); ++length) {
        const Bytes cut(file.begin(), file.begin() + length);
        SettingsRecord doc = EditedDoc();
        const DocState before(doc);
        EXPECT_EQ(LoadFontDataInto(cut.data(), cut.size(), "cut.kfd", 932, doc).messageId,
                  unsigned(IDS_READ_FILE_FAILED))
            << "length " << length;
        ASSERT_TRUE(DocState(doc) == before) << "length " << length;
    }
}

// Files saved by earlier builds of the tool keep loading; the other version
// and the other identifier keep their own messages.
TEST(FontDataFileReal, EverySavedCorpusFileLoads) {
    const std::pair<const char*, unsigned> kFiles[] = {{"abc.kfd", 0},
                                                       {"empty.kfd", 0},
                                                       {"range.kfd", 0},
                                                       {"kana-bold-italic.kfd", 0},
                                                       {"vertical.kfd", 0},
                                                       {"identifier.kfd", IDS_FILE_UNUSABLE},
                                                       {"type2.kfd", IDS_FILE_VERSION}};
    for (const auto& [name, expected] : kFiles) {
        const Bytes file = RealFile(name);
        ASSERT_FALSE(file.empty()) << name;
        SettingsRecord doc;
        EXPECT_EQ(LoadFontDataInto(file.data(), file.size(), name, 932, doc).messageId, expected)
            << name;
    }
}

} // namespace
