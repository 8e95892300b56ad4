// glyphkit-cli download: loads a font data file as Load does, rebuilds it and
// sends it as the Download button does, with a progress bar on standard error.
#include <optional>
#include <string>

#include "app/printer_model.h"
#include "fontdata/registration_builder.h"
#include "fontdata/win_file_io.h"
#include "form/glyphkit_doc.h"
#include "printer/download_file.h"
#include "printer/font_pt.h"
#include "res/resource_ids.h"
#include "tools/cli/build_environment.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/console_messages.h"
#include "tools/cli/printer_console.h"

namespace {

class ConsoleProgress : public DownloadObserver {
public:
    explicit ConsoleProgress(std::optional<bool> overwrite) : m_overwrite(overwrite) {}

    bool ConfirmOverwrite(unsigned questionId) override {
        return AskOperator(questionId, m_overwrite);
    }
    void TransferStarting() override { m_bStarted = true; }
    void CharacterSent(uint32_t count, uint32_t index) override {
        constexpr uint32_t kWidth = 40;
        const uint32_t filled = uint32_t(uint64_t(index + 1) * kWidth / count);
        console::Err(L"\r[" + std::wstring(filled, L'#') + std::wstring(kWidth - filled, L'.') +
                     L"] " + std::to_wstring(index + 1) + L"/" + std::to_wstring(count));
        m_bBarShown = true;
    }
    // Ends the bar's line before anything else is printed.
    void Finish() {
        if (m_bBarShown)
            console::Err(L"\n");
        m_bBarShown = false;
    }

private:
    std::optional<bool> m_overwrite;
    bool m_bStarted = false;
    bool m_bBarShown = false;
};

// Ends the progress line before the outcome's first output.
class DownloadOutcome : public ConsoleOutcome {
public:
    explicit DownloadOutcome(ConsoleProgress& progress) : m_progress(progress) {}
    void ApplyListing(const ListingUpdate& update) override {
        m_progress.Finish();
        ConsoleOutcome::ApplyListing(update);
    }
    void ShowMessage(unsigned id, BoxKind box) override {
        m_progress.Finish();
        ConsoleOutcome::ShowMessage(id, box);
    }

private:
    ConsoleProgress& m_progress;
};

// The model to render for: --model NAME, else the one whose resolution the
// file's header states (203 dpi when it states neither 203 nor 305).
const PrinterModel* ChooseModel(const CliArgs& args, const FontHeader& header) {
    if (const std::optional<std::wstring> name = args.Value(L"model"))
        return FindPrinterModel(console::ToAnsi(*name).c_str());
    const int resolution = header.Word(FontHeader::kResolution);
    for (const PrinterModel& model : kPrinterModels)
        if (model.resolution == resolution)
            return &model;
    return &kPrinterModels[0];
}

} // namespace

int RunDownload(const CliArgs& args) {
    if (args.positional().size() != 1 ||
        !args.UnknownOption({L"id", L"port", L"overwrite", L"model"}).empty())
        return UsageError(
            L"usage: download FILE.kfd --id N [--port N] [--overwrite yes|no] [--model NAME]");
    const std::optional<std::wstring> id = args.Value(L"id");
    if (!id)
        return UsageError(L"download needs --id N");
    const PrinterOptions options = ReadPrinterOptions(args, L"overwrite");
    if (!options.error.empty())
        return UsageError(options.error);

    CGlyphkitDoc doc;
    const FontDataLoad load = ReadFontDataFileAt(console::ToAnsi(args.positional()[0]), doc);
    if (load.messageId != 0)
        return Failure(load.messageId);
    const PrinterModel* model = ChooseModel(args, doc.m_fontHeader);
    if (!model)
        return UsageError(L"--model takes QC150, QW300 or QW400");

    // The temporary file goes away at the end, whatever happened.
    TempDownloadFile temp;
    if (!temp.Create())
        return Failure(IDS_CREATE_FILE_FAILED);

    ConsoleMessages messages;
    CFontPT record;
    // The registration ID is checked as the form checks its text (message 135).
    if (!BuildDownloadFromDocument(doc, load.text, ConsoleBuildEnvironment(*model, messages),
                                   temp.Path(), console::ToAnsi(*id), &record))
        return 1;
    record.BuildInfoBlock();

    CRS232C rs232c;
    ConsoleProgress progress(options.answer);
    DownloadOutcome handler(progress);
    ExchangeOutcome outcome;
    const SendResult sent = SendDownloadFile(temp.Path(), record, options.port, rs232c, messages,
                                             progress, handler, &outcome);
    progress.Finish();
    return ExitStatus(sent == SendResult::Exchanged, outcome);
}
