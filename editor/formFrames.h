#pragma once
#include "editor/DialogParts.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TThumbail;
class TmyImagePal;

namespace glimt {
struct GifPicture;

// Frame `frame` of the GIF (composed over the frames before it when `overimpose`) placed into
// a TargetWidth x TargetHeight image by the import rules and brought to `targetDepth`.
TmyImagePal GifFrameImage(const GifPicture& gif, int frame, bool overimpose, int targetWidth, int targetHeight,
                          int targetDepth);
} // namespace glimt

// The GIF frame picker: shows the frames of a GIF as thumbnails; OK makes each selected frame,
// in the order of selection, the first image of a new document of the target size and depth.
// Created once and reused; the caller sets FileName and the target format before showing it.
class TfrmFrames : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFrames(QWidget* parent = nullptr);

    QString FileName;
    int TargetWidth = 32;
    int TargetHeight = 32;
    int TargetDepth = 32;
    TThumbail* Thumbnails = nullptr;

    // Reloads the tiles from FileName and selects the first.
    void FillFrames();
    // Makes the documents of the selected frames; nothing when none is selected.
    void btnOKClick();

    glimt::TDialogHeader Header;
    QCheckBox* cbOverimpose = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

namespace glimt {
// The single frame picker, made on first use as a child of the editor host's main widget.
TfrmFrames* FramesDialog();
// Lets the user pick frames of `fileName` (modal); false, without showing anything, when the
// file is not a GIF that can be decoded.
bool RunFramesDialog(const QString& fileName, int targetWidth, int targetHeight, int targetDepth);
} // namespace glimt
