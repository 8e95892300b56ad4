// The registration builder under Wine with the IPA fonts: code list, header
// bytes at their offsets, the download file, the download record and the
// font data file bytes. Expected metrics come from plain measurements of the
// font at the height the resolution gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fontdata/byte_order.h"
#include "fontdata/registration_builder.h"
#include "form/font_family_list.h"
#include "form/glyphkit_doc.h"
#include "printer/font_pt.h"
#include "res/resource_ids.h"

namespace {

const char kGothic[] = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e"; // IPAゴシック

struct RecordingSink : MessageSink {
    std::vector<UserMessage> messages;
    void Report(const UserMessage& message) override { messages.push_back(message); }
};

TEXTMETRICA Metrics(int height, bool italic = false, bool bold = false) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = bold ? 700 : 400;
    lf.lfItalic = italic;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(lf.lfFaceName, kGothic);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return tm;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class RegistrationBuilderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        s_fonts = new CFontFamilyList(s_screen);
    }
    static void TearDownTestSuite() {
        delete s_fonts;
        DeleteDC(s_screen);
    }

    void SetUp() override {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        path = std::string(dir) + "raster_builder_test.bin";
        DeleteFileA(path.c_str());
        doc.SetRegName("FONT1");
        doc.SetPointSize(10);
    }
    void TearDown() override { DeleteFileA(path.c_str()); }

    BuildEnvironment Env(int resolution = 203) {
        BuildEnvironment env;
        env.reference = s_screen;
        env.resolution = resolution;
        env.fonts = s_fonts;
        env.sink = &sink;
        env.caption = L"QC150グリフキット";
        return env;
    }

    RegistrationSource Source(std::u16string text, bool rangeOn = false, int start = 32,
                              int end = 255) {
        RegistrationSource source;
        source.text = std::move(text);
        source.rangeOn = rangeOn;
        source.codeStart = start;
        source.codeEnd = end;
        source.faceName = kGothic;
        doc.SetCodeStart(uint16_t(start));
        doc.SetCodeEnd(uint16_t(end));
        return source;
    }

    static HDC s_screen;
    static CFontFamilyList* s_fonts;
    CGlyphkitDoc doc;
    RecordingSink sink;
    std::string path;
};

HDC RegistrationBuilderTest::s_screen = nullptr;
CFontFamilyList* RegistrationBuilderTest::s_fonts = nullptr;

// n distinct units that code page 932 expresses, from the CJK block up.
std::u16string DistinctKanji(size_t n) {
    std::u16string text;
    for (char16_t c = 0x4E00; text.size() < n && c < 0xA000; ++c) {
        const wchar_t unit = c;
        char bytes[2];
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(932, 0, &unit, 1, bytes, 2, nullptr, &usedDefault) > 0 &&
            !usedDefault)
            text += c;
    }
    return text;
}

} // namespace

