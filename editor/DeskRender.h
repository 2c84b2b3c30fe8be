#pragma once
#include "engine/MyImage.h"
#include "engine/MyPainter.h"

#include <QImage>
#include <QRect>
#include <cstdint>

// Drawing of the document window's canvas: an image magnified Zoom times over the
// transparency checkerboard, and the pixel grid. Targets are QImage::Format_RGB32 pictures of
// at least Zoom x the image; cells are image pixels, canvas pixels are picture pixels.
// Every routine returns the canvas rectangle it changed.
namespace glimt {

struct TGridLook {
    TColor color = 0xC0C0C0;
    int style = 2; // 0 solid, 1 dashed, 2 (and any other value) dots
};
TGridLook CurrentGrid();

// The whole image: 32 bits blend every pixel that is not opaque over the checkerboard; other
// depths show the checkerboard where A = 0 and the pixel's colour elsewhere.
QRect RenderZoomedImage(const TmyImagePal& image, int zoom, const Checkerboard& checker, QImage& target);
// Grid lines on the top and left edge of every cell; nothing below zoom 2.
QRect DrawGridLines(QImage& target, int zoom, const TGridLook& look);
// One cell blended over the checkerboard (A = 0 shows the bare checkerboard).
QRect DrawCellBlendedAt(QImage& target, int x, int y, int zoom, const Checkerboard& checker, const TmyPixel& p);
// One cell in the pixel's solid colour, or the checkerboard where A = 0.
QRect DrawCellSolidAt(QImage& target, int x, int y, int zoom, const Checkerboard& checker, const TmyPixel& p);
// The grid lines of one cell, the pattern starting at the cell's corner; nothing below zoom 2.
QRect DrawCellGridAt(QImage& target, int x, int y, int zoom, const TGridLook& look);

// TColor (R in the low byte) to the RGB32 value of a QImage and back.
constexpr QRgb ToRgb32(TColor c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

} // namespace glimt

