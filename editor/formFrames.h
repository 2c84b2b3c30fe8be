#pragma once
#include "editor/DialogParts.h"
#include "engine/GifCodec.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class TThumbail;
class TmyImagePal;

namespace glimt {

// Frame `frame` of the GIF (composed over the frames before it when `overimpose`) placed into
// a TargetWidth x TargetHeight image by the import rules and brought to `targetDepth`.
TmyImagePal GifFrameImage(const GifPicture& gif, int frame, bool overimpose, int targetWidth, int targetHeight,
                          int targetDepth);
} // namespace glimt

// The GIF frame picker: shows the frames of a GIF as thumbnails; OK makes each selected frame,
// in the order of selection, the first image of a new document of the target size and depth.
// Created once and reused; the caller sets FileName and the target format before showing it.
// The file is decoded once per showing: the tiles and OK are made from that one decoding by
// the same composition, so a tile shows what its frame imports.
class TfrmFrames : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFrames(QWidget* parent = nullptr);

    QString FileName;
    int TargetWidth = 32;
    int TargetHeight = 32;
    int TargetDepth = 32;
    TThumbail* Thumbnails = nullptr;

    // The decoded GIF of FileName, decoding it when it is not yet; null (the tiles stay empty)
    // when the file cannot be read as a GIF.
    const glimt::GifPicture* Gif();
    // Takes a GIF already decoded from `fileName` (the picker need not read it again).
    void SetGif(const QString& fileName, glimt::GifPicture gif);

    // Reloads the tiles from the GIF and selects the first.
    void FillFrames();
    // Makes the documents of the selected frames; nothing when none is selected.
    void btnOKClick();

    glimt::TDialogHeader Header;
    QCheckBox* cbOverimpose = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // Closes the picker; the decoded GIF and the tiles are let go until the next showing.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<glimt::GifPicture> m_gif;
    QString m_gifFile; // the file m_gif was decoded from
};

namespace glimt {
// The single frame picker, made on first use as a child of the editor host's main widget.
TfrmFrames* FramesDialog();
// Lets the user pick frames of `fileName` (modal); false, without showing anything, when the
// file is not a GIF that can be decoded.
bool RunFramesDialog(const QString& fileName, int targetWidth, int targetHeight, int targetDepth);
} // namespace glimt
