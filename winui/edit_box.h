// Edit boxes: appending to one that keeps showing its first line, and keeping a box's
// caret and selection when the focus arrives by Tab.
#pragma once

#include <windows.h>

#include <string_view>

namespace winui {

// Adds text at the end of the box; the box then shows its first line with the caret at
// the start, and only what changed on screen is drawn.
void AppendToEditBox(HWND box, std::wstring_view text);

// The box keeps its caret, selection and scroll position when the focus arrives by Tab
// or Shift+Tab, where the dialog manager would select its whole text.
void KeepCaretOnTab(HWND box);

}  // namespace winui
