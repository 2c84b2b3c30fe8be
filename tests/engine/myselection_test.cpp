#include "engine/myselection.h"

#include "engine/Settings.h"

#include <gtest/gtest.h>

namespace {

TmyPixel Px(int r, int g, int b, int a)
{
    return TmyPixel::CreateRGBA(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), std::uint8_t(a));
}

// A 5 x 4 image whose pixel (x, y) is (10x, 10y, 7, 255).
TmyImagePal Numbered(int depth = 32)
{
    TmyImagePal image(4, 5, depth);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            image.Pixel(x, y) = Px(10 * x, 10 * y, 7, 255);
    return image;
}

struct SelectionOptions {
    bool saved = Options().TransparentSelection;
    explicit SelectionOptions(bool transparent) { Options().TransparentSelection = transparent; }
    ~SelectionOptions() { Options().TransparentSelection = saved; }
};

} // namespace

TEST(Tmyselection, StartsEmptyAtThirtyTwoBits)
{
    const tmyselection s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.InFront);
    EXPECT_EQ(s.Image.BitDepth, 32) << "so that a paste into it keeps alpha";
    EXPECT_FALSE(s.Image.Palette);
    EXPECT_EQ(s.OriginalImage.BitDepth, 32);
    EXPECT_EQ(s.GetWidth(), 1);
}

TEST(Tmyselection, GrabCutsTheRectangleToTheImage)
{
    struct Row {
        const char* name;
        TSelectionRect bounds;
        bool grabbed;
        TSelectionRect kept;
    };
    const Row rows[] = {
        {"inside, 3 x 2", {1, 2, 4, 4}, true, {1, 2, 4, 4}},
        {"corners reversed", {4, 4, 1, 2}, true, {1, 2, 4, 4}},
        {"over the top-left edge", {-2, -1, 2, 1}, true, {0, 0, 2, 1}},
        {"over the bottom-right edge", {3, 2, 9, 9}, true, {3, 2, 5, 4}},
        {"outside", {6, 0, 9, 3}, false, {6, 0, 9, 3}},
        {"empty", {2, 2, 2, 3}, false, {2, 2, 2, 3}},
    };
    const TmyImagePal image = Numbered(8);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        tmyselection s;
        s.Image.Fill(Px(1, 2, 3, 4));
        const TmyImagePal before = s.Image;
        s.Bounds = row.bounds;
        EXPECT_EQ(s.GrabFrom(image), row.grabbed);
        EXPECT_EQ(s.Bounds, row.kept);
        if (!row.grabbed) {
            EXPECT_TRUE(s.Image.SamePixels(before));
            continue;
        }
        const int w = row.kept.Right - row.kept.Left;
        const int h = row.kept.Bottom - row.kept.Top;
        ASSERT_EQ(s.Image.Width(), w);
        ASSERT_EQ(s.Image.Height(), h);
        EXPECT_EQ(s.Image.BitDepth, 32);
        EXPECT_FALSE(s.Image.Palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(s.Image.Pixel(x, y), image.Pixel(row.kept.Left + x, row.kept.Top + y));
        EXPECT_TRUE(s.OriginalImage.SamePixels(s.Image));
    }
}

TEST(Tmyselection, StampInFrontWithoutTransparency)
{
    SelectionOptions opaque(false);
    tmyselection s;
    s.Image.SetSize(1, 3);
    s.Image.Pixel(0, 0) = Px(10, 20, 30, 128);
    s.Image.Pixel(1, 0) = Px(10, 20, 30, 129);
    s.Image.Pixel(2, 0) = Px(10, 20, 30, 0);

    TmyImagePal eight = Numbered(8);
    s.StampInto(1, 1, eight);
    EXPECT_EQ(eight.Pixel(1, 1), Px(0, 0, 0, 0)) << "A = 128 counts as transparent below 32 bits";
    EXPECT_EQ(eight.Pixel(2, 1), Px(10, 20, 30, 255));
    EXPECT_EQ(eight.Pixel(3, 1), Px(0, 0, 0, 0)) << "transparent pixels replace the image's too";
    EXPECT_EQ(eight.Pixel(0, 1), Px(0, 10, 7, 255));

    TmyImagePal full = Numbered(32);
    s.StampInto(1, 1, full);
    EXPECT_EQ(full.Pixel(1, 1), Px(10, 20, 30, 128)) << "32 bits keep the alpha";
}

TEST(Tmyselection, StampCompositesAndLeavesTheSelectionAlone)
{
    SelectionOptions transparent(true);
    tmyselection s;
    s.Image.SetSize(2, 3);
    s.Image.Fill(Px(255, 0, 0, 128));
    s.Image.Pixel(2, 1) = Px(0, 0, 0, 0);
    const TmyImagePal before = s.Image;

    TmyImagePal target(2, 3, 32);
    target.Fill(Px(0, 0, 255, 255));
    target.Pixel(0, 0) = Px(0, 0, 0, 0);
    for (int drag = 0; drag < 3; ++drag) {
        TmyImagePal copy = target;
        s.StampInto(0, 0, copy);
        EXPECT_EQ(copy.Pixel(1, 0), Px(128, 0, 127, 255)) << drag;
        EXPECT_EQ(copy.Pixel(0, 0), Px(255, 0, 0, 128)) << "over nothing the selection stays as it is";
        EXPECT_EQ(copy.Pixel(2, 1), Px(0, 0, 255, 255));
        ASSERT_TRUE(s.Image.SamePixels(before)) << "stamping must not change the selection, drag " << drag;
    }

    s.InFront = false;
    TmyImagePal behind = target;
    s.StampInto(0, 0, behind);
    EXPECT_EQ(behind.Pixel(0, 0), Px(255, 0, 0, 128)) << "the selection shows where the image is transparent";
    EXPECT_EQ(behind.Pixel(1, 0), Px(0, 0, 255, 255));
    EXPECT_TRUE(s.Image.SamePixels(before));
}

TEST(Tmyselection, StampClipsToTheImage)
{
    SelectionOptions opaque(false);
    tmyselection s;
    s.Image.SetSize(3, 3);
    s.Image.Fill(Px(9, 9, 9, 255));
    TmyImagePal target = Numbered();
    s.StampInto(-2, -2, target);
    EXPECT_EQ(target.Pixel(0, 0), Px(9, 9, 9, 255));
    EXPECT_EQ(target.Pixel(1, 0), Px(10, 0, 7, 255));
    EXPECT_EQ(target.Pixel(0, 1), Px(0, 10, 7, 255));
    s.StampInto(4, 3, target);
    EXPECT_EQ(target.Pixel(4, 3), Px(9, 9, 9, 255));
    EXPECT_EQ(target.Pixel(3, 3), Px(30, 30, 7, 255));
}

TEST(Tmyselection, ResizeAlwaysStartsFromTheLiftedPixels)
{
    tmyselection s;
    s.Bounds = {0, 0, 5, 3};
    ASSERT_TRUE(s.GrabFrom(Numbered()));
    s.ResizeTo(32, 32);
    const TmyImagePal first = s.Image;
    EXPECT_EQ(first.Width(), 32);
    s.ResizeTo(8, 8);
    s.ResizeTo(32, 32);
    EXPECT_TRUE(s.Image.SamePixels(first));
    EXPECT_EQ(s.GetWidth(), 5);
    EXPECT_EQ(s.GetHeight(), 3);
}
