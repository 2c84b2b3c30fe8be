#include "engine/myadjustments.h"

#include "engine/Prompts.h"
#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <utility>
#include <vector>

using glimt::test::MakeImage;
using glimt::test::Px;
namespace adj = TmyAdjustments;

namespace {

constexpr TmyPixel T0 = Px(0, 0, 0, 0);

std::vector<TmyPixel> PixelsOf(const TmyImage& image)
{
    return {image.Data(), image.Data() + image.PixelCount()};
}

// Three distinct opaque pixels on top, three below: a swapped width and height shows.
TmyImagePal Letters(int depth = 32)
{
    return MakeImage(3, 2, depth,
        {Px(1, 0, 0, 255), Px(2, 0, 0, 255), Px(3, 0, 0, 255),
         Px(4, 0, 0, 255), Px(5, 0, 0, 255), Px(6, 0, 0, 255)});
}

struct FakePrompts : glimt::SilentPrompts {
    int answer = 0;
    int asked = 0;
    int AskChangePalette() override
    {
        ++asked;
        return answer;
    }
};

} // namespace

TEST(TmyAdjustments, ResizeOneVisiblePixelKeepsItsColourAtQuarterAlpha)
{
    const struct {
        const char* name;
        TmyPixel hidden;
    } rows[] = {
        {"transparent black", T0},
        // Coloured transparent pixels (as the drop shadow leaves them) must not feed the
        // colour: summed with the visible ones they overflowed a byte.
        {"transparent white", Px(255, 255, 255, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image = MakeImage(2, 2, 32, {Px(255, 0, 0, 255), row.hidden, row.hidden, row.hidden});
        adj::ResizeImage(image, 1, 1);
        ASSERT_EQ(image.Width(), 1);
        EXPECT_EQ(image.Pixel(0, 0), Px(255, 0, 0, 64)) << "255 / 4 rounds to 64";

        TmyImagePal solid = MakeImage(2, 2, 24, {Px(255, 0, 0, 255), row.hidden, row.hidden, row.hidden});
        adj::ResizeImage(solid, 1, 1);
        EXPECT_EQ(solid.Pixel(0, 0), T0) << "below 32 bits A 63 is transparent";
    }
}

TEST(TmyAdjustments, ResizeAveragesExactWindows)
{
    // 3 x 2 up to 6 x 4 repeats every pixel twice each way; back down averages 2 x 2 blocks.
    TmyImagePal image = Letters();
    adj::ResizeImage(image, 6, 4);
    ASSERT_EQ(image.Width(), 6);
    ASSERT_EQ(image.Height(), 4);
    EXPECT_EQ(image.Pixel(5, 0), Px(3, 0, 0, 255));
    EXPECT_EQ(image.Pixel(2, 3), Px(5, 0, 0, 255));
    adj::ResizeImage(image, 3, 2);
    EXPECT_EQ(PixelsOf(image), PixelsOf(Letters()));

    TmyImagePal blocks = MakeImage(4, 2, 32,
        {Px(10, 0, 0, 255), Px(20, 0, 0, 255), Px(0, 0, 0, 0), Px(9, 9, 9, 0),
         Px(30, 0, 0, 255), Px(41, 0, 0, 255), Px(0, 0, 0, 0), Px(0, 0, 0, 0)});
    adj::ResizeImage(blocks, 2, 1);
    EXPECT_EQ(blocks.Pixel(0, 0), Px(25, 0, 0, 255)) << "101 / 4 rounds down";
    EXPECT_EQ(blocks.Pixel(1, 0), T0) << "a fully transparent window";
}

TEST(TmyAdjustments, ResizeByAFractionalRatio)
{
    // 3 x 2 to 2 x 1: each target column covers one and a half source columns.
    TmyImagePal image = MakeImage(3, 2, 32,
        {Px(0, 0, 0, 255), Px(100, 0, 0, 255), Px(200, 0, 0, 255),
         Px(0, 0, 0, 255), Px(100, 0, 0, 255), Px(200, 0, 0, 255)});
    adj::ResizeImage(image, 2, 1);
    EXPECT_EQ(image.Pixel(0, 0), Px(33, 0, 0, 255)) << "100 / 3";
    EXPECT_EQ(image.Pixel(1, 0), Px(167, 0, 0, 255)) << "500 / 3 rounds up";
}

namespace {

// Area averaging straight from its definition, one destination pixel at a time over every
// source cell of its window: the reference the separable resampler must agree with exactly.
TmyImage StraightAreaAverage(const TmyImage& src, int dw, int dh)
{
    const std::int64_t sw = src.Width(), sh = src.Height(), total = sw * sh;
    // Shared length of cell k (d units long) and window i (s units long), in units of 1/d.
    auto overlap = [](std::int64_t k, std::int64_t i, std::int64_t s, std::int64_t d) {
        return std::max<std::int64_t>(0, std::min((k + 1) * d, (i + 1) * s) - std::max(k * d, i * s));
    };
    auto round = [total](std::int64_t n) {
        std::int64_t q = n / total;
        const std::int64_t r2 = 2 * (n % total);
        return int(r2 > total || (r2 == total && q % 2) ? q + 1 : q);
    };
    TmyImage out(dh, dw);
    for (int j = 0; j < dh; ++j)
        for (int i = 0; i < dw; ++i) {
            std::int64_t fill[3] = {0, 0, 0}, n = 0;
            for (int y = 0; y < sh; ++y)
                for (int x = 0; x < sw; ++x) {
                    const TmyPixel& p = src.Pixel(x, y);
                    if (overlap(x, i, sw, dw) && overlap(y, j, sh, dh) && p.A) {
                        fill[0] += p.R, fill[1] += p.G, fill[2] += p.B;
                        ++n;
                    }
                }
            for (std::int64_t& f : fill)
                f /= std::max<std::int64_t>(n, 1);
            std::int64_t sum[4] = {0, 0, 0, 0};
            for (int y = 0; y < sh; ++y)
                for (int x = 0; x < sw; ++x) {
                    const std::int64_t w = overlap(x, i, sw, dw) * overlap(y, j, sh, dh);
                    const TmyPixel& p = src.Pixel(x, y);
                    sum[0] += w * (p.A ? p.R : fill[0]);
                    sum[1] += w * (p.A ? p.G : fill[1]);
                    sum[2] += w * (p.A ? p.B : fill[2]);
                    sum[3] += w * p.A;
                }
            out.Pixel(i, j) = Px(round(sum[0]), round(sum[1]), round(sum[2]), round(sum[3]));
        }
    return out;
}

// Whether ResampleArea gives exactly what StraightAreaAverage does; the first pixel that differs.
testing::AssertionResult ResamplesAsTheStraightFormula(const TmyImage& src, int dw, int dh)
{
    TmyImage dst(dh, dw);
    adj::ResampleArea(src, dst);
    const TmyImage want = StraightAreaAverage(src, dw, dh);
    for (int j = 0; j < dh; ++j)
        for (int i = 0; i < dw; ++i)
            if (dst.Pixel(i, j) != want.Pixel(i, j))
                return testing::AssertionFailure() << "pixel " << i << ", " << j << " is " << dst.Pixel(i, j)
                                                   << ", the formula gives " << want.Pixel(i, j);
    return testing::AssertionSuccess();
}

struct Ratio {
    int sw, sh, dw, dh;
};

// Shrinking and enlarging by whole, fractional and prime ratios, non-square both ways.
const Ratio kRatios[] = {{256, 256, 48, 48}, {64, 64, 48, 48}, {48, 48, 32, 32}, {16, 16, 32, 32}, {3, 2, 7, 5},
                         {7, 5, 3, 2},       {100, 1, 1, 1},   {1, 1, 100, 3},  {255, 9, 256, 10}, {256, 10, 255, 9},
                         {5, 3, 3, 5},       {48, 48, 16, 16}, {33, 17, 32, 16}};

} // namespace

TEST(TmyAdjustments, ResizeKeepsAUniformPictureExactlyItselfAtEveryRatio)
{
    const TmyPixel colours[] = {Px(255, 255, 255, 255), Px(10, 200, 30, 255), Px(200, 100, 7, 255), Px(1, 2, 3, 128)};
    for (const Ratio& r : kRatios)
        for (const TmyPixel& colour : colours)
            for (int depth : {32, 24}) {
                if (depth != 32 && colour.A != 255)
                    continue;
                SCOPED_TRACE(testing::Message() << r.sw << "x" << r.sh << " to " << r.dw << "x" << r.dh << " of "
                                                << colour << " at " << depth << " bits");
                TmyImagePal image(r.sh, r.sw, depth);
                image.Fill(colour);
                adj::ResizeImage(image, r.dw, r.dh);
                ASSERT_EQ(image.Width(), r.dw);
                ASSERT_EQ(image.Height(), r.dh);
                const std::vector<TmyPixel> pixels = PixelsOf(image);
                const auto wrong = std::find_if(pixels.begin(), pixels.end(), [&](const TmyPixel& p) { return p != colour; });
                EXPECT_TRUE(wrong == pixels.end()) << "pixel " << (wrong - pixels.begin()) << " is " << *wrong;
            }
}

TEST(TmyAdjustments, ResizeOfTwoColoursKeepsEachAreaExact)
{
    // Left part red, right part blue, the boundary on a source column: every destination
    // column that lies wholly on one side keeps its colour exactly, and stays opaque.
    const TmyPixel red = Px(250, 10, 0, 255), blue = Px(0, 20, 240, 255);
    for (const Ratio& r : kRatios) {
        SCOPED_TRACE(testing::Message() << r.sw << "x" << r.sh << " to " << r.dw << "x" << r.dh);
        TmyImagePal image(r.sh, r.sw, 32);
        const int boundary = r.sw / 2;
        for (int y = 0; y < r.sh; ++y)
            for (int x = 0; x < r.sw; ++x)
                image.Pixel(x, y) = x < boundary ? red : blue;
        adj::ResizeImage(image, r.dw, r.dh);
        for (int i = 0; i < r.dw; ++i) {
            // Window of column i: [i sw / dw, (i + 1) sw / dw).
            const bool allRed = std::int64_t(i + 1) * r.sw <= std::int64_t(boundary) * r.dw;
            const bool allBlue = std::int64_t(i) * r.sw >= std::int64_t(boundary) * r.dw;
            for (int j = 0; j < r.dh; ++j) {
                const TmyPixel p = image.Pixel(i, j);
                EXPECT_EQ(p.A, 255) << "opaque stays opaque";
                if (allRed) {
                    EXPECT_EQ(p, red) << i << ", " << j;
                }
                if (allBlue) {
                    EXPECT_EQ(p, blue) << i << ", " << j;
                }
            }
        }
    }
}

TEST(TmyAdjustments, ResampleAgreesWithTheStraightFormula)
{
    // Soft alpha, fully transparent cells carrying colour, and opaque cells: every path.
    std::uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0xFF);
    };
    for (const Ratio& r : kRatios) {
        if (std::int64_t(r.sw) * r.sh * r.dw * r.dh > 20'000'000)
            continue; // the straight formula visits every cell for every pixel
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(testing::Message() << r.sw << "x" << r.sh << " to " << r.dw << "x" << r.dh << " kind " << kind);
            TmyImage src(r.sh, r.sw);
            for (std::size_t k = 0; k < src.PixelCount(); ++k) {
                const int a = kind == 0 ? 255 : kind == 1 ? 1 + next() % 255 : (next() % 3 == 0 ? 0 : next());
                src.Data()[k] = Px(next(), next(), next(), a);
            }
            ASSERT_TRUE(ResamplesAsTheStraightFormula(src, r.dw, r.dh));
        }
    }
}

