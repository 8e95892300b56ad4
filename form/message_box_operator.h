#pragma once
// The operator seam of the main window: message boxes owned by the form,
// captioned "実行結果", the application's name or the main window's title.
#include <windows.h>

#include "framework/operator.h"

class CMessageBoxOperator : public Operator {
public:
    explicit CMessageBoxOperator(HWND& owner) : m_owner(owner) {}

    void ShowMessage(unsigned id, MessageKind kind = MessageKind::Warning,
                     MessageCaption caption = MessageCaption::Result) override;
    void ShowMessageAbout(unsigned id, const std::string& subject) override;
    void ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                               unsigned detailId, const std::vector<std::string>& values) override;
    // The message, the file and the system's reason.
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override;
    void ShowWideFileMessage(unsigned id, const std::wstring& path, uint32_t systemError) override;
    bool AskYesNo(unsigned id) override;
    bool AskYesNoAbout(unsigned id, const std::string& line) override;

private:
    HWND& m_owner; // the form, once it exists
};
