#include "fontdata/glyph_rasterizer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// The slant of an italic face, as a share of the font height: the cell and
// every advance grow by this much so that slanted strokes stay inside.
constexpr double kItalicSlant = 0.24933;

uint16_t ItalicExtension(long height) {
    return uint16_t(int(double(height) * kItalicSlant));
}

// 40-byte header plus room for the two colours of a one-bit bitmap.
constexpr size_t kBitmapInfoSize = sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);
static_assert(kBitmapInfoSize == 48, "bitmap info block");

} // namespace

void SetLogFontFaceName(LOGFONTA* lf, const std::string& face) {
    // Keep whole characters only, so the cut never leaves half of a
    // double-byte character behind.
    size_t length = 0;
    while (length < face.size() && face[length] != '\0') {
        const bool pair = IsDBCSLeadByte(BYTE(face[length])) && length + 1 < face.size();
        const size_t step = pair ? 2 : 1;
        if (length + step > LF_FACESIZE - 1)
            break;
        length += step;
    }
    std::memset(lf->lfFaceName, 0, LF_FACESIZE);
    std::memcpy(lf->lfFaceName, face.data(), length);
}

LOGFONTA RenderingFont(const LOGFONTA& font, const FontHeader& header) {
    LOGFONTA lf = font;
    lf.lfWidth = 0;
    lf.lfEscapement = 0;
    lf.lfWeight = header.Word(FontHeader::kWeight);
    lf.lfItalic = header.Byte(FontHeader::kItalic);
    // A face field filled to the last byte has no terminator, and the
    // platform would read on past it.
    if (std::memchr(lf.lfFaceName, 0, LF_FACESIZE) == nullptr)
        SetLogFontFaceName(&lf, std::string(lf.lfFaceName, LF_FACESIZE));
    return lf;
}

void CGlyphRasterizer::Release() {
    End();
    std::vector<uint8_t>().swap(m_records);
    std::vector<uint8_t>().swap(m_glyphs);
}

std::vector<GlyphRecord> CGlyphRasterizer::GlyphRecords() const {
    std::vector<GlyphRecord> records(CharCount());
    for (size_t i = 0; i < records.size(); ++i)
        records[i] = GlyphRecord::FromNative(m_records.data() + i * GlyphRecord::kSize);
    return records;
}

int CGlyphRasterizer::RenderGlyphs(HDC reference, const FontHeader& header, const uint16_t* codes,
                                   const LOGFONTA& font, UINT codePage) {
    Release();
    int result = Begin(reference, header, codes, font, codePage);
    if (result) {
        const uint32_t n = m_header.DWord(FontHeader::kCharCount);
        const size_t bytesPerGlyph = BytesPerGlyph();
        try {
            m_records.assign(size_t(n) * GlyphRecord::kSize, 0);
            m_glyphs.assign(size_t(n) * bytesPerGlyph, 0);
        } catch (const std::bad_alloc&) {
            // Out of memory ends the build; what was had is freed at release.
            m_failure = RenderFailure::NoMemory;
            result = 0;
        }
        for (uint32_t i = 0; result && i < n; ++i)
            RenderGlyph(codes[i], m_glyphs.data() + size_t(i) * bytesPerGlyph)
                .ToNative(m_records.data() + size_t(i) * GlyphRecord::kSize);
    }
    End();
    return result;
}

int CGlyphRasterizer::Begin(HDC reference, const FontHeader& header, const uint16_t* codes,
                            const LOGFONTA& font, UINT codePage) {
    End();
    // Anything but an unrealisable font that stops the rendering is a want
    // of memory.
    m_failure = RenderFailure::NoMemory;
    m_header = header;
    m_nCodePage = codePage;
    if (!CreateCompatibleDC(reference))
        return 0;
    SetMapMode(GetSafeHdc(), MM_TEXT);
    const int result = Prepare(codes, font);
    if (result)
        m_failure = RenderFailure::None;
    return result;
}

