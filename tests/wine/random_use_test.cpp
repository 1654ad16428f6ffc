// Seeded random use of the whole program in this process: clicks on any visible,
// enabled button of any window, close boxes and typing into the log, posted the way
// a user's input is queued, also while runs pump. Command lines are recorded
// instead of started. Afterwards a model of the runs, written from the tables alone,
// replays what happened and checks every launch, every append and that every run
// ended with its completion lines; the log never loses a character.
//
// QELVANE_SEED=N replays one sequence; a failure names its seed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "help/help_window.h"
#include "profiles/profiles.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "questionnaire/module1.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/form.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using test::ClassOf;
using test::TextOf;

// Characters the user types; none of them stands in any log line.
const std::wstring kTyped = L"甲乙丙丁★☆♪";

struct Event {
    enum Kind { Begin, Launch, Append } kind;
    const Profile* profile = nullptr;  // Begin
    std::wstring text;                 // Launch: command line; Append: the appended piece
    Answers answers;                   // Launch: as they stood
};

// What happened during one sequence, in order, seen from outside the runner.
struct Journal {
    std::vector<Event> events;
    std::vector<std::string> faults;
    std::map<HWND, std::wstring> appended;           // per log box: every piece, in order
    std::map<HWND, std::map<wchar_t, int>> typed;    // per log box: characters delivered
    int openRuns = 0;

    void Fault(const std::string& what) { faults.push_back(what); }

    // The log box as it is now (or was when it went) against what went into it.
    void CheckLogBox(HWND box, const std::wstring& text) {
        std::wstring logOnly;
        std::map<wchar_t, int> found;
        for (wchar_t c : text) {
            if (kTyped.find(c) != std::wstring::npos) ++found[c];
            else logOnly += c;
        }
        if (found != typed[box]) Fault("typed characters lost or doubled in a log box");
        if (logOnly != appended[box]) Fault("log box text differs from what the runs appended");
    }
};

Journal* g_journal = nullptr;
std::mt19937* g_rng = nullptr;
int g_budget = 0;

bool IsLogBox(HWND hwnd) {
    return ClassOf(hwnd) == L"Edit" && GetDlgCtrlID(hwnd) == list::Text1 && GetParent(hwnd) &&
           ClassOf(GetParent(hwnd)) == L"QelvaneList";
}

const Profile* RunStartedBy(HWND window, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return nullptr;
    const std::wstring cls = ClassOf(window);
    const int id = LOWORD(wParam);
    if (cls == L"QelvaneForm1" && id == Form1::Command2) return &AutomaticProfile();
    if (cls == L"QelvaneForm1" && id == Form1::Command3) return &RestoreProfile();
    if (cls == L"QelvaneDialog3" && (id == QuestionWindow::OKButton || id == QuestionWindow::CancelButton))
        return &GuidedProfile();
    return nullptr;
}

