#pragma once
// Data exchange between a dialog's controls and the fields bound to them:
// UpdateData(false) puts the fields into the controls, UpdateData(true)
// takes the controls back into the fields.
#include <windows.h>

#include <string>

struct CDataExchange {
    HWND dialog;
    bool saveAndValidate; // true: controls into fields
};

// An edit's text, in the ANSI code page.
void DDX_Text(CDataExchange& dx, int id, std::string& value);
