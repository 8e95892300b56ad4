#pragma once
// The operations of the main form, written once for the window and the
// console tool: Save, Load, Download, Get info, Clear and All clear. Each
// takes what the form holds when it starts, talks to the operator through the
// operator seam, and leaves what the form shows besides messages (wait
// cursor, registered data list, progress) to a FormDisplay.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/operator.h"
#include "operations/download_file.h"
#include "operations/form_checks.h"
#include "operations/installed_families.h"
#include "operations/outcome_play.h"
#include "operations/registration_build.h"
#include "operations/settings_record.h"
#include "printer/font_pt.h"
#include "printer/printer_address.h"
#include "printer/printer_link.h"
#include "printer/provision_plan.h"
#include "printer/registered_data.h"

struct CheckedBuild;
class PrinterStop;

// What the form shows besides message boxes. Every step does nothing unless
// the front end has something to show.
class FormDisplay {
public:
    virtual ~FormDisplay() = default;
    // A check refused the field's text: the focus goes back to it.
    virtual void FieldRefused(FormField /*field*/) {}
    // Width in pixels of a list line in the registered data list's font.
    virtual int LineWidth(const std::string& /*line*/) { return 0; }
    // The registered data list, its horizontal extent (pixels) and the memory
    // usage line changed.
    virtual void ShowRegisteredData(const RegisteredData& /*data*/, int /*extent*/) {}
    // Character index (0-based) of count was acknowledged.
    virtual void CharacterSent(uint32_t /*count*/, uint32_t /*index*/) {}
    // A build rendered codes that face has no glyph for (ascending); each
    // became the face's empty box. The build goes on either way.
    virtual void GlyphsMissing(const std::string& /*face*/,
                               const std::vector<uint16_t>& /*codes*/) {}
};

// The registration text and its three controls (text, text-file button,
// Unicode check box) after Load.
enum class TextAfterLoad {
    Unchanged, // the file was refused
    Fill,      // enable the controls and put the file's characters in the text
    Clear      // disable the controls and delete the text
};

struct LoadResult {
    bool loaded = false;        // the file's header is in the settings
    bool faceInstalled = false; // the file's face is one of the installed fonts
    TextAfterLoad textAction = TextAfterLoad::Unchanged;
    std::u16string fileText; // the file's characters in file order
};

// Save's file dialog: given the initial name, the chosen path, or nothing
// when the operator cancels. The window's paths are wide, so that any name
// and any length reach the file.
using SavePathChooser = std::function<std::optional<std::string>(const std::string& initialName)>;
using WideSavePathChooser =
    std::function<std::optional<std::wstring>(const std::string& initialName)>;

class CFormOperations {
public:
    CFormOperations(SettingsRecord& doc, const InstalledFamilies& fonts, Operator& op,
                    FormDisplay& display);

    // Save checks, the path, the build and the font data file. True when the
    // file was written; saved, if given, then holds the file's header.
    bool SaveFontDataFile(const FormFields& fields, const FormEnvironment& environment,
                          const SavePathChooser& choosePath, FontHeader* saved = nullptr);
    bool SaveFontDataFileAt(const FormFields& fields, const FormEnvironment& environment,
                            const WideSavePathChooser& choosePath, FontHeader* saved = nullptr);
    // Reads a font data file into the settings; the front end then applies
    // the result to the registration text and refreshes its controls.
    LoadResult LoadFontDataFile(const std::string& path);
    LoadResult LoadFontDataFile(const std::wstring& path);
    // The window's Download before the transfer: the temporary file, the
    // build into it with the registration ID check, and the download record.
    // Nothing after its message when it is refused. The window sends what it
    // gives from a thread of its own.
    std::unique_ptr<PreparedDownload> PrepareDownload(const FormFields& fields,
                                                      const RegistrationIdField& idField,
                                                      const FormEnvironment& environment);
    // The build of a download into the file at path (only the glyph data);
    // record then holds the download record.
    bool CreateDownloadFile(const std::string& path, const FormFields& fields,
                            const RegistrationIdField& idField, const FormEnvironment& environment,
                            CFontPT* record);

