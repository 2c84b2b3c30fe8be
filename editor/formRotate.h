#pragma once
#include "editor/Move.h"
#include "engine/MyImage.h"

#include <QDialog>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class Tpreview;

// The Free Rotate dialog: turns the current image of the active document, or the floating
// selection when it belongs to that document, by whole degrees to the left or right about a
// centre placed on a small pad, previewing the result on a copy. Created once and reused; the
// angle, direction and centre stay from one use to the next.
class TfrmRotate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRotate(QWidget* parent = nullptr);

    // The rotated copy shown in the preview.
    TmyImagePal WorkImage{1, 1, 32};
    // Drags the centre pin over the pad.
    std::unique_ptr<TMove> CenterDrag;

    // Picks the image to turn (the floating selection of the active document, else its current
    // image) and previews it.
    void FormShow();
    // Redraws the preview from the image to turn.
    void rbLeftClick();
    // Turns the image; false (after the message) when the angle is no number.
    bool btnOKClick();
    void ResetCenterPin();
    void Edit1Change();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    // The pin's mouse handlers (also run by the pad), positions in the pin's or pad's pixels.
    void spCenterMouseDown(Qt::MouseButton button, QPoint cursor);
    void spCenterMouseMove(Qt::MouseButtons buttons, QPoint cursor);
    void spCenterMouseUp(Qt::MouseButton button);
    void pbCenterMouseDown(Qt::MouseButton button, QPoint at, QPoint cursor);

    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    QLabel* lblDirection = nullptr;
    QRadioButton* rbLeft = nullptr;
    QRadioButton* rbRight = nullptr;
    QLabel* lblAngle = nullptr;
    QLineEdit* Edit1 = nullptr;
    QWidget* SpinButton1 = nullptr;
    QLabel* lblCenter = nullptr;
    QFrame* pnlCenter = nullptr;
    QWidget* pbCenter = nullptr;
    QWidget* spCenter = nullptr;
    QGroupBox* grpPreview = nullptr;
    // The turned copy at its real size; a copy larger than the box is panned by dragging it.
    Tpreview* preview1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The image the dialog turns, and whether it is the floating selection's; null without a
    // document.
    TmyImagePal* Source(bool* isSelection = nullptr) const;
    // The signed angle (negative to the left); false when the edit holds no number.
    bool SignedAngle(int& angle) const;
};
