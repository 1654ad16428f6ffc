// The windows' pictures: 8-bit run-length-compressed bitmaps (BI_RLE8) kept as bitmap
// resources. GDI expands them itself while drawing, so showing them loads no image
// codec and no COM, and no decoded copy is kept.
#pragma once

#include <windows.h>

#include <cstddef>

namespace winui {

// A view of a packed bitmap (header, colour table, compressed bits) in memory that
// outlives it, such as the program's own resources.
class Picture {
public:
    Picture() = default;
    // Empty unless the bytes hold an 8-bit RLE bitmap whose parts all lie within `size`.
    static Picture FromPacked(const void* bytes, std::size_t size);
    // The program's bitmap resource `id`.
    static Picture FromResource(int id);

    bool valid() const { return info_ != nullptr; }
    // The size of the bitmap itself.
    SIZE Size() const;
    // The same picture drawn at `drawn` pixels (a display above or below 96 DPI)
    // instead of its natural size.
    Picture ScaledTo(SIZE drawn) const;
    // The size the picture is drawn at: its natural size unless scaled.
    SIZE DrawnSize() const;
    // Draws the picture at its drawn size with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;
    // Paints a window's ground under a box of `box` pixels whose top-left corner lies at
    // `origin` in the window, into a DC whose (0,0) is that corner: the picture at its
    // drawn size from the window's top-left corner, the button face wherever the box
    // reaches past it. An empty picture leaves the whole box button face.
    void PaintGround(HDC dc, SIZE box, POINT origin) const;

private:
    const BITMAPINFO* info_ = nullptr;
    const BYTE* bits_ = nullptr;
    SIZE drawn_{0, 0};
};

}  // namespace winui
