#pragma once
#include "editor/DialogParts.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The Dimension dialog: a new size for the current image of the active document (with an undo
// step), or for the floating selection of that document. One standard square size or a custom
// width and height up to 256. Created once and reused; the last choice stays.
class TfrmDimension : public QDialog, public glimt::TSizeControls {
    Q_OBJECT
public:
    explicit TfrmDimension(QWidget* parent = nullptr);

    // The size to apply, following the controls.
    int NewWidth = 48;
    int NewHeight = 48;

    // Applies the size; false when the icon already holds an image of that size and depth
    // (after the message), in which case nothing changed and the dialog stays open.
    bool btnOKClick();

    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    glimt::TSizeChoice* m_size = nullptr;
};
