// The display's resolution: twips, font heights and pictures made for 96 DPI, in pixels.
#pragma once

#include "winui/picture.h"

namespace winui {

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
// The LOGFONT height of a font of that many tenths of a point.
int FontHeight(int tenthsOfPoint);
// A picture made for 96 DPI, drawn as large as the twips around it: at natural size at
// 96 DPI, rounded as TwipsToPixels rounds.
Picture AtScreenDpi(const Picture& picture);

}  // namespace winui
