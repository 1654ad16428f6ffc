// The main and progress windows, created in this process, against their layout
// tables at 96 DPI, and the progress window's load, show, hide and unload cycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "resources/resource_ids.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/picture.h"
#include "winui/text.h"

namespace qelvane {
namespace {

using test::ClassOf;
using test::ClientRectOf;
using test::ClientSize;
using test::FontOf;
using test::PixelRect;
using test::TextOf;

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    PixelRect rect;
};

template <std::size_t N>
void ExpectControls(HWND window, const ExpectedControl (&expected)[N]) {
    for (const ExpectedControl& c : expected) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(window, c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), c.className);
        EXPECT_EQ(TextOf(control), c.text);
        EXPECT_EQ(ClientRectOf(control), c.rect);
    }
}

void ExpectSongTi(HWND control, LONG height, LONG weight) {
    const LOGFONTW font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
    EXPECT_EQ(font.lfHeight, height);
    EXPECT_EQ(font.lfWeight, weight);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
}

void ExpectWindowFont(HWND control) {
    const LOGFONTW font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, test::WindowFont().lfFaceName);
    EXPECT_EQ(font.lfHeight, test::WindowFont().lfHeight);
}

std::vector<int> TabWalk(HWND window, HWND from, int steps) {
    std::vector<int> ids;
    HWND current = from;
    for (int i = 0; i < steps; ++i) {
        current = GetNextDlgTabItem(window, current, FALSE);
        ids.push_back(GetDlgCtrlID(current));
    }
    return ids;
}

class WindowsAt96Dpi : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::ScreenDpi(), 96) << "the layout figures are for 96 DPI"; }
};

using Form1Window = WindowsAt96Dpi;
using ListWindow = WindowsAt96Dpi;

TEST_F(Form1Window, FrameCaptionAndPosition) {
    HWND hwnd = Form1::Instance().Hwnd();
    EXPECT_EQ(TextOf(hwnd), L"Qelvane1.2");
    const SIZE client = ClientSize(hwnd);
    EXPECT_EQ(client.cx, 350);
    EXPECT_EQ(client.cy, 282);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize the window";
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_VISIBLE) << "a reference loads the window hidden";
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr) << "unowned: it has a taskbar button";
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICONSM), 0);
}

TEST_F(Form1Window, ControlsStandWhereTheLayoutPutsThem) {
    const ExpectedControl expected[] = {
        {Form1::Command1, L"Button", L"按提问优化(建议)", {56, 8, 233, 33}},
        {Form1::Label1, L"Static", L"根据软件的提问一步一步进行优化，优化效果最佳!", {56, 48, 233, 41}},
        {Form1::Command2, L"Button", L"自动优化", {56, 80, 233, 33}},
        {Form1::Label2, L"Static", L"软件自动进行优化，适合对系统服务不熟悉的用户!", {56, 120, 233, 41}},
        {Form1::Command3, L"Button", L"恢复系统默认", {56, 152, 233, 33}},
        {Form1::Label3, L"Static", L"对优化的服务恢复到系统默认状态！", {56, 192, 233, 25}},
        {Form1::Image1, L"Static", L"", {16, 221, 274, 35}},
        {Form1::Command5, L"Button", L"帮助", {296, 222, 49, 25}},
        {Form1::Command4, L"Button", L"退出", {296, 252, 49, 26}},
        {Form1::Label4, L"Static", L"最新免费版下载地址http://qv.example", {16, 261, 273, 17}},
    };
    HWND hwnd = Form1::Instance().Hwnd();
    ExpectControls(hwnd, expected);
    for (const ExpectedControl& c : expected) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, c.id))) << c.id;
    // The link keeps to its single line: its text is no wider than the label.
    HWND link = GetDlgItem(hwnd, Form1::Label4);
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
    const std::wstring text = TextOf(link);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    EXPECT_LE(extent.cx, 273);
}

