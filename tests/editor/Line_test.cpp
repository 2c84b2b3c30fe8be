#include "editor/Line.h"

#include <QList>

#include <ostream>

#include <gtest/gtest.h>

// Readable cells in failure messages.
void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace {

QList<QPoint> Cells(int x1, int y1, int x2, int y2)
{
    Tline line;
    line.X1 = x1;
    line.Y1 = y1;
    line.X2 = x2;
    line.Y2 = y2;
    line.Rasterize();
    QList<QPoint> out;
    for (int i = 1; i <= line.Count; ++i) {
        QPoint p;
        EXPECT_TRUE(line.GetPoint(i, p));
        out << p;
    }
    return out;
}

} // namespace

TEST(Tline, CellsOfASegment)
{
    struct Row {
        const char* name;
        int x1, y1, x2, y2;
        QList<QPoint> cells;
    } rows[] = {
        {"start equals end", 4, 7, 4, 7, {}},
        {"horizontal", 0, 0, 3, 0, {{1, 0}, {2, 0}, {3, 0}}},
        {"upwards", 0, 0, 0, -2, {{0, -1}, {0, -2}}},
        {"diagonal steps along rows", 0, 0, 2, 2, {{1, 1}, {2, 2}}},
        {"quarter slope rounds halves to even", 0, 0, 4, 1, {{1, 0}, {2, 0}, {3, 1}, {4, 1}}},
        {"half slope", 0, 0, 4, 2, {{1, 0}, {2, 1}, {3, 2}, {4, 2}}},
        {"leftwards", 3, 1, 0, 0, {{2, 1}, {1, 0}, {0, 0}}},
        {"steep, 0.5 rounds to 0", 1, 5, 2, 1, {{1, 4}, {1, 3}, {2, 2}, {2, 1}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Cells(r.x1, r.y1, r.x2, r.y2), r.cells);
    }
}

TEST(Tline, HoldsAnyNumberOfCells)
{
    Tline line;
    line.X1 = -20000;
    line.Y1 = 3;
    line.X2 = 20000;
    line.Y2 = -7;
    line.Rasterize();
    ASSERT_EQ(line.Count, 40000);
    QPoint last;
    ASSERT_TRUE(line.GetPoint(40000, last));
    EXPECT_EQ(last, QPoint(20000, -7));
    QPoint p(9, 9);
    EXPECT_FALSE(line.GetPoint(0, p));
    EXPECT_FALSE(line.GetPoint(40001, p));
    EXPECT_EQ(p, QPoint(9, 9));

    // A second run replaces the first.
    line.X2 = line.X1;
    line.Y2 = line.Y1;
    line.Rasterize();
    EXPECT_EQ(line.Count, 0);
    EXPECT_TRUE(line.Points.empty());
}
