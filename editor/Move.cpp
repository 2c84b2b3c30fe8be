#include "editor/Move.h"

#include <QWidget>

void TMove::BeginDrag(QPoint cursor)
{
    Dragging = true;
    LastCursor = cursor;
}

void TMove::DragTo(QPoint cursor)
{
    if (!Dragging || !Shape)
        return;
    const int hw = Shape->width() / 2;
    const int hh = Shape->height() / 2;
    Cursor = cursor;
    const QPoint wanted = Shape->pos() + (Cursor - LastCursor);
    QPoint pos = wanted;
    if (pos.y() + hh < Bounds.Top)
        pos.setY(Bounds.Top - hh);
    if (pos.x() + hw < Bounds.Left)
        pos.setX(Bounds.Left - hw);
    if (pos.y() + hh > Bounds.Bottom)
        pos.setY(Bounds.Bottom - hh);
    if (pos.x() + hw > Bounds.Right)
        pos.setX(Bounds.Right - hw);
    Shape->move(pos);
    // The cursor runs ahead of a held-back pin by the distance it was held back.
    LastCursor = Cursor + (pos - wanted);
}

QPoint TMove::CenterToImage(int W, int H) const
{
    const int width = Bounds.Right - Bounds.Left;
    const int height = Bounds.Bottom - Bounds.Top;
    if (!Shape || width <= 0 || height <= 0)
        return {};
    return {W * (Shape->x() + Shape->width() / 2) / width, H * (Shape->y() + Shape->height() / 2) / height};
}
