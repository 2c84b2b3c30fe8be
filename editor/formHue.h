#pragma once
#include "editor/EffectDialog.h"

class QFrame;
class QLabel;

// Hue, saturation and brightness of the current image or the floating selection. Two hue
// strips show where each hue moves: the upper one stays, the lower one slides with the hue.
class TfrmHue : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmHue(QWidget* parent = nullptr);
    TAdvancedTrackBar* TrackBar1 = nullptr; // hue, -180..180
    TAdvancedTrackBar* TrackBar2 = nullptr; // saturation, -100..100
    TAdvancedTrackBar* TrackBar3 = nullptr; // brightness, -100..100
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    void AdvancedTrackBar1Change();

    // The 610 x 9 strip of two hue cycles of 304 pixels, starting and ending at red.
    static QImage HueStrip();
    // Left edge of the lower strip for a hue shift: 152 pixels per 180 degrees.
    static int StripLeft(int hue);

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
};
