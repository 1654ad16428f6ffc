// The hidden window that owns the windows without a taskbar button: owning them by one
// another would tie their z-order and minimizing together. One per program.
#pragma once

#include <windows.h>

namespace winui {

// Null when it cannot be made; the next call tries again.
HWND OwnerWindow(const wchar_t* className);

}  // namespace winui
