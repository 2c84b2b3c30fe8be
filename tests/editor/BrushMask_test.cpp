#include "editor/BrushMask.h"
#include "tests/support/PixelArt.h"

#include <gtest/gtest.h>

using namespace glimt;

namespace {

std::string Art(const QImage& mask, QRgb color)
{
    return test::PixelArt(mask, {{0xFFFFFFFFu, '.'}, {color, '#'}}).toStdString();
}

} // namespace

TEST(BrushMask, RoundMasksAreRoundSymmetricAndInsideTheSquare)
{
    const char* expected[8] = {
        nullptr,
        "#",
        "##\n##",
        ".#.\n###\n.#.",
        ".##.\n####\n####\n.##.",
        ".###.\n#####\n#####\n#####\n.###.",
        ".####.\n######\n######\n######\n######\n.####.",
        "..###..\n.#####.\n#######\n#######\n#######\n.#####.\n..###..",
    };
    for (int size = 1; size <= 7; ++size) {
        SCOPED_TRACE(size);
        const QImage mask = CreateBrushMask(kShapeRound, size, 0);
        ASSERT_EQ(mask.size(), QSize(size, size));
        EXPECT_EQ(Art(mask, kLeftMaskColor), expected[size]);
        EXPECT_EQ(mask, mask.mirrored(true, false));
        EXPECT_EQ(mask, mask.mirrored(false, true));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                EXPECT_EQ(mask.pixel(x, y), mask.pixel(y, x)) << "the same across the diagonal";
        if (size >= 3) {
            EXPECT_NE(mask, CreateBrushMask(kShapeSquare, size, 0)) << "round is not square";
        }
    }
}

TEST(BrushMask, SquareAndDiagonals)
{
    EXPECT_EQ(Art(CreateBrushMask(kShapeSquare, 3, 1), kRightMaskColor), "###\n###\n###");
    EXPECT_EQ(Art(CreateBrushMask(kShapeSlash, 4, 0), kLeftMaskColor), "...#\n..#.\n.#..\n#...");
    EXPECT_EQ(Art(CreateBrushMask(kShapeBackslash, 3, 1), kRightMaskColor), "#..\n.#.\n..#");
    for (int shape = 1; shape <= 4; ++shape)
        EXPECT_EQ(Art(CreateBrushMask(shape, 1, 0), kLeftMaskColor), "#") << shape;
}

TEST(BrushMask, MaskColoursAndTheSetOfAll)
{
    EXPECT_EQ(qRed(kLeftMaskColor), 0);
    EXPECT_EQ(qGreen(kLeftMaskColor), 255);
    EXPECT_EQ(qGreen(kRightMaskColor), 0);
    EXPECT_EQ(qRed(kRightMaskColor), 255);
    const TBrushMasks masks;
    for (int button = 0; button < 2; ++button)
        for (int shape = 1; shape <= 4; ++shape)
            for (int size = 1; size <= 7; ++size)
                EXPECT_EQ(masks.Mask(button, shape, size), CreateBrushMask(shape, size, button));
    EXPECT_EQ(masks.Mask(0, 9, 0), CreateBrushMask(4, 1, 0)) << "out-of-range values are clamped";
}