TEST_F(RegistrationBuilderTest, DownloadHeaderRecordsAndFileAt203Dpi) {
    LOGFONTA family{};
    ASSERT_TRUE(s_fonts->Lookup(kGothic, &family));
    EXPECT_EQ(SHIFTJIS_CHARSET, family.lfCharSet);
    CRegistrationBuilder builder(Env(203));
    // Text B, A, hiragana a, B, with the range A-C: four distinct codes.
    ASSERT_TRUE(builder.Build(doc, Source(u"BA\u3042B", true, 0x41, 0x43)));
    EXPECT_EQ(932u, builder.CodePage());
    ASSERT_EQ(4u, builder.CharCount());
    EXPECT_EQ(4, doc.m_wCharCount);
    EXPECT_STREQ(kGothic, doc.m_logFont.lfFaceName);

    const TEXTMETRICA tm = Metrics(-28); // 10 pt at 203 dpi
    const uint8_t* h = builder.Header().bytes.data();
    const int W = ReadLE16(h + 52);
    const int H = ReadLE16(h + 54);
    EXPECT_EQ(tm.tmMaxCharWidth, W);
    EXPECT_EQ(tm.tmHeight, H);
    const uint32_t bpg = uint32_t((W + 7) / 8 * H);
    EXPECT_EQ(bpg, ReadLE32(h + 56));
    EXPECT_EQ(4u * (bpg + 10), ReadLE32(h + 68));
    const uint8_t formatAndFace[] = {0x03, 0x00, 0x27, 0x38, 'I', 'P', 'A', 0x83, 0x53};
    EXPECT_EQ(0, std::memcmp(formatAndFace, h + 100, sizeof formatAndFace));
    EXPECT_EQ(0xCB, h[140]); // 203
    EXPECT_EQ(0x00, h[141]);
    const uint8_t sizeText[] = {'1', '0', 0, 0};
    EXPECT_EQ(0, std::memcmp(sizeText, h + 48, 4));
    EXPECT_EQ(0x41, h[84]);
    EXPECT_EQ(0x43, h[86]);
    EXPECT_EQ(0, h[0]); // no ID in the build's own header
    EXPECT_EQ(0, h[1]);

    CFontPT record;
    ASSERT_TRUE(builder.WriteDownloadFile(path, "7", &record));
    EXPECT_TRUE(sink.messages.empty());
    const uint8_t* rh = record.m_fontHeader.bytes.data();
    EXPECT_EQ('0', rh[0]);
    EXPECT_EQ('7', rh[1]);
    EXPECT_EQ(0, rh[2]);
    EXPECT_EQ(0, std::memcmp(h + 3, rh + 3, FontHeader::kSize - 3));
    EXPECT_EQ(4u, record.m_dwCharCount);
    EXPECT_EQ(bpg, record.m_dwBytesPerGlyph);

    // Wire records, ascending: A, B, C with their own width and height, then
    // hiragana a with the cell's.
    const std::vector<GlyphRecord> native = builder.Records();
    const uint8_t* a = record.WireRecord(0);
    const uint8_t wireA[10] = {
        0x41, 0x00, 0x00, 0x00,      uint8_t(native[0].width >> 8), uint8_t(native[0].width),
        0x00, 0x00, 0x00, uint8_t(H)};
    EXPECT_EQ(0, std::memcmp(wireA, a, 10));
    EXPECT_EQ(0x42, record.WireRecord(1)[0]);
    EXPECT_EQ(0x43, record.WireRecord(2)[0]);
    const uint8_t wireKana[10] = {
        0x42,      0x30, 0x00, 0x00, uint8_t(W >> 8), uint8_t(W), 0x00, 0x00, uint8_t(H >> 8),
        uint8_t(H)};
    EXPECT_EQ(0, std::memcmp(wireKana, record.WireRecord(3), 10));
    EXPECT_NE(W, native[3].width); // the native record keeps the character's own

    // The download file is the glyph data and nothing else.
    const std::vector<uint8_t> file = FileBytes(path);
    EXPECT_EQ(size_t(4 * bpg), file.size());
    EXPECT_EQ(builder.GlyphData(), file);

    record.BuildInfoBlock();
    const uint8_t* b = record.m_infoBlock.data();
    const uint8_t counts[] = {0, 0, 0, 4};
    EXPECT_EQ(0, std::memcmp(counts, b + 60, 4));
    EXPECT_EQ(4 * bpg, ReadBE32(b + 68));
    EXPECT_EQ(0, std::memcmp(sizeText, b + 48, 4));
}

TEST_F(RegistrationBuilderTest, ResolutionFixesTheRealisedHeight) {
    CRegistrationBuilder at305(Env(305));
    ASSERT_TRUE(at305.Build(doc, Source(u"A")));
    const uint8_t* h = at305.Header().bytes.data();
    EXPECT_EQ(Metrics(-42).tmHeight, ReadLE16(h + 54)); // 10 pt at 305 dpi
    EXPECT_EQ(Metrics(-42).tmMaxCharWidth, ReadLE16(h + 52));
    EXPECT_EQ(0x31, h[140]); // 305 = 0x0131
    EXPECT_EQ(0x01, h[141]);

    CRegistrationBuilder at203(Env(203));
    ASSERT_TRUE(at203.Build(doc, Source(u"A")));
    EXPECT_EQ(Metrics(-28).tmHeight, ReadLE16(at203.Header().bytes.data() + 54));
    EXPECT_NE(ReadLE16(h + 54), ReadLE16(at203.Header().bytes.data() + 54));
}

