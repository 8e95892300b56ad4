#pragma once
// The application object: start-up, the model choice, the application state
// the other parts read, Ctrl+N and the exit step.
#include <memory>
#include <optional>
#include <string>

#include "app/batch_host.h"
#include "app/batch_provision_dlg.h"
#include "app/frame_host.h"
#include "app/main_frame.h"
#include "form/font_family_list.h"
#include "form/form_host.h"
#include "form/glyphkit_doc.h"
#include "form/glyphkit_view.h"
#include "framework/dc.h"
#include "framework/doc_template.h"
#include "framework/win_app.h"

class CGlyphkitApp : public CWinApp, public FormHost, public FrameHost, public BatchHost {
public:
    CGlyphkitApp();
    ~CGlyphkitApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnCommand(int id) override;
    // F1: the help at the window's page, or its contents.
    bool OnHelp(int windowId) override;

    // FormHost
    void FitFrameToForm() override { m_frame.FitFrameToForm(); }
    void SelectPrinterModel() override;
    const CFontFamilyList& Fonts() const override { return *m_pFontList; }
    HDC DisplayContext() const override { return m_display ? m_display->Get() : nullptr; }
    int Resolution() const override { return m_nResolution; }
    PrinterAddress Printer() const override;
    int DotsPerMm() const override { return m_nDotsPerMm; }
    void TransferRunning(bool running) override;

    // FrameHost
    int ComPort() const override { return m_nComPort; }
    void SetComPort(int port) override;
    std::optional<PrinterAddress> LastNetworkPrinter() const override {
        return m_lastNetworkPrinter;
    }
    void SetNetworkPrinter(const PrinterAddress& printer) override;
    const std::string& HelpFilePath() const override { return m_strHelpFilePath; }
    bool DownloadRunning() const override;
    bool RefusedDuringTransfer() override;
    bool BatchRunning() const override { return m_pBatch && m_pBatch->Running(); }
    void FrameClosing() override;

    // BatchHost
    const PrinterModel& Model() const override { return *m_pModel; }
    HDC Reference() const override { return DisplayContext(); }
    const InstalledFamilies& Families() const override { return *m_pFontList; }
    std::optional<std::pair<int, std::wstring>>
    SaveFormForPlan(const std::function<bool(int id)>& idFree) override;
    void BatchRunning(bool running) override;

private:
    // Menu and accelerator commands.
    void OnAbout();
    void OnFileNew();
    void OnCheckRegistration();
    void OnBatchProvision();
    void BuildHelpFilePath();
    // The form shows the printer its column talks to; what it shows of
    // another printer's listing goes.
    void PrinterChosen(const PrinterAddress& before);

    // The application state.
    std::optional<ScopedDisplayDC> m_display;
    std::unique_ptr<CFontFamilyList> m_pFontList;
    int m_nComPort = 1; // every run starts on COM1
    // The network printer chosen since, which the printer commands talk to
    // instead of the COM port.
    std::optional<PrinterAddress> m_networkPrinter;
    // The network printer chosen last in this run, offered again by its dialog.
    std::optional<PrinterAddress> m_lastNetworkPrinter;
    const PrinterModel* m_pModel = &kPrinterModels[0];
    int m_nResolution = 0;
    int m_nDotsPerMm = 0;
    std::string m_strHelpFilePath;

    CGlyphkitDoc m_doc;
    CMainFrame m_frame{*this};
    std::unique_ptr<CGlyphkitView> m_pView;
    std::unique_ptr<CSingleDocTemplate> m_pTemplate;
    int m_nShowCommand = SW_SHOWNORMAL;
    // Made when first opened; its plan and printers stay for the run.
    std::unique_ptr<CBatchProvisionDlg> m_pBatch;

    friend int RunGlyphkit(HINSTANCE instance, int showCommand);
};

// The whole run of the program.
int RunGlyphkit(HINSTANCE instance, int showCommand);
