// glyphkit-console-screen COLUMNS PROGRAM [ARGS...]: runs PROGRAM with its
// standard error on a console of its own, COLUMNS wide, and then prints what
// that console shows, for the integration tests in the native tree. Needs a
// display (Wine draws the console in a window).
//
// Output: the program's standard output, then "screen:" and the console's
// rows up to its cursor, each without trailing blanks, then "exit: N".
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    for (wchar_t c : arg)
        quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    return quoted + L"\"";
}

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

int Fail(const wchar_t* what) {
    Print(std::wstring(L"console-screen: ") + what + L" failed: " +
          std::to_wstring(GetLastError()) + L"\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return Fail(L"usage: COLUMNS PROGRAM [ARGS...]; reading the arguments");
    const SHORT columns = SHORT(_wtoi(argv[1]));
    // Standard output stays the pipe the test reads.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    FreeConsole();
    if (!AllocConsole())
        return Fail(L"AllocConsole");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info))
        return Fail(L"opening the console");
    // The window first: the buffer may not be narrower than it.
    SMALL_RECT window{0, 0, SHORT(columns - 1), SHORT(info.srWindow.Bottom - info.srWindow.Top)};
    if (!SetConsoleWindowInfo(screen, TRUE, &window) ||
        !SetConsoleScreenBufferSize(screen, COORD{columns, 200}))
        return Fail(L"narrowing the console");
    SetStdHandle(STD_OUTPUT_HANDLE, out);
    SetHandleInformation(out, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    std::wstring command;
    for (int i = 2; i < argc; ++i)
        command += (i > 2 ? L" " : L"") + Quoted(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = screen;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return Fail(L"starting the program");
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    GetConsoleScreenBufferInfo(screen, &info);
    std::wstring text = L"screen:\n";
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
        std::wstring line(size_t(info.dwSize.X), L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, line.data(), DWORD(line.size()), COORD{0, row}, &read);
        line.resize(read);
        while (!line.empty() && line.back() == L' ')
            line.pop_back();
        text += line + L"\n";
    }
    Print(text + L"exit: " + std::to_wstring(status) + L"\n");
    return 0;
}
