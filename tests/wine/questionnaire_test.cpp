// The four question windows in this process: frames and controls at 96 DPI,
// focus and keys, and the order in which each button acts on the windows and the
// answers. The paths through the questionnaire, quitting, and the run that follows
// the fourth answer are checked from outside in tests/e2e/test_questionnaire.py.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "app/form1.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "questionnaire/module1.h"
#include "runner/list_window.h"
#include "test_support.h"
#include "winui/form.h"

namespace qelvane {
namespace {

using test::ClassOf;
using Q = QuestionWindow;

int Bits(const Answers& a) {
    return a.UsesDiscBurner | a.UsesPrinter << 1 | a.UsesImagingDevice << 2 | a.HostsWebServer << 3;
}

// Records shows, hides and destructions of the program's top-level windows, each
// with the answers as they stood at that moment, in the order they happen.
struct Recorder {
    static inline Recorder* active = nullptr;
    std::vector<std::wstring> what;
    std::vector<int> answers;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    Recorder() { active = this; }
    ~Recorder() { UnhookWindowsHookEx(hook), active = nullptr; }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && active && !(GetWindowLongW(m->hwnd, GWL_STYLE) & WS_CHILD) &&
            ClassOf(m->hwnd).rfind(L"Qelvane", 0) == 0) {
            const wchar_t* event = m->message == WM_DESTROY                        ? L" destroyed"
                                   : m->message != WM_SHOWWINDOW || m->lParam != 0 ? nullptr
                                   : m->wParam                                     ? L" shown"
                                                                                   : L" hidden";
            if (event) active->what.push_back(ClassOf(m->hwnd) + event);
            if (event) active->answers.push_back(Bits(Module1::answers));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

// Presses a key on the focused control, through the program's own pump.
void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    winui::PumpEvents();
}

struct Window {
    Q& form;
    const wchar_t* question;
    SIZE client;
    test::PixelRect label, yes, no, exit;
    int tabOrder[3];  // the buttons in keyboard order, from the one focused on opening
};

// The twips of the layout table divided by 15.
const std::vector<Window>& AllWindows() {
    static const std::vector<Window> windows = {
        {Dialog::Instance(), L"您是否使用刻录机刻光盘？", {371, 156}, {112, 48, 193, 33}, {48, 104, 81, 25},
         {152, 104, 81, 25}, {256, 104, 81, 25}, {Q::OKButton, Q::CancelButton, Q::Command1}},
        {Dialog1::Instance(), L"您是否使用打印机打印文档？", {364, 164}, {88, 48, 193, 33}, {40, 112, 81, 25},
         {144, 112, 81, 25}, {248, 112, 81, 25}, {Q::CancelButton, Q::OKButton, Q::Command1}},
        {Dialog2::Instance(), L"这台电脑是否要连接摄像头、扫描仪或照像机？", {352, 173}, {32, 56, 297, 33},
         {32, 120, 81, 25}, {136, 120, 81, 25}, {240, 120, 81, 25}, {Q::CancelButton, Q::OKButton, Q::Command1}},
        {Dialog3::Instance(), L"这台电脑是否开启IIS服务以架设网站服务器？(建议选否，不架设网站服务器)", {377, 168},
         {40, 40, 297, 33}, {40, 112, 81, 25}, {144, 112, 81, 25}, {248, 112, 81, 25},
         {Q::Command1, Q::OKButton, Q::CancelButton}},
    };
    return windows;
}

class QuestionWindows : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::ScreenDpi(), 96) << "the layout figures are for 96 DPI"; }
};

TEST_F(QuestionWindows, CentredFixedFramesOwnedByAHiddenWindowWithTheirControls) {
    HWND owner = GetWindow(AllWindows()[0].form.Hwnd(), GW_OWNER);  // hidden, none of the program's: no taskbar button
    EXPECT_TRUE(owner && !IsWindowVisible(owner) && owner != Form1::Instance().Hwnd());
    for (const Window& w : AllWindows()) {
        HWND hwnd = w.form.Hwnd();
        SCOPED_TRACE(testing::Message() << ClassOf(hwnd));
        EXPECT_EQ(test::TextOf(hwnd), L"按提问优化(建议)");
        EXPECT_TRUE(test::ClientSize(hwnd).cx == w.client.cx && test::ClientSize(hwnd).cy == w.client.cy);
        EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_VISIBLE), 0);
        EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW), WS_EX_DLGMODALFRAME);
        EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner);
        RECT f{};
        GetWindowRect(hwnd, &f);
        EXPECT_LE(std::abs(f.left + f.right - GetSystemMetrics(SM_CXSCREEN)) + std::abs(f.top + f.bottom - GetSystemMetrics(SM_CYSCREEN)), 4) << "centred";
        const std::tuple<int, const wchar_t*, test::PixelRect> controls[] = {
            {Q::Label1, w.question, w.label}, {Q::OKButton, L"是", w.yes}, {Q::CancelButton, L"否", w.no},
            {Q::Command1, L"退出", w.exit}};
        for (const auto& [id, text, rect] : controls) {
            HWND control = w.form.Control(id);
            ASSERT_NE(control, nullptr) << id;
            EXPECT_EQ(test::TextOf(control), text);
            EXPECT_EQ(test::ClientRectOf(control), rect) << id;
            EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED), WS_VISIBLE) << id;
        }
        const LOGFONTW label = test::FontOf(w.form.Control(Q::Label1));
        EXPECT_EQ(std::make_tuple(std::wstring(label.lfFaceName), label.lfHeight, label.lfWeight, label.lfCharSet),
                  std::make_tuple(std::wstring(L"宋体"), LONG{-14}, LONG{FW_NORMAL}, BYTE{GB2312_CHARSET}));
        EXPECT_STREQ(test::FontOf(w.form.Control(Q::Command1)).lfFaceName, test::WindowFont().lfFaceName);
    }
}