void CGlyphRasterizer::End() {
    // Everything selected into the context is selected back before the
    // context goes.
    m_selectedFont.reset();
    m_font.Reset();
    std::vector<uint8_t>().swap(m_work);
    std::vector<uint8_t>().swap(m_bitmapInfo);
    DeleteDC();
}

int CGlyphRasterizer::Prepare(const uint16_t* codes, const LOGFONTA& font) {
    HDC dc = GetSafeHdc();
    const LOGFONTA lf = RenderingFont(font, m_header);
    m_font.Reset(CreateFontIndirectA(&lf));
    if (!m_font) {
        m_failure = RenderFailure::FontNotRealised;
        return 0;
    }
    m_selectedFont.emplace(dc, m_font.Get());

    const uint32_t n = m_header.DWord(FontHeader::kCharCount);
    m_bItalic = m_header.Byte(FontHeader::kItalic) != 0;
    TEXTMETRICA tm{};
    SIZE measured{0, 0};
    uint16_t overhang = 0;
    uint16_t extension = 0;
    long cellWidth = 0;
    long cellHeight = 0;
    if (n > 0) {
        RenderChar(codes[0], &tm, nullptr, nullptr, &measured, nullptr, false, &overhang,
                   m_nCodePage);
        cellHeight = measured.cy;
        cellWidth = tm.tmMaxCharWidth;
        if (m_bItalic) {
            extension = ItalicExtension(cellHeight);
            cellWidth += extension;
        }
    } else {
        // Nothing to render: the cell stays empty, the font's own metrics
        // still describe it.
        GetTextMetricsA(dc, &tm);
    }

    const size_t bytesPerRow = size_t(cellWidth + 7) / 8;
    const size_t bytesPerGlyph = bytesPerRow * size_t(cellHeight);
    const size_t workLine = size_t(cellWidth + 31) / 32 * 4;
    m_header.SetByte(FontHeader::kPitch, uint8_t(tm.tmPitchAndFamily & 0x0F));
    m_header.SetByte(FontHeader::kFamily, uint8_t(tm.tmPitchAndFamily & 0xF0));
    m_header.SetByte(FontHeader::kCharSet, tm.tmCharSet);
    m_header.SetWord(FontHeader::kCellWidth, uint16_t(cellWidth));
    m_header.SetWord(FontHeader::kAverageWidth, uint16_t(tm.tmAveCharWidth + extension));
    m_header.SetWord(FontHeader::kAscent, uint16_t(tm.tmAscent));
    m_header.SetWord(FontHeader::kCellHeight, uint16_t(cellHeight));
    m_header.SetDWord(FontHeader::kBytesPerGlyph, uint32_t(bytesPerGlyph));
    m_header.SetDWord(FontHeader::kDataSize, uint32_t(n * (bytesPerGlyph + GlyphRecord::kSize)));
    m_cell = SIZE{cellWidth, cellHeight};

    try {
        m_work.assign(workLine * size_t(cellHeight), 0);
        m_bitmapInfo.assign(kBitmapInfoSize, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    m_header.SetWord(FontHeader::kRendered, 1);
    return 1;
}

GlyphRecord CGlyphRasterizer::RenderGlyph(uint16_t code, uint8_t* glyph) {
    if (m_bitmapInfo.empty())
        return GlyphRecord{code, 0, 0, 0}; // not between Begin and End
    std::fill(m_work.begin(), m_work.end(), uint8_t(0));
    TEXTMETRICA tm{};
    SIZE size{0, 0};
    uint16_t overhang = 0;
    RenderChar(code, &tm, reinterpret_cast<BITMAPINFO*>(m_bitmapInfo.data()), m_work.data(), &size,
               &m_cell, m_bItalic, &overhang, m_nCodePage);
    if (glyph != nullptr && m_cell.cx != 0 && m_cell.cy != 0) {
        // The work buffer is bottom-up; the glyph data runs top row first.
        const size_t bytesPerRow = size_t(m_cell.cx + 7) / 8;
        const size_t workLine = size_t(m_cell.cx + 31) / 32 * 4;
        for (long r = 0; r < m_cell.cy; ++r)
            std::memcpy(glyph + size_t(r) * bytesPerRow,
                        m_work.data() + size_t(m_cell.cy - 1 - r) * workLine, bytesPerRow);
    }
    return GlyphRecord{code, overhang, uint16_t(size.cx), uint16_t(size.cy)};
}

void CGlyphRasterizer::RenderChar(uint16_t code, TEXTMETRICA* metrics, BITMAPINFO* info, void* bits,
                                  SIZE* size, const SIZE* cell, bool italic, uint16_t* leftOverhang,
                                  UINT codePage) {
    HDC dc = GetSafeHdc();
    ScopedSaveDC saved(dc);
    *leftOverhang = 0;

    const WCHAR unit = code;
    char bytes[2] = {0, 0};
    BOOL usedDefault = FALSE;
    const int byteCount =
        WideCharToMultiByte(codePage, 0, &unit, 1, bytes, 2, nullptr, &usedDefault);

    // The spacing is asked for the first converted byte widened as a signed
    // value, as the platform's single-byte query takes it: 0xB1 is asked as
    // 0xFFB1. Should the platform not answer, the drawn extent serves.
    uint16_t abcWidth = 0;
    int drawX = 0;
    if (byteCount > 0 && !usedDefault) {
        const UINT query = uint16_t(int16_t(int8_t(bytes[0])));
        // A widened code is split into two bytes again, and on a double-byte
        // code page those can come back as two characters, each answered
        // with its own entry: room for two keeps the second off the stack.
        ABC answers[2] = {};
        const ABC& abc = answers[0];
        if (GetCharABCWidthsA(dc, query, query, answers)) {
            abcWidth = uint16_t(abc.abcA + int(abc.abcB) + abc.abcC);
            if (abc.abcA < 0) {
                *leftOverhang = uint16_t(-abc.abcA);
                drawX = -abc.abcA;
            }
        }
    }

    GetTextMetricsA(dc, metrics);
    if (abcWidth != 0) {
        size->cx = int16_t(abcWidth);
        size->cy = uint16_t(metrics->tmHeight);
    } else if (TextOutW(dc, 0, 0, &unit, 1)) {
        GetTextExtentPoint32W(dc, &unit, 1, size);
    } else {
        *size = SIZE{0, 0};
    }
    if (italic)
        size->cx += ItalicExtension(metrics->tmHeight);

    if (bits == nullptr || info == nullptr || cell == nullptr)
        return;

    ScopedBitmap bitmap(CreateBitmap(cell->cx, cell->cy, 1, 1, nullptr));
    if (!bitmap)
        return;
    {
        ScopedSelectObject selectBitmap(dc, bitmap.Get());
        BitBlt(dc, 0, 0, cell->cx, cell->cy, nullptr, 0, 0, WHITENESS);
        TextOutW(dc, drawX, 0, &unit, 1);
        BITMAPINFOHEADER& h = info->bmiHeader;
        std::memset(info, 0, kBitmapInfoSize);
        h.biSize = sizeof(BITMAPINFOHEADER);
        h.biWidth = cell->cx;
        h.biHeight = cell->cy; // positive: bottom-up
        h.biPlanes = 1;
        h.biBitCount = 1;
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD((cell->cx + 31) / 32 * 4 * cell->cy);
        // Ink becomes 1 and paper 0.
        BitBlt(dc, 0, 0, cell->cx, cell->cy, nullptr, 0, 0, DSTINVERT);
    }
    // The bitmap is selected out before its bits are read, as the platform
    // asks of GetDIBits.
    GetDIBits(dc, bitmap.Get(), 0, UINT(cell->cy), bits, info, DIB_RGB_COLORS);
}
