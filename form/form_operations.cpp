#include "form/form_operations.h"

#include <cstdio>
#include <cstring>

#include "fontdata/code_list.h"
#include "fontdata/font_data_file.h"
#include "fontdata/glyph_rasterizer.h"
#include "fontdata/missing_glyphs.h"
#include "fontdata/win_code_page_conversion.h"
#include "form/font_data_load.h"
#include "framework/code_page_text.h"
#include "framework/scoped_file.h"
#include "framework/wait_cursor.h"
#include "framework/whole_file.h"
#include "res/resource_ids.h"

CFormOperations::CFormOperations(CGlyphkitDoc& doc, const CFontFamilyList& fonts, Operator& op,
                                 FormDisplay& display)
    : m_doc(doc), m_fonts(fonts), m_operator(op), m_display(display) {}

bool CFormOperations::BuildRegistration(const FormFields& fields,
                                        const FormEnvironment& environment,
                                        BuiltRegistration* built) {
    // The face is the one selected in the form. An installed face brings its
    // description; one the list does not hold (a loaded name) keeps the
    // settings' description, which Load gave the file's character set.
    m_doc.SetFaceName(fields.selectedFace);
    LOGFONTA family{};
    if (m_fonts.Lookup(fields.selectedFace.c_str(), &family))
        m_doc.SetLogFont(family);
    LOGFONTA description = m_doc.m_logFont;
    SetLogFontFaceName(&description, fields.selectedFace);
    const uint32_t codePage = CharsetToCodePage(description.lfCharSet);

    unsigned message = 0;
    MessageCaption caption = MessageCaption::Result;
    {
        const CWaitCursor waiting;
        const CWinCodePageConversion conversion;
        RegistrationCodes codes;
        switch (codes.Build(fields.text, fields.rangeOn, int(fields.codeStart.value_or(0)),
                            int(fields.codeEnd.value_or(0)), codePage, conversion)) {
        case RegistrationCodes::Outcome::TooManyUnits:
            message = IDS_TEXT_TOO_LARGE;
            break;
        case RegistrationCodes::Outcome::NoMemory:
            // No room for the code list: the build stops, as any
            // out-of-memory stop, silently.
            return false;
        case RegistrationCodes::Outcome::Built:
            if (codes.list.Count() > kMaxRegistrationCodes)
                message = IDS_TEXT_TOO_LARGE;
            break;
        }
        if (message == 0) {
            m_doc.SetCharCount(codes.list.Count());
            m_doc.BuildFontHeader();
            RegistrationSettings settings;
            settings.reference = environment.reference;
            settings.resolution = environment.resolution;
            settings.pointSize = m_doc.m_nPointSize;
            settings.header = m_doc.m_fontHeader;
            settings.description = description;
            settings.codePage = codePage;
            settings.codes = codes.list.Codes();
            settings.deferGlyphs = environment.deferGlyphs;
            if (::BuildRegistration(settings, built)) {
                m_lastBuiltHeader = built->header;
                const std::vector<uint16_t> missing =
                    FindMissingGlyphs(settings.reference, RegistrationFont(settings),
                                      settings.codes, codes.list.Count());
                if (!missing.empty())
                    m_display.GlyphsMissing(fields.selectedFace, missing);
                return true;
            }
            // A font that cannot be realised is named under the main
            // window's caption; a want of memory stops silently.
            if (built->failure != RenderFailure::FontNotRealised)
                return false;
            message = IDS_FONT_REALIZE_FAILED;
            caption = MessageCaption::MainWindow;
        }
    }
    if (message != 0)
        m_operator.ShowMessage(message, MessageKind::Warning, caption);
    return false;
}

bool CFormOperations::TakeCheckedFields(const FormFields& fields, RegistrationAction action) {
    if (const unsigned message = CheckRegistrationForm(fields, action)) {
        m_operator.ShowMessage(message);
        if (message == IDS_REGISTRATION_NAME_UNFIT)
            m_display.FieldRefused(FormField::RegistrationName);
        return false;
    }
    m_doc.SetRegName(fields.regName);
    m_doc.SetCodeStart(uint16_t(*fields.codeStart));
    m_doc.SetCodeEnd(uint16_t(*fields.codeEnd));
    return true;
}

bool CFormOperations::SaveFontDataFile(const FormFields& fields, const FormEnvironment& environment,
                                       const SavePathChooser& choosePath) {
    if (!TakeCheckedFields(fields, RegistrationAction::Save))
        return false;

    const std::string remembered = m_doc.GetDataFileName();
    const std::optional<std::string> path = choosePath(remembered.empty() ? "*.kfd" : remembered);
    if (!path)
        return false;

    BuiltRegistration built;
    if (!BuildRegistration(fields, environment, &built))
        return false;
    // The range goes into the file as the fields hold it.
    const std::vector<uint8_t> bytes = EncodeFontDataFile(
        int32_t(*fields.codeStart), int32_t(*fields.codeEnd), built.header, built.records.data(),
        built.records.size(), built.glyphData.data(), built.glyphData.size());
    if (bytes.empty()) {
        m_operator.ShowMessage(IDS_CREATE_FILE_FAILED);
        return false;
    }
    uint32_t error = 0;
    if (!SaveFileReplacing(*path, bytes.data(), bytes.size(), &error)) {
        m_operator.ShowFileMessage(IDS_CREATE_FILE_FAILED, *path, error);
        return false;
    }
    return true;
}

