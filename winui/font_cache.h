// The fonts of one window: one font for all the controls that ask for the same one.
#pragma once

#include <windows.h>

#include <vector>

#include "winui/handles.h"
#include "winui/layout.h"

namespace winui {

class FontCache {
public:
    // The font described, at the display's resolution; null when it cannot be made.
    HFONT Get(const FontDesc& wanted);
    void Clear() { fonts_.clear(); }

private:
    struct Entry {
        FontDesc desc;
        UniqueFont font;
    };
    std::vector<Entry> fonts_;
};

}  // namespace winui
