// The four question windows in this process: their frames and controls at 96 DPI,
// focus and keys, and what each button does, in which order, to the windows and
// the answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "profiles/profiles.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "questionnaire/module1.h"
#include "runner/list_window.h"
#include "test_support.h"
#include "winui/form.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using test::ClassOf;
using test::ClientRectOf;
using test::PixelRect;
using test::TextOf;
using Q = QuestionWindow;

// One thing a window went through while a handler ran, with the answers as they
// stood at that moment.
struct Event {
    std::wstring what;
    Answers answers;
};

bool IsProgramWindow(HWND hwnd) {
    return !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) && ClassOf(hwnd).rfind(L"Qelvane", 0) == 0;
}

// Records shows, hides and destructions of the program's top-level windows, and
// every text written into the progress log, in the order they happen.
class Recorder {
public:
    Recorder() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId())) { active_ = this; }
    ~Recorder() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<Event> events;

    std::vector<std::wstring> What() const {
        std::vector<std::wstring> list;
        for (const Event& e : events) list.push_back(e.what);
        return list;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && active_) {
            std::wstring what;
            if (m->message == WM_SHOWWINDOW && m->lParam == 0 && IsProgramWindow(m->hwnd))
                what = ClassOf(m->hwnd) + (m->wParam ? L" shown" : L" hidden");
            else if (m->message == WM_DESTROY && IsProgramWindow(m->hwnd))
                what = ClassOf(m->hwnd) + L" destroyed";
            else if (m->message == WM_SETTEXT && ClassOf(m->hwnd) == L"Edit" &&
                     ClassOf(GetParent(m->hwnd)) == L"QelvaneList")
                what = L"log " + std::wstring(reinterpret_cast<const wchar_t*>(m->lParam));
            if (!what.empty()) active_->events.push_back({what, Module1::answers});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline Recorder* active_ = nullptr;
    HHOOK hook_;
};

void Click(winui::Form& form, int id) { SendMessageW(form.Control(id), BM_CLICK, 0, 0); }

// Presses a key on the focused control, through the program's own pump.
void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    winui::PumpEvents();
}

Answers Make(bool disc, bool printer, bool imaging, bool web) {
    Answers a;
    a.UsesDiscBurner = disc;
    a.UsesPrinter = printer;
    a.UsesImagingDevice = imaging;
    a.HostsWebServer = web;
    return a;
}

bool operator==(const Answers& a, const Answers& b) {
    return a.UsesDiscBurner == b.UsesDiscBurner && a.UsesPrinter == b.UsesPrinter &&
           a.UsesImagingDevice == b.UsesImagingDevice && a.HostsWebServer == b.HostsWebServer;
}

struct Window {
    Q& form;
    const wchar_t* className;
    const wchar_t* question;
    SIZE client;
    PixelRect label, yes, no, exit;
    int focus;            // the control with the focus when the window opens
    int tabOrder[3];      // the buttons in keyboard order, from the focused one
    int labelLines;
};

// The twips of the layout table divided by 15.
std::vector<Window> AllWindows() {
    return {
        {Dialog::Instance(), L"QelvaneDialog", L"您是否使用刻录机刻光盘？", {371, 156}, {112, 48, 193, 33},
         {48, 104, 81, 25}, {152, 104, 81, 25}, {256, 104, 81, 25}, Q::OKButton,
         {Q::OKButton, Q::CancelButton, Q::Command1}, 1},
        {Dialog1::Instance(), L"QelvaneDialog1", L"您是否使用打印机打印文档？", {364, 164}, {88, 48, 193, 33},
         {40, 112, 81, 25}, {144, 112, 81, 25}, {248, 112, 81, 25}, Q::CancelButton,
         {Q::CancelButton, Q::OKButton, Q::Command1}, 1},
        {Dialog2::Instance(), L"QelvaneDialog2", L"这台电脑是否要连接摄像头、扫描仪或照像机？", {352, 173},
         {32, 56, 297, 33}, {32, 120, 81, 25}, {136, 120, 81, 25}, {240, 120, 81, 25}, Q::CancelButton,
         {Q::CancelButton, Q::OKButton, Q::Command1}, 1},
        {Dialog3::Instance(), L"QelvaneDialog3",
         L"这台电脑是否开启IIS服务以架设网站服务器？(建议选否，不架设网站服务器)", {377, 168}, {40, 40, 297, 33},
         {40, 112, 81, 25}, {144, 112, 81, 25}, {248, 112, 81, 25}, Q::Command1,
         {Q::Command1, Q::OKButton, Q::CancelButton}, 2},
    };
}

