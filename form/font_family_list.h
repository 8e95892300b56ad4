#pragma once
// The installed font families the main window's font selection lists, built
// once at start-up from the display context.
#include "operations/installed_families.h"

class CFontFamilyList : public InstalledFamilies {
public:
    using InstalledFamilies::InstalledFamilies;
};
