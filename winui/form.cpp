#include "winui/form.h"

#include "winui/edit_box.h"

#include <algorithm>
#include <numeric>

namespace winui {

namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

int ScreenDpi(int axis) {
    static const int dpi[2] = {GetDeviceCaps(ScreenDc().get(), LOGPIXELSX),
                               GetDeviceCaps(ScreenDc().get(), LOGPIXELSY)};
    return dpi[axis];
}

// A picture made for 96 DPI, drawn as large as the twips around it: at natural size at
// 96 DPI, rounded as TwipsToPixels rounds.
Picture AtScreenDpi(const Picture& picture) {
    const SIZE natural = picture.Size();
    return picture.ScaledTo(SIZE{MulDiv(natural.cx, ScreenDpi(0), 96), MulDiv(natural.cy, ScreenDpi(1), 96)});
}

// Windows without a taskbar button are owned by this hidden window; owning them
// by one another would tie their z-order and minimizing together. One per program.
HWND OwnerWindow(const wchar_t* className) {
    static HWND owner = [className] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = Instance();
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
        return CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
    }();
    return owner;
}

HICON Icon(int resource, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

POINT ChildOrigin(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT origin{rect.left, rect.top};
    ScreenToClient(GetParent(child), &origin);
    return origin;
}

// How far to move the span [low, high) so that it lies within [areaLow, areaHigh): the least,
// and where it is longer than the area, so that its start lies inside.
LONG ShiftInto(LONG low, LONG high, LONG areaLow, LONG areaHigh) {
    const LONG shift = high > areaHigh ? areaHigh - high : 0;
    return low + shift < areaLow ? areaLow - low : shift;
}

// A frame at a fixed place, moved the least that brings it inside the work area of its monitor,
// its size unchanged: in twips, the place grows with the text size past small screens.
RECT InsideWorkArea(RECT frame) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
    const RECT& area = monitor.rcWork;
    const LONG dx = ShiftInto(frame.left, frame.right, area.left, area.right);
    const LONG dy = ShiftInto(frame.top, frame.bottom, area.top, area.bottom);
    return RECT{frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy};
}

bool IsPushButton(HWND hwnd) {
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    return lstrcmpiW(className, L"Button") == 0;
}

}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpi(0), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpi(1), 1440); }

Form::Form(const FormDesc& desc) : desc_(desc) {}

Form::~Form() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

HWND Form::Hwnd() {
    if (!hwnd_) Load();
    if (!hwnd_) throw WindowNotCreated();
    return hwnd_;
}

HWND Form::Control(int id) { return GetDlgItem(Hwnd(), id); }

void Form::Show() {
    HWND hwnd = Hwnd();
    if (IsWindowVisible(hwnd)) {
        SetForegroundWindow(hwnd);
        return;
    }
    ShowWindow(hwnd, SW_SHOW);
}

void Form::Hide() { ShowWindow(Hwnd(), SW_HIDE); }

