#pragma once
#include "editor/EffectDialog.h"

#include <cstdint>

class QToolButton;

// Lays a blurred, offset grey copy of the current image (or the floating selection) under it.
// The style and the four values stay between showings.
class TfrmShadow : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmShadow(QWidget* parent = nullptr);

    // 0 bottom left, 1 bottom right, 2 top left, 3 top right, 4 centre.
    std::uint8_t ShadowStyle = 1;
    QToolButton* btnBottomRight = nullptr;
    QToolButton* btnBottomLeft = nullptr;
    QToolButton* btnTopRight = nullptr;
    QToolButton* btnTopLeft = nullptr;
    QToolButton* btnCenter = nullptr;
    TAdvancedTrackBar* TrackBar4 = nullptr; // intensity, -5..5
    TAdvancedTrackBar* TrackBar1 = nullptr; // size: blur passes, 0..20
    TAdvancedTrackBar* TrackBar2 = nullptr; // x offset, 0..10
    TAdvancedTrackBar* TrackBar3 = nullptr; // y offset, 0..10

    // The shadow: a copy shifted by (x, y) as the style says, made grey (contrast -100) and
    // darker by 10 x intensity percent, blurred `size` times with alpha; the image is
    // composited over it. Below 32 bits alpha ends as 0 or 255; transparent pixels end white.
    static void ApplyShadow(TmyImagePal& image, std::uint8_t style, std::uint8_t size, std::uint8_t x,
                            std::uint8_t y, int intensity);

    void StyleClick(std::uint8_t style);
    void TrackBar4Change() { UpdatePreview(); }

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
