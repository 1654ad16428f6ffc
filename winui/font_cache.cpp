#include "winui/font_cache.h"

#include <utility>

#include "winui/dpi.h"

namespace winui {

namespace {

// Face names match as GDI matches them, whatever their case.
bool Same(const FontDesc& a, const FontDesc& b) {
    const bool sameFace = a.face && b.face ? lstrcmpiW(a.face, b.face) == 0 : a.face == b.face;
    return sameFace && a.tenthsOfPoint == b.tenthsOfPoint && a.weight == b.weight && a.charset == b.charset;
}

LOGFONTW Describe(const FontDesc& wanted) {
    LOGFONTW font{};
    if (wanted.face) {
        font.lfHeight = FontHeight(wanted.tenthsOfPoint);
        font.lfWeight = wanted.weight;
        font.lfCharSet = wanted.charset;
        lstrcpynW(font.lfFaceName, wanted.face, LF_FACESIZE);
        return font;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
    return font;
}

}  // namespace

HFONT FontCache::Get(const FontDesc& wanted) {
    for (const Entry& entry : fonts_)
        if (Same(entry.desc, wanted)) return entry.font.get();
    const LOGFONTW description = Describe(wanted);
    UniqueFont font(CreateFontIndirectW(&description));
    if (!font.valid()) return nullptr;
    fonts_.push_back(Entry{wanted, std::move(font)});
    return fonts_.back().font.get();
}

}  // namespace winui
