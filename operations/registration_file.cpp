#include "operations/registration_file.h"

#include "operations/printer_messages.h"
#include "printer/download_exchange.h"
#include "res/resource_ids.h"

const PrinterModel& ChooseModel(const PrinterModel* named, const FontHeader& header) {
    if (named)
        return *named;
    const int resolution = header.Word(FontHeader::kResolution);
    for (const PrinterModel& model : kPrinterModels)
        if (model.resolution == resolution)
            return model;
    return kPrinterModels[0];
}

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

RegistrationFileResult BuildRegistrationFromFile(const std::wstring& path, int id,
                                                 const PrinterModel* model, HDC reference,
                                                 const InstalledFamilies& fonts, Operator& op,
                                                 FormDisplay& display, PlannedRegistration* out) {
    SettingsRecord doc;
    CFormOperations operations(doc, fonts, op, display);
    // The wide path reaches exactly the file named, in any script.
    const LoadResult load = operations.LoadFontDataFile(path);
    if (!load.loaded)
        return RegistrationFileResult::Refused;
    FormEnvironment environment;
    environment.reference = reference;
    environment.resolution = ChooseModel(model, doc.GetFontHeader()).resolution;

    // Built in memory: the threads that send it read the glyph data there.
    FormRegistration built =
        operations.Build(FieldsAfterLoad(doc, load), environment, RegistrationAction::Download,
                         RegistrationIdField{id});
    if (!built.built) {
        // Said after the build's own reason, if it gave one.
        op.ShowMessage(IDS_CREATE_FILE_FAILED);
        return RegistrationFileResult::Refused;
    }
    out->record = std::move(built.download);
    out->glyphs = std::move(built.rendered.glyphData);
    if (!GlyphDataFits(out->record, out->glyphs.size())) {
        op.ShowMessage(PrinterMessageFor({PrinterTask::Download, PrinterResult::DataMismatch})->id);
        return RegistrationFileResult::Refused;
    }
    return RegistrationFileResult::Built;
}
