#pragma once
// The operator as a thread of the window's own meets it: every message and
// question is handed to the window's thread, shown there by the window's
// operator, and waited for. A question the window cannot ask is answered
// No: nothing is done that the operator did not agree to.
#include <functional>
#include <string>
#include <vector>

#include "framework/operator.h"
#include "framework/window_thread_calls.h"

class CThreadSideOperator : public Operator {
public:
    // around, when given, runs on the window's thread before each message
    // (true) and after it is answered (false).
    CThreadSideOperator(const CWindowThreadCalls& calls, Operator& op,
                        std::function<void(bool before)> around = nullptr)
        : m_calls(calls), m_operator(op), m_around(std::move(around)) {}

    void ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) override;
    void ShowMessageAbout(unsigned id, const std::string& subject) override;
    void ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                               unsigned detailId, const std::vector<std::string>& values) override;
    bool AskYesNo(unsigned id) override;
    bool AskYesNoAbout(unsigned id, const std::string& line) override;
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override;
    void ShowWideFileMessage(unsigned id, const std::wstring& path, uint32_t systemError) override;

private:
    // Runs show on the window's thread between the around calls.
    void OnWindowThread(const std::function<void()>& show);

    const CWindowThreadCalls& m_calls;
    Operator& m_operator;
    std::function<void(bool)> m_around;
};
