#pragma once
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>

class QTimer;
class TfrmBrush;
class TfrmDesk;
class TfrmTools;

namespace glimt {

// The brush outline drawn for `mask` (a left brush mask, painted where red is 0) at `zoom`
// into a white picture of `size`: a black ring one pixel wide around the zoomed shape, white
// inside, with the shape's cell (0, 0) at picture pixel (1, 1). At zoom 1 nothing is drawn.
QImage BrushOutlinePicture(const QImage& mask, int zoom, QSize size);
// The non-white pixels of `picture`, as one-pixel-high runs.
QRegion OutlineRegion(const QImage& picture);

// Makes `brush` the outline that `tools` shows and hides (its BrushOutline hook). The hook
// does nothing once the brush window is gone.
void ConnectBrushOutline(TfrmTools& tools, TfrmBrush& brush);

// The outline's picture control: paints its picture at its origin.
class TBrushImage : public QWidget {
    Q_OBJECT
public:
    explicit TBrushImage(QWidget* parent);
    QImage Picture;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glimt

// The brush window: the outline of the current brush at the document's zoom over the cell
// under the mouse while a tool with a brush outline is current. It lives in the window that
// holds the document windows (the main window; in tests the document window itself), cut to
// the ring by its mask, and is transparent for the mouse: presses, moves and releases over
// the ring reach the canvas below as its own events. The tool window starts and stops it
// through ShowOutline; Timer1 (and every canvas move, through FollowCursor) places it.
class TfrmBrush : public QWidget {
    Q_OBJECT
public:
    explicit TfrmBrush(QWidget* parent = nullptr);
    ~TfrmBrush() override;

    // Screen pixels from the window's left (top) edge to the left (top) edge of the brush's
    // centre cell, less the one pixel of ring: (mask width div 2) x zoom, (mask height div 2)
    // x zoom.
    int HalfWidth = 0;
    int HalfHeight = 0;
    // The zoom the outline was drawn for (1..10).
    int Zoom = 1;

    glimt::TBrushImage* Image1 = nullptr; // 81 x 81 at (0, 0)
    QTimer* Timer1 = nullptr;             // 200 ms

    // Redraws the outline of `Mask` at `Zoom` and cuts the window to it.
    void SetBrushShape(const QImage& Mask, int Zoom);
    // The window's shape: the ring's pixels in window coordinates (empty at zoom 1).
    const QRegion& WindowRegion() const { return m_region; }
    // The tool window's BrushOutline: a mask shows the outline (redrawn, timer on); null
    // switches the timer off and hides the window.
    void ShowOutline(const QImage* mask, int zoom);
    // Places the window for the cursor at QCursor::pos().
    void Timer1Timer();
    // Places the window so that the brush's centre cell covers the canvas cell under the
    // screen position `cursor`, or hides it when `cursor` is not strictly inside the visible
    // part of the active document's canvas. Nothing happens without an active document.
    void FollowCursor(QPoint cursor);

private:
    void BuildWindowRegion();
    // Stacks the window right above the child of its parent that holds `canvas` (the work
    // area): what lies over the work area, such as docked tool windows, covers the outline too.
    void StackOver(const QWidget* canvas);

    QRegion m_region;
};

// The single brush window (null while none exists).
TfrmBrush* frmBrush();
