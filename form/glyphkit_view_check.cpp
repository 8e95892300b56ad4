// The main form's side of the registration check: the form as a download
// would read it, the check build, and the window that shows the result.
#include "form/glyphkit_view.h"

#include "check/registration_check.h"
#include "check/registration_check_dlg.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

void CGlyphkitView::CheckRegistration() {
    // One check window at a time, whatever reaches the form while it is up.
    if (m_bCheckOpen || !TakeShownFields())
        return;
    const FormFields fields = ReadFields();
    CheckedBuild build;
    if (!m_operations.BuildForCheck(fields, Environment(), &build))
        return;
    // The ID as it stands in its field; it decides only which entry of the
    // printer's listing a download would replace.
    const std::optional<int> id = ParseRegistrationId(WindowTextAnsi(GetItem(IDC_REG_ID)));
    CRegistrationCheckDlg dialog(GetAncestor(m_hWnd, GA_ROOT), build, fields.text,
                                 m_operations.Registered(), id, m_host.DotsPerMm());
    m_bCheckOpen = true;
    const INT_PTR shown = dialog.DoModal();
    m_bCheckOpen = false;
    if (shown == -1)
        m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                               MessageCaption::Application);
}
