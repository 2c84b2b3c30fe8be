#include "editor/dockmngr.h"

#include <QWidget>

namespace {

// Edges this close or closer (in pixels) snap together.
constexpr std::int32_t kSnapReach = 10;

bool Near(std::int32_t edge, std::int32_t other)
{
    return edge - kSnapReach < other && other < edge + kSnapReach;
}

} // namespace

void TDockRect::SetBounds(const QRect& r)
{
    Left = r.x();
    Top = r.y();
    Right = r.x() + r.width();
    Bottom = r.y() + r.height();
}

void TDockRect::SetMirroredBounds(const QRect& r)
{
    Left = r.x() + r.width();
    Top = r.y() + r.height();
    Right = r.x();
    Bottom = r.y();
}

void TDockMngr::RegisterWindow(std::uint8_t slot, TDockRect* rect)
{
    if (Valid(slot))
        m_slots[slot] = rect;
}

void TDockMngr::UnregisterWindow(std::uint8_t slot)
{
    if (Valid(slot))
        m_slots[slot] = nullptr;
}

TDockRect* TDockMngr::Window(std::uint8_t slot) const
{
    return Valid(slot) ? m_slots[slot] : nullptr;
}

void TDockMngr::SnapWindow(std::uint8_t slot)
{
    TDockRect* a = Window(slot);
    if (!a)
        return;
    a->TopTo = a->BottomTo = a->LeftTo = a->RightTo = nullptr;
    bool vertical = false;
    bool horizontal = false;
    for (std::uint8_t i = 1; i <= SlotCount && !(vertical && horizontal); ++i) {
        const TDockRect* o = m_slots[i];
        if (!o || i == slot)
            continue;
        const bool workArea = i == SlotWorkArea;
        const bool overlapX = workArea || (a->Left < o->Right && o->Left < a->Right);
        const bool overlapY = workArea || (a->Top < o->Bottom && o->Top < a->Bottom);
        if (!vertical && Near(a->Top, o->Bottom) && overlapX) {
            a->TopTo = &o->Bottom;
            vertical = true;
        }
        if (!horizontal && Near(a->Left, o->Right) && overlapY) {
            a->LeftTo = &o->Right;
            horizontal = true;
        }
        if (!vertical && Near(a->Bottom, o->Top) && overlapX) {
            a->BottomTo = &o->Top;
            vertical = true;
        }
        if (!horizontal && Near(a->Right, o->Left) && overlapY) {
            a->RightTo = &o->Left;
            horizontal = true;
        }
    }
}

QPoint TDockMngr::PlaceWindow(std::uint8_t slot, const QRect& bounds) const
{
    QPoint p = bounds.topLeft();
    const TDockRect* a = Window(slot);
    if (!a)
        return p;
    if (a->TopTo)
        p.setY(*a->TopTo);
    else if (a->BottomTo)
        p.setY(*a->BottomTo - bounds.height());
    if (a->LeftTo)
        p.setX(*a->LeftTo);
    else if (a->RightTo)
        p.setX(*a->RightTo - bounds.width());
    return p;
}

void TDockMngr::PlaceWindow(std::uint8_t slot, QWidget* form) const
{
    if (!form || !Window(slot))
        return;
    const QPoint p = PlaceWindow(slot, form->geometry());
    if (p != form->pos())
        form->move(p);
}

std::int32_t TDockMngr::DockedWidthLeft() const
{
    return DockedWidth(true);
}

std::int32_t TDockMngr::DockedWidthRight() const
{
    return DockedWidth(false);
}

std::int32_t TDockMngr::DockedWidth(bool left) const
{
    const TDockRect* work = m_slots[SlotWorkArea];
    if (!work)
        return 0;
    // The work area's left inner edge is its mirrored Right, its right inner edge its Left.
    const std::int32_t* edge = left ? &work->Right : &work->Left;
    std::int32_t sum = 0;
    for (int depth = 0; depth < 4; ++depth) {
        const TDockRect* widest = nullptr;
        for (std::uint8_t i = SlotPreview; i <= SlotCount; ++i) {
            const TDockRect* r = m_slots[i];
            if (!r || (left ? r->LeftTo : r->RightTo) != edge)
                continue;
            if (!widest || r->Right - r->Left > widest->Right - widest->Left)
                widest = r;
        }
        if (!widest)
            continue;
        sum += widest->Right - widest->Left;
        edge = left ? &widest->Right : &widest->Left;
    }
    return sum;
}
