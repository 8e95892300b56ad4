#pragma once
// The console tool's side of the form's operations: messages printed (those
// of failures on standard error), questions answered from an option or asked
// on the console, listings printed, a download's progress as a bar.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/operator.h"
#include "operations/form_operations.h"

// Lists on standard error the codes that face (in the ANSI code page) has no
// glyph for, which are registered as its empty box; where, if given, names
// the file they belong to.
void PrintMissingGlyphs(const std::string& face, const std::vector<uint16_t>& codes,
                        const std::wstring& where = L"");

class ConsoleFrontEnd : public Operator, public FormDisplay {
public:
    // answer: the yes|no option's value, nothing when not given; windowCaption:
    // the chosen model's caption, which the font-realisation failure names.
    explicit ConsoleFrontEnd(std::optional<bool> answer = std::nullopt,
                             std::wstring windowCaption = L"");
    ~ConsoleFrontEnd() override { EndProgressLine(); }

    // Standard output carries only what the command writes itself (its
    // JSON): messages go to standard error and listings are not printed.
    void KeepStandardOutput() { m_bKeepOut = true; }

    void ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) override;
    void ShowMessageAbout(unsigned id, const std::string& subject) override;
    void ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                               unsigned detailId, const std::vector<std::string>& values) override;
    bool AskYesNo(unsigned id) override;
    // A no names what stays as it was and the option that says yes.
    bool AskYesNoAbout(unsigned id, const std::string& line) override;
    // The message, then the file and the system's reason on a line of their own.
    void ShowFileMessage(unsigned id, const std::string& path, uint32_t systemError) override;
    void ShowWideFileMessage(unsigned id, const std::wstring& path, uint32_t systemError) override;

    void ShowRegisteredData(const RegisteredData& data, int extent) override;
    void CharacterSent(uint32_t count, uint32_t index) override;
    void GlyphsMissing(const std::string& face, const std::vector<uint16_t>& codes) override;

    // The progress bar's row is done: what follows starts a row of its own.
    void EndProgressLine();

private:
    std::optional<bool> m_answer;
    std::wstring m_strWindowCaption;
    bool m_bKeepOut = false;
    bool m_bProgressShown = false;
    unsigned long long m_progressDrawnAt = 0; // GetTickCount64 of the last drawing
};