TEST_F(Form1Window, FontsColoursAndLabelStyles) {
    HWND hwnd = Form1::Instance().Hwnd();
    for (int id : {Form1::Command1, Form1::Command2, Form1::Command3, Form1::Label4})
        ExpectSongTi(GetDlgItem(hwnd, id), -14, FW_NORMAL);
    for (int id : {Form1::Label1, Form1::Label2, Form1::Label3, Form1::Command4, Form1::Command5})
        ExpectWindowFont(GetDlgItem(hwnd, id));
    for (int id : {Form1::Label1, Form1::Label2, Form1::Label3}) {
        const test::Paint paint = test::PaintOf(GetDlgItem(hwnd, id), WM_CTLCOLORSTATIC);
        EXPECT_EQ(paint.mode, TRANSPARENT) << id;
        EXPECT_EQ(paint.text, GetSysColor(COLOR_WINDOWTEXT)) << id;
        EXPECT_EQ(GetWindowLongW(GetDlgItem(hwnd, id), GWL_STYLE) & SS_TYPEMASK, SS_LEFT) << "wraps";
    }
    HWND link = GetDlgItem(hwnd, Form1::Label4);
    const test::Paint paint = test::PaintOf(link, WM_CTLCOLORSTATIC);
    EXPECT_EQ(paint.back, RGB(255, 255, 0));
    EXPECT_EQ(GetWindowLongW(link, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST_F(Form1Window, BackgroundPictureShowsAroundTheLabels) {
    Form1& form = Form1::Instance();
    form.Show();
    HWND hwnd = form.Hwnd();
    UpdateWindow(hwnd);
    test::Pump();
    HDC dc = GetDC(hwnd);
    // Left of the buttons and inside a label's box, away from its letters: the
    // picture's light blue, not the button face.
    const COLORREF outside = GetPixel(dc, 10, 100);
    const COLORREF underLabel = GetPixel(dc, 285, 205);
    ReleaseDC(hwnd, dc);
    for (COLORREF pixel : {outside, underLabel}) {
        EXPECT_NE(pixel, GetSysColor(COLOR_BTNFACE));
        EXPECT_GT(GetBValue(pixel), GetRValue(pixel)) << "bluish";
    }
    // Exactly the picture's pixels at those points of the window: the label shows the
    // part of the picture that lies under it, not the picture from its own corner.
    test::Canvas picture(350, 282);
    winui::Picture::FromResource(IDR_BACKGROUND).Draw(picture.dc(), 0, 0);
    EXPECT_EQ(outside, picture.At(10, 100));
    EXPECT_EQ(underLabel, picture.At(285, 205));
}

TEST_F(Form1Window, TabOrderFocusAndNoDefaultButton) {
    Form1& form = Form1::Instance();
    form.Show();
    test::Pump();
    HWND hwnd = form.Hwnd();
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, Form1::Command1));
    EXPECT_EQ(TabWalk(hwnd, GetDlgItem(hwnd, Form1::Command1), 5),
              (std::vector<int>{Form1::Command2, Form1::Command3, Form1::Command4, Form1::Command5,
                                Form1::Command1}));
    for (int id : {Form1::Command1, Form1::Command2, Form1::Command3, Form1::Command4, Form1::Command5})
        EXPECT_NE(GetWindowLongW(GetDlgItem(hwnd, id), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
}

TEST_F(Form1Window, HandCursorOverBannerAndLinkOnly) {
    HWND hwnd = Form1::Instance().Hwnd();
    HCURSOR hand = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(2), IMAGE_CURSOR,
                                                   0, 0, LR_SHARED));
    ASSERT_NE(hand, nullptr);
    for (int id : {Form1::Image1, Form1::Label4}) {
        SetCursor(nullptr);
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hand) << id;
    }
    SetCursor(nullptr);
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, Form1::Command1)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), hand);
}

TEST_F(ListWindow, FrameControlsFontsAndColours) {
    list& window = list::Instance();
    HWND hwnd = window.Hwnd();
    EXPECT_EQ(TextOf(hwnd), L"正在优化系统服务...");
    const SIZE client = ClientSize(hwnd);
    EXPECT_EQ(client.cx, 476);
    EXPECT_EQ(client.cy, 320);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);

    const ExpectedControl expected[] = {
        {list::Label1, L"Static", L"正在优化系统服务，请稍等......", {32, 16, 297, 25}},
        {list::Text1, L"Edit", L"", {32, 48, 401, 225}},
        {list::Command1, L"Button", L"退出", {184, 288, 81, 25}},
    };
    ExpectControls(hwnd, expected);
    HWND label = GetDlgItem(hwnd, list::Label1);
    ExpectSongTi(label, -16, FW_BOLD);
    EXPECT_EQ(test::PaintOf(label, WM_CTLCOLORSTATIC).text, RGB(255, 0, 0));

    HWND log = GetDlgItem(hwnd, list::Text1);
    const LONG logStyle = GetWindowLongW(log, GWL_STYLE);
    EXPECT_TRUE(logStyle & ES_MULTILINE);
    EXPECT_TRUE(logStyle & WS_VSCROLL);
    EXPECT_FALSE(logStyle & WS_HSCROLL);
    EXPECT_FALSE(logStyle & ES_AUTOHSCROLL) << "long lines break at the right edge";
    EXPECT_FALSE(logStyle & ES_READONLY);
    EXPECT_GT(SendMessageW(log, EM_GETLIMITTEXT, 0, 0), 1000000);
    ExpectWindowFont(log);
    const test::Paint logPaint = test::PaintOf(log, WM_CTLCOLOREDIT);
    EXPECT_EQ(logPaint.text, RGB(0, 128, 0));
    EXPECT_EQ(logPaint.back, GetSysColor(COLOR_WINDOW));

    HWND exit = GetDlgItem(hwnd, list::Command1);
    EXPECT_FALSE(IsWindowEnabled(exit));
    ExpectWindowFont(exit);
}

