#include "editor/formbrush.h"

#include "editor/BrushMask.h"
#include "editor/MyScroll.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "tests/editor/DeskFakes.h"
#include "tests/editor/ToolEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::Centre;
using glimt::test::Px;
using glimt::test::ToolEditor;

namespace {

// A tool editor whose brush window lives in the document window and is the tool window's
// outline.
struct BrushEditor : ToolEditor {
    TfrmBrush brush{&desk};
    BrushEditor(int w, int h, int zoom) : ToolEditor(w, h, 32, zoom) { glimt::ConnectBrushOutline(tools, brush); }

    QPoint Global(QPoint canvasPixel) const { return desk.Image1->mapToGlobal(canvasPixel); }
    // The brush window's rectangle in canvas pixels.
    QRect OnCanvas() const { return QRect(desk.Image1->mapFrom(&desk, brush.pos()), brush.size()); }
    // The ring's bounding rectangle in canvas pixels.
    QRect RingOnCanvas() const { return brush.WindowRegion().boundingRect().translated(OnCanvas().topLeft()); }
    // A mouse event through the document window, so that Qt finds the widget under it.
    QPoint InWindow(QPoint canvasPixel) const { return desk.Image1->mapTo(&desk, canvasPixel); }
};

TEST(TfrmBrush, OutlineIsAOnePixelRingAroundTheZoomedShape)
{
    struct Row {
        const char* name;
        int shape, size, zoom;
        QRect bounds;             // of the ring, in window pixels
        std::vector<QPoint> ring; // on the ring
        std::vector<QPoint> open; // inside or outside it
    } rows[] = {
        {"size 1 at zoom 8", glimt::kShapeSquare, 1, 8, QRect(0, 0, 10, 10), {{0, 0}, {9, 0}, {0, 9}, {9, 9}, {5, 0}},
         {{1, 1}, {8, 8}, {4, 4}, {10, 10}}},
        {"square 3 at zoom 2", glimt::kShapeSquare, 3, 2, QRect(0, 0, 8, 8), {{0, 3}, {7, 7}}, {{1, 1}, {6, 6}}},
        {"round 3 at zoom 4: the cross", glimt::kShapeRound, 3, 4, QRect(0, 0, 14, 14),
         {{4, 0}, {9, 0}, {0, 4}, {4, 4}, {13, 9}}, {{0, 0}, {2, 2}, {6, 6}, {12, 12}}},
        {"size 7 at zoom 10 fits the picture", glimt::kShapeSquare, 7, 10, QRect(0, 0, 72, 72), {{71, 71}}, {{72, 72}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmBrush brush;
        brush.SetBrushShape(glimt::CreateBrushMask(row.shape, row.size, 0), row.zoom);
        EXPECT_EQ(brush.WindowRegion().boundingRect(), row.bounds);
        for (const QPoint& p : row.ring)
            EXPECT_TRUE(brush.WindowRegion().contains(p)) << p.x() << "," << p.y();
        for (const QPoint& p : row.open)
            EXPECT_FALSE(brush.WindowRegion().contains(p)) << p.x() << "," << p.y();
        EXPECT_EQ(brush.Zoom, row.zoom);
        EXPECT_EQ(brush.HalfWidth, (row.size / 2) * row.zoom);
        EXPECT_EQ(brush.HalfHeight, (row.size / 2) * row.zoom);
    }
    // A right mask (green 0) paints nothing of a left outline: the ring is only drawn for the
    // left brush, as the tool window hands it.
    TfrmBrush brush;
    brush.SetBrushShape(glimt::CreateBrushMask(glimt::kShapeSquare, 3, 1), 5);
    EXPECT_TRUE(brush.WindowRegion().isEmpty());
}

TEST(TfrmBrush, RingSnapsToTheCellUnderTheCursorAtEveryZoom)
{
    struct Row {
        int zoom, size;
        QPoint cell;
        QPoint offset; // inside the cell
    } rows[] = {{2, 3, {5, 4}, {1, 1}}, {5, 3, {10, 7}, {0, 4}}, {10, 1, {3, 2}, {9, 9}}, {10, 5, {6, 6}, {3, 7}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "zoom " << row.zoom << " size " << row.size);
        BrushEditor e(16, 12, row.zoom);
        e.tools.PressToolButton(glimt::toolBrush);
        e.tools.PressSizeKey(row.size);
        EXPECT_TRUE(e.brush.Timer1->isActive());
        e.brush.FollowCursor(e.Global(row.cell * row.zoom + row.offset));
        ASSERT_TRUE(e.brush.isVisible());
        const int half = row.size / 2;
        EXPECT_EQ(e.RingOnCanvas(), QRect((row.cell.x() - half) * row.zoom - 1, (row.cell.y() - half) * row.zoom - 1,
                                          row.size * row.zoom + 2, row.size * row.zoom + 2));
    }
}

TEST(TfrmBrush, FollowsTheScrolledCanvasAndHidesOutsideItsVisiblePart)
{
    BrushEditor e(64, 64, 10); // 640 x 640 canvas in a smaller window
    e.tools.PressToolButton(glimt::toolOpacity);
    e.tools.PressSizeKey(3);
    e.desk.ScrollBox1->horizontalScrollBar()->setValue(95);
    e.desk.ScrollBox1->verticalScrollBar()->setValue(203);
    QCoreApplication::processEvents();
    const QWidget* viewport = e.desk.ScrollBox1->viewport();
    const QPoint visibleOrigin = e.desk.Image1->mapFrom(viewport, QPoint(0, 0));
    ASSERT_GT(visibleOrigin.x(), 0) << "the canvas is scrolled";

    const QPoint cell = (visibleOrigin + QPoint(42, 57)) / 10;
    e.brush.FollowCursor(e.Global(cell * 10 + QPoint(4, 4)));
    ASSERT_TRUE(e.brush.isVisible());
    EXPECT_EQ(e.RingOnCanvas().topLeft(), (cell - QPoint(1, 1)) * 10 - QPoint(1, 1));

    // Canvas pixels scrolled out of view (left and below) and the first visible column count
    // as outside.
    for (const QPoint outside : {visibleOrigin - QPoint(5, -20), visibleOrigin + QPoint(20, viewport->height() + 5),
                                 visibleOrigin + QPoint(0, 20)}) {
        e.brush.FollowCursor(e.Global(cell * 10));
        ASSERT_TRUE(e.brush.isVisible());
        e.brush.FollowCursor(e.Global(outside));
        EXPECT_FALSE(e.brush.isVisible()) << outside.x() << "," << outside.y();
    }
    e.brush.FollowCursor(e.Global(visibleOrigin + QPoint(1, 1)));
    EXPECT_TRUE(e.brush.isVisible()) << "the second column is inside";
}

TEST(TfrmBrush, OnlyTheFiveMaskToolsShowItAndZoomOneShowsNothing)
{
    BrushEditor e(8, 6, 4);
    const QPoint over = e.Global(Centre(3, 3, 4));
    for (const std::uint8_t tool : {glimt::toolColorEraser, glimt::toolBrush, glimt::toolOpacity, glimt::toolBrighten,
                                    glimt::toolBlur}) {
        SCOPED_TRACE(int(tool));
        e.tools.PressToolButton(glimt::toolPencil);
        EXPECT_FALSE(e.brush.Timer1->isActive());
        EXPECT_FALSE(e.brush.isVisible());
        e.tools.PressToolButton(tool);
        EXPECT_TRUE(e.brush.Timer1->isActive());
        e.brush.FollowCursor(over);
        EXPECT_TRUE(e.brush.isVisible());
    }
    EXPECT_EQ(e.brush.Timer1->interval(), 200);

    // The Line tool has a size panel but no outline: changing its size leaves the outline off,
    // and the next mask tool shows the size chosen meanwhile.
    e.tools.PressToolButton(glimt::toolLine);
    e.tools.PressSizeKey(5);
    EXPECT_FALSE(e.brush.Timer1->isActive());
    EXPECT_FALSE(e.brush.isVisible());
    e.tools.PressToolButton(glimt::toolBrush);
    EXPECT_EQ(e.brush.HalfWidth, 2 * 4);

    // At zoom 1 the ring is empty and the window never shows.
    e.desk.cmbZoom->setCurrentIndex(0);
    emit e.desk.cmbZoom->activated(0);
    EXPECT_EQ(e.desk.Zoom, 1);
    EXPECT_TRUE(e.brush.WindowRegion().isEmpty());
    e.brush.FollowCursor(e.Global(QPoint(3, 3)));
    EXPECT_FALSE(e.brush.isVisible());
}

TEST(TfrmBrush, TimerPlacesItAtTheCursorAndClosingTheDocumentHidesIt)
{
    BrushEditor e(8, 6, 6);
    e.tools.PressToolButton(glimt::toolBrush);
    QCursor::setPos(e.Global(Centre(4, 2, 6)));
    if (QCursor::pos() != e.Global(Centre(4, 2, 6)))
        GTEST_SKIP() << "this platform does not move the cursor";
    e.brush.Timer1Timer();
    ASSERT_TRUE(e.brush.isVisible());
    EXPECT_EQ(e.RingOnCanvas().topLeft(), QPoint(4 * 6 - 1, 2 * 6 - 1));

    // The canvas's own mouse moves place it at once; the scroll box beside the canvas is
    // outside.
    QTest::mouseMove(e.desk.Image1, Centre(1, 5, 6));
    EXPECT_EQ(e.RingOnCanvas().topLeft(), QPoint(1 * 6 - 1, 5 * 6 - 1));
    e.brush.FollowCursor(e.Global(QPoint(-3, 10)));
    EXPECT_FALSE(e.brush.isVisible());
    e.brush.FollowCursor(e.Global(Centre(1, 5, 6)));

    e.desk.FormCloseQuery();
    EXPECT_FALSE(e.brush.isVisible());
    e.host.Active = nullptr;
    e.brush.Timer1Timer(); // no document: nothing to follow, nothing shown
    EXPECT_FALSE(e.brush.isVisible());
}

TEST(TfrmBrush, PressAndReleaseOnTheRingAreTheCanvassOwnEvents)
{
    glimt::test::FakeHost host;
    glimt::test::FakeTools tools;
    glimt::SetEditorHost(&host);
    glimt::SetToolEngine(&tools);
    TfrmDesk desk;
    host.Active = &desk;
    host.Slot = 1;
    tools.Desk = &desk;
    tools.Tool = glimt::toolBrush;
    desk.Icon->AddImage(6, 8, 32);
    glimt::test::ShowDocument(desk, 8, QSize(300, 200));
    TfrmBrush brush(&desk);
    const QImage mask = glimt::CreateBrushMask(glimt::kShapeSquare, 3, 0);
    brush.ShowOutline(&mask, 8);

    // The outline around cells 1..3 of row 1..3; its left edge is canvas column 7.
    const QPoint ring(7, 20);
    brush.FollowCursor(desk.Image1->mapToGlobal(Centre(2, 2, 8)));
    ASSERT_TRUE(brush.isVisible());
    ASSERT_TRUE(brush.WindowRegion().contains(brush.mapFromGlobal(desk.Image1->mapToGlobal(ring))));
    EXPECT_EQ(desk.childAt(desk.Image1->mapTo(&desk, ring)), desk.Image1);

    QWindow* window = desk.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, desk.Image1->mapTo(&desk, ring));
    QTest::mouseMove(window, desk.Image1->mapTo(&desk, ring + QPoint(0, 1)));
    QTest::mouseRelease(window, Qt::LeftButton, {}, desk.Image1->mapTo(&desk, ring + QPoint(0, 1)));
    // Qt moves the mouse to the press position first: press, move and release follow it.
    ASSERT_GE(tools.Events.size(), 3u);
    const auto* last = &tools.Events.back();
    const auto* press = last - 2;
    EXPECT_EQ(press->code, glimt::kCodePress);
    EXPECT_EQ(QPoint(press->x, press->y), ring);
    EXPECT_EQ(press[1].code, glimt::kCodeMove);
    EXPECT_EQ(last->code, glimt::kCodeRelease) << "a release on the ring is a normal release";
    EXPECT_EQ(QPoint(last->x, last->y), ring + QPoint(0, 1));
    EXPECT_FALSE(desk.InStroke);
    EXPECT_EQ(desk.Undo->Position, 1);

    glimt::SetToolEngine(nullptr);
    glimt::SetEditorHost(nullptr);
}

TEST(TfrmBrush, PressingOnTheRingPaintsAsAPressOnTheCanvas)
{
    BrushEditor e(8, 6, 8);
    e.tools.ForeColor = Px(0, 0, 255, 255);
    e.tools.PressToolButton(glimt::toolBrush);
    e.tools.PressSizeKey(1);
    e.brush.FollowCursor(e.Global(Centre(3, 3, 8)));
    ASSERT_TRUE(e.brush.isVisible());
    // The ring lies one pixel outside the cell: its right edge, canvas column 32, is in cell 4.
    const QPoint onRing(32, 3 * 8 + 4);
    ASSERT_TRUE(e.RingOnCanvas().contains(onRing));
    QWindow* window = e.desk.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, e.InWindow(onRing));
    QTest::mouseRelease(window, Qt::LeftButton, {}, e.InWindow(onRing));
    const TmyImagePal& image = *e.desk.CurrentImage();
    EXPECT_EQ(image.Pixel(4, 3), Px(0, 0, 255, 255));
    EXPECT_EQ(image.Pixel(3, 3), Px(255, 255, 255, 255));
    EXPECT_FALSE(e.desk.InStroke);
}

} // namespace
