#include "editor/formOpacity.h"

#include "editor/advancedtrackbar.h"
#include "engine/myadjustments.h"

#include <QGridLayout>

TfrmOpacity::TfrmOpacity(QWidget* parent)
    : TEffectDialog(parent, "frmOpacity", QStringLiteral("Opacity"),
                    QStringLiteral("Increase / decrease the opacity of the image."), true)
{
    auto* grid = new QGridLayout(Body());
    TrackBar1 = AddTrackBar(grid, 0, "TrackBar1", QStringLiteral("Opacity"), -100, 100, 0, [this] { TrackBar1Change(); });
}

void TfrmOpacity::Operation(TmyImagePal& image, bool)
{
    TmyAdjustments::AdjustOpacity(image, TrackBar1->Position());
}

void TfrmOpacity::Shown()
{
    TrackBar1->SetPosition(0);
}
