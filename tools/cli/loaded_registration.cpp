#include "tools/cli/loaded_registration.h"

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "operations/printer_messages.h"
#include "printer/download_exchange.h"
#include "res/resource_ids.h"
#include "tools/cli/console.h"
#include "tools/cli/console_front_end.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/model_option.h"

namespace {

// Keeps the first message that refuses the file instead of printing it: a
// plan names the line before the reason. What does not refuse it (a face
// that is not installed, characters drawn as the face's empty box) is
// printed at once, named by where the file comes from, as Load and Download
// print it for a single file.
class PlannedFileMessages : public Operator, public FormDisplay {
public:
    explicit PlannedFileMessages(const std::wstring& where) : m_where(where) {}
    void ShowMessage(unsigned id, MessageKind, MessageCaption) override { Keep(LoadText(id)); }
    void ShowMessageAbout(unsigned id, const std::string& subject) override {
        console::Err(L"glyphkit-cli: " + m_where + L": " +
                     LoadTextWith(id, {FromCodePage(subject)}) + L"\n");
    }
    bool AskYesNo(unsigned) override { return false; }
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override {
        Keep(LoadText(id) + L" " + FileProblem(FromCodePage(path), systemError));
    }
    void GlyphsMissing(const std::string& face, const std::vector<uint16_t>& codes) override {
        PrintMissingGlyphs(face, codes, m_where);
    }
    std::wstring text;

private:
    void Keep(const std::wstring& message) {
        if (text.empty())
            text = message;
    }
    std::wstring m_where;
};

} // namespace

FormFields FieldsAfterLoad(const SettingsRecord& doc, const LoadResult& load) {
    // The loaded text holds all the file's characters, the range's among
    // them, so the mode is on only where Load cleared the text.
    FormFields fields;
    fields.regName = doc.GetRegName();
    if (doc.GetRangeStart() >= 0)
        fields.codeStart = uint32_t(doc.GetRangeStart());
    if (doc.GetRangeEnd() >= 0)
        fields.codeEnd = uint32_t(doc.GetRangeEnd());
    fields.rangeOn = load.textAction == TextAfterLoad::Clear;
    if (load.textAction == TextAfterLoad::Fill)
        fields.text = load.fileText;
    fields.selectedFace = doc.GetFaceName();
    return fields;
}

bool BuildRegistrationFromFile(const std::wstring& path, int id, const PrinterModel* model,
                               const std::wstring& where, PlannedRegistration* out,
                               std::wstring* problem) {
    // The form's operations take paths in the ANSI code page; a name that
    // does not survive the way there would lead to another file or none.
    const std::string ansiPath = ToCodePage(path);
    if (FromCodePage(ansiPath) != path) {
        *problem = L"the file name " + path + L" cannot be written in the system's code page";
        return false;
    }
    SettingsRecord doc;
    PlannedFileMessages kept(where);
    CFormOperations operations(doc, InstalledFonts(), kept, kept);
    const LoadResult load = operations.LoadFontDataFile(ansiPath);
    if (!load.loaded) {
        *problem = kept.text;
        return false;
    }
    FormEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = ChooseModel(model, doc.GetFontHeader()).resolution;

    // Built in memory: the threads that send it read the glyph data there.
    FormRegistration built =
        operations.Build(FieldsAfterLoad(doc, load), environment, RegistrationAction::Download,
                         RegistrationIdField{id});
    if (!built.built) {
        *problem = kept.text.empty() ? LoadText(IDS_CREATE_FILE_FAILED) : kept.text;
        return false;
    }
    out->record = std::move(built.download);
    out->glyphs = std::move(built.rendered.glyphData);
    if (!GlyphDataFits(out->record, out->glyphs.size())) {
        *problem =
            LoadText(PrinterMessageFor({PrinterTask::Download, PrinterResult::DataMismatch})->id);
        return false;
    }
    return true;
}