LoadResult CFormOperations::LoadFontDataFile(const std::string& path) {
    LoadResult result;
    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    if (ReadWholeFile(path, kfd::kMaxFileSize, &bytes, &error) != FileReadResult::Ok) {
        m_operator.ShowFileMessage(IDS_READ_FILE_FAILED, path, error);
        return result;
    }
    const FontDataLoad load =
        LoadFontDataInto(bytes.data(), bytes.size(), FileNameOf(path), GetACP(), m_doc);
    if (load.messageId != 0) {
        m_operator.ShowMessage(load.messageId);
        return result;
    }
    result.loaded = true;
    result.fileText = load.text;

    // An installed face keeps the registration text when its character set
    // takes one; a name that differs from it only in case is that face, as
    // the system's font mapper takes it, and is spelt as installed. A face
    // that is not installed stays the form's face, with the file's character
    // set, so that what is built from it afterwards holds exactly the file's
    // characters in the code page they were saved in; the operator learns
    // that another face will draw them.
    LOGFONTA family{};
    result.faceInstalled = m_fonts.LookupAsMapped(m_doc.GetFaceName().c_str(), &family);
    if (result.faceInstalled) {
        m_doc.SetFaceName(family.lfFaceName);
    } else {
        family = DescribeLoadedFace(m_doc);
        m_operator.ShowMessageAbout(IDS_FACE_NOT_INSTALLED, m_doc.GetFaceName());
    }
    m_doc.SetLogFont(family);
    result.textAction =
        TakesRegistrationText(family.lfCharSet) ? TextAfterLoad::Fill : TextAfterLoad::Clear;
    return result;
}

bool CFormOperations::CreateDownloadFile(const std::string& path, const FormFields& fields,
                                         const std::string& registrationId,
                                         const FormEnvironment& environment) {
    if (!TakeCheckedFields(fields, RegistrationAction::Download))
        return false;

    BuiltRegistration built;
    if (!BuildRegistration(fields, environment, &built))
        return false;

    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        m_operator.ShowFileMessage(IDS_CREATE_FILE_FAILED, path, GetLastError());
        return false;
    }
    // The ID is read only now, with the (empty) file already made; the
    // Download command deletes it either way.
    const std::optional<FontHeader> header = HeaderWithId(built.header, registrationId);
    if (!header)
        return false;

    // One write of the whole glyph data. A short or failed write (a full
    // disk) must not pass for a download file that is complete.
    const std::vector<uint8_t>& data = built.glyphData;
    DWORD written = 0;
    DWORD error = ERROR_SUCCESS;
    if (!data.empty() && !WriteFile(file.Get(), data.data(), DWORD(data.size()), &written, nullptr))
        error = GetLastError();
    else if (written != data.size())
        error = ERROR_DISK_FULL;
    if (!file.Close() && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        m_operator.ShowFileMessage(IDS_CREATE_FILE_FAILED, path, error);
        return false;
    }
    // The build holds at most kMaxRegistrationCodes records, which the
    // record always takes.
    return m_downloadRecord.SetDownloadData(*header, built.records, built.bytesPerGlyph);
}

bool CFormOperations::BuildDownload(const FormFields& fields, const std::string& registrationId,
                                    const FormEnvironment& environment,
                                    std::vector<uint8_t>* glyphData) {
    if (!TakeCheckedFields(fields, RegistrationAction::Download))
        return false;
    BuiltRegistration built;
    if (!BuildRegistration(fields, environment, &built))
        return false;
    const std::optional<FontHeader> header = HeaderWithId(built.header, registrationId);
    if (!header)
        return false;
    *glyphData = std::move(built.glyphData);
    return m_downloadRecord.SetDownloadData(*header, built.records, built.bytesPerGlyph);
}

std::optional<FontHeader> CFormOperations::HeaderWithId(const FontHeader& built,
                                                        const std::string& registrationId) {
    const std::optional<int> id = ParseRegistrationId(registrationId);
    if (!id) {
        m_operator.ShowMessage(IDS_BAD_REGISTRATION_ID);
        m_display.FieldRefused(FormField::RegistrationId);
        return std::nullopt;
    }
    FontHeader header = built;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02d", *id);
    std::memcpy(header.bytes.data() + FontHeader::kRegistrationId, digits, sizeof digits);
    return header;
}
