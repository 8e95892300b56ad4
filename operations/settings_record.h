#pragma once
// The registration being composed: plain settings with setters, no validation
// (the form and the console check every value before storing it), and the
// font header derived from them. The main window's document holds them.
#include <cstdint>
#include <string>

#include "fontdata/font_header.h"
#include "fontdata/logfont.h"

class SettingsRecord {
public:
    SettingsRecord();

    void SetFaceName(const std::string& name) { m_strFaceName = name; }
    void SetRegName(const std::string& name) { m_strRegName = name; }
    void SetPointSize(int32_t points) { m_nPointSize = points; }
    void SetRangeStart(int32_t code) { m_nRangeStart = code; }
    void SetRangeEnd(int32_t code) { m_nRangeEnd = code; }
    void SetBold(int32_t bold) { m_bBold = bold; }
    void SetItalic(int32_t italic) { m_bItalic = italic; }
    void SetUnicodeFile(int32_t unicode) { m_bUnicodeFile = unicode; }
    void SetVertical(int32_t vertical) { m_bVertical = vertical; }
    void SetCodeStart(uint16_t code) { m_wCodeStart = code; }
    void SetCodeEnd(uint16_t code) { m_wCodeEnd = code; }
    void SetCharCount(uint16_t count) { m_wCharCount = count; }
    void SetFontHeader(const FontHeader& header) { m_fontHeader = header; }
    void SetDataFileName(const std::string& name) { m_strDataFileName = name; }
    void SetLogFont(const LOGFONTA& logFont) { m_logFont = logFont; }

    std::string GetFaceName() const { return m_strFaceName; }
    std::string GetRegName() const { return m_strRegName; }
    int32_t GetPointSize() const { return m_nPointSize; }
    // The one-byte range the form's code fields show after start-up and Load.
    int32_t GetRangeStart() const { return m_nRangeStart; }
    int32_t GetRangeEnd() const { return m_nRangeEnd; }
    int32_t GetBold() const { return m_bBold; }
    int32_t GetItalic() const { return m_bItalic; }
    int32_t GetUnicodeFile() const { return m_bUnicodeFile; }
    int32_t GetVertical() const { return m_bVertical; }
    // The one-byte range the form last accepted, and the number of
    // characters of the last Save, Download or Load.
    uint16_t GetCodeStart() const { return m_wCodeStart; }
    uint16_t GetCodeEnd() const { return m_wCodeEnd; }
    uint16_t GetCharCount() const { return m_wCharCount; }
    const FontHeader& GetFontHeader() const { return m_fontHeader; }
    std::string GetDataFileName() const { return m_strDataFileName; }
    const LOGFONTA& GetLogFont() const { return m_logFont; }

    // The stored header with its settings fields written from the settings;
    // every other byte is kept.
    FontHeader BuildFontHeader() const;
    // Restores the settings that the stored header carries.
    void ApplyFontHeader();

private:
    std::string m_strFaceName;
    std::string m_strRegName;
    int32_t m_nPointSize = 10;
    int32_t m_nRangeStart = 32;
    int32_t m_nRangeEnd = 255;
    int32_t m_bBold = 0;
    int32_t m_bItalic = 0;
    int32_t m_bUnicodeFile = 0;
    int32_t m_bVertical = 0;
    uint16_t m_wCodeStart = 0;
    uint16_t m_wCodeEnd = 0;
    uint16_t m_wCharCount = 0;
    FontHeader m_fontHeader;
    std::string m_strDataFileName;
    LOGFONTA m_logFont{};
};

// The default face, "ＭＳ 明朝" in the Shift_JIS of a Japanese workstation.
extern const char kDefaultFaceName[];