TEST_F(RegistrationBuilderTest, BoldAndItalicReachHeaderAndCell) {
    doc.SetBold(1);
    doc.SetItalic(1);
    CRegistrationBuilder builder(Env());
    ASSERT_TRUE(builder.Build(doc, Source(u"A")));
    const uint8_t* h = builder.Header().bytes.data();
    EXPECT_EQ(0xBC, h[78]); // 700
    EXPECT_EQ(0x02, h[79]);
    EXPECT_EQ(1, h[77]);
    const TEXTMETRICA tm = Metrics(-28, true, true);
    EXPECT_EQ(tm.tmMaxCharWidth + int(tm.tmHeight * 0.24933), ReadLE16(h + 52));
}

TEST_F(RegistrationBuilderTest, RegistrationIdIsCheckedAfterTheFileExists) {
    CRegistrationBuilder builder(Env());
    ASSERT_TRUE(builder.Build(doc, Source(u"AB")));
    CFontPT record;
    for (const char* id : {"", "100", "-1"}) {
        sink.messages.clear();
        EXPECT_FALSE(builder.WriteDownloadFile(path, id, &record)) << id;
        ASSERT_EQ(1u, sink.messages.size()) << id;
        EXPECT_EQ(unsigned(IDS_BAD_REGISTRATION_ID), sink.messages[0].id);
        EXPECT_TRUE(Exists(path));
        EXPECT_TRUE(FileBytes(path).empty());
        EXPECT_EQ(0u, record.m_dwCharCount); // the record keeps its previous state
    }
    ASSERT_TRUE(builder.WriteDownloadFile(path, "99", &record));
    EXPECT_EQ('9', record.m_fontHeader.bytes[0]);
    EXPECT_EQ('9', record.m_fontHeader.bytes[1]);
    EXPECT_EQ(2u, record.m_dwCharCount);
}

TEST_F(RegistrationBuilderTest, UnwritablePathGivesMessage133) {
    CRegistrationBuilder builder(Env());
    ASSERT_TRUE(builder.Build(doc, Source(u"A")));
    CFontPT record;
    EXPECT_FALSE(builder.WriteDownloadFile(path + "\\no\\such\\folder\\x.bin", "1", &record));
    ASSERT_EQ(1u, sink.messages.size());
    EXPECT_EQ(unsigned(IDS_CREATE_FILE_FAILED), sink.messages[0].id);
}

TEST_F(RegistrationBuilderTest, LineBreaksOnlyGiveNoCharactersAndAnEmptyFile) {
    CRegistrationBuilder builder(Env());
    ASSERT_TRUE(builder.Build(doc, Source(u"\r\n\r\n\t")));
    EXPECT_EQ(0u, builder.CharCount());
    EXPECT_EQ(0u, ReadLE32(builder.Header().bytes.data() + 60));
    CFontPT record;
    ASSERT_TRUE(builder.WriteDownloadFile(path, "3", &record));
    EXPECT_TRUE(Exists(path));
    EXPECT_TRUE(FileBytes(path).empty());
    EXPECT_EQ(0u, record.m_dwCharCount);
    EXPECT_TRUE(record.m_wireRecords.empty());
    EXPECT_EQ(152u, builder.FontDataFileBytes(32, 255).size());
}

TEST_F(RegistrationBuilderTest, FiveThousandCodesBuildAndOneMoreIsRefused) {
    const std::u16string kanji = DistinctKanji(5001);
    ASSERT_EQ(5001u, kanji.size());
    {
        CRegistrationBuilder builder(Env());
        ASSERT_TRUE(builder.Build(doc, Source(kanji.substr(0, 5000))));
        EXPECT_EQ(5000u, builder.CharCount());
        const uint32_t bpg = ReadLE32(builder.Header().bytes.data() + 56);
        EXPECT_EQ(size_t(5000) * bpg, builder.GlyphData().size());
        EXPECT_TRUE(sink.messages.empty());
    }
    CRegistrationBuilder builder(Env());
    EXPECT_FALSE(builder.Build(doc, Source(kanji)));
    ASSERT_EQ(1u, sink.messages.size());
    EXPECT_EQ(unsigned(IDS_TEXT_TOO_LARGE), sink.messages[0].id);
    EXPECT_EQ(0u, builder.CharCount());
}

