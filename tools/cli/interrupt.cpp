#include "tools/cli/interrupt.h"

#include <windows.h>

namespace {

// The system calls the handler on a thread of its own: it only sets the flag,
// which the ports' threads read between exchanges and before every read.
std::atomic<std::atomic<bool>*> g_flag{nullptr};

BOOL WINAPI OnControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    if (std::atomic<bool>* flag = g_flag.load())
        *flag = true;
    return TRUE;
}

} // namespace

InterruptFlag::InterruptFlag(std::atomic<bool>& flag) {
    g_flag = &flag;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptFlag::~InterruptFlag() {
    SetConsoleCtrlHandler(OnControl, FALSE);
    g_flag = nullptr;
}
