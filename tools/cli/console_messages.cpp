#include "tools/cli/console_messages.h"

#include "tools/cli/console.h"

void ConsoleMessages::Report(const UserMessage& message) {
    // A message with a caption of its own (a port failure, the font that
    // cannot be realised) keeps it: it tells which part of the work failed.
    const std::wstring prefix = message.caption.empty() ? L"" : message.caption + L": ";
    console::Err(prefix + LoadText(message.id) + L"\n");
}
