// The main form's side of a batch plan: the registration it holds, saved as
// 保存 saves it, so that the plan names a file like its other lines.
#include "form/glyphkit_view.h"

#include "framework/code_page_text.h"
#include "framework/file_dialog.h"
#include "framework/message_text.h"
#include "printer/registration_id.h"
#include "res/batch_provision_ids.h"
#include "res/control_ids.h"
#include "res/resource_ids.h"

std::optional<std::pair<int, std::wstring>>
CGlyphkitView::SaveForPlan(const std::function<bool(int id)>& idFree) {
    if (Transferring() || !TakeShownFields())
        return std::nullopt;
    // The ID is checked as Download checks it: the plan sends it.
    const std::optional<int> id = ReadRegistrationId().id;
    if (!id) {
        m_operator.ShowMessage(IDS_BAD_REGISTRATION_ID);
        SetFocus(GetItem(IDC_REG_ID));
        return std::nullopt;
    }
    // An ID the plan holds already is refused before a file is written.
    if (!idFree(*id))
        return std::nullopt;
    const std::wstring filter = LoadText(IDS_BATCH_KFD_FILTER);
    std::wstring chosen;
    const WideSavePathChooser choose = [&](const std::string& initialName) {
        const std::optional<std::wstring> path =
            ChooseFileToSave(GetActiveWindow(), L"kfd", filter.c_str(), FromCodePage(initialName));
        chosen = path.value_or(L"");
        return path;
    };
    if (!m_operations.SaveFontDataFileAt(ReadFields(), Environment(), choose))
        return std::nullopt;
    return std::make_pair(*id, chosen);
}
