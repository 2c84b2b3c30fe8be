#pragma once
#include <QImage>
#include <QRgb>

#include <array>

// Brush masks: size x size pictures (QImage::Format_RGB32) on white whose painted pixels are
// drawn in the mask colour of a mouse button. The painting primitives paint a pixel of a left
// mask where its red channel is low and of a right mask where its green channel is low, so
// white never paints.
namespace glimt {

// The mask colour of the left button (as a Windows colour value 0xFFFF00: red 0) and of the
// right button (0xFF00FF: green 0).
constexpr QRgb kLeftMaskColor = 0xFF00FFFFu;
constexpr QRgb kRightMaskColor = 0xFFFF00FFu;
constexpr QRgb MaskColor(int button)
{
    return button == 0 ? kLeftMaskColor : kRightMaskColor;
}

// Brush shapes.
constexpr int kShapeSquare = 1;
constexpr int kShapeRound = 2;
constexpr int kShapeSlash = 3;     // "/": pixels (s-1-i, i)
constexpr int kShapeBackslash = 4; // "\": pixels (i, i)

// The mask of `shape` 1..4 and `size` 1..7 for `button` 0 (left) or 1 (right). Square: every
// pixel. Round: the pixels whose centres lie strictly inside the circle inscribed in the
// square; size 1 is the single pixel, size 2 the full square and size 3 the cross of five
// pixels (the circle rule would make it a full square too). So the round masks are:
//   3: .#.   4: .##.   5: .###.   6: .####.   7: ..###..
//      ###      ####      #####      ######      .#####.
//      .#.      ####      #####      ######      #######
//               .##.      #####      ######      #######
//                         .###.      ######      #######
//                                    .####.      .#####.
//                                                ..###..
// Values outside the ranges are clamped into them.
QImage CreateBrushMask(int shape, int size, int button);

// The 56 masks of the tool engine, built once: left and right button, shapes 1..4, sizes 1..7.
class TBrushMasks {
public:
    TBrushMasks();
    // The mask of `button` (0 left, anything else right), `shape` and `size` (clamped).
    const QImage& Mask(int button, int shape, int size) const;

private:
    std::array<std::array<std::array<QImage, 7>, 4>, 2> m_masks;
};

} // namespace glimt
