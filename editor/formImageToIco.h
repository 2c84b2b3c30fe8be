#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class TmyImagePal;

// The Icon From Image dialog: a new untitled document with one image per ticked format (five
// sizes in 32, 8 and 4 bits), each a resized and colour-reduced copy of the active document's
// current image. Created once and reused; the ticks stay from one use to the next.
class TfrmImageToIco : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImageToIco(QWidget* parent = nullptr);

    // One format of the table, in the order the images are made and stored.
    struct TFormat {
        const char* name;
        int size;
        int bits;
        bool tickedAtFirst;
    };
    static const std::array<TFormat, 15> Formats;

    // Appends a copy of `source` at that size and depth to the active document's icon; the new
    // image becomes current.
    static void AddImageFormat(const TmyImagePal& source, int width, int height, int bits);
    // Makes the new document; false (after the message) when nothing is ticked, in which case
    // the dialog stays open.
    bool btnOKClick();

    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    // By the order of Formats.
    std::array<QCheckBox*, 15> CheckBoxes{};
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
