// The help window: the site's address in its text, and one window however often its button is pressed.
#include <gtest/gtest.h>

#include <string>

#include "app/form1.h"
#include "help/help_window.h"
#include "resources/site_info.h"

namespace qelvane {
namespace {

TEST(HelpWindow, ShowsTheSiteAndOpensOnce) {
    help& window = help::Instance();
    const std::wstring original = window.ControlText(help::Text1);
    const std::wstring siteLine = L"\r\n" + std::wstring(kSiteName) + std::wstring(kDownloadAddress) + L"\r\n";
    EXPECT_NE(original.find(siteLine), std::wstring::npos) << "the site's name and address on a line of their own";

    Form1& main = Form1::Instance();
    main.Show();
    window.Unload();
    for (const bool closeBox : {false, true}) {
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);
        ASSERT_TRUE(window.IsLoaded()) << "loaded by its button";
        ASSERT_TRUE(IsWindowVisible(window.Hwnd())) << "shown by its button";
        SendMessageW(window.Control(help::Text1), WM_CHAR, L'注', 1);
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);  // once more while it is open
        EXPECT_EQ(window.ControlText(help::Text1), L"注" + original) << "the same window, which keeps what was typed";
        if (closeBox) SendMessageW(window.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box, and 退出
        SendMessageW(window.Control(help::OKButton), BM_CLICK, 0, 0);
        EXPECT_FALSE(window.IsLoaded()) << "unloaded";
    }
}

}  // namespace
}  // namespace qelvane
