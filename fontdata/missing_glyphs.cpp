#include "fontdata/missing_glyphs.h"

#include "framework/dc.h"

std::vector<uint16_t> FindMissingGlyphs(HDC reference, const LOGFONTA& font, const uint16_t* codes,
                                        size_t count) {
    std::vector<uint16_t> missing;
    CDC dc;
    ScopedFont realised(CreateFontIndirectA(&font));
    if (count == 0 || !dc.CreateCompatibleDC(reference) || !realised)
        return missing;
    ScopedSelectObject select(dc.GetSafeHdc(), realised.Get());
    // The face's own cmap answers, without the fallback to other fonts that
    // text output may apply: a unit it lacks is marked 0xFFFF.
    std::vector<WORD> indices(count);
    static_assert(sizeof(WCHAR) == sizeof(uint16_t), "UTF-16 units");
    if (!select.ok() ||
        GetGlyphIndicesW(dc.GetSafeHdc(), reinterpret_cast<const WCHAR*>(codes), int(count),
                         indices.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return missing;
    for (size_t i = 0; i < count; ++i)
        if (indices[i] == 0xFFFF)
            missing.push_back(codes[i]);
    return missing;
}
