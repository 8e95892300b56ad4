// The framework's windows for real under Wine on a display: the window
// procedure's binding and guard, a dialog's modal and modeless end, work
// handed to the window's thread from another one, and what the scoped DC
// helpers put back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <vector>

#include "framework/dc.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "framework/window.h"
#include "framework/window_proc.h"
#include "framework/window_thread_calls.h"

namespace {

const UINT kAsk = WM_APP + 10; // the probe answers kAnswer
const LRESULT kAnswer = 7;
const LRESULT kThrew = -2;

// The object of a window: what it saw, and the message its handler throws at.
struct Probe {
    UINT throwAt = 0;
    HWND hwnd = nullptr;
    std::vector<UINT> seen;
    bool released = false;
    LONG_PTR slotAtRelease = -1;
};

struct ProbeBinding : CreatedWindowBinding<Probe> {
    static void Attach(Probe& probe, HWND hwnd) { probe.hwnd = hwnd; }
    static LRESULT Handle(Probe& probe, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        probe.seen.push_back(message);
        if (message == probe.throwAt)
            throw std::runtime_error("handler");
        return message == kAsk ? kAnswer : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static LRESULT Threw(HWND, UINT, WPARAM, LPARAM) { return kThrew; }
    static void Release(Probe& probe) {
        probe.released = true;
        probe.slotAtRelease = GetWindowLongPtrW(probe.hwnd, GWLP_USERDATA);
    }
};

TEST(ObjectWindowProc, BindsTheObjectUntilTheLastMessageAndKeepsExceptionsIn) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ObjectWindowProc<ProbeBinding>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FrameworkProbe";
    ASSERT_TRUE(RegisterWindowClassOnce(wc));
    ASSERT_TRUE(RegisterWindowClassOnce(wc)); // the second time it is there
    const struct {
        UINT throwAt;
        LRESULT answer; // to kAsk
    } cases[] = {
        {0, kAnswer},
        {kAsk, kThrew},          // the procedure answers for the handler
        {WM_DESTROY, kAnswer},   // thrown on the way out
        {WM_NCDESTROY, kAnswer}, // thrown at the last message: released anyway
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.throwAt);
        Probe probe;
        probe.throwAt = c.throwAt;
        HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, wc.hInstance, &probe);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(probe.hwnd, hwnd);
        ASSERT_FALSE(probe.seen.empty());
        EXPECT_EQ(probe.seen.front(), UINT(WM_NCCREATE));
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));
        EXPECT_EQ(SendMessageW(hwnd, kAsk, 0, 0), c.answer);
        EXPECT_FALSE(probe.released);
        EXPECT_TRUE(DestroyWindow(hwnd));
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_TRUE(probe.released);
        EXPECT_EQ(probe.slotAtRelease, 0);
        EXPECT_EQ(probe.seen.back(), UINT(WM_NCDESTROY));
    }
}

const int kDialog = 200; // framework_windows.rc
const int kDialogEdit = 201;
const UINT kEndWith = WM_APP + 20; // wParam: the dialog's end code

// A dialog that is sent one message once it is up, and ends with the code of
// kEndWith.
class EndingDialog : public CDialog {
public:
    EndingDialog(int templateId, UINT message, WPARAM wParam)
        : CDialog(templateId, nullptr), m_nMessage(message), m_wParam(wParam) {}

    bool destroyed = false;

protected:
    bool OnInitDialog() override {
        if (m_nMessage)
            PostMessageW(m_hWnd, m_nMessage, m_wParam, 0);
        return true;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_DESTROY)
            destroyed = true;
        if (message != kEndWith)
            return false;
        EndDialog(int(wParam));
        *result = 0;
        return true;
    }

private:
    UINT m_nMessage;
    WPARAM m_wParam;
};

