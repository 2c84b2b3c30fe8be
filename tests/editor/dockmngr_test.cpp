#include "editor/dockmngr.h"

#include <gtest/gtest.h>

namespace {

TDockRect Rect(int left, int top, int width, int height)
{
    TDockRect r;
    r.SetBounds(QRect(left, top, width, height));
    return r;
}

// A manager with a 600 x 400 work area at (0, 50) in slot 1.
struct Dock {
    TDockMngr mngr;
    TDockRect work;
    Dock()
    {
        work.SetMirroredBounds(QRect(0, 50, 600, 400));
        mngr.RegisterWindow(TDockMngr::SlotWorkArea, &work);
    }
};

} // namespace

TEST(TDockRect, WorkAreaIsStoredMirrored)
{
    TDockRect r;
    r.SetMirroredBounds(QRect(10, 20, 300, 200));
    EXPECT_EQ(r.Left, 310);
    EXPECT_EQ(r.Top, 220);
    EXPECT_EQ(r.Right, 10);
    EXPECT_EQ(r.Bottom, 20);
}

TEST(TDockMngr, EdgesSnapWithinNinePixelsWhenTheWindowsOverlap)
{
    struct Row {
        const char* name;
        QRect moved;
        bool glued;
    };
    // The fixed window spans x 100..200, y 100..150 (bottom edge 150).
    const Row rows[] = {
        {"9 below, overlapping", QRect(150, 159, 40, 30), true},
        {"9 above (overlapping it)", QRect(150, 141, 40, 30), true},
        {"10 below", QRect(150, 160, 40, 30), false},
        {"corner only, no horizontal overlap", QRect(200, 155, 40, 30), false},
        {"one pixel of overlap", QRect(199, 155, 40, 30), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Dock d;
        TDockRect fixed = Rect(100, 100, 100, 50);
        TDockRect moved;
        moved.SetBounds(row.moved);
        d.mngr.RegisterWindow(TDockMngr::SlotColors, &fixed);
        d.mngr.RegisterWindow(TDockMngr::SlotTools, &moved);
        d.mngr.SnapWindow(TDockMngr::SlotTools);
        EXPECT_EQ(moved.TopTo, row.glued ? &fixed.Bottom : nullptr);
        EXPECT_EQ(moved.LeftTo, nullptr);
        EXPECT_EQ(moved.RightTo, nullptr);
        EXPECT_EQ(moved.BottomTo, nullptr);
        const QPoint p = d.mngr.PlaceWindow(TDockMngr::SlotTools, row.moved);
        EXPECT_EQ(p, row.glued ? QPoint(row.moved.x(), 150) : row.moved.topLeft());
    }
}

TEST(TDockMngr, TheWorkAreaGluesItsInnerEdgesWithoutOverlapAndWinsOverOtherWindows)
{
    Dock d;
    // Near both the work area's top (50) and another window's bottom (52), overlapping that
    // window: the work area is visited first.
    TDockRect other = Rect(300, 2, 100, 50);
    TDockRect moved = Rect(305, 54, 60, 100);
    d.mngr.RegisterWindow(TDockMngr::SlotPreview, &other);
    d.mngr.RegisterWindow(TDockMngr::SlotTools, &moved);
    d.mngr.SnapWindow(TDockMngr::SlotTools);
    EXPECT_EQ(moved.TopTo, &d.work.Bottom);

    // Near the inner left edge anywhere vertically, and near the inner bottom and right edges.
    TDockRect left = Rect(7, 300, 60, 40);
    TDockRect corner = Rect(600 - 60 + 5, 450 - 40 - 3, 60, 40);
    d.mngr.RegisterWindow(TDockMngr::SlotColors, &left);
    d.mngr.RegisterWindow(TDockMngr::SlotExplorer, &corner);
    d.mngr.SnapWindow(TDockMngr::SlotColors);
    d.mngr.SnapWindow(TDockMngr::SlotExplorer);
    EXPECT_EQ(left.LeftTo, &d.work.Right);
    EXPECT_EQ(left.TopTo, nullptr);
    EXPECT_EQ(corner.RightTo, &d.work.Left);
    EXPECT_EQ(corner.BottomTo, &d.work.Top);
    EXPECT_EQ(d.mngr.PlaceWindow(TDockMngr::SlotExplorer, QRect(545, 407, 60, 40)), QPoint(540, 410));

    // The glued edges follow the work area when it changes.
    d.work.SetMirroredBounds(QRect(0, 50, 800, 500));
    EXPECT_EQ(d.mngr.PlaceWindow(TDockMngr::SlotExplorer, QRect(540, 410, 60, 40)), QPoint(740, 510));
    EXPECT_EQ(d.mngr.PlaceWindow(TDockMngr::SlotColors, QRect(7, 300, 60, 40)), QPoint(0, 300));
}

TEST(TDockMngr, SnappingResetsOldGluesAndEmptyOrInvalidSlotsDoNothing)
{
    Dock d;
    TDockRect moved = Rect(3, 55, 60, 100);
    d.mngr.RegisterWindow(TDockMngr::SlotTools, &moved);
    d.mngr.SnapWindow(TDockMngr::SlotTools);
    EXPECT_EQ(moved.LeftTo, &d.work.Right);
    EXPECT_EQ(moved.TopTo, &d.work.Bottom);
    moved = Rect(200, 200, 60, 100);
    d.mngr.SnapWindow(TDockMngr::SlotTools);
    EXPECT_EQ(moved.LeftTo, nullptr);
    EXPECT_EQ(moved.TopTo, nullptr);

    d.mngr.UnregisterWindow(TDockMngr::SlotTools);
    EXPECT_EQ(d.mngr.Window(TDockMngr::SlotTools), nullptr);
    d.mngr.SnapWindow(TDockMngr::SlotTools);
    EXPECT_EQ(d.mngr.PlaceWindow(TDockMngr::SlotTools, QRect(1, 2, 3, 4)), QPoint(1, 2));
    for (std::uint8_t bad : {std::uint8_t(0), std::uint8_t(6), std::uint8_t(255)}) {
        d.mngr.RegisterWindow(bad, &moved);
        EXPECT_EQ(d.mngr.Window(bad), nullptr);
        d.mngr.SnapWindow(bad);
        d.mngr.UnregisterWindow(bad);
    }
}

TEST(TDockMngr, DockedWidthsFollowTheWidestChainFromEachInnerEdge)
{
    Dock d;
    TDockRect a = Rect(0, 60, 60, 100);  // glued to the left edge, 60 wide
    TDockRect b = Rect(0, 200, 80, 100); // glued to the left edge, 80 wide
    TDockRect c = Rect(80, 200, 50, 80); // glued to b's right edge
    TDockRect r = Rect(570, 60, 30, 80); // glued to the right edge
    d.mngr.RegisterWindow(2, &a);
    d.mngr.RegisterWindow(3, &b);
    d.mngr.RegisterWindow(4, &c);
    d.mngr.RegisterWindow(5, &r);
    for (std::uint8_t s = 2; s <= 5; ++s)
        d.mngr.SnapWindow(s);
    ASSERT_EQ(c.LeftTo, &b.Right);
    EXPECT_EQ(d.mngr.DockedWidthLeft(), 130);
    EXPECT_EQ(d.mngr.DockedWidthRight(), 30);
    EXPECT_EQ(d.mngr.DockedWidth(), 160);

    // Without the work area there is nothing to measure from.
    TDockMngr empty;
    EXPECT_EQ(empty.DockedWidthLeft(), 0);
    EXPECT_EQ(empty.DockedWidth(), 0);
}
