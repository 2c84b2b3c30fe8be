#include "engine/ColorQuantizationLibrary.h"

#include <QImage>

#include <stdexcept>

TColorQuantizer::TColorQuantizer(int maxColorCount, int colorBits)
    : m_maxColorCount(maxColorCount), m_colorBits(colorBits)
{
    if (colorBits < 0 || colorBits > 8)
        throw std::invalid_argument("octree depth must be 0 to 8");
}

// The tree is freed through its owning pointers; it is at most nine levels deep.
TColorQuantizer::~TColorQuantizer() = default;

std::unique_ptr<TOctreeNode> TColorQuantizer::CreateNode(int level)
{
    auto node = std::make_unique<TOctreeNode>();
    node->Leaf = level == m_colorBits;
    if (node->Leaf) {
        ++m_leafCount;
    } else {
        node->NextReducible = m_reducibleNodes[std::size_t(level)];
        m_reducibleNodes[std::size_t(level)] = node.get();
    }
    return node;
}

void TColorQuantizer::InsertColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::unique_ptr<TOctreeNode>* slot = &m_root;
    for (int level = 0;; ++level) {
        if (!*slot)
            *slot = CreateNode(level);
        TOctreeNode& node = **slot;
        if (node.Leaf) {
            ++node.PixelCount;
            node.SumRed += r;
            node.SumGreen += g;
            node.SumBlue += b;
            return;
        }
        const int mask = 0x80 >> level;
        const int shift = 7 - level;
        const int index = (((r & mask) >> shift) << 2) | (((g & mask) >> shift) << 1) | ((b & mask) >> shift);
        slot = &node.Children[std::size_t(index)];
    }
}

void TColorQuantizer::AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    InsertColor(r, g, b);
    while (m_leafCount > m_maxColorCount && MergeDeepestNode()) {
    }
}

bool TColorQuantizer::MergeDeepestNode()
{
    int level = m_colorBits > 0 ? m_colorBits - 1 : 0;
    while (level > 0 && !m_reducibleNodes[std::size_t(level)])
        --level;
    TOctreeNode* node = m_reducibleNodes[std::size_t(level)];
    if (!node)
        return false;
    m_reducibleNodes[std::size_t(level)] = node->NextReducible;
    node->NextReducible = nullptr;

    std::int64_t red = 0, green = 0, blue = 0;
    int folded = 0;
    for (auto& child : node->Children) {
        if (!child)
            continue;
        node->PixelCount += child->PixelCount;
        red += child->SumRed;
        green += child->SumGreen;
        blue += child->SumBlue;
        ++folded;
        child.reset();
    }
    node->Leaf = true;
    node->SumRed = red;
    node->SumGreen = green;
    node->SumBlue = blue;
    m_leafCount += 1 - folded;
    return true;
}

std::vector<TmyColor> TColorQuantizer::ExtractColorTable() const
{
    std::vector<TmyColor> table;
    if (m_root)
        CollectLeafColors(*m_root, table);
    return table;
}

void TColorQuantizer::CollectLeafColors(const TOctreeNode& node, std::vector<TmyColor>& table) const
{
    if (table.size() >= 256)
        return;
    if (node.Leaf) {
        const std::int64_t n = node.PixelCount > 0 ? node.PixelCount : 1;
        table.push_back({std::uint8_t(node.SumRed / n), std::uint8_t(node.SumGreen / n), std::uint8_t(node.SumBlue / n)});
        return;
    }
    for (const auto& child : node.Children)
        if (child)
            CollectLeafColors(*child, table);
}

void TColorQuantizer::ScanBitmap(const QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    const int depth = bitmap.depth();
    if (depth != 24 && depth > 8)
        return;
    const QImage rgb = bitmap.format() == QImage::Format_RGB888 ? bitmap : bitmap.convertToFormat(QImage::Format_RGB888);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            AddColor(line[3 * x], line[3 * x + 1], line[3 * x + 2]);
    }
}
