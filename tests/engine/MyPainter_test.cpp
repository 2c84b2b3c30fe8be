#include "engine/MyPainter.h"

#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

using glimt::test::Px;

TEST(TmyPainter, CompositePixel)
{
    struct Row {
        const char* name;
        TmyPixel top, bottom;
        bool force;
        TmyPixel expected;
    };
    const Row rows[] = {
        {"half red over opaque blue", Px(255, 0, 0, 128), Px(0, 0, 255, 255), false, Px(128, 0, 127, 255)},
        {"half over half", Px(200, 100, 0, 100), Px(0, 100, 200, 100), false, Px(124, 100, 75, 161)},
        {"same colour only gains alpha", Px(10, 10, 10, 100), Px(10, 10, 10, 100), false, Px(10, 10, 10, 161)},
        {"opaque new pixel unforced", Px(50, 60, 70, 255), Px(1, 2, 3, 200), false, Px(50, 60, 70, 255)},
        {"transparent new pixel unforced", Px(50, 60, 70, 0), Px(1, 2, 3, 200), false, Px(50, 60, 70, 0)},
        {"transparent existing even forced", Px(50, 60, 70, 100), Px(1, 2, 3, 0), true, Px(50, 60, 70, 100)},
        {"forced transparent takes the existing", Px(50, 60, 70, 0), Px(10, 20, 30, 200), true, Px(10, 20, 30, 200)},
        {"forced opaque stays", Px(50, 60, 70, 255), Px(10, 20, 30, 200), true, Px(50, 60, 70, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TmyPixel p = row.top;
        TmyPainter::CompositePixel(p, row.bottom, row.force);
        EXPECT_EQ(p, row.expected);
    }
}

TEST(TmyPainter, LerpDividesBy256)
{
    EXPECT_EQ(TmyPainter::LerpChannel(255, 255, 0), 254);
    EXPECT_EQ(TmyPainter::LerpChannel(0, 255, 0), 254);
    EXPECT_EQ(TmyPainter::LerpChannel(200, 100, 128), 149);
    EXPECT_EQ(TmyPainter::BlendOverBackground(Px(255, 255, 255, 0), Px(0, 0, 0, 128)), 0x7E7E7Eu);
    EXPECT_EQ(TmyPainter::BlendOverBackground(Px(0, 0, 0, 0), Px(10, 100, 200, 255)), 0xC76309u);
}

TEST(TmyPainter, HSVToRGB)
{
    struct Row {
        int h, s, v;
        int r, g, b;
    };
    const Row rows[] = {
        {0, 100, 100, 255, 0, 0},
        {120, 100, 100, 0, 255, 0},
        {360, 100, 100, 255, 0, 255}, // sector 6 runs as sector 5 with f = 0
        {30, 100, 100, 255, 128, 0},  // 127.5 rounds to the even 128
        {90, 100, 100, 128, 255, 0},
        {60, 50, 100, 255, 255, 128},
        {41, 100, 100, 255, 174, 0},
        {-360, 0, 50, 128, 128, 128}, // grey: 127.5 -> 128
        {-1, 100, 30, 76, 76, 76},    // any negative hue is grey: 76.5 -> 76, halves to even
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "HSV " << row.h << ", " << row.s << ", " << row.v);
        std::int32_t r = -1, g = -1, b = -1;
        TmyPainter::HSVToRGB(row.h, row.s, row.v, r, g, b);
        EXPECT_EQ(r, row.r);
        EXPECT_EQ(g, row.g);
        EXPECT_EQ(b, row.b);
    }
}

TEST(TmyPainter, RGBToHSV)
{
    struct Row {
        int r, g, b;
        int h, s, v;
    };
    const Row rows[] = {
        {128, 128, 128, -360, 0, 50},
        {255, 255, 0, 60, 100, 100}, // red and green tie: red counts as the largest
        {255, 0, 255, 300, 100, 100},
        {0, 0, 255, 240, 100, 100},
        {0, 255, 255, 180, 100, 100},
        {255, 128, 0, 30, 100, 100},
        {100, 50, 50, 0, 50, 39},
        {0, 0, 0, -360, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "RGB " << row.r << ", " << row.g << ", " << row.b);
        std::int32_t h = 0, s = -1, v = -1;
        TmyPainter::RGBToHSV(float(row.r), float(row.g), float(row.b), h, s, v);
        EXPECT_EQ(h, row.h);
        EXPECT_EQ(s, row.s);
        EXPECT_EQ(v, row.v);
    }
}

TEST(TmyPainter, CheckerColor)
{
    glimt::test::ScopedOptions keep;
    Options().BKSize = 4;
    Options().Color1 = 0x111111;
    Options().Color2 = 0x222222;
    EXPECT_EQ(TmyPainter::CheckerColor(0, 0), 0x222222u);
    EXPECT_EQ(TmyPainter::CheckerColor(3, 3), 0x222222u);
    EXPECT_EQ(TmyPainter::CheckerColor(4, 4), 0x222222u);
    EXPECT_EQ(TmyPainter::CheckerColor(4, 0), 0x111111u);
    EXPECT_EQ(TmyPainter::CheckerColor(0, 4), 0x111111u);
    EXPECT_EQ(TmyPainter::CheckerColor(7, 0), 0x111111u);
}

TEST(TmyPainter, CheckerColorWithCellSizeZeroDoesNotDivideByZero)
{
    glimt::test::ScopedOptions keep;
    Options().BKSize = 0; // a stored 256 reads as 0
    Options().Color1 = 0x111111;
    Options().Color2 = 0x222222;
    EXPECT_EQ(TmyPainter::CheckerColor(1, 0), 0x111111u);
    EXPECT_EQ(TmyPainter::CheckerColor(1, 1), 0x222222u);
}