const std::wstring kCompletionTail =
    L"\r\n" + std::wstring(59, L'-') + L"\r\n" + winui::Widen(kClosingLogLine);

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_journal) {
        Journal& j = *g_journal;
        if (m->message == WM_COMMAND && m->lParam) {
            if (const Profile* profile = RunStartedBy(m->hwnd, m->wParam)) {
                j.events.push_back({Event::Begin, profile, {}, {}});
                ++j.openRuns;
            }
        } else if (m->message == WM_SETTEXT && IsLogBox(m->hwnd)) {
            // The box still holds its old text: the hook runs before the box does.
            const std::wstring before = TextOf(m->hwnd);
            const std::wstring after = m->lParam ? reinterpret_cast<const wchar_t*>(m->lParam) : L"";
            if (after.compare(0, before.size(), before) != 0) {
                j.Fault("an append did not keep the text before it");
            } else if (after.size() > before.size()) {
                const std::wstring piece = after.substr(before.size());
                j.events.push_back({Event::Append, nullptr, piece, {}});
                j.appended[m->hwnd] += piece;
                if (piece.size() >= kCompletionTail.size() &&
                    piece.compare(piece.size() - kCompletionTail.size(), kCompletionTail.size(), kCompletionTail) == 0)
                    --j.openRuns;
            }
        } else if (m->message == WM_DESTROY && IsLogBox(m->hwnd)) {
            j.CheckLogBox(m->hwnd, TextOf(m->hwnd));
            j.appended.erase(m->hwnd);
            j.typed.erase(m->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && g_journal && m->message == WM_CHAR && IsLogBox(m->hwnd))
        ++g_journal->typed[m->hwnd][static_cast<wchar_t>(m->wParam)];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// --- The user -------------------------------------------------------------------

struct Action {
    enum Kind { Click, Close, Type } kind;
    HWND target;
};

std::vector<Action> AvailableActions() {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            if (IsWindowVisible(hwnd) && ClassOf(hwnd).rfind(L"Qelvane", 0) == 0)
                reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<Action> actions;
    for (HWND window : windows) {
        const bool main = ClassOf(window) == L"QelvaneForm1";
        // Leaving the main window ends the process; that path is driven from outside.
        if (!main) actions.push_back({Action::Close, window});
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
            if (ClassOf(child) == L"Button" && !(main && GetDlgCtrlID(child) == Form1::Command4))
                actions.push_back({Action::Click, child});
            if (IsLogBox(child)) actions.push_back({Action::Type, child});
        }
    }
    return actions;
}

// Queues one action, as a user's click or keys would be queued.
bool Act() {
    const std::vector<Action> actions = AvailableActions();
    if (actions.empty() || g_budget <= 0) return false;
    --g_budget;
    // A user who has started the questionnaire tends to answer it: 是 and 否 weigh more.
    std::vector<std::size_t> weighted;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const int id = GetDlgCtrlID(actions[i].target);
        const bool answer = actions[i].kind == Action::Click &&
                            ClassOf(GetParent(actions[i].target)).rfind(L"QelvaneDialog", 0) == 0 &&
                            (id == QuestionWindow::OKButton || id == QuestionWindow::CancelButton);
        weighted.insert(weighted.end(), answer ? 4 : 1, i);
    }
    const Action& a = actions[weighted[(*g_rng)() % weighted.size()]];
    if (std::getenv("QELVANE_RANDOM_TRACE"))
        std::printf("ACT %d %s %d of %zu\n", a.kind, winui::Narrow(ClassOf(GetAncestor(a.target, GA_ROOT))).c_str(),
                    GetDlgCtrlID(a.target), actions.size());
    switch (a.kind) {
    case Action::Click: PostMessageW(a.target, BM_CLICK, 0, 0); break;
    case Action::Close: PostMessageW(a.target, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Action::Type:
        for (unsigned n = 1 + (*g_rng)() % 4; n > 0; --n)
            PostMessageW(a.target, WM_CHAR, kTyped[(*g_rng)() % kTyped.size()], 1);
        break;
    }
    return true;
}

LaunchResult RecordLaunch(const std::string& commandLine) {
    g_journal->events.push_back({Event::Launch, nullptr, winui::Widen(commandLine), Module1::answers});
    // Now and then the user acts while the run goes on; nesting stays shallow.
    if (g_journal->openRuns < 4 && (*g_rng)() % 20 == 0) Act();
    return {true, {}};
}

// --- The model --------------------------------------------------------------------

std::wstring Wide(std::string_view s) { return winui::Widen(s); }

struct RunModel {
    explicit RunModel(const Profile* p) : profile(p) {}
    const Profile* profile;
    std::size_t row = static_cast<std::size_t>(-1);
    std::map<int, bool> decided;  // test number -> arm taken
    bool inRow = false;
    std::size_t launched = 0;

    // Moves to the next row this run executes, reading a test's answer the first
    // time the run reaches one of its rows.
    bool Advance(const Answers& now) {
        for (++row; row < profile->count; ++row) {
            const When& when = profile->rows[row].when;
            if (when.test == 0) return true;
            auto it = decided.find(when.test);
            if (it == decided.end()) it = decided.emplace(when.test, now.Get(when.answer)).first;
            if (it->second == when.arm) return true;
        }
        return false;
    }
    bool Last() const { return row + 1 == profile->count; }
    std::vector<std::wstring> Commands() const {
        const ServiceStep& s = profile->rows[row].step;
        std::vector<std::wstring> lines;
        if (s.verb != NetVerb::None) lines.push_back(L"cmd /c NET " + Wide(VerbWord(s.verb)) + L" " + Wide(s.service));
        lines.push_back(L"cmd /c sc config " + Wide(s.service) + L" start= " + Wide(ModeWord(s.mode)));
        return lines;
    }
    std::wstring Piece() const {
        const std::wstring line = Wide(profile->rows[row].step.logLine) + L"\r\n";
        return Last() ? Wide(profile->rows[row].step.logLine) + kCompletionTail : line;
    }
};

// Returns how many runs began inside another.
int Replay(Journal& j) {
    std::vector<RunModel> stack;
    int nested = 0;
    for (const Event& e : j.events) {
        if (e.kind == Event::Begin) {
            if (!stack.empty() && stack.back().inRow) return j.Fault("a run began in the middle of a row"), nested;
            nested += !stack.empty();
            stack.emplace_back(e.profile);
            continue;
        }
        if (stack.empty()) return j.Fault("a launch or append outside any run"), nested;
        RunModel& run = stack.back();
        if (e.kind == Event::Launch) {
            if (!run.inRow) {
                if (!run.Advance(e.answers)) return j.Fault("a launch after the run's last row"), nested;
                run.inRow = true;
                run.launched = 0;
            }
            const std::vector<std::wstring> expected = run.Commands();
            if (run.launched >= expected.size() || expected[run.launched] != e.text)
                return j.Fault("launched " + winui::Narrow(e.text) + " at row " + std::to_string(run.row + 1)), nested;
            ++run.launched;
        } else {
            if (!run.inRow || run.launched != run.Commands().size())
                return j.Fault("a log line appended before its row's command lines were launched"), nested;
            if (e.text != run.Piece())
                return j.Fault("appended " + winui::Narrow(e.text) + " at row " + std::to_string(run.row + 1)), nested;
            run.inRow = false;
            if (run.Last()) stack.pop_back();
        }
    }
    if (!stack.empty()) j.Fault(std::to_string(stack.size()) + " run(s) never completed");
    return nested;
}

void UnloadAllButForm1() {
    for (winui::Form* form : std::initializer_list<winui::Form*>{
             &list::Instance(), &help::Instance(), &Dialog::Instance(), &Dialog1::Instance(), &Dialog2::Instance(),
             &Dialog3::Instance()})
        if (form->IsLoaded()) form->Unload();
}

// Plays one seeded sequence and returns what went wrong.
std::vector<std::string> PlaySequence(unsigned seed, int* runs, int* nested) {
    std::mt19937 rng(seed);
    Journal journal;
    g_rng = &rng;
    g_journal = &journal;
    g_budget = 3 + static_cast<int>(rng() % 10);
    Module1::answers = Answers{};
    Form1::Instance().Show();
    while (g_budget > 0) {
        // Sometimes several actions wait in the queue together, behind a run's click.
        for (unsigned n = 1 + (rng() % 4 == 0 ? rng() % 3 : 0); n > 0; --n)
            if (!Act()) break;
        winui::PumpEvents();
        if (AvailableActions().empty()) break;
    }
    winui::PumpEvents();
    // Every run has returned by now: each ran inside the click that started it.
    if (list::Instance().IsLoaded()) {
        HWND box = list::Instance().Control(list::Text1);
        journal.CheckLogBox(box, TextOf(box));
    }
    g_journal = nullptr;
    UnloadAllButForm1();
    *nested += Replay(journal);
    int begun = 0, launches = 0;
    const bool trace = std::getenv("QELVANE_RANDOM_TRACE") != nullptr;
    for (const Event& e : journal.events) {
        if (trace)
            std::printf("%s %s %d%d%d%d\n", e.kind == Event::Begin ? "BEGIN" : e.kind == Event::Launch ? "RUN" : "LOG",
                        winui::Narrow(e.text).c_str(), e.answers.UsesDiscBurner, e.answers.UsesPrinter,
                        e.answers.UsesImagingDevice, e.answers.HostsWebServer);
        begun += e.kind == Event::Begin;
        launches += e.kind == Event::Launch;
    }
    *runs += begun;
    if (std::getenv("QELVANE_SEED")) std::printf("seed %u: %d runs, %d launches\n", seed, begun, launches);
    return journal.faults;
}

class RandomUse : public testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        SetCommandLauncher(RecordLaunch);
        sent_ = SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
        posted_ = SetWindowsHookExW(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId());
    }
    static void TearDownTestSuite() {
        UnhookWindowsHookEx(sent_);
        UnhookWindowsHookEx(posted_);
        SetCommandLauncher(nullptr);
    }
    static inline HHOOK sent_ = nullptr, posted_ = nullptr;
};

