#include "operations/form_operations.h"

#include "check/registration_check.h"
#include "fontdata/font_data_file.h"
#include "framework/code_page_text.h"
#include "framework/scoped_file.h"
#include "framework/whole_file.h"
#include "operations/font_data_load.h"
#include "printer/registered_data.h"
#include "res/resource_ids.h"

CFormOperations::CFormOperations(SettingsRecord& doc, const InstalledFamilies& fonts, Operator& op,
                                 FormDisplay& display)
    : m_doc(doc), m_fonts(fonts), m_operator(op), m_display(display) {}

void CFormOperations::ShowRefusal(const FormRegistration& registration) const {
    if (registration.message == 0)
        return;
    m_operator.ShowMessage(registration.message, MessageKind::Warning, registration.caption);
    if (registration.refusedField)
        m_display.FieldRefused(*registration.refusedField);
}

void CFormOperations::ShowMissingGlyphs(const FormRegistration& registration) const {
    if (!registration.missing.empty())
        m_display.GlyphsMissing(registration.faceName, registration.missing);
}

FormRegistration CFormOperations::BuildKept(const FormFields& fields,
                                            const FormEnvironment& environment,
                                            RegistrationAction checks,
                                            const std::optional<RegistrationIdField>& idField) {
    FormRegistration registration =
        BuildFormRegistration(m_doc, m_fonts, fields, environment, checks, idField);
    // The face goes in as soon as the build has taken it, also when the
    // build stops after that, so that the preview draws the face the form
    // built with; the rest only with a whole build. Both before any message,
    // which lets the form paint.
    if (registration.faceTaken) {
        m_doc.SetFaceName(registration.faceName);
        if (registration.installedFace)
            m_doc.SetLogFont(*registration.installedFace);
    }
    if (registration.built) {
        m_doc.SetRegName(registration.regName);
        m_doc.SetCodeStart(uint16_t(*fields.codeStart));
        m_doc.SetCodeEnd(uint16_t(*fields.codeEnd));
        m_doc.SetCharCount(uint16_t(registration.codes.size()));
        m_doc.SetFontHeader(registration.settingsHeader);
    }
    ShowMissingGlyphs(registration);
    return registration;
}

FormRegistration CFormOperations::Build(const FormFields& fields,
                                        const FormEnvironment& environment,
                                        RegistrationAction checks,
                                        const std::optional<RegistrationIdField>& idField) {
    FormRegistration registration = BuildKept(fields, environment, checks, idField);
    ShowRefusal(registration);
    return registration;
}

namespace {

// A file failure told with the path as it was written.
void TellFileFailure(Operator& op, unsigned id, const std::string& path, uint32_t error) {
    op.ShowFileMessage(id, path, error);
}
void TellFileFailure(Operator& op, unsigned id, const std::wstring& path, uint32_t error) {
    op.ShowWideFileMessage(id, path, error);
}

} // namespace

template <class Path>
bool CFormOperations::SaveAtChosenPath(
    const FormFields& fields, const FormEnvironment& environment,
    const std::function<std::optional<Path>(const std::string&)>& choosePath, FontHeader* saved) {
    // The checks come before the file dialog; the build runs them again.
    const FormRegistration checked = CheckFormFields(fields, RegistrationAction::Save);
    if (checked.message != 0) {
        ShowRefusal(checked);
        return false;
    }
    const std::string remembered = m_doc.GetDataFileName();
    const std::optional<Path> path = choosePath(remembered.empty() ? "*.kfd" : remembered);
    if (!path)
        return false;
    return SaveChosen(
        fields, environment,
        [&](const std::vector<uint8_t>& bytes, uint32_t* error) {
            return SaveFileReplacing(*path, bytes.data(), bytes.size(), error);
        },
        [&](uint32_t error) { TellFileFailure(m_operator, IDS_CREATE_FILE_FAILED, *path, error); },
        saved);
}

bool CFormOperations::SaveFontDataFile(const FormFields& fields, const FormEnvironment& environment,
                                       const SavePathChooser& choosePath, FontHeader* saved) {
    return SaveAtChosenPath<std::string>(fields, environment, choosePath, saved);
}

bool CFormOperations::SaveFontDataFileAt(const FormFields& fields,
                                         const FormEnvironment& environment,
                                         const WideSavePathChooser& choosePath, FontHeader* saved) {
    return SaveAtChosenPath<std::wstring>(fields, environment, choosePath, saved);
}

