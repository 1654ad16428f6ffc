// Design-time descriptions of windows and their controls, in twips.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace winui {

enum class ControlKind { Button, Label, TextBox, Picture };

// Control flags.
enum : unsigned {
    kDisabled = 1u << 0,
    kTransparent = 1u << 1,    // label drawn over the window's background picture
    kCentred = 1u << 2,        // label text centred
    kHandCursor = 1u << 3,     // hand cursor over the control
    kClickable = 1u << 4,      // label or picture reports clicks
    kMultiLine = 1u << 5,      // text box with several lines and a vertical scroll bar
};

struct FontDesc {
    const wchar_t* face = nullptr;  // nullptr: the window's default font
    int tenthsOfPoint = 0;
    int weight = FW_NORMAL;
    BYTE charset = DEFAULT_CHARSET;
};

inline constexpr FontDesc kWindowFont{};
inline constexpr FontDesc kSongTi105{L"宋体", 105, FW_NORMAL, GB2312_CHARSET};
inline constexpr FontDesc kSongTi12Bold{L"宋体", 120, FW_BOLD, GB2312_CHARSET};

inline constexpr COLORREF kDefaultColour = CLR_INVALID;
inline constexpr int kNoTabStop = -1;

struct ControlDesc {
    ControlKind kind;
    int id;
    std::wstring_view caption;
    int left, top, width, height;  // twips, client coordinates
    int tabIndex;
    FontDesc font = kWindowFont;
    unsigned flags = 0;
    COLORREF foreColour = kDefaultColour;
    COLORREF backColour = kDefaultColour;
    int imageResource = 0;  // pictures: the resource holding the image
};

enum class Border { FixedSingle, FixedDialog };

// What the program gives all its windows: its icon, the hand cursor that some controls
// show, and the class of the hidden window that owns those without a taskbar button.
struct ProgramLook {
    int iconResource;
    int handCursorResource;
    const wchar_t* ownerClassName;
};

struct FormDesc {
    const ProgramLook* look;
    const wchar_t* className;
    std::wstring_view caption;
    int clientWidth, clientHeight;  // twips
    Border border;
    bool minimizeButton;
    bool taskbarButton;
    bool centred;
    int clientLeft = 0, clientTop = 0;  // twips on the screen when not centred
    int backgroundResource = 0;
    const ControlDesc* controls = nullptr;
    std::size_t controlCount = 0;
};

}  // namespace winui