namespace {

// Random pictures of the kinds whose alpha takes different paths through the resampler.
enum class Kind { Opaque, SoftAlpha, TransparentAreas, Mixed, AllTransparent, SomeRowsTransparent };
constexpr Kind kKinds[] = {Kind::Opaque,         Kind::SoftAlpha,     Kind::TransparentAreas,
                           Kind::Mixed,          Kind::AllTransparent, Kind::SomeRowsTransparent};

TmyImage RandomPicture(int width, int height, Kind kind, std::mt19937& random)
{
    auto byte = [&] { return int(random() & 0xFF); };
    TmyImage image(height, width);
    // Two transparent rectangles for TransparentAreas.
    const int x0 = int(random() % unsigned(width)), y0 = int(random() % unsigned(height));
    const int x1 = int(random() % unsigned(width)), y1 = int(random() % unsigned(height));
    for (int y = 0; y < height; ++y) {
        const bool rowTransparent = y % 3 == 1;
        for (int x = 0; x < width; ++x) {
            int a = 255;
            switch (kind) {
            case Kind::Opaque: break;
            case Kind::SoftAlpha: a = 1 + byte() % 255; break;
            case Kind::TransparentAreas:
                a = (x >= x0 && y >= y0 && x <= x0 + width / 3 && y <= y0 + height / 3) || (x <= x1 && y <= y1) ? 0
                                                                                                               : 1 + byte() % 255;
                break;
            case Kind::Mixed: a = random() % 3 == 0 ? 0 : random() % 2 ? 255 : byte(); break;
            case Kind::AllTransparent: a = 0; break;
            case Kind::SomeRowsTransparent: a = rowTransparent && random() % 2 ? 0 : 255; break;
            }
            image.Pixel(x, y) = Px(byte(), byte(), byte(), a); // transparent cells carry colour too
        }
    }
    return image;
}

} // namespace

