// Every window of the program, created in this process: frames, the controls' places
// (written in twips, 15 to a pixel at 96 DPI), texts, fonts and colours, the pictures, and
// the hand cursor. The places, fonts and pictures hold at any display resolution: the
// windows at larger text sizes run these tests in prefixes set to 120 and 144 DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "resources/site_info.h"
#include "help/help_window.h"
#include "questionnaire/dialog.h"
#include "questionnaire/dialog1.h"
#include "questionnaire/dialog2.h"
#include "questionnaire/dialog3.h"
#include "resources/resource_ids.h"
#include "runner/list_window.h"
#include "test_support.h"
#include "winui/message_loop.h"

namespace qelvane {
namespace {

using Q = QuestionWindow;
using test::ClassOf;

// Places in twips; a font of 0 is the window font, else "宋体" in tenths of a point, bold at
// 12 pt; a text of nullptr is not checked here.
struct Ctl { int id; const wchar_t* text; int left, top, width, height, font; };
struct Win {
    winui::Form& form;
    const wchar_t* caption;
    SIZE client;
    bool minimizeBox, taskbar, dialogFrame;
    std::vector<Ctl> controls;
};

// The three buttons of a question stand on one row, 1215 x 375 twips each.
Win Question(Q& form, SIZE client, const wchar_t* question, const int (&label)[4], int yes, int no, int exit,
             int row) {
    return {form, L"按提问优化(建议)", client, false, false, true,
            {{Q::Label1, question, label[0], label[1], label[2], label[3], 105},
             {Q::OKButton, L"是", yes, row, 1215, 375, 0},
             {Q::CancelButton, L"否", no, row, 1215, 375, 0},
             {Q::Command1, L"退出", exit, row, 1215, 375, 0}}};
}

const std::vector<Win>& Windows() {
    static const std::wstring link = L"最新免费版下载地址" + std::wstring(kDownloadAddress);
    static const std::vector<Win> windows = {
        {Form1::Instance(), L"Qelvane1.2", {350, 282}, true, true, false,
         {{Form1::Command1, L"按提问优化(建议)", 840, 120, 3495, 495, 105},
          {Form1::Label1, L"根据软件的提问一步一步进行优化，优化效果最佳!", 840, 720, 3495, 615, 0},
          {Form1::Command2, L"自动优化", 840, 1200, 3495, 495, 105},
          {Form1::Label2, L"软件自动进行优化，适合对系统服务不熟悉的用户!", 840, 1800, 3495, 615, 0},
          {Form1::Command3, L"恢复系统默认", 840, 2280, 3495, 495, 105},
          {Form1::Label3, L"对优化的服务恢复到系统默认状态！", 840, 2880, 3495, 375, 0},
          {Form1::Image1, L"", 240, 3320, 4110, 525, 0},
          {Form1::Command5, L"帮助", 4440, 3330, 735, 375, 0},
          {Form1::Command4, L"退出", 4440, 3780, 735, 390, 0},
          {Form1::Label4, link.c_str(), 240, 3920, 4095, 255, 105}}},
        {list::Instance(), L"正在优化系统服务...", {476, 320}, false, true, false,
         {{list::Label1, L"正在优化系统服务，请稍等......", 480, 240, 4455, 375, 120},
          {list::Text1, L"", 480, 720, 6015, 3375, 0}, {list::Command1, L"退出", 2760, 4320, 1215, 375, 0}}},
        {help::Instance(), L"帮助", {484, 392}, false, false, true,
         {{help::Text1, nullptr, 120, 240, 6975, 5055, 105}, {help::OKButton, L"退出", 5880, 5400, 1215, 375, 0}}},
        Question(Dialog::Instance(), {371, 156}, L"您是否使用刻录机刻光盘？", {1680, 720, 2895, 495},
                 720, 2280, 3840, 1560),
        Question(Dialog1::Instance(), {364, 164}, L"您是否使用打印机打印文档？", {1320, 720, 2895, 495},
                 600, 2160, 3720, 1680),
        Question(Dialog2::Instance(), {352, 173}, L"这台电脑是否要连接摄像头、扫描仪或照像机？",
                 {480, 840, 4455, 495}, 480, 2040, 3600, 1800),
        Question(Dialog3::Instance(), {377, 168},
                 L"这台电脑是否开启IIS服务以架设网站服务器？(建议选否，不架设网站服务器)",
                 {600, 600, 4455, 495}, 600, 2160, 3720, 1680),
    };
    return windows;
}

long Px(int twips) { return MulDiv(twips, 96, 1440); }  // at 96 DPI

int Dpi() { return GetDeviceCaps(winui::ScreenDc().get(), LOGPIXELSY); }

// A length of `px96` pixels at 96 DPI, on this display: exactly at 96 DPI, within a pixel at others.
double Scaled(long px96) { return px96 * Dpi() / 96.0; }
double Slack() { return Dpi() == 96 ? 0 : 1; }

// The window font when none is given: Windows XP's message font, Tahoma 8 pt, 11 pixels high at 96 DPI.
constexpr long kWindowFontHeight96 = -11;

RECT RectIn(HWND window, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What a control's parent answers to WM_CTLCOLOR*: text colour, background mode and colour.
std::vector<COLORREF> PaintOf(HWND control, UINT message) {
    HDC dc = GetDC(control);
    SendMessageW(GetParent(control), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const std::vector<COLORREF> paint = {GetTextColor(dc), static_cast<COLORREF>(GetBkMode(dc)), GetBkColor(dc)};
    ReleaseDC(control, dc);
    return paint;
}

// The resolution the test was started for (QELVANE_TEST_DPI; the prefix's own, QELVANE_DPI or 96,
// otherwise): a setting that did not take would leave every other test here a copy of the 96-DPI run.
TEST(AllWindows, LaidOutAtTheResolutionAsked) {
    int asked = 96;
    for (const char* name : {"QELVANE_DPI", "QELVANE_TEST_DPI"})
        if (const char* value = std::getenv(name); value && *value) asked = std::atoi(value);
    const winui::ScreenDc screen;
    EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), asked) << "horizontal";
    EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), asked) << "vertical";
}

