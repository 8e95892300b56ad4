// The main form's side of the registration check: the form as a download
// would read it, the check build, and the window that shows the result.
#include "form/glyphkit_view.h"

#include "form/font_family_list.h"

#include "check/registration_check.h"
#include "check/registration_check_dlg.h"
#include "check/size_fit.h"
#include "form/glyphkit_doc.h"
#include "framework/wait_cursor.h"
#include "operations/registration_fit.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

void CGlyphkitView::CheckRegistration() {
    // One check window at a time, whatever reaches the form while it is up.
    if (m_bCheckOpen || !TakeShownFields())
        return;
    // The size the window offers is taken as typed into the size field and
    // checked there; then the check opens again at that size.
    std::u16string line;
    for (;;) {
        const FormFields fields = ReadFields();
        CheckedBuild build;
        if (!m_operations.BuildForCheck(fields, Environment(), &build))
            return;
        // The ID as it stands in its field; it decides only which entry of
        // the printer's listing a download would replace.
        const std::optional<int> id = ReadRegistrationId().id;
        CheckAnswersInput answers;
        {
            const CWaitCursor waiting;
            answers.fit = FindFittingSizes(
                FormMemoryAtSize(m_doc, m_host.Fonts(), fields, Environment()),
                JudgeMemory(FiguresOf(build.header).memoryBytes, m_operations.Registered(), id));
        }
        answers.pointSize = m_doc.GetPointSize();
        answers.line = line;
        CRegistrationCheckDlg dialog(GetAncestor(m_hWnd, GA_ROOT), build, fields.text,
                                     m_operations.Registered(), id, m_host.DotsPerMm(), answers);
        m_bCheckOpen = true;
        const INT_PTR shown = dialog.DoModal();
        m_bCheckOpen = false;
        if (shown == -1)
            m_operator.ShowMessage(IDS_CREATE_DIALOG_FAILED, MessageKind::Warning,
                                   MessageCaption::Application);
        if (shown != CRegistrationCheckDlg::kUseSize)
            return;
        SetDlgItemInt(m_hWnd, IDC_POINT_SIZE, UINT(dialog.SizeToUse()), FALSE);
        OnPointSizeKillFocus();
        if (m_doc.GetPointSize() != dialog.SizeToUse())
            return;
        line = dialog.LineText();
    }
}