bool CFormOperations::SaveChosen(
    const FormFields& fields, const FormEnvironment& environment,
    const std::function<bool(const std::vector<uint8_t>&, uint32_t*)>& write,
    const std::function<void(uint32_t)>& tellFailure, FontHeader* saved) {
    const FormRegistration registration = Build(fields, environment, RegistrationAction::Save);
    if (!registration.built)
        return false;
    const BuiltRegistration& built = registration.rendered;
    // The range goes into the file as the fields hold it.
    const std::vector<uint8_t> bytes = EncodeFontDataFile(
        int32_t(*fields.codeStart), int32_t(*fields.codeEnd), built.header, built.records.data(),
        built.records.size(), built.glyphData.data(), built.glyphData.size());
    if (bytes.empty()) {
        m_operator.ShowMessage(IDS_CREATE_FILE_FAILED);
        return false;
    }
    uint32_t error = 0;
    if (!write(bytes, &error)) {
        tellFailure(error);
        return false;
    }
    if (saved)
        *saved = built.header;
    return true;
}

bool CFormOperations::BuildForCheck(const FormFields& fields, const FormEnvironment& environment,
                                    CheckedBuild* checked) const {
    *checked = CheckedBuild();
    // Download's checks, since the check stands for what a download would
    // send; the registration ID is no part of the build and is not checked.
    // Rendering every glyph of a large registration takes seconds; the check
    // shows a few at a time, and renders each when it first comes into view.
    FormEnvironment deferring = environment;
    deferring.deferGlyphs = true;
    const FormRegistration registration = BuildFormRegistration(
        m_doc, m_fonts, fields, deferring, RegistrationAction::Download, std::nullopt);
    ShowRefusal(registration);
    if (!registration.built || !registration.rendered.deferred)
        return false;
    checked->header = registration.rendered.header;
    checked->codes = registration.codes;
    checked->glyphs = registration.rendered.deferred;
    checked->missing = registration.missing;
    return true;
}

LoadResult CFormOperations::LoadFontDataFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    if (ReadWholeFile(path, kfd::kMaxFileSize, &bytes, &error) != FileReadResult::Ok) {
        m_operator.ShowFileMessage(IDS_READ_FILE_FAILED, path, error);
        return LoadResult();
    }
    return LoadBytes(bytes, FileNameOf(path));
}

LoadResult CFormOperations::LoadFontDataFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    if (ReadWholeFile(path, kfd::kMaxFileSize, &bytes, &error) != FileReadResult::Ok) {
        m_operator.ShowWideFileMessage(IDS_READ_FILE_FAILED, path, error);
        return LoadResult();
    }
    // The settings keep the name as the code page writes it, for Save's
    // dialog to start from.
    return LoadBytes(bytes, ToCodePage(path.substr(path.find_last_of(L"\\/:") + 1)));
}

LoadResult CFormOperations::LoadBytes(const std::vector<uint8_t>& bytes,
                                      const std::string& fileName) {
    LoadResult result;
    const FontDataLoad load =
        LoadFontDataInto(bytes.data(), bytes.size(), fileName, GetACP(), m_doc);
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

std::unique_ptr<PreparedDownload>
CFormOperations::PrepareDownload(const FormFields& fields, const RegistrationIdField& idField,
                                 const FormEnvironment& environment) {
    auto prepared = std::make_unique<PreparedDownload>();
    if (!prepared->file.Create()) {
        m_operator.ShowMessage(IDS_CREATE_FILE_FAILED);
        return nullptr;
    }
    if (!CreateDownloadFile(prepared->file.Path(), fields, idField, environment, &prepared->record))
        return nullptr;
    // The build has taken the ID, so it reads.
    const int id = idField.id.value();
    prepared->overwriteLine = OverwriteQuestionLine(m_panel.data.m_records, id);
    // A refused area is told with what the registration needs and, after a
    // listing, what the printer has free for it, as the check counts them.
    const CFontPT& record = prepared->record;
    prepared->area.needed = EntryMemoryUse(record.m_dwCharCount, record.m_dwBytesPerGlyph);
    const MemoryVerdict verdict = JudgeMemory(prepared->area.needed, m_panel.data, id);
    if (verdict.listingRead)
        prepared->area.free = verdict.freeBytes;
    return prepared;
}

bool CFormOperations::CreateDownloadFile(const std::string& path, const FormFields& fields,
                                         const RegistrationIdField& idField,
                                         const FormEnvironment& environment, CFontPT* record) {
    FormRegistration registration =
        BuildKept(fields, environment, RegistrationAction::Download, idField);
    // A refused ID is told only with the (empty) file already made, as the
    // Download always told it; the Download command deletes the file either
    // way.
    const bool idRefused = registration.refusedField == FormField::RegistrationId;
    if (!registration.built && !idRefused) {
        ShowRefusal(registration);
        return false;
    }
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        m_operator.ShowFileMessage(IDS_CREATE_FILE_FAILED, path, GetLastError());
        return false;
    }
    if (!registration.built) {
        ShowRefusal(registration);
        return false;
    }

    // One write of the whole glyph data. A short or failed write (a full
    // disk) must not pass for a download file that is complete.
    const std::vector<uint8_t>& data = registration.rendered.glyphData;
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
    *record = std::move(registration.download);
    return true;
}
