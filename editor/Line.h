#pragma once
#include <QPoint>
#include <cstdint>
#include <vector>

// The cells a tool visits along the segment between two image cells, for the tools that walk
// from the previous mouse cell to the current one and for the Line tool. Set X1, Y1, X2, Y2,
// call Rasterize, then read Count and GetPoint. The start cell is not in the list; the end
// cell is its last entry. Every step moves exactly one cell along the longer axis (diagonals
// step along the rows) and the other coordinate is computed afresh from the start with
// halves-to-even rounding, so the list holds max(|X2 - X1|, |Y2 - Y1|) cells; a segment whose
// start equals its end holds none.
class Tline {
public:
    std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    // The cells in walking order; Points[0] is point 1 of GetPoint.
    std::vector<QPoint> Points;
    std::int32_t Count = 0;

    void Rasterize();
    // P := point `Index`, counted from 1. Returns false and leaves P alone when Index is not
    // 1..Count.
    bool GetPoint(std::int32_t Index, QPoint& P) const;
};
