// The progress window's log: it keeps every appended and typed character past the edit box's default 30,000,
// and looks after each append as if drawn afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {
namespace {

TEST(ProgressWindow, LogKeepsEveryAppendedAndTypedCharacterPastTheEditLimit) {
    list::Instance().Show();
    HWND log = list::Instance().Control(list::Text1);
    EXPECT_EQ(GetWindowLongW(log, GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_READONLY),
              ES_MULTILINE | WS_VSCROLL) << "wraps, scrolls down only, and the user can type into it";
    std::string run;  // a run's worth of lines
    for (int row = 0; row < 60; ++row) run += "79.10:World Wide Web Publishing:禁用\r\n";
    const std::wstring typed = L"注 \xD83D\xDE00!";
    std::wstring expected;
    for (int i = 0; i < 18; ++i) {
        WindowRunnerHost().AppendLogText(run);
        EXPECT_EQ(test::PlaceIn(log), (std::array<LRESULT, 3>{})) << "first line shown, caret at the start";
        expected += winui::Widen(run);
        SendMessageW(log, EM_SETSEL, expected.size(), expected.size());  // the user types at the end
        for (wchar_t unit : typed) SendMessageW(log, WM_CHAR, unit, 1);
        expected += typed;
    }
    const std::wstring kept = list::Instance().ControlText(list::Text1);
    EXPECT_EQ(kept.size(), expected.size()) << "characters in the log";
    const auto same = std::mismatch(kept.begin(), kept.end(), expected.begin(), expected.end()).first - kept.begin();
    EXPECT_EQ(static_cast<std::size_t>(same), std::min(kept.size(), expected.size())) << "characters kept as they came";
}

// The log box's pixels, frame and scroll bar included, with the caret out of the way.
std::vector<COLORREF> PixelsOf(HWND box) {
    winui::PumpEvents();
    const bool caret = HideCaret(box) != FALSE;
    RECT r{};
    GetWindowRect(box, &r);
    HDC dc = GetWindowDC(box);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(box, dc);
    if (caret) ShowCaret(box);
    return pixels;
}

TEST(ProgressWindow, LogBoxAfterEachAppendLooksAsIfDrawnAfresh) {
    list& window = list::Instance();
    window.Show();
    const test::Finally unload([&] { window.Unload(); });
    HWND log = window.Control(list::Text1);
    SetForegroundWindow(window.Hwnd());
    SetFocus(log);
    ASSERT_EQ(GetFocus(), log) << "the caret and the selection show";
    const std::set<int> looked = {3, 6, 17, 18, 19, 20, 24, 26, 31, 40};  // the rows after which to look
    for (int row = 1; row <= 40; ++row) {
        // Row 6 goes on row 5's line.
        WindowRunnerHost().AppendLogText(std::to_string(row) + ":Alerter:禁用" + (row == 5 ? "" : "\r\n"));
        winui::PumpEvents();
        if (row == 25) SendMessageW(log, EM_LINESCROLL, 0, 7);  // the user scrolls down
        if (row == 30) SendMessageW(log, EM_SETSEL, 2, 9);      // and selects
        if (looked.count(row) == 0) continue;
        const std::vector<COLORREF> shown = PixelsOf(log);
        RedrawWindow(log, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        const std::vector<COLORREF> afresh = PixelsOf(log);
        ASSERT_EQ(shown.size(), afresh.size()) << "the box's size changed";
        std::size_t stale = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) stale += shown[i] != afresh[i];
        EXPECT_EQ(stale, 0u) << "stale pixels after row " << row;
    }
}

}  // namespace
}  // namespace qelvane
