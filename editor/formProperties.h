#pragma once
#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TfrmDesk;
class TmyIcon;
class TmyImagePal;

namespace glimt {

// Bytes an image takes in an icon file in bitmap form: the 40-byte header, the palette and
// colour rows, and the mask rows. (The PNG form of large images is not counted.)
std::int64_t StoredImageSize(const TmyImagePal& image);
// Bytes of the whole icon file: every image in bitmap form, the 6-byte header and a 16-byte
// directory entry per image.
std::int64_t StoredIconSize(const TmyIcon& icon);

} // namespace glimt

// The properties dialog: the active document's file name and folder, its image count and
// file size, and a row per image with a preview, the colour depth, the dimensions and the
// stored size. It changes nothing. The rows are built each time the dialog is shown, for the
// document window given to ShowFor, and freed when it hides.
class TfrmProperties : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProperties(QWidget* parent = nullptr);

    // The document window whose facts the dialog shows at its next showing (not owned).
    void ShowFor(TfrmDesk* desk) { m_desk = desk; }
    // Fills the labels and builds the image rows for the document given to ShowFor.
    void FormActivate();
    // Frees the image rows.
    void FormHide();

    // One image row: its controls, children of the scroll box's contents.
    struct TImageRow {
        QLabel* Picture;
        QLabel* Type;
        QLabel* Dimension;
        QLabel* Size;
    };
    const std::vector<TImageRow>& Rows() const { return m_rows; }

    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QGroupBox* grpFile = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblLocation = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblImageNo = nullptr;
    QGroupBox* grpImages = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TfrmDesk* m_desk = nullptr;
    QWidget* m_rowsHost = nullptr;
    std::vector<TImageRow> m_rows;
};
