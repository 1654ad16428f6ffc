// The keyboard as a person uses it: real key presses, queued by the system (SendInput) for the window in
// the foreground and taken by the program's own pump. Tab and Shift+Tab walk each window's tab order, into
// and out of the text boxes, wrapping, which keep their caret and scroll position; Enter and Space press
// the focused button; Esc does nothing; typed characters, Enter and Backspace edit the log and the help text.
// A window activated while minimized leaves the focus where it is.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "help/help_window.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using Q = QuestionWindow;

void Settle() {
    for (int i = 0; i < 3; ++i) {
        winui::PumpEvents();
        Sleep(5);
    }
}

HWND g_front = nullptr;  // the window the keys are for

// Keys go to the foreground window: a window of another program on the display may have taken it.
void TakeForeground() {
    for (int i = 0; i < 100 && GetForegroundWindow() != g_front; ++i) {
        SetForegroundWindow(g_front);
        Settle();
        Sleep(10);
    }
}

void Send(WORD vk, wchar_t unit, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki = {vk, unit, flags, 0, 0};
    SendInput(1, &input, sizeof input);
}

void Press(WORD vk, WORD modifier = 0) {
    TakeForeground();
    if (modifier) Send(modifier, 0, 0);
    Send(vk, 0, 0);
    Send(vk, 0, KEYEVENTF_KEYUP);
    if (modifier) Send(modifier, 0, KEYEVENTF_KEYUP);
    Settle();
}

void Type(const std::wstring& text) {
    TakeForeground();
    for (wchar_t unit : text) {
        Send(0, unit, KEYEVENTF_UNICODE);
        Send(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    }
    Settle();
}

// Brings the window to the foreground and waits for the focus to land on `control`, or with `put`, puts it there.
void Activate(winui::Form& form, HWND control, bool put = false) {
    form.Show();
    g_front = form.Hwnd();
    for (int i = 0; i < 100 && GetFocus() != control; ++i) {
        TakeForeground();
        if (put) SetFocus(control);
        Settle();
    }
    ASSERT_EQ(GetFocus(), control) << "the focus when " << test::NameOf(form.Hwnd()) << " comes up";
}

// The buttons pressed while a hook on Clicks is in place, as "Class:id", in order.
std::vector<std::string> g_clicks;

LRESULT CALLBACK Clicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_COMMAND && m->lParam && HIWORD(m->wParam) == BN_CLICKED)
        g_clicks.push_back(test::NameOf(m->hwnd) + ":" + std::to_string(LOWORD(m->wParam)));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The buttons pressed since the last call.
std::vector<std::string> Pressed() { return std::exchange(g_clicks, {}); }

TEST(Keyboard, TabAndShiftTabWalkEachWindowsOrderAndEscDoesNothing) {
    WindowRunnerHost().AppendLogText("1:Alerter:禁用\r\n");
    const test::ThreadHook clicks = test::HookThread(WH_CALLWNDPROC, Clicks);
    ASSERT_TRUE(clicks) << "no hook to see the buttons pressed";
    Pressed();
    const std::pair<winui::Form*, std::vector<int>> orders[] = {
        {&list::Instance(), {list::Text1}},  // during a run: its exit button is still disabled
        {&Form1::Instance(), {Form1::Command1, Form1::Command2, Form1::Command3, Form1::Command4, Form1::Command5}},
        {&list::Instance(), {list::Text1, list::Command1}},  // after the run
        {&help::Instance(), {help::OKButton, help::Text1}},
        {&Dialog::Instance(), {Q::OKButton, Q::CancelButton, Q::Command1}},
        {&Dialog1::Instance(), {Q::CancelButton, Q::OKButton, Q::Command1}},
        {&Dialog2::Instance(), {Q::CancelButton, Q::OKButton, Q::Command1}},
        {&Dialog3::Instance(), {Q::Command1, Q::OKButton, Q::CancelButton}},
    };
    for (const auto& [form, order] : orders) {
        const std::size_t n = order.size();
        SCOPED_TRACE(testing::Message() << test::ClassOf(form->Hwnd()) << ", " << n << " stops");
        if (form == &list::Instance() && n == 2) form->EnableControl(list::Command1, true);
        Activate(*form, form->Control(order[0]));
        const std::wstring log = list::Instance().ControlText(list::Text1);
        const std::wstring helpText = help::Instance().ControlText(help::Text1);
        const auto expectAt = [&](std::size_t stop, const char* key) {
            TakeForeground();  // a window that gets the activation back gets the focus it had back
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[stop % n]) << key << " towards stop " << stop % n;
            Press(VK_ESCAPE);
            TakeForeground();
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[stop % n]) << "Esc";
            for (HWND c = GetWindow(form->Hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (c == GetFocus() || test::ClassOf(c) != L"Button") continue;  // the focused one has the cue
                EXPECT_NE(GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
                    << "a default button that has no focus: " << GetDlgCtrlID(c);
            }
        };
        for (std::size_t stop = 1; stop <= n; ++stop) {
            Press(VK_TAB);
            expectAt(stop, "Tab");
        }
        for (std::size_t stop = n; stop-- > 0;) {
            Press(VK_TAB, VK_SHIFT);
            expectAt(stop, "Shift+Tab");
        }
        EXPECT_EQ(list::Instance().ControlText(list::Text1), log) << "Tab and Esc typed nothing";
        EXPECT_EQ(help::Instance().ControlText(help::Text1), helpText) << "Tab and Esc typed nothing";
        if (form != &Form1::Instance()) form->Hide();
    }
    EXPECT_EQ(Pressed(), std::vector<std::string>{}) << "Tab and Esc press nothing";
    help::Instance().Unload();
    list::Instance().Unload();
}

