#include "operations/registration_build.h"

#include <cstring>

#include "fontdata/code_list.h"
#include "fontdata/glyph_rasterizer.h"
#include "fontdata/missing_glyphs.h"
#include "fontdata/win_code_page_conversion.h"
#include "framework/wait_cursor.h"
#include "operations/installed_families.h"
#include "operations/settings_record.h"
#include "printer/text_formats.h"
#include "res/resource_ids.h"

namespace {

// The registration as far as it was built, with the reason it stopped.
FormRegistration Refused(FormRegistration&& registration, unsigned message,
                         MessageCaption caption = MessageCaption::Result,
                         std::optional<FormField> field = std::nullopt) {
    registration.message = message;
    registration.caption = caption;
    registration.refusedField = field;
    return std::move(registration);
}

// The built header with the registration ID's two digits, as the printer
// stores it; the file keeps no ID.
FontHeader HeaderWithId(const FontHeader& built, int id) {
    FontHeader header = built;
    // Two digits and a zero byte.
    char digits[3] = {};
    RegistrationIdDigits(id).copy(digits, 2);
    std::memcpy(header.bytes.data() + FontHeader::kRegistrationId, digits, sizeof digits);
    return header;
}

} // namespace

FormRegistration CheckFormFields(const FormFields& fields, RegistrationAction checks) {
    FormRegistration r;
    const unsigned message = CheckRegistrationForm(fields, checks);
    if (message == 0)
        return r;
    return Refused(std::move(r), message, MessageCaption::Result,
                   message == IDS_REGISTRATION_NAME_UNFIT
                       ? std::optional<FormField>(FormField::RegistrationName)
                       : std::nullopt);
}

FormRegistration BuildFormRegistration(const SettingsRecord& settings,
                                       const InstalledFamilies& fonts, const FormFields& fields,
                                       const FormEnvironment& environment,
                                       RegistrationAction checks,
                                       const std::optional<RegistrationIdField>& idField) {
    FormRegistration r = CheckFormFields(fields, checks);
    if (r.message != 0)
        return r;

    // The face is the one selected in the form. An installed face brings its
    // description; one the list does not hold (a loaded name) keeps the
    // settings' description, which Load gave the file's character set.
    r.faceTaken = true;
    r.faceName = fields.selectedFace;
    LOGFONTA family{};
    if (fonts.Lookup(fields.selectedFace.c_str(), &family))
        r.installedFace = family;
    LOGFONTA description = r.installedFace.value_or(settings.GetLogFont());
    SetLogFontFaceName(&description, fields.selectedFace);
    const uint32_t codePage = CharsetToCodePage(description.lfCharSet);
    r.regName = fields.regName;

    {
        const CWaitCursor waiting;
        const CWinCodePageConversion conversion;
        RegistrationCodes codes;
        switch (codes.Build(fields.text, fields.rangeOn, int(*fields.codeStart),
                            int(*fields.codeEnd), codePage, conversion)) {
        case RegistrationCodes::Outcome::TooManyUnits:
            return Refused(std::move(r), IDS_TEXT_TOO_LARGE);
        case RegistrationCodes::Outcome::NoMemory:
            // No room for the code list: the build stops, as any
            // out-of-memory stop, silently.
            return r;
        case RegistrationCodes::Outcome::Built:
            if (codes.list.Count() > kMaxRegistrationCodes)
                return Refused(std::move(r), IDS_TEXT_TOO_LARGE);
            break;
        }
        const uint16_t count = codes.list.Count();
        r.codes.assign(codes.list.Codes(), codes.list.Codes() + count);
        // The header comes from the settings as Save and Download keep them
        // once this build succeeds; the settings themselves stay as they are.
        SettingsRecord kept = settings;
        kept.SetRegName(fields.regName);
        kept.SetFaceName(fields.selectedFace);
        kept.SetCodeStart(uint16_t(*fields.codeStart));
        kept.SetCodeEnd(uint16_t(*fields.codeEnd));
        kept.SetCharCount(count);
        r.settingsHeader = kept.BuildFontHeader();
        RegistrationSettings rendering;
        rendering.reference = environment.reference;
        rendering.resolution = environment.resolution;
        rendering.pointSize = settings.GetPointSize();
        rendering.header = r.settingsHeader;
        rendering.description = description;
        rendering.codePage = codePage;
        rendering.codes = codes.list.Codes();
        rendering.deferGlyphs = environment.deferGlyphs;
        if (!BuildRegistration(rendering, &r.rendered)) {
            // A font that cannot be realised is named under the main
            // window's caption; a want of memory stops silently.
            if (r.rendered.failure != RenderFailure::FontNotRealised)
                return r;
            return Refused(std::move(r), IDS_FONT_REALIZE_FAILED, MessageCaption::MainWindow);
        }
        r.missing = FindMissingGlyphs(rendering.reference, RegistrationFont(rendering),
                                      rendering.codes, count);
    }

    if (idField) {
        r.registrationId = idField->id;
        if (!r.registrationId)
            return Refused(std::move(r), IDS_BAD_REGISTRATION_ID, MessageCaption::Result,
                           FormField::RegistrationId);
        // The build holds at most kMaxRegistrationCodes records, which the
        // record always takes.
        if (!r.download.SetDownloadData(HeaderWithId(r.rendered.header, *r.registrationId),
                                        r.rendered.records, r.rendered.bytesPerGlyph))
            return r;
        r.download.BuildInfoBlock();
    }
    r.built = true;
    return r;
}