// On one axis, where a frame whose fixed place is [wanted, wantedEnd) must start in a work area
// [low, high):
// at that place where it fits, else on the edge it crosses.
long PlaceOnAxis(long wanted, long wantedEnd, long low, long high) {
    return wanted < low ? low : wantedEnd > high ? high - (wantedEnd - wanted) : wanted;
}

// The help window's client area opens at (2760, 3750) twips on the screen where its frame then lies inside
// the work area of its monitor (the screen asked for, QELVANE_TEST_DESKTOP); else it is moved the least.
TEST(AllWindows, HelpWindowOnItsScreen) {
    help::Instance().Unload();
    HWND hwnd = help::Instance().Hwnd();
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    POINT corner{0, 0};
    ClientToScreen(hwnd, &corner);
    RECT fixed = frame;
    OffsetRect(&fixed, MulDiv(2760, Dpi(), 1440) - corner.x, MulDiv(3750, Dpi(), 1440) - corner.y);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&fixed, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& area = monitor.rcWork;
    if (const char* screen = std::getenv("QELVANE_TEST_DESKTOP")) {
        EXPECT_EQ(std::to_string(area.right) + "x" + std::to_string(area.bottom), screen) << "work area";
    }
    EXPECT_EQ(frame.left, PlaceOnAxis(fixed.left, fixed.right, area.left, area.right)) << "x; fixed: " << fixed.left;
    EXPECT_EQ(frame.top, PlaceOnAxis(fixed.top, fixed.bottom, area.top, area.bottom)) << "y; fixed: " << fixed.top;
}

