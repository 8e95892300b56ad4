#include "framework/code_page_text.h"

std::wstring FromCodePage(const std::string& text, UINT codePage) {
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &out[0], size);
    return out;
}

namespace {

std::string Convert(const std::wstring& text, UINT codePage, DWORD flags, BOOL* usedDefault) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, usedDefault);
    if (size <= 0)
        return std::string();
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), &out[0], size, nullptr,
                        usedDefault);
    return out;
}

} // namespace

size_t CodePageSize(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return 0;
    const int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    return size > 0 ? size_t(size) : 0;
}

std::string ToCodePage(const std::wstring& text, UINT codePage) {
    return Convert(text, codePage, 0, nullptr);
}

std::optional<std::string> ToCodePageExactly(const std::wstring& text, UINT codePage) {
    BOOL usedDefault = FALSE;
    const std::string out = Convert(text, codePage, WC_NO_BEST_FIT_CHARS, &usedDefault);
    // The way back catches what the flags let through: a best-fit mapping
    // that a code page's own table makes, a lone surrogate.
    if (usedDefault || out.empty() != text.empty() || FromCodePage(out, codePage) != text)
        return std::nullopt;
    return out;
}
