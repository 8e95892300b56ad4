#include "framework/data_exchange.h"

#include "framework/code_page_text.h"
#include "framework/window.h"

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.saveAndValidate)
        value = WindowTextAnsi(control);
    else
        SetWindowTextTo(control, FromCodePage(value));
}
