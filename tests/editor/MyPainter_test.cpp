#include "editor/BrushMask.h"
#include "editor/MyPainter.h"
#include "engine/MyFilter.h"
#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

using glimt::test::MakeImage;
using glimt::test::Px;

namespace {

// A document image of 3 x 2 cells with its stroke-start copy, as the dispatcher hands it over.
struct Stroke {
    TmyImagePal image;
    TmyImagePal backup;
    glimt::TPaintContext c;

    explicit Stroke(TmyImagePal start) : image(start), backup(start)
    {
        c.Image = &image;
        c.StrokeBackup = &backup;
    }
    // A new stroke starts from the image as it is now.
    void Restart() { backup = image; }
};

TmyImagePal White(int depth, int w = 3, int h = 2)
{
    TmyImagePal img(h, w, depth);
    img.Fill(Px(255, 255, 255, 255));
    return img;
}

QImage MaskOf(int w, int h, std::initializer_list<const char*> rows)
{
    QImage m(w, h, QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x)
            m.setPixel(x, y, row[x] == 'L' ? glimt::kLeftMaskColor : row[x] == 'R' ? glimt::kRightMaskColor : 0xFFFFFFFFu);
        ++y;
    }
    return m;
}

} // namespace

TEST(TmyPainter, HalfTransparentPaintDoesNotBuildUpWithinAStroke)
{
    Stroke s(White(32));
    const TmyPixel red = Px(255, 0, 0, 128);
    EXPECT_EQ(TmyPainter::PutPixel(s.c, 1, 1, red, 0), QRect(1, 1, 1, 1));
    EXPECT_EQ(s.image.Pixel(1, 1), Px(255, 127, 127, 255));
    EXPECT_EQ(TmyPainter::PutPixel(s.c, 1, 1, red, 0), QRect()) << "nothing changes the second time";
    EXPECT_EQ(s.image.Pixel(1, 1), Px(255, 127, 127, 255));
    EXPECT_EQ(red, Px(255, 0, 0, 128)) << "the caller's pixel is not changed";

    s.Restart();
    TmyPainter::PutPixel(s.c, 1, 1, red, 0);
    EXPECT_EQ(s.image.Pixel(1, 1), Px(255, 63, 63, 255)) << "a second stroke builds up";
}