    // The build of Save and Download, in memory: what it built goes into the
    // settings (the face as soon as the checks passed), the characters the
    // face has no glyph for are shown, then why it was refused, if it was.
    FormRegistration Build(const FormFields& fields, const FormEnvironment& environment,
                           RegistrationAction checks,
                           const std::optional<RegistrationIdField>& idField = std::nullopt);
    // The registration check's build: Download's checks, glyphs rendered
    // when first asked for, no registration ID, no file, no port; the
    // characters the face lacks are listed in checked, not shown. True when
    // built.
    bool BuildForCheck(const FormFields& fields, const FormEnvironment& environment,
                       CheckedBuild* checked) const;

    // The download's registration as Download builds it, with its checks and
    // messages, kept in memory instead of a download file: nothing when the
    // build was refused (told).
    std::optional<PlannedRegistration> BuildDownload(const FormFields& fields,
                                                     const RegistrationIdField& idField,
                                                     const FormEnvironment& environment);

    // A printer command of the form as an exchange that asks op its
    // questions, for a front end that runs it where it chooses (the window:
    // on a thread of its own, with a way out).
    using PrinterCommand = std::function<ExchangeOutcome(PrinterLink&, PrinterOperator&)>;
    static PrinterCommand QueryCommand();
    // The entry of the selected list line; none selected: IDS_DELETE_SELECT
    // and nothing.
    std::optional<PrinterCommand> DeleteCommand(std::optional<size_t> selectedLine) const;
    static PrinterCommand DeleteCommand(int id);
    static PrinterCommand ClearAllCommand();
    // Runs command on printer, telling and asking op, its listing played to
    // handler; stop, when given, lets another thread end it. True when the
    // printer did it; outcome, when given, receives what it came to.
    static bool RunCommand(const PrinterAddress& printer, const PrinterCommand& command,
                           Operator& op, OutcomeHandler& handler, PrinterStop* stop = nullptr,
                           ExchangeOutcome* outcome = nullptr);

    // The registered data management, run here: true when the printer was
    // listed, or holds nothing of what was to be deleted (also when it held
    // nothing to delete).
    bool QueryRegisteredData(const PrinterAddress& printer);
    bool DeleteRegisteredEntry(int id, const PrinterAddress& printer);
    bool ClearAllRegisteredData(const PrinterAddress& printer);

    // A listing the printer gave: the registered data and what the form
    // shows of it.
    void TakeListing(const ListingUpdate& update, ExtentChange extent);

    const RegisteredData& Registered() const { return m_panel.data; }
    // Drops the listing: nothing is known of the printer now chosen.
    void ForgetRegistered();

private:
    class Panel;

    // What a build refused shows: its message and the field to go back to.
    void ShowRefusal(const FormRegistration& registration) const;
    void ShowMissingGlyphs(const FormRegistration& registration) const;
    // Build, but for the refusal, which the caller shows.
    FormRegistration BuildKept(const FormFields& fields, const FormEnvironment& environment,
                               RegistrationAction checks,
                               const std::optional<RegistrationIdField>& idField);
    // Save and Load, whichever way their paths are written; a file failure is
    // told by tellFailure with the system's error.
    // Save's checks, its file dialog (a narrow or a wide path) and the save.
    template <class Path>
    bool SaveAtChosenPath(const FormFields& fields, const FormEnvironment& environment,
                          const std::function<std::optional<Path>(const std::string&)>& choosePath,
                          FontHeader* saved);
    bool SaveChosen(const FormFields& fields, const FormEnvironment& environment,
                    const std::function<bool(const std::vector<uint8_t>&, uint32_t*)>& write,
                    const std::function<void(uint32_t)>& tellFailure, FontHeader* saved);
    LoadResult LoadBytes(const std::vector<uint8_t>& bytes, const std::string& fileName);
    bool RunOnPrinter(const PrinterAddress& printer, const PrinterCommand& command,
                      ExchangeOutcome* outcome = nullptr);
    bool RunDeletion(const PrinterAddress& printer, const PrinterCommand& command);

    SettingsRecord& m_doc;
    const InstalledFamilies& m_fonts;
    Operator& m_operator;
    FormDisplay& m_display;
    ListedPanel m_panel; // the registered data list
};
