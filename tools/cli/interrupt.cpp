#include "tools/cli/interrupt.h"

#include <windows.h>

#include <mutex>

#include "tools/cli/console.h"

namespace {

// The system calls the handler on a thread of its own. A run on several
// printers reads its flag between exchanges and before every read; anything
// else (reading a plan, rendering, a single printer's exchange) ends here,
// with the program: the system closes the port, and a printer keeps a
// partial download as after any failed character.
std::mutex g_mutex;
std::atomic<bool>* g_flag = nullptr;

constexpr DWORD kSayingMs = 2000;

DWORD WINAPI SayInterrupted(void*) {
    console::Err(console::ErrLineOpen() ? L"\nglyphkit-cli: interrupted\n"
                                        : L"glyphkit-cli: interrupted\n");
    return 0;
}

BOOL WINAPI OnControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    std::lock_guard<std::mutex> lock(g_mutex);
    // A second Ctrl+C does not wait for the ports.
    if (g_flag && !g_flag->exchange(true))
        return TRUE;
    // Said on a thread of its own and waited for a while only: standard
    // error may be a pipe nobody reads any more (a pager that was left), and
    // Ctrl+C must end the program all the same.
    if (HANDLE say = CreateThread(nullptr, 0, SayInterrupted, nullptr, 0, nullptr)) {
        WaitForSingleObject(say, kSayingMs);
        CloseHandle(say);
    }
    // No exit code of the runtime: the other threads stop where they are,
    // and nothing may run after them (no static destructors).
    TerminateProcess(GetCurrentProcess(), kInterruptedStatus);
    return TRUE;
}

} // namespace

void InstallInterruptHandler() {
    SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptFlag::InterruptFlag(std::atomic<bool>& flag) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_flag = &flag;
}

InterruptFlag::~InterruptFlag() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_flag = nullptr;
}
