#include "editor/PaletteFit.h"

#include "engine/MyImage.h"
#include "engine/Prompts.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

using glimt::test::AnswerPrompts;
using glimt::test::Px;

namespace {

// A 4-bit 3 x 2 image holding one colour that is on no palette entry.
TmyImagePal OffPalette()
{
    TmyImagePal img(2, 3, 4);
    img.Fill(Px(250, 10, 10, 255));
    return img;
}

TEST(ApplyPaletteAction, KeepsOrChangesThePaletteAsSetOrAsAnswered)
{
    struct Case {
        int setting, answer;
        bool asked, newPalette;
    } cases[] = {{1, 0, false, false}, {0, 1, false, true}, {2, 1, true, false}, {2, 0, true, true}};
    for (const Case& k : cases) {
        glimt::test::ScopedOptions keep;
        AnswerPrompts prompts;
        prompts.answer = k.answer;
        glimt::ScopedPrompts install(&prompts);
        Options().PaletteAction = std::uint8_t(k.setting);
        TmyImagePal img = OffPalette();
        const TmyPalette before = *img.Palette;
        EXPECT_TRUE(glimt::ApplyPaletteAction(img));
        EXPECT_EQ(prompts.asked, k.asked ? 1 : 0);
        EXPECT_EQ(!(*img.Palette == before), k.newPalette) << k.setting << "/" << k.answer;
        EXPECT_GE(img.Palette->IndexOf(img.Pixel(2, 1)), 0);
    }
}

TEST(ApplyPaletteAction, LeavesTrueColourAlone)
{
    TmyImagePal img(2, 3, 32);
    img.Fill(Px(250, 10, 10, 77));
    EXPECT_FALSE(glimt::ApplyPaletteAction(img));
    EXPECT_EQ(img.Pixel(0, 0), Px(250, 10, 10, 77));
}

} // namespace
