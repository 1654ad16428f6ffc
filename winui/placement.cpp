#include "winui/placement.h"

#include "winui/dpi.h"

namespace winui {

namespace {

// How far to move the span [low, high) so that it lies within [areaLow, areaHigh): the least,
// and where it is longer than the area, so that its start lies inside.
LONG ShiftInto(LONG low, LONG high, LONG areaLow, LONG areaHigh) {
    const LONG shift = high > areaHigh ? areaHigh - high : 0;
    return low + shift < areaLow ? areaLow - low : shift;
}

RECT InsideWorkArea(RECT frame) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
    const RECT& area = monitor.rcWork;
    const LONG dx = ShiftInto(frame.left, frame.right, area.left, area.right);
    const LONG dy = ShiftInto(frame.top, frame.bottom, area.top, area.bottom);
    return RECT{frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy};
}

}  // namespace

RECT FramePlacement(const FormDesc& desc, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, TwipsToPixelsX(desc.clientWidth), TwipsToPixelsY(desc.clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    if (desc.centred) {
        const LONG x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const LONG y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        return RECT{x, y, x + width, y + height};
    }
    const LONG x = TwipsToPixelsX(desc.clientLeft) + frame.left;
    const LONG y = TwipsToPixelsY(desc.clientTop) + frame.top;
    return InsideWorkArea(RECT{x, y, x + width, y + height});
}

}  // namespace winui
