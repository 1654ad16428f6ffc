// Helpers for tests that create the program's windows in the test process.
#pragma once

#include <windows.h>

#include <string>

#include "winui/handles.h"

namespace qelvane::test {

struct PixelRect {
    long left, top, width, height;
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

inline PixelRect ClientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

inline std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    return font;
}

inline LOGFONTW WindowFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
}

inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// What a control's parent answers to WM_CTLCOLOR*: text colour, background mode and colour.
struct Paint {
    COLORREF text;
    int mode;
    COLORREF back;
};

inline Paint PaintOf(HWND control, UINT message) {
    HDC dc = GetDC(control);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    SendMessageW(GetParent(control), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    Paint paint{GetTextColor(dc), GetBkMode(dc), GetBkColor(dc)};
    ReleaseDC(control, dc);
    return paint;
}

// A bitmap in memory to draw on, compatible with the screen and read back by pixel.
class Canvas {
public:
    Canvas(int width, int height)
        : bitmap_(CreateCompatibleBitmap(winui::ScreenDc().get(), width, height)), selected_(dc_.get(), bitmap_.get()) {}
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    winui::UniqueMemoryDc dc_{CreateCompatibleDC(nullptr)};
    winui::UniqueBitmap bitmap_;
    winui::SelectedObject selected_;  // put back before the bitmap and the DC go
};

// The folder of the test executable, where the helper programs are built too.
inline std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

}  // namespace qelvane::test
