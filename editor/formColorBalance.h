#pragma once
#include "editor/EffectDialog.h"

// The colour balance of the current image or the floating selection: each bar moves one
// channel between its complementary colour and itself.
class TfrmColorBalance : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmColorBalance(QWidget* parent = nullptr);
    TAdvancedTrackBar* TrackBar1 = nullptr; // cyan .. red
    TAdvancedTrackBar* TrackBar2 = nullptr; // magenta .. green
    TAdvancedTrackBar* TrackBar3 = nullptr; // yellow .. blue
    void AdvancedTrackBar1Change() { UpdatePreview(); }

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
