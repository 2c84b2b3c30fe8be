#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QWidget>

class QTimer;

// A flat slider: a lowered track with a small thumb and a picture (a colour ramp) stretched over
// its face. The thumb follows the cursor through a 10 ms timer while a button is down on it.
// Position runs from 0 to Max while dragging; SetPosition clamps to Min..Max.
//
// Every way of moving it is bracketed by OnMouseDown and OnMouseUp, so that a user of the
// slider sees one edit however it was made: a drag of the thumb (its press and release), a
// click on the track (its press and release), one notch of the wheel, and a key (its press
// and its release; arrows step by 1, Page Up and Page Down by a sixteenth of Max, Home and
// End go to the ends).
class TmyScroll : public QWidget {
    Q_OBJECT
public:
    explicit TmyScroll(QWidget* parent = nullptr);

    int Min = 0;
    int Max = 100;
    int Position() const { return m_position; }
    // Nothing when unchanged; else clamps, fires OnChange and moves the thumb.
    void SetPosition(int value);
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

    QWidget* Thumb() const { return m_thumb; }
    QTimer* DragTimer() const { return m_timer; }
    // One step of the drag timer: moves the thumb under the cursor's x (in this control's
    // coordinates, already less the drag offset) and reports the new Position.
    void DragStep(int cursorX);

signals:
    void OnChange();
    // The start and the end of one interaction, in this control's coordinates (the thumb's
    // place, and Qt::NoButton, for the wheel and the keys).
    void OnMouseDown(Qt::MouseButton button, int x, int y);
    void OnMouseUp(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TimerTick();
    void PlaceThumb();
    // The position a key moves to, or -1 for keys the slider does not use.
    int KeyTarget(int key) const;
    // Ends a key's interaction that is still open.
    void EndKeyInteraction();

    int m_position = 0;
    QWidget* m_thumb;
    int m_dragOffset = 0;
    QTimer* m_timer;
    QImage m_picture;
    bool m_trackPressed = false; // a button went down on the track, not the thumb
    bool m_thumbPressed = false; // a button went down on the thumb: a drag runs
    int m_wheelAngle = 0;        // wheel turn not yet worth a notch, in eighths of a degree
    int m_keyDown = 0;           // the key whose interaction is open, 0 when none
};

// The document window's scroll box: its viewport holds the canvas, placed by the window
// itself; OnScroll fires after every change of a scroll position so the window can redraw.
class TMyScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TMyScrollBox(QWidget* parent = nullptr);
    void DoScroll();
    // The scroll ranges and page steps for content of `size` pixels in the viewport.
    void SetContentSize(QSize size);

signals:
    void OnScroll();

protected:
    void scrollContentsBy(int dx, int dy) override;
};
