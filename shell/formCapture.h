#pragma once
#include <QDialog>

class QTimer;

// The capture frame: a borderless, always-on-top window shaped as a one-pixel frame of the
// size to capture, whose bottom-right pixel follows the mouse pointer. A click on that pixel
// (the only one under the pointer) closes it; its last position is the screen area to grab.
class TfrmCapture : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCapture(QWidget* parent = nullptr);

    QTimer* Timer1 = nullptr;

    // Moves the frame so that its bottom-right pixel lies at `pointer` (screen pixels).
    void FollowPointer(const QPoint& pointer);
    void FormShow();
    void FormClick();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Timer1Timer();
};
