#include "engine/MyIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Marks an image so that tests can tell slots apart after content moves.
void Mark(TmyImagePal& img, std::uint8_t tag)
{
    img.Pixel(0, 0) = TmyPixel::CreateRGBA(tag, 0, 0, 255);
}

std::uint8_t TagOf(const TmyImagePal& img)
{
    return img.Pixel(0, 0).R;
}

} // namespace

TEST(TmyPixel, ColorMappingAndAlphaRules)
{
    const TmyPixel p = TmyPixel::CreateColor(0xFF123456);
    EXPECT_EQ(p.R, 0x56);
    EXPECT_EQ(p.G, 0x34);
    EXPECT_EQ(p.B, 0x12);
    EXPECT_EQ(p.A, 0) << "a pixel made from a colour value is transparent";
    TmyPixel q = TmyPixel::CreateRGBA(1, 2, 3, 77);
    q.SetColor(0x0000FF);
    EXPECT_EQ(q.A, 77) << "SetColor keeps alpha";
    EXPECT_EQ(q.GetColor(), 0x0000FFu);
    EXPECT_EQ(TmyPixel::CreateRGBA(9, 8, 7, 0).GetColor(), 0x070809u);
    EXPECT_TRUE(q.SameRGB(TmyPixel::CreateRGBA(255, 0, 0, 1)));
    EXPECT_FALSE(q.Equals(TmyPixel::CreateRGBA(255, 0, 0, 1)));
}

TEST(TmyImagePal, NewImagesAndZoom)
{
    TmyImagePal one(32, 32, 1);
    ASSERT_TRUE(one.Palette.has_value());
    EXPECT_EQ(one.Palette->Count(), 2);
    EXPECT_EQ(one.Palette->Colors[1], TmyPixel::CreateRGBA(255, 255, 255, 255));
    EXPECT_EQ(one.Pixel(31, 31), TmyPixel{});
    EXPECT_EQ(one.Zoom, 10);
    EXPECT_FALSE(TmyImagePal(16, 16, 24).Palette.has_value());

    struct Row { int h, w, zoom; } rows[] = {{16, 16, 10}, {48, 48, 10}, {64, 64, 8}, {128, 128, 4}, {256, 256, 2}, {2, 300, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << "x" << r.h);
        EXPECT_EQ(TmyImagePal(r.h, r.w, 32).Zoom, r.zoom);
    }
}

TEST(TmyImagePal, HeightComesFirstAndSidesAreChecked)
{
    TmyImagePal img(2, 3, 32); // 3 wide, 2 high
    EXPECT_EQ(img.Width(), 3);
    EXPECT_EQ(img.Height(), 2);
    img.Pixel(2, 1) = TmyPixel::CreateRGBA(1, 2, 3, 4);
    EXPECT_EQ(img.Row(1)[2], TmyPixel::CreateRGBA(1, 2, 3, 4));
    EXPECT_THROW(TmyImage(0, 5), std::invalid_argument);
    EXPECT_THROW(TmyImage(70000, 70000), std::length_error);
}

TEST(TmyImagePal, AssignIsDeepAndKeepsZoom)
{
    TmyImagePal src(16, 16, 24);
    src.Zoom = 3;
    TmyImagePal dst(8, 8, 8);
    dst.Assign(src);
    EXPECT_EQ(dst.BitDepth, 24);
    EXPECT_FALSE(dst.Palette.has_value());
    EXPECT_EQ(dst.Zoom, 3);
    TmyImagePal pal(4, 4, 4);
    TmyImagePal copy(1, 1, 32);
    copy.Assign(pal);
    copy.Palette->Colors[0].R = 99;
    EXPECT_EQ(pal.Palette->Colors[0].R, 0) << "palettes are copied, not shared";
}

