#include "tools/cli/installed_fonts.h"

#include <memory>

HDC DisplayContext() {
    static HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    return display;
}

const CFontFamilyList& InstalledFonts() {
    static std::unique_ptr<CFontFamilyList> list(new CFontFamilyList(DisplayContext()));
    return *list;
}