constexpr int kSeedsPerBlock = 25;

TEST_P(RandomUse, EveryRunWholeAndNoTextLost) {
    std::vector<unsigned> seeds;
    if (const char* one = std::getenv("QELVANE_SEED")) {
        if (GetParam() != 0) GTEST_SKIP() << "replaying one seed in block 0";
        seeds.push_back(static_cast<unsigned>(std::strtoul(one, nullptr, 10)));
    } else {
        for (int i = 0; i < kSeedsPerBlock; ++i) seeds.push_back(static_cast<unsigned>(GetParam() * kSeedsPerBlock + i));
    }
    int runs = 0, nested = 0;
    for (unsigned seed : seeds) {
        for (const std::string& fault : PlaySequence(seed, &runs, &nested))
            ADD_FAILURE() << "seed " << seed << " (replay with QELVANE_SEED=" << seed << "): " << fault;
    }
    // The sequences must actually start runs, nested ones included, or they prove little.
    if (seeds.size() > 1) {
        EXPECT_GT(runs, static_cast<int>(seeds.size()) / 2);
        EXPECT_GT(nested, 0);
    }
    std::printf("%zu sequences, %d runs, %d of them nested\n", seeds.size(), runs, nested);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomUse, testing::Range(0, 8));

}  // namespace
}  // namespace qelvane