TEST(TmyAdjustments, ResampleOfRandomPicturesAgreesWithTheStraightFormula)
{
    // Many size pairs, one-pixel sides and large ratios among them, over every kind of alpha.
    std::mt19937 random(20261211);
    auto side = [&] {
        switch (random() % 4) {
        case 0: return 1 + int(random() % 3);
        case 1: return 1 + int(random() % 12);
        default: return 1 + int(random() % 70);
        }
    };
    std::vector<Ratio> ratios = {{1, 1, 1, 1}, {200, 1, 1, 1}, {1, 1, 200, 3}, {300, 2, 2, 1}, {2, 300, 1, 7},
                                 {97, 89, 1, 1}, {1, 97, 5, 1}, {250, 3, 7, 2}, {3, 250, 2, 7}};
    while (ratios.size() < 120) {
        const Ratio r{side(), side(), side(), side()};
        if (std::int64_t(r.sw) * r.sh * r.dw * r.dh <= 400'000)
            ratios.push_back(r);
    }
    for (const Ratio& r : ratios)
        for (Kind kind : kKinds) {
            SCOPED_TRACE(testing::Message() << r.sw << "x" << r.sh << " to " << r.dw << "x" << r.dh << " kind "
                                            << int(kind));
            const TmyImage src = RandomPicture(r.sw, r.sh, kind, random);
            ASSERT_TRUE(ResamplesAsTheStraightFormula(src, r.dw, r.dh));
        }
}

TEST(TmyAdjustments, ResampleOfAPictureWhoseSumsNeedMoreThan32BitsAgreesWithTheStraightFormula)
{
    // Over 2^32 / 511 source pixels, bright: the sums no longer fit 32 bits.
    std::mt19937 random(7);
    TmyImage src = RandomPicture(4099, 2300, Kind::Mixed, random);
    for (std::size_t k = 0; k < src.PixelCount(); ++k) {
        TmyPixel& p = src.Data()[k];
        p = Px(240 + p.R % 16, 240 + p.G % 16, 240 + p.B % 16, p.A);
    }
    for (const auto& [dw, dh] : {std::pair{1, 1}, std::pair{3, 1}}) {
        SCOPED_TRACE(testing::Message() << dw << "x" << dh);
        EXPECT_TRUE(ResamplesAsTheStraightFormula(src, dw, dh));
    }
}

TEST(TmyAdjustments, ResizeToZeroMakesOnePixel)
{
    TmyImagePal image = Letters(8);
    const TmyPalette palette = *image.Palette;
    adj::ResizeImage(image, 0, -4);
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(image.Height(), 1);
    EXPECT_EQ(image.Pixel(0, 0), Px(4, 0, 0, 255)) << "21 / 6: a half, to the even neighbour";
    EXPECT_EQ(*image.Palette, palette);
    EXPECT_EQ(image.BitDepth, 8);
}

TEST(TmyAdjustments, RotateByZeroLeavesLastColumnAndRowTransparent)
{
    TmyImagePal image = Letters();
    adj::RotateImage(image, 1, 1, 0);
    EXPECT_EQ(PixelsOf(image), (std::vector<TmyPixel>{Px(1, 0, 0, 255), Px(2, 0, 0, 255), T0, T0, T0, T0}));
}

TEST(TmyAdjustments, RotateQuarterTurnAboutAPixel)
{
    // 4 x 3 about (1, 1) by 90 degrees: target (x, y) samples source (y, 2 - x); target
    // columns 0 and 3 fall outside (column 3 through a negative, wrapped position).
    TmyImagePal image(3, 4, 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.Pixel(x, y) = Px(10 * x + y, 0, 0, 255);
    const TmyImagePal source = image;
    adj::RotateImage(image, 1, 1, 90);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << ", " << y);
            const TmyPixel expected = (x == 1 || x == 2) ? source.Pixel(y, 2 - x) : T0;
            EXPECT_EQ(image.Pixel(x, y), expected);
        }
}

