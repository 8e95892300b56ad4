#include "tools/cli/loaded_registration.h"

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "tools/cli/console.h"
#include "tools/cli/console_front_end.h"
#include "tools/cli/file_problem.h"
#include "tools/cli/installed_fonts.h"

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

bool BuildRegistrationFromFile(const std::wstring& path, int id, const PrinterModel* model,
                               const std::wstring& where, PlannedRegistration* out,
                               std::wstring* problem) {
    PlannedFileMessages kept(where);
    switch (BuildRegistrationFromFile(path, id, model, DisplayContext(), InstalledFonts(), kept,
                                      kept, out)) {
    case RegistrationFileResult::Built:
        return true;
    case RegistrationFileResult::Refused:
        break;
    }
    *problem = kept.text;
    return false;
}
