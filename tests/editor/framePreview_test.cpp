#include "editor/framePreview.h"

#include "editor/MyScroll.h"
#include "engine/Settings.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A shown preview whose box measures 100 x 80 with a picture of `width` x `height`.
struct PreviewFixture {
    Tpreview preview;
    PreviewFixture(int width, int height)
    {
        preview.resize(100 + 2 * preview.frameWidth(), 80 + 2 * preview.frameWidth());
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        TmyImagePal image(height, width, 32);
        image.Fill(TmyPixel::CreateRGBA(10, 20, 30, 255));
        preview.Render(image, 0xFFFFFF);
    }
    QScrollBar* h() const { return preview.ScrollBox1->horizontalScrollBar(); }
    QScrollBar* v() const { return preview.ScrollBox1->verticalScrollBar(); }
    QSize box() const { return preview.ScrollBox1->viewport()->size(); }
};

} // namespace

TEST(Tpreview, SmallPicturesSitCentredAndLargeOnesStartTopLeftWithTheHand)
{
    {
        PreviewFixture f(21, 10);
        EXPECT_EQ(f.preview.Image1->size(), QSize(21, 10));
        EXPECT_EQ(f.preview.Image1->pos(), QPoint((f.box().width() - 21) / 2, (f.box().height() - 10) / 2));
        EXPECT_EQ(f.h()->maximum(), 0);
        f.preview.Image1MouseMove(QPoint(1, 1));
        EXPECT_FALSE(f.preview.Image1->testAttribute(Qt::WA_SetCursor));
    }
    {
        // Wider than the box only: centred across, at the top.
        PreviewFixture f(300, 20);
        EXPECT_EQ(f.preview.Image1->pos(), QPoint(0, (f.box().height() - 20) / 2));
        EXPECT_EQ(f.h()->maximum(), 300 - f.box().width());
        f.preview.Image1MouseMove(QPoint(1, 1));
        EXPECT_EQ(f.preview.Image1->cursor().shape(), Qt::OpenHandCursor);
    }
}

TEST(Tpreview, DraggingWithTheLeftButtonPansAndThePictureFollowsTheHand)
{
    PreviewFixture f(300, 200);
    f.h()->setValue(30);
    f.v()->setValue(40);
    EXPECT_EQ(f.preview.Image1->pos(), QPoint(-30, -40));

    // Real mouse events on the picture; positions are taken on the screen, since the picture
    // moves under the cursor.
    QWidget* image = f.preview.Image1;
    const QPoint start = image->mapToGlobal(QPoint(50, 50));
    QTest::mousePress(image, Qt::LeftButton, {}, image->mapFromGlobal(start));
    QTest::mouseMove(image, image->mapFromGlobal(start + QPoint(10, 0)));
    EXPECT_EQ(f.h()->value(), 20);
    EXPECT_EQ(f.v()->value(), 40);
    QTest::mouseMove(image, image->mapFromGlobal(start + QPoint(10, -15)));
    EXPECT_EQ(f.v()->value(), 55);
    EXPECT_EQ(f.preview.Image1->pos(), QPoint(-20, -55));
    QTest::mouseRelease(image, Qt::LeftButton, {}, image->mapFromGlobal(start + QPoint(10, -15)));
    EXPECT_FALSE(f.preview.Dragging);

    // Without the left button nothing pans; the scroll bars stop at their ends.
    f.preview.Image1MouseDown(Qt::RightButton, QPoint(0, 0));
    f.preview.Image1MouseMove(QPoint(-500, 0));
    EXPECT_EQ(f.h()->value(), 20);
    f.preview.Image1MouseDown(Qt::LeftButton, QPoint(0, 0));
    f.preview.Image1MouseMove(QPoint(-500, 500));
    EXPECT_EQ(f.h()->value(), f.h()->maximum());
    EXPECT_EQ(f.v()->value(), 0);
}

TEST(Tpreview, RendersOverTheBackgroundAndDrawsSinglePixels)
{
    PreviewFixture f(3, 2);
    TmyImagePal image(2, 3, 32);
    image.Pixel(1, 0) = TmyPixel::CreateRGBA(200, 0, 0, 255);
    f.preview.Render(image, 0x00FF00); // green
    const QImage& pic = f.preview.Image1->Picture;
    EXPECT_EQ(pic.size(), QSize(3, 2));
    EXPECT_EQ(pic.pixelColor(0, 1), QColor(0, 255, 0));
    EXPECT_EQ(pic.pixelColor(1, 0), QColor(199, 0, 0));

    const TColor saved = Options().PrevColor;
    Options().PrevColor = 0x0000FF; // red
    f.preview.DrawPixel(2, 1, true, TmyPixel::CreateRGBA(0, 0, 0, 0));
    f.preview.DrawPixel(0, 0, false, TmyPixel::CreateRGBA(1, 2, 3, 255));
    f.preview.DrawPixel(3, 0, false, TmyPixel::CreateRGBA(1, 2, 3, 255)); // outside: ignored
    Options().PrevColor = saved;
    EXPECT_EQ(pic.pixelColor(2, 1), QColor(255, 0, 0));
    EXPECT_EQ(pic.pixelColor(0, 0), QColor(1, 2, 3));
}
