#include "tools/cli/model_option.h"

#include "framework/code_page_text.h"
#include "tools/cli/commands.h"

int ReadModelOption(const CliArgs& args, const PrinterModel** model) {
    *model = nullptr;
    const std::optional<std::wstring> name = args.Value(L"model");
    if (!name)
        return 0;
    *model = FindPrinterModel(ToCodePage(*name).c_str());
    return *model ? 0 : UsageError(L"--model takes QC150, QW300 or QW400");
}
