#include "tools/cli/installed_fonts.h"

#include <memory>

#include "framework/dc.h"

// Made at the first use and deleted when the program ends, after the font
// list that was made from it.
HDC DisplayContext() {
    static const ScopedDisplayDC display;
    return display.Get();
}

const InstalledFamilies& InstalledFonts() {
    static std::unique_ptr<InstalledFamilies> list(new InstalledFamilies(DisplayContext()));
    return *list;
}
