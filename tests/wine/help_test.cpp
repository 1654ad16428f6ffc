// The help window in this process: frame, fixed place on the screen, text box,
// the help text line by line, focus, one window, and a fresh text after a reload.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "app/site_info.h"
#include "help/help_window.h"
#include "runner/list_window.h"
#include "test_support.h"
#include "winui/form.h"

namespace qelvane {
namespace {

using test::ClassOf;
using test::ClientRectOf;
using test::PixelRect;
using test::TextOf;

class HelpWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::ScreenDpi(), 96) << "the layout figures are for 96 DPI"; }
};

POINT ClientOrigin(HWND hwnd) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return origin;
}

std::vector<std::wstring> SplitAtLineBreaks(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, 0);
    for (wchar_t unit : text) SendMessageW(edit, WM_CHAR, unit, 1);
}

int WindowsOfClass(const wchar_t* className) {
    struct Count {
        const wchar_t* name;
        int found;
    } count{className, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            if (ClassOf(hwnd) == c->name) ++c->found;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.found;
}

TEST_F(HelpWindow, FrameAndFixedPlaceWhereverTheMainWindowIs) {
    help& window = help::Instance();
    HWND hwnd = window.Hwnd();
    EXPECT_EQ(ClassOf(hwnd), L"QelvaneHelp");
    EXPECT_EQ(TextOf(hwnd), L"帮助");
    const SIZE client = test::ClientSize(hwnd);
    EXPECT_EQ(client.cx, 484);
    EXPECT_EQ(client.cy, 392);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "no taskbar button";
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_NE(owner, Form1::Instance().Hwnd());
    EXPECT_NE(owner, list::Instance().Hwnd());
    EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0);

    Form1& main = Form1::Instance();
    main.Show();
    for (const POINT mainAt : {POINT{0, 0}, POINT{520, 330}}) {
        SetWindowPos(main.Hwnd(), nullptr, mainAt.x, mainAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        window.Unload();
        SendMessageW(main.Control(Form1::Command5), BM_CLICK, 0, 0);
        ASSERT_TRUE(window.IsLoaded() && IsWindowVisible(window.Hwnd()));
        const POINT origin = ClientOrigin(window.Hwnd());
        EXPECT_EQ(origin.x, 184);
        EXPECT_EQ(origin.y, 250);
    }
}

TEST_F(HelpWindow, TextBoxAndButton) {
    help& window = help::Instance();
    HWND text = window.Control(help::Text1);
    HWND exit = window.Control(help::OKButton);
    ASSERT_TRUE(text && exit);
    EXPECT_EQ(ClassOf(text), L"Edit");
    EXPECT_EQ(ClientRectOf(text), (PixelRect{8, 16, 465, 337}));
    EXPECT_EQ(ClassOf(exit), L"Button");
    EXPECT_EQ(TextOf(exit), L"退出");
    EXPECT_EQ(ClientRectOf(exit), (PixelRect{392, 360, 81, 25}));
    EXPECT_NE(GetWindowLongW(exit, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    const LONG style = GetWindowLongW(text, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & (WS_HSCROLL | ES_AUTOHSCROLL));
    EXPECT_FALSE(style & ES_READONLY) << "the user can type into it";
    const LOGFONTW font = test::FontOf(text);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(test::FontOf(exit).lfFaceName, test::WindowFont().lfFaceName);
    const test::Paint paint = test::PaintOf(text, WM_CTLCOLOREDIT);
    EXPECT_EQ(paint.back, RGB(242, 242, 242));
    EXPECT_EQ(paint.text, GetSysColor(COLOR_WINDOWTEXT));

    // The grey reaches the screen: a pixel of the box's empty lower part.
    window.Show();
    UpdateWindow(window.Hwnd());
    test::Pump();
    HDC dc = GetDC(text);
    const COLORREF ground = GetPixel(dc, 200, 320);
    ReleaseDC(text, dc);
    EXPECT_EQ(ground, RGB(242, 242, 242));
}

TEST_F(HelpWindow, HelpTextLineByLine) {
    const std::wstring host(kDownloadHost), address(kDownloadAddress);
    const std::vector<std::wstring> expected = {
        L"",
        L"    对XP系统服务进行优化的软件，这个软件是免费的，你可以无偿获",
        L"取，下载网址为" + host + L"，它对系统常用的近百个服务进行优化，",
        L"大大提高系统运行速度，对于未优化过的系统来说，开机速度可以提高",
        L"20%以上，并减少内存的占用。建议使用“按提问优化”以达到最好效果",
        L"，对于不懂电脑的人来说，可以使用“自动优化”，另外，“恢复默认",
        L"设置”可以恢复到优化前的系统默认状态，可能对解决一些系统问题有",
        L"帮助！",
        L"",
        std::wstring(kSiteName) + address,
        L"QQ:" + std::wstring(kMessengerAccount),
        L"mail:" + std::wstring(kMailAddress),
        L"当前版本:v1.2",
        L"",  // after the final line break
    };
    EXPECT_EQ(host.find(L"://"), std::wstring::npos);
    EXPECT_EQ(address, L"http://" + host);
    const std::vector<std::wstring> lines = SplitAtLineBreaks(help::Instance().ControlText(help::Text1));
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
        EXPECT_EQ(lines[i].find_first_of(L"\r\n"), std::wstring::npos) << "line " << i;
    }
}

TEST_F(HelpWindow, ExitHasTheFocusAndNoTextIsSelected) {
    help& window = help::Instance();
    window.Show();
    test::Pump();
    EXPECT_EQ(GetFocus(), window.Control(help::OKButton));
    DWORD start = 1, end = 2;
    SendMessageW(window.Control(help::Text1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end) << "a key pressed now must not replace the text";
    // Tab goes on to the text box.
    HWND exit = window.Control(help::OKButton);
    PostMessageW(exit, WM_KEYDOWN, VK_TAB, 1);
    winui::PumpEvents();
    EXPECT_EQ(GetFocus(), window.Control(help::Text1));
}

TEST_F(HelpWindow, HelpButtonGivesOneWindowAndKeepsItsContents) {
    Form1& main = Form1::Instance();
    main.Show();
    HWND button = main.Control(Form1::Command5);
    SendMessageW(button, BM_CLICK, 0, 0);
    help& window = help::Instance();
    ASSERT_TRUE(window.IsLoaded() && IsWindowVisible(window.Hwnd()));
    HWND first = window.Hwnd();
    const std::wstring original = window.ControlText(help::Text1);
    Type(window.Control(help::Text1), L"笔记");
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(window.Hwnd(), first);
    EXPECT_EQ(WindowsOfClass(L"QelvaneHelp"), 1);
    EXPECT_EQ(window.ControlText(help::Text1), L"笔记" + original);
}

TEST_F(HelpWindow, TypedTextIsGoneAfterExitOrCloseBox) {
    help& window = help::Instance();
    const std::wstring original = window.ControlText(help::Text1);
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "退出");
        window.Show();
        Type(window.Control(help::Text1), L"x");
        ASSERT_EQ(window.ControlText(help::Text1), L"x" + original);
        if (closeBox) SendMessageW(window.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else SendMessageW(window.Control(help::OKButton), BM_CLICK, 0, 0);
        EXPECT_FALSE(window.IsLoaded());
        EXPECT_EQ(WindowsOfClass(L"QelvaneHelp"), 0);
        window.Show();
        EXPECT_EQ(window.ControlText(help::Text1), original);
    }
}

}  // namespace
}  // namespace qelvane
