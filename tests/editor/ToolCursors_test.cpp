#include "editor/ToolCursors.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

TEST(ToolCursors, TheTwentyCursorsLoadFromTheResourcesUnderTheirNumbers)
{
    ASSERT_NE(qApp, nullptr);
    // Before loading (or for numbers outside the table) a standard shape stands in.
    if (!glimt::ToolCursorsLoaded()) {
        EXPECT_EQ(glimt::ScreenCursor(12).shape(), Qt::IBeamCursor);
    }
    EXPECT_EQ(glimt::ScreenCursor(4).shape(), Qt::ArrowCursor);
    EXPECT_EQ(glimt::ScreenCursor(200).shape(), Qt::ArrowCursor);

    glimt::LoadToolCursors();
    for (std::uint8_t index = 5; index <= 24; ++index) {
        SCOPED_TRACE(index);
        const QCursor c = glimt::ScreenCursor(index);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.pixmap().deviceIndependentSize(), QSizeF(32, 32));
        EXPECT_TRUE(QRect(0, 0, 32, 32).contains(c.hotSpot()));
    }
    EXPECT_EQ(glimt::ScreenCursor(6).hotSpot(), QPoint(0, 31)); // the pencil's tip
}

TEST(ToolCursors, DenseScreensGetTheDrawingInBlocksOfWholePixels)
{
    for (std::uint8_t index = 5; index <= 24; ++index) {
        SCOPED_TRACE(index);
        const QImage plain = glimt::ToolCursorPicture(index, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(plain.size(), QSize(32, 32));
        for (const qreal dpr : {1.5, 2.0}) {
            SCOPED_TRACE(dpr);
            const QPixmap dense = glimt::ToolCursorPicture(index, dpr);
            EXPECT_EQ(dense.size(), QSize(32, 32) * dpr);
            EXPECT_EQ(dense.devicePixelRatio(), dpr);
            // Every screen pixel is a pixel of the drawing, never a blend of two.
            const QImage image = dense.toImage().convertToFormat(QImage::Format_ARGB32);
            int blends = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    blends += image.pixel(x, y) != plain.pixel(std::min(31, int(x / dpr)), std::min(31, int(y / dpr)));
            EXPECT_EQ(blends, 0);
        }
    }
    EXPECT_TRUE(glimt::ToolCursorPicture(4, 2.0).isNull());
}

TEST(ToolCursors, EveryToolHasItsCursorNumber)
{
    struct Row {
        std::uint8_t tool, cursor;
    };
    const Row rows[] = {{1, 13}, {2, 14}, {3, 12}, {4, 8},  {5, 10},  {6, 11},  {7, 9},   {8, 6},  {9, 15}, {10, 16},
                        {11, 17}, {12, 18}, {13, 7}, {14, 5}, {15, 19}, {16, 22}, {17, 20}, {18, 21}, {0, 0}, {19, 0}};
    for (const Row& row : rows)
        EXPECT_EQ(glimt::ToolCursorIndex(row.tool), row.cursor) << int(row.tool);
}
