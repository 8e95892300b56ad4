// The batch window's printers, added one by one as --port spells one or read
// from a printer list file, each printer once; and the result table saved as
// CSV.
#include "app/batch_provision_dlg.h"

#include <algorithm>

#include "app/list_view.h"
#include "framework/code_page_text.h"
#include "framework/file_dialog.h"
#include "framework/message_text.h"
#include "framework/whole_file.h"
#include "operations/batch_report.h"
#include "printer/one_printer.h"
#include "printer/printer_list.h"
#include "res/batch_provision_ids.h"

void CBatchProvisionDlg::OnAddPrinter() {
    const std::wstring given = WindowText(GetItem(IDC_BATCH_PRINTER));
    // Anything but ASCII names no printer; the parser sees bytes.
    std::optional<PrinterAddress> printer;
    if (std::all_of(given.begin(), given.end(), [](wchar_t c) { return c < 128; }))
        printer = ParsePrinterItem(std::string(given.begin(), given.end()));
    if (!printer) {
        SetFocus(GetItem(IDC_BATCH_PRINTER));
        return void(Tell(LoadTextWith(IDS_BATCH_BAD_PRINTER, {given})));
    }
    if (AddPrinters({{*printer, given}}))
        SetWindowTextTo(GetItem(IDC_BATCH_PRINTER), L"");
    SetFocus(GetItem(IDC_BATCH_PRINTER));
}

void CBatchProvisionDlg::OnReadPrinters() {
    const std::wstring filter = LoadText(IDS_BATCH_PRINTER_FILTER);
    const std::optional<std::wstring> path = ChooseFileToOpen(m_hWnd, L"txt", filter.c_str());
    if (!path)
        return;
    std::vector<uint8_t> bytes;
    uint32_t error = 0;
    if (ReadWholeFile(*path, kMaxPrinterListBytes, &bytes, &error) != FileReadResult::Ok)
        return void(Tell(LoadTextWith(IDS_BATCH_LIST_READ_FAILED,
                                      {*path, error ? SystemErrorText(error) : L"4MB"})));
    std::vector<PrinterListEntry> entries;
    PrinterListError bad;
    if (!ParsePrinterList(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &entries,
            &bad))
        return void(Tell(LoadTextWith(IDS_BATCH_LIST_LINE, {*path, std::to_wstring(bad.line)}) +
                         L"\n" + FromCodePage(bad.text, CP_UTF8)));
    std::vector<Printer> printers;
    for (const PrinterListEntry& entry : entries)
        printers.push_back({entry.printer, FromCodePage(entry.text, CP_UTF8)});
    AddPrinters(printers);
}

bool CBatchProvisionDlg::AddPrinters(const std::vector<Printer>& printers) {
    OnePrinterRule rule;
    for (size_t i = 0; i < m_printers.size(); ++i)
        rule.Take(m_printers[i].address, i);
    for (size_t i = 0; i < printers.size(); ++i) {
        const size_t index = m_printers.size() + i;
        if (const std::optional<size_t> earlier = rule.Take(printers[i].address, index)) {
            const std::wstring& first = *earlier < m_printers.size()
                                            ? m_printers[*earlier].given
                                            : printers[*earlier - m_printers.size()].given;
            Tell(LoadTextWith(IDS_BATCH_SAME_PRINTER, {first, printers[i].given}));
            return false;
        }
    }
    m_printers.insert(m_printers.end(), printers.begin(), printers.end());
    // A new list of printers: the last run's lines no longer match it.
    m_results.clear();
    m_views.clear();
    ShowPrinters();
    return true;
}

void CBatchProvisionDlg::OnRemovePrinter() {
    const std::vector<int> rows = ListViewSelected(GetItem(IDC_BATCH_PRINTERS));
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        m_printers.erase(m_printers.begin() + *row);
    m_results.clear();
    m_views.clear();
    ShowPrinters();
}

void CBatchProvisionDlg::OnSaveResult() {
    if (m_results.empty() || !m_run)
        return;
    const std::wstring filter = LoadText(IDS_BATCH_CSV_FILTER);
    const std::optional<std::wstring> path = ChooseFileToSave(m_hWnd, L"csv", filter.c_str());
    if (!path)
        return;
    std::vector<std::wstring> names;
    for (const Printer& printer : m_printers)
        names.push_back(printer.given);
    const std::string text = CsvText(ResultRows(names, m_views, m_results, m_run->Plan()));
    uint32_t error = 0;
    if (!SaveFileReplacing(ToCodePage(*path), reinterpret_cast<const uint8_t*>(text.data()),
                           text.size(), &error))
        Tell(LoadTextWith(IDS_BATCH_RESULT_WRITE_FAILED, {*path, SystemErrorText(error)}));
}
