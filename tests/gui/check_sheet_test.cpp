// The registration check's sheet control in this process: the arrow keys
// move the view a line, Page Up and Page Down a page, Home and End to the
// ends, never past them.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "check/check_sheet_wnd.h"

namespace {

// Empty cells: only the layout matters here.
class BlankGlyphs : public GlyphSource {
public:
    const uint8_t* Glyph(size_t) override { return m_blank.data(); }

private:
    std::vector<uint8_t> m_blank = std::vector<uint8_t>(4 * 32);
};

} // namespace

TEST(CheckSheet, KeysScrollByLineByPageAndToTheEnds) {
    ASSERT_TRUE(RegisterCheckSheetClass());
    HWND sheet =
        CreateWindowExW(0, L"GlyphkitCheckSheet", L"", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0,
                        200, 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(sheet, nullptr);
    // 32 x 32 dots at zoom 8: one column, wider and far taller than the view.
    std::vector<uint16_t> codes(60);
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = uint16_t(0x41 + i);
    BlankGlyphs blank;
    SetCheckSheetGlyphs(sheet, {32, 32, 4 * 32, codes.size(), codes.data(), &blank}, 8);

    RECT client;
    GetClientRect(sheet, &client);
    const int page = client.bottom;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(sheet, SB_VERT, &info);
    const int last = info.nMax - int(info.nPage) + 1;
    ASSERT_GT(last, 2 * page);

    // A line is 20 pixels, a page the view's height.
    const struct {
        WPARAM key;
        int bar, position;
    } steps[] = {
        {VK_DOWN, SB_VERT, 20},        {VK_DOWN, SB_VERT, 40},   {VK_UP, SB_VERT, 20},
        {VK_NEXT, SB_VERT, 20 + page}, {VK_PRIOR, SB_VERT, 20},  {VK_END, SB_VERT, last},
        {VK_NEXT, SB_VERT, last},      {VK_DOWN, SB_VERT, last}, {VK_HOME, SB_VERT, 0},
        {VK_PRIOR, SB_VERT, 0},        {VK_RIGHT, SB_HORZ, 20},  {VK_LEFT, SB_HORZ, 0},
        {VK_LEFT, SB_HORZ, 0},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SendMessageW(sheet, WM_KEYDOWN, steps[i].key, 0);
        EXPECT_EQ(GetScrollPos(sheet, steps[i].bar), steps[i].position) << "step " << i;
    }
    EXPECT_EQ(GetScrollPos(sheet, SB_VERT), 0) << "the horizontal keys leave the rows";
    DestroyWindow(sheet);
}
