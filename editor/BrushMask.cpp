#include "editor/BrushMask.h"

#include "editor/ShapeRaster.h"

#include <algorithm>

namespace glimt {

QImage CreateBrushMask(int shape, int size, int button)
{
    shape = std::clamp(shape, kShapeSquare, kShapeBackslash);
    size = std::clamp(size, 1, 7);
    const QRgb color = MaskColor(button);
    QImage mask(size, size, QImage::Format_RGB32);
    mask.fill(0xFFFFFFFFu);
    switch (shape) {
    case kShapeSquare: mask.fill(color); break;
    case kShapeRound:
        if (size <= 2) {
            mask.fill(color);
        } else if (size == 3) {
            for (const QPoint p : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1), QPoint(2, 1), QPoint(1, 2)})
                mask.setPixel(p, color);
        } else {
            TShapeSpec circle;
            circle.Right = circle.Bottom = size;
            circle.Kind = TShapeKind::Ellipse;
            DrawShape(mask, circle, color, color);
        }
        break;
    case kShapeSlash:
        for (int i = 0; i < size; ++i)
            mask.setPixel(size - 1 - i, i, color);
        break;
    case kShapeBackslash:
        for (int i = 0; i < size; ++i)
            mask.setPixel(i, i, color);
        break;
    }
    return mask;
}

TBrushMasks::TBrushMasks()
{
    for (int button = 0; button < 2; ++button)
        for (int shape = 1; shape <= 4; ++shape)
            for (int size = 1; size <= 7; ++size)
                m_masks[std::size_t(button)][std::size_t(shape - 1)][std::size_t(size - 1)] = CreateBrushMask(shape, size, button);
}

const QImage& TBrushMasks::Mask(int button, int shape, int size) const
{
    return m_masks[button == 0 ? 0 : 1][std::size_t(std::clamp(shape, 1, 4) - 1)][std::size_t(std::clamp(size, 1, 7) - 1)];
}

} // namespace glimt
