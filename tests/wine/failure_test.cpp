// The window layer's failure paths: a window that cannot be created ends the action that
// needed it, once, without the exception leaving the window procedure; and the focus is
// not set while a window is minimized.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "help/help_window.h"
#include "runner/window_host.h"
#include "test_support.h"

namespace qelvane {
namespace {

int g_attempts = 0, g_launches = 0;

LRESULT CALLBACK RefuseProgressWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && test::ClassOf(reinterpret_cast<HWND>(wParam)) == L"QelvaneList") return ++g_attempts;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Failures, AProgressWindowThatCannotBeCreatedEndsTheClickOnce) {
    SetCommandLauncher([](const std::string&) { return ++g_launches, LaunchResult{true, {}}; });
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseProgressWindow, nullptr, GetCurrentThreadId());
    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_attempts, 1) << "one try, not one per row";
    EXPECT_EQ(g_launches, 0) << "the run did not start without its window";

    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);  // the next click tries again
    EXPECT_EQ(g_launches, 115);
    SetCommandLauncher(nullptr);
}

LRESULT CALLBACK RefuseHelpButton(int code, WPARAM wParam, LPARAM lParam) {
    const auto* created = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && test::ClassOf(created->lpcs->hwndParent) == L"QelvaneHelp") return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Failures, AWindowWhoseControlCannotBeCreatedIsNotCreated) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseHelpButton, nullptr, GetCurrentThreadId());
    EXPECT_THROW(help::Instance().Hwnd(), winui::WindowNotCreated) << "help, none of whose controls could be made";
    UnhookWindowsHookEx(hook);
    EXPECT_NE(help::Instance().Control(help::OKButton), nullptr) << "the next reference makes it whole";
    help::Instance().Unload();
}

TEST(Failures, NoFocusIsSetWhileMinimized) {
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