TEST_F(ListWindow, ShowPutsTheFocusInTheLog) {
    list& window = list::Instance();
    window.Show();
    test::Pump();
    EXPECT_TRUE(IsWindowVisible(window.Hwnd()));
    EXPECT_EQ(GetFocus(), window.Control(list::Text1));
}

TEST_F(ListWindow, LoadShowHideUnloadCycle) {
    list& window = list::Instance();
    WindowRunnerHost host;
    EXPECT_FALSE(window.IsLoaded());
    host.AppendLogText("1:Alerter:禁用\r\n");  // a reference loads it, hidden
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(window.Hwnd()));
    window.Show();
    window.Hide();
    window.Show();
    EXPECT_TRUE(IsWindowVisible(window.Hwnd()));
    EXPECT_EQ(window.ControlText(list::Text1), L"1:Alerter:禁用\r\n") << "hide keeps the contents";

    host.SetProgressCaption("优化完成！");
    host.SetProgressStatus("优化完成！");
    host.EnableProgressExit();
    SendMessageW(window.Control(list::Command1), BM_CLICK, 0, 0);
    EXPECT_FALSE(window.IsLoaded()) << "the exit button unloads";

    HWND fresh = window.Hwnd();
    EXPECT_FALSE(IsWindowVisible(fresh));
    EXPECT_EQ(TextOf(fresh), L"正在优化系统服务...");
    EXPECT_EQ(window.ControlText(list::Label1), L"正在优化系统服务，请稍等......");
    EXPECT_EQ(window.ControlText(list::Text1), L"");
    EXPECT_FALSE(IsWindowEnabled(window.Control(list::Command1)));
}

TEST_F(ListWindow, CloseBoxUnloadsWhileTheExitButtonIsDisabled) {
    list& window = list::Instance();
    window.Show();
    window.SetControlText(list::Text1, L"partial log");
    SendMessageW(window.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(window.IsLoaded());
    EXPECT_EQ(window.ControlText(list::Text1), L"");
}

TEST_F(ListWindow, LogKeepsEveryCharacterOfManyRuns) {
    WindowRunnerHost host;
    std::wstring expected;
    // One append per run, each of them a full log's worth, as many runs in one
    // window would leave it.
    std::string run;
    for (int row = 0; row < 60; ++row) run += "79.10:World Wide Web Publishing:禁用\r\n";
    for (int i = 0; i < 40; ++i) {
        host.AppendLogText(run);
        expected += winui::Widen(run);
    }
    ASSERT_GT(expected.size(), 30000u * 2);
    EXPECT_EQ(list::Instance().ControlText(list::Text1), expected);
}

TEST_F(ListWindow, TypedTextSurvivesAppendsUntouched) {
    list& window = list::Instance();
    window.Show();
    WindowRunnerHost host;
    host.AppendLogText("1:Alerter:禁用\r\n");
    HWND log = window.Control(list::Text1);
    SendMessageW(log, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    for (wchar_t unit : std::wstring(L"注 \xD83D\xDE00!")) SendMessageW(log, WM_CHAR, unit, 1);
    host.AppendLogText("2:ALG:禁用\r\n");
    EXPECT_EQ(window.ControlText(list::Text1), L"1:Alerter:禁用\r\n注 \xD83D\xDE00!2:ALG:禁用\r\n");
}

}  // namespace
}  // namespace qelvane
