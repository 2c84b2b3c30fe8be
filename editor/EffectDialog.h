#pragma once
#include "editor/DialogParts.h"
#include "editor/Effects.h"
#include "engine/MyImage.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class TAdvancedTrackBar;
class Tpreview;

namespace glimt {

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
    Tpreview* preview1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // Source choice, working copy and preview; the dialog's own start-up follows (Shown).
    void FormShow();
    // WorkImage := Source with the operation applied (palette kept), then rendered.
    void UpdatePreview();
    // The picture the preview shows (24 bits, the image's size).
    const QImage& PreviewPicture() const;
    virtual void btnOKClick();
    void btnCancelClick();

protected:
    // Renders `image` into the preview over the preview colour of the settings.
    void RenderPreview(const TmyImagePal& image);
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
    TDialogHeader m_header;
    TEffectTarget m_target;
    QWidget* m_body = nullptr;
    bool m_fitPaletteOnOK;
};

} // namespace glimt
