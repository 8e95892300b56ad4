// glyphkit-cli download: the Load button, then the Download button of the
// main form, with a progress bar on standard error.
#include <optional>
#include <string>

#include "app/printer_model.h"
#include "tools/cli/commands.h"
#include "tools/cli/console.h"
#include "tools/cli/installed_fonts.h"
#include "tools/cli/printer_options.h"

namespace {

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

// The form's fields as Load leaves them, with the one-byte code mode set so
// that the download registers exactly the characters the file holds: the
// loaded text holds them all, the range's among them, so the mode is on only
// where Load cleared the text.
FormFields FieldsAfterLoad(const CGlyphkitDoc& doc, const LoadResult& load) {
    FormFields fields;
    fields.regName = doc.GetRegName();
    if (doc.m_nRangeStart >= 0)
        fields.codeStart = uint32_t(doc.m_nRangeStart);
    if (doc.m_nRangeEnd >= 0)
        fields.codeEnd = uint32_t(doc.m_nRangeEnd);
    fields.rangeOn = load.textAction == TextAfterLoad::Clear;
    if (load.textAction == TextAfterLoad::Fill)
        fields.text = load.fileText;
    fields.selectedFace = doc.GetFaceName();
    return fields;
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

    FormSession session(options.answer);
    const LoadResult load =
        session.operations.LoadFontDataFile(console::ToAnsi(args.positional()[0]));
    if (!load.loaded)
        return 1;
    const PrinterModel* model = ChooseModel(args, session.doc.m_fontHeader);
    if (!model)
        return UsageError(L"--model takes QC150, QW300 or QW400");

    FormEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = model->resolution;
    environment.comPort = options.port;
    // The registration ID is checked as the form checks its text (message 135).
    return session.operations.DownloadFont(FieldsAfterLoad(session.doc, load), console::ToAnsi(*id),
                                           environment)
               ? 0
               : 1;
}
