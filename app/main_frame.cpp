#include "app/main_frame.h"

#include "app/help_viewer.h"
#include "app/network_printer_dlg.h"
#include "form/com_port_dlg.h"
#include "form/connection_test.h"
#include "framework/form_view.h"
#include "framework/message_map.h"
#include "res/control_ids.h"

void CMainFrame::FitFrameToForm() {
    if (!GetView())
        return;
    const SIZE form = GetView()->GetTotalSize();
    const int width = form.cx + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXBORDER);
    const int height = form.cy + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) +
                       GetSystemMetrics(SM_CYVSCROLL) + 2 * GetSystemMetrics(SM_CYBORDER);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int x = desktop.left + (desktop.right - desktop.left) / 2 - width / 2;
    const int y = desktop.top + (desktop.bottom - desktop.top) / 2 - height / 2;
    MoveWindow(m_hWnd, x, y, width + 1, height + 1, TRUE);
}

bool CMainFrame::OnCommand(int id) {
    static const CommandEntry<CMainFrame> kCommands[] = {
        {ID_COMPORT, kMenuCommand, &CMainFrame::OnComPort},
        {ID_NETWORK_PRINTER, kMenuCommand, &CMainFrame::OnNetworkPrinter},
        {ID_HELP_CONTENTS, kMenuCommand, &CMainFrame::OpenHelp},
    };
    return DispatchCommand(*this, kCommands, id, kMenuCommand);
}

void CMainFrame::OnComPort() {
    if (m_host.DownloadRunning() || m_host.BatchRunning())
        return;
    CComPortDlg dialog(m_hWnd, m_host.ComPort());
    if (dialog.DoModal() == IDOK)
        m_host.SetComPort(dialog.m_nComPort);
}

void CMainFrame::OnNetworkPrinter() {
    if (m_host.DownloadRunning() || m_host.BatchRunning())
        return;
    CNetworkPrinterDlg dialog(m_hWnd, m_host.LastNetworkPrinter(), TestPrinterConnection);
    if (dialog.DoModal() == IDOK)
        m_host.SetNetworkPrinter(dialog.m_printer);
}

void CMainFrame::OpenHelp() {
    ShowHelp(m_hWnd, m_host.HelpFilePath(), std::string());
}

void CMainFrame::OnClose() {
    // A download in progress ends first: it needs the form and the port.
    if (m_host.RefusedDuringTransfer())
        return;
    m_host.FrameClosing();
    CFrameWnd::OnClose();
}