TEST(TmyPainter, DepthRulesOfTheWrites)
{
    struct Row {
        const char* name;
        int depth;
        bool raw;
        TmyPixel written;
        TmyPixel expected;
    } rows[] = {
        {"24 bits: composited 128 is transparent", 24, false, Px(10, 20, 30, 128), Px(0, 0, 0, 0)},
        {"24 bits: composited 129 is opaque", 24, false, Px(10, 20, 30, 129), Px(10, 20, 30, 255)},
        {"24 bits raw: 128 is opaque", 24, true, Px(10, 20, 30, 128), Px(10, 20, 30, 255)},
        {"24 bits raw: 127 is transparent black", 24, true, Px(10, 20, 30, 127), Px(0, 0, 0, 0)},
        {"4 bits: any alpha is opaque", 4, false, Px(10, 20, 30, 1), Px(10, 20, 30, 255)},
        {"4 bits: alpha 0 is transparent black", 4, false, Px(10, 20, 30, 0), Px(0, 0, 0, 0)},
        {"32 bits raw keeps alpha", 32, true, Px(10, 20, 30, 77), Px(10, 20, 30, 77)},
        {"32 bits raw: alpha 0 is black", 32, true, Px(10, 20, 30, 0), Px(0, 0, 0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // A transparent stroke start: compositing leaves the colour as it is.
        Stroke s(TmyImagePal(2, 3, r.depth));
        s.image.Fill(Px(1, 2, 3, 255));
        if (r.raw)
            TmyPainter::PutPixelRaw(s.c, 2, 0, r.written);
        else
            TmyPainter::PutPixel(s.c, 2, 0, r.written, 0);
        EXPECT_EQ(s.image.Pixel(2, 0), r.expected);
    }
}

TEST(TmyPainter, NothingIsWrittenOutsideAStrokeOrTheImage)
{
    Stroke s(White(32));
    s.c.StrokeBackup = nullptr;
    const QImage dot = glimt::CreateBrushMask(glimt::kShapeSquare, 1, 0);
    EXPECT_EQ(TmyPainter::PutPixel(s.c, 0, 0, Px(0, 0, 0, 255), 0), QRect());
    EXPECT_EQ(TmyPainter::PutPixelRaw(s.c, 0, 0, Px(0, 0, 0, 255)), QRect());
    EXPECT_EQ(TmyPainter::StampMask(s.c, 0, 0, dot), QRect());
    EXPECT_EQ(TmyPainter::FloodFill(s.c, 0, 0, Px(0, 0, 0, 255), Px(255, 255, 255, 255)), QRect());
    EXPECT_TRUE(s.image.SamePixels(White(32)));

    s.c.StrokeBackup = &s.backup;
    for (const QPoint p : {QPoint(-1, 0), QPoint(3, 0), QPoint(0, 2), QPoint(0, -1)}) {
        EXPECT_EQ(TmyPainter::PutPixel(s.c, p.x(), p.y(), Px(0, 0, 0, 255), 0), QRect());
        EXPECT_EQ(TmyPainter::GetPixelCopy(s.c, p.x(), p.y()), Px(0, 0, 0, 0));
    }
    // A 7 x 7 stamp overhanging the 3 x 2 image on every side writes only the image's cells.
    const QImage big = glimt::CreateBrushMask(glimt::kShapeSquare, 7, 0);
    EXPECT_EQ(TmyPainter::StampMask(s.c, -2, -3, big), QRect(0, 0, 3, 2));
    EXPECT_EQ(s.image.Pixel(2, 1), Px(0, 0, 0, 255));
}

TEST(TmyPainter, SmoothEdgesSoftenTheBorderOfAStamp)
{
    const QImage square = glimt::CreateBrushMask(glimt::kShapeSquare, 3, 0);
    Stroke s(TmyImagePal(3, 3, 32));
    s.c.SmoothEdges = true;
    s.c.ForeColor = Px(200, 100, 50, 255);
    TmyPainter::StampMask(s.c, 0, 0, square);
    EXPECT_EQ(s.image.Pixel(1, 1), Px(200, 100, 50, 255)) << "the centre is written in full";
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(2, 2), QPoint(0, 1)})
        EXPECT_EQ(s.image.Pixel(p.x(), p.y()), Px(200, 100, 50, 179)) << p.x() << "," << p.y();

    // A transparent colour: the border keeps the stroke-start colour with 30% of its alpha.
    Stroke t(TmyImagePal(3, 3, 32));
    t.image.Fill(Px(9, 8, 7, 255));
    t.Restart();
    t.c.SmoothEdges = true;
    t.c.ForeColor = Px(0, 0, 0, 0);
    TmyPainter::StampMask(t.c, 0, 0, square);
    EXPECT_EQ(t.image.Pixel(0, 0), Px(9, 8, 7, 77));
    EXPECT_EQ(t.image.Pixel(1, 1), Px(0, 0, 0, 0)) << "the inside is erased";

    // A soft edge does not eat into what the stroke has already painted.
    Stroke u(TmyImagePal(2, 5, 32));
    u.c.SmoothEdges = true;
    u.c.ForeColor = Px(1, 1, 1, 255);
    TmyPainter::PutPixel(u.c, 2, 0, u.c.ForeColor, 0);
    TmyPainter::StampMask(u.c, 2, 0, square);
    EXPECT_EQ(u.image.Pixel(2, 0), Px(1, 1, 1, 255));
}

