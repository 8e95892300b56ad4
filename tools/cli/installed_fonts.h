#pragma once
// What the application sets up at start-up and the console tool once per
// run: the display context, the installed-font list, and the form's
// operations over a settings document with the console as their front end.
#include <windows.h>

#include <optional>
#include <string>

#include "operations/form_operations.h"
#include "operations/installed_families.h"
#include "operations/settings_record.h"
#include "tools/cli/console_front_end.h"

HDC DisplayContext();
const InstalledFamilies& InstalledFonts();

struct FormSession {
    explicit FormSession(std::optional<bool> answer = std::nullopt,
                         std::wstring windowCaption = L"")
        : frontEnd(answer, std::move(windowCaption)),
          operations(doc, InstalledFonts(), frontEnd, frontEnd) {}

    SettingsRecord doc;
    ConsoleFrontEnd frontEnd;
    CFormOperations operations;
};
