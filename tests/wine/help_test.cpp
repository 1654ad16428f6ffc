// The help window in this process: frame and fixed place, focus, text box and
// button, the grey ground and the help text line by line. Opening, typing, one
// window and the fresh text after a reload are checked from outside in
// tests/e2e/test_questionnaire.py.
#include <gtest/gtest.h>

#include <tuple>

#include "app/form1.h"
#include "app/site_info.h"
#include "help/help_window.h"
#include "test_support.h"
#include "winui/form.h"

namespace qelvane {
namespace {

using test::ClassOf;
using test::ClientRectOf;

class HelpWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::ScreenDpi(), 96) << "the layout figures are for 96 DPI"; }
};

TEST_F(HelpWindow, FrameFixedPlaceFocusControlsAndGreyGround) {
    help& window = help::Instance();
    HWND hwnd = window.Hwnd();
    EXPECT_EQ(ClassOf(hwnd), L"QelvaneHelp");
    EXPECT_EQ(test::ClientSize(hwnd).cx, 484);
    EXPECT_EQ(test::ClientSize(hwnd).cy, 392);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW), WS_EX_DLGMODALFRAME);
    HWND owner = GetWindow(hwnd, GW_OWNER);  // hidden, and none of the program's: no taskbar button
    EXPECT_TRUE(owner && !IsWindowVisible(owner) && owner != Form1::Instance().Hwnd());

    Form1& main = Form1::Instance();
    main.Show();
    for (const POINT mainAt : {POINT{0, 0}, POINT{520, 330}}) {
        SetWindowPos(main.Hwnd(), nullptr, mainAt.x, mainAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        window.Unload();
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);
        ASSERT_TRUE(window.IsLoaded() && IsWindowVisible(window.Hwnd()));
        POINT origin{0, 0};
        ClientToScreen(window.Hwnd(), &origin);
        EXPECT_TRUE(origin.x == 184 && origin.y == 250) << origin.x << "," << origin.y;
    }
    test::Pump();
    HWND exit = window.Control(help::OKButton);
    EXPECT_EQ(GetFocus(), exit);
    const LRESULT selection = SendMessageW(window.Control(help::Text1), EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << "a key pressed now must not replace the text";
    PostMessageW(exit, WM_KEYDOWN, VK_TAB, 1);
    winui::PumpEvents();
    HWND text = window.Control(help::Text1);
    EXPECT_EQ(GetFocus(), text) << "Tab goes on to the text box";
    EXPECT_EQ(ClientRectOf(text), (test::PixelRect{8, 16, 465, 337}));
    EXPECT_EQ(test::TextOf(exit), L"退出");
    EXPECT_EQ(ClientRectOf(exit), (test::PixelRect{392, 360, 81, 25}));
    EXPECT_NE(GetWindowLongW(exit, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const LONG style = GetWindowLongW(text, GWL_STYLE);
    EXPECT_EQ(style & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_READONLY), ES_MULTILINE | WS_VSCROLL)
        << "wraps, scrolls down only, and the user can type into it";
    const LOGFONTW font = test::FontOf(text);
    EXPECT_EQ(std::make_tuple(std::wstring(font.lfFaceName), font.lfHeight, font.lfWeight, font.lfCharSet),
              std::make_tuple(std::wstring(L"宋体"), LONG{-14}, LONG{FW_NORMAL}, BYTE{GB2312_CHARSET}));
    EXPECT_STREQ(test::FontOf(exit).lfFaceName, test::WindowFont().lfFaceName);
    EXPECT_EQ(test::PaintOf(text, WM_CTLCOLOREDIT).back, RGB(242, 242, 242));

    // The grey reaches the screen: a pixel of the box's empty lower part.
    UpdateWindow(window.Hwnd());
    test::Pump();
    HDC dc = GetDC(text);
    const COLORREF ground = GetPixel(dc, 200, 320);
    ReleaseDC(text, dc);
    EXPECT_EQ(ground, RGB(242, 242, 242));
}

TEST_F(HelpWindow, HelpTextLineByLine) {
    const std::wstring host(kDownloadHost);
    EXPECT_EQ(std::wstring(kDownloadAddress), L"http://" + host);
    const std::wstring expected[] = {
        L"",
        L"    对XP系统服务进行优化的软件，这个软件是免费的，你可以无偿获",
        L"取，下载网址为" + host + L"，它对系统常用的近百个服务进行优化，",
        L"大大提高系统运行速度，对于未优化过的系统来说，开机速度可以提高",
        L"20%以上，并减少内存的占用。建议使用“按提问优化”以达到最好效果",
        L"，对于不懂电脑的人来说，可以使用“自动优化”，另外，“恢复默认",
        L"设置”可以恢复到优化前的系统默认状态，可能对解决一些系统问题有",
        L"帮助！",
        L"",
        std::wstring(kSiteName) + std::wstring(kDownloadAddress),
        L"QQ:" + std::wstring(kMessengerAccount), L"mail:" + std::wstring(kMailAddress), L"当前版本:v1.2",
        L"",  // after the final line break
    };
    const std::wstring text = help::Instance().ControlText(help::Text1);
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end = 0; end != std::wstring::npos; start = end + 2) {
        end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
}

}  // namespace
}  // namespace qelvane