TEST(TmyPainter, StampPaintsEachButtonsColour)
{
    Stroke s(TmyImagePal(2, 3, 32));
    s.c.ForeColor = Px(255, 0, 0, 255);
    s.c.BackColor = Px(0, 0, 255, 255);
    const QRect dirty = TmyPainter::StampMask(s.c, 0, 0, MaskOf(3, 2, {"L.R", ".L."}));
    EXPECT_EQ(dirty, QRect(0, 0, 3, 2));
    EXPECT_EQ(s.image.Pixel(0, 0), s.c.ForeColor);
    EXPECT_EQ(s.image.Pixel(2, 0), s.c.BackColor);
    EXPECT_EQ(s.image.Pixel(1, 1), s.c.ForeColor);
    EXPECT_EQ(s.image.Pixel(1, 0), Px(0, 0, 0, 0));
}

TEST(TmyPainter, FloodFillRegion)
{
    const TmyPixel w = Px(255, 255, 255, 255), k = Px(0, 0, 0, 255), f = Px(0, 200, 0, 255);
    Stroke s(MakeImage(4, 3, 32, {w, w, k, w,  //
                                  k, w, k, w,  //
                                  w, w, k, w}));
    EXPECT_EQ(TmyPainter::FloodFill(s.c, 1, 0, f, w), QRect(0, 0, 2, 3));
    EXPECT_TRUE(s.image.SamePixels(MakeImage(4, 3, 32, {f, f, k, w, k, f, k, w, f, f, k, w})));
    EXPECT_EQ(TmyPainter::FloodFill(s.c, 1, 0, f, f), QRect()) << "a cell that has the fill colour";

    // On a 4-bit image a fill whose written value still equals the target ends too.
    Stroke p(MakeImage(3, 2, 4, {w, w, w, w, w, w}));
    EXPECT_EQ(TmyPainter::FloodFill(p.c, 0, 0, Px(255, 255, 255, 200), w), QRect(0, 0, 3, 2));
    EXPECT_TRUE(p.image.SamePixels(MakeImage(3, 2, 4, {w, w, w, w, w, w})));

    // Every cell of the largest image, without deep recursion.
    Stroke big(White(32, 256, 256));
    EXPECT_EQ(TmyPainter::FloodFill(big.c, 255, 0, k, w), QRect(0, 0, 256, 256));
    EXPECT_EQ(big.image.Pixel(0, 255), k);
}

// The fill against a plain breadth-first walk on a maze of two colours.
TEST(TmyPainter, FloodFillMatchesAPlainWalk)
{
    const TmyPixel a = Px(10, 10, 10, 255), b = Px(20, 20, 20, 255), f = Px(0, 0, 99, 255);
    const int w = 37, h = 23;
    TmyImagePal maze(h, w, 32);
    unsigned seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            maze.Pixel(x, y) = ((seed >> 16) % 100) < 62 ? a : b;
        }
    for (const QPoint start : {QPoint(0, 0), QPoint(18, 11), QPoint(36, 22), QPoint(5, 20)}) {
        SCOPED_TRACE(start.x() * 100 + start.y());
        Stroke s(maze);
        const TmyPixel target = maze.Pixel(start.x(), start.y());
        const QRect dirty = TmyPainter::FloodFill(s.c, start.x(), start.y(), f, target);

        TmyImagePal expected = maze;
        QRect box;
        std::vector<QPoint> queue{start};
        expected.Pixel(start.x(), start.y()) = f;
        for (std::size_t i = 0; i < queue.size(); ++i) {
            box |= QRect(queue[i], QSize(1, 1));
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint n = queue[i] + d;
                if (expected.Contains(n.x(), n.y()) && expected.Pixel(n.x(), n.y()) == target) {
                    expected.Pixel(n.x(), n.y()) = f;
                    queue.push_back(n);
                }
            }
        }
        EXPECT_TRUE(s.image.SamePixels(expected));
        EXPECT_EQ(dirty, box);
    }
}

