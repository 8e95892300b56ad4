#include "fontdata/win_code_page_conversion.h"

#include <windows.h>

bool IsWindowsNt4() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return false;
#pragma GCC diagnostic pop
    return info.dwMajorVersion == 4 && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

CWinCodePageConversion::CWinCodePageConversion() : m_bNt4(IsWindowsNt4()) {}

bool CWinCodePageConversion::UnitToCodePage(uint16_t unit, uint32_t codePage, uint8_t bytes[2],
                                            int* byteCount) const {
    const WCHAR wide = unit;
    BOOL usedDefault = FALSE;
    // UTF-8 and UTF-7 refuse the used-default flag; no font code page is either.
    *byteCount = WideCharToMultiByte(codePage, 0, &wide, 1, reinterpret_cast<LPSTR>(bytes), 2,
                                     nullptr, &usedDefault);
    return !usedDefault;
}

uint16_t CWinCodePageConversion::ByteToUnit(uint8_t b, uint32_t codePage) const {
    const char text[2] = {static_cast<char>(b), 0};
    WCHAR units[2] = {0, 0};
    MultiByteToWideChar(codePage, 0, text, 2, units, 2);
    return units[0];
}
