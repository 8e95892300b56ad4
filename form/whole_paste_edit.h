#pragma once
// An edit with a text limit that takes a paste whole or not at all: the
// system would cut it to the limit, so that "007" in a two-digit field
// became "00". A refused paste beeps and tells the parent kPasteRefused, or
// says the limit in a balloon on the field.
#include <windows.h>

#include <cstddef>
#include <string>

// The notification (WM_COMMAND's code) of a refused paste; an application's
// own, apart from the system's EN_ codes.
constexpr WORD kPasteRefused = 0x8501;

// The limit is the edit's own, in characters.
void RefuseCutPastes(HWND edit);
// The limit is in bytes of the system's code page, as a name's field in a
// font header counts them; a refused paste shows the balloon title and text,
// until a key, a click or the focus moves on.
void RefuseCutPastesOverBytes(HWND edit, size_t bytes, const std::wstring& tipTitle,
                              const std::wstring& tipText);
