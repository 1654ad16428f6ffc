#include "winui/picture.h"

#include <algorithm>

namespace winui {

Picture Picture::FromPacked(const void* bytes, std::size_t size) {
    Picture picture;
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return picture;
    const auto* info = static_cast<const BITMAPINFO*>(bytes);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    // Run-length bitmaps are always stored bottom-up, hence the positive height.
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 8 ||
        header.biCompression != BI_RLE8 || header.biWidth <= 0 || header.biHeight <= 0 ||
        header.biClrUsed > 256)
        return picture;
    const std::size_t colours = header.biClrUsed ? header.biClrUsed : 256;
    const std::size_t offset = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    // GDI reads the codes up to biSizeImage: they must all be ours to read.
    if (offset > size || header.biSizeImage == 0 || header.biSizeImage > size - offset) return picture;
    picture.info_ = info;
    picture.bits_ = static_cast<const BYTE*>(bytes) + offset;
    picture.drawn_ = SIZE{header.biWidth, header.biHeight};
    return picture;
}

Picture Picture::FromResource(int id) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
    if (!found) return Picture();
    return FromPacked(LockResource(LoadResource(instance, found)), SizeofResource(instance, found));
}

SIZE Picture::Size() const {
    if (!info_) return SIZE{0, 0};
    return SIZE{info_->bmiHeader.biWidth, info_->bmiHeader.biHeight};
}

Picture Picture::ScaledTo(SIZE drawn) const {
    Picture scaled = *this;
    if (info_) scaled.drawn_ = drawn;
    return scaled;
}

SIZE Picture::DrawnSize() const { return drawn_; }

void Picture::Draw(HDC dc, int x, int y) const {
    if (!info_) return;
    const SIZE size = Size();
    // Every pixel takes the colour of the one picture pixel under it: a label's ground,
    // drawn through its own clipped DC, matches the window's ground to the pixel (Wine's
    // HALFTONE leaves steps at the label's edges), and 200 % stays as sharp as 100 %.
    const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, drawn_.cx, drawn_.cy, 0, 0, size.cx, size.cy, bits_, info_, DIB_RGB_COLORS, SRCCOPY);
    if (previousMode) SetStretchBltMode(dc, previousMode);
}

void Picture::PaintGround(HDC dc, SIZE box, POINT origin) const {
    const SIZE size = DrawnSize();
    // The picture's right and bottom edges in the DC's coordinates.
    const LONG right = std::clamp(size.cx - origin.x, 0L, box.cx);
    const LONG bottom = std::clamp(size.cy - origin.y, 0L, box.cy);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    const RECT beside{right, 0, box.cx, box.cy};
    const RECT below{0, bottom, right, box.cy};
    FillRect(dc, &beside, face);
    FillRect(dc, &below, face);
    if (right > 0 && bottom > 0) Draw(dc, -origin.x, -origin.y);
}

}  // namespace winui
