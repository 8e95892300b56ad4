#include "framework/data_exchange.h"

#include "framework/window.h"

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.saveAndValidate)
        value = WindowTextAnsi(control);
    else
        SetWindowTextTo(control, FromAnsi(value));
}

void DDX_Check(CDataExchange& dx, int id, bool& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.saveAndValidate)
        value = IsChecked(control);
    else
        SetChecked(control, value);
}