TEST_F(QuestionWindows, FocusTabOrderNoDefaultButtonAndEscPressesNothing) {
    for (const Window& w : AllWindows()) {
        SCOPED_TRACE(testing::Message() << ClassOf(w.form.Hwnd()));
        const int before = Bits(Module1::answers);
        w.form.Show();
        test::Pump();
        for (int step = 0; step <= 3; PressKey(VK_TAB), ++step) {
            EXPECT_EQ(GetFocus(), w.form.Control(w.tabOrder[step % 3])) << "after " << step << " tabs";
            for (int id : {Q::OKButton, Q::CancelButton, Q::Command1})  // only the focus cue may show
                EXPECT_TRUE(GetFocus() == w.form.Control(id) ||
                            (GetWindowLongW(w.form.Control(id), GWL_STYLE) & BS_TYPEMASK) != BS_DEFPUSHBUTTON) << id;
        }
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(w.form.Hwnd()) && Bits(Module1::answers) == before) << "Esc presses nothing";
        w.form.Unload();
    }
}

// The first two events see the old answers; the answer is stored after them.
TEST_F(QuestionWindows, AnswerButtonsHideShowAndStoreInOrder) {
    const std::vector<std::wstring> next1 = {L"QelvaneDialog hidden", L"QelvaneDialog1 shown"},
                                    next2 = {L"QelvaneDialog1 hidden", L"QelvaneDialog2 shown"},
                                    next3 = {L"QelvaneDialog3 shown", L"QelvaneDialog2 hidden"};
    const std::tuple<Q&, int, Answer, std::vector<std::wstring>> rows[] = {
        {Dialog::Instance(), Q::OKButton, Answer::UsesDiscBurner, next1},
        {Dialog::Instance(), Q::CancelButton, Answer::UsesDiscBurner, next1},
        {Dialog1::Instance(), Q::OKButton, Answer::UsesPrinter, next2},
        {Dialog1::Instance(), Q::CancelButton, Answer::UsesPrinter, next2},
        {Dialog2::Instance(), Q::OKButton, Answer::UsesImagingDevice, next3},
        {Dialog2::Instance(), Q::CancelButton, Answer::UsesImagingDevice, {next3[0], next3[1], L"QelvaneList shown"}},
    };
    for (const auto& [form, button, which, events] : rows) {
        const bool yes = button == Q::OKButton;
        SCOPED_TRACE(testing::Message() << ClassOf(form.Hwnd()) << (yes ? " 是" : " 否"));
        for (const Window& w : AllWindows()) w.form.Unload();
        list::Instance().Unload();
        Module1::answers = yes ? Answers{} : Answers{true, true, true, true};
        const int before = Bits(Module1::answers);
        form.Show();
        Recorder recorder;
        SendMessageW(form.Control(button), BM_CLICK, 0, 0);
        Module1::answers.Set(which, !yes);
        EXPECT_EQ(Bits(Module1::answers), before) << "only its own answer changes, to " << yes;
        Module1::answers.Set(which, yes);
        ASSERT_EQ(recorder.what, events);
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_EQ(recorder.answers[i], i < 2 ? before : Bits(Module1::answers)) << events[i];
        EXPECT_TRUE(form.IsLoaded()) << "an answer only hides the window";
    }
}

TEST_F(QuestionWindows, ExitAndCloseBoxUnloadTheWindowOnce) {
    for (const Window& w : AllWindows()) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(testing::Message() << ClassOf(w.form.Hwnd()) << (closeBox ? " close box" : " 退出"));
            w.form.Show();
            const std::wstring self = ClassOf(w.form.Hwnd());
            Recorder recorder;
            if (closeBox) SendMessageW(w.form.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            else SendMessageW(w.form.Control(Q::Command1), BM_CLICK, 0, 0);
            EXPECT_EQ(recorder.what, std::vector<std::wstring>{self + L" destroyed"});
            EXPECT_FALSE(w.form.IsLoaded());
        }
    }
}

// In a child process that must end with code 7: Dialog2's unload handler asks
// for a second unload, and a handler that recursed would overflow the stack,
// which under Wine can end a process with code 0.
TEST_F(QuestionWindows, Dialog2sNestedUnloadRequestLeavesOneCompleteUnload) {
    EXPECT_EXIT(
        {
            Dialog2& dialog2 = Dialog2::Instance();
            dialog2.Show();
            Recorder recorder;
            dialog2.Unload();
            const bool once = recorder.what == std::vector<std::wstring>{L"QelvaneDialog2 destroyed"};
            std::exit(once && !dialog2.IsLoaded() ? 7 : 1);
        },
        testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace qelvane
