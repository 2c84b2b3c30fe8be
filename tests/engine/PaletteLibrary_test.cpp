#include "engine/PaletteLibrary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

TmyPixel Opaque(int r, int g, int b)
{
    return TmyPixel::CreateRGBA(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 255);
}

// An image of the given width whose pixels are `pixels` in row order.
TmyImagePal Image(int width, const std::vector<TmyPixel>& pixels, int depth = 32)
{
    TmyImagePal image(int(pixels.size()) / width, width, depth);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        image.Pixel(int(i) % width, int(i) / width) = pixels[i];
    return image;
}

} // namespace

TEST(TPaletteLibrary, RefusesOtherDepths)
{
    for (int bits : {0, 2, 16, 33, -1}) {
        SCOPED_TRACE(bits);
        TmyImagePal image = Image(3, {Opaque(1, 2, 3), Opaque(4, 5, 6), TmyPixel{}, Opaque(9, 9, 9), {}, {}});
        const TmyImagePal before = image;
        EXPECT_THROW(TPaletteLibrary::ConvertImageDepth(image, bits), std::invalid_argument);
        EXPECT_TRUE(image.SamePixels(before));
        EXPECT_EQ(image.BitDepth, 32);
    }
}

TEST(TPaletteLibrary, TransparentImageToFourBits)
{
    TmyImagePal image(2, 3, 32);
    TPaletteLibrary::ConvertImageDepth(image, 4);
    ASSERT_TRUE(image.Palette);
    EXPECT_EQ(image.BitDepth, 4);
    EXPECT_TRUE(image.Palette->Equals(TmyPalette(16))) << "entry 0 black, the rest the defaults";
    for (std::size_t i = 0; i < image.PixelCount(); ++i)
        EXPECT_EQ(image.Data()[i], TmyPixel{});
}

// Four colours in four cells come back exactly, in the tree's order (by the interleaved bits,
// not by the order in the image); entry 0 of the defaults was overwritten, so black goes to
// entry 4.
TEST(TPaletteLibrary, FourColoursStayExact)
{
    const std::vector<TmyPixel> pixels = {Opaque(200, 10, 10), Opaque(10, 200, 10), Opaque(10, 10, 200),
                                          Opaque(10, 200, 10), Opaque(200, 200, 200), Opaque(200, 10, 10)};
    TmyImagePal image = Image(3, pixels);
    TPaletteLibrary::ConvertImageDepth(image, 4);
    const TmyPalette& pal = *image.Palette;
    EXPECT_EQ(pal.Colors[0], Opaque(10, 10, 200));
    EXPECT_EQ(pal.Colors[1], Opaque(10, 200, 10));
    EXPECT_EQ(pal.Colors[2], Opaque(200, 10, 10));
    EXPECT_EQ(pal.Colors[3], Opaque(200, 200, 200));
    EXPECT_EQ(pal.Colors[4], Opaque(0, 0, 0));
    EXPECT_EQ(pal.Colors[5], TmyPalette(16).Colors[5]);
    EXPECT_EQ(pal.Colors[15], Opaque(255, 255, 255));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(image.Data()[i], pixels[i]) << i;
}

TEST(TPaletteLibrary, TenColoursInTenCellsToEightBits)
{
    // Listed A..J; the tree orders them G F E H C B J A I D.
    const std::vector<TmyPixel> pixels = {
        Opaque(200, 10, 10), Opaque(10, 200, 10), Opaque(10, 10, 200), Opaque(200, 200, 200), Opaque(100, 10, 10),
        Opaque(10, 100, 10), Opaque(10, 10, 100), Opaque(100, 100, 100), Opaque(200, 100, 10), Opaque(10, 200, 100)};
    TmyImagePal image = Image(5, pixels);
    TPaletteLibrary::ConvertImageDepth(image, 8);
    const TmyPalette& pal = *image.Palette;
    const int order[10] = {6, 5, 4, 7, 2, 1, 9, 0, 8, 3};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(pal.Colors[std::size_t(i)], pixels[std::size_t(order[i])]) << i;
    const TmyPalette defaults(256);
    for (int i = 10; i < 256; ++i)
        EXPECT_EQ(pal.Colors[std::size_t(i)], defaults.Colors[std::size_t(i)]) << "black is at 16 already: " << i;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(image.Data()[i], pixels[i]);
}

