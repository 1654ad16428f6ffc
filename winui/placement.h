// Where a window opens on the screen.
#pragma once

#include <windows.h>

#include "winui/layout.h"

namespace winui {

// The frame of a window of `style` around the client area the description gives: centred
// on the screen, or at its place, moved the least that brings it inside the work area of
// its monitor (in twips, the place grows with the text size past small screens).
RECT FramePlacement(const FormDesc& desc, DWORD style, DWORD exStyle);

}  // namespace winui
