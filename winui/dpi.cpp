#include "winui/dpi.h"

#include "winui/handles.h"

namespace winui {

namespace {

// Read once: the program is not aware of resolution changes while it runs.
int ScreenDpi(int axis) {
    static const int dpi[2] = {GetDeviceCaps(ScreenDc().get(), LOGPIXELSX),
                               GetDeviceCaps(ScreenDc().get(), LOGPIXELSY)};
    return dpi[axis];
}

}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpi(0), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpi(1), 1440); }

int FontHeight(int tenthsOfPoint) { return -MulDiv(tenthsOfPoint, ScreenDpi(1), 720); }

Picture AtScreenDpi(const Picture& picture) {
    const SIZE natural = picture.Size();
    return picture.ScaledTo(SIZE{MulDiv(natural.cx, ScreenDpi(0), 96), MulDiv(natural.cy, ScreenDpi(1), 96)});
}

}  // namespace winui
