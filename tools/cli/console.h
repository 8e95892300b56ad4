#pragma once
// Output of glyphkit-cli: wide text on a console, UTF-8 when redirected (so
// scripts on any system can read it); errors go to standard error.
#include <string>

namespace console {

void Out(const std::wstring& text);
void Err(const std::wstring& text);
// Whether standard input is a console, where the operator can be asked.
bool InIsConsole();
// Asks question on standard error with " [y/N] " and reads the answer from
// the console; true for yes.
bool AskOnConsole(const std::wstring& question);
// Whether standard error is a console, where a line can be drawn over.
bool ErrIsConsole();
// Whether the last text written to standard error left its line open (a
// progress bar drawn over with a carriage return).
bool ErrLineOpen();
// The columns of a line of the console standard error is; 0 when it is none.
int ErrColumns();
// Text cut to at most columns console columns (a wide character takes two).
std::wstring FitColumns(const std::wstring& text, int columns);
// The console columns text takes.
int ColumnsOf(const std::wstring& text);

} // namespace console
