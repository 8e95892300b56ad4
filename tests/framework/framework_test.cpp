// The framework's small units under Wine: texts of the string table with
// their values, the code-page conversions, nested wait cursors on two
// threads and the command tables.
#include <windows.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "framework/code_page_text.h"
#include "framework/message_map.h"
#include "framework/message_text.h"
#include "framework/wait_cursor.h"

namespace {

TEST(LoadTextWith, PutsEachValueAtItsMark) {
    const struct {
        unsigned id; // framework_strings.rc
        std::initializer_list<std::wstring> values;
        std::wstring expected;
    } cases[] = {
        {101, {L"A", L"B"}, L"A から B へ"},
        {103, {L"A", L"B"}, L"B の後に A"}, // marks out of order
        {102, {L"A", L"B"}, L"A だけ"},     // no %2: the second value is dropped
        {101, {L"A"}, L"A から %2 へ"},     // no second value: %2 stays
        {104, {L"A"}, L"印なし"},           // no mark at all
        {101, {L"", L"B"}, L" から B へ"},  // an empty value
        {999, {L"A", L"B"}, L""},           // a text the executable does not carry
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadTextWith(c.id, c.values), c.expected) << c.id;
}

TEST(CodePageText, ConvertsWhatTheCodePageHoldsAndSaysWhatItDoesNot) {
    const struct {
        std::wstring text;
        UINT codePage;
        std::optional<std::string> exactly; // nothing: no exact counterpart
    } cases[] = {
        {L"", 932, std::string()},
        {L"Abc", 932, std::string("Abc")},
        {L"\uFF71\u3042", 932, std::string("\xB1\x82\xA0")}, // ｱ あ
        {L"\u20AC", 932, std::nullopt},                      // € is not in Shift_JIS
        {L"\u00E9", 932, std::nullopt},                      // é only by a look-alike
        {L"a\xD800", 932, std::nullopt},                     // a lone surrogate
        {L"\u00E9", 1252, std::string("\xE9")},
        {L"?", 932, std::string("?")}, // a question mark of its own is exact
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.text));
        EXPECT_EQ(ToCodePageExactly(c.text, c.codePage), c.exactly);
        // The inexact conversion still gives the text, each character one
        // way or another, and the exact one's bytes where there are some.
        const std::string bytes = ToCodePage(c.text, c.codePage);
        EXPECT_EQ(bytes.empty(), c.text.empty());
        if (c.exactly) {
            EXPECT_EQ(bytes, *c.exactly);
            EXPECT_EQ(FromCodePage(bytes, c.codePage), c.text);
        }
    }
}

// A thread that runs the steps given to it one at a time, so that two
// threads' scopes can be interleaved in a fixed order.
class StepThread {
public:
    StepThread() : m_thread([this] { Run(); }) {}
    ~StepThread() {
        Do(nullptr);
        m_thread.join();
    }
    // Runs step on the thread and returns when it has run.
    void Do(std::function<void()> step) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_step = std::move(step);
        m_pending = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_pending; });
    }

private:
    void Run() {
        for (;;) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_pending; });
            const bool last = !m_step;
            if (m_step)
                m_step();
            m_pending = false;
            m_changed.notify_all();
            if (last)
                return;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_step;
    bool m_pending = false;
    std::thread m_thread;
};

TEST(WaitCursor, EachThreadGetsBackTheCursorItsOutermostScopeReplaced) {
    const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));
    const HCURSOR own[2] = {LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),  // arrow
                            LoadCursorW(nullptr, MAKEINTRESOURCEW(32515))}; // cross
    StepThread threads[2];
    std::optional<CWaitCursor> scopes[2][2];
    for (int t = 0; t < 2; ++t)
        threads[t].Do([&, t] { SetCursor(own[t]); });
    // thread, its scope, opened (else closed), the thread's cursor after.
    const struct {
        int thread;
        int scope;
        bool open;
        int cursor; // 0, 1: that thread's own; -1: the hourglass
    } steps[] = {
        {0, 0, true, -1}, {1, 0, true, -1}, {0, 1, true, -1}, {1, 0, false, 1},  {0, 1, false, -1},
        {1, 0, true, -1}, {0, 0, false, 0}, {1, 1, true, -1}, {1, 1, false, -1}, {1, 0, false, 1},
    };
    for (const auto& s : steps) {
        HCURSOR shown = nullptr;
        threads[s.thread].Do([&] {
            if (s.open)
                scopes[s.thread][s.scope].emplace();
            else
                scopes[s.thread][s.scope].reset();
            shown = GetCursor();
        });
        EXPECT_EQ(shown, s.cursor < 0 ? wait : own[s.cursor])
            << "thread " << s.thread << " scope " << s.scope << (s.open ? " opened" : " closed");
    }
}

struct Commands {
    void Click() { ran = "click"; }
    void Leave() { ran = "leave"; }
    void Menu() { ran = "menu"; }
    std::string ran;
};

const CommandEntry<Commands> kTable[] = {
    {1, BN_CLICKED, &Commands::Click},
    {1, EN_KILLFOCUS, &Commands::Leave},
    {2, kMenuCommand, &Commands::Menu},
};

TEST(DispatchCommand, RunsTheHandlerOfIdAndCodeAndNothingElse) {
    const struct {
        int id;
        int code;
        const char* ran; // empty: nothing handled it
    } cases[] = {
        {1, BN_CLICKED, "click"},
        {1, EN_KILLFOCUS, "leave"},
        {2, kMenuCommand, "menu"},
        {1, kMenuCommand, ""},
        {2, BN_CLICKED, ""},
        {3, BN_CLICKED, ""},
        {0, 0, ""},
    };
    for (const auto& c : cases) {
        Commands target;
        EXPECT_EQ(DispatchCommand(target, kTable, c.id, c.code), *c.ran != '\0')
            << c.id << "/" << c.code;
        EXPECT_EQ(target.ran, c.ran) << c.id << "/" << c.code;
    }
}

} // namespace
