#pragma once
// A test suite's display context and installed-font list: made once before
// the suite's first test, gone after its last. Base is the suite's GoogleTest
// fixture base.
#include <windows.h>

#include "operations/installed_families.h"

template <class Base> class WithInstalledFonts : public Base {
protected:
    static void SetUpTestSuite() {
        s_screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        s_fonts = new InstalledFamilies(s_screen);
    }
    static void TearDownTestSuite() {
        delete s_fonts;
        s_fonts = nullptr;
        DeleteDC(s_screen);
        s_screen = nullptr;
    }

    static inline HDC s_screen = nullptr;
    static inline InstalledFamilies* s_fonts = nullptr;
};
