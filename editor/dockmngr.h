#pragma once
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>

class QWidget;

// The rectangle of one docked window in the main window's coordinates (Right = Left + Width,
// Bottom = Top + Height), kept current by the window it describes, and the edges of other
// rectangles its own edges are glued to (null: free). A glue points at an edge field of the
// other record: TopTo at a Bottom, BottomTo at a Top, LeftTo at a Right, RightTo at a Left.
//
// The work area's record is stored mirrored (Left holds its right edge, Top its bottom edge,
// Right its left edge, Bottom its top edge), so that the same rules glue a tool window to the
// inside of the work area.
struct TDockRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    const std::int32_t* TopTo = nullptr;
    const std::int32_t* BottomTo = nullptr;
    const std::int32_t* LeftTo = nullptr;
    const std::int32_t* RightTo = nullptr;

    // The plain rectangle (Left, Top, Right, Bottom) of `r`; the glues are left as they are.
    void SetBounds(const QRect& r);
    // The mirrored rectangle of a work area `r`.
    void SetMirroredBounds(const QRect& r);
};

// Snaps the tool windows to one another and to the inner edges of the work area, keeps them
// glued when the work area changes, and tells how wide the windows docked along the work
// area's left and right inner edges are. It reads no window: it holds pointers to rectangles
// that their windows keep current (and that outlive their registration).
//
// Slots: 1 work area, 2 preview, 3 colour panel, 4 tool palette, 5 explorer. Other slot
// numbers are ignored by every operation.
class TDockMngr {
public:
    static constexpr std::uint8_t SlotWorkArea = 1;
    static constexpr std::uint8_t SlotPreview = 2;
    static constexpr std::uint8_t SlotColors = 3;
    static constexpr std::uint8_t SlotTools = 4;
    static constexpr std::uint8_t SlotExplorer = 5;
    static constexpr std::uint8_t SlotCount = 5;

    void RegisterWindow(std::uint8_t slot, TDockRect* rect);
    void UnregisterWindow(std::uint8_t slot);
    // The registered rectangle of `slot`, or null.
    TDockRect* Window(std::uint8_t slot) const;

    // Recomputes the four glues of `slot`: an edge within 9 pixels of a facing edge of another
    // registered rectangle glues to it, provided the two overlap by at least one pixel on the
    // other axis (the work area needs no overlap). At most one vertical and one horizontal
    // glue; the lowest slot that qualifies wins.
    void SnapWindow(std::uint8_t slot);
    // Where a window of `bounds` in `slot` goes so that its glued edges follow their targets
    // (free edges leave it where it is). The rectangle itself is not changed.
    QPoint PlaceWindow(std::uint8_t slot, const QRect& bounds) const;
    // Moves `form` (a child of the main window) by PlaceWindow.
    void PlaceWindow(std::uint8_t slot, QWidget* form) const;

    // Total width of the chain of windows glued edge to edge from the work area's left (right)
    // inner edge inwards, the widest at each step, at most four deep.
    std::int32_t DockedWidthLeft() const;
    std::int32_t DockedWidthRight() const;
    std::int32_t DockedWidth() const { return DockedWidthLeft() + DockedWidthRight(); }

private:
    static bool Valid(std::uint8_t slot) { return slot >= 1 && slot <= SlotCount; }
    std::int32_t DockedWidth(bool left) const;

    std::array<TDockRect*, SlotCount + 1> m_slots{}; // index 0 unused
};
