#pragma once
#include "editor/EffectDialog.h"

// Brightness and contrast of the current image or the floating selection.
class TfrmBrightness : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmBrightness(QWidget* parent = nullptr);
    TAdvancedTrackBar* TrackBar1 = nullptr; // brightness, -100..100
    TAdvancedTrackBar* TrackBar2 = nullptr; // contrast, -100..100
    void TrackBar1Change() { UpdatePreview(); }

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
