#pragma once
#include "engine/MyPixel.h"

#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QList>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TOptions;

namespace glimt {

// The rows of the checkerboard preset list (TOptions.SelectedIndex): 0 "Custom", 1 and 6 blank
// separators, the others presets of two colours.
constexpr int kGridPresetCount = 12;
// The 16 x 16 picture of a preset row: a checker of 4-pixel cells, the top-left cell in the
// preset's second colour (the colour of cbColor2), the next in its first (cbColor1). A null
// picture for "Custom" and the separators.
QImage GridPresetPicture(int row);
// The checkerboard sample: filled with `color1`, then cells of `cell` pixels in `color2`,
// starting with the top-left one and alternating along rows and columns.
void DrawCheckerSample(QImage& picture, int cell, TColor color1, TColor color2);
// Whether the look of the document windows changes when these values replace the settings
// (checkerboard cell size and colours, grid colour and style).
bool LookChanged(const TOptions& options, int cell, TColor color1, TColor color2, TColor gridColor, int gridStyle);

// A drop-down list of named colours with a "Custom..." entry that asks for any colour; a
// colour that is not in the list shows as an entry of its own.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);
    TColor Selected() const { return m_selected; }
    // Selects the colour without telling anybody.
    void SetSelected(TColor color);
    // Asks for a colour starting from the given one (a colour dialog unless replaced).
    std::function<std::optional<TColor>(TColor)> PickCustom;

signals:
    // The user chose a colour.
    void Changed();

private:
    void ItemActivated(int index);
    int m_customRow = -1;
    TColor m_selected = 0;
};

} // namespace glimt

// The Preferences dialog: the user-adjustable settings, read from TOptions each time the
// dialog shows and written back on OK, with the desktop association of icon files and the
// "Open with Glimt" entry. After OK the main window re-applies the look. Made once and kept.
class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(QWidget* parent = nullptr);

    // The checkerboard cell size being edited: 4, 8 or 16.
    std::uint8_t CellSize = 4;
    // The program the association entries run (the running executable unless set).
    QString ProgramPath;
    // Re-applies the look after OK; true when the document windows must be redrawn. The main
    // window's ApplyPreferences unless replaced.
    std::function<void(bool RedrawAll)> ApplyLook;

    // The dialog's steps, as showing and the controls run them.
    void FormShow();
    void cmbSizeChange();
    void cmbGridChange();
    void DrawCheckerSample();
    void btnOKClick();
    void btnCancelClick();

    QLabel* Image4 = nullptr;
    QTabWidget* Actions = nullptr;
    QComboBox* cmbSize = nullptr;
    QComboBox* cmbGrid = nullptr;
    glimt::TColorBox* cbColor2 = nullptr;
    glimt::TColorBox* cbColor1 = nullptr;
    QLabel* Image1 = nullptr;
    QComboBox* cmbStyle = nullptr;
    glimt::TColorBox* cbGridColor = nullptr;
    glimt::TColorBox* cbPreviewColor = nullptr;
    QRadioButton* rbChange = nullptr;
    QRadioButton* rbNotChange = nullptr;
    QRadioButton* rbPalPrompt = nullptr;
    QRadioButton* rbResize = nullptr;
    QRadioButton* rbCrop = nullptr;
    QRadioButton* rbPastePrompt = nullptr;
    QCheckBox* cbCompress = nullptr;
    QCheckBox* cbSmooth = nullptr;
    QCheckBox* cbAlpha = nullptr;
    QCheckBox* cbRatio = nullptr;
    QCheckBox* cbClipbrd = nullptr;
    QCheckBox* cbExportAlpha = nullptr;
    QCheckBox* cbTransparent = nullptr;
    QCheckBox* cbDragAndDrop = nullptr;
    QCheckBox* cbIcon = nullptr;
    QCheckBox* cbAssoc = nullptr;
    QCheckBox* cbContext = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    // The preset pictures of cmbGrid's rows.
    QList<QImage> ImageList1;
    // The 48 x 48 checkerboard sample that Image1 shows.
    QImage SamplePicture;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The checked radio's value (0, 1, 2) of a group, or -1.
    static int CheckedValue(QRadioButton* first, QRadioButton* second, QRadioButton* third);
    static void CheckValue(int value, QRadioButton* first, QRadioButton* second, QRadioButton* third);
    QList<std::pair<QCheckBox*, bool TOptions::*>> OptionBoxes() const;
};
