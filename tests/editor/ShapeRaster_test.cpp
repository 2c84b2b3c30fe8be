#include "editor/ShapeRaster.h"
#include "tests/support/PixelArt.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using glimt::TShapeKind;
using glimt::TShapeSpec;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kPen = 0xFF000000u;
constexpr QRgb kBrush = 0xFF808080u;

std::string Draw(const TShapeSpec& s, int w, int h, bool filled)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kWhite);
    glimt::DrawShape(img, s, kPen, filled ? std::optional<QRgb>(kBrush) : std::nullopt);
    return glimt::test::PixelArt(img, {{kWhite, '.'}, {kPen, '#'}, {kBrush, 'o'}}).toStdString();
}

TShapeSpec Box(int l, int t, int r, int b, TShapeKind kind, int pen = 1)
{
    TShapeSpec s;
    s.Left = l;
    s.Top = t;
    s.Right = r;
    s.Bottom = b;
    s.Kind = kind;
    s.PenWidth = pen;
    return s;
}

} // namespace

TEST(ShapeRaster, PixelsOfShapes)
{
    struct Row {
        const char* name;
        TShapeSpec shape;
        int w, h;
        bool filled;
        const char* art;
    } rows[] = {
        {"rectangle: right and bottom edges exclusive", Box(1, 1, 5, 4, TShapeKind::Rectangle), 7, 5, true,
         ".......\n"
         ".####..\n"
         ".#oo#..\n"
         ".####..\n"
         "......."},
        {"corners in the other order", Box(5, 4, 1, 1, TShapeKind::Rectangle), 7, 5, false,
         ".......\n"
         ".####..\n"
         ".#..#..\n"
         ".####..\n"
         "......."},
        {"odd pen centred on the outline", Box(3, 2, 8, 6, TShapeKind::Rectangle, 3), 11, 8, true,
         "...........\n"
         "..#######..\n"
         "..#######..\n"
         "..#######..\n"
         "..#######..\n"
         "..#######..\n"
         "..#######..\n"
         "..........."},
        {"even pen keeps its extra pixel inside", Box(2, 1, 9, 6, TShapeKind::Rectangle, 2), 11, 7, true,
         "...........\n"
         "..#######..\n"
         "..#######..\n"
         "..##ooo##..\n"
         "..#######..\n"
         "..#######..\n"
         "..........."},
        {"ellipse", Box(0, 0, 9, 5, TShapeKind::Ellipse), 9, 5, true,
         "..#####..\n"
         "##ooooo##\n"
         "#ooooooo#\n"
         "##ooooo##\n"
         "..#####.."},
        {"ellipse outline with a 3-pixel pen", Box(3, 3, 16, 10, TShapeKind::Ellipse, 3), 19, 13, false,
         "...................\n"
         "...................\n"
         "......#######......\n"
         "....###########....\n"
         "...#############...\n"
         "..####.......####..\n"
         "..###.........###..\n"
         "..####.......####..\n"
         "...#############...\n"
         "....###########....\n"
         "......#######......\n"
         "...................\n"
         "..................."},
        {"one cell with a 2-pixel pen stays one cell", Box(3, 3, 4, 4, TShapeKind::Ellipse, 2), 7, 7, false,
         ".......\n"
         ".......\n"
         ".......\n"
         "...#...\n"
         ".......\n"
         ".......\n"
         "......."},
        {"7-pixel pen reaches 3 pixels out", Box(3, 3, 4, 4, TShapeKind::Rectangle, 7), 7, 7, false,
         "..###..\n"
         ".#####.\n"
         "#######\n"
         "#######\n"
         "#######\n"
         ".#####.\n"
         "..###.."},
        {"rounded corners", [] {
             TShapeSpec s = Box(0, 0, 12, 7, TShapeKind::RoundRect);
             s.CornerWidth = s.CornerHeight = 6;
             return s;
         }(), 12, 7, true,
         ".##########.\n"
         "##oooooooo##\n"
         "#oooooooooo#\n"
         "#oooooooooo#\n"
         "#oooooooooo#\n"
         "##oooooooo##\n"
         ".##########."},
        {"no width", Box(2, 1, 2, 4, TShapeKind::Rectangle, 3), 4, 3, true,
         "....\n"
         "....\n"
         "...."},
        {"clipped to the picture", Box(-2, -1, 3, 2, TShapeKind::Rectangle), 4, 3, false,
         "..#.\n"
         "###.\n"
         "...."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Draw(r.shape, r.w, r.h, r.filled), r.art);
    }
}

TEST(ShapeRaster, ShapesAreMirrorSymmetric)
{
    for (int pen = 1; pen <= 7; ++pen) {
        for (TShapeKind kind : {TShapeKind::Rectangle, TShapeKind::RoundRect, TShapeKind::Ellipse}) {
            SCOPED_TRACE(pen);
            TShapeSpec s = Box(3, 3, 17, 12, kind, pen);
            s.CornerWidth = 5;
            s.CornerHeight = 4;
            QImage img(20, 15, QImage::Format_RGB32);
            img.fill(kWhite);
            glimt::DrawShape(img, s, kPen, kBrush);
            EXPECT_EQ(img, img.mirrored(true, true));
        }
    }
}

