#include "tools/cli/listing_json.h"

#include "framework/code_page_text.h"
#include "tools/cli/json_text.h"

std::wstring EntriesJson(const std::vector<CFontPT>& records) {
    std::wstring json = L"[";
    for (size_t i = 0; i < records.size(); ++i) {
        const CFontPT& record = records[i];
        const std::wstring bytes = std::to_wstring(record.m_nDataSize);
        json += std::wstring(i ? L"," : L"") + L"{\"id\":" + std::to_wstring(record.m_nId) +
                L",\"name\":" + JsonString(FromCodePage(record.m_szName)) + L",\"kind\":\"" +
                (record.IsLogo() ? L"logo" : L"font") + L"\",\"characters\":" +
                std::to_wstring(record.m_nCharCount) + L",\"bytes\":" + bytes + L",\"size\":" +
                bytes + L"}";
    }
    return json + L"]";
}
