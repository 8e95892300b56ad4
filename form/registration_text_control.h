#pragma once
// The registration-text control: a multi-line Unicode edit of the window
// class "KEDIT", registered once by AkctlEntry before the form is made. It
// answers the standard edit messages and three of its own.
#include <windows.h>

#include <string>

#define KEDIT_GETLENGTH 0x604 // wParam 1: the number of UTF-16 units
// wParam: low word the buffer's capacity in units with the terminator (0
// stands for 65536, the capacity of a 65535-unit text), high word 1;
// lParam: the buffer. Copies at most capacity - 1 units and a terminator.
#define KEDIT_GETTEXTW 0x60C
// wParam 1: lParam is UTF-16, 0: in the system code page; replaces the text.
#define KEDIT_SETTEXT 0x618

// Registers the class; false when it could not be registered.
bool AkctlEntry();

// The whole text of the control, as the form's checks and builds read it.
std::u16string ReadRegistrationText(HWND control);
void SetRegistrationText(HWND control, const std::u16string& text);
// Selects the whole text and deletes it.
void ClearRegistrationText(HWND control);
