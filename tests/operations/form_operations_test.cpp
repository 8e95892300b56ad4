// The form's Save, Load and download build under Wine with the IPA fonts:
// header bytes at their offsets, the download file, the download record, the
// font data file, and what Load hands back to the form. Expected metrics come
// from plain measurements of the font at the height the resolution gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fontdata/byte_order.h"
#include "operations/form_operations.h"
#include "recording_operator.h"
#include "res/resource_ids.h"
#include "tests/operations/installed_fonts_suite.h"

namespace {

const char kGothic[] = "IPA\x83\x53\x83\x56\x83\x62\x83\x4e"; // IPAゴシック

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

class FormOperationsTest : public WithInstalledFonts<::testing::Test> {
protected:
    void SetUp() override {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        path = std::string(dir) + "form_operations_test.bin";
        kfdPath = std::string(dir) + "form_operations_test.kfd";
        DeleteFileA(path.c_str());
        DeleteFileA(kfdPath.c_str());
        doc.SetPointSize(10);
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        DeleteFileA(kfdPath.c_str());
    }

    static FormFields Fields(std::u16string text, bool rangeOn = false, uint32_t start = 32,
                             uint32_t end = 255, const std::string& face = kGothic) {
        FormFields fields;
        fields.regName = "FONT1";
        fields.codeStart = start;
        fields.codeEnd = end;
        fields.rangeOn = rangeOn;
        fields.text = std::move(text);
        fields.selectedFace = face;
        return fields;
    }
    FormEnvironment Env(int resolution = 203) const { return {s_screen, resolution, {}}; }

    bool Save(const FormFields& fields, FontHeader* saved = nullptr) {
        return form.SaveFontDataFile(
            fields, Env(), [this](const std::string&) { return kfdPath; }, saved);
    }

    SettingsRecord doc;
    RecordingOperator op;
    FormDisplay display;
    CFormOperations form{doc, *s_fonts, op, display};
    std::string path;
    std::string kfdPath;
};

} // namespace

TEST_F(FormOperationsTest, DownloadHeaderRecordsAndFileAt203Dpi) {
    // Text B, A, hiragana a, B, with the range A-C: four distinct codes.
    const FormFields fields = Fields(u"BA\u3042B", true, 0x41, 0x43);
    CFontPT record;
    ASSERT_TRUE(form.CreateDownloadFile(path, fields, {7}, Env(), &record));
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(4, doc.GetCharCount());
    EXPECT_STREQ(kGothic, doc.GetLogFont().lfFaceName);

    const TEXTMETRICA tm = Metrics(-28); // 10 pt at 203 dpi
    const FormRegistration built = BuildFormRegistration(
        doc, *s_fonts, fields, Env(), RegistrationAction::Download, RegistrationIdField{7});
    const uint8_t* h = built.rendered.header.bytes.data();
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

    const uint8_t* rh = record.m_fontHeader.bytes.data();
    EXPECT_EQ('0', rh[0]);
    EXPECT_EQ('7', rh[1]);
    EXPECT_EQ(0, rh[2]);
    // The rest is the build's header, but for the data size: with the
    // information block built, the glyph bytes alone.
    EXPECT_EQ(0, std::memcmp(h + 3, rh + 3, FontHeader::kDataSize - 3));
    EXPECT_EQ(4u * bpg, ReadLE32(rh + FontHeader::kDataSize));
    EXPECT_EQ(0, std::memcmp(h + 72, rh + 72, FontHeader::kSize - 72));
    EXPECT_EQ(4u, record.m_dwCharCount);
    EXPECT_EQ(bpg, record.m_dwBytesPerGlyph);

    // Wire records, ascending: A, B, C with their own width, then hiragana a
    // with the cell's.
    EXPECT_EQ(0x41, record.WireRecord(0)[0]);
    EXPECT_EQ(0x42, record.WireRecord(1)[0]);
    EXPECT_EQ(0x43, record.WireRecord(2)[0]);
    EXPECT_EQ(H, record.WireRecord(0)[9]);
    EXPECT_NE(W, (record.WireRecord(0)[4] << 8) | record.WireRecord(0)[5]);
    const uint8_t wireKana[10] = {
        0x42,      0x30, 0x00, 0x00, uint8_t(W >> 8), uint8_t(W), 0x00, 0x00, uint8_t(H >> 8),
        uint8_t(H)};
    EXPECT_EQ(0, std::memcmp(wireKana, record.WireRecord(3), 10));

    // The download file is the glyph data and nothing else.
    EXPECT_EQ(size_t(4 * bpg), FileBytes(path).size());
}

