#include "operations/memory_usage_text.h"

#include <cwchar>

#include "framework/message_text.h"
#include "res/resource_ids.h"

std::wstring MemoryUsageText(const RegisteredData& data) {
    if (!data.MemoryAvailable())
        return LoadText(IDS_MEMORY_USAGE_NA);
    wchar_t text[128];
    std::swprintf(text, 128, LoadText(IDS_MEMORY_USAGE).c_str(), data.MemoryKilobytes());
    return text;
}
