// The batch window's plan: registrations from font data files and from the
// form, each under its ID, shown with what it takes; opened from and saved
// as the console's plan file.
#include "app/batch_provision_dlg.h"

#include <algorithm>

#include "app/list_view.h"
#include "framework/code_page_text.h"
#include "framework/file_dialog.h"
#include "framework/message_text.h"
#include "framework/whole_file.h"
#include "operations/plan_file.h"
#include "operations/registration_file.h"
#include "printer/registration_id.h"
#include "printer/text_formats.h"
#include "res/batch_provision_ids.h"
#include "res/resource_ids.h"

namespace {

// Keeps the first message that refuses a file, shown once with the file it
// concerns; the characters a face lacks are registered as its empty box, as
// the check window lists them, and are not asked about here.
class FirstMessage : public Operator, public FormDisplay {
public:
    void ShowMessage(unsigned id, MessageKind, MessageCaption) override { Keep(LoadText(id)); }
    void ShowMessageAbout(unsigned id, const std::string& subject) override {
        Keep(LoadTextWith(id, {FromCodePage(subject)}));
    }
    bool AskYesNo(unsigned) override { return false; }
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override {
        Keep(LoadText(id) + (systemError ? L"\n" + SystemErrorText(systemError) : L"") + L"\n" +
             FromCodePage(path));
    }
    std::wstring text;

private:
    void Keep(const std::wstring& message) {
        if (text.empty())
            text = message;
    }
};

std::wstring Name(const CFontPT& record) {
    CFontPT shown;
    shown.ParseInfoBlock(record.m_infoBlock.data());
    return FromCodePage(shown.m_szName);
}

int PointSize(const CFontPT& record) {
    CFontPT shown;
    shown.ParseInfoBlock(record.m_infoBlock.data());
    return shown.m_nFontSize;
}

} // namespace

void CBatchProvisionDlg::OnAddFile() {
    const std::wstring filter = LoadText(IDS_BATCH_KFD_FILTER);
    if (const std::optional<std::wstring> path = ChooseFileToOpen(m_hWnd, L"kfd", filter.c_str())) {
        const std::optional<int> id = ParseRegistrationId(NumberFieldText(GetItem(IDC_BATCH_ID)));
        if (!id) {
            SetFocus(GetItem(IDC_BATCH_ID));
            return void(Tell(LoadText(IDS_BAD_REGISTRATION_ID)));
        }
        AddEntry(*id, *path);
    }
}

void CBatchProvisionDlg::OnAddForm() {
    // The form's own checks and messages, its ID (against the plan, before
    // the save dialog) and its save dialog.
    if (const auto saved = m_host.SaveFormForPlan([this](int id) { return IdFree(id); }))
        AddEntry(saved->first, saved->second);
}

bool CBatchProvisionDlg::IdFree(int id) {
    for (const Entry& entry : m_entries)
        if (entry.registration.line.id == id) {
            Tell(LoadTextWith(IDS_BATCH_ID_TAKEN, {RegistrationIdDigits<wchar_t>(id), entry.path}));
            return false;
        }
    return true;
}

void CBatchProvisionDlg::AddEntry(int id, const std::wstring& path) {
    if (!IdFree(id))
        return;
    Entry entry;
    entry.path = path;
    entry.registration.line.id = id;
    entry.registration.line.file = ToCodePage(path, CP_UTF8);
    FirstMessage messages;
    switch (BuildRegistrationFromFile(path, id, &m_host.Model(), m_host.Reference(),
                                      m_host.Families(), messages, messages, &entry.registration)) {
    case RegistrationFileResult::Built:
        break;
    case RegistrationFileResult::Refused:
        return void(Tell(LoadTextWith(IDS_BATCH_FILE_REFUSED, {messages.text, path})));
    }
    std::vector<PlannedRegistration> plan;
    uint64_t total = 0;
    for (const Entry& kept : m_entries) {
        plan.push_back(kept.registration);
        total += kept.registration.MemoryUse();
    }
    plan.push_back(entry.registration);
    if (FirstBeyondMemory(plan))
        return void(
            Tell(LoadTextWith(IDS_BATCH_BEYOND_MEMORY,
                              {std::to_wstring(total + entry.registration.MemoryUse()), path})));
    m_entries.push_back(std::move(entry));
    // The next file takes the next ID unless the operator says otherwise.
    if (id < 99)
        SetDlgItemInt(m_hWnd, IDC_BATCH_ID, UINT(id + 1), FALSE);
    ShowPlan();
}

