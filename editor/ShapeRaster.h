#pragma once
#include <QImage>
#include <QRect>
#include <QRgb>

#include <functional>
#include <optional>

// The drawing rules of the old platform's surfaces, which the shape masks and the rubber
// bands depend on and which QPainter does not follow. A shape is given by its box
// (Left, Top)-(Right, Bottom) in pixels with the right and bottom edges exclusive, so the
// box covers the pixels Left..Right-1 and Top..Bottom-1 (the two corners may come in either
// order).
//
// The outline runs through the centres of the box's outermost pixels. A pen of width w covers
// every pixel whose centre lies within w/2 of that outline: inside the outline moved out by
// w/2 and not strictly inside the outline moved in by w/2 (a centre exactly w/2 outside is
// not covered, one exactly w/2 inside is). Odd widths are thus centred exactly; even widths
// keep their extra pixel on the inside, on every side alike, so shapes stay symmetric. Wide
// pens round the outer corners of rectangles, as round joins do. The brush fills what lies
// strictly inside the inner edge of the pen. Every pixel is visited at most once, so an XOR
// drawn twice restores the picture.
namespace glimt {

enum class TShapeKind { Rectangle, RoundRect, Ellipse };

struct TShapeSpec {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    TShapeKind Kind = TShapeKind::Rectangle;
    // Width and height of the ellipse that rounds each corner (RoundRect only); clamped to
    // the box.
    int CornerWidth = 0, CornerHeight = 0;
    int PenWidth = 1; // 1 or more
};

// Visits the pixels of the shape that lie inside `clip`: `pen` for outline pixels, `brush`
// (may be empty) for the inside. An empty box (no width or no height) has no pixels.
void RasterShape(const TShapeSpec& shape, const QRect& clip, const std::function<void(int x, int y)>& pen,
                 const std::function<void(int x, int y)>& brush);

// Draws the shape into `target` (Format_RGB32 or Format_ARGB32; other formats are left alone)
// in the pen colour, filled with `brush` when given. Returns the rectangle of changed pixels.
QRect DrawShape(QImage& target, const TShapeSpec& shape, QRgb pen, std::optional<QRgb> brush);

// Inverts (XOR with white) the colour of every outline pixel of the shape (pen width 1, no fill); `dotted`
// takes only the pixels where x + y is even. Returns the rectangle it touched. Drawing the
// same figure twice restores the picture.
QRect XorShape(QImage& target, const TShapeSpec& shape, bool dotted = false);

// Inverts the pixels of the line from (X1, Y1) to (X2, Y2), the end pixel excluded (the
// cells of Tline walked backwards from the end). Returns the rectangle it touched.
QRect XorLineTo(QImage& target, int X1, int Y1, int X2, int Y2);

} // namespace glimt
