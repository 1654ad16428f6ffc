// Pictures drawn by GDI from run-length bitmaps: a hand-made one with every kind of code
// make-artwork.sh writes, and the shipped artwork against the colours it is drawn with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "resources/resource_ids.h"
#include "test_support.h"
#include "winui/picture.h"

namespace qelvane {
namespace {

using test::Canvas;
using winui::Picture;

constexpr COLORREF kDark = RGB(10, 20, 30), kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 250);

// 5x2 with a three-colour table. Bottom row first: two reds, a literal blue-dark-red
// padded to a word, end of line; then five blues, end of bitmap.
std::vector<BYTE> FiveByTwo() {
    const BYTE codes[] = {2, 1, 0, 3, 2, 0, 1, 0, 0, 0, 5, 2, 0, 1};
    const BITMAPINFOHEADER header{sizeof header, 5, 2, 1, 8, BI_RLE8, sizeof codes, 0, 0, 3, 0};
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1));
    for (COLORREF c : {kDark, kRed, kBlue}) bytes.insert(bytes.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    bytes.insert(bytes.end(), std::begin(codes), std::end(codes));
    return bytes;
}

TEST(Picture, RunsAndLiteralsFillTheRowsFromTheBottomUp) {
    const std::vector<BYTE> bytes = FiveByTwo();
    const Picture picture = Picture::FromPacked(bytes.data(), bytes.size());
    ASSERT_TRUE(picture.valid());
    Canvas canvas(7, 4);
    picture.Draw(canvas.dc(), 1, 1);
    const COLORREF bottom[] = {kRed, kRed, kBlue, kDark, kRed};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(canvas.At(1 + x, 1), kBlue) << x;
        EXPECT_EQ(canvas.At(1 + x, 2), bottom[x]) << x;
    }
    // GDI reads as far as the header says: a loader must not trust a short buffer.
    EXPECT_FALSE(Picture::FromPacked(bytes.data(), bytes.size() - 1).valid());
    EXPECT_FALSE(Picture::FromPacked(bytes.data(), sizeof(BITMAPINFOHEADER) + 8).valid());
}

TEST(Picture, GroundIsThePictureFromTheWindowCornerAndButtonFaceBeyondIt) {
    const std::vector<BYTE> bytes = FiveByTwo();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // A 4x3 box whose corner lies at (2,0) of the window: the picture's columns 2-4.
    Canvas canvas(4, 3);
    Picture::FromPacked(bytes.data(), bytes.size()).PaintGround(canvas.dc(), SIZE{4, 3}, POINT{2, 0});
    const COLORREF expected[3][4] = {{kBlue, kBlue, kBlue, face}, {kBlue, kDark, kRed, face}, {face, face, face, face}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(x, y), expected[y][x]) << x << "," << y;
}

// With at most 256 colours kept, a pixel may lie a few steps off the colour drawn;
// colours as 0xRRGGBB, `to` reached at t = 1 along a gradient.
void ExpectNear(COLORREF actual, int from, int to = -1, double t = 0) {
    if (to < 0) to = from;
    for (int shift : {16, 8, 0}) {
        const int a = from >> shift & 0xFF, b = to >> shift & 0xFF;
        const int got = shift == 16 ? GetRValue(actual) : shift == 8 ? GetGValue(actual) : GetBValue(actual);
        EXPECT_LE(std::abs(got - (a + (b - a) * t)), 4.0) << "shift " << shift;
    }
}

TEST(Picture, ShippedArtworkShowsWhatMakeArtworkDraws) {
    const Picture background = Picture::FromResource(IDR_BACKGROUND);
    const Picture banner = Picture::FromResource(IDR_BANNER);
    ASSERT_EQ(background.Size().cx, 389);
    ASSERT_EQ(background.Size().cy, 284);
    ASSERT_EQ(banner.Size().cx, 274);
    ASSERT_EQ(banner.Size().cy, 35);
    Canvas canvas(389, 284 + 35);
    background.Draw(canvas.dc(), 0, 0);
    banner.Draw(canvas.dc(), 0, 284);
    ExpectNear(canvas.At(194, 100), 0x9FCFF1, 0xD3EBFB, 100 / 141.0);  // sky, upper gradient
    ExpectNear(canvas.At(300, 200), 0xD3EBFB, 0xDDF0FC, 58 / 141.0);   // sky, lower gradient
    ExpectNear(canvas.At(101, 21), 0xFFFFFF);                          // a heart
    ExpectNear(canvas.At(137, 284 + 33), 0xFFE0EE, 0xFFA9CF, 33 / 34.0);  // banner ground
    ExpectNear(canvas.At(0, 284 + 17), 0xE8609C);                         // banner frame
    ExpectNear(canvas.At(24, 284 + 12), 0xFFE6CF);                        // left face
}

}  // namespace
}  // namespace qelvane