void CBatchProvisionDlg::OnRemoveEntry() {
    const std::vector<int> rows = ListViewSelected(GetItem(IDC_BATCH_PLAN));
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        m_entries.erase(m_entries.begin() + *row);
    ShowPlan();
}

void CBatchProvisionDlg::OnOpenPlan() {
    const std::wstring filter = LoadText(IDS_BATCH_PLAN_FILTER);
    const std::optional<std::wstring> planPath = ChooseFileToOpen(m_hWnd, L"txt", filter.c_str());
    if (!planPath)
        return;
    FirstMessage messages;
    std::wstring failedPath;
    PlanFileResult loaded = LoadPlanFile(
        *planPath, [&](const std::wstring& path, const PlanLine& line, PlannedRegistration* out) {
            failedPath = path;
            return BuildRegistrationFromFile(path, line.id, &m_host.Model(), m_host.Reference(),
                                             m_host.Families(), messages, messages,
                                             out) == RegistrationFileResult::Built;
        });
    const std::wstring line = std::to_wstring(loaded.line);
    switch (loaded.problem) {
    case PlanFileProblem::None:
        break;
    case PlanFileProblem::ReadFailed:
    case PlanFileProblem::TooLarge:
        return void(Tell(LoadTextWith(
            IDS_BATCH_PLAN_READ_FAILED,
            {*planPath, loaded.systemError ? SystemErrorText(loaded.systemError) : L"1MB"})));
    case PlanFileProblem::Text:
        return void(Tell(LoadTextWith(IDS_BATCH_PLAN_LINE, {*planPath, line}) + L"\n" +
                         PlanProblemText(loaded.text, loaded.otherLine)));
    case PlanFileProblem::Registration:
        return void(Tell(LoadTextWith(IDS_BATCH_PLAN_LINE, {*planPath, line}) + L"\n" +
                         LoadTextWith(IDS_BATCH_FILE_REFUSED, {messages.text, failedPath})));
    case PlanFileProblem::BeyondMemory:
        return void(Tell(
            LoadTextWith(IDS_BATCH_PLAN_LINE, {*planPath, line}) + L"\n" +
            LoadTextWith(IDS_BATCH_BEYOND_MEMORY, {std::to_wstring(loaded.total), *planPath})));
    }
    m_entries.clear();
    for (PlannedRegistration& registration : loaded.plan) {
        Entry entry;
        entry.path = PlanEntryPath(*planPath, FromCodePage(registration.line.file, CP_UTF8));
        entry.registration = std::move(registration);
        m_entries.push_back(std::move(entry));
    }
    ShowPlan();
}

void CBatchProvisionDlg::OnSavePlan() {
    if (m_entries.empty())
        return void(Tell(LoadText(IDS_BATCH_NO_PLAN)));
    const std::wstring filter = LoadText(IDS_BATCH_PLAN_FILTER);
    const std::optional<std::wstring> planPath = ChooseFileToSave(m_hWnd, L"txt", filter.c_str());
    if (!planPath)
        return;
    std::vector<PlanEntry> lines;
    for (const Entry& entry : m_entries)
        lines.push_back({entry.registration.line.id, entry.path});
    const std::string text = PlanFileText(*planPath, lines);
    uint32_t error = 0;
    if (!SaveFileReplacing(ToCodePage(*planPath), reinterpret_cast<const uint8_t*>(text.data()),
                           text.size(), &error))
        Tell(LoadTextWith(IDS_BATCH_PLAN_WRITE_FAILED, {*planPath, SystemErrorText(error)}));
}

void CBatchProvisionDlg::ShowPlan() {
    HWND list = GetItem(IDC_BATCH_PLAN);
    uint64_t total = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const PlannedRegistration& r = m_entries[i].registration;
        total += r.MemoryUse();
        ListViewSetRow(list, int(i),
                       {RegistrationIdDigits<wchar_t>(r.line.id), Name(r.record),
                        std::to_wstring(r.record.m_dwCharCount),
                        std::to_wstring(PointSize(r.record)), std::to_wstring(r.MemoryUse()),
                        m_entries[i].path});
    }
    ListViewTruncate(list, int(m_entries.size()));
    SetWindowTextTo(GetItem(IDC_BATCH_PLAN_TOTAL),
                    LoadTextWith(IDS_BATCH_PLAN_TOTAL,
                                 {std::to_wstring(m_entries.size()), std::to_wstring(total)}));
}
