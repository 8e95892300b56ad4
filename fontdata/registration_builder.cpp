#include "fontdata/registration_builder.h"

#include <cstdio>
#include <cstring>

#include "fontdata/code_list.h"
#include "fontdata/code_page.h"
#include "fontdata/font_data_file.h"
#include "fontdata/win_code_page_conversion.h"
#include "form/font_family_list.h"
#include "form/glyphkit_doc.h"
#include "framework/scoped_file.h"
#include "printer/font_pt.h"
#include "res/resource_ids.h"

CRegistrationBuilder::CRegistrationBuilder(BuildEnvironment environment)
    : m_env(std::move(environment)), m_rasterizer(m_env.sink, m_env.caption) {}

void CRegistrationBuilder::Report(unsigned id) {
    if (m_env.sink)
        m_env.sink->Report(UserMessage{id, L""});
}

bool CRegistrationBuilder::Build(CGlyphkitDoc& doc, const RegistrationSource& source) {
    m_rasterizer.Release();
    m_header = FontHeader();

    // The installed-font list knows the face's character set, and with it the
    // code page in which the one-byte range is read and spacing is asked.
    doc.SetFaceName(source.faceName);
    LOGFONTA family{};
    const bool installed =
        m_env.fonts != nullptr && m_env.fonts->Lookup(source.faceName.c_str(), &family);
    if (installed)
        doc.SetLogFont(family);
    LOGFONTA description = doc.m_logFont;
    // A face the list does not hold (a loaded name of up to 32 bytes) keeps the
    // settings' description and only its name, cut to fit the face field.
    if (!installed)
        SetLogFontFaceName(&description, source.faceName);
    m_nCodePage = CharsetToCodePage(description.lfCharSet);

    const CWinCodePageConversion conversion;
    RegistrationCodes registration;
    switch (registration.Build(source.text, source.rangeOn, source.codeStart, source.codeEnd,
                               m_nCodePage, conversion)) {
    case RegistrationCodes::Outcome::TooManyUnits:
        Report(IDS_TEXT_TOO_LARGE);
        return false;
    case RegistrationCodes::Outcome::NoMemory:
        // No room for the code list: the build stops, as any out-of-memory stop, silently.
        return false;
    case RegistrationCodes::Outcome::Built:
        break;
    }
    const CCodeList& codes = registration.list;
    if (codes.Count() > kMaxRegistrationCodes) {
        Report(IDS_TEXT_TOO_LARGE);
        return false;
    }

    doc.SetCharCount(codes.Count());
    doc.BuildFontHeader();
    const FontHeader settingsHeader = doc.m_fontHeader;

    description.lfHeight = FontHeightForPoints(m_env.resolution, doc.m_nPointSize);
    ScopedSaveDC savedReference(m_env.reference);
    if (m_env.reference)
        SetMapMode(m_env.reference, MM_TEXT);
    if (!m_rasterizer.RenderGlyphs(m_env.reference, settingsHeader, codes.Codes(), description,
                                   m_nCodePage)) {
        m_rasterizer.Release();
        return false;
    }
    m_header = m_rasterizer.Header();
    m_header.SetFormatIdentifier();
    m_header.SetWord(FontHeader::kResolution, uint16_t(m_env.resolution));
    return true;
}

bool CRegistrationBuilder::WriteDownloadFile(const std::string& path,
                                             const std::string& registrationId, CFontPT* record) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        Report(IDS_CREATE_FILE_FAILED);
        return false;
    }
    // The ID is read only now, with the (empty) file already made; the
    // Download command deletes it either way.
    const auto id = ParseRegistrationId(registrationId);
    if (!id) {
        Report(IDS_BAD_REGISTRATION_ID);
        return false;
    }
    FontHeader header = m_header;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02d", *id);
    std::memcpy(header.bytes.data() + FontHeader::kRegistrationId, digits, sizeof digits);

    // One write of the whole glyph data. A short or failed write (a full
    // disk) must not pass for a download file that is complete.
    const std::vector<uint8_t>& data = m_rasterizer.GlyphData();
    DWORD written = 0;
    const bool wrote = data.empty() ||
                       (WriteFile(file.Get(), data.data(), DWORD(data.size()), &written, nullptr) &&
                        written == data.size());
    if (!file.Close() || !wrote) {
        Report(IDS_CREATE_FILE_FAILED);
        return false;
    }
    if (!record->SetDownloadData(header, m_rasterizer.GlyphRecords(),
                                 m_rasterizer.BytesPerGlyph())) {
        Report(IDS_TEXT_TOO_LARGE);
        return false;
    }
    return true;
}

std::vector<uint8_t> CRegistrationBuilder::FontDataFileBytes(int32_t rangeStart,
                                                             int32_t rangeEnd) const {
    const std::vector<GlyphRecord> records = m_rasterizer.GlyphRecords();
    const std::vector<uint8_t>& data = m_rasterizer.GlyphData();
    return EncodeFontDataFile(rangeStart, rangeEnd, m_header, records.data(), records.size(),
                              data.data(), data.size());
}

bool BuildDownloadFromDocument(CGlyphkitDoc& doc, const std::u16string& loadedText,
                               const BuildEnvironment& environment, const std::string& path,
                               const std::string& registrationId, CFontPT* record) {
    // After Load the registration text holds the loaded characters only for a
    // Japanese family; for another installed family it is cleared and the
    // characters come from the range alone.
    LOGFONTA family{};
    const bool installed = environment.fonts != nullptr &&
                           environment.fonts->Lookup(doc.GetFaceName().c_str(), &family);
    const bool useLoadedText = !installed || family.lfCharSet == SHIFTJIS_CHARSET;
    RegistrationSource source;
    if (useLoadedText)
        source.text = loadedText;
    source.faceName = doc.GetFaceName();

    // The loaded text already holds every character of the file, the range's
    // among them, so one-byte code mode is on only where the text was cleared:
    // either way the download registers exactly the characters the file holds.
    RegistrationForm form;
    form.regName = doc.GetRegName();
    if (doc.m_nRangeStart >= 0)
        form.codeStart = uint32_t(doc.m_nRangeStart);
    if (doc.m_nRangeEnd >= 0)
        form.codeEnd = uint32_t(doc.m_nRangeEnd);
    form.rangeOn = !useLoadedText;
    form.textLength = source.text.size();
    if (const unsigned message = CheckRegistrationForm(form, RegistrationAction::Download)) {
        if (environment.sink)
            environment.sink->Report(UserMessage{message, L""});
        return false;
    }
    doc.SetCodeStart(uint16_t(doc.m_nRangeStart));
    doc.SetCodeEnd(uint16_t(doc.m_nRangeEnd));
    source.rangeOn = form.rangeOn;
    source.codeStart = doc.m_nRangeStart;
    source.codeEnd = doc.m_nRangeEnd;

    CRegistrationBuilder builder(environment);
    return builder.Build(doc, source) && builder.WriteDownloadFile(path, registrationId, record);
}
