#include "app/list_view.h"

#include <commctrl.h>

void ListViewSetColumns(HWND list, const std::wstring& titles, const std::vector<int>& widths) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP);
    HWND dialog = GetParent(list);
    size_t start = 0;
    for (int column = 0; start <= titles.size() && column < int(widths.size()); ++column) {
        const size_t bar = titles.find(L'|', start);
        std::wstring title = titles.substr(start, bar - start);
        RECT width{0, 0, widths[size_t(column)], 0};
        MapDialogRect(dialog, &width);
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = &title[0];
        c.cx = width.right;
        SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(column), LPARAM(&c));
        if (bar == std::wstring::npos)
            break;
        start = bar + 1;
    }
}

void ListViewSetRow(HWND list, int row, const std::vector<std::wstring>& texts) {
    while (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
    }
    for (size_t column = 0; column < texts.size(); ++column) {
        // Only what changed is set: the timer redraws a line only then.
        wchar_t shown[512] = {};
        LVITEMW get{};
        get.iSubItem = int(column);
        get.pszText = shown;
        get.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&get));
        if (texts[column] == shown)
            continue;
        LVITEMW set{};
        set.iSubItem = int(column);
        set.pszText = const_cast<wchar_t*>(texts[column].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&set));
    }
}

void ListViewTruncate(HWND list, int count) {
    if (count == 0) {
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        return;
    }
    while (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > count)
        SendMessageW(list, LVM_DELETEITEM, WPARAM(count), 0);
}

std::vector<int> ListViewSelected(HWND list) {
    std::vector<int> rows;
    for (int row = -1;
         (row = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}
