#include "winui/controls.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "winui/dialog_keys.h"
#include "winui/dpi.h"

namespace winui {

namespace {

// Creation order is the tab order; controls without one come last. Earlier siblings lie
// above later ones, so buttons cover the labels they overlap.
std::vector<std::size_t> TabOrder(const FormDesc& form) {
    std::vector<std::size_t> order(form.controlCount);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&form](std::size_t a, std::size_t b) {
        const int ta = form.controls[a].tabIndex;
        const int tb = form.controls[b].tabIndex;
        if ((ta == kNoTabStop) != (tb == kNoTabStop)) return tb == kNoTabStop;
        return ta < tb;
    });
    return order;
}

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ControlDesc& c) {
    WindowKind kind{L"STATIC", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0};
    switch (c.kind) {
    case ControlKind::Button:
        kind.className = L"BUTTON";
        kind.style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case ControlKind::Label:
        kind.style |= (c.flags & kCentred) ? SS_CENTER : SS_LEFT;
        break;
    case ControlKind::TextBox:
        kind.className = L"EDIT";
        kind.style |= WS_TABSTOP | ES_LEFT;
        kind.exStyle |= WS_EX_CLIENTEDGE;
        if (c.flags & kMultiLine) kind.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
        else kind.style |= ES_AUTOHSCROLL;
        break;
    case ControlKind::Picture:
        kind.style |= SS_OWNERDRAW;
        break;
    }
    if (c.flags & kClickable) kind.style |= SS_NOTIFY;
    if (c.flags & kDisabled) kind.style |= WS_DISABLED;
    return kind;
}

POINT ChildOrigin(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT origin{rect.left, rect.top};
    ScreenToClient(GetParent(child), &origin);
    return origin;
}

}  // namespace

bool Controls::Create(HWND parent, const FormDesc& form, FontCache& fonts) {
    records_.clear();
    records_.reserve(form.controlCount);
    for (std::size_t index : TabOrder(form)) {
        const ControlDesc& c = form.controls[index];
        const WindowKind kind = KindOf(c);
        Control record;
        record.desc = &c;
        record.font = fonts.Get(c.font);
        if (c.backColour != kDefaultColour) record.brush.Reset(CreateSolidBrush(c.backColour));
        if (c.kind == ControlKind::Picture) record.picture = AtScreenDpi(Picture::FromResource(c.imageResource));
        record.hwnd = CreateWindowExW(kind.exStyle, kind.className, std::wstring(c.caption).c_str(), kind.style,
                                      TwipsToPixelsX(c.left), TwipsToPixelsY(c.top), TwipsToPixelsX(c.width),
                                      TwipsToPixelsY(c.height), parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                      GetModuleHandleW(nullptr), nullptr);
        if (!record.hwnd) return false;
        SetWindowLongPtrW(record.hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(records_.size() + 1));
        SendMessageW(record.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(record.font), FALSE);
        if (c.kind == ControlKind::TextBox) {
            // An edit box stops at 30,000 characters unless told otherwise; the log must never lose text.
            SendMessageW(record.hwnd, EM_SETLIMITTEXT, 0, 0);
            KeepCaretOnTab(record.hwnd);
        }
        records_.push_back(std::move(record));
    }
    return true;
}

const Control* Controls::Of(HWND window) const {
    const auto number = static_cast<std::size_t>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (number == 0 || number > records_.size() || records_[number - 1].hwnd != window) return nullptr;
    return &records_[number - 1];
}

HBRUSH PaintGround(const Control& control, HDC dc, const Picture& windowBackground) {
    const ControlDesc& c = *control.desc;
    SetTextColor(dc, c.foreColour != kDefaultColour ? c.foreColour : GetSysColor(COLOR_WINDOWTEXT));
    if ((c.flags & kTransparent) && windowBackground.valid()) {
        // The label's ground is the part of the window's ground under it, painted here
        // because the label fills its box with the returned brush before its text.
        RECT box{};
        GetClientRect(control.hwnd, &box);
        windowBackground.PaintGround(dc, SIZE{box.right, box.bottom}, ChildOrigin(control.hwnd));
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    if (control.brush.valid()) {
        SetBkColor(dc, c.backColour);
        return control.brush.get();
    }
    const int ground = c.kind == ControlKind::TextBox ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(ground));
    return GetSysColorBrush(ground);
}

}  // namespace winui