TEST_F(FormOperationsTest, ResolutionAndStyleReachTheHeader) {
    CFontPT record;
    ASSERT_TRUE(form.CreateDownloadFile(path, Fields(u"A"), {1}, Env(305), &record));
    const uint8_t* h = record.m_fontHeader.bytes.data();
    EXPECT_EQ(Metrics(-42).tmHeight, ReadLE16(h + 54)); // 10 pt at 305 dpi
    EXPECT_EQ(Metrics(-42).tmMaxCharWidth, ReadLE16(h + 52));
    EXPECT_EQ(0x31, h[140]); // 305 = 0x0131
    EXPECT_EQ(0x01, h[141]);

    doc.SetBold(1);
    doc.SetItalic(1);
    ASSERT_TRUE(form.CreateDownloadFile(path, Fields(u"A"), {1}, Env(203), &record));
    h = record.m_fontHeader.bytes.data();
    EXPECT_EQ(0xBC, h[78]); // 700
    EXPECT_EQ(0x02, h[79]);
    EXPECT_EQ(1, h[77]);
    const TEXTMETRICA tm = Metrics(-28, true, true);
    EXPECT_EQ(tm.tmMaxCharWidth + int(tm.tmHeight * 0.24933), ReadLE16(h + 52));
}

TEST_F(FormOperationsTest, RefusalsOfTheDownloadBuild) {
    // The registration ID is read after the (empty) file exists.
    for (const char* id : {"", "100", "-1"}) {
        op.messages.clear();
        CFontPT record;
        EXPECT_FALSE(
            form.CreateDownloadFile(path, Fields(u"AB"), {ParseRegistrationId(id)}, Env(), &record))
            << id;
        EXPECT_EQ(std::vector<unsigned>{IDS_BAD_REGISTRATION_ID}, op.MessageIds()) << id;
        EXPECT_TRUE(Exists(path));
        EXPECT_TRUE(FileBytes(path).empty());
        EXPECT_EQ(0u, record.m_dwCharCount);
    }
    DeleteFileA(path.c_str());
    struct Case {
        const char* what;
        std::string target;
        FormFields fields;
        unsigned message;
    } cases[] = {
        {"unwritable path", path + "\\no\\such\\folder\\x.bin", Fields(u"A"),
         IDS_CREATE_FILE_FAILED},
        {"range past one byte", path, Fields(u"A", true, 0x41, 300), IDS_BAD_BYTE_RANGE},
        {"5001 characters", path, Fields(DistinctKanji(5001)), IDS_TEXT_TOO_LARGE},
    };
    for (const Case& c : cases) {
        op.messages.clear();
        CFontPT record;
        EXPECT_FALSE(form.CreateDownloadFile(c.target, c.fields, {1}, Env(), &record)) << c.what;
        EXPECT_EQ(std::vector<unsigned>{c.message}, op.MessageIds()) << c.what;
        EXPECT_FALSE(Exists(path)) << c.what;
    }
}