TEST(TmyPainter, MaskTools)
{
    const QImage leftDot = MaskOf(1, 1, {"L"});
    const QImage rightDot = MaskOf(1, 1, {"R"});
    Stroke s(MakeImage(3, 2, 32, {Px(254, 10, 2, 90), Px(2, 250, 3, 255), Px(0, 0, 0, 0),  //
                                  Px(5, 6, 7, 255), Px(5, 6, 7, 255), Px(8, 8, 8, 255)}));
    TmyPainter::BrightenMask(s.c, 0, 0, leftDot);
    EXPECT_EQ(s.image.Pixel(0, 0), Px(255, 13, 5, 90)) << "254 + 3 stops at 255, alpha kept";
    TmyPainter::BrightenMask(s.c, 1, 0, rightDot);
    EXPECT_EQ(s.image.Pixel(1, 0), Px(0, 247, 0, 255)) << "2 - 3 stops at 0";

    s.c.ForeColor = Px(5, 6, 7, 255);
    s.c.BackColor = Px(8, 8, 8, 255);
    TmyPainter::ReplaceColorMask(s.c, 0, 1, MaskOf(3, 1, {"LLR"}));
    EXPECT_EQ(s.image.Pixel(0, 1), Px(8, 8, 8, 255)) << "left: the left colour becomes the right one";
    EXPECT_EQ(s.image.Pixel(1, 1), Px(8, 8, 8, 255));
    EXPECT_EQ(s.image.Pixel(2, 1), Px(5, 6, 7, 255)) << "right: the other way round";

    s.c.ForeColor = Px(0, 0, 0, 40);
    TmyPainter::OpacityMask(s.c, 1, 1, MaskOf(2, 1, {"LR"}));
    EXPECT_EQ(s.image.Pixel(1, 1), Px(8, 8, 8, 40));
    EXPECT_EQ(s.image.Pixel(2, 1), Px(5, 6, 7, 40));
}

TEST(TmyPainter, BlurReadsTheStrokeStartCopy)
{
    Stroke s(White(32));
    s.c.CellFilter = nullptr;
    EXPECT_EQ(TmyPainter::BlurMask(s.c, 0, 0, MaskOf(1, 1, {"L"})), QRect()) << "no filter, no change";
    std::vector<std::pair<QPoint, bool>> calls;
    s.c.CellFilter = [&](const TmyImage& source, int x, int y, bool sharpen, bool) {
        EXPECT_EQ(&source, &s.backup);
        calls.push_back({QPoint(x, y), sharpen});
        return Px(x, y, sharpen ? 1 : 0, 255);
    };
    EXPECT_EQ(TmyPainter::BlurMask(s.c, 1, 0, MaskOf(3, 2, {"LR.", "..."})), QRect(1, 0, 2, 1));
    ASSERT_EQ(calls.size(), 2u) << "the cell past the image is not filtered";
    EXPECT_EQ(s.image.Pixel(1, 0), Px(1, 0, 0, 255));
    EXPECT_EQ(s.image.Pixel(2, 0), Px(2, 0, 1, 255));
}

TEST(TmyPainter, BlurAndSharpenUseThePresetKernels)
{
    Stroke s(MakeImage(3, 2, 32, {Px(0, 0, 0, 255), Px(255, 255, 255, 255), Px(0, 0, 0, 255),  //
                                  Px(90, 0, 0, 255), Px(0, 90, 0, 255), Px(0, 0, 90, 255)}));
    s.c.FilterOnAlpha = false;
    TmyPainter::BlurMask(s.c, 0, 0, MaskOf(2, 1, {"LR"}));
    EXPECT_EQ(s.image.Pixel(0, 0), TmyFilter::FilterPixel(0, 0, s.backup, FilterPresets[4], false));
    EXPECT_EQ(s.image.Pixel(1, 0), TmyFilter::FilterPixel(1, 0, s.backup, FilterPresets[8], false));
    EXPECT_NE(s.image.Pixel(0, 0), s.backup.Pixel(0, 0)) << "black next to white is blurred";
    // A second pass in the same stroke reads the stroke-start copy again: no further blur.
    const TmyPixel once = s.image.Pixel(0, 0);
    TmyPainter::BlurMask(s.c, 0, 0, MaskOf(1, 1, {"L"}));
    EXPECT_EQ(s.image.Pixel(0, 0), once);
}

