// The window layer's failure paths: a window that cannot be created ends the action that needed it, once,
// without the exception leaving the window procedure.
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
    SetCommandLauncher([](const std::string&) {
        ++g_launches;
        return LaunchResult{true, {}};
    });
    const test::Finally restore([] { SetCommandLauncher(nullptr); });
    {
        const test::ThreadHook hook = test::HookThread(WH_CBT, RefuseProgressWindow);
        ASSERT_TRUE(hook) << "no hook to refuse the window";
        SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(g_attempts, 1) << "one try, not one per row";
    EXPECT_EQ(g_launches, 0) << "the run did not start without its window";

    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);  // the next click tries again
    EXPECT_EQ(g_launches, 115) << "launches of the automatic run";
}

LRESULT CALLBACK RefuseHelpControls(int code, WPARAM wParam, LPARAM lParam) {
    const auto* created = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && test::ClassOf(created->lpcs->hwndParent) == L"QelvaneHelp") return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Failures, AWindowWhoseControlCannotBeCreatedIsNotCreated) {
    {
        const test::ThreadHook hook = test::HookThread(WH_CBT, RefuseHelpControls);
        ASSERT_TRUE(hook) << "no hook to refuse the controls";
        EXPECT_THROW(help::Instance().Hwnd(), winui::WindowNotCreated) << "help, none of whose controls could be made";
    }
    EXPECT_NE(help::Instance().Control(help::OKButton), nullptr) << "the next reference makes it whole";
    help::Instance().Unload();
}

}  // namespace
}  // namespace qelvane
