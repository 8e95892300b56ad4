#pragma once
// The question a download asks before it replaces a registered ID, with a
// second line that names what it would replace.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/operator.h"
#include "printer/font_pt.h"

// "ID%02d", followed by the entry's name when the listing holds the ID.
std::string OverwriteQuestionLine(const std::vector<CFontPT>& listing, int id);

// Passes everything on to the operator, and asks the overwrite question
// with line below it.
class OverwriteQuestionNaming : public Operator {
public:
    OverwriteQuestionNaming(Operator& inner, std::string line)
        : m_inner(inner), m_line(std::move(line)) {}

    void ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) override {
        m_inner.ShowMessage(id, kind, caption);
    }
    void ShowMessageAbout(unsigned id, const std::string& subject) override {
        m_inner.ShowMessageAbout(id, subject);
    }
    bool AskYesNo(unsigned id) override;
    bool AskYesNoAbout(unsigned id, const std::string& line) override {
        return m_inner.AskYesNoAbout(id, line);
    }
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override {
        m_inner.ShowFileMessage(id, path, systemError);
    }

private:
    Operator& m_inner;
    std::string m_line;
};
