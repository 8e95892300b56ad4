#include "framework/doc_template.h"

#include "framework/message_text.h"
#include "framework/win_app.h"

bool CSingleDocTemplate::OpenNewDocument(int showCommand) {
    const bool first = m_frame.GetSafeHwnd() == nullptr;
    if (first) {
        const std::wstring description = LoadText(unsigned(m_nResourceId));
        const std::wstring caption = description.substr(0, description.find(L'\n'));
        if (!m_frame.Create(m_nResourceId, caption.c_str()))
            return false;
        if (!m_view.Create(m_frame.GetSafeHwnd())) {
            DestroyWindow(m_frame.GetSafeHwnd());
            return false;
        }
        m_frame.SetView(&m_view);
        if (CWinApp* app = CWinApp::Current())
            app->m_hMainWnd = m_frame.GetSafeHwnd();
    }
    if (!m_doc.OnNewDocument())
        return false;
    m_view.OnInitialUpdate();
    if (first) {
        ShowWindow(m_frame.GetSafeHwnd(), showCommand);
        UpdateWindow(m_frame.GetSafeHwnd());
    }
    return true;
}
