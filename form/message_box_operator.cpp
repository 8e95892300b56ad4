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

// The window a message goes over. While a modal window of the program is up
// (a file dialog, the version information, another message) the main window
// is disabled: a message owned by it would enable it when it goes, under the
// modal window, and come up behind that one. It goes over the modal window
// instead, whichever message it is, the download thread's too.
HWND OwnerNow(HWND owner) {
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (!root || IsWindowEnabled(root))
        return owner;
    HWND popup = GetLastActivePopup(root);
    return popup && popup != root && IsWindowVisible(popup) ? popup : owner;
}

} // namespace

void CMessageBoxOperator::ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) {
    MessageBoxW(OwnerNow(m_owner), LoadText(id).c_str(), CaptionOf(m_owner, caption).c_str(),
                FlagsOf(kind));
}

void CMessageBoxOperator::ShowMessageAbout(unsigned id, const std::string& subject) {
    MessageBoxW(OwnerNow(m_owner), LoadTextWith(id, {FromCodePage(subject)}).c_str(),
                LoadText(IDS_RESULT_CAPTION).c_str(), FlagsOf(MessageKind::Warning));
}

void CMessageBoxOperator::ShowFileMessage(unsigned id, const std::string& path,
                                          uint32_t systemError) {
    ShowWideFileMessage(id, FromCodePage(path), systemError);
}

void CMessageBoxOperator::ShowWideFileMessage(unsigned id, const std::wstring& path,
                                              uint32_t systemError) {
    // The file and the system's reason, under the message, as the
    // registration check's image save names them.
    std::wstring text = LoadText(id) + L"\n" + path;
    if (systemError != 0)
        text += L"\n" + SystemErrorText(systemError);
    MessageBoxW(OwnerNow(m_owner), text.c_str(), LoadText(IDS_RESULT_CAPTION).c_str(),
                FlagsOf(MessageKind::Warning));
}

bool CMessageBoxOperator::AskYesNo(unsigned id) {
    return AskYesNoAbout(id, std::string());
}

bool CMessageBoxOperator::AskYesNoAbout(unsigned id, const std::string& line) {
    std::wstring text = LoadText(id);
    if (!line.empty())
        text += L"\n" + FromCodePage(line);
    return MessageBoxW(OwnerNow(m_owner), text.c_str(), LoadText(IDS_RESULT_CAPTION).c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_SETFOREGROUND) == IDYES;
}
