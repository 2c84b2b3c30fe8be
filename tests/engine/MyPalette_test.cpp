#include "engine/MyPalette.h"

#include <gtest/gtest.h>

TEST(TmyPalette, CreateAndDefaults)
{
    const TmyPalette three(3);
    ASSERT_EQ(three.Count(), 3);
    for (const TmyPixel& p : three.Colors)
        EXPECT_EQ(p, TmyPixel::CreateRGBA(0, 0, 0, 255));
    EXPECT_EQ(TmyPalette(0).Count(), 0);
    EXPECT_EQ(TmyPalette(-5).Count(), 0);

    const TmyPalette p16(16);
    EXPECT_EQ(p16.Colors[7], TmyPixel::CreateRGBA(128, 128, 128, 255));
    EXPECT_EQ(p16.Colors[14], TmyPixel::CreateRGBA(192, 192, 192, 255));

    const TmyPalette p256(256);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(p256.Colors[16 * k].GetColor(), 0u);
        EXPECT_EQ(p256.Colors[16 * k + 15].GetColor(), 0xFFFFFFu);
    }
    EXPECT_EQ(p256.Colors[7], TmyPixel::CreateRGBA(240, 44, 0, 255));
    EXPECT_EQ(p256.Colors[88], TmyPixel::CreateRGBA(18, 255, 32, 255));
    EXPECT_EQ(p256.Colors[254], TmyPixel::CreateRGBA(255, 209, 218, 255));
}

TEST(TmyPalette, Searches)
{
    const TmyPalette p16(16);
    const TmyPixel grey = p16.NearestColor(TmyPixel::CreateRGBA(128, 128, 128, 9));
    EXPECT_EQ(grey, TmyPixel::CreateRGBA(128, 128, 128, 9)) << "alpha of the input is kept";
    EXPECT_EQ(p16.NearestColor(TmyPixel::CreateRGBA(0, 0, 0, 0)), TmyPixel::CreateRGBA(0, 0, 0, 0));
    // (64,0,0) is 64 from black (0) and 64 from maroon (1): the lower index wins.
    EXPECT_EQ(p16.NearestIndex(TmyPixel::CreateRGBA(64, 0, 0, 255)), 0);
    EXPECT_EQ(p16.IndexOf(TmyPixel::CreateRGBA(255, 255, 255, 255)), 15);
    EXPECT_EQ(p16.IndexOf(TmyPixel::CreateRGBA(255, 255, 255, 0)), -1);
    EXPECT_EQ(p16.IndexOfColor(0xFFFFFF), 15);
    EXPECT_EQ(TmyPalette(0).IndexOf(TmyPixel{}), -1);
    EXPECT_TRUE(p16.ContainsRGB(TmyPixel::CreateRGBA(128, 0, 0, 0), 1));
    EXPECT_FALSE(p16.ContainsRGB(TmyPixel::CreateRGBA(128, 0, 0, 0), 0));
    EXPECT_FALSE(p16.ContainsRGB(TmyPixel::CreateRGBA(0, 0, 0, 0), -1));
}
