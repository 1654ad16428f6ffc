// What the windows do over time: the progress window's load, show, hide and unload, and a log that keeps every
// appended and typed character past the edit box's default 30,000; the order in which each question button shows,
// hides, unloads, stores its answer and starts the run; and the help window's text, opened once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "resources/site_info.h"
#include "help/help_window.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "runner/module1.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using Q = QuestionWindow;

TEST(ProgressWindow, LoadShowHideUnloadCycle) {
    SetCommandLauncher([](const std::string&) { return LaunchResult{true, {}}; });  // nothing is started
    list& window = list::Instance();
    WindowRunnerHost().AppendLogText("1:Alerter:禁用\r\n");  // a reference loads it, hidden
    EXPECT_TRUE(window.IsLoaded() && !IsWindowVisible(window.Hwnd()));
    window.Show();
    window.Hide();
    window.Show();
    EXPECT_TRUE(IsWindowVisible(window.Hwnd()) && window.ControlText(list::Text1) == L"1:Alerter:禁用\r\n") << "kept";
    SendMessageW(window.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // while the exit button is disabled
    EXPECT_FALSE(window.IsLoaded());

    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);  // a whole automatic run
    EXPECT_EQ(window.Caption() + window.ControlText(list::Label1), L"优化完成！优化完成！");
    SendMessageW(window.Control(list::Command1), BM_CLICK, 0, 0);
    EXPECT_FALSE(window.IsLoaded()) << "the exit button unloads";
    EXPECT_EQ(window.Caption() + L"|" + window.ControlText(list::Label1) + L"|" + window.ControlText(list::Text1),
              L"正在优化系统服务...|正在优化系统服务，请稍等......|") << "loaded afresh";
    EXPECT_FALSE(IsWindowEnabled(window.Control(list::Command1)) || IsWindowVisible(window.Hwnd()));
}

