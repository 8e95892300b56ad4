#pragma once
// The platform's code-page conversions (MultiByteToWideChar,
// WideCharToMultiByte, flags 0) and the operating-system test.
#include "fontdata/code_page.h"

class CWinCodePageConversion : public CodePageConversion {
public:
    CWinCodePageConversion();
    bool UnitToCodePage(uint16_t unit, uint32_t codePage, uint8_t bytes[2],
                        int* byteCount) const override;
    uint16_t ByteToUnit(uint8_t b, uint32_t codePage) const override;
    bool KeepsInexpressibleUnits() const override { return m_bNt4; }

private:
    bool m_bNt4;
};

// True only when the system reports major version 4 on the NT platform.
bool IsWindowsNt4();
