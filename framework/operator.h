#pragma once
// The one way the operations talk to the operator: show a message of the
// string table, ask a yes/no question. The main form answers with message
// boxes, the console tool prints and answers from its options, tests record.
// Lower layers hand over string IDs and kinds only; the texts and captions
// are the front end's.
#include <cstdint>
#include <string>
#include <vector>

enum class MessageKind {
    Warning,    // exclamation icon, brought to the foreground
    Plain,      // OK only, no icon
    Information // information icon
};

enum class MessageCaption {
    Result,      // "実行結果" (IDS_RESULT_CAPTION), the usual one
    Application, // the application's name
    MainWindow   // the main window's title (the chosen model's caption)
};

class Operator {
public:
    virtual ~Operator() = default;
    virtual void ShowMessage(unsigned id, MessageKind kind = MessageKind::Warning,
                             MessageCaption caption = MessageCaption::Result) = 0;
    // A warning whose text names subject (ANSI text) where it says "%1".
    virtual void ShowMessageAbout(unsigned id, const std::string& subject) = 0;
    // The message with a second line: detailId's text with %1, %2, ...
    // replaced by values (ANSI text) in order. A front end without room for
    // it shows the message alone.
    virtual void ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                                       unsigned /*detailId*/,
                                       const std::vector<std::string>& /*values*/) {
        ShowMessage(id, kind, caption);
    }
    // Yes/No with the exclamation icon; true for Yes.
    virtual bool AskYesNo(unsigned id) = 0;
    // The same question with a second line (ANSI text) naming what it is
    // about; a front end without room for it asks the question alone.
    virtual bool AskYesNoAbout(unsigned id, const std::string& /*line*/) { return AskYesNo(id); }
    // A warning about the file at path, which could not be opened, read or
    // written; systemError is the system's error code, 0 when it gave none.
    // The message alone is what the main form shows; the console tool adds
    // the file and the system's reason.
    virtual void ShowFileMessage(unsigned id, const std::string& /*path*/,
                                 uint32_t /*systemError*/) {
        ShowMessage(id);
    }
    // The same for a path written in UTF-16, which the code page may not
    // hold; a front end that takes no such paths shows the message alone.
    virtual void ShowWideFileMessage(unsigned id, const std::wstring& /*path*/,
                                     uint32_t /*systemError*/) {
        ShowMessage(id);
    }
};
