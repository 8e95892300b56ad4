#pragma once
// Message maps as data: a static table per class from control ID and
// notification code to a member handler, read like the handler tables of the
// design. The table stands in the class's command hook, where its private
// handlers are in reach, and the hook looks its WM_COMMAND up in it.
#include <windows.h>

#include <cstddef>

// The code of a menu or accelerator command, which a table entry takes from
// either.
constexpr int kMenuCommand = -1;

template <class T> struct CommandEntry {
    int id;
    int code; // BN_CLICKED, EN_KILLFOCUS, CBN_SELCHANGE, ..., kMenuCommand
    void (T::*handler)();
};

// Runs the handler for (id, code); false when the table has none.
template <class T, size_t N>
bool DispatchCommand(T& target, const CommandEntry<T> (&map)[N], int id, int code) {
    for (const CommandEntry<T>& entry : map) {
        if (entry.id == id && entry.code == code) {
            (target.*entry.handler)();
            return true;
        }
    }
    return false;
}
