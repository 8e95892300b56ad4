#pragma once
// The display context and the installed-font list, made once per run as the
// application does at start-up.
#include <windows.h>

#include <optional>
#include <string>

#include "form/font_family_list.h"

HDC DisplayContext();
const CFontFamilyList& InstalledFonts();

// The family record of a face given on the command line, if installed.
std::optional<LOGFONTA> FindInstalledFace(const std::wstring& face);
