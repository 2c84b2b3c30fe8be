#include "editor/ShapeRaster.h"

#include "editor/Line.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace glimt {

namespace {

using i64 = std::int64_t;

// The shape's geometry in doubled pixel units, where pixel x has its centre at 2x + 1, so
// that every boundary the rules name is an integer and ties are decided exactly.
struct Geometry {
    i64 cx, cy;     // centre of the outline
    i64 coreX, coreY; // half-size of the straight part between the corner arcs
    i64 rx, ry;     // radii of the corner arcs on the outline
};

Geometry Measure(const QRect& box, const TShapeSpec& s)
{
    Geometry g;
    g.cx = i64(box.left()) + box.right() + 1; // Left + Right with Right exclusive
    g.cy = i64(box.top()) + box.bottom() + 1;
    const i64 halfW = box.width() - 1;
    const i64 halfH = box.height() - 1;
    switch (s.Kind) {
    case TShapeKind::Rectangle: g.rx = g.ry = 0; break;
    case TShapeKind::Ellipse:
        g.rx = halfW;
        g.ry = halfH;
        break;
    case TShapeKind::RoundRect:
        g.rx = std::clamp<i64>(i64(s.CornerWidth) - 1, 0, halfW);
        g.ry = std::clamp<i64>(i64(s.CornerHeight) - 1, 0, halfH);
        break;
    }
    g.coreX = halfW - g.rx;
    g.coreY = halfH - g.ry;
    return g;
}

// True when the centre (px, py) lies strictly inside the outline moved outwards by d (inwards
// for negative d), all in doubled units.
bool Inside(const Geometry& g, i64 px, i64 py, i64 d)
{
    const i64 ax = std::llabs(px - g.cx);
    const i64 ay = std::llabs(py - g.cy);
    const i64 rx = g.rx + d;
    const i64 ry = g.ry + d;
    if (rx <= 0 || ry <= 0) // the arcs have shrunk away: sharp corners
        return ax < g.coreX + rx && ay < g.coreY + ry;
    const i64 ex = ax - g.coreX;
    const i64 ey = ay - g.coreY;
    if (ex <= 0)
        return ey < ry;
    if (ey <= 0)
        return ex < rx;
    // ex^2 / rx^2 + ey^2 / ry^2 < 1; the values stay far below 2^63 for boxes of any
    // picture this program makes (sides below 2^15).
    return ex * ex * ry * ry + ey * ey * rx * rx < rx * rx * ry * ry;
}

// The pixels of row y inside the outline moved by d: [first, last], or first > last.
std::pair<int, int> RowSpan(const Geometry& g, int y, i64 d, int maxReach)
{
    const i64 py = 2 * i64(y) + 1;
    // The pixel whose centre is nearest the middle, from the left.
    const i64 mid = (g.cx - 1) >= 0 ? (g.cx - 1) / 2 : -((1 - g.cx + 1) / 2);
    if (!Inside(g, 2 * mid + 1, py, d) && !Inside(g, 2 * mid + 3, py, d))
        return {1, 0};
    i64 lo = Inside(g, 2 * mid + 1, py, d) ? mid : mid + 1; // inside
    i64 hi = mid + maxReach + 2;                              // outside
    while (hi - lo > 1) {
        const i64 m = (lo + hi) / 2;
        if (Inside(g, 2 * m + 1, py, d))
            lo = m;
        else
            hi = m;
    }
    // Mirror of pixel x about the centre: centre 2x + 1 goes to 2cx - 2x - 1 = 2(cx - x - 1) + 1.
    const i64 first = g.cx - lo - 1;
    return {int(first), int(lo)};
}

} // namespace

