#include "winui/form.h"

#include "winui/dpi.h"
#include "winui/edit_box.h"
#include "winui/owner_window.h"
#include "winui/placement.h"
#include "winui/text.h"

namespace winui {

namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HICON Icon(int resource, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

}  // namespace

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
    DestroyWindow(hwnd);
    ReleaseResources();
    unloading_ = false;
}

void Form::ReleaseResources() {
    keys_.Forget();
    controls_.Clear();
    fonts_.Clear();
    background_ = Picture();
}

std::wstring Form::Caption() { return WindowText(Hwnd()); }

void Form::SetCaption(std::wstring_view caption) { SetWindowTextW(Hwnd(), std::wstring(caption).c_str()); }

std::wstring Form::ControlText(int id) { return WindowText(Control(id)); }

void Form::SetControlText(int id, std::wstring_view text) {
    SetWindowTextW(Control(id), std::wstring(text).c_str());
}

void Form::AppendControlText(int id, std::wstring_view text) { AppendToEditBox(Control(id), text); }

void Form::EnableControl(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

bool Form::RegisterClassOnce() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(Instance(), desc_.className, &wc)) return true;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance();
    wc.hIcon = Icon(desc_.look->iconResource, SM_CXICON, SM_CYICON);
    wc.hIconSm = Icon(desc_.look->iconResource, SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = desc_.className;
    return RegisterClassExW(&wc) != 0;
}

void Form::Load() {
    if (!RegisterClassOnce()) return;
    HWND owner = nullptr;
    if (!desc_.taskbarButton) {
        owner = OwnerWindow(desc_.look->ownerClassName);
        if (!owner) return;  // unowned, it would get a taskbar button
    }
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    if (desc_.minimizeButton) style |= WS_MINIMIZEBOX;
    DWORD exStyle = desc_.taskbarButton ? WS_EX_APPWINDOW : 0;
    if (desc_.border == Border::FixedDialog) exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    const RECT frame = FramePlacement(desc_, style, exStyle);
    const HWND created = CreateWindowExW(exStyle, desc_.className, std::wstring(desc_.caption).c_str(), style,
                                         frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                                         owner, nullptr, Instance(), this);
    if (!created) ReleaseResources();
}

bool Form::OnCreate() {
    if (desc_.backgroundResource) background_ = AtScreenDpi(Picture::FromResource(desc_.backgroundResource));
    return controls_.Create(hwnd_, desc_, fonts_);
}

LRESULT Form::OnCtlColor(UINT message, HDC dc, HWND control) {
    const winui::Control* record = controls_.Of(control);
    if (!record) return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    return reinterpret_cast<LRESULT>(PaintGround(*record, dc, background_));
}

bool Form::OnSetCursor(HWND under) {
    const winui::Control* record = controls_.Of(under);
    if (!record || !(record->desc->flags & kHandCursor)) return false;
    SetCursor(static_cast<HCURSOR>(LoadImageW(Instance(), MAKEINTRESOURCEW(desc_.look->handCursorResource),
                                              IMAGE_CURSOR, 0, 0, LR_SHARED)));
    return true;
}

void Form::OnDrawPicture(const DRAWITEMSTRUCT& item) {
    const winui::Control* record = controls_.Of(item.hwndItem);
    if (record) record->picture.Draw(item.hDC, item.rcItem.left, item.rcItem.top);
}

void Form::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    background_.PaintGround(dc, SIZE{client.right, client.bottom}, POINT{0, 0});
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (keys_.Handle(hwnd_, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) OnClick(LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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
