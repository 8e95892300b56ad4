#include "fontdata/code_page.h"

uint32_t CharsetToCodePage(uint8_t charset) {
    switch (charset) {
    case 128:
        return 932; // SHIFTJIS_CHARSET
    case 129:
        return 949; // HANGUL_CHARSET
    case 134:
        return 936; // GB2312_CHARSET
    case 136:
        return 950; // CHINESEBIG5_CHARSET
    default:
        return kWesternCodePage;
    }
}
