#pragma once
// What the main form needs from the application that holds it: the model
// choice and the frame's size, the installed fonts, the display context, the
// chosen model's values and the printer. The application implements it.
#include <windows.h>

#include "printer/printer_address.h"

class CFontFamilyList;

class FormHost {
public:
    virtual ~FormHost() = default;
    // Sizes the main window to the form and centres it.
    virtual void FitFrameToForm() = 0;
    // The model choice; returns only when a model was chosen.
    virtual void SelectPrinterModel() = 0;
    virtual const CFontFamilyList& Fonts() const = 0;
    virtual HDC DisplayContext() const = 0;
    virtual int Resolution() const = 0;
    // The printer the form's printer commands talk to.
    virtual PrinterAddress Printer() const = 0;
    // Dots per millimetre of the chosen model, for logo sizes.
    virtual int DotsPerMm() const = 0;
    // A download runs (true) or has ended (false): the application greys
    // its menu commands that would disturb it (the COM port, the check).
    virtual void TransferRunning(bool /*running*/) {}
};
