#pragma once
// The version information of the running executable: the file version and
// the strings of its first translation. Without readable information every
// query gives an empty text.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CVersionInfo {
public:
    CVersionInfo();

    bool HasBlock() const { return !m_block.empty(); }
    // The file version a.b.c.d; all zero without a block.
    std::array<uint16_t, 4> GetFileVersion() const;
    // The file version as dotted decimal numbers ("9.1.0.20"); empty
    // without a block.
    std::string GetFileVersionText() const;
    std::string GetFileDescription() const { return QueryString("FileDescription"); }
    std::string GetLegalCopyright() const { return QueryString("LegalCopyright"); }
    std::string GetOriginalFilename() const { return QueryString("OriginalFilename"); }

private:
    std::string QueryString(const char* name) const;

    std::vector<uint8_t> m_block;
    const VS_FIXEDFILEINFO* m_pFixed = nullptr;
    WORD m_language = 0;
    WORD m_codePage = 0;
};
