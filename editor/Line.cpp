#include "editor/Line.h"

#include <cmath>
#include <cstdlib>

namespace {

std::int32_t RoundHalfEven(double v)
{
    return std::int32_t(std::nearbyint(v));
}

} // namespace

void Tline::Rasterize()
{
    Points.clear();
    Count = 0;
    // 64-bit differences: the coordinates are the caller's and may lie far outside an image.
    const std::int64_t dx = std::int64_t(X2) - X1;
    const std::int64_t dy = std::int64_t(Y2) - Y1;
    const double m = dx == 0 ? 0.0 : double(-dy) / double(-dx);
    const double im = m == 0.0 ? 0.0 : 1.0 / m;
    Points.reserve(std::size_t(std::max(std::llabs(dx), std::llabs(dy))));

    std::int32_t x = X1;
    std::int32_t y = Y1;
    // The loop tests before it steps, so a segment from a cell to itself has no cells.
    if (std::llabs(dy) < std::llabs(dx)) {
        const int step = X1 < X2 ? 1 : -1;
        while (x != X2) {
            x += step;
            y = std::int32_t(Y1 + RoundHalfEven(m * double(std::int64_t(x) - X1)));
            Points.emplace_back(x, y);
        }
    } else {
        const int step = Y1 < Y2 ? 1 : -1;
        while (y != Y2) {
            y += step;
            x = std::int32_t(X1 + RoundHalfEven(im * double(std::int64_t(y) - Y1)));
            Points.emplace_back(x, y);
        }
    }
    Count = std::int32_t(Points.size());
}

bool Tline::GetPoint(std::int32_t Index, QPoint& P) const
{
    if (Index < 1 || Index > Count)
        return false;
    P = Points[std::size_t(Index - 1)];
    return true;
}
