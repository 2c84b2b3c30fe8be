#include "editor/Effects.h"

#include "engine/MyImage.h"
#include "engine/myadjustments.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(Effects, EachFilterTagUsesThePresetOfItsNameAndEveryPresetOnce)
{
    struct Row {
        int tag;
        const char* preset;
    };
    const Row rows[] = {{12, "Emboss Color"}, {14, "Emboss Medium"}, {16, "Average"},       {17, "Blur"},
                        {19, "Blur More"},    {20, "Motion Blur"},   {21, "Find Edges (Vertical)"},
                        {27, "Contour"},      {29, "Sharpen Less"},  {30, "Sharpen More"},  {37, "Shake"},
                        {38, "Shake Less"},   {40, "Scene"}};
    for (const Row& r : rows)
        EXPECT_EQ(std::string(FilterPresetNames[std::size_t(glimt::EffectPresetIndex(r.tag))]), r.preset) << r.tag;
    std::set<int> used;
    for (int tag = 12; tag <= 40; ++tag)
        used.insert(glimt::EffectPresetIndex(tag));
    EXPECT_EQ(used.size(), 29u);
    EXPECT_EQ(*used.begin(), 0);
    EXPECT_EQ(*used.rbegin(), 28);
    for (int tag : {0, 1, 11, 41, 50, 51, -1})
        EXPECT_EQ(glimt::EffectPresetIndex(tag), -1) << tag;
}

TEST(Effects, OnlyTheColourOperationsSkipThePaletteFit)
{
    EXPECT_TRUE(glimt::EffectFitsPalette(0));
    for (int tag = 1; tag <= 11; ++tag)
        EXPECT_FALSE(glimt::EffectFitsPalette(tag)) << tag;
    for (int tag = 12; tag <= 50; ++tag)
        EXPECT_TRUE(glimt::EffectFitsPalette(tag)) << tag;
}

TEST(Effects, TagsRunTheirOperations)
{
    TmyImagePal image(2, 3, 32); // 3 wide, 2 high
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(10 * x + 1), std::uint8_t(50 * y + 2), 77, 255);
    const TFilterKernel identity = [] {
        TFilterKernel k;
        k.Weights[12] = 1;
        return k;
    }();

    struct Row {
        int tag;
        void (*expected)(TmyImagePal&);
    };
    const Row rows[] = {
        {1, [](TmyImagePal& im) { TmyAdjustments::ColorizeImage(im, 0); }},
        {8, [](TmyImagePal& im) { TmyAdjustments::ColorizeImage(im, 6); }},
        {9, [](TmyImagePal& im) { TmyAdjustments::SwapChannels(im, 1); }},
        {11, [](TmyImagePal& im) { TmyAdjustments::SwapChannels(im, 3); }},
        {43, [](TmyImagePal& im) { TmyAdjustments::RotateLeft90(im); }},
        {45, [](TmyImagePal& im) {
             TmyAdjustments::FlipHorizontal(im);
             TmyAdjustments::FlipVertical(im);
         }},
        {49, [](TmyImagePal& im) { TmyAdjustments::ShiftDown(im, 1); }},
        {50, [](TmyImagePal& im) { TmyFilter::DropShadow(im); }},
        {0, [](TmyImagePal&) {}}, // the identity kernel
        {99, [](TmyImagePal&) {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tag);
        TmyImagePal got = image, want = image;
        glimt::ApplyEffectTag(r.tag, got, identity, true);
        r.expected(want);
        EXPECT_EQ(got.Width(), want.Width());
        EXPECT_TRUE(got.SamePixels(want));
    }
}
