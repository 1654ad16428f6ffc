// The help window's text, and a window opened once however often its button is pressed.
#include <gtest/gtest.h>

#include <string>

#include "app/form1.h"
#include "help/help_window.h"
#include "resources/site_info.h"

namespace qelvane {
namespace {

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
