#include "app/glyphkit_app.h"

#include <commctrl.h>

#include <cstdlib>
#include <new>

#include "app/about_dlg.h"
#include "app/help_pages.h"
#include "app/help_path.h"
#include "app/help_viewer.h"
#include "app/select_printer_dlg.h"
#include "form/registration_text_control.h"
#include "framework/message_map.h"
#include "framework/message_text.h"
#include "framework/version_info.h"
#include "operations/printer_model.h"
#include "res/batch_provision_ids.h"
#include "res/control_ids.h"
#include "res/registration_check_ids.h"
#include "res/resource_ids.h"

CGlyphkitApp::CGlyphkitApp() = default;

CGlyphkitApp::~CGlyphkitApp() = default;

bool CGlyphkitApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    m_display.emplace();
    if (!m_display->Get())
        return false;
    try {
        m_pFontList = std::make_unique<CFontFamilyList>(m_display->Get());
    } catch (const std::bad_alloc&) {
        return false;
    }
    AkctlEntry();

    // The command line is ignored: every run starts with a new registration.
    m_pView = std::make_unique<CGlyphkitView>(m_doc, *this);
    m_pTemplate = std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, m_doc, m_frame, *m_pView);
    if (!m_pTemplate->OpenNewDocument(m_nShowCommand)) {
        MessageBoxW(nullptr, LoadText(IDS_CREATE_DOC_FAILED).c_str(),
                    LoadText(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_hAccelerators = LoadAcceleratorsW(m_hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME));

    BuildHelpFilePath();
    ShowWindow(m_frame.GetSafeHwnd(), SW_SHOW);
    UpdateWindow(m_frame.GetSafeHwnd());
    // Every run starts on COM1; the member starts there already, so that the
    // printer column names it from the form's first update on.
    m_nComPort = 1;
    return true;
}

int CGlyphkitApp::ExitInstance() {
    m_pFontList.reset();
    return CWinApp::ExitInstance();
}

bool CGlyphkitApp::OnCommand(int id) {
    static const CommandEntry<CGlyphkitApp> kCommands[] = {
        {ID_APP_ABOUT, kMenuCommand, &CGlyphkitApp::OnAbout},
        {ID_FILE_NEW, kMenuCommand, &CGlyphkitApp::OnFileNew},
        {ID_CHECK_REGISTRATION, kMenuCommand, &CGlyphkitApp::OnCheckRegistration},
        {ID_BATCH_PROVISION, kMenuCommand, &CGlyphkitApp::OnBatchProvision},
    };
    return DispatchCommand(*this, kCommands, id, kMenuCommand);
}

bool CGlyphkitApp::OnHelp(int windowId) {
    // The help window belongs to the main window, as the menu's does: owned by
    // the dialog F1 was pressed in, it would close with the dialog.
    ShowHelp(m_frame.GetSafeHwnd(), m_strHelpFilePath, HelpPageOf(windowId));
    return true;
}

void CGlyphkitApp::OnAbout() {
    CAboutDlg(m_frame.GetSafeHwnd()).DoModal();
}

void CGlyphkitApp::OnFileNew() {
    if (RefusedDuringTransfer())
        return;
    // The settings and the registration text stay; the form's initial update
    // asks for the model again.
    m_pTemplate->OpenNewDocument(SW_SHOW);
}

void CGlyphkitApp::OnCheckRegistration() {
    // Greyed during a download; a command that arrives anyway (the window
    // goes on answering while the download's thread sends) is dropped, as
    // Ctrl+N is.
    if (!DownloadRunning())
        m_pView->CheckRegistration();
}

void CGlyphkitApp::OnBatchProvision() {
    if (!m_pBatch)
        m_pBatch = std::make_unique<CBatchProvisionDlg>(m_frame.GetSafeHwnd(), *this);
    if (!m_pBatch->Open())
        MessageBoxW(m_frame.GetSafeHwnd(), LoadText(IDS_CREATE_DIALOG_FAILED).c_str(),
                    LoadText(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::pair<int, std::wstring>>
CGlyphkitApp::SaveFormForPlan(const std::function<bool(int id)>& idFree) {
    return m_pView ? m_pView->SaveForPlan(idFree) : std::nullopt;
}

// The form's printer commands and the menu's printer choices wait for the
// batch as they wait for a download; the batch in turn never starts beside
// a download.
void CGlyphkitApp::BatchRunning(bool running) {
    TransferRunning(running);
    HWND form = m_pView ? m_pView->GetSafeHwnd() : nullptr;
    for (int id : {IDC_GET_INFO, IDC_CLEAR, IDC_ALL_CLEAR, IDC_DOWNLOAD})
        EnableWindow(GetDlgItem(form, id), !running);
}

void CGlyphkitApp::FrameClosing() {
    m_pBatch.reset();
    m_display.reset();
}

PrinterAddress CGlyphkitApp::Printer() const {
    return m_networkPrinter ? *m_networkPrinter : PrinterAddress::Com(m_nComPort);
}

void CGlyphkitApp::SetComPort(int port) {
    // Choosing a COM port goes back to the serial line.
    const PrinterAddress before = Printer();
    m_nComPort = port;
    m_networkPrinter.reset();
    PrinterChosen(before);
}

void CGlyphkitApp::SetNetworkPrinter(const PrinterAddress& printer) {
    const PrinterAddress before = Printer();
    m_networkPrinter = printer;
    m_lastNetworkPrinter = printer;
    PrinterChosen(before);
}

void CGlyphkitApp::PrinterChosen(const PrinterAddress& before) {
    if (!m_pView)
        return;
    // The list, its memory line and what is read from them (the details, the
    // check window's free memory, Clear's ID) describe the printer they were
    // read from: under another printer they would act on entries it may not
    // hold.
    if (Printer() != before)
        m_pView->ForgetRegisteredData();
    m_pView->ShowPrinter();
}

bool CGlyphkitApp::DownloadRunning() const {
    return m_pView && m_pView->Transferring();
}

bool CGlyphkitApp::RefusedDuringTransfer() {
    if (BatchRunning()) {
        MessageBoxW(m_frame.GetSafeHwnd(), LoadText(IDS_BATCH_RUNNING).c_str(),
                    LoadText(IDS_RESULT_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    if (!DownloadRunning())
        return false;
    // The download or the printer command goes on; the operator learns why
    // nothing happened.
    ResultMessageBox(m_frame.GetSafeHwnd(),
                     LoadText(m_pView->PrinterCommandRunning() ? IDS_PRINTER_WAIT_RUNNING
                                                               : IDS_TRANSFER_RUNNING),
                     MB_OK | MB_ICONEXCLAMATION);
    return true;
}

// The menu's share of holding a running download's disturbances away.
void CGlyphkitApp::TransferRunning(bool running) {
    HMENU menu = GetMenu(m_frame.GetSafeHwnd());
    EnableMenuItem(menu, ID_COMPORT, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, ID_NETWORK_PRINTER, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, ID_CHECK_REGISTRATION, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
    DrawMenuBar(m_frame.GetSafeHwnd());
}

void CGlyphkitApp::SelectPrinterModel() {
    CSelectPrinterDlg dialog(m_frame.GetSafeHwnd());
    if (dialog.DoModal() != IDOK)
        std::exit(0);
    const PrinterModel& model = kPrinterModels[dialog.m_nSelection];
    m_pModel = &model;
    m_nResolution = model.resolution;
    m_nDotsPerMm = model.dotsPerMm;
    SetWindowTextW(m_frame.GetSafeHwnd(), model.caption);
}

void CGlyphkitApp::BuildHelpFilePath() {
    char module[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    m_strHelpFilePath = ::HelpFilePath(module, CVersionInfo().GetOriginalFilename());
}

int RunGlyphkit(HINSTANCE instance, int showCommand) {
    CGlyphkitApp app;
    app.m_nShowCommand = showCommand;
    return app.Run(instance);
}
