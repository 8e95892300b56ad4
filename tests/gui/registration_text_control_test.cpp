// The registration-text control in this process: what the form reads back
// is exactly what was put in, up to the longest text a download takes.
#include <gtest/gtest.h>

#include <string>

#include "form/registration_text_control.h"

TEST(RegistrationTextControl, TextComesBackWholeAtEveryLength) {
    ASSERT_TRUE(AkctlEntry());
    HWND control = CreateWindowExW(0, L"KEDIT", L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                   200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    for (size_t length :
         {size_t(0), size_t(1), size_t(65534), size_t(65535), size_t(65536), size_t(70000)}) {
        std::u16string text;
        for (size_t i = 0; i < length; ++i)
            text += i % 65 == 64 ? u'\n' : char16_t(0x3042 + i % 80);
        SetRegistrationText(control, text);
        EXPECT_EQ(SendMessageW(control, KEDIT_GETLENGTH, 1, 0), LRESULT(length));
        EXPECT_TRUE(ReadRegistrationText(control) == text) << length;
    }
    // Text in the system code page (Shift_JIS here), and clearing.
    SendMessageW(control, KEDIT_SETTEXT, 0,
                 LPARAM("\x82\xa0"
                        "A"));
    EXPECT_TRUE(ReadRegistrationText(control) == u"\u3042A");
    ClearRegistrationText(control);
    EXPECT_EQ(SendMessageW(control, KEDIT_GETLENGTH, 1, 0), 0);
    DestroyWindow(control);
}
