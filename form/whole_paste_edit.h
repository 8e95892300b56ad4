#pragma once
// An edit with a text limit that takes a paste whole or not at all: the
// system would cut it to the limit, so that "007" in a two-digit field
// became "00". A refused paste beeps and tells the parent EN_MAXTEXT, as
// typing beyond the limit does.
#include <windows.h>

#include <cstddef>

// The limit is the edit's own, in characters.
void RefuseCutPastes(HWND edit);
// The limit is in bytes of the system's code page, as a name's field in a
// font header counts them.
void RefuseCutPastesOverBytes(HWND edit, size_t bytes);
