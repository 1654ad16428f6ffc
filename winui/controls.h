// The controls of one window: a record per control, made from its description when the
// window is created and found from the control's window.
#pragma once

#include <windows.h>

#include <vector>

#include "winui/font_cache.h"
#include "winui/handles.h"
#include "winui/layout.h"
#include "winui/picture.h"

namespace winui {

struct Control {
    const ControlDesc* desc = nullptr;
    HWND hwnd = nullptr;
    HFONT font = nullptr;  // owned by the window's font cache
    UniqueBrush brush;     // its own ground colour, where it has one
    Picture picture;       // pictures only
};

class Controls {
public:
    // Creates the controls of `form` inside `parent`, in tab order; false when one cannot be.
    bool Create(HWND parent, const FormDesc& form, FontCache& fonts);
    // The record of a control made here; null for any other window.
    const Control* Of(HWND window) const;
    void Clear() { records_.clear(); }

private:
    std::vector<Control> records_;
};

// What a control is filled with before its text is drawn: its own colour, the window's
// picture under it, or the system's; the DC's colours set for its text.
HBRUSH PaintGround(const Control& control, HDC dc, const Picture& windowBackground);

}  // namespace winui
