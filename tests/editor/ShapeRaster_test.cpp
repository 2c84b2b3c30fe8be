#include "editor/ShapeRaster.h"
#include "tests/support/PixelArt.h"

#include <gtest/gtest.h>

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
