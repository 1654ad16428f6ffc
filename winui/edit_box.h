// Appending to an edit box that keeps showing its first line.
#pragma once

#include <windows.h>

#include <string_view>

namespace winui {

// Adds text at the end of the box; the box then shows its first line with the caret at
// the start, and only what changed on screen is drawn.
void AppendToEditBox(HWND box, std::wstring_view text);

}  // namespace winui
