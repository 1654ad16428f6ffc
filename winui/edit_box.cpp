#include "winui/edit_box.h"

#include <string>

namespace winui {

namespace {

SCROLLINFO VerticalScroll(HWND box) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(box, SB_VERT, &info)) info.nPage = 0;
    return info;
}

// How many lines the box holds beyond its page.
int LinesPastPage(const SCROLLINFO& scroll) {
    return scroll.nMax - scroll.nMin + 1 - static_cast<int>(scroll.nPage);
}

// The box shows its first line, caret at the start, nothing selected: all that an
// append changes on screen is the new text, if in sight, and the scroll bar.
bool AtRest(HWND box, const SCROLLINFO& scroll) {
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    return scroll.nPage > 0 && scroll.nPos == scroll.nMin && selStart == 0 && selEnd == 0;
}

}  // namespace

void AppendToEditBox(HWND box, std::wstring_view text) {
    const std::wstring line(text);
    // In place: the box lays out only the new lines, where setting the whole text
    // again lays out all of them on every append.
    const int end = GetWindowTextLengthW(box);
    // Taking the caret to the end and back scrolls the box down and up, and the box
    // redraws its scroll bar on every scroll and insertion: milliseconds each under
    // Wine's themes. A box at rest is marked hidden meanwhile (as WM_SETREDRAW does,
    // which Wine's edit box ignores), so that none of it is drawn, not the caret's
    // trip either (it ends where it was drawn); then only what changed is drawn.
    const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    const SCROLLINFO before = VerticalScroll(box);
    const bool quiet = (style & WS_VISIBLE) && AtRest(box, before);
    // Past its page and the line cut off below it, the new text lands out of sight.
    const bool inSight = quiet && LinesPastPage(before) <= 1;
    int firstChangedLine = 0;
    if (inSight) {
        RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW);  // what was due, before it is redone below
        if (end > 0) firstChangedLine = static_cast<int>(SendMessageW(box, EM_LINEFROMCHAR, end - 1, 0));
    }
    if (quiet) SetWindowLongPtrW(box, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    SendMessageW(box, EM_SETSEL, end, end);
    SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    if (!quiet) return;
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) | WS_VISIBLE);
    if (inSight) {
        // Shown again, the box would repaint its frame with its next paint; the frame
        // has not changed, only the lines from the one that held the old end.
        RedrawWindow(box, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME);
        const LRESULT lineStart = SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(firstChangedLine), 0);
        RECT changed{};
        GetClientRect(box, &changed);
        changed.top = static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(lineStart), 0)));
        if (changed.top < changed.bottom) InvalidateRect(box, &changed, TRUE);
    }
    SCROLLINFO after = VerticalScroll(box);
    if (LinesPastPage(after) > 0) SetScrollInfo(box, SB_VERT, &after, TRUE);
}

}  // namespace winui
