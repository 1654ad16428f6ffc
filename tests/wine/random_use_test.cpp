// Seeded random use of every window in this process (clicks on visible, enabled buttons, close boxes, typing
// into the log, posted as a user's input is queued, also while runs pump; commands recorded, never started),
// checked against invariants: every append adds one log line and keeps the text before it, nothing is launched
// outside a run, every run completes (the order of each run's commands and lines, nested runs too: tests/native).
// QELVANE_SOAK=N plays seeds 0 to N-1, QELVANE_SOAK=A-B seeds A to B (run the binary directly, beyond ctest's
// time limit); QELVANE_SEED=N replays one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <random>
#include <regex>

#include "app/form1.h"
#include "runner/module1.h"
#include "questionnaire/question_window.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using test::ClassOf;
const std::wstring kTyped = L"甲乙丙丁";  // in no log line

struct Play {
    std::mt19937 rng;
    int budget = 0, runs = 0, completions = 0, nested = 0, answered = 0, closed = 0;
    std::vector<std::string> faults;
} * g;

bool IsLogBox(HWND h) { return GetDlgCtrlID(h) == list::Text1 && ClassOf(GetParent(h)) == L"QelvaneList"; }

LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
    static const std::wregex line(L"[0-9.]+:[^:\r\n]+:(禁用|手动|自动)\r\n(-{59}\r\n优化已经完成！)?");
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool watch = code == HC_ACTION && g, midRun = watch && g->runs > g->completions;
    if (watch && m->message == WM_COMMAND && m->lParam && HIWORD(m->wParam) == BN_CLICKED) {
        const std::wstring window = ClassOf(m->hwnd);
        const int id = LOWORD(m->wParam);
        const bool question = window.rfind(L"QelvaneDialog", 0) == 0, exit = question && id == QuestionWindow::Command1;
        const bool mainRun = window == L"QelvaneForm1" && (id == Form1::Command2 || id == Form1::Command3);
        if (window == L"QelvaneDialog3" ? !exit : mainRun) {
            g->nested += midRun;
            ++g->runs;
        }
        g->answered += midRun && question && !exit;
        g->closed += midRun && (exit || (!question && window != L"QelvaneForm1"));  // or the exit of help or list
    } else if (watch && (m->message == WM_SETTEXT || m->message == EM_REPLACESEL) && IsLogBox(m->hwnd)) {
        // An append either sets the whole text anew or replaces an empty selection at its end.
        const std::wstring before = test::TextOf(m->hwnd), text = reinterpret_cast<const wchar_t*>(m->lParam);
        DWORD from = 0, to = 0;
        SendMessageW(m->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        const bool whole = m->message == WM_SETTEXT;
        const std::wstring added = whole ? text.substr(std::min(before.size(), text.size())) : text;
        std::wsmatch match;
        if (whole ? text.compare(0, before.size(), before) != 0 : from != before.size() || to != from)
            g->faults.push_back("an append lost the text before it");
        else if (!std::regex_match(added, match, line)) g->faults.push_back("appended " + winui::Narrow(added));
        g->completions += match[2].matched;
    }
    if (midRun && m->message == WM_CLOSE) ++g->closed;  // a close box
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The program's windows by class: in a fixed order, so that a seed replays the same.
std::map<std::wstring, HWND> Windows() {
    std::map<std::wstring, HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) {
        reinterpret_cast<std::map<std::wstring, HWND>*>(out)->emplace(ClassOf(w), w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Queues one thing a user can do now; answers weigh more, so questionnaires get answered.
bool Act() {
    std::vector<std::pair<HWND, int>> can;  // target, and 0 click, 1 close box, 2 typing
    for (const auto& [name, w] : Windows()) {
        const bool main = name == L"QelvaneForm1", question = name.rfind(L"QelvaneDialog", 0) == 0;
        if (!IsWindowVisible(w) || name.rfind(L"Qelvane", 0) != 0) continue;
        if (!main) can.push_back({w, 1});  // the main window's unload ends the process
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!IsWindowVisible(c) || !IsWindowEnabled(c) || (main && GetDlgCtrlID(c) == Form1::Command4)) continue;
            const bool answer = question && GetDlgCtrlID(c) != QuestionWindow::Command1;
            if (ClassOf(c) == L"Button") can.insert(can.end(), answer ? 4 : 1, {c, 0});
            if (IsLogBox(c)) can.push_back({c, 2});
        }
    }
    if (can.empty() || g->budget-- <= 0) return false;
    const auto [target, kind] = can[g->rng() % can.size()];
    if (kind < 2) PostMessageW(target, kind ? WM_SYSCOMMAND : BM_CLICK, kind ? SC_CLOSE : 0, 0);
    for (unsigned n = kind == 2 ? 1 + g->rng() % 4 : 0; n > 0; --n)
        PostMessageW(target, WM_CHAR, kTyped[g->rng() % 4], 1);
    return true;
}

LaunchResult Launched(const std::string& line) {
    if (g->runs == g->completions) g->faults.push_back("launched outside a run: " + line);
    if (g->runs - g->completions < 4 && g->rng() % 20 == 0) Act();  // now and then the user acts during a run
    return {true, {}};
}

TEST(RandomUse, InvariantsHoldWhateverTheUserDoes) {
    std::vector<unsigned> seeds = {2, 10, 33, 38, 39};  // each nests runs, answers and closes windows during a run
    const char *one = std::getenv("QELVANE_SEED"), *soak = std::getenv("QELVANE_SOAK");
    if (one) seeds = {static_cast<unsigned>(std::atoi(one))};
    if (soak && !one) {
        const char* dash = std::strchr(soak, '-');
        const long first = dash ? std::atol(soak) : 0;
        const long last = std::atol(dash ? dash + 1 : soak) - (dash ? 0 : 1);
        ASSERT_TRUE(first >= 0 && first <= last) << "QELVANE_SOAK=" << soak << " names no seed";
        seeds.resize(static_cast<std::size_t>(last - first + 1));
        std::iota(seeds.begin(), seeds.end(), static_cast<unsigned>(first));
    }
    SetCommandLauncher(Launched);
    const test::Finally restore([] { SetCommandLauncher(nullptr); });
    const test::ThreadHook hook = test::HookThread(WH_CALLWNDPROC, Sent);
    ASSERT_TRUE(hook) << "no hook to watch the windows";
    int reachAll = 0;
    for (unsigned seed : seeds) {
        Play play;
        g = &play;
        play.rng.seed(seed);
        play.budget = 3 + static_cast<int>(play.rng() % 10);
        Module1::answers = Answers{};
        Form1::Instance().Show();
        for (bool acted = true; acted; winui::PumpEvents()) {
            acted = false;  // now and then several inputs wait together
            for (unsigned n = 1 + (play.rng() % 4 == 0 ? play.rng() % 3 : 0); n > 0 && Act(); --n) acted = true;
        }
        if (play.runs != play.completions)
            play.faults.push_back(std::to_string(play.runs - play.completions) + " runs unfinished");
        g = nullptr;
        for (const auto& [name, w] : Windows()) {  // unloads every window but the main one
            const bool other = name == L"QelvaneList" || name == L"QelvaneHelp";
            if (other || name.rfind(L"QelvaneDialog", 0) == 0) SendMessageW(w, WM_CLOSE, 0, 0);
        }
        for (const std::string& fault : play.faults)
            ADD_FAILURE() << "seed " << seed << " (QELVANE_SEED=" << seed << " replays it): " << fault;
        std::printf("seed %u: %d runs, %d nested; %d answers, %d closes during runs\n", seed, play.runs,
                    play.nested, play.answered, play.closed);
        reachAll += play.nested && play.answered && play.closed;
    }
    if (!soak && !one) {
        EXPECT_EQ(reachAll, static_cast<int>(seeds.size()))
            << "default seeds that nest runs, answer and close windows during a run";
    }
}

}  // namespace
}  // namespace qelvane
