// UTF-8 inside the program, UTF-16 at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace winui {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The text of a window: a window's caption, a control's text.
std::wstring WindowText(HWND window);

}  // namespace winui
