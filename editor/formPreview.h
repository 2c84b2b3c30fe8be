#pragma once
#include "engine/MyImage.h"

#include <QWidget>
#include <functional>

class QRect;
class Tpreview;

// The "Preview" tool window: the active document's current image at its real size over the
// preview background (TOptions.PrevColor), with the floating selection stamped in while the
// document shows it. Redrawn as a whole by ShowPreview and cell by cell during strokes. The
// document is never changed. Made once and kept for the whole run.
class TfrmPreview : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPreview(QWidget* parent = nullptr);

    Tpreview* preview1 = nullptr;

    // Renders `image` (the active document's current image) and centres it. When the active
    // document window shows the floating-selection layer, a copy of the image with the
    // selection stamped in at the layer's cell is shown instead.
    void ShowPreview(const TmyImagePal& image);
    // One pixel of the preview, blended over the background when Blended.
    void DrawPreviewPixel(int X, int Y, bool Blended, const TmyPixel& pixel);
    // The cells of `image` in `cells` were painted: their pixels are drawn again (blended for
    // 24 and 32 bits, as the document window draws them).
    void PaintCells(const TmyImagePal& image, const QRect& cells);

    // Called when the user hid the window (its close box, or hide()), not when it disappears
    // with the main window.
    std::function<void()> OnHidden;

protected:
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
