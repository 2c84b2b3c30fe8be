#include "engine/MyFilter.h"

#include "engine/myUndo.h"
#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using glimt::test::MakeImage;
using glimt::test::Px;

namespace {

constexpr TmyPixel T0 = Px(0, 0, 0, 0);
constexpr TmyPixel W0 = Px(255, 255, 255, 0);

std::vector<TmyPixel> PixelsOf(const TmyImage& image)
{
    return {image.Data(), image.Data() + image.PixelCount()};
}

// A kernel with one weight at (dx, dy).
TFilterKernel Single(int dx, int dy, int weight, int divisor = 1, int offset = 0)
{
    TFilterKernel k;
    k.Weights[std::size_t((dy + 2) * 5 + dx + 2)] = weight;
    k.Divisor = divisor;
    k.Offset = offset;
    return k;
}

// Opaque reds: 100, 150, 200 on top, 120, 170, 220 below.
TmyImagePal Ramp(int depth = 32)
{
    return MakeImage(3, 2, depth,
        {Px(100, 0, 0, 255), Px(150, 0, 0, 255), Px(200, 0, 0, 255),
         Px(120, 0, 0, 255), Px(170, 0, 0, 255), Px(220, 0, 0, 255)});
}

TmyImagePal OneColouredPixel(int depth = 32)
{
    return MakeImage(3, 2, depth, {Px(90, 60, 30, 255), T0, T0, T0, T0, T0});
}

} // namespace