class QuestionWindows : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::ScreenDpi(), 96) << "the layout figures are for 96 DPI"; }
};
using QuestionHandlers = QuestionWindows;

TEST_F(QuestionWindows, FramesAreCentredFixedDialogsOwnedByAHiddenWindow) {
    HWND sharedOwner = nullptr;
    for (const Window& w : AllWindows()) {
        SCOPED_TRACE(testing::Message() << ClassOf(w.form.Hwnd()));
        HWND hwnd = w.form.Hwnd();
        EXPECT_EQ(ClassOf(hwnd), w.className);
        EXPECT_EQ(TextOf(hwnd), L"按提问优化(建议)");
        const SIZE client = test::ClientSize(hwnd);
        EXPECT_EQ(client.cx, w.client.cx);
        EXPECT_EQ(client.cy, w.client.cy);
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
        EXPECT_FALSE(style & WS_VISIBLE) << "a reference loads the window hidden";
        const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
        // No taskbar button: owned, and by an invisible window that is none of the program's.
        HWND owner = GetWindow(hwnd, GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_FALSE(IsWindowVisible(owner));
        if (sharedOwner) {
            EXPECT_EQ(owner, sharedOwner) << "not owned by another question window";
        }
        sharedOwner = owner;
        RECT frame{};
        GetWindowRect(hwnd, &frame);
        EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
        EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0);
    }
    EXPECT_NE(sharedOwner, Form1::Instance().Hwnd());
    EXPECT_NE(sharedOwner, list::Instance().Hwnd());
}

