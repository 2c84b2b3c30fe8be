#pragma once
#include "engine/MyColor.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;

// One node of the octree: an inner node with up to eight children, or a leaf collecting the
// colours whose path reaches it. A node owns its children.
class TOctreeNode {
public:
    bool Leaf = false;
    std::int32_t PixelCount = 0;
    // 64-bit so that pictures of any allowed size keep exact sums.
    std::int64_t SumRed = 0, SumGreen = 0, SumBlue = 0;
    // Next inner node on the reducible list of the same level (null for leaves).
    TOctreeNode* NextReducible = nullptr;
    std::array<std::unique_ptr<TOctreeNode>, 8> Children;
};

// Octree colour reduction: colours are added one at a time, and after each the tree is folded
// until it has at most MaxColorCount leaves. The leaves' mean colours are the palette.
class TColorQuantizer {
public:
    // Throws std::invalid_argument when ColorBits is outside 0..8.
    TColorQuantizer(int maxColorCount, int colorBits);
    ~TColorQuantizer();
    TColorQuantizer(const TColorQuantizer&) = delete;
    TColorQuantizer& operator=(const TColorQuantizer&) = delete;

    // Adds every pixel of a picture. 24-bit pictures and those of 8 bits or fewer are read in
    // the row order of a bottom-up bitmap (bottom row first), each row left to right; pictures
    // of 16 and 32 bits add nothing.
    void ScanBitmap(const QImage& bitmap);
    // Adds one colour, then folds until LeafCount is at most MaxColorCount.
    void AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // Adds one colour without folding.
    void InsertColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // Folds the most recently created inner node of the deepest level that has one into a
    // leaf. False when no inner node is left.
    bool MergeDeepestNode();
    // The leaves' mean colours (sums div count, truncated) in depth-first order, children
    // 0..7; at most 256.
    std::vector<TmyColor> ExtractColorTable() const;

    int LeafCount() const { return m_leafCount; }
    int MaxColorCount() const { return m_maxColorCount; }
    int ColorBits() const { return m_colorBits; }

private:
    std::unique_ptr<TOctreeNode> CreateNode(int level);
    void CollectLeafColors(const TOctreeNode& node, std::vector<TmyColor>& table) const;

    std::unique_ptr<TOctreeNode> m_root;
    int m_leafCount = 0;
    std::array<TOctreeNode*, 8> m_reducibleNodes{};
    int m_maxColorCount;
    int m_colorBits;
};
