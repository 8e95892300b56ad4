// A list view's texts read from outside its program: the control writes them
// into memory of its own process, which is lent for the read.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "tools/gui_driver/gui_driver.h"

namespace gui {

int ListViewRows(HWND list) {
    return int(Send(list, LVM_GETITEMCOUNT));
}

std::wstring ListViewText(HWND list, int row, int column) {
    DWORD id = 0;
    GetWindowThreadProcessId(list, &id);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process)
        return L"";
    const size_t chars = 1024;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + chars * sizeof(wchar_t),
                                  MEM_COMMIT, PAGE_READWRITE);
    std::wstring text;
    if (remote) {
        auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = remoteText;
        item.cchTextMax = int(chars);
        SIZE_T moved = 0;
        std::vector<wchar_t> buffer(chars + 1, L'\0');
        if (WriteProcessMemory(process, remote, &item, sizeof item, &moved) &&
            Send(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(remote)) >= 0 &&
            ReadProcessMemory(process, remoteText, buffer.data(), chars * sizeof(wchar_t), &moved))
            text = buffer.data();
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

} // namespace gui