TEST(ProgressWindow, LogKeepsEveryAppendedAndTypedCharacterPastTheEditLimit) {
    list::Instance().Show();
    HWND log = list::Instance().Control(list::Text1);
    EXPECT_EQ(GetWindowLongW(log, GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_READONLY),
              ES_MULTILINE | WS_VSCROLL) << "wraps, scrolls down only, and the user can type into it";
    std::string run;  // a run's worth of lines
    for (int row = 0; row < 60; ++row) run += "79.10:World Wide Web Publishing:禁用\r\n";
    const std::wstring typed = L"注 \xD83D\xDE00!";
    std::wstring expected;
    for (int i = 0; i < 18; ++i, expected += typed) {
        WindowRunnerHost().AppendLogText(run);
        EXPECT_EQ(test::PlaceIn(log), (std::array<LRESULT, 3>{})) << "first line shown, caret at the start";
        expected += winui::Widen(run);
        SendMessageW(log, EM_SETSEL, expected.size(), expected.size());  // the user types at the end
        for (wchar_t unit : typed) SendMessageW(log, WM_CHAR, unit, 1);
    }
    EXPECT_TRUE(list::Instance().ControlText(list::Text1) == expected) << "lost or changed characters";
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
    HWND log = window.Control(list::Text1);
    SetForegroundWindow(window.Hwnd());
    SetFocus(log);
    ASSERT_EQ(GetFocus(), log) << "the caret and the selection show";
    const auto expectDrawnAfresh = [&](int row) {
        const std::vector<COLORREF> shown = PixelsOf(log);
        RedrawWindow(log, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        EXPECT_TRUE(PixelsOf(log) == shown) << "stale pixels after row " << row;
    };
    for (int row = 1; row <= 40; ++row) {
        WindowRunnerHost().AppendLogText(std::to_string(row) + ":Alerter:禁用" + (row == 5 ? "" : "\r\n"));  // 6 goes on 5's line
        winui::PumpEvents();
        if (row == 25) SendMessageW(log, EM_LINESCROLL, 0, 7);  // the user scrolls down
        if (row == 30) SendMessageW(log, EM_SETSEL, 2, 9);      // and selects
        if (row == 3 || row == 6 || (row >= 17 && row <= 20) || row == 24 || row == 26 || row == 31 || row == 40) expectDrawnAfresh(row);
    }
    window.Unload();
}

// What happens to the program's windows, in order: "+X" shown, "-X" hidden, "xX" destroyed,
// "run" the guided run's first launch; "=" stands where the answers changed.
std::string g_events;
int g_before = 0;

int Bits(const Answers& a) { return a.UsesDiscBurner | a.UsesPrinter << 1 | a.UsesImagingDevice << 2 | a.HostsWebServer << 3; }

void Note(const std::string& event) {
    if (Bits(Module1::answers) != g_before && g_events.find('=') == std::string::npos) g_events += " =";
    g_events += " " + event;
}

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const std::wstring cls = test::ClassOf(m->hwnd);
    const std::string name = code == HC_ACTION && cls.rfind(L"Qelvane", 0) == 0 ? winui::Narrow(cls.substr(7)) : "";
    if (!name.empty() && m->message == WM_DESTROY) Note("x" + name);
    if (!name.empty() && m->message == WM_SHOWWINDOW && m->lParam == 0) Note((m->wParam ? "+" : "-") + name);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Questionnaire, EachButtonAndCloseBoxActsInItsOrder) {
    const struct { Q& form; Answer answer; const char *yes, *no; } rows[] = {  // 退出, close box: " x<window>", once
        {Dialog::Instance(), Answer::UsesDiscBurner, " -Dialog +Dialog1 =", " -Dialog +Dialog1 ="},
        {Dialog1::Instance(), Answer::UsesPrinter, " -Dialog1 +Dialog2 =", " -Dialog1 +Dialog2 ="},
        {Dialog2::Instance(), Answer::UsesImagingDevice, " +Dialog3 -Dialog2 =", " +Dialog3 -Dialog2 = +List"},
        {Dialog3::Instance(), Answer::HostsWebServer, " = +List -Dialog3 run", " = +List -Dialog3 run"},
    };
    SetCommandLauncher([](const std::string&) {
        if (g_events.find("run") == std::string::npos) Note("run");
        return LaunchResult{true, {}};  // recorded, never started
    });
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    for (const auto& row : rows) {
        for (const int button : {+Q::OKButton, +Q::CancelButton, +Q::Command1, 0 /* the close box */}) {
            const std::string self = winui::Narrow(test::ClassOf(row.form.Hwnd()).substr(7));
            SCOPED_TRACE(testing::Message() << self << " button " << button);
            for (winui::Form* form : std::initializer_list<winui::Form*>{&Dialog::Instance(), &Dialog1::Instance(), &Dialog2::Instance(),
                                                                         &Dialog3::Instance(), &list::Instance()}) form->Unload();
            Module1::answers = button == Q::OKButton ? Answers{} : Answers{true, true, true, true};  // opposite
            Answers after = Module1::answers;
            if (button == Q::OKButton || button == Q::CancelButton) after.Set(row.answer, button == Q::OKButton);
            row.form.Show();
            g_before = Bits(Module1::answers);
            g_events.clear();
            if (button) SendMessageW(row.form.Control(button), BM_CLICK, 0, 0);
            else SendMessageW(row.form.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            Note("");
            EXPECT_EQ(g_events, (button == Q::OKButton ? row.yes : button == Q::CancelButton ? row.no : " x" + self) + std::string(" "));
            EXPECT_EQ(Bits(Module1::answers), Bits(after)) << "only its own answer changes";
        }
    }
    UnhookWindowsHookEx(hook);
    SetCommandLauncher(nullptr);
}

TEST(HelpWindow, TextLineByLineOpenedOnce) {
    const std::wstring host(kDownloadHost), address(kDownloadAddress);
    const std::wstring expected[] = {
        L"", L"    对XP系统服务进行优化的软件，这个软件是免费的，你可以无偿获",
        L"取，下载网址为" + host + L"，它对系统常用的近百个服务进行优化，",
        L"大大提高系统运行速度，对于未优化过的系统来说，开机速度可以提高",
        L"20%以上，并减少内存的占用。建议使用“按提问优化”以达到最好效果",
        L"，对于不懂电脑的人来说，可以使用“自动优化”，另外，“恢复默认",
        L"设置”可以恢复到优化前的系统默认状态，可能对解决一些系统问题有",
        L"帮助！", L"", std::wstring(kSiteName) + address,
        L"QQ:" + std::wstring(kMessengerAccount), L"mail:" + std::wstring(kMailAddress), L"当前版本:v1.2",
    };
    help& window = help::Instance();
    const std::wstring original = window.ControlText(help::Text1);
    std::wstring lines;
    for (const std::wstring& line : expected) lines += line + L"\r\n";
    EXPECT_EQ(original, lines) << "thirteen lines, each ending with CR LF";

    Form1& main = Form1::Instance();
    main.Show();
    window.Unload();
    for (const bool closeBox : {false, true}) {
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);
        ASSERT_TRUE(window.IsLoaded() && IsWindowVisible(window.Hwnd()));
        SendMessageW(window.Control(help::Text1), WM_CHAR, L'注', 1);
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);  // once more while it is open
        EXPECT_EQ(window.ControlText(help::Text1), L"注" + original) << "the same window, which keeps what was typed";
        if (closeBox) SendMessageW(window.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box, and 退出
        SendMessageW(window.Control(help::OKButton), BM_CLICK, 0, 0);
        EXPECT_FALSE(window.IsLoaded());
    }
}

}  // namespace
}  // namespace qelvane