TEST(TmyAdjustments, RotateBilinearFillsTransparentNeighboursWithTheVisibleMean)
{
    // A target one pixel narrower and shorter than the source samples half-way between
    // source pixels.
    const TmyImagePal source = MakeImage(3, 2, 32,
        {Px(100, 0, 0, 255), Px(250, 250, 250, 0), Px(0, 0, 0, 0),
         Px(0, 100, 0, 255), Px(0, 0, 100, 255), Px(0, 0, 0, 0)});
    TmyImage target(1, 2);
    adj::RotateBitmapBilinear(source, target, 0, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), Px(33, 33, 33, 191));
    EXPECT_EQ(target.Pixel(1, 0), Px(0, 0, 100, 63));
}

TEST(TmyAdjustments, Shifts)
{
    const TmyPixel a = Px(1, 0, 0, 255), b = Px(2, 0, 0, 255), c = Px(3, 0, 0, 255);
    const TmyPixel d = Px(4, 0, 0, 255), e = Px(5, 0, 0, 255), f = Px(6, 0, 0, 255);
    const struct {
        const char* name;
        void (*shift)(TmyImagePal&, std::uint8_t);
        std::uint8_t n;
        std::vector<TmyPixel> expected;
    } rows[] = {
        {"left 1", adj::ShiftLeft, 1, {b, c, T0, e, f, T0}},
        {"right 1", adj::ShiftRight, 1, {T0, a, b, T0, d, e}},
        {"right 2", adj::ShiftRight, 2, {T0, T0, a, T0, T0, d}},
        {"up 1", adj::ShiftUp, 1, {d, e, f, T0, T0, T0}},
        {"down 1", adj::ShiftDown, 1, {T0, T0, T0, a, b, c}},
        {"left by the width", adj::ShiftLeft, 3, {T0, T0, T0, T0, T0, T0}},
        {"down by more than the height", adj::ShiftDown, 200, {T0, T0, T0, T0, T0, T0}},
        {"left 0", adj::ShiftLeft, 0, {a, b, c, d, e, f}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image = Letters();
        row.shift(image, row.n);
        EXPECT_EQ(PixelsOf(image), row.expected);
    }
}

TEST(TmyAdjustments, QuarterTurnsAndFlips)
{
    const TmyPixel a = Px(1, 0, 0, 255), b = Px(2, 0, 0, 255), c = Px(3, 0, 0, 255);
    const TmyPixel d = Px(4, 0, 0, 255), e = Px(5, 0, 0, 255), f = Px(6, 0, 0, 255);
    const struct {
        const char* name;
        void (*op)(TmyImagePal&);
        int width, height;
        std::vector<TmyPixel> expected;
    } rows[] = {
        {"left 90", adj::RotateLeft90, 2, 3, {c, f, b, e, a, d}},
        {"right 90", adj::RotateRight90, 2, 3, {d, a, e, b, f, c}},
        {"horizontal", adj::FlipHorizontal, 3, 2, {c, b, a, f, e, d}},
        {"vertical", adj::FlipVertical, 3, 2, {d, e, f, a, b, c}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image = Letters(8);
        image.Palette->Colors[5] = Px(7, 7, 7, 255);
        row.op(image);
        EXPECT_EQ(image.Width(), row.width);
        EXPECT_EQ(image.Height(), row.height);
        EXPECT_EQ(PixelsOf(image), row.expected);
        EXPECT_EQ(image.BitDepth, 8);
        ASSERT_TRUE(image.Palette);
        EXPECT_EQ(image.Palette->Colors[5], Px(7, 7, 7, 255)) << "the palette is kept";
    }
}

TEST(TmyAdjustments, PerColourRoutines)
{
    using Op = void (*)(std::uint8_t&, std::uint8_t&, std::uint8_t&);
    const struct {
        const char* name;
        Op op;
        TmyPixel in, out;
    } rows[] = {
        {"invert", adj::InvertPixel, Px(10, 20, 30, 0), Px(245, 235, 225, 0)},
        {"swap 1", [](auto& r, auto& g, auto& b) { adj::SwapPixelChannels(r, g, b, 1); }, Px(1, 2, 3, 0), Px(2, 1, 3, 0)},
        {"swap 2", [](auto& r, auto& g, auto& b) { adj::SwapPixelChannels(r, g, b, 2); }, Px(1, 2, 3, 0), Px(3, 2, 1, 0)},
        {"swap 3", [](auto& r, auto& g, auto& b) { adj::SwapPixelChannels(r, g, b, 3); }, Px(1, 2, 3, 0), Px(1, 3, 2, 0)},
        {"swap 4", [](auto& r, auto& g, auto& b) { adj::SwapPixelChannels(r, g, b, 4); }, Px(1, 2, 3, 0), Px(1, 2, 3, 0)},
        // L = (30 x 100 + 59 x 150 + 11 x 200) div 100 = 140
        {"grey", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 0); }, Px(100, 150, 200, 0), Px(140, 140, 140, 0)},
        {"red", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 1); }, Px(100, 150, 200, 0), Px(140, 0, 0, 0)},
        {"green", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 2); }, Px(100, 150, 200, 0), Px(0, 140, 0, 0)},
        {"blue", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 3); }, Px(100, 150, 200, 0), Px(0, 0, 140, 0)},
        {"yellow", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 4); }, Px(100, 150, 200, 0), Px(140, 140, 0, 0)},
        {"cyan", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 5); }, Px(100, 150, 200, 0), Px(0, 140, 140, 0)},
        {"magenta", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 6); }, Px(100, 150, 200, 0), Px(140, 0, 140, 0)},
        {"colorize 7", [](auto& r, auto& g, auto& b) { adj::ColorizePixel(r, g, b, 7); }, Px(100, 150, 200, 0), Px(100, 150, 200, 0)},
        // Hue 300 + 100 wraps by 359 to 41.
        {"hue +100", [](auto& r, auto& g, auto& b) { adj::HueSatLightPixel(r, g, b, 100, 0, 0); }, Px(255, 0, 255, 0), Px(255, 174, 0, 0)},
        // H 0, S 50, V 78: t = 10, S 60, V 82.
        {"saturation +20", [](auto& r, auto& g, auto& b) { adj::HueSatLightPixel(r, g, b, 0, 20, 0); }, Px(200, 100, 100, 0), Px(209, 84, 84, 0)},
        {"lightness +50", [](auto& r, auto& g, auto& b) { adj::HueSatLightPixel(r, g, b, 0, 0, 50); }, Px(200, 100, 100, 0), Px(227, 170, 170, 0)},
        {"lightness -50", [](auto& r, auto& g, auto& b) { adj::HueSatLightPixel(r, g, b, 0, 0, -50); }, Px(200, 100, 100, 0), Px(99, 50, 50, 0)},
        {"grey keeps grey", [](auto& r, auto& g, auto& b) { adj::HueSatLightPixel(r, g, b, 90, 50, 0); }, Px(128, 128, 128, 0), Px(128, 128, 128, 0)},
        {"balance", [](auto& r, auto& g, auto& b) { adj::ColorBalancePixel(r, g, b, -25, 127, 255); }, Px(10, 100, 0, 0), Px(0, 227, 255, 0)},
        {"brightness", [](auto& r, auto& g, auto& b) { adj::BrightnessPixel(r, g, b, 25); }, Px(0, 240, 100, 0), Px(25, 255, 125, 0)},
        // k = 2500 div 72 = 34; 128 counts as 129.
        {"contrast +50", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 50); }, Px(138, 128, 100, 0), Px(172, 132, 5, 0)},
        {"contrast +50 clamps", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 50); }, Px(250, 0, 129, 0), Px(255, 0, 132, 0)},
        {"contrast +100", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 100); }, Px(129, 127, 0, 0), Px(254, 2, 0, 0)},
        {"contrast +150 as +100", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 150); }, Px(129, 127, 0, 0), Px(254, 2, 0, 0)},
        {"contrast +105 as +100", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 105); }, Px(129, 127, 0, 0), Px(254, 2, 0, 0)},
        // m = Round(73 x -50 / 100) = Round(-36.5) = -36; Round(-49.5) = -50.
        {"contrast -50 halves to even", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, -50); }, Px(200, 128, 28, 0), Px(164, 128, 78, 0)},
        {"contrast -100", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, -100); }, Px(200, 128, 0, 0), Px(128, 128, 127, 0)},
        {"contrast -1000 as -100", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, -1000); }, Px(200, 128, 0, 0), Px(128, 128, 127, 0)},
        {"contrast 0", [](auto& r, auto& g, auto& b) { adj::ContrastPixel(r, g, b, 0); }, Px(200, 128, 0, 0), Px(200, 128, 0, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TmyPixel p = row.in;
        row.op(p.R, p.G, p.B);
        EXPECT_EQ(p, row.out);
    }
}