TEST_F(FormOperationsTest, LineBreaksOnlyAndFiveThousandCodesBuild) {
    CFontPT record;
    ASSERT_TRUE(form.CreateDownloadFile(path, Fields(u"\r\n\r\n\t"), {3}, Env(), &record));
    EXPECT_TRUE(FileBytes(path).empty());
    EXPECT_EQ(0u, record.m_dwCharCount);
    EXPECT_TRUE(record.m_wireRecords.empty());

    ASSERT_TRUE(form.CreateDownloadFile(path, Fields(DistinctKanji(5000)), {3}, Env(), &record));
    EXPECT_EQ(5000u, record.m_dwCharCount);
    EXPECT_EQ(size_t(5000) * record.m_dwBytesPerGlyph, FileBytes(path).size());
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(FormOperationsTest, SavedBytesFollowTheFileLayout) {
    FontHeader saved;
    ASSERT_TRUE(Save(Fields(u"\u6F22", true, 0x41, 0x41), &saved));
    const std::vector<uint8_t> kfd = FileBytes(kfdPath);
    const uint32_t bpg = ReadLE32(saved.bytes.data() + 56);
    ASSERT_EQ(152u + 2 * (10 + bpg), kfd.size());
    const uint8_t start[] = {0x41, 0, 0, 0, 0x41, 0, 0, 0, 0x01, 0x00};
    EXPECT_EQ(0, std::memcmp(start, kfd.data(), sizeof start));
    EXPECT_EQ(0, kfd[10]); // no registration ID in the file
    const uint8_t format[] = {0x03, 0x00, 0x27, 0x38};
    EXPECT_EQ(0, std::memcmp(format, kfd.data() + 110, 4));
    EXPECT_EQ(0x41, kfd[152]); // records ascending: A, then kan (U+6F22)
    EXPECT_EQ(0x22, kfd[162]);
    EXPECT_EQ(0x6F, kfd[163]);

    // Cancelling the file dialog writes nothing and says nothing.
    DeleteFileA(kfdPath.c_str());
    EXPECT_FALSE(form.SaveFontDataFile(
        Fields(u"A"), Env(), [](const std::string&) { return std::optional<std::string>(); }));
    EXPECT_FALSE(Exists(kfdPath));
    EXPECT_TRUE(op.messages.empty());
}

// What a Save leaves in the settings: nothing when the checks refuse the
// form; the face it builds with once they pass, also when the build is then
// refused (the preview draws that face from then on); with the file written,
// the name and the header too.
TEST_F(FormOperationsTest, SaveKeepsTheFaceOnceTheChecksPassAndTheRestWhenSaved) {
    FormFields unnamed = Fields(u"A");
    unnamed.regName.clear();
    const struct {
        const char* what;
        FormFields fields;
        unsigned message;
        std::string face, regName;
        uint16_t codeStart;
    } cases[] = {
        {"refused by the checks", unnamed, IDS_BAD_REGISTRATION_NAME, "Before", "OLD", 0x50},
        {"5003 codes", Fields(DistinctKanji(5000), true, 0x41, 0x43), IDS_TEXT_TOO_LARGE, kGothic,
         "OLD", 0x50},
        {"saved", Fields(u"AB"), 0, kGothic, "FONT1", 32},
    };
    for (const auto& c : cases) {
        doc.SetFaceName("Before");
        doc.SetRegName("OLD");
        doc.SetCodeStart(0x50);
        op.messages.clear();
        EXPECT_EQ(Save(c.fields), c.message == 0) << c.what;
        EXPECT_EQ(op.MessageIds(),
                  c.message ? std::vector<unsigned>{c.message} : std::vector<unsigned>{})
            << c.what;
        EXPECT_EQ(doc.GetFaceName(), c.face) << c.what;
        EXPECT_EQ(doc.GetRegName(), c.regName) << c.what;
        EXPECT_EQ(doc.GetCodeStart(), c.codeStart) << c.what;
    }
    EXPECT_EQ(doc.GetCharCount(), 2);
}

TEST_F(FormOperationsTest, FaceOfThirtyTwoBytesBuildsWithoutOverrun) {
    const std::string face(32, 'G'); // not installed, no terminator room
    CFontPT record;
    ASSERT_TRUE(
        form.CreateDownloadFile(path, Fields(u"A", false, 32, 255, face), {1}, Env(), &record));
    EXPECT_EQ(1u, record.m_dwCharCount);
    EXPECT_EQ(face, doc.GetFaceName());
}

TEST_F(FormOperationsTest, LoadHandsBackTheTextTheFaceTakes) {
    ASSERT_TRUE(Save(Fields(u"\u6F22A")));
    const std::vector<uint8_t> saved = FileBytes(kfdPath);

    // An installed Japanese face: the file's characters fill the text.
    SettingsRecord loadedDoc;
    CFormOperations loader(loadedDoc, *s_fonts, op, display);
    LoadResult japanese = loader.LoadFontDataFile(kfdPath);
    ASSERT_TRUE(japanese.loaded);
    EXPECT_EQ(TextAfterLoad::Fill, japanese.textAction);
    EXPECT_EQ(u"A\u6F22", japanese.fileText);
    EXPECT_EQ(kGothic, loadedDoc.GetFaceName());

    // A face that is not installed keeps the file's characters and character
    // set, so a download of it sends exactly the saved codes.
    std::vector<uint8_t> renamed = saved;
    std::memcpy(renamed.data() + 10 + FontHeader::kFaceName, "NoSuchFace\0", 11);
    // A name cut inside a character by another tool: the lone lead byte goes.
    std::memcpy(renamed.data() + 10 + FontHeader::kRegName, "AB\x82\0", 4);
    std::ofstream(kfdPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(renamed.data()), std::streamsize(renamed.size()));
    op.messages.clear();
    LoadResult missing = loader.LoadFontDataFile(kfdPath);
    ASSERT_TRUE(missing.loaded);
    EXPECT_FALSE(missing.faceInstalled);
    EXPECT_EQ(std::vector<unsigned>{IDS_FACE_NOT_INSTALLED}, op.MessageIds());
    EXPECT_EQ(std::vector<std::string>{"NoSuchFace"}, op.subjects);
    EXPECT_EQ(TextAfterLoad::Fill, missing.textAction);
    EXPECT_EQ("AB", loadedDoc.GetRegName());
    EXPECT_EQ(SHIFTJIS_CHARSET, loadedDoc.GetLogFont().lfCharSet);
    CFontPT record;
    ASSERT_TRUE(loader.CreateDownloadFile(
        path, Fields(missing.fileText, false, 32, 255, loadedDoc.GetFaceName()), {5}, Env(),
        &record));
    ASSERT_EQ(2u, record.m_dwCharCount);
    EXPECT_EQ(0x22, record.WireRecord(1)[0]);
    EXPECT_EQ(0x6F, record.WireRecord(1)[1]);

    // A missing file changes nothing.
    EXPECT_FALSE(loader.LoadFontDataFile(kfdPath + ".gone").loaded);
    EXPECT_EQ(IDS_READ_FILE_FAILED, op.MessageIds().back());
    EXPECT_EQ("NoSuchFace", loadedDoc.GetFaceName());
}
