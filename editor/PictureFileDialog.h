#pragma once
#include <QFileDialog>
#include <QImage>
#include <QSize>

class QLabel;

namespace glimt {

// A picture of the file for a preview: BMP, JPEG, PNG and GIF pictures (the first frame) and the
// first image of icons and cursors, made to fit into `box` keeping its proportions (never
// enlarged). `fullSize` receives the picture's own size. A null image, and an invalid size,
// for any other file or one that cannot be read.
QImage PreviewPicture(const QString& fileName, QSize box, QSize* fullSize = nullptr);

// The open dialog for pictures: Qt's file dialog with a preview of the file under the cursor and
// its size in pixels beside the list.
class TPictureFileDialog : public QFileDialog {
    Q_OBJECT
public:
    TPictureFileDialog(QWidget* parent, const QString& caption, const QString& directory, const QString& filter);

    // Shows the picture of `fileName` (nothing for a folder or a file that is not a picture).
    void ShowPreview(const QString& fileName);

    QLabel* Preview = nullptr;
    QLabel* lblSize = nullptr;

    static constexpr int PreviewSide = 160;
};

} // namespace glimt
