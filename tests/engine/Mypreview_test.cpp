#include "engine/Mypreview.h"

#include "tests/support/PixelFixtures.h"

#include <QImage>
#include <gtest/gtest.h>

using glimt::test::MakeImage;
using glimt::test::Px;

namespace {

// The colour at (x, y) as 0xRRGGBB.
QRgb At(const QImage& picture, int x, int y)
{
    return picture.pixel(x, y) & 0xFFFFFF;
}

QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b) & 0xFFFFFF;
}

// The 3 x 2 fixture: opaque white, coloured transparent, half black / opaque colour, opaque
// black, a faint blue.
TmyImagePal Fixture(int depth)
{
    return MakeImage(3, 2, depth,
        {Px(255, 255, 255, 255), Px(9, 9, 9, 0), Px(0, 0, 0, 128),
         Px(100, 150, 200, 255), Px(0, 0, 0, 255), Px(0, 0, 255, 1)});
}

} // namespace

TEST(TmyPreview, RenderToImage32BitBlendsOverTheBackground)
{
    QImage picture;
    TmyPreview::RenderToImage(Fixture(32), picture, 0x102030); // R 0x30, G 0x20, B 0x10
    ASSERT_EQ(picture.width(), 3);
    ASSERT_EQ(picture.height(), 2);
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(At(picture, 0, 0), Rgb(254, 254, 254)) << "opaque white shows as 254";
    EXPECT_EQ(At(picture, 1, 0), Rgb(0x30, 0x20, 0x10)) << "transparent: the background";
    EXPECT_EQ(At(picture, 2, 0), Rgb(23, 15, 7));
    EXPECT_EQ(At(picture, 0, 1), Rgb(99, 149, 199));
    EXPECT_EQ(At(picture, 1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(At(picture, 2, 1), Rgb(47, 31, 16));
}

TEST(TmyPreview, RenderToImageBelow32BitsIgnoresAlpha)
{
    QImage picture(10, 10, QImage::Format_ARGB32);
    TmyPreview::RenderToImage(Fixture(24), picture, 0x102030);
    ASSERT_EQ(picture.size(), QSize(3, 2));
    EXPECT_EQ(At(picture, 0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(At(picture, 1, 0), Rgb(0x30, 0x20, 0x10));
    EXPECT_EQ(At(picture, 2, 0), Rgb(0, 0, 0));
    EXPECT_EQ(At(picture, 0, 1), Rgb(100, 150, 200));
    EXPECT_EQ(At(picture, 2, 1), Rgb(0, 0, 255));
}

TEST(TmyPreview, SinglePixels)
{
    glimt::test::ScopedOptions keep;
    Options().PrevColor = 0x0000FF; // red
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.fill(Qt::black);

    TmyPreview::PreviewPixel(0, 0, picture, true, Px(0, 0, 0, 128));
    EXPECT_EQ(At(picture, 0, 0), Rgb(126, 0, 0));
    TmyPreview::PreviewPixel(1, 0, picture, true, Px(9, 9, 9, 0));
    EXPECT_EQ(At(picture, 1, 0), Rgb(255, 0, 0));
    TmyPreview::PreviewPixel(2, 0, picture, false, Px(0, 0, 0, 128));
    EXPECT_EQ(At(picture, 2, 0), Rgb(0, 0, 0));
    TmyPreview::PreviewPixel(0, 1, picture, false, Px(9, 9, 9, 0));
    EXPECT_EQ(At(picture, 0, 1), Rgb(255, 0, 0));
    TmyPreview::PreviewPixel(3, 0, picture, true, Px(9, 9, 9, 255)); // outside: ignored
    TmyPreview::PreviewPixel(0, -1, picture, false, Px(9, 9, 9, 255));
}

TEST(RenderOverCheckerboard, ZoomedWithTheBoardInPicturePixels)
{
    glimt::test::ScopedOptions keep;
    Options().BKSize = 2;
    Options().Color1 = 0xFFFFFF;
    Options().Color2 = 0x808080;
    const TmyImagePal image = MakeImage(3, 2, 32,
        {Px(0, 0, 0, 0), Px(10, 20, 30, 255), Px(200, 0, 0, 128),
         Px(0, 0, 0, 0), Px(0, 0, 0, 0), Px(0, 0, 0, 0)});
    QImage picture;
    glimt::RenderOverCheckerboard(image, picture, 2);
    ASSERT_EQ(picture.size(), QSize(6, 4));
    EXPECT_EQ(At(picture, 0, 0), Rgb(127, 127, 127)) << "transparent shows the board one step darker";
    EXPECT_EQ(At(picture, 1, 1), Rgb(127, 127, 127));
    EXPECT_EQ(At(picture, 2, 0), Rgb(10, 20, 30));
    EXPECT_EQ(At(picture, 3, 1), Rgb(10, 20, 30));
    EXPECT_EQ(At(picture, 4, 0), Rgb(163, 63, 63));
    EXPECT_EQ(At(picture, 0, 2), Rgb(254, 254, 254));
    EXPECT_EQ(At(picture, 2, 2), Rgb(127, 127, 127));

    TmyImagePal solid = image;
    solid.BitDepth = 24;
    glimt::RenderOverCheckerboard(solid, picture, 2);
    EXPECT_EQ(At(picture, 0, 0), Rgb(128, 128, 128)) << "below 32 bits the board shows exactly";
    EXPECT_EQ(At(picture, 0, 2), Rgb(255, 255, 255));
    EXPECT_EQ(At(picture, 4, 0), Rgb(200, 0, 0));
}