TEST(TmyPainter, StampIntoTheSelection)
{
    TmyImagePal selection(2, 3, 24);
    glimt::TPaintContext c; // no document, no stroke: the selection still takes the stamp
    c.Selection = &selection;
    c.ForeColor = Px(9, 9, 9, 128);
    c.BackColor = Px(7, 7, 7, 200);
    EXPECT_EQ(TmyPainter::StampMaskToSelection(c, 1, 0, MaskOf(3, 1, {"LR."})), QRect(1, 0, 2, 1));
    EXPECT_EQ(selection.Pixel(1, 0), Px(0, 0, 0, 0)) << "24 bits: 128 is transparent";
    EXPECT_EQ(selection.Pixel(2, 0), Px(7, 7, 7, 255));
    c.SmoothEdges = true;
    c.BackColor = Px(0, 0, 0, 0);
    selection.Fill(Px(50, 50, 50, 255));
    TmyPainter::StampMaskToSelection(c, 0, 0, MaskOf(1, 1, {"R"}));
    EXPECT_EQ(selection.Pixel(0, 0), Px(0, 0, 0, 0));
}

TEST(TmyPainter, XorBandsHugTheCellsAndRestore)
{
    QImage canvas(40, 28, QImage::Format_RGB32);
    canvas.fill(0xFF102030u);
    const QImage before = canvas.copy();
    // From cell (5, 5) to (2, 3) at zoom 4: canvas pixels 8..23 by 12..23.
    EXPECT_EQ(TmyPainter::XorRectangle(canvas, 4, 5, 5, 2, 3), QRect(8, 12, 16, 12));
    EXPECT_EQ(canvas.pixel(8, 12), 0xFFEFDFCFu);
    EXPECT_EQ(canvas.pixel(23, 23), 0xFFEFDFCFu);
    EXPECT_EQ(canvas.pixel(24, 23), before.pixel(24, 23));
    EXPECT_EQ(canvas.pixel(12, 16), before.pixel(12, 16)) << "the inside is left alone";
    TmyPainter::XorRectangle(canvas, 4, 5, 5, 2, 3);
    EXPECT_EQ(canvas, before);

    using Band = QRect (*)(QImage&, int, int, int, int, int);
    for (Band band : {&TmyPainter::XorDottedRectangle, &TmyPainter::XorEllipse, &TmyPainter::XorRoundRect,
                      &TmyPainter::XorLine}) {
        const QRect first = band(canvas, 3, 1, 7, 11, 2);
        EXPECT_FALSE(first.isEmpty());
        EXPECT_TRUE(canvas.rect().contains(first));
        EXPECT_NE(canvas, before);
        band(canvas, 3, 1, 7, 11, 2);
        EXPECT_EQ(canvas, before);
    }
    // A line from the centre of cell (1, 1) to the centre of cell (4, 1) at zoom 5: pixels
    // 7..21 of row 7; the end pixel 22 is not drawn.
    EXPECT_EQ(TmyPainter::XorLine(canvas, 5, 1, 1, 4, 1), QRect(7, 7, 15, 1));
    TmyPainter::XorLine(canvas, 5, 1, 1, 4, 1);
    // Bands that run off the canvas are clipped.
    TmyPainter::XorEllipse(canvas, 10, -2, -2, 30, 30);
    TmyPainter::XorEllipse(canvas, 10, -2, -2, 30, 30);
    EXPECT_EQ(canvas, before);
}
