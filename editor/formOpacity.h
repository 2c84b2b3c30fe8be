#pragma once
#include "editor/EffectDialog.h"

// The opacity of the current image or the floating selection (32-bit images only; other
// depths keep their pixels).
class TfrmOpacity : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmOpacity(QWidget* parent = nullptr);
    TAdvancedTrackBar* TrackBar1 = nullptr; // -100..100 percent
    void TrackBar1Change() { UpdatePreview(); }

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
