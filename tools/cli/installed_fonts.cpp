#include "tools/cli/installed_fonts.h"

#include <memory>

#include "tools/cli/console.h"

HDC DisplayContext() {
    static HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    return display;
}

const CFontFamilyList& InstalledFonts() {
    static std::unique_ptr<CFontFamilyList> list(new CFontFamilyList(DisplayContext()));
    return *list;
}

std::optional<LOGFONTA> FindInstalledFace(const std::wstring& face) {
    LOGFONTA logFont{};
    if (!InstalledFonts().Lookup(console::ToAnsi(face).c_str(), &logFont))
        return std::nullopt;
    return logFont;
}
