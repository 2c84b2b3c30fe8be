#pragma once
#include "engine/MyImage.h"
#include "engine/MyPainter.h"

#include <QImage>
#include <QRect>

#include <functional>

// The painting primitives: the routines through which every tool changes pixels, and the XOR
// rubber bands drawn on a document window's canvas while a shape is dragged. They keep no
// state; what they work on is handed to them in a TPaintContext that the tool dispatcher fills
// once per event from the active document (they never look for a window themselves).
//
// Coordinates are image cells (column X, row Y) unless said otherwise; cells outside the image
// are skipped silently, so masks and lines may overhang it. Every routine returns the
// rectangle of cells it wrote (empty when it wrote nothing); the caller redraws that rectangle
// of the canvas (scaled by the zoom) and of the preview. The XOR routines return canvas pixels.
namespace glimt {

// Blur or sharpen of one cell: the filtered value of `source` at (x, y) with the Blur preset
// (sharpen false) or the Sharpen preset (sharpen true), alpha filtered when `filterOnAlpha`.
using TCellFilter = std::function<TmyPixel(const TmyImage& source, int x, int y, bool sharpen, bool filterOnAlpha)>;

// The filter of the Blur/Sharpen tool: the preset kernels of the Blur and Sharpen effects.
TmyPixel BlurSharpenCell(const TmyImage& source, int x, int y, bool sharpen, bool filterOnAlpha);

struct TPaintContext {
    // The current image of the active document (null: nothing is painted).
    TmyImagePal* Image = nullptr;
    // Its stroke-start copy, same size; exists from the press to the release. Image writes
    // happen only while it exists, and are composited over it, so that the stamps of one
    // stroke do not pile up.
    const TmyImage* StrokeBackup = nullptr;
    // The left-button and right-button colours of the colour panel.
    TmyPixel ForeColor = TmyPixel::CreateRGBA(0, 0, 0, 255);
    TmyPixel BackColor = TmyPixel::CreateRGBA(0, 0, 0, 0);
    // Settings: brush edges anti-aliased; filters work on alpha.
    bool SmoothEdges = false;
    bool FilterOnAlpha = true;
    // The image of the floating selection, for the routines that write into it (may be null).
    TmyImagePal* Selection = nullptr;
    // The Blur/Sharpen filter of one cell (null: BlurMask paints nothing).
    TCellFilter CellFilter = BlurSharpenCell;
};

// Write modes of PutPixel and PutSelectionPixel.
constexpr int kModeNormal = 0;
constexpr int kModeSoftOpaque = 1;       // soft edge of a colour that is not fully transparent
constexpr int kModeSoftTransparent = -1; // soft edge of a fully transparent colour

// Turns two corner cells of a dragged shape into the half-open cell box that covers both:
// whichever of each pair lies further along is moved one cell on, so the end cell is inside.
inline void IncludeEndCell(int& X1, int& Y1, int& X2, int& Y2)
{
    if (X2 > X1)
        ++X2;
    else
        ++X1;
    if (Y2 > Y1)
        ++Y2;
    else
        ++Y1;
}

} // namespace glimt

namespace TmyPainter {

using glimt::TPaintContext;

// Writes one cell during a stroke. Paletted images (1, 4, 8 bits) take the colour opaque, or
// (0, 0, 0, 0) when its alpha is 0. 24 and 32 bits composite the colour over the stroke-start
// pixel (soft edges first take 30% off the colour's alpha, or, for a transparent colour, keep
// the stroke-start colour with 30% of its alpha); 24 bits then cut alpha at 128 (128 is
// transparent). A soft-edge write leaves a cell alone that this stroke has already changed.
QRect PutPixel(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel, int Mode);
// Writes the value as it is during a stroke: 32 bits keep its alpha; other depths make alpha
// 255 from 128 up, else (0, 0, 0, 0). A = 0 always writes black. Not composited, not compared.
QRect PutPixelRaw(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel);
// Writes into the floating selection's image (its own cells), also outside a stroke; the
// selection's depth rules as in PutPixel, composited over nothing; soft edges of a transparent
// colour write (0, 0, 0, 0). Returns selection cells.
QRect PutSelectionPixel(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel, int Mode);
// The current image's pixel, or (0, 0, 0, 0) outside it.
TmyPixel GetPixelCopy(const TPaintContext& c, int X, int Y);
// PutPixel(X, Y, Colour, normal) when the cell equals Match in all four bytes.
QRect ReplaceIfEqual(const TPaintContext& c, int X, int Y, const TmyPixel& Colour, const TmyPixel& Match);
// Fills the cells 4-connected to (X, Y) that equal Target with Fill (written as PutPixelRaw
// writes), each cell once; stops at cells that differ from Target or already equal Fill.
// No depth limit.
QRect FloodFill(const TPaintContext& c, int X, int Y, const TmyPixel& Fill, const TmyPixel& Target);

// Mask routines: mask pixel (j, i) covers cell (X + j, Y + i). StampMask paints the left
// colour where the mask's red is below 200 and the right colour where its green is below 200;
// with smooth edges, painted pixels on the mask's border or next to an unpainted one (a
// neighbour whose red and green are both above 200) are written as soft edges.
QRect StampMask(const TPaintContext& c, int X, int Y, const QImage& Mask);
// StampMask into the floating selection's image (selection cells).
QRect StampMaskToSelection(const TPaintContext& c, int X, int Y, const QImage& Mask);
// The following take a mask pixel as painted only when its channel is exactly 0.
// Red: R, G, B + 3 (at most 255); green: - 3 (at least 0), from the current pixel.
QRect BrightenMask(const TPaintContext& c, int X, int Y, const QImage& Mask);
// Red: Blur, green: Sharpen, of the stroke-start copy.
QRect BlurMask(const TPaintContext& c, int X, int Y, const QImage& Mask);
// Red or green: the cell's alpha := the left colour's alpha.
QRect OpacityMask(const TPaintContext& c, int X, int Y, const QImage& Mask);
// Red: cells of the left colour become the right colour; green: the other way round.
QRect ReplaceColorMask(const TPaintContext& c, int X, int Y, const QImage& Mask);

// Rubber bands on the canvas (QImage::Format_RGB32, `zoom` canvas pixels per cell), inverted
// so that drawing the same figure twice restores it. The box spans the cells from (X1, Y1) to
// (X2, Y2) inclusive, in either drag direction: its outline hugs their outer edges.
QRect XorRectangle(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2);
// The same with every other pixel (x + y even).
QRect XorDottedRectangle(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2);
// The ellipse in the same box.
QRect XorEllipse(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2);
// The same box with corners of (box width div 3) x (box height div 3) canvas pixels.
QRect XorRoundRect(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2);
// From the centre of cell (X1, Y1) to the centre of cell (X2, Y2), the end pixel excluded.
QRect XorLine(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2);

} // namespace TmyPainter
