#include "tools/cli/json_text.h"

#include <cwchar>

std::wstring JsonString(const std::wstring& text) {
    std::wstring json = L"\"";
    for (wchar_t c : text) {
        switch (c) {
        case L'"':
            json += L"\\\"";
            break;
        case L'\\':
            json += L"\\\\";
            break;
        case L'\n':
            json += L"\\n";
            break;
        case L'\r':
            json += L"\\r";
            break;
        case L'\t':
            json += L"\\t";
            break;
        default:
            // The other control characters have no short escape. U+2028 and
            // U+2029 are valid in JSON but end a line for JavaScript, whose
            // readers would see the object cut in two.
            if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029) {
                wchar_t escaped[8];
                std::swprintf(escaped, 8, L"\\u%04X", unsigned(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + L"\"";
}

std::wstring JsonNumbers(const std::vector<uint64_t>& numbers) {
    std::wstring json = L"[";
    for (size_t i = 0; i < numbers.size(); ++i)
        json += (i ? L"," : L"") + std::to_wstring(numbers[i]);
    return json + L"]";
}
