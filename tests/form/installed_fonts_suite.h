#pragma once
// A test suite's display context and installed-font list: made once before
// the suite's first test, gone after its last. Base is the suite's GoogleTest
// fixture base.
#include <windows.h>

#include "form/font_family_list.h"

template <class Base> class WithInstalledFonts : public Base {
protected:
    static void SetUpTestSuite() {
        s_screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        s_fonts = new CFontFamilyList(s_screen);
    }
    static void TearDownTestSuite() {
        delete s_fonts;
        s_fonts = nullptr;
        DeleteDC(s_screen);
        s_screen = nullptr;
    }

    static inline HDC s_screen = nullptr;
    static inline CFontFamilyList* s_fonts = nullptr;
};
