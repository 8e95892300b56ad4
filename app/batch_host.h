#pragma once
// What the batch provisioning window needs from the application: the model
// and fonts its registrations are rendered with, the form's registration,
// and the download it must not run beside. The application implements it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "operations/installed_families.h"
#include "operations/printer_model.h"

class BatchHost {
public:
    virtual ~BatchHost() = default;
    virtual const PrinterModel& Model() const = 0;
    virtual HDC Reference() const = 0;
    virtual const InstalledFamilies& Families() const = 0;
    // The form saved as 保存 saves it: its registration ID and file; nothing
    // when refused (the form, or idFree, said why) or cancelled. idFree is
    // asked whether the plan takes the form's ID before the save dialog.
    virtual std::optional<std::pair<int, std::wstring>>
    SaveFormForPlan(const std::function<bool(int id)>& idFree) = 0;
    virtual bool DownloadRunning() const = 0;
    // A batch starts (true) or has ended: the main window holds its printer
    // commands meanwhile.
    virtual void BatchRunning(bool running) = 0;
};
