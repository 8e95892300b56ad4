#include "check/check_line_wnd.h"

#include <algorithm>
#include <vector>

#include "framework/dc.h"
#include "framework/scroll_request.h"
#include "framework/window.h"
#include "framework/window_proc.h"

namespace {

const wchar_t kLineClass[] = L"GlyphkitCheckLine";
const int kLineStep = 20;

// The state of one line control, kept with its window.
class Line {
public:
    explicit Line(HWND hwnd) : m_hWnd(hwnd) {}

    void Set(const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom, int dotsPerMm) {
        m_glyphs = glyphs;
        m_line = line;
        m_layout = LineLayout(m_glyphs, m_line, zoom, dotsPerMm);
        UpdateScrollBars();
        // Typing changes the line in place: nothing scrolls back.
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    void Paint() {
        const ScopedPaint paint(m_hWnd);
        const HDC dc = paint.Get();
        const RECT& area = paint.Area();
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (!dc || width <= 0 || height <= 0)
            return;
        const size_t stride = (size_t(width) + 31) / 32 * 4;
        m_pixels.resize(stride * size_t(height));
        ComposeLine(m_layout, m_glyphs, m_line, uint64_t(m_scroll.x) + uint64_t(area.left),
                    uint64_t(m_scroll.y) + uint64_t(area.top), uint32_t(width), uint32_t(height),
                    m_pixels.data(), stride);
        MonochromeBitmapInfo info(width, -height, {255, 255, 255, 0}, {0, 0, 0, 0});
        StretchDIBits(dc, area.left, area.top, width, height, 0, 0, width, height, m_pixels.data(),
                      info.Get(), DIB_RGB_COLORS, SRCCOPY);
    }

    void Scroll(int bar, int request) {
        const std::optional<int> target = ScrollRequestTarget(m_hWnd, bar, request, kLineStep);
        if (!target)
            return;
        LONG& current = bar == SB_VERT ? m_scroll.y : m_scroll.x;
        const LONG last = bar == SB_VERT ? m_last.y : m_last.x;
        const LONG position = std::clamp<LONG>(*target, 0, last);
        if (position == current)
            return;
        current = position;
        SetScrollPos(m_hWnd, bar, position, TRUE);
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    void UpdateScrollBars() {
        m_last = FitScrollBars(m_hWnd, m_layout.Width(), m_layout.Height(), 0, &m_scroll);
    }

private:
    HWND m_hWnd;
    SheetGlyphs m_glyphs;
    LabelLine m_line;
    LineLayout m_layout{SheetGlyphs(), LabelLine(), 1, 8};
    POINT m_scroll{0, 0};
    POINT m_last{0, 0};
    std::vector<uint8_t> m_pixels; // the rectangle being painted
};

Line* LineOf(HWND hwnd) {
    return reinterpret_cast<Line*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

struct LineBinding : CreatedWindowBinding<Line> {
    static Line* Created(HWND hwnd, UINT message, LPARAM) {
        return message == WM_NCCREATE ? new Line(hwnd) : nullptr;
    }
    static void Attach(Line&, HWND) {}
    static LRESULT Handle(Line& line, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_NCDESTROY:
            return 0;
        case WM_PAINT:
            line.Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1; // the paint covers every pixel
        case WM_SIZE:
            line.UpdateScrollBars();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_HSCROLL:
            line.Scroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_VSCROLL:
            line.Scroll(SB_VERT, LOWORD(wParam));
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
    static LRESULT Threw(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return Unanswered(hwnd, message, wParam, lParam);
    }
    static void Release(Line& line) { delete &line; }
};

} // namespace

bool RegisterCheckLineClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ObjectWindowProc<LineBinding>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kLineClass;
    return RegisterWindowClassOnce(wc);
}

void SetCheckLine(HWND control, const SheetGlyphs& glyphs, const LabelLine& line, uint32_t zoom,
                  int dotsPerMm) {
    if (Line* state = LineOf(control))
        state->Set(glyphs, line, zoom, dotsPerMm);
}