TEST(TmyImagePal, BuildPaletteTakesColoursInRowOrder)
{
    TmyImagePal img(2, 3, 8);
    img.Fill(TmyPixel::CreateRGBA(0, 0, 0, 255));
    img.Pixel(1, 0) = TmyPixel::CreateRGBA(255, 0, 0, 255);
    img.Pixel(0, 1) = TmyPixel::CreateRGBA(0, 0, 255, 0); // transparent pixels count too
    const TmyPalette defaults(256);
    img.BuildPalette();
    EXPECT_EQ(img.Palette->Colors[0], TmyPixel::CreateRGBA(0, 0, 0, 255));
    EXPECT_EQ(img.Palette->Colors[1], TmyPixel::CreateRGBA(255, 0, 0, 255));
    EXPECT_EQ(img.Palette->Colors[2], TmyPixel::CreateRGBA(0, 0, 255, 255));
    EXPECT_EQ(img.Palette->Colors[3], defaults.Colors[3]);

    TmyImagePal full(2, 2, 1);
    full.Pixel(0, 0) = TmyPixel::CreateRGBA(10, 10, 10, 255);
    full.Pixel(1, 0) = TmyPixel::CreateRGBA(20, 20, 20, 255);
    full.Pixel(0, 1) = TmyPixel::CreateRGBA(30, 30, 30, 255);
    full.BuildPalette();
    EXPECT_EQ(full.Palette->Colors[1].R, 20) << "filling stops when the palette is full";

    // Colours that come back after others, and more of them than the palette holds: the
    // entries are the first 256 distinct colours in row order, each once.
    TmyImagePal many(64, 64, 8);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int k = (x * 37 + y * 11) % 300;
            many.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(k % 256), std::uint8_t(k / 256), 7, 255);
        }
    std::vector<TmyPixel> want;
    for (std::size_t i = 0; i < many.PixelCount() && want.size() < 256; ++i) {
        const TmyPixel p = many.Data()[i];
        if (std::none_of(want.begin(), want.end(), [&](const TmyPixel& c) { return c.SameRGB(p); }))
            want.push_back(TmyPixel::CreateRGBA(p.R, p.G, p.B, 255));
    }
    many.BuildPalette();
    ASSERT_EQ(want.size(), 256u);
    for (std::size_t i = 0; i < 256; ++i)
        EXPECT_EQ(many.Palette->Colors[i], want[i]) << i;
}

TEST(TmyIcon, InsertMovesContentsUpAndMakesTheNewImageCurrent)
{
    TmyIcon icon;
    for (std::uint8_t t = 1; t <= 3; ++t)
        Mark(icon.AddImage(16, 16, 32), t);
    EXPECT_EQ(icon.Current, 2);
    icon.InsertImage(32, 24, 8, 0);
    ASSERT_EQ(icon.Count(), 4);
    EXPECT_EQ(icon.Current, 0);
    EXPECT_EQ(icon.Image(0).Width(), 24);
    EXPECT_EQ(icon.Image(0).BitDepth, 8);
    EXPECT_EQ(TagOf(icon.Image(1)), 1);
    EXPECT_EQ(TagOf(icon.Image(2)), 2);
    EXPECT_EQ(TagOf(icon.Image(3)), 3);
    icon.InsertImage(8, 8, 4, 4);
    EXPECT_EQ(icon.Count(), 5);
    EXPECT_EQ(icon.Current, 4) << "inserting at Count appends";
}

TEST(TmyIcon, DeleteMovesContentsDownAndResetsCurrent)
{
    TmyIcon icon;
    for (std::uint8_t t = 1; t <= 3; ++t)
        Mark(icon.AddImage(16, 16, 32), t);
    icon.DeleteImage(2);
    ASSERT_EQ(icon.Count(), 2);
    EXPECT_EQ(icon.Current, 0);
    icon.DeleteImage(0);
    ASSERT_EQ(icon.Count(), 1);
    EXPECT_EQ(TagOf(icon.Image(0)), 2);
    icon.DeleteImage(0);
    EXPECT_EQ(icon.CurrentImage(), nullptr);
    EXPECT_THROW(icon.DeleteImage(0), std::out_of_range);
}
