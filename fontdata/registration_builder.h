#pragma once
// Turns a checked registration into printer data: the code list, the font
// header, the native glyph records and the glyph bitmaps (the part Save and
// Download share), then either the download file with the download record or
// the bytes of a font data file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fontdata/glyph_rasterizer.h"
#include "fontdata/registration_builder_checks.h"

class CFontFamilyList;
class CFontPT;
class CGlyphkitDoc;

// The characters of a registration as the form hands them over after its
// checks: the text, and the one-byte range when the range switch is on.
struct RegistrationSource {
    std::u16string text;
    bool rangeOn = false;
    int codeStart = 32;
    int codeEnd = 255;
    std::string faceName; // the selected TrueType face, ANSI
};

// Where a build reports its messages and what it renders against.
struct BuildEnvironment {
    HDC reference = nullptr;                // the preview area's context
    int resolution = 203;                   // of the chosen printer model
    const CFontFamilyList* fonts = nullptr; // the installed-font list
    MessageSink* sink = nullptr;
    std::wstring caption; // the main window's title
};

// Most codes one registration holds.
constexpr uint32_t kMaxRegistrationCodes = 5000;

class CRegistrationBuilder {
public:
    explicit CRegistrationBuilder(BuildEnvironment environment);

    // Codes, header and rendering. Stores the face, n and the header's
    // settings fields in doc (and the family's font description when the face
    // is installed). False after a failure, reported through the sink except
    // when memory runs out.
    bool Build(CGlyphkitDoc& doc, const RegistrationSource& source);

    // Download: creates path (truncating it), checks the registration ID,
    // writes exactly the glyph data in one write and fills record. False after
    // a reported failure; the record is then unchanged.
    bool WriteDownloadFile(const std::string& path, const std::string& registrationId,
                           CFontPT* record);

    // Save: the bytes of the font data file, with the range as entered.
    std::vector<uint8_t> FontDataFileBytes(int32_t rangeStart, int32_t rangeEnd) const;

    // The products of the last successful Build.
    const FontHeader& Header() const { return m_header; }
    uint32_t CharCount() const { return m_rasterizer.CharCount(); }
    std::vector<GlyphRecord> Records() const { return m_rasterizer.GlyphRecords(); }
    const std::vector<uint8_t>& GlyphData() const { return m_rasterizer.GlyphData(); }
    uint32_t CodePage() const { return m_nCodePage; }

    void Release() { m_rasterizer.Release(); }

private:
    void Report(unsigned id);

    BuildEnvironment m_env;
    CGlyphRasterizer m_rasterizer;
    FontHeader m_header;
    uint32_t m_nCodePage = 0;
};

// The download of a loaded font data file: the form's Download after Load,
// with the loaded characters as registration text (only for a face of
// character set 128 or one not installed, as Load leaves the text) or else the
// loaded range, under the Download checks: the characters the file holds.
// Fills record and writes the glyph data to path.
bool BuildDownloadFromDocument(CGlyphkitDoc& doc, const std::u16string& loadedText,
                               const BuildEnvironment& environment, const std::string& path,
                               const std::string& registrationId, CFontPT* record);
