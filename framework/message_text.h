#pragma once
// Texts of the string table, and the one seam through which the lower layers
// report a message to the operator: the user interface turns it into a
// message box, the console tool prints it.
#include <string>

// The text of string id, empty when the executable does not carry it.
std::wstring LoadText(unsigned id);

struct UserMessage {
    unsigned id = 0;      // string-table ID of the text
    std::wstring caption; // empty: the usual result caption (string 258)
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Report(const UserMessage& message) = 0;
};
