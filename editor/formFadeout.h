#pragma once
#include "editor/EffectDialog.h"

#include <cstdint>

class QToolButton;

// Fades the alpha of the current image or the floating selection linearly from one edge to
// the other: from the start opacity at the first row (or column) to the end opacity at the
// last. The direction and both values stay between showings.
class TfrmFadeout : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmFadeout(QWidget* parent = nullptr);

    // 1 horizontal (column by column), 0 vertical (row by row).
    std::uint8_t FillDirection = 1;
    QToolButton* btnHoriz = nullptr;
    QToolButton* btnVert = nullptr;
    TAdvancedTrackBar* TrackBar1 = nullptr; // start opacity, percent
    TAdvancedTrackBar* TrackBar2 = nullptr; // end opacity, percent
    QLabel* Image1 = nullptr;               // start sample, 30 x 23
    QLabel* Image2 = nullptr;               // end sample, 31 x 23

    // round(p x 255 / 100), halves to even.
    static std::uint8_t PercentToByte(int percent);
    // Multiplies each pixel's alpha by the factor of its row (direction 0) or column
    // (direction 1), going from `start` to `end` percent. Below 32 bits alpha ends as 0 or 255
    // (128 and above opaque); pixels that end transparent become 0, 0, 0, 0.
    static void ApplyFadeout(TmyImagePal& image, std::uint8_t direction, int start, int end);
    // Black at the given opacity over the transparency checkerboard, for a sample of w x h.
    static QImage Swatch(int percent, int w, int h);

    void btnHorizClick();
    void btnVertClick();
    void TrackBar1Change();
    void TrackBar2Change();
    void DrawStartSwatch();
    void DrawEndSwatch();

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