TEST(TmyAdjustments, AddClampByte)
{
    const struct {
        int value, amount, expected;
    } rows[] = {{0, 100, 0}, {200, 100, 255}, {10, -25, 0}, {100, 27, 127}};
    for (const auto& row : rows) {
        std::uint8_t v = std::uint8_t(row.value);
        adj::AddClampByte(v, row.amount);
        EXPECT_EQ(v, row.expected) << row.value << " + " << row.amount;
    }
}

TEST(TmyAdjustments, ColourOperationsSkipTransparentPixels)
{
    TmyImagePal image = MakeImage(3, 2, 32,
        {Px(10, 20, 30, 255), Px(9, 9, 9, 0), Px(0, 0, 0, 1),
         Px(255, 255, 255, 128), Px(0, 0, 0, 0), Px(100, 150, 200, 255)});
    adj::InvertImage(image);
    EXPECT_EQ(PixelsOf(image), (std::vector<TmyPixel>{Px(245, 235, 225, 255), Px(9, 9, 9, 0), Px(255, 255, 255, 1),
                                    Px(0, 0, 0, 128), T0, Px(155, 105, 55, 255)}));
    adj::AdjustBrightnessContrast(image, 10, 0, true);
    EXPECT_EQ(image.Pixel(1, 0), Px(9, 9, 9, 0));
    EXPECT_EQ(image.Pixel(2, 1), Px(180, 130, 80, 255));
}