TEST(AllWindows, FramesControlsTextsAndFonts) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW& windowFont = metrics.lfMessageFont;
    for (const Win& w : Windows()) {
        HWND hwnd = w.form.Hwnd();
        SCOPED_TRACE(testing::Message() << ClassOf(hwnd));
        EXPECT_EQ(test::TextOf(hwnd), w.caption);
        RECT client{}, frame{};
        GetClientRect(hwnd, &client);
        GetWindowRect(hwnd, &frame);
        EXPECT_NEAR(client.right, Scaled(w.client.cx), Slack()) << "client width";
        EXPECT_NEAR(client.bottom, Scaled(w.client.cy), Slack()) << "client height";
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        const LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU | WS_VISIBLE),
                  (w.minimizeBox ? WS_MINIMIZEBOX : 0) | WS_SYSMENU) << "fixed, close box, loaded hidden";
        EXPECT_EQ(!!(ex & WS_EX_DLGMODALFRAME), w.dialogFrame) << "WS_EX_DLGMODALFRAME";
        // A taskbar button: for an unowned window with WS_EX_APPWINDOW; none for one owned by a hidden window.
        const HWND owner = GetWindow(hwnd, GW_OWNER);
        EXPECT_EQ(owner == nullptr, w.taskbar) << "unowned";
        if (w.taskbar) {
            EXPECT_TRUE(ex & WS_EX_APPWINDOW) << "WS_EX_APPWINDOW";
        } else {
            EXPECT_FALSE(IsWindowVisible(owner)) << "owner shown";
            EXPECT_NE(owner, Form1::Instance().Hwnd()) << "owned by the main window";
        }
        EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0);
        const int offCentre = abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)) +
                              abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN));
        if (&w.form != &help::Instance()) {  // help: HelpWindowOnItsScreen
            EXPECT_LE(offCentre, 4) << "centred";
        }
        for (const Ctl& c : w.controls) {
            SCOPED_TRACE(c.id);
            HWND control = w.form.Control(c.id);
            ASSERT_NE(control, nullptr);
            const RECT r = RectIn(hwnd, control);
            EXPECT_NEAR(r.left, Scaled(Px(c.left)), Slack()) << "left";
            EXPECT_NEAR(r.top, Scaled(Px(c.top)), Slack()) << "top";
            EXPECT_NEAR(r.right - r.left, Scaled(Px(c.width)), Slack()) << "width";
            EXPECT_NEAR(r.bottom - r.top, Scaled(Px(c.height)), Slack()) << "height";
            if (c.text) { EXPECT_EQ(test::TextOf(control), c.text); }
            const bool disabled = &w.form == &list::Instance() && c.id == list::Command1;
            EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED),
                      WS_VISIBLE | (disabled ? WS_DISABLED : 0)) << "visible, enabled but the progress exit";
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_STREQ(font.lfFaceName, c.font ? L"宋体" : windowFont.lfFaceName);
            const long height96 = c.font ? -MulDiv(c.font, 96, 720) : kWindowFontHeight96;
            EXPECT_NEAR(font.lfHeight, Scaled(height96), Slack()) << "font height";
            const LONG weight = c.font ? FW_NORMAL : windowFont.lfWeight;
            EXPECT_EQ(font.lfWeight, c.font == 120 ? FW_BOLD : weight) << "font weight";
            EXPECT_EQ(font.lfCharSet, c.font ? GB2312_CHARSET : windowFont.lfCharSet) << "font character set";
            EXPECT_EQ((std::array{font.lfItalic, font.lfUnderline, font.lfStrikeOut}), (std::array<BYTE, 3>{}))
                << "italic, underline, strike-out";
        }
    }
    // Label1 and Label2 reach 135 twips into the button below, which covers that strip.
    HWND main = Form1::Instance().Hwnd();
    for (auto [label, button] : {std::pair{Form1::Label1, Form1::Command2}, {Form1::Label2, Form1::Command3}}) {
        const RECT l = RectIn(main, GetDlgItem(main, label));
        const RECT b = RectIn(main, GetDlgItem(main, button));
        EXPECT_EQ(ChildWindowFromPointEx(main, POINT{l.left + 20, b.top + 4}, CWP_ALL), GetDlgItem(main, button))
            << "the button over label " << label;
    }
}

TEST(AllWindows, ColoursBackgroundAndHandCursor) {
    Form1& form = Form1::Instance();
    for (int id : {Form1::Label1, Form1::Label2, Form1::Label3}) {
        const std::vector<COLORREF> paint = PaintOf(form.Control(id), WM_CTLCOLORSTATIC);
        EXPECT_EQ(paint[0], GetSysColor(COLOR_WINDOWTEXT)) << "text colour of " << id;
        EXPECT_EQ(paint[1], COLORREF{TRANSPARENT}) << "background mode of " << id;
        EXPECT_EQ(GetWindowLongW(form.Control(id), GWL_STYLE) & SS_TYPEMASK, SS_LEFT) << "wraps: " << id;
    }
    EXPECT_EQ(PaintOf(form.Control(Form1::Label4), WM_CTLCOLORSTATIC)[2], RGB(255, 255, 0)) << "link background";
    EXPECT_EQ(GetWindowLongW(form.Control(Form1::Label4), GWL_STYLE) & SS_TYPEMASK, SS_CENTER) << "link centred";
    const HWND status = list::Instance().Control(list::Label1);
    EXPECT_EQ(PaintOf(status, WM_CTLCOLORSTATIC)[0], RGB(255, 0, 0)) << "progress status text";
    const std::vector<COLORREF> log = PaintOf(list::Instance().Control(list::Text1), WM_CTLCOLOREDIT);
    EXPECT_EQ(log[0], RGB(0, 128, 0)) << "log text";
    EXPECT_EQ(log[2], GetSysColor(COLOR_WINDOW)) << "log background";

    // On the screen: the help box's grey.
    help::Instance().Show();
    form.Show();
    winui::PumpEvents();
    HDC dc = GetDC(help::Instance().Control(help::Text1));
    const COLORREF grey = GetPixel(dc, MulDiv(200, Dpi(), 96), MulDiv(6, Dpi(), 96));  // on its empty first line
    EXPECT_EQ(grey, RGB(242, 242, 242)) << "help text background";
    ReleaseDC(help::Instance().Control(help::Text1), dc);

    const HCURSOR hand = static_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HANDPOINT), IMAGE_CURSOR, 0, 0, LR_SHARED));
    for (HWND c = GetWindow(form.Hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        SetCursor(nullptr);
        SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(c), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const bool link = GetDlgCtrlID(c) == Form1::Image1 || GetDlgCtrlID(c) == Form1::Label4;
        EXPECT_EQ(GetCursor() == hand, link) << "the hand over the banner and the link only: " << GetDlgCtrlID(c);
    }
}

