#include "engine/ColorQuantizationLibrary.h"

#include <QImage>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

std::vector<TmyColor> Colors(std::initializer_list<TmyColor> list)
{
    return list;
}

} // namespace

TEST(TColorQuantizer, RefusesTreesDeeperThanEight)
{
    EXPECT_THROW(TColorQuantizer(15, 9), std::invalid_argument);
    EXPECT_THROW(TColorQuantizer(15, -1), std::invalid_argument);
    EXPECT_NO_THROW(TColorQuantizer(15, 8));
}

// With two inner nodes on the deepest level, the one created last is folded first; a folded
// leaf then absorbs every later colour whose path reaches it.
TEST(TColorQuantizer, FoldsTheNewestDeepestNodeFirst)
{
    TColorQuantizer q(3, 2);
    q.AddColor(0, 0, 0);
    q.AddColor(0, 0, 64);
    q.AddColor(255, 0, 0);
    EXPECT_EQ(q.LeafCount(), 3);
    q.AddColor(255, 0, 64);
    EXPECT_EQ(q.LeafCount(), 3);
    EXPECT_EQ(q.ExtractColorTable(), Colors({{0, 0, 0}, {0, 0, 64}, {255, 0, 32}}));

    q.AddColor(200, 0, 0);
    EXPECT_EQ(q.LeafCount(), 3);
    EXPECT_EQ(q.ExtractColorTable(), Colors({{0, 0, 0}, {0, 0, 64}, {236, 0, 21}}));
}

TEST(TColorQuantizer, OneLeafKeepsTheTruncatedMean)
{
    TColorQuantizer q(1, 6);
    q.AddColor(10, 20, 30);
    q.AddColor(11, 200, 31);
    q.AddColor(0, 0, 0);
    EXPECT_EQ(q.LeafCount(), 1);
    EXPECT_EQ(q.ExtractColorTable(), Colors({{7, 73, 20}}));
}

// No inner node is left to fold when even the root is a leaf: the loop must stop there.
TEST(TColorQuantizer, ZeroColoursStopsAtTheRoot)
{
    TColorQuantizer q(0, 6);
    q.AddColor(1, 2, 3);
    q.AddColor(200, 100, 50);
    EXPECT_EQ(q.LeafCount(), 1);
    EXPECT_FALSE(q.MergeDeepestNode());
    TColorQuantizer empty(4, 6);
    EXPECT_TRUE(empty.ExtractColorTable().empty());
}

// A bottom-up bitmap is read bottom row first: of the two rows below, the top row's pairs are
// met last, so the last pair of the top row is the one folded.
TEST(TColorQuantizer, ScanReadsTheBottomRowFirst)
{
    QImage bitmap(8, 2, QImage::Format_RGB888);
    for (int k = 0; k < 8; ++k) {
        const int y = k < 4 ? 0 : 1;
        const int x = 2 * (k % 4);
        bitmap.setPixel(x, y, qRgb(32 * k, 0, 0));
        bitmap.setPixel(x + 1, y, qRgb(32 * k, 0, 4));
    }
    TColorQuantizer q(15, 6);
    q.ScanBitmap(bitmap);
    const std::vector<TmyColor> table = q.ExtractColorTable();
    ASSERT_EQ(table.size(), 15u);
    EXPECT_EQ(table[6], (TmyColor{96, 0, 2}));
    EXPECT_EQ(table[7], (TmyColor{128, 0, 0}));
    EXPECT_EQ(table[14], (TmyColor{224, 0, 4}));

    TColorQuantizer none(15, 6);
    none.ScanBitmap(bitmap.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(none.LeafCount(), 0) << "32-bit pictures add nothing";
}
