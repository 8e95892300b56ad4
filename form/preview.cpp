#include "form/preview.h"

#include "form/glyphkit_doc.h"
#include "framework/dc.h"

namespace {

const char kSample[] = "ABCDE!\"#$%&";

} // namespace

void DrawPreview(HWND previewControl, HDC paintContext, const CGlyphkitDoc& doc) {
    const ScopedWindowDC preview(previewControl);
    if (!preview)
        return;
    HDC dc = preview.Get();
    SetMapMode(paintContext, MM_TEXT);
    SetMapMode(dc, MM_TEXT);
    RECT area;
    GetClientRect(previewControl, &area);

    // The height truncates toward zero: 96 dpi and 10 points give -13.
    const int height = -(GetDeviceCaps(paintContext, LOGPIXELSY) * doc.GetPointSize()) / 72;
    ScopedFont font(CreateFontA(height, 0, 0, 0, doc.GetBold() ? FW_BOLD : FW_NORMAL,
                                DWORD(doc.GetItalic() & 0xFF), FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                0, FF_SWISS | DEFAULT_PITCH, doc.GetFaceName().c_str()));
    const ScopedSelectObject selected(dc, font.Get());
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, kSample, int(sizeof kSample - 1), &extent);
    const int width = area.right - area.left;
    const int tall = area.bottom - area.top;
    const int x = width > extent.cx ? (width - extent.cx) / 2 : 0;
    const int y = tall > extent.cy ? (tall - extent.cy) / 2 : 0;
    SetBkColor(dc, RGB(20, 20, 20));
    SetTextColor(dc, RGB(255, 255, 0));
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, kSample, UINT(sizeof kSample - 1),
                nullptr);
}
