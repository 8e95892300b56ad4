#pragma once
// An edit with a text limit that takes a paste whole or not at all: the
// system would cut it to the limit, so that "007" in a two-digit field
// became "00".
#include <windows.h>

void RefuseCutPastes(HWND edit);
