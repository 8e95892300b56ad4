#pragma once
// Where glyphkit-cli sends what the lower layers report to the operator.
#include "framework/message_text.h"

// Prints each message on standard error as a box would show it: its caption
// first when it has its own, then the text of the string table.
class ConsoleMessages : public MessageSink {
public:
    void Report(const UserMessage& message) override;
};
