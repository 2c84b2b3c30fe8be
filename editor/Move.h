#pragma once
#include <QPoint>

class QWidget;

// Drags a pin (a small widget) with the cursor while keeping its centre inside a rectangle of
// its parent's coordinates, and tells where the pin's centre falls on an image of any size.
class TMove {
public:
    // Left, Top, Right, Bottom in the pin's parent's coordinates.
    struct TBounds {
        int Left = 0, Top = 0, Right = 0, Bottom = 0;
    };

    bool Dragging = false;
    QPoint LastCursor;
    QPoint Cursor;
    QWidget* Shape = nullptr; // not owned
    TBounds Bounds;

    explicit TMove(QWidget* shape) : Shape(shape) {}

    // Starts a drag with the cursor at `cursor` (screen pixels).
    void BeginDrag(QPoint cursor);
    void EndDrag() { Dragging = false; }
    // Moves the pin with the cursor, now at `cursor`. A pin held back at an edge moves again
    // only once the cursor comes back to where the pin stopped.
    void DragTo(QPoint cursor);
    // The pin's centre scaled to an image of W x H pixels (the bounds stand for the whole image).
    QPoint CenterToImage(int W, int H) const;
};
