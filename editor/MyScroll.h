#pragma once
#include <QAbstractScrollArea>
#include <QImage>
#include <QWidget>

class QTimer;

// A flat slider: a lowered track with a small thumb and a picture (a colour ramp) stretched over
// its face. The thumb follows the cursor through a 10 ms timer while a button is down on it.
// Position runs from 0 to Max while dragging; SetPosition clamps to Min..Max.
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
    // Presses and releases on the thumb, in this control's coordinates.
    void OnMouseDown(Qt::MouseButton button, int x, int y);
    void OnMouseUp(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TimerTick();
    void PlaceThumb();

    int m_position = 0;
    QWidget* m_thumb;
    int m_dragOffset = 0;
    QTimer* m_timer;
    QImage m_picture;
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