// A questionnaire answered with Enter, then with Space, on the button that has the focus as each window
// comes up; then the exit buttons of the progress window and of help, and the help button of the main window.
TEST(Keyboard, EnterAndSpacePressTheFocusedButton) {
    const struct { winui::Form& form; const char* name; int focus; } steps[] = {
        {Form1::Instance(), "Form1", Form1::Command1}, {Dialog::Instance(), "Dialog", Q::OKButton},
        {Dialog1::Instance(), "Dialog1", Q::CancelButton},
        {Dialog2::Instance(), "Dialog2", Q::CancelButton},  // which shows the progress window too
        {Dialog3::Instance(), "Dialog3", Q::Command1}, {list::Instance(), "List", list::Command1},
        {Form1::Instance(), "Form1", Form1::Command5}, {help::Instance(), "Help", help::OKButton},
    };
    const test::ThreadHook clicks = test::HookThread(WH_CALLWNDPROC, Clicks);
    ASSERT_TRUE(clicks) << "no hook to see the buttons pressed";
    for (const WORD key : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Space");
        Pressed();
        std::vector<std::string> expected;
        for (const auto& step : steps) {
            if (&step.form == &list::Instance()) step.form.EnableControl(list::Command1, true);  // as after a run
            Activate(step.form, step.form.Control(step.focus), /*put=*/true);
            Press(key);
            expected.push_back(step.name + (":" + std::to_string(step.focus)));
        }
        EXPECT_EQ(Pressed(), expected) << "the buttons pressed";
    }
}

// Tab (or Shift+Tab) out of a text box to the window's button and back in keeps the box's caret,
// selection and first visible line; the next key typed goes in at the caret, and nothing else is lost.
void TabOutAndBackIn(HWND box, WORD modifier, wchar_t typed) {
    const auto before = test::PlaceIn(box);
    const std::wstring text = test::TextOf(box);
    Press(VK_TAB, modifier);
    EXPECT_NE(GetFocus(), box) << "out";
    Press(VK_TAB, modifier);
    ASSERT_EQ(GetFocus(), box) << "back in";
    EXPECT_EQ(test::PlaceIn(box), before) << "selection from, to, first visible line";
    Type(std::wstring(1, typed));
    EXPECT_EQ(test::TextOf(box), text.substr(0, before[0]) + typed + text.substr(before[1])) << "typed at the caret";
}

// After a run, as a person meets it: in the log, scrolled down to a selection of the user's own, Shift+Tab
// out and back in and type; Tab into the help text finds the caret at the start and the first line shown.
TEST(Keyboard, TabKeepsTheCaretTheScrollPositionAndTheText) {
    const test::ThreadHook clicks = test::HookThread(WH_CALLWNDPROC, Clicks);
    ASSERT_TRUE(clicks) << "no hook to see the buttons pressed";
    list& progress = list::Instance();
    std::string log;
    for (int row = 1; row <= 40; ++row) log += std::to_string(row) + ":Alerter:禁用\r\n";  // more than the box shows
    WindowRunnerHost().AppendLogText(log);
    progress.EnableControl(list::Command1, true);
    HWND box = progress.Control(list::Text1);
    Activate(progress, box);
    Pressed();
    Press(VK_END, VK_CONTROL);
    for (int i = 0; i < 5; ++i) Press(VK_UP);
    Press(VK_RIGHT, VK_SHIFT);  // a selection of the user's own stays as it is
    ASSERT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled";
    TabOutAndBackIn(box, VK_SHIFT, L'y');

    help& window = help::Instance();
    const std::wstring original = window.ControlText(help::Text1);
    box = window.Control(help::Text1);
    Activate(window, window.Control(help::OKButton));
    Press(VK_TAB);
    EXPECT_EQ(test::PlaceIn(box), (std::array<LRESULT, 3>{})) << "first line shown, caret at the start";
    Type(L"z");
    Press(VK_RETURN);
    Type(L"甲乙");
    Press(VK_BACK);
    EXPECT_EQ(window.ControlText(help::Text1), L"z\r\n甲" + original) << "typed, Enter and Backspace";
    EXPECT_EQ(Pressed(), std::vector<std::string>{}) << "Tab, Enter and typing in a text box press no button";
    window.Unload();
    progress.Unload();
}

TEST(Keyboard, NoFocusIsSetWhileMinimized) {
    Form1& form = Form1::Instance();
    form.Show();
    SetFocus(form.Control(Form1::Command3));
    SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);  // remembers Command3
    SetFocus(form.Hwnd());
    SendMessageW(form.Hwnd(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
    EXPECT_EQ(GetFocus(), form.Hwnd()) << "activated while minimized";
    SendMessageW(form.Hwnd(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, FALSE), 0);
    EXPECT_EQ(GetFocus(), form.Control(Form1::Command3)) << "restored";
}

}  // namespace
}  // namespace qelvane