TEST(Dialog, DoModalReturnsTheCodeTheDialogEndedWith) {
    const struct {
        int templateId;
        UINT message; // posted once the dialog is up
        WPARAM wParam;
        INT_PTR code;
    } cases[] = {
        {kDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
        {kDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
        {kDialog, kEndWith, 42, 42},
        {999, 0, 0, -1}, // no such template
    };
    for (const auto& c : cases) {
        EndingDialog dialog(c.templateId, c.message, c.wParam);
        EXPECT_EQ(dialog.DoModal(), c.code) << c.message << " " << c.wParam;
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST(Dialog, AModelessDialogEndsWhenItIsDestroyed) {
    CWinApp app;
    const std::function<void(EndingDialog&)> ends[] = {
        [](EndingDialog& d) {
            SendMessageW(d.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        },
        [](EndingDialog& d) { SendMessageW(d.GetSafeHwnd(), kEndWith, 5, 0); },
        [](EndingDialog& d) { d.DestroyModeless(); },
    };
    for (size_t i = 0; i < std::size(ends); ++i) {
        SCOPED_TRACE(i);
        EndingDialog dialog(kDialog, 0, 0);
        ASSERT_TRUE(dialog.CreateModeless());
        HWND hwnd = dialog.GetSafeHwnd();
        // The message loop gives the dialog its keys.
        MSG tab{GetDlgItem(hwnd, kDialogEdit), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(app.PreTranslateMessage(tab));
        ends[i](dialog);
        EXPECT_TRUE(dialog.destroyed);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST(WindowThreadCalls, WorkOfAnotherThreadRunsOnTheWindowsThreadInOrder) {
    CWindowThreadCalls calls;
    ASSERT_TRUE(calls.IsReady());
    const DWORD windowThread = GetCurrentThreadId();
    const int kPosts = 200;
    std::vector<int> ran;     // touched on the window's thread only
    std::vector<DWORD> ranOn; // likewise
    bool finished = false;    // likewise
    int posted = 0, calledValue = 0;
    bool called = false;
    std::thread other([&] {
        for (int i = 0; i < kPosts; ++i)
            posted += calls.Post([&, i] {
                ran.push_back(i);
                ranOn.push_back(GetCurrentThreadId());
            });
        // Call returns only once its work has run: what the work set is seen.
        int value = 0;
        called = calls.Call([&] {
            value = 7;
            ranOn.push_back(GetCurrentThreadId());
        });
        calledValue = value;
        calls.Post([&] { finished = true; });
    });
    MSG msg;
    while (!finished && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    other.join();
    EXPECT_EQ(posted, kPosts);
    EXPECT_TRUE(called);
    EXPECT_EQ(calledValue, 7);
    std::vector<int> expected(kPosts);
    for (int i = 0; i < kPosts; ++i)
        expected[size_t(i)] = i;
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(ranOn, std::vector<DWORD>(size_t(kPosts) + 1, windowThread));
}

TEST(ScopedSelectObject, SelectsBackWhatWasSelectedWhenTheScopeEnds) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    const ScopedBitmap bitmap(CreateBitmap(8, 8, 1, 1, nullptr));
    const ScopedFont font(CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      0, 0, 0, 0, L"Arial"));
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
    const ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(4, 5, 6)));
    const struct {
        UINT kind;
        HGDIOBJ object;
    } cases[] = {
        {OBJ_BITMAP, bitmap.Get()},
        {OBJ_FONT, font.Get()},
        {OBJ_BRUSH, brush.Get()},
        {OBJ_PEN, pen.Get()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_NE(c.object, nullptr);
        const HGDIOBJ before = GetCurrentObject(dc.GetSafeHdc(), c.kind);
        {
            const ScopedSelectObject selected(dc.GetSafeHdc(), c.object);
            EXPECT_TRUE(selected.ok());
            EXPECT_EQ(GetCurrentObject(dc.GetSafeHdc(), c.kind), c.object);
        }
        EXPECT_EQ(GetCurrentObject(dc.GetSafeHdc(), c.kind), before);
    }
}

TEST(ScopedSaveDC, PutsBackTheStateItsScopeChanged) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HDC hdc = dc.GetSafeHdc();
    const ScopedFont font(CreateFontW(-20, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                                      0, 0, 0, 0, L"Arial"));
    const struct {
        const char* what;
        std::function<void()> change;
        std::function<uintptr_t()> read;
    } cases[] = {
        {"text colour", [&] { SetTextColor(hdc, RGB(9, 8, 7)); },
         [&] { return uintptr_t(GetTextColor(hdc)); }},
        {"background mode", [&] { SetBkMode(hdc, TRANSPARENT); },
         [&] { return uintptr_t(GetBkMode(hdc)); }},
        {"mapping mode", [&] { SetMapMode(hdc, MM_LOMETRIC); },
         [&] { return uintptr_t(GetMapMode(hdc)); }},
        {"font", [&] { SelectObject(hdc, font.Get()); },
         [&] { return uintptr_t(GetCurrentObject(hdc, OBJ_FONT)); }},
    };
    for (const auto& c : cases) {
        const uintptr_t before = c.read();
        {
            const ScopedSaveDC saved(hdc);
            c.change();
            EXPECT_NE(c.read(), before) << c.what;
        }
        EXPECT_EQ(c.read(), before) << c.what;
    }
}

} // namespace