TEST(ShapeRaster, XorTwiceRestoresAndReportsWhatItTouched)
{
    QImage img(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 6, y * 8, 77));
    const QImage before = img.copy();
    TShapeSpec s = Box(5, 4, 33, 21, TShapeKind::RoundRect);
    s.CornerWidth = 9;
    s.CornerHeight = 5;
    for (bool dotted : {false, true}) {
        SCOPED_TRACE(dotted);
        const QRect first = glimt::XorShape(img, s, dotted);
        EXPECT_EQ(first, QRect(5, 4, 28, 17));
        EXPECT_NE(img, before);
        EXPECT_EQ(img.pixel(18, 4), before.pixel(18, 4) ^ 0x00FFFFFFu);
        EXPECT_EQ(img.pixel(19, 12), before.pixel(19, 12)) << "the inside is left alone";
        EXPECT_EQ(glimt::XorShape(img, s, dotted), first);
        EXPECT_EQ(img, before);
    }
    const QRect line = glimt::XorLineTo(img, 2, 2, 12, 7);
    EXPECT_EQ(line, QRect(2, 2, 10, 6)) << "the end pixel is not drawn";
    EXPECT_EQ(img.pixel(2, 2), before.pixel(2, 2) ^ 0x00FFFFFFu);
    EXPECT_EQ(img.pixel(12, 7), before.pixel(12, 7));
    glimt::XorLineTo(img, 2, 2, 12, 7);
    EXPECT_EQ(img, before);
}

namespace {

// What is wrong with the outline of `shape` (its box w x h at (1, 1)), or "" when it is closed:
// its pixels are one 8-connected curve, every row and column between its outermost pixels
// holds one of them, and no inside pixel has a left, right, upper or lower neighbour outside
// the shape (so a flood fill of the inside stays inside).
std::string OutlineFault(const TShapeSpec& shape, int w, int h)
{
    const int off = 1 + shape.PenWidth;
    const int W = w + 2 * off, H = h + 2 * off;
    TShapeSpec s = shape;
    s.Left += off - 1;
    s.Right += off - 1;
    s.Top += off - 1;
    s.Bottom += off - 1;
    enum : std::uint8_t { Outside, Pen, Inside };
    std::vector<std::uint8_t> grid(std::size_t(W) * std::size_t(H), Outside);
    std::vector<int> rowPens(std::size_t(H), 0), columnPens(std::size_t(W), 0), pens, inside;
    glimt::RasterShape(
        s, QRect(0, 0, W, H),
        [&](int x, int y) {
            grid[std::size_t(y * W + x)] = Pen;
            ++rowPens[std::size_t(y)];
            ++columnPens[std::size_t(x)];
            pens.push_back(y * W + x);
        },
        [&](int x, int y) {
            grid[std::size_t(y * W + x)] = Inside;
            inside.push_back(y * W + x);
        });
    if (pens.empty())
        return "no outline";
    auto gaps = [](const std::vector<int>& counts, const char* what) -> std::string {
        const auto first = std::find_if(counts.begin(), counts.end(), [](int n) { return n > 0; });
        const auto last = std::find_if(counts.rbegin(), counts.rend(), [](int n) { return n > 0; }).base();
        const auto gap = std::find(first, last, 0);
        return gap == last ? std::string() : std::string(what) + " " + std::to_string(gap - counts.begin()) + " has no outline pixel";
    };
    if (std::string g = gaps(rowPens, "row"); !g.empty())
        return g;
    if (std::string g = gaps(columnPens, "column"); !g.empty())
        return g;
    for (const int i : inside)
        for (const int d : {1, -1, W, -W})
            if (grid[std::size_t(i + d)] == Outside)
                return "the inside meets the outside at (" + std::to_string(i % W - off) + ", " + std::to_string(i / W - off) + ")";
    // The outline, walked 8-connected from its first pixel.
    std::vector<int> todo{pens.front()};
    grid[std::size_t(pens.front())] = Outside;
    std::size_t reached = 0;
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        ++reached;
        for (const int d : {1, -1, W, -W, W + 1, W - 1, -W + 1, -W - 1})
            if (grid[std::size_t(p + d)] == Pen) {
                grid[std::size_t(p + d)] = Outside;
                todo.push_back(p + d);
            }
    }
    return reached == pens.size() ? std::string() : "the outline falls apart";
}

} // namespace

// Outlines are drawn by the Rectangle, Rounded Rectangle and Ellipse tools and by their
// rubber bands; a flood fill of the inside must never run out through them.
TEST(ShapeRaster, EveryOutlineIsClosed)
{
    for (int pen = 1; pen <= 7; ++pen) {
        // Every box up to 64 x 64 for the thin pen of the rubber bands and of size 1; the
        // wide pens up to 16 x 16.
        const int largest = pen == 1 ? 64 : 16;
        for (TShapeKind kind : {TShapeKind::Rectangle, TShapeKind::RoundRect, TShapeKind::Ellipse}) {
            int faults = 0;
            for (int h = 1; h <= largest; ++h) {
                for (int w = 1; w <= largest; ++w) {
                    TShapeSpec s = Box(1, 1, 1 + w, 1 + h, kind, pen);
                    // The tool's corners (a third of the width) and the rubber band's (a
                    // third of each side) differ; both are drawn.
                    for (const QSize corner : {QSize(w / 3, w / 3), QSize(w / 3, h / 3)}) {
                        s.CornerWidth = corner.width();
                        s.CornerHeight = corner.height();
                        const std::string fault = OutlineFault(s, w, h);
                        if (!fault.empty() && ++faults <= 3)
                            ADD_FAILURE() << "kind " << int(kind) << ", pen " << pen << ", box " << w << " x " << h
                                          << ", corner " << corner.width() << " x " << corner.height() << ": " << fault;
                        if (kind != TShapeKind::RoundRect)
                            break;
                    }
                }
            }
            EXPECT_EQ(faults, 0) << "kind " << int(kind) << ", pen " << pen;
        }
    }
}