// What `paint` draws into a bitmap of `size` pixels, row by row from the top.
template <typename Paint> std::vector<COLORREF> PixelsDrawn(SIZE size, Paint paint) {
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    winui::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    winui::UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    winui::SelectedObject selected(memory.get(), bitmap.get());
    paint(memory.get());
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size.cx * size.cy);
    for (COLORREF& p : pixels) p = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    return pixels;
}

// The pictures at the display's scale: where a picture's pixel and its neighbours share one colour, the
// window shows that colour at the pixel's place scaled by dpi/96. The background away from the controls
// and in Label3's box right of its letters, where it is light blue; the banner in its own box.
TEST(AllWindows, PicturesAtTheDisplaysScale) {
    Form1& form = Form1::Instance();
    form.Show();
    winui::PumpEvents();
    const std::pair<HWND, int> drawn[] = {{form.Hwnd(), IDR_BACKGROUND},
                                          {form.Control(Form1::Image1), IDR_BANNER}};
    for (const auto& [window, id] : drawn) {
        const winui::Picture picture = winui::Picture::FromResource(id);
        const SIZE size = picture.Size();
        RECT client{};
        GetClientRect(window, &client);
        const std::vector<COLORREF> natural = PixelsDrawn(size, [&](HDC dc) { picture.Draw(dc, 0, 0); });
        const std::vector<COLORREF> shown = PixelsDrawn(SIZE{client.right, client.bottom}, [&](HDC dc) {
            HDC screen = GetDC(window);
            BitBlt(dc, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
            ReleaseDC(window, screen);
        });
        std::vector<RECT> controls;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            controls.push_back(RectIn(window, c));
        int checked = 0, inLabel = 0;
        for (int y = 1; y + 1 < size.cy; y += 2)
            for (int x = 1; x + 1 < size.cx; x += 2) {
                const COLORREF colour = natural[y * size.cx + x];
                bool flat = true;
                for (int d = 0; d < 9; ++d)
                    flat = flat && natural[(y - 1 + d / 3) * size.cx + x - 1 + d % 3] == colour;
                const POINT at{MulDiv(2 * x + 1, Dpi(), 192), MulDiv(2 * y + 1, Dpi(), 192)};
                const bool label = id == IDR_BACKGROUND && x >= 260 && x < 288 && y >= 194 && y < 215;
                const bool covered =
                    std::any_of(controls.begin(), controls.end(), [&](const RECT& r) { return PtInRect(&r, at); });
                if (!flat || !PtInRect(&client, at) || (covered && !label)) continue;
                ++checked;
                inLabel += label;
                if (label) {
                    EXPECT_GT(GetBValue(colour), GetRValue(colour)) << x << "," << y << " light blue";
                }
                EXPECT_EQ(shown[at.y * client.right + at.x], colour)
                    << id << ": " << x << "," << y << " shown at " << at.x << "," << at.y;
            }
        EXPECT_GT(checked, 200) << "flat pixels checked in picture " << id;
        if (id == IDR_BACKGROUND) {
            EXPECT_GT(inLabel, 5) << "flat pixels checked in Label3's box";
        }
    }
}

}  // namespace
}  // namespace qelvane