TEST_F(RegistrationBuilderTest, SavedBytesFollowTheFileLayout) {
    CRegistrationBuilder builder(Env());
    ASSERT_TRUE(builder.Build(doc, Source(u"\u6F22", true, 0x41, 0x41)));
    const std::vector<uint8_t> kfd = builder.FontDataFileBytes(0x41, 0x41);
    const uint32_t bpg = ReadLE32(builder.Header().bytes.data() + 56);
    ASSERT_EQ(152u + 2 * (10 + bpg), kfd.size());
    const uint8_t start[] = {0x41, 0, 0, 0, 0x41, 0, 0, 0, 0x01, 0x00};
    EXPECT_EQ(0, std::memcmp(start, kfd.data(), sizeof start));
    EXPECT_EQ(0, kfd[10]); // no registration ID in the file
    const uint8_t format[] = {0x03, 0x00, 0x27, 0x38};
    EXPECT_EQ(0, std::memcmp(format, kfd.data() + 110, 4));
    EXPECT_EQ(0x41, kfd[152]); // records ascending: A, then kan (U+6F22)
    EXPECT_EQ(0x22, kfd[162]);
    EXPECT_EQ(0x6F, kfd[163]);
}

TEST_F(RegistrationBuilderTest, LoadedFaceOfThirtyTwoBytesBuildsWithoutOverrun) {
    CRegistrationBuilder builder(Env());
    RegistrationSource source = Source(u"A");
    source.faceName = std::string(32, 'G'); // not installed, no terminator room
    ASSERT_TRUE(builder.Build(doc, source));
    EXPECT_EQ(1u, builder.CharCount());
    EXPECT_EQ(std::string(32, 'G'), doc.GetFaceName());
}

TEST_F(RegistrationBuilderTest, DownloadOfALoadedDocumentSendsTheCharactersOfTheFile) {
    // A Japanese face: the loaded text holds every character of the file; the
    // range it was saved with adds nothing that is not already there.
    doc.SetFaceName(kGothic);
    doc.SetRangeStart(0x41);
    doc.SetRangeEnd(0x42);
    CFontPT record;
    ASSERT_TRUE(BuildDownloadFromDocument(doc, u"\u3042A", Env(), path, "12", &record));
    ASSERT_EQ(2u, record.m_dwCharCount);
    EXPECT_EQ(0x41, record.WireRecord(0)[0]);
    EXPECT_EQ(0x42, record.WireRecord(1)[0]);
    EXPECT_EQ(0x30, record.WireRecord(1)[1]);
    EXPECT_EQ('1', record.m_fontHeader.bytes[0]);
    EXPECT_EQ(size_t(2) * record.m_dwBytesPerGlyph, FileBytes(path).size());

    // A Western face: Load clears the text, so the characters come from the range.
    DeleteFileA(path.c_str());
    doc.SetFaceName("DejaVu Sans");
    doc.SetRangeStart(0x41);
    doc.SetRangeEnd(0x43);
    ASSERT_TRUE(BuildDownloadFromDocument(doc, u"\u3042Z", Env(), path, "12", &record));
    ASSERT_EQ(3u, record.m_dwCharCount);
    EXPECT_EQ(0x41, record.WireRecord(0)[0]);
    EXPECT_EQ(0x43, record.WireRecord(2)[0]);
    EXPECT_EQ(0x00, record.WireRecord(2)[1]);

    // A range outside the Download bounds stops before anything is written.
    DeleteFileA(path.c_str());
    doc.SetRangeEnd(300);
    EXPECT_FALSE(BuildDownloadFromDocument(doc, u"A", Env(), path, "12", &record));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(unsigned(IDS_BAD_BYTE_RANGE), sink.messages.back().id);
    EXPECT_FALSE(Exists(path));
}