void Form::Unload() {
    // A request to unload a window that is already being unloaded does nothing.
    if (!hwnd_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    lastFocus_ = nullptr;
    DestroyWindow(hwnd);
    fonts_.clear();
    pictures_.clear();
    solidBrushes_.clear();
    background_ = Picture();
    unloading_ = false;
}

std::wstring Form::Caption() {
    HWND hwnd = Hwnd();
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form::SetCaption(std::wstring_view caption) { SetWindowTextW(Hwnd(), std::wstring(caption).c_str()); }

std::wstring Form::ControlText(int id) {
    HWND control = Control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form::SetControlText(int id, std::wstring_view text) {
    SetWindowTextW(Control(id), std::wstring(text).c_str());
}

void Form::AppendControlText(int id, std::wstring_view text) { AppendToEditBox(Control(id), text); }

void Form::EnableControl(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void Form::RegisterClassOnce() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(Instance(), desc_.className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance();
    wc.hIcon = Icon(desc_.look->iconResource, SM_CXICON, SM_CYICON);
    wc.hIconSm = Icon(desc_.look->iconResource, SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = desc_.className;
    RegisterClassExW(&wc);
}

void Form::Load() {
    RegisterClassOnce();
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    if (desc_.minimizeButton) style |= WS_MINIMIZEBOX;
    DWORD exStyle = desc_.taskbarButton ? WS_EX_APPWINDOW : 0;
    if (desc_.border == Border::FixedDialog) exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    RECT frame{0, 0, TwipsToPixelsX(desc_.clientWidth), TwipsToPixelsY(desc_.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int x = TwipsToPixelsX(desc_.clientLeft) + frame.left;
    int y = TwipsToPixelsY(desc_.clientTop) + frame.top;
    if (desc_.centred) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else {
        const RECT place = InsideWorkArea(RECT{x, y, x + width, y + height});
        x = place.left;
        y = place.top;
    }
    HWND owner = desc_.taskbarButton ? nullptr : OwnerWindow(desc_.look->ownerClassName);
    CreateWindowExW(exStyle, desc_.className, std::wstring(desc_.caption).c_str(), style, x, y, width,
                    height, owner, nullptr, Instance(), this);
}

HFONT Form::FontFor(const FontSpec& wanted) {
    LOGFONTW font{};
    if (wanted.face) {
        font.lfHeight = -MulDiv(wanted.tenthsOfPoint, ScreenDpi(1), 720);
        font.lfWeight = wanted.weight;
        font.lfCharSet = wanted.charset;
        lstrcpynW(font.lfFaceName, wanted.face, LF_FACESIZE);
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font = metrics.lfMessageFont;
    }
    fonts_.emplace_back(CreateFontIndirectW(&font));
    return fonts_.back().get();
}

void Form::CreateControls() {
    const std::size_t count = desc_.controlCount;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Creation order is the tab order; controls without one come last. Earlier
    // siblings lie above later ones, so buttons cover the labels they overlap.
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const int ta = desc_.controls[a].tabIndex, tb = desc_.controls[b].tabIndex;
        if ((ta == kNoTabStop) != (tb == kNoTabStop)) return tb == kNoTabStop;
        return ta < tb;
    });
    pictures_.clear();
    pictures_.resize(count);
    solidBrushes_.clear();
    solidBrushes_.resize(count);
    HFONT windowFont = FontFor(kWindowFont);
    for (std::size_t index : order) {
        const ControlDesc& c = desc_.controls[index];
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        switch (c.kind) {
        case ControlKind::Button:
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Label:
            style |= (c.flags & kCentred) ? SS_CENTER : SS_LEFT;
            break;
        case ControlKind::TextBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT;
            exStyle |= WS_EX_CLIENTEDGE;
            if (c.flags & kMultiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
            else style |= ES_AUTOHSCROLL;
            break;
        case ControlKind::Picture:
            style |= SS_OWNERDRAW;
            pictures_[index] = AtScreenDpi(Picture::FromResource(c.imageResource));
            break;
        }
        if (c.flags & kClickable) style |= SS_NOTIFY;
        if (c.flags & kDisabled) style |= WS_DISABLED;
        if (c.backColour != kDefaultColour) solidBrushes_[index].Reset(CreateSolidBrush(c.backColour));
        HWND control = CreateWindowExW(exStyle, className, std::wstring(c.caption).c_str(), style,
                                       TwipsToPixelsX(c.left), TwipsToPixelsY(c.top),
                                       TwipsToPixelsX(c.width), TwipsToPixelsY(c.height), hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), Instance(),
                                       nullptr);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.font.face ? FontFor(c.font) : windowFont), FALSE);
        if (c.kind == ControlKind::TextBox) {
            // An edit box stops at 30,000 characters unless told otherwise; the log must never lose text.
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
            KeepCaretOnTab(control);
        }
    }
}

const ControlDesc* Form::FindControl(int id) const {
    for (std::size_t i = 0; i < desc_.controlCount; ++i)
        if (desc_.controls[i].id == id) return &desc_.controls[i];
    return nullptr;
}

LRESULT Form::OnCtlColor(HDC dc, HWND control) {
    const ControlDesc* c = FindControl(GetDlgCtrlID(control));
    if (!c) return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(control));
    const std::size_t index = static_cast<std::size_t>(c - desc_.controls);
    SetTextColor(dc, c->foreColour != kDefaultColour ? c->foreColour : GetSysColor(COLOR_WINDOWTEXT));
    if ((c->flags & kTransparent) && background_.valid()) {
        // The label's ground is the part of the window's ground under it, painted here
        // because the label fills its box with the returned brush before its text.
        RECT box{};
        GetClientRect(control, &box);
        background_.PaintGround(dc, SIZE{box.right, box.bottom}, ChildOrigin(control));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (solidBrushes_[index].valid()) {
        SetBkColor(dc, c->backColour);
        return reinterpret_cast<LRESULT>(solidBrushes_[index].get());
    }
    const int ground = c->kind == ControlKind::TextBox ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(ground));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(ground));
}

bool Form::OnSetCursor(HWND under) {
    if (under == hwnd_ || !IsChild(hwnd_, under)) return false;
    const ControlDesc* c = FindControl(GetDlgCtrlID(under));
    if (!c || !(c->flags & kHandCursor)) return false;
    SetCursor(static_cast<HCURSOR>(LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.look->handCursorResource),
                                              IMAGE_CURSOR, 0, 0, LR_SHARED)));
    return true;
}

