#include "framework/version_info.h"

#include <cstdio>

CVersionInfo::CVersionInfo() {
    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0)
        return;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return;
    m_block.assign(size, 0);
    if (!GetFileVersionInfoA(path, 0, size, m_block.data())) {
        m_block.clear();
        return;
    }
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(m_block.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO))
        m_pFixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (VerQueryValueA(m_block.data(), "\\VarFileInfo\\Translation", &value, &length) &&
        length >= 4) {
        const WORD* pair = static_cast<const WORD*>(value);
        m_language = pair[0];
        m_codePage = pair[1];
    }
}

std::array<uint16_t, 4> CVersionInfo::GetFileVersion() const {
    if (!m_pFixed)
        return {0, 0, 0, 0};
    return {HIWORD(m_pFixed->dwFileVersionMS), LOWORD(m_pFixed->dwFileVersionMS),
            HIWORD(m_pFixed->dwFileVersionLS), LOWORD(m_pFixed->dwFileVersionLS)};
}

std::string CVersionInfo::GetFileVersionText() const {
    if (!m_pFixed)
        return std::string();
    const std::array<uint16_t, 4> v = GetFileVersion();
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
    return text;
}

std::string CVersionInfo::QueryString(const char* name) const {
    if (m_block.empty())
        return std::string();
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\%s", m_language, m_codePage,
                  name);
    void* value = nullptr;
    UINT length = 0;
    // The block is read-only here; the query only hands out pointers into it.
    if (!VerQueryValueA(const_cast<uint8_t*>(m_block.data()), query, &value, &length) ||
        length == 0)
        return std::string();
    return std::string(static_cast<const char*>(value));
}
