#include "winui/dialog_keys.h"

namespace winui {

namespace {

WNDPROC g_editProc = nullptr;

// The dialog manager selects the whole text of a box that moves the focus in when the
// box answers DLGC_HASSETSEL, as every edit box does: the next key would replace it all.
LRESULT CALLBACK CaretKeepingProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(g_editProc, box, message, wParam, lParam);
    return message == WM_GETDLGCODE ? result & ~static_cast<LRESULT>(DLGC_HASSETSEL) : result;
}

bool IsPushButton(HWND hwnd) {
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    return lstrcmpiW(className, L"Button") == 0;
}

// Keeps the focused control across deactivation, as a dialog does; a window being
// restored from its minimized state gets its focus back when it is restored.
void OnActivate(HWND window, HWND& lastFocus, bool active, bool minimized) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) lastFocus = focus;
        return;
    }
    if (minimized) return;
    HWND target = lastFocus && IsWindow(lastFocus) && IsWindowEnabled(lastFocus)
                      ? lastFocus
                      : GetNextDlgTabItem(window, nullptr, FALSE);
    if (target) SetFocus(target);
}

// Enter presses the focused button; no button is the window's default.
void OnEnterKey(HWND window) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus) && IsPushButton(focus)) SendMessageW(focus, BM_CLICK, 0, 0);
}

// As a dialog moves the focus when asked to: a multi-line edit box takes every key,
// Tab too, and hands Tab back with this message. A text box the focus moves into keeps
// its caret and selection.
void OnNextControl(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(window, IsChild(window, focus) ? focus : nullptr, wParam != 0);
    if (next && IsChild(window, next)) SetFocus(next);
}

}  // namespace

// No window has a cancel button, so Esc does nothing: left to the dialog manager, a
// multi-line edit box would close its window on it.
void DispatchWithDialogKeys(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void KeepCaretOnTab(HWND box) {
    // Every edit box of the process has the same window procedure, its class's.
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CaretKeepingProc)));
    if (!g_editProc) g_editProc = previous;
}

bool DialogKeys::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        OnActivate(window, lastFocus_, LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0);
        return true;
    case WM_COMMAND:
        // Sent by the dialog manager for Enter when no control is the default.
        if (lParam != 0 || LOWORD(wParam) != IDOK) return false;
        OnEnterKey(window);
        return true;
    case WM_NEXTDLGCTL:
        OnNextControl(window, wParam, lParam);
        return true;
    default:
        return false;
    }
}

}  // namespace winui
