#pragma once
#include "editor/DialogParts.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TThumbail;
class TmyIcon;

namespace glimt {
// Position at which a new image of that format goes in editing order: before the first image
// of smaller depth, or equal depth and smaller width, or equal depth and width and smaller
// height; the image count when there is none.
int NewImageInsertIndex(const TmyIcon& icon, int width, int height, int depth);
// Whether the icon holds an image of that width, height and depth.
bool HasImageFormat(const TmyIcon& icon, int width, int height, int depth);
} // namespace glimt

// The new-image dialog: asks for the size and colour depth of a new image and inserts a blank
// image of that format into the active document, in sorted position; with the source group
// shown the new image may be made from an image of the document, resized and converted.
// Created once and reused; the fields keep the last choice.
class TfrmNewImage : public QDialog, public glimt::TSizeControls {
    Q_OBJECT
public:
    explicit TfrmNewImage(QWidget* parent = nullptr);

    int NewHeight = 48;
    int NewWidth = 48;
    int NewDepth = 32;
    TThumbail* Thumbnails = nullptr;

    // Shows or hides the source group (and sizes the form to match). Callers set it before
    // showing the dialog.
    void ShowSourceGroup(bool show);
    bool SourceGroupShown() const { return m_sourceShown; }
    // False, after the "msgNotUnique" warning, when the icon already holds that format.
    static bool IsFormatUnique(const TmyIcon& icon, int width, int height, int bitDepth);

    // The dialog's steps, as the buttons and showing run them.
    void FormShow();
    // Adds the blank image; false (after the warning) when the icon already has that format.
    bool btnOKClick();
    void btnCancelClick();

    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    QGroupBox* grpColors = nullptr;
    QRadioButton* rb32Bit = nullptr;
    QRadioButton* rb24Bit = nullptr;
    QRadioButton* rb8Bit = nullptr;
    QRadioButton* rb4Bit = nullptr;
    QRadioButton* rb1Bit = nullptr;
    QGroupBox* grpSize = nullptr;
    QGroupBox* grpImages = nullptr;
    QCheckBox* cbFromImage = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rb8BitClick();
    void cbFromImageClick();

    glimt::TSizeChoice* m_size = nullptr;
    bool m_sourceShown = true;
};
