#pragma once
#include "engine/MyImage.h"

#include <QImage>
#include <QRect>
#include <cstdint>

// Drawing of the document window's canvas: an image magnified Zoom times over the
// transparency checkerboard, and the pixel grid. Targets are QImage::Format_RGB32 pictures of
// at least Zoom x the image; cells are image pixels, canvas pixels are picture pixels.
// Every routine returns the canvas rectangle it changed.
namespace glimt {

// (a x x + (255 - a) x y) shr 8: the divisor is 256, so an opaque 255 comes out as 254.
constexpr std::uint8_t LerpChannel(std::uint8_t x, std::uint8_t y, std::uint8_t a)
{
    return std::uint8_t((unsigned(a) * x + (255u - a) * y) >> 8);
}

struct TCheckerColors {
    TColor color1 = 0xFFFFFF;
    TColor color2 = 0xEBEBEB;
    int size = 4; // side of a square in canvas pixels
};
// The checkerboard as the settings give it.
TCheckerColors CurrentChecker();
// Colour of canvas pixel (x, y): Color2 where x div size and y div size are both even or both
// odd, else Color1.
TColor CheckerColorOf(const TCheckerColors& checker, int x, int y);

struct TGridLook {
    TColor color = 0xC0C0C0;
    int style = 2; // 0 solid, 1 dashed, 2 (and any other value) dots
};
TGridLook CurrentGrid();

// The whole image: 32 bits blend every pixel that is not opaque over the checkerboard; other
// depths show the checkerboard where A = 0 and the pixel's colour elsewhere.
QRect RenderZoomedImage(const TmyImagePal& image, int zoom, const TCheckerColors& checker, QImage& target);
// Grid lines on the top and left edge of every cell; nothing below zoom 2.
QRect DrawGridLines(QImage& target, int zoom, const TGridLook& look);
// One cell blended over the checkerboard (A = 0 shows the bare checkerboard).
QRect DrawCellBlendedAt(QImage& target, int x, int y, int zoom, const TCheckerColors& checker, const TmyPixel& p);
// One cell in the pixel's solid colour, or the checkerboard where A = 0.
QRect DrawCellSolidAt(QImage& target, int x, int y, int zoom, const TCheckerColors& checker, const TmyPixel& p);
// The grid lines of one cell, the pattern starting at the cell's corner; nothing below zoom 2.
QRect DrawCellGridAt(QImage& target, int x, int y, int zoom, const TGridLook& look);

// TColor (R in the low byte) to the RGB32 value of a QImage and back.
constexpr QRgb ToRgb32(TColor c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

} // namespace glimt

namespace glimt {
// The image at its own size over a background colour (A = 0 shows the background; 32 bits
// blend; other depths show the colour), as RGB32: the picture of a thumbnail tile.
QImage RenderOverBackground(const TmyImagePal& image, TColor background);
inline QImage RenderOverWhite(const TmyImagePal& image)
{
    return RenderOverBackground(image, 0xFFFFFF);
}
} // namespace glimt
