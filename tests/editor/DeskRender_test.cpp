#include "editor/DeskRender.h"

#include <QColor>
#include <gtest/gtest.h>

using namespace glimt;

namespace {

const TCheckerColors kChecker{0xFFFFFF, 0xEBEBEB, 4};

QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(0xFF123456);
    return img;
}

int Red(const QImage& img, int x, int y)
{
    return qRed(img.pixel(x, y));
}

} // namespace

TEST(DeskRender, TransparentPixelShowsCheckerDarkerAt32BitsThanBelow)
{
    struct Row {
        const char* name;
        int depth;
        int atColor1; // red at a Color1 square (255)
        int atColor2; // red at a Color2 square (235)
    } rows[] = {
        {"32 bits blend even A = 0", 32, 254, 234},
        {"24 bits show the bare board", 24, 255, 235},
        {"8 bits show the bare board", 8, 255, 235},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image(2, 3, row.depth);
        QImage canvas = Canvas(3 * 4, 2 * 4);
        RenderZoomedImage(image, 4, kChecker, canvas);
        EXPECT_EQ(Red(canvas, 0, 0), row.atColor2);
        EXPECT_EQ(Red(canvas, 4, 0), row.atColor1);
        EXPECT_EQ(Red(canvas, 4, 4), row.atColor2);
    }
}

TEST(DeskRender, PixelsLandOnTheirCellsOfANonSquareImage)
{
    TmyImagePal image(2, 3, 32);
    image.Pixel(2, 1) = TmyPixel::CreateRGBA(10, 20, 30, 255);
    image.Pixel(0, 1) = TmyPixel::CreateRGBA(200, 0, 0, 128);
    const int zoom = 3;
    QImage canvas = Canvas(9, 6);
    const QRect changed = RenderZoomedImage(image, zoom, kChecker, canvas);
    EXPECT_EQ(changed, QRect(0, 0, 9, 6));
    for (int y = 3; y < 6; ++y)
        for (int x = 6; x < 9; ++x)
            EXPECT_EQ(canvas.pixel(x, y), qRgb(10, 20, 30)) << x << "," << y;
    // Half-transparent red over the board: (127 x board + 128 x 200) shr 8 per pixel.
    const int overColor1 = (127 * 255 + 128 * 200) >> 8;
    const int overColor2 = (127 * 235 + 128 * 200) >> 8;
    EXPECT_EQ(Red(canvas, 0, 3), overColor2); // (0 div 4, 3 div 4) both even
    EXPECT_EQ(Red(canvas, 2, 5), overColor1); // row 5 lies in the second square row
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(234, 234, 234)); // transparent cell (1, 0) on a Color2 square
}

TEST(DeskRender, CheckerSquaresKeepTheirScreenSizeAtEveryZoom)
{
    TmyImagePal image(1, 1, 24);
    for (int size : {4, 8, 16}) {
        SCOPED_TRACE(size);
        QImage canvas = Canvas(10, 10);
        RenderZoomedImage(image, 10, {0xFFFFFF, 0xEBEBEB, size}, canvas);
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(Red(canvas, x, 0), (x / size) % 2 == 0 ? 235 : 255) << x;
    }
}

TEST(DeskRender, GridStylesAndZoomOne)
{
    struct Row {
        const char* name;
        int style;
        int zoom;
        std::vector<QPoint> on;
        std::vector<QPoint> off;
    } rows[] = {
        {"zoom 1 draws none", 0, 1, {}, {{0, 0}, {1, 1}}},
        {"solid lines on top and left cell edges", 0, 4, {{0, 0}, {4, 1}, {1, 4}, {4, 7}, {7, 4}}, {{1, 1}, {7, 7}}},
        {"dashed: every second pixel", 1, 4, {{0, 0}, {2, 0}, {4, 0}, {0, 2}, {4, 6}}, {{1, 0}, {3, 4}, {4, 5}, {1, 1}}},
        {"dots: only cell corners", 2, 4, {{0, 0}, {4, 0}, {4, 4}}, {{1, 0}, {0, 1}, {2, 4}}},
        {"any other style is dots", 7, 4, {{4, 4}}, {{1, 4}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QImage canvas = Canvas(8, 8);
        DrawGridLines(canvas, row.zoom, {0x0000FF, row.style});
        for (const QPoint& p : row.on)
            EXPECT_EQ(canvas.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
        for (const QPoint& p : row.off)
            EXPECT_NE(canvas.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
    }
}

TEST(DeskRender, CellRedrawTouchesOnlyItsCellAndStartsDashesAtItsCorner)
{
    const int zoom = 3;
    QImage canvas = Canvas(9, 9);
    const QRect r = DrawCellBlendedAt(canvas, 1, 2, zoom, kChecker, TmyPixel::CreateRGBA(255, 255, 255, 255));
    EXPECT_EQ(r, QRect(3, 6, 3, 3));
    EXPECT_EQ(canvas.pixel(3, 6), qRgb(254, 254, 254)); // opaque 255 shows as 254 until a full redraw
    EXPECT_EQ(canvas.pixel(2, 6), 0xFF123456u);
    EXPECT_EQ(canvas.pixel(6, 6), 0xFF123456u);

    DrawCellSolidAt(canvas, 0, 0, zoom, kChecker, TmyPixel::CreateRGBA(9, 8, 7, 1));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(9, 8, 7));
    DrawCellSolidAt(canvas, 0, 0, zoom, kChecker, TmyPixel::CreateRGBA(9, 8, 7, 0));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(235, 235, 235));

    QImage grid = Canvas(9, 9);
    DrawCellGridAt(grid, 1, 1, zoom, {0x0000FF, 1});
    EXPECT_EQ(grid.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(grid.pixel(5, 3), qRgb(255, 0, 0)); // the cell's own pattern: corner + 2
    EXPECT_NE(grid.pixel(4, 3), qRgb(255, 0, 0));
    EXPECT_NE(grid.pixel(6, 3), qRgb(255, 0, 0)); // outside the cell
}
