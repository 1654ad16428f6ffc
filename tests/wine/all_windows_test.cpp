// Every window of the program, created in this process: frames, the controls' places, texts and fonts as
// each window's description gives them (in twips, 15 to a pixel at 96 DPI), colours, the pictures, and the
// hand cursor. The places, fonts and pictures hold at any display resolution: the windows at larger text
// sizes run these tests in prefixes set to 120 and 144 DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
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

using test::ClassOf;

// Every window of the program, the main one first.
std::vector<winui::Form*> Windows() {
    return {&Form1::Instance(), &list::Instance(), &help::Instance(), &Dialog::Instance(),
            &Dialog1::Instance(), &Dialog2::Instance(), &Dialog3::Instance()};
}

long Px(int twips) { return MulDiv(twips, 96, 1440); }  // at 96 DPI, 15 twips to a pixel

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

// On one axis, where a frame whose fixed place is [wanted, wantedEnd) must start in a work area [low, high):
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

// Each window and control as its description gives it: the places in twips, the texts, and the fonts
// ("宋体" in tenths of a point, or the window font).
TEST(AllWindows, FramesControlsTextsAndFonts) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW& windowFont = metrics.lfMessageFont;
    for (winui::Form* form : Windows()) {
        const winui::FormDesc& desc = form->Desc();
        HWND hwnd = form->Hwnd();
        SCOPED_TRACE(testing::Message() << ClassOf(hwnd));
        EXPECT_EQ(test::TextOf(hwnd), std::wstring(desc.caption)) << "caption";
        RECT client{}, frame{};
        GetClientRect(hwnd, &client);
        GetWindowRect(hwnd, &frame);
        EXPECT_NEAR(client.right, Scaled(Px(desc.clientWidth)), Slack()) << "client width";
        EXPECT_NEAR(client.bottom, Scaled(Px(desc.clientHeight)), Slack()) << "client height";
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        const LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU | WS_VISIBLE),
                  (desc.minimizeButton ? WS_MINIMIZEBOX : 0) | WS_SYSMENU) << "fixed, close box, loaded hidden";
        const bool dialogFrame = desc.border == winui::Border::FixedDialog;
        EXPECT_EQ(!!(ex & WS_EX_DLGMODALFRAME), dialogFrame) << "WS_EX_DLGMODALFRAME";
        // A taskbar button: for an unowned window with WS_EX_APPWINDOW; none for one owned by a hidden window.
        const HWND owner = GetWindow(hwnd, GW_OWNER);
        EXPECT_EQ(owner == nullptr, desc.taskbarButton) << "unowned";
        if (desc.taskbarButton) {
            EXPECT_TRUE(ex & WS_EX_APPWINDOW) << "WS_EX_APPWINDOW";
        } else {
            EXPECT_FALSE(IsWindowVisible(owner)) << "owner shown";
            EXPECT_NE(owner, Form1::Instance().Hwnd()) << "owned by the main window";
        }
        EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0) << "icon";
        const int offCentre = abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)) +
                              abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN));
        if (desc.centred) {  // else HelpWindowOnItsScreen
            EXPECT_LE(offCentre, 4) << "centred";
        }
        for (const winui::ControlDesc& c : std::vector(desc.controls, desc.controls + desc.controlCount)) {
            SCOPED_TRACE(c.id);
            HWND control = form->Control(c.id);
            ASSERT_NE(control, nullptr);
            const RECT r = RectIn(hwnd, control);
            EXPECT_NEAR(r.left, Scaled(Px(c.left)), Slack()) << "left";
            EXPECT_NEAR(r.top, Scaled(Px(c.top)), Slack()) << "top";
            EXPECT_NEAR(r.right - r.left, Scaled(Px(c.width)), Slack()) << "width";
            EXPECT_NEAR(r.bottom - r.top, Scaled(Px(c.height)), Slack()) << "height";
            if (c.kind != winui::ControlKind::TextBox) {
                EXPECT_EQ(test::TextOf(control), std::wstring(c.caption)) << "text";
            }
            EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED),
                      WS_VISIBLE | (c.flags & winui::kDisabled ? WS_DISABLED : 0)) << "visible, enabled as described";
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            const bool own = c.font.face != nullptr;
            EXPECT_STREQ(font.lfFaceName, own ? c.font.face : windowFont.lfFaceName) << "font face";
            const long height96 = own ? -MulDiv(c.font.tenthsOfPoint, 96, 720) : kWindowFontHeight96;
            EXPECT_NEAR(font.lfHeight, Scaled(height96), Slack()) << "font height";
            EXPECT_EQ(font.lfWeight, own ? c.font.weight : windowFont.lfWeight) << "font weight";
            EXPECT_EQ(font.lfCharSet, own ? c.font.charset : windowFont.lfCharSet) << "font character set";
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
    test::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    test::UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    test::SelectedObject selected(memory.get(), bitmap.get());
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