void Form::OnDrawPicture(const DRAWITEMSTRUCT& item) {
    const ControlDesc* c = FindControl(static_cast<int>(item.CtlID));
    if (!c) return;
    const std::size_t index = static_cast<std::size_t>(c - desc_.controls);
    pictures_[index].Draw(item.hDC, item.rcItem.left, item.rcItem.top);
}

void Form::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    background_.PaintGround(dc, SIZE{client.right, client.bottom}, POINT{0, 0});
}

// Keeps the focused control across deactivation, as a dialog does; a window being
// restored from its minimized state gets its focus back when it is restored.
void Form::OnActivate(bool active, bool minimized) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return;
    }
    if (minimized) return;
    HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)
                      ? lastFocus_
                      : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (target) SetFocus(target);
}

void Form::OnEnterKey() {
    // Enter presses the focused button; no button is the window's default.
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus) && IsPushButton(focus)) SendMessageW(focus, BM_CLICK, 0, 0);
}

// As a dialog moves the focus when asked to: a multi-line edit box takes every key,
// Tab too, and hands Tab back with this message. A text box the focus moves into keeps
// its caret and selection.
void Form::OnNextControl(WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(hwnd_, IsChild(hwnd_, focus) ? focus : nullptr, wParam != 0);
    if (next && IsChild(hwnd_, next)) SetFocus(next);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (desc_.backgroundResource) background_ = AtScreenDpi(Picture::FromResource(desc_.backgroundResource));
        CreateControls();
        return 0;
    case WM_COMMAND:
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) OnClick(LOWORD(wParam));
        else if (lParam == 0 && LOWORD(wParam) == IDOK) OnEnterKey();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        OnDrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        if (!desc_.backgroundResource) break;
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_NEXTDLGCTL:
        OnNextControl(wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self && self->hwnd_ == hwnd) self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Messages for a window that is already being destroyed are not ours any more.
    if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    // No exception may unwind through the system's code that called us (on i686 it
    // cannot): a handler that fails ends its action here, and the program goes on.
    // A window that fails while it is being created is not created.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return message == WM_NCCREATE ? FALSE : message == WM_CREATE ? -1 : 0;
    }
}

}  // namespace winui
