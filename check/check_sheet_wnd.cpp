#include "check/check_sheet_wnd.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <vector>

#include "framework/dc.h"
#include "framework/scroll_request.h"
#include "framework/window.h"
#include "framework/window_proc.h"

namespace {

const wchar_t kSheetClass[] = L"GlyphkitCheckSheet";
// Pixels of one arrow-key or scroll-arrow step.
const int kLineStep = 20;

SCROLLINFO ScrollInfo(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

int ToScrollRange(uint64_t pixels) {
    return int(std::min<uint64_t>(pixels, INT_MAX));
}

// The state of one sheet control, kept with its window.
class Sheet {
public:
    explicit Sheet(HWND hwnd) : m_hWnd(hwnd) {}

    void SetGlyphs(const SheetGlyphs& glyphs, uint32_t zoom) {
        m_glyphs = glyphs;
        m_zoom = zoom;
        m_scroll = {0, 0};
        Relayout();
    }

    void SetZoom(uint32_t zoom) {
        // The cell at the top left stays the first one in view.
        const uint64_t first = m_layout.CellRowAt(uint64_t(m_scroll.y)) * m_layout.Columns();
        m_zoom = zoom;
        Relayout();
        const uint64_t row = first / m_layout.Columns();
        m_scroll = {0, ToScrollRange(row * m_layout.PitchY())};
        UpdateScrollBars();
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    // The layout follows the control's width: as many columns as fit.
    void Relayout() {
        RECT client;
        GetClientRect(m_hWnd, &client);
        const uint32_t columns = SheetLayout::ColumnsForWidth(
            m_glyphs, m_zoom, uint64_t(std::max<LONG>(client.right, 0)));
        m_layout = SheetLayout(m_glyphs, m_zoom, columns);
        UpdateScrollBars();
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    void Paint() {
        const ScopedPaint paint(m_hWnd);
        const HDC dc = paint.Get();
        if (!dc)
            return;
        const RECT& area = paint.Area();
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (width > 0 && height > 0) {
            // Only the invalid rectangle is composed, whatever the sheet's
            // size: a screenful of pixels, never the whole registration.
            const size_t stride = (size_t(width) + 31) / 32 * 4;
            m_pixels.resize(stride * size_t(height));
            ComposeSheet(m_layout, m_glyphs, uint64_t(m_scroll.x) + uint64_t(area.left),
                         uint64_t(m_scroll.y) + uint64_t(area.top), uint32_t(width),
                         uint32_t(height), m_pixels.data(), stride);
            // Rows top first; 0 is paper, 1 ink.
            MonochromeBitmapInfo info(width, -height, {255, 255, 255, 0}, {0, 0, 0, 0});
            StretchDIBits(dc, area.left, area.top, width, height, 0, 0, width, height,
                          m_pixels.data(), info.Get(), DIB_RGB_COLORS, SRCCOPY);
        }
    }

    void Scroll(int bar, int request) {
        if (const std::optional<int> target = ScrollRequestTarget(m_hWnd, bar, request, kLineStep))
            ScrollTo(bar, *target);
    }

    void ScrollBy(int bar, int pixels) {
        ScrollTo(bar, (bar == SB_VERT ? m_scroll.y : m_scroll.x) + pixels);
    }

private:
    void UpdateScrollBars() {
        // The bars stay, greyed, when everything fits.
        FitScrollBars(m_hWnd, m_layout.Width(), m_layout.Height(), SIF_DISABLENOSCROLL, &m_scroll);
    }

    void ScrollTo(int bar, int position) {
        SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE);
        GetScrollInfo(m_hWnd, bar, &info);
        const int last = std::max<int>(info.nMax - int(info.nPage) + 1, 0);
        position = std::clamp(position, 0, last);
        LONG& current = bar == SB_VERT ? m_scroll.y : m_scroll.x;
        if (position == current)
            return;
        const int delta = current - position;
        current = position;
        SetScrollPos(m_hWnd, bar, position, TRUE);
        // What stays in view moves; only the uncovered strip is drawn anew.
        ScrollWindowEx(m_hWnd, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr,
                       nullptr, nullptr, nullptr, SW_INVALIDATE);
        UpdateWindow(m_hWnd);
    }

    HWND m_hWnd;
    SheetGlyphs m_glyphs;
    uint32_t m_zoom = 1;
    SheetLayout m_layout{SheetGlyphs(), 1, 1};
    POINT m_scroll{0, 0};
    std::vector<uint8_t> m_pixels; // the rectangle being painted
};

Sheet* SheetOf(HWND hwnd) {
    return reinterpret_cast<Sheet*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The keys that move the sheet, each as the scroll bar request it stands for:
// a line, a page, or the top or bottom.
struct ScrollKey {
    WPARAM key;
    int bar;
    int request;
};
const ScrollKey kScrollKeys[] = {
    {VK_UP, SB_VERT, SB_LINEUP},     {VK_DOWN, SB_VERT, SB_LINEDOWN},
    {VK_LEFT, SB_HORZ, SB_LINELEFT}, {VK_RIGHT, SB_HORZ, SB_LINERIGHT},
    {VK_PRIOR, SB_VERT, SB_PAGEUP},  {VK_NEXT, SB_VERT, SB_PAGEDOWN},
    {VK_HOME, SB_VERT, SB_TOP},      {VK_END, SB_VERT, SB_BOTTOM},
};

// The state is made with the window and goes with it.
struct SheetBinding : CreatedWindowBinding<Sheet> {
    static Sheet* Created(HWND hwnd, UINT message, LPARAM) {
        return message == WM_NCCREATE ? new Sheet(hwnd) : nullptr;
    }
    static void Attach(Sheet&, HWND) {}
    static LRESULT Handle(Sheet& sheet, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT Threw(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return Unanswered(hwnd, message, wParam, lParam);
    }
    static void Release(Sheet& sheet) { delete &sheet; }
};

LRESULT SheetBinding::Handle(Sheet& state, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Sheet* sheet = &state;
    switch (message) {
    case WM_NCDESTROY:
        return 0;
    case WM_PAINT:
        sheet->Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_SIZE:
        sheet->Relayout();
        return 0;
    case WM_VSCROLL:
        sheet->Scroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        sheet->Scroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        sheet->ScrollBy(SB_VERT, -GET_WHEEL_DELTA_WPARAM(wParam) * 3 * kLineStep / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        const auto key = std::find_if(std::begin(kScrollKeys), std::end(kScrollKeys),
                                      [wParam](const ScrollKey& k) { return k.key == wParam; });
        if (key == std::end(kScrollKeys))
            break;
        sheet->Scroll(key->bar, key->request);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

bool RegisterCheckSheetClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ObjectWindowProc<SheetBinding>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kSheetClass;
    return RegisterWindowClassOnce(wc);
}

void SetCheckSheetGlyphs(HWND sheet, const SheetGlyphs& glyphs, uint32_t zoom) {
    if (Sheet* state = SheetOf(sheet))
        state->SetGlyphs(glyphs, zoom);
}

void SetCheckSheetZoom(HWND sheet, uint32_t zoom) {
    if (Sheet* state = SheetOf(sheet))
        state->SetZoom(zoom);
}
