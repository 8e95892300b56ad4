#pragma once
// Output of glyphkit-cli: wide text on a console, UTF-8 when redirected (so
// scripts on any system can read it); errors go to standard error.
#include <string>

namespace console {

void Out(const std::wstring& text);
void Err(const std::wstring& text);
// Text in the workstation's ANSI code page (face names, registration names).
std::wstring FromAnsi(const std::string& text);
std::string ToAnsi(const std::wstring& text);
// UTF-8 text, as plan files hold it.
std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);
// Whether standard error is a console, where a line can be drawn over.
bool ErrIsConsole();

} // namespace console