void RasterShape(const TShapeSpec& shape, const QRect& clip, const std::function<void(int x, int y)>& pen,
                 const std::function<void(int x, int y)>& brush)
{
    const int left = std::min(shape.Left, shape.Right);
    const int right = std::max(shape.Left, shape.Right);
    const int top = std::min(shape.Top, shape.Bottom);
    const int bottom = std::max(shape.Top, shape.Bottom);
    if (right <= left || bottom <= top)
        return;
    const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
    const Geometry g = Measure(box, shape);
    const int w = std::max(shape.PenWidth, 1);
    const int reach = (w + 1) / 2; // pixels the pen may stand outside the box
    const int maxReach = box.width() / 2 + reach + 1;
    const int y0 = std::max(top - reach, clip.top());
    const int y1 = std::min(bottom - 1 + reach, clip.bottom());
    // The outer spans of the rows above and below, for the closing rule below.
    std::pair<int, int> above = RowSpan(g, y0 - 1, w, maxReach);
    std::pair<int, int> here = RowSpan(g, y0, w, maxReach);
    for (int y = y0; y <= y1; ++y) {
        const std::pair<int, int> below = RowSpan(g, y + 1, w, maxReach);
        const auto [o0, o1] = here;
        const std::pair<int, int> up = std::exchange(above, here);
        here = below;
        if (o0 > o1)
            continue;
        auto [i0, i1] = RowSpan(g, y, -w, maxReach);
        // The outline is closed: an inside pixel whose left, right, upper or lower neighbour
        // lies outside the shape belongs to the pen. Thin pens on steep or flat stretches of
        // an arc would otherwise leave the inside touching the outside through a gap.
        i0 = std::max({i0, o0 + 1, up.first, below.first});
        i1 = std::min({i1, o1 - 1, up.second, below.second});
        if (up.first > up.second || below.first > below.second)
            i0 = i1 + 1;
        auto run = [&](int from, int to, const std::function<void(int, int)>& visit) {
            for (int x = std::max(from, clip.left()), end = std::min(to, clip.right()); x <= end; ++x)
                visit(x, y);
        };
        if (i0 > i1) {
            run(o0, o1, pen);
            continue;
        }
        run(o0, i0 - 1, pen);
        if (brush)
            run(i0, i1, brush);
        run(i1 + 1, o1, pen);
    }
}

namespace {

void Unite(QRect& dirty, int x, int y)
{
    dirty |= QRect(x, y, 1, 1);
}

QRgb* PixelAt(QImage& target, int x, int y)
{
    return reinterpret_cast<QRgb*>(target.scanLine(y)) + x;
}

bool IsPlainRgb(const QImage& target)
{
    return target.format() == QImage::Format_RGB32 || target.format() == QImage::Format_ARGB32;
}

} // namespace

QRect DrawShape(QImage& target, const TShapeSpec& shape, QRgb pen, std::optional<QRgb> brush)
{
    QRect dirty;
    if (!IsPlainRgb(target))
        return dirty;
    auto paint = [&](QRgb color) {
        return [&target, &dirty, color](int x, int y) {
            *PixelAt(target, x, y) = color;
            Unite(dirty, x, y);
        };
    };
    RasterShape(shape, target.rect(), paint(pen), brush ? paint(*brush) : std::function<void(int, int)>());
    return dirty;
}

QRect XorShape(QImage& target, const TShapeSpec& outline, bool dotted)
{
    QRect dirty;
    if (!IsPlainRgb(target))
        return dirty;
    TShapeSpec s = outline;
    s.PenWidth = 1;
    RasterShape(s, target.rect(),
                [&](int x, int y) {
                    if (dotted && ((x + y) & 1) != 0)
                        return;
                    *PixelAt(target, x, y) ^= 0x00FFFFFFu;
                    Unite(dirty, x, y);
                },
                {});
    return dirty;
}

QRect XorLineTo(QImage& target, int X1, int Y1, int X2, int Y2)
{
    QRect dirty;
    if (!IsPlainRgb(target))
        return dirty;
    // Walked from the end back to the start: the end is excluded, the start included.
    Tline line;
    line.X1 = X2;
    line.Y1 = Y2;
    line.X2 = X1;
    line.Y2 = Y1;
    line.Rasterize();
    for (const QPoint& p : line.Points) {
        if (!target.rect().contains(p))
            continue;
        *PixelAt(target, p.x(), p.y()) ^= 0x00FFFFFFu;
        Unite(dirty, p.x(), p.y());
    }
    return dirty;
}

} // namespace glimt
