#include "form/thread_side_operator.h"

void CThreadSideOperator::OnWindowThread(const std::function<void()>& show) {
    m_calls.Call([&] {
        if (m_around)
            m_around(true);
        show();
        if (m_around)
            m_around(false);
    });
}

void CThreadSideOperator::ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) {
    OnWindowThread([&] { m_operator.ShowMessage(id, kind, caption); });
}

void CThreadSideOperator::ShowMessageAbout(unsigned id, const std::string& subject) {
    OnWindowThread([&] { m_operator.ShowMessageAbout(id, subject); });
}

void CThreadSideOperator::ShowMessageWithDetail(unsigned id, MessageKind kind,
                                                MessageCaption caption, unsigned detailId,
                                                const std::vector<std::string>& values) {
    OnWindowThread([&] { m_operator.ShowMessageWithDetail(id, kind, caption, detailId, values); });
}

bool CThreadSideOperator::AskYesNo(unsigned id) {
    bool yes = false;
    OnWindowThread([&] { yes = m_operator.AskYesNo(id); });
    return yes;
}

bool CThreadSideOperator::AskYesNoAbout(unsigned id, const std::string& line) {
    bool yes = false;
    OnWindowThread([&] { yes = m_operator.AskYesNoAbout(id, line); });
    return yes;
}

void CThreadSideOperator::ShowFileMessage(unsigned id, const std::string& path,
                                          uint32_t systemError) {
    OnWindowThread([&] { m_operator.ShowFileMessage(id, path, systemError); });
}

void CThreadSideOperator::ShowWideFileMessage(unsigned id, const std::wstring& path,
                                              uint32_t systemError) {
    OnWindowThread([&] { m_operator.ShowWideFileMessage(id, path, systemError); });
}
