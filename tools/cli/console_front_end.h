#pragma once
// The console tool's side of the form's operations: messages printed (those
// of failures on standard error), questions answered from an option or asked
// on the console, listings printed, a download's progress as a bar.
#include <optional>
#include <string>

#include "form/form_operations.h"
#include "framework/operator.h"

class ConsoleFrontEnd : public Operator, public FormDisplay {
public:
    // answer: the yes|no option's value, nothing when not given; windowCaption:
    // the chosen model's caption, which the font-realisation failure names.
    explicit ConsoleFrontEnd(std::optional<bool> answer = std::nullopt,
                             std::wstring windowCaption = L"");
    ~ConsoleFrontEnd() override { EndProgressLine(); }

    void ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) override;
    bool AskYesNo(unsigned id) override;

    void ShowRegisteredData(const RegisteredData& data) override;
    void CharacterSent(uint32_t count, uint32_t index) override;

private:
    void EndProgressLine();

    std::optional<bool> m_answer;
    std::wstring m_strWindowCaption;
    bool m_bProgressShown = false;
};
