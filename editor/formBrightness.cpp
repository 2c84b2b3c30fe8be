#include "editor/formBrightness.h"

#include "editor/advancedtrackbar.h"
#include "engine/myadjustments.h"

#include <QGridLayout>

TfrmBrightness::TfrmBrightness(QWidget* parent)
    : TEffectDialog(parent, "frmBrightness", QStringLiteral("Brightness/Contrast"),
                    QStringLiteral("Adjust brightness and contrast"), false)
{
    auto* grid = new QGridLayout(Body());
    TrackBar1 = AddTrackBar(grid, 0, "TrackBar1", QStringLiteral("Brightness"), -100, 100, 0, [this] { TrackBar1Change(); });
    TrackBar2 = AddTrackBar(grid, 1, "TrackBar2", QStringLiteral("Contrast"), -100, 100, 0, [this] { TrackBar1Change(); });
}

void TfrmBrightness::Operation(TmyImagePal& image, bool preview)
{
    TmyAdjustments::AdjustBrightnessContrast(image, TrackBar1->Position(), TrackBar2->Position(), preview);
}

void TfrmBrightness::Shown()
{
    TrackBar1->SetPosition(0);
    TrackBar2->SetPosition(0);
}