TEST_F(QuestionWindows, ControlsTextsAndFonts) {
    const LOGFONTW windowFont = test::WindowFont();
    for (const Window& w : AllWindows()) {
        SCOPED_TRACE(testing::Message() << ClassOf(w.form.Hwnd()));
        const struct {
            int id;
            const wchar_t* className;
            const wchar_t* text;
            PixelRect rect;
        } controls[] = {{Q::Label1, L"Static", w.question, w.label},
                        {Q::OKButton, L"Button", L"是", w.yes},
                        {Q::CancelButton, L"Button", L"否", w.no},
                        {Q::Command1, L"Button", L"退出", w.exit}};
        for (const auto& c : controls) {
            HWND control = w.form.Control(c.id);
            ASSERT_NE(control, nullptr) << c.id;
            EXPECT_EQ(ClassOf(control), c.className);
            EXPECT_EQ(TextOf(control), c.text);
            EXPECT_EQ(ClientRectOf(control), c.rect) << c.id;
            EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
            EXPECT_TRUE(IsWindowEnabled(control));
            const LOGFONTW font = test::FontOf(control);
            if (c.id == Q::Label1) {
                EXPECT_STREQ(font.lfFaceName, L"宋体");
                EXPECT_EQ(font.lfHeight, -14);
                EXPECT_EQ(font.lfWeight, FW_NORMAL);
                EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
            } else {
                EXPECT_STREQ(font.lfFaceName, windowFont.lfFaceName);
                EXPECT_EQ(font.lfHeight, windowFont.lfHeight);
            }
        }
        // The question wraps within the label's width, and all its lines fit.
        HWND label = w.form.Control(Q::Label1);
        EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
        EXPECT_EQ(test::PaintOf(label, WM_CTLCOLORSTATIC).text, GetSysColor(COLOR_WINDOWTEXT));
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT box{0, 0, w.label.width, 0};
        DrawTextW(dc, w.question, -1, &box, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        EXPECT_EQ(box.bottom / metrics.tmHeight, w.labelLines);
    }
}

TEST_F(QuestionWindows, FocusTabOrderAndNoDefaultOrCancelButton) {
    for (const Window& w : AllWindows()) {
        SCOPED_TRACE(testing::Message() << ClassOf(w.form.Hwnd()));
        const Answers before = Module1::answers;
        w.form.Show();
        test::Pump();
        EXPECT_EQ(GetFocus(), w.form.Control(w.focus));
        for (int step = 1; step <= 3; ++step) {
            PressKey(VK_TAB);
            EXPECT_EQ(GetFocus(), w.form.Control(w.tabOrder[step % 3])) << "after " << step << " tabs";
            // Only the focused button may wear the default frame, as the focus cue.
            for (int id : {Q::OKButton, Q::CancelButton, Q::Command1}) {
                if (GetFocus() == w.form.Control(id)) continue;
                EXPECT_NE(GetWindowLongW(w.form.Control(id), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << id;
            }
        }
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(w.form.IsLoaded() && IsWindowVisible(w.form.Hwnd())) << "Esc presses nothing";
        EXPECT_TRUE(Module1::answers == before);
        w.form.Unload();
    }
}

TEST_F(QuestionWindows, EnterPressesTheFocusedButton) {
    // Dialog3 opens on "退出": Enter quits, and no run starts.
    Dialog3::Instance().Show();
    test::Pump();
    PressKey(VK_RETURN);
    EXPECT_FALSE(Dialog3::Instance().IsLoaded());
    EXPECT_FALSE(list::Instance().IsLoaded());
    // In Dialog, after one Tab from "是", Enter answers "否".
    Module1::answers.UsesDiscBurner = true;
    Dialog::Instance().Show();
    test::Pump();
    PressKey(VK_TAB);
    PressKey(VK_RETURN);
    EXPECT_FALSE(Module1::answers.UsesDiscBurner);
    EXPECT_TRUE(IsWindowVisible(Dialog1::Instance().Hwnd()));
}

TEST_F(QuestionHandlers, FirstTwoQuestionsHideThenShowTheNextThenStore) {
    const struct {
        Q& form;
        const wchar_t* self;
        const wchar_t* next;
        Q& nextForm;
        bool Answers::*answer;
    } windows[] = {
        {Dialog::Instance(), L"QelvaneDialog", L"QelvaneDialog1", Dialog1::Instance(), &Answers::UsesDiscBurner},
        {Dialog1::Instance(), L"QelvaneDialog1", L"QelvaneDialog2", Dialog2::Instance(), &Answers::UsesPrinter},
    };
    for (const auto& w : windows) {
        for (const bool yes : {true, false}) {
            SCOPED_TRACE(testing::Message() << w.self << (yes ? " 是" : " 否"));
            Module1::answers = Make(!yes, !yes, !yes, !yes);
            const Answers before = Module1::answers;
            w.form.Show();
            w.nextForm.Hide();
            Recorder recorder;
            Click(w.form, yes ? Q::OKButton : Q::CancelButton);
            EXPECT_EQ(recorder.What(), (std::vector<std::wstring>{std::wstring(w.self) + L" hidden",
                                                                   std::wstring(w.next) + L" shown"}));
            for (const Event& e : recorder.events) EXPECT_TRUE(e.answers == before) << "stored last";
            Answers after = before;
            after.*w.answer = yes;
            EXPECT_TRUE(Module1::answers == after);
            EXPECT_TRUE(w.form.IsLoaded()) << "an answer only hides the window";
            EXPECT_FALSE(list::Instance().IsLoaded());
        }
    }
}

TEST_F(QuestionHandlers, ThirdQuestionShowsTheFourthFirstAndOnlyNoShowsTheProgressWindow) {
    Dialog2& dialog2 = Dialog2::Instance();
    Module1::answers = Make(true, true, false, true);
    dialog2.Show();
    {
        Recorder recorder;
        Click(dialog2, Q::OKButton);
        EXPECT_EQ(recorder.What(), (std::vector<std::wstring>{L"QelvaneDialog3 shown", L"QelvaneDialog2 hidden"}));
        for (const Event& e : recorder.events) EXPECT_FALSE(e.answers.UsesImagingDevice);
        EXPECT_TRUE(Module1::answers == Make(true, true, true, true));
        EXPECT_FALSE(list::Instance().IsLoaded()) << "是 leaves the progress window alone";
    }
    Dialog3::Instance().Hide();
    dialog2.Show();
    {
        Recorder recorder;
        Click(dialog2, Q::CancelButton);
        EXPECT_EQ(recorder.What(), (std::vector<std::wstring>{L"QelvaneDialog3 shown", L"QelvaneDialog2 hidden",
                                                               L"QelvaneList shown"}));
        ASSERT_EQ(recorder.events.size(), 3u);
        EXPECT_TRUE(recorder.events[1].answers.UsesImagingDevice);
        EXPECT_FALSE(recorder.events[2].answers.UsesImagingDevice);
        EXPECT_TRUE(Module1::answers == Make(true, true, false, true));
    }
    // The progress window waits in its design-time state; no run has started.
    list& progress = list::Instance();
    EXPECT_TRUE(IsWindowVisible(progress.Hwnd()));
    EXPECT_TRUE(IsWindowVisible(Dialog3::Instance().Hwnd()));
    EXPECT_EQ(progress.Caption(), L"正在优化系统服务...");
    EXPECT_EQ(progress.ControlText(list::Text1), L"");
    EXPECT_FALSE(IsWindowEnabled(progress.Control(list::Command1)));
}

TEST_F(QuestionHandlers, UnloadExitAndCloseBoxUnloadTheWindowAndNothingElse) {
    const std::vector<Window> windows = AllWindows();
    const char* const ways[] = {"Unload", "退出", "close box"};
    for (const Window& w : windows) {
        const std::wstring self = ClassOf(w.form.Hwnd());
        for (const char* way : ways) {
            SCOPED_TRACE(testing::Message() << self << " " << way);
            Module1::answers = Make(true, false, true, false);
            // Another question window stays open alongside.
            Q& other = &w.form == &windows[0].form ? windows[1].form : windows[0].form;
            other.Show();
            w.form.Show();
            Recorder recorder;
            if (way == ways[0]) w.form.Unload();
            else if (way == ways[1]) Click(w.form, Q::Command1);
            else SendMessageW(w.form.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            // Dialog2's unload handler asks for a second unload: it must not happen.
            EXPECT_EQ(recorder.What(), std::vector<std::wstring>{self + L" destroyed"});
            EXPECT_FALSE(w.form.IsLoaded());
            EXPECT_TRUE(Module1::answers == Make(true, false, true, false));
            EXPECT_TRUE(IsWindowVisible(other.Hwnd()));
            EXPECT_FALSE(list::Instance().IsLoaded());
            other.Hide();
            // The next show loads the window afresh.
            w.form.Show();
            EXPECT_TRUE(IsWindowVisible(w.form.Hwnd()));
            EXPECT_EQ(w.form.ControlText(Q::Label1), w.question);
        }
        w.form.Unload();
    }
}

// In a child process that must end with code 7: an unload handler that recursed
// would overflow the stack, and under Wine that can end a process with code 0.
TEST_F(QuestionHandlers, Dialog2sNestedUnloadRequestLeavesOneCompleteUnload) {
    EXPECT_EXIT(
        {
            Dialog2& dialog2 = Dialog2::Instance();
            dialog2.Show();
            Recorder recorder;
            dialog2.Unload();
            const bool once = recorder.What() == std::vector<std::wstring>{L"QelvaneDialog2 destroyed"};
            std::exit(once && !dialog2.IsLoaded() ? 7 : 1);
        },
        testing::ExitedWithCode(7), "");
}

// Records what a run writes, without launching anything.
class LogOnlyHost : public RunnerHost {
public:
    std::string log;
    LaunchResult RunHidden(const std::string&) override { return {true, {}}; }
    void PumpEvents() override {}
    void AppendLogText(std::string_view text) override { log += text; }
    void SetProgressCaption(std::string_view) override {}
    void SetProgressStatus(std::string_view) override {}
    void EnableProgressExit() override {}
};

// The one test here that runs the guided table for real (every row launches cmd).
TEST_F(QuestionHandlers, FourthQuestionStoresShowsHidesThenRunsToTheEnd) {
    Dialog3& dialog3 = Dialog3::Instance();
    Module1::answers = Make(true, false, true, true);
    dialog3.Show();
    Recorder recorder;
    Click(dialog3, Q::CancelButton);
    const std::vector<std::wstring> what = recorder.What();
    ASSERT_GE(what.size(), 3u);
    EXPECT_EQ(what[0], L"QelvaneList shown");
    EXPECT_FALSE(recorder.events[0].answers.HostsWebServer) << "stored before anything is shown";
    EXPECT_EQ(what[1], L"QelvaneDialog3 hidden");
    EXPECT_EQ(what[2], L"log 1:Alerter:禁用\r\n") << "the run starts after the hide";

    LogOnlyHost expected;
    ExecuteProfile(GuidedProfile(), Make(true, false, true, false), expected);
    list& progress = list::Instance();
    EXPECT_EQ(winui::Narrow(progress.ControlText(list::Text1)), expected.log);
    EXPECT_EQ(progress.Caption(), L"优化完成！");
    EXPECT_TRUE(dialog3.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(dialog3.Hwnd()));
    EXPECT_TRUE(Module1::answers == Make(true, false, true, false));
}

}  // namespace
}  // namespace qelvane
