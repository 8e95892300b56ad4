#pragma once
// The printer models the operator chooses from at start-up. The choice fixes
// the rendering resolution, the dots per millimetre of logo sizes and the
// main window's caption for the whole run.
#include <cstring>

struct PrinterModel {
    const char* name;       // as the console tool names it
    int resolution;         // dots per inch
    int dotsPerMm;          // for logo sizes in millimetres
    const wchar_t* caption; // "%sグリフキット" with the name
};

// Index = position of the chosen button in the model selection dialog. The
// first row stands for the whole compact family (QC150 to QC180).
inline constexpr PrinterModel kPrinterModels[] = {
    {"QC150", 203, 8, L"QC150グリフキット"},
    {"QW300", 203, 8, L"QW300グリフキット"},
    {"QW400", 305, 12, L"QW400グリフキット"},
};

// The row with this model name, or null.
inline const PrinterModel* FindPrinterModel(const char* name) {
    for (const PrinterModel& model : kPrinterModels)
        if (std::strcmp(model.name, name) == 0)
            return &model;
    return nullptr;
}
