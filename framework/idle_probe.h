#pragma once
// Lets a program that drives the window from outside (the window tests) know
// when this one has done all it was asked. Sent to the main window, the
// message registered as kIdleProbeMessage answers the count kept in the main
// window's property kIdleCountProperty; the count goes up once the program
// has run out of messages and waits for the user, in its own loop or in a
// modal one (a message box, a file dialog), with its drawing on the screen.
#include <windows.h>

inline constexpr wchar_t kIdleProbeMessage[] = L"GlyphkitIdleProbe";
inline constexpr wchar_t kIdleCountProperty[] = L"GlyphkitIdleCount";

// For the main window's procedure: true when it took the message.
bool HandleIdleProbe(HWND mainWindow, UINT message, WPARAM wParam, LRESULT* result);