TEST(TmyAdjustments, PaletteStepFollowsTheSetting)
{
    glimt::test::ScopedOptions keep;
    const TmyPixel grey = Px(128, 128, 128, 255), silver = Px(192, 192, 192, 255), light = Px(204, 204, 204, 255);
    auto image = [&] { return MakeImage(3, 2, 4, {grey, T0, grey, grey, grey, T0}); };

    // Brightness +30% adds 76: grey becomes 204, nearest to silver in the default 16 colours.
    Options().PaletteAction = 1;
    TmyImagePal kept = image();
    adj::AdjustBrightnessContrast(kept, 30, 0, false);
    EXPECT_EQ(kept.Pixel(0, 0), silver) << "mapped back to the unchanged palette";
    EXPECT_EQ(kept.Pixel(1, 0), T0);
    EXPECT_EQ(*kept.Palette, TmyPalette(16));

    Options().PaletteAction = 0;
    TmyImagePal changed = image();
    adj::AdjustBrightnessContrast(changed, 30, 0, false);
    EXPECT_EQ(changed.Pixel(0, 0), light);
    EXPECT_EQ(changed.Palette->Colors[7], light);
    EXPECT_EQ(changed.Palette->Colors[0], Px(76, 76, 76, 255)) << "every entry changes";

    Options().PaletteAction = 2;
    for (int answer : {0, 1}) {
        SCOPED_TRACE(answer);
        FakePrompts prompts;
        prompts.answer = answer;
        glimt::ScopedPrompts scope(&prompts);
        TmyImagePal asked = image();
        adj::AdjustBrightnessContrast(asked, 30, 0, false);
        EXPECT_EQ(prompts.asked, 1);
        EXPECT_EQ(asked.Pixel(0, 0), answer == 0 ? light : silver);
        EXPECT_EQ(asked.Palette->Colors[7], answer == 0 ? light : grey);

        TmyImagePal preview = image();
        adj::AdjustBrightnessContrast(preview, 30, 0, true);
        EXPECT_EQ(prompts.asked, 1) << "SkipPalette asks nothing";
        EXPECT_EQ(preview.Pixel(0, 0), light) << "and maps nothing";
        EXPECT_EQ(preview.Palette->Colors[7], grey);

        TmyImagePal inverted = image();
        adj::InvertImage(inverted);
        EXPECT_EQ(prompts.asked, 2) << "invert always runs the palette step";

        TmyImagePal truecolour = MakeImage(3, 2, 24, {grey, T0, grey, grey, grey, T0});
        adj::InvertImage(truecolour);
        EXPECT_EQ(prompts.asked, 2) << "24 bits never ask";
        EXPECT_EQ(truecolour.Pixel(0, 0), Px(127, 127, 127, 255));
    }
}