// Two colours in one cell share their mean, but a default entry that equals a pixel exactly
// is nearer than that mean.
TEST(TPaletteLibrary, DefaultEntryNearerThanTheCellMean)
{
    TmyImagePal image = Image(3, {Opaque(240, 44, 0), Opaque(243, 47, 3), Opaque(243, 47, 3),
                                  Opaque(0, 0, 255), Opaque(0, 0, 255), Opaque(240, 44, 0)});
    TPaletteLibrary::ConvertImageDepth(image, 8);
    const TmyPalette& pal = *image.Palette;
    EXPECT_EQ(pal.Colors[0], Opaque(0, 0, 255));
    EXPECT_EQ(pal.Colors[1], Opaque(241, 45, 1));
    EXPECT_EQ(pal.Colors[7], Opaque(240, 44, 0)) << "a default entry";
    EXPECT_EQ(image.Pixel(0, 0), Opaque(240, 44, 0));
    EXPECT_EQ(image.Pixel(1, 0), Opaque(241, 45, 1));
    EXPECT_EQ(image.Pixel(0, 1), Opaque(0, 0, 255));
}

TEST(TPaletteLibrary, OneBitKeepsTheMean)
{
    struct Row {
        const char* name;
        std::vector<TmyPixel> pixels;
        TmyPixel entry0, entry1;
    };
    const std::vector<Row> rows = {
        // (30+0+90+0+255+0) div 6 etc.; the transparent pixels count as black.
        {"mean and black", {Opaque(30, 60, 90), TmyPixel{}, Opaque(90, 0, 30), {}, Opaque(255, 255, 255), {}},
         Opaque(62, 52, 62), Opaque(0, 0, 0)},
        {"black mean", {Opaque(0, 0, 0), TmyPixel{}, Opaque(0, 0, 0), Opaque(0, 0, 0), {}, Opaque(0, 0, 0)},
         Opaque(0, 0, 0), Opaque(255, 255, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image = Image(3, row.pixels);
        TPaletteLibrary::ConvertImageDepth(image, 1);
        ASSERT_EQ(image.Palette->Count(), 2);
        EXPECT_EQ(image.Palette->Colors[0], row.entry0);
        EXPECT_EQ(image.Palette->Colors[1], row.entry1);
    }
}

TEST(TPaletteLibrary, AlphaThresholdsOfTheDepthChange)
{
    // A 127 drops out; A 128 is laid over white: (255 x 127 + 128 x C) div 255.
    const std::vector<TmyPixel> pixels = {TmyPixel::CreateRGBA(10, 20, 30, 127), TmyPixel::CreateRGBA(0, 100, 255, 128),
                                          Opaque(5, 5, 5), TmyPixel::CreateRGBA(255, 0, 0, 254),
                                          TmyPixel::CreateRGBA(9, 9, 9, 0), TmyPixel::CreateRGBA(50, 60, 70, 200)};
    TmyImagePal to24 = Image(3, pixels);
    TPaletteLibrary::ConvertImageDepth(to24, 24);
    EXPECT_FALSE(to24.Palette);
    EXPECT_EQ(to24.BitDepth, 24);
    const std::vector<TmyPixel> flat = {TmyPixel{}, Opaque(127, 177, 255), Opaque(5, 5, 5), Opaque(255, 1, 1),
                                        TmyPixel{}, Opaque(94, 102, 109)};
    for (std::size_t i = 0; i < flat.size(); ++i)
        EXPECT_EQ(to24.Data()[i], flat[i]) << i;

    TmyImagePal to32 = to24;
    TPaletteLibrary::ConvertImageDepth(to32, 32);
    EXPECT_TRUE(to32.SamePixels(to24)) << "already settled";

    TmyImagePal eight = Image(3, pixels, 8);
    TPaletteLibrary::ConvertImageDepth(eight, 32);
    EXPECT_FALSE(eight.Palette);
    const std::uint8_t alphas[6] = {255, 255, 255, 255, 0, 255};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(eight.Data()[i].A, alphas[i]) << i;
        EXPECT_TRUE(eight.Data()[i].SameRGB(pixels[i])) << "colour kept below 32 bits: " << i;
    }

    TmyImagePal four = Image(3, pixels);
    TPaletteLibrary::ConvertImageDepth(four, 4);
    EXPECT_EQ(four.Data()[0], TmyPixel{}) << "transparent pixels take the black entry";
    EXPECT_EQ(four.Data()[1], Opaque(127, 177, 255));
}

TEST(TPaletteLibrary, OwnDepthBuildsAFreshPalette)
{
    TmyImagePal image(2, 3, 4);
    for (TmyPixel& c : image.Palette->Colors)
        c.SetRGB(1, 2, 3);
    image.Fill(Opaque(0, 128, 128));
    image.Pixel(2, 1) = Opaque(255, 255, 0);
    TPaletteLibrary::ConvertImageDepth(image, 4);
    EXPECT_EQ(image.Palette->Colors[0], Opaque(0, 128, 128));
    EXPECT_EQ(image.Palette->Colors[1], Opaque(255, 255, 0));
    EXPECT_EQ(image.Palette->Colors[2], Opaque(0, 0, 0));
    EXPECT_EQ(image.Palette->Colors[3], TmyPalette(16).Colors[3]);
}

// The mapping must pick what TmyPalette::NearestColor picks, ties included, for every pixel.
TEST(TPaletteLibrary, MappingMatchesNearestColor)
{
    TmyImagePal image(97, 103, 32);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        seed = seed * 1103515245u + 12345u;
        image.Data()[i] = TmyPixel::CreateRGBA(std::uint8_t(seed >> 8), std::uint8_t(seed >> 16), std::uint8_t(seed >> 24), std::uint8_t(seed));
    }
    TmyPalette scattered(256);
    for (int i = 0; i < 256; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Every fourth entry repeats an earlier one, so that ties must go to the lower index.
        scattered.Colors[std::size_t(i)] = i % 4 == 3 ? scattered.Colors[std::size_t(i / 2)]
                                                      : TmyPixel::CreateRGBA(std::uint8_t(seed >> 8), std::uint8_t(seed >> 16), std::uint8_t(seed >> 24), 255);
    }
    TmyPalette few(3);
    few.Colors = {TmyPixel::CreateRGBA(0, 0, 0, 255), TmyPixel::CreateRGBA(255, 255, 255, 255), TmyPixel::CreateRGBA(128, 128, 128, 255)};
    for (const TmyPalette& palette : {TmyPalette(16), TmyPalette(256), scattered, few}) {
        SCOPED_TRACE(palette.Count());
        TmyImagePal mapped = image;
        TPaletteLibrary::MapToPalette(mapped, palette);
        EXPECT_FALSE(mapped.Palette.has_value()) << "own palette not touched";
        for (std::size_t i = 0; i < image.PixelCount(); ++i)
            ASSERT_EQ(mapped.Data()[i], palette.NearestColor(image.Data()[i])) << i;
    }

    TmyImagePal own(2, 3, 1);
    own.Fill(Opaque(200, 200, 200));
    own.Pixel(0, 0) = TmyPixel::CreateRGBA(20, 20, 20, 0);
    TPaletteLibrary::MapToOwnPalette(own);
    EXPECT_EQ(own.Pixel(1, 0), Opaque(255, 255, 255));
    EXPECT_EQ(own.Pixel(0, 0), TmyPixel::CreateRGBA(0, 0, 0, 0));
}
