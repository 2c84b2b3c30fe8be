#pragma once
#include <QPoint>

class TfrmDesk;

// Where a selection layer dragged out of its document window may land, and what a drop there
// does. The layer is dragged with the mouse held on it; these decide, from the cursor's screen
// position, whether it is over another document's canvas or over the empty work area in which
// the document windows live.
namespace glimt {

struct TSelectionDropTarget {
    enum Kind { None, Desk, WorkArea };
    Kind kind = None;
    TfrmDesk* desk = nullptr; // the document window under the cursor (kind Desk)
    QPoint canvasPos;         // the cursor in that window's canvas pixels (kind Desk)
};

// What lies under screen point `global` for a layer dragged out of `source`: the canvas of
// another document window (topmost first), the work area's empty space, or nothing (the
// source window itself, a window's frame or tool bar, anything outside the work area).
TSelectionDropTarget FindSelectionDropTarget(const TfrmDesk& source, QPoint global);

// Moves the floating selection into the document window of `slot` with its top-left corner
// at canvas pixel (X, Y), rounded down to whole cells: the window that held it hides its
// layer, the target becomes active and shows the selection there.
void MoveSelectionToDesk(int slot, int X, int Y);

// A new untitled, unsaved document with one blank image of the selection's size and depth,
// the selection floating at its top-left corner. The Selection tool is chosen first so that
// opening the window does not merge the selection into the document it came from. False when
// no window could be opened (the selection stays where it was).
bool DropSelectionOnWorkArea();

} // namespace glimt
