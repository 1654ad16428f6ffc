// The keyboard of a dialog, in windows that are not dialogs: the focus kept across
// activation, Tab and Shift+Tab through the tab order, Enter on the focused button, a
// text box's caret kept when Tab brings the focus in, and Esc doing nothing.
#pragma once

#include <windows.h>

namespace winui {

// Hands a message to the dialog manager of its top-level window, or dispatches it.
void DispatchWithDialogKeys(MSG& msg);

// The box keeps its caret, selection and scroll position when the focus arrives by Tab
// or Shift+Tab, where the dialog manager would select its whole text.
void KeepCaretOnTab(HWND box);

// What a dialog's own window procedure does for the keyboard, for one window.
class DialogKeys {
public:
    // True when the message was the keyboard's and is answered (with 0).
    bool Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Forget() { lastFocus_ = nullptr; }

private:
    HWND lastFocus_ = nullptr;
};

}  // namespace winui
