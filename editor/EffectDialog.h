#pragma once
#include "editor/Effects.h"
#include "engine/MyImage.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TAdvancedTrackBar;

namespace glimt {

// A dialog's preview: a scroll box (`ScrollBox1`) holding one picture (`Image1`) at one screen
// pixel per image pixel, centred while smaller than the box.
class TDialogPreview : public QWidget {
    Q_OBJECT
public:
    explicit TDialogPreview(QWidget* parent);
    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;

    // Renders `image` over the preview colour of the settings and shows it.
    void Render(const TmyImagePal& image);
    // The picture shown last (24 bits, the image's size).
    const QImage& Picture() const { return m_picture; }
    void CenterPreview();

private:
    QImage m_picture;
};

// The pattern every effect dialog follows. When shown it picks its Source (the floating
// selection's picture when that belongs to the active document, else the active document's
// current image) and previews a working copy; every change of its controls starts the copy
// again from Source, so changes never pile up. OK runs the operation on Source through the
// one road of effect changes (undo snapshot on the whole image, none on the selection);
// Cancel leaves Source untouched. Enter clicks OK.
class TEffectDialog : public QDialog {
    Q_OBJECT
public:
    // `fitPaletteOnOK`: a paletted image is fitted back to a palette after OK (the colour
    // dialogs leave that to their operation).
    TEffectDialog(QWidget* parent, const char* formName, const QString& caption, const QString& help,
                  bool fitPaletteOnOK);

    // The adjusted copy shown in the preview.
    TmyImagePal WorkImage{1, 1, 32};
    // The image the dialog works on while it is shown (not owned); null when there is none.
    TmyImagePal* Source = nullptr;

    QWidget* Panel3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    QGroupBox* grpPreview = nullptr;
    TDialogPreview* preview1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // Source choice, working copy and preview; the dialog's own start-up follows (Shown).
    void FormShow();
    // WorkImage := Source with the operation applied (palette kept), then rendered.
    void UpdatePreview();
    virtual void btnOKClick();
    void btnCancelClick();

protected:
    // The dialog's operation with its current control values; `preview` keeps the palette.
    virtual void Operation(TmyImagePal& image, bool preview) = 0;
    // Called at the end of FormShow.
    virtual void Shown() {}
    // Runs `operation` on Source through the effect road, then closes with OK.
    void Commit(const std::function<void(TmyImagePal&)>& operation);

    // The area for the dialog's own controls, between the header and the preview.
    QWidget* Body() const { return m_body; }
    // A labelled track bar in row `row` of `grid`; its Change runs `onChange`.
    TAdvancedTrackBar* AddTrackBar(QGridLayout* grid, int row, const char* name, const QString& label, int min,
                                   int max, int position, const std::function<void()>& onChange);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TEffectTarget m_target;
    QWidget* m_body = nullptr;
    bool m_fitPaletteOnOK;
};

} // namespace glimt
