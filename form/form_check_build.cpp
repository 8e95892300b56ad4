// The build behind the registration check: the same checks, code list,
// rasteriser and resolution as a download, run on a copy of the settings so
// that looking at a registration changes nothing the form holds.
#include "form/form_operations.h"
#include "form/registration_check.h"

namespace {

// Passes a refused field on to the form, and keeps the characters the face
// has no glyph for, which the check lists itself.
class CheckDisplay : public FormDisplay {
public:
    CheckDisplay(FormDisplay& form, std::vector<uint16_t>& missing)
        : m_form(form), m_missing(missing) {}
    void FieldRefused(FormField field) override { m_form.FieldRefused(field); }
    void GlyphsMissing(const std::string& /*face*/, const std::vector<uint16_t>& codes) override {
        m_missing = codes;
    }

private:
    FormDisplay& m_form;
    std::vector<uint16_t>& m_missing;
};

} // namespace

bool CFormOperations::BuildForCheck(const FormFields& fields, const FormEnvironment& environment,
                                    CheckedBuild* checked) const {
    *checked = CheckedBuild();
    CGlyphkitDoc settings = m_doc;
    CheckDisplay display(m_display, checked->missing);
    CFormOperations scratch(settings, m_fonts, m_operator, display);
    // Download's checks, since the check stands for what a download would
    // send; the registration ID is no part of the build and is not checked.
    if (!scratch.TakeCheckedFields(fields, RegistrationAction::Download))
        return false;
    // Rendering every glyph of a large registration takes seconds; the check
    // shows a few at a time, and renders each when it first comes into view.
    FormEnvironment deferring = environment;
    deferring.deferGlyphs = true;
    BuiltRegistration built;
    if (!scratch.BuildRegistration(fields, deferring, &built) || !built.deferred)
        return false;
    checked->header = built.header;
    checked->codes = built.deferred->Codes();
    checked->glyphs = built.deferred;
    return true;
}
