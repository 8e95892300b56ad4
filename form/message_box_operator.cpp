#include "form/message_box_operator.h"

#include <string>

#include "framework/code_page_text.h"
#include "framework/message_text.h"
#include "framework/window.h"
#include "res/resource_ids.h"

namespace {

std::wstring CaptionOf(HWND owner, MessageCaption caption) {
    switch (caption) {
    case MessageCaption::Application:
        return LoadText(IDS_APP_NAME);
    case MessageCaption::MainWindow:
        return WindowText(owner ? GetAncestor(owner, GA_ROOT) : nullptr);
    case MessageCaption::Result:
        break;
    }
    return LoadText(IDS_RESULT_CAPTION);
}

UINT FlagsOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Plain:
        return MB_OK;
    case MessageKind::Information:
        return MB_OK | MB_ICONINFORMATION;
    case MessageKind::Warning:
        break;
    }
    return MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND;
}

} // namespace

void CMessageBoxOperator::ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) {
    MessageBoxW(m_owner, LoadText(id).c_str(), CaptionOf(m_owner, caption).c_str(), FlagsOf(kind));
}

void CMessageBoxOperator::ShowMessageAbout(unsigned id, const std::string& subject) {
    ResultMessageBox(m_owner, LoadTextWith(id, {FromCodePage(subject)}),
                     FlagsOf(MessageKind::Warning));
}

void CMessageBoxOperator::ShowMessageWithDetail(unsigned id, MessageKind kind,
                                                MessageCaption caption, unsigned detailId,
                                                const std::vector<std::string>& values) {
    const std::wstring text = LoadText(id) + L"\n" + DetailText(detailId, values);
    MessageBoxW(m_owner, text.c_str(), CaptionOf(m_owner, caption).c_str(), FlagsOf(kind));
}

bool CMessageBoxOperator::AskYesNo(unsigned id) {
    return AskYesNoAbout(id, std::string());
}

bool CMessageBoxOperator::AskYesNoAbout(unsigned id, const std::string& line) {
    std::wstring text = LoadText(id);
    if (!line.empty())
        text += L"\n" + FromCodePage(line);
    return ResultMessageBox(m_owner, text, MB_YESNO | MB_ICONEXCLAMATION | MB_SETFOREGROUND) ==
           IDYES;
}