TEST(FilterPresets, TableEntries)
{
    EXPECT_EQ(FilterPresets[4].Weights, (std::array<std::int32_t, 25>{0, 0, 0, 0, 0, 0, 1, 2, 1, 0, 0, 2, 2, 2, 0, 0, 1, 2, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(FilterPresets[4].Divisor, 14);
    EXPECT_EQ(FilterPresets[22].Weights[12], 169);
    EXPECT_EQ(FilterPresets[23].Offset, -190);
    EXPECT_EQ(FilterPresets[28].Weights, (std::array<std::int32_t, 25>{-2, -2, 2, 2, 2, -2, -1, 1, -1, 2, -2, 1, 4, 1, 2, -2, -1, 1, -1, -1, 3, 3, -3, -3, 4}));
    EXPECT_EQ(FilterPresets[28].Divisor, 7);
    EXPECT_EQ(FilterPresets[18].Offset, 240);
    EXPECT_STREQ(FilterPresetNames[25], "Shake Less");
    EXPECT_STREQ(FilterPresetNames[26], "Shake");
    EXPECT_EQ(FilterPresets[26].Weights[0], 1);
    EXPECT_EQ(FilterPresets[25].Weights[6], 1);
}

TEST(TmyFilter, DivisorOffsetAndRounding)
{
    const struct {
        const char* name;
        TFilterKernel kernel;
        int in, out;
    } rows[] = {
        {"divisor 0 counts as 1", Single(0, 0, 2, 0), 100, 200},
        {"clamped above", Single(0, 0, 3, 1), 100, 255},
        {"negative clamps to 0", Single(0, 0, -1, 1), 100, 0},
        {"2.5 rounds to even", Single(0, 0, 1, 2), 5, 2},
        {"3.5 rounds to even", Single(0, 0, 1, 2), 7, 4},
        {"offset after the division", Single(0, 0, 1, 4, 10), 10, 12},
        {"negative divisor", Single(0, 0, 1, -1, 255), 100, 155},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TmyPixel p = TmyFilter::FilterPixel(0, 0, MakeImage(1, 1, 32, {Px(row.in, 0, 0, 255)}), row.kernel, false);
        EXPECT_EQ(p.R, row.out);
        EXPECT_EQ(p.A, 255) << "alpha kept without OnAlpha";
    }
}

TEST(TmyFilter, OutsideNeighboursAreTheCentresOwnColumnAndRow)
{
    // The weight two columns left: at x = 0 and 1 that column lies outside and the centre
    // samples itself (neither mirrored nor the edge column).
    TmyImagePal left = Ramp();
    TmyFilter::ApplyFilterKernel(left, Single(-2, 0, 1), false);
    EXPECT_EQ(PixelsOf(left), (std::vector<TmyPixel>{Px(100, 0, 0, 255), Px(150, 0, 0, 255), Px(100, 0, 0, 255),
                                  Px(120, 0, 0, 255), Px(170, 0, 0, 255), Px(120, 0, 0, 255)}));
    // One row down: the bottom row samples itself, the top row the one below.
    TmyImagePal down = Ramp();
    TmyFilter::ApplyFilterKernel(down, Single(0, 1, 1), false);
    EXPECT_EQ(PixelsOf(down), (std::vector<TmyPixel>{Px(120, 0, 0, 255), Px(170, 0, 0, 255), Px(220, 0, 0, 255),
                                  Px(120, 0, 0, 255), Px(170, 0, 0, 255), Px(220, 0, 0, 255)}));
}

TEST(TmyFilter, PaintDarkAndSharpenPresets)
{
    // Paint Dark: the corner samples (x - 2, y - 2) and (x + 2, y + 2), offset -190.
    TmyImagePal dark = Ramp();
    TmyFilter::ApplyFilterKernel(dark, FilterPresets[23], false);
    EXPECT_EQ(PixelsOf(dark), (std::vector<TmyPixel>{Px(110, 0, 0, 255), Px(110, 0, 0, 255), Px(110, 0, 0, 255),
                                  Px(150, 0, 0, 255), Px(150, 0, 0, 255), Px(150, 0, 0, 255)}));
    // Sharpen: (16 x 100 - 1010) / 8 = 73.75; (16 x 170 - 1300) / 8 = 177.5; (3200 - 1510) / 8.
    TmyImagePal sharp = Ramp();
    TmyFilter::ApplyFilterKernel(sharp, FilterPresets[8], false);
    EXPECT_EQ(sharp.Pixel(0, 0), Px(74, 0, 0, 255));
    EXPECT_EQ(sharp.Pixel(1, 1), Px(178, 0, 0, 255));
    EXPECT_EQ(sharp.Pixel(2, 0), Px(211, 0, 0, 255));
}

TEST(TmyFilter, BlurNextToTransparentPixels)
{
    // Transparent neighbours count with the mean colour of the visible ones: no dark fringe.
    TmyImagePal plain = OneColouredPixel();
    TmyFilter::ApplyFilterKernel(plain, FilterPresets[4], false);
    EXPECT_EQ(PixelsOf(plain), (std::vector<TmyPixel>{Px(90, 60, 30, 255), T0, T0, T0, T0, T0}));

    // With OnAlpha the weighted alpha spreads: 7, 3, 3 and 1 fourteenths of 255.
    TmyImagePal spread = OneColouredPixel();
    TmyFilter::ApplyFilterKernel(spread, FilterPresets[4], true);
    EXPECT_EQ(PixelsOf(spread), (std::vector<TmyPixel>{Px(90, 60, 30, 128), Px(90, 60, 30, 55), T0,
                                    Px(90, 60, 30, 55), Px(90, 60, 30, 18), T0}));

    EXPECT_EQ(TmyFilter::FilterPixel(1, 0, OneColouredPixel(), FilterPresets[4], false), Px(90, 60, 30, 0));
    EXPECT_EQ(TmyFilter::FilterPixel(1, 0, OneColouredPixel(), FilterPresets[4], true), Px(90, 60, 30, 55));

    // Below 32 bits the spread alpha is cut at 128.
    TmyImagePal indexed = OneColouredPixel(24);
    TmyFilter::ApplyFilterKernel(indexed, FilterPresets[4], true);
    EXPECT_EQ(PixelsOf(indexed), (std::vector<TmyPixel>{Px(90, 60, 30, 255), T0, T0, T0, T0, T0}));
}

TEST(TmyFilter, EmbossDarkOnAlphaMakesAFlatAreaHalfTransparent)
{
    for (int depth : {32, 24}) {
        SCOPED_TRACE(depth);
        TmyImagePal image = MakeImage(3, 2, depth, std::vector<TmyPixel>(6, Px(50, 60, 70, 255)));
        TmyFilter::ApplyFilterKernel(image, FilterPresets[3], true);
        EXPECT_EQ(PixelsOf(image), std::vector<TmyPixel>(6, Px(128, 128, 128, depth == 32 ? 128 : 255)));
    }
}

TEST(TmyFilter, LargeWeightsSumIn64Bits)
{
    // 25 x 10^8 x 200 overflows 32 bits; / (2 x 10^9) gives 250. Alpha: 318.75, clamped.
    TFilterKernel big;
    big.Weights.fill(100'000'000);
    big.Divisor = 2'000'000'000;
    TmyImagePal image = MakeImage(3, 2, 32, std::vector<TmyPixel>(6, Px(200, 200, 200, 255)));
    TmyFilter::ApplyFilterKernel(image, big, true);
    EXPECT_EQ(PixelsOf(image), std::vector<TmyPixel>(6, Px(250, 250, 250, 255)));

    big.Weights.fill(2'147'483'647);
    big.Divisor = 2'147'483'647;
    big.Offset = -2'147'483'647 - 1;
    image.Fill(Px(10, 10, 10, 255));
    TmyFilter::ApplyFilterKernel(image, big, false);
    EXPECT_EQ(image.Pixel(0, 0), Px(0, 0, 0, 255)) << "250 - 2^31 clamps to 0";
}

TEST(TmyFilter, DropShadowOfOnePixel)
{
    // One opaque pixel at (1, 1) of 4 x 3: the shadow is its grey (128, 127, 127) shifted to
    // (2, 2) and blurred, under the pixel; the pixel itself stays.
    TmyImagePal image(3, 4, 32);
    image.Pixel(1, 1) = Px(200, 100, 50, 255);
    TmyFilter::DropShadow(image);
    const TmyPixel g18 = Px(128, 127, 127, 18), g36 = Px(128, 127, 127, 36);
    const TmyPixel g55 = Px(128, 127, 127, 55), g73 = Px(128, 127, 127, 73);
    EXPECT_EQ(PixelsOf(image), (std::vector<TmyPixel>{W0, W0, W0, W0,
                                   W0, Px(200, 100, 50, 255), g36, g18,
                                   W0, g55, g73, g55}));

    TmyImagePal solid(3, 4, 24);
    solid.Pixel(1, 1) = Px(200, 100, 50, 255);
    TmyFilter::DropShadow(solid);
    std::vector<TmyPixel> expected(12, W0);
    expected[5] = Px(200, 100, 50, 255);
    EXPECT_EQ(PixelsOf(solid), expected) << "below 32 bits the faint shadow is cut away";
}

TEST(TmyFilter, FilteringShowsTheBusyCursor)
{
    struct CountingCursor : glimt::IBusyCursor {
        int busy = 0, normal = 0;
        void ShowBusy() override { ++busy; }
        void ShowDefault() override { ++normal; }
    } cursor;
    glimt::IBusyCursor* previous = glimt::SetBusyCursor(&cursor);
    TmyImagePal image = Ramp();
    TmyFilter::ApplyFilterKernel(image, FilterPresets[4], false);
    glimt::SetBusyCursor(previous);
    EXPECT_EQ(cursor.busy, 1);
    EXPECT_EQ(cursor.normal, 1);
}