TEST(TmyAdjustments, AdjustOpacity)
{
    const auto fixture = [](int depth) {
        return MakeImage(3, 2, depth,
            {Px(10, 20, 30, 100), Px(10, 20, 30, 0), Px(10, 20, 30, 255),
             Px(1, 2, 3, 200), Px(4, 5, 6, 25), Px(7, 8, 9, 28)});
    };
    TmyImagePal indexed = fixture(8);
    adj::AdjustOpacity(indexed, -100);
    EXPECT_EQ(PixelsOf(indexed), PixelsOf(fixture(8))) << "below 32 bits nothing changes";

    TmyImagePal gone = fixture(32);
    adj::AdjustOpacity(gone, -100);
    EXPECT_EQ(PixelsOf(gone), std::vector<TmyPixel>(6, T0));

    TmyImagePal image = fixture(32);
    adj::AdjustOpacity(image, -10); // -25
    EXPECT_EQ(PixelsOf(image), (std::vector<TmyPixel>{Px(10, 20, 30, 75), T0, Px(10, 20, 30, 230),
                                   Px(1, 2, 3, 175), T0, Px(7, 8, 9, 3)}));
    image = fixture(32);
    adj::AdjustOpacity(image, 50); // +127
    EXPECT_EQ(image.Pixel(0, 0), Px(10, 20, 30, 227));
    EXPECT_EQ(image.Pixel(1, 0), T0) << "a transparent pixel stays transparent";
    EXPECT_EQ(image.Pixel(0, 1), Px(1, 2, 3, 255));
}

TEST(TmyAdjustments, RotateByAnAngleThatIsNotANumberLeavesNothing)
{
    TmyImagePal image = Letters();
    adj::RotateImage(image, 1, 1, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(PixelsOf(image), std::vector<TmyPixel>(6, T0));
}
