#include "tools/cli/file_problem.h"

#include <windows.h>

std::wstring FileProblem(const std::wstring& path, uint32_t systemError) {
    if (systemError == 0)
        return path;
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, systemError, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring reason = length > 0 && text ? std::wstring(text, length)
                                             : L"system error " + std::to_wstring(systemError);
    if (text)
        LocalFree(text);
    // The system's texts end with a line break, some after a space.
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return path + L": " + reason;
}
