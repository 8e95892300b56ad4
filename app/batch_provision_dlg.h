#pragma once
// The batch provisioning window "一括登録": modeless, owned by the main
// window, resizable. The operator builds a plan of registrations (font data
// files, the form's registration), lists the printers, sets the options of
// the console's provision and runs it there, one line per printer updated as
// it goes; then reads the counts and each failure, and saves the table.
#include <memory>
#include <string>
#include <vector>

#include "app/batch_host.h"
#include "framework/dialog.h"
#include "operations/batch_run.h"
#include "printer/printer_address.h"
#include "printer/provision_plan.h"

class CBatchProvisionDlg : public CDialog {
public:
    CBatchProvisionDlg(HWND owner, BatchHost& host);
    ~CBatchProvisionDlg() override;

    // Shows the window, creating it when it is not open; the plan and the
    // printers stay from its last opening in this run.
    bool Open();
    bool Running() const { return m_bRunning; }

protected:
    bool OnInitDialog() override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnOK() override {}
    // Closing asks first during a run, which it stops.
    void OnCancel() override;

private:
    struct Entry {
        PlannedRegistration registration;
        std::wstring path;
    };
    struct Printer {
        PrinterAddress address;
        std::wstring given; // as the operator wrote it
    };

    // The plan (batch_plan_part.cpp).
    void OnAddFile();
    void OnAddForm();
    void AddEntry(int id, const std::wstring& path);
    // Whether the plan takes id; says why not.
    bool IdFree(int id);
    void OnRemoveEntry();
    void OnOpenPlan();
    void OnSavePlan();
    void ShowPlan();
    // The printers (batch_printers_part.cpp).
    void OnAddPrinter();
    void OnReadPrinters();
    void OnRemovePrinter();
    // Adds the entries unless one names a printer listed already (then
    // nothing is added and both are named); false when refused.
    bool AddPrinters(const std::vector<Printer>& printers);
    void ShowPrinters();
    void OnSaveResult();
    // The run.
    void OnStart();
    void OnStop();
    void ShowProgress();
    void RunEnded();
    void ShowRunning(bool running);
    // The message column takes what the window's width leaves it.
    void FitMessageColumn();
    int Tell(const std::wstring& text, UINT flags = MB_OK | MB_ICONEXCLAMATION);
    void LayOut();

    BatchHost& m_host;
    std::vector<Entry> m_entries;
    std::vector<Printer> m_printers;
    std::unique_ptr<BatchRun> m_run;
    // The last run's end, for the table and its file.
    std::vector<PortView> m_views;
    std::vector<PortResult> m_results;
    bool m_bRunning = false;
    bool m_bCloseWhenEnded = false;
    SIZE m_initialClient{0, 0};
    int m_messageMinimum = 0; // the message column's width in the template
    SIZE m_minimumTrack{0, 0};
    std::vector<RECT> m_placed;
};
