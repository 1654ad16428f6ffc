// The order in which each question button and close box shows, hides and unloads the windows, stores its
// answer and starts the run.
#include <gtest/gtest.h>

#include <string>

#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "runner/list_window.h"
#include "runner/module1.h"
#include "runner/window_host.h"
#include "test_support.h"

namespace qelvane {
namespace {

using Q = QuestionWindow;

// What happens to the program's windows, in order: "+X" shown, "-X" hidden, "xX" destroyed,
// "run" the guided run's first launch; "=" stands where the answers changed.
std::string g_events;
int g_before = 0;

int Bits(const Answers& a) {
    return a.UsesDiscBurner | a.UsesPrinter << 1 | a.UsesImagingDevice << 2 | a.HostsWebServer << 3;
}

void Note(const std::string& event) {
    if (Bits(Module1::answers) != g_before && g_events.find('=') == std::string::npos) g_events += " =";
    g_events += " " + event;
}

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && test::ClassOf(m->hwnd).rfind(L"Qelvane", 0) == 0) {
        if (m->message == WM_DESTROY) Note("x" + test::NameOf(m->hwnd));
        if (m->message == WM_SHOWWINDOW && m->lParam == 0) Note((m->wParam ? "+" : "-") + test::NameOf(m->hwnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Questionnaire, EachButtonAndCloseBoxActsInItsOrder) {
    const struct { Q& form; Answer answer; const char *yes, *no; } rows[] = {  // 退出, close box: " x<window>", once
        {Dialog::Instance(), Answer::UsesDiscBurner, " -Dialog +Dialog1 =", " -Dialog +Dialog1 ="},
        {Dialog1::Instance(), Answer::UsesPrinter, " -Dialog1 +Dialog2 =", " -Dialog1 +Dialog2 ="},
        {Dialog2::Instance(), Answer::UsesImagingDevice, " +Dialog3 -Dialog2 =", " +Dialog3 -Dialog2 = +List"},
        {Dialog3::Instance(), Answer::HostsWebServer, " = +List -Dialog3 run", " = +List -Dialog3 run"},
    };
    winui::Form* const windows[] = {&Dialog::Instance(), &Dialog1::Instance(), &Dialog2::Instance(),
                                    &Dialog3::Instance(), &list::Instance()};
    SetCommandLauncher([](const std::string&) {
        if (g_events.find("run") == std::string::npos) Note("run");
        return LaunchResult{true, {}};  // recorded, never started
    });
    const test::Finally restore([] { SetCommandLauncher(nullptr); });
    const test::ThreadHook hook(WH_CALLWNDPROC, Watch);
    ASSERT_TRUE(hook) << "no hook to watch the windows";
    for (const auto& row : rows) {
        for (const int button : {+Q::OKButton, +Q::CancelButton, +Q::Command1, 0 /* the close box */}) {
            const std::string self = test::NameOf(row.form.Hwnd());
            SCOPED_TRACE(testing::Message() << self << " button " << button);
            for (winui::Form* form : windows) form->Unload();
            Module1::answers = button == Q::OKButton ? Answers{} : Answers{true, true, true, true};  // opposite
            Answers after = Module1::answers;
            if (button == Q::OKButton || button == Q::CancelButton) after.Set(row.answer, button == Q::OKButton);
            row.form.Show();
            g_before = Bits(Module1::answers);
            g_events.clear();
            if (button) SendMessageW(row.form.Control(button), BM_CLICK, 0, 0);
            else SendMessageW(row.form.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            Note("");
            const std::string clicked = button == Q::OKButton ? row.yes : row.no;
            const bool answers = button == Q::OKButton || button == Q::CancelButton;
            EXPECT_EQ(g_events, (answers ? clicked : " x" + self) + " ");
            EXPECT_EQ(Bits(Module1::answers), Bits(after)) << "only its own answer changes";
        }
    }
}

}  // namespace
}  // namespace qelvane
