#include "editor/formColorBalance.h"

#include "editor/advancedtrackbar.h"
#include "engine/myadjustments.h"

#include <QGridLayout>
#include <QLabel>

TfrmColorBalance::TfrmColorBalance(QWidget* parent)
    : TEffectDialog(parent, "frmColorBalance", QStringLiteral("Color Balance"),
                    QStringLiteral("Change the color balance"), false)
{
    auto* grid = new QGridLayout(Body());
    const struct {
        TAdvancedTrackBar** bar;
        const char* name;
        const char* low;
        const char* high;
    } rows[] = {{&TrackBar1, "TrackBar1", "Cyan", "Red"},
                {&TrackBar2, "TrackBar2", "Magenta", "Green"},
                {&TrackBar3, "TrackBar3", "Yellow", "Blue"}};
    int row = 0;
    for (const auto& r : rows) {
        *r.bar = AddTrackBar(grid, row, r.name, QString::fromLatin1(r.low), -100, 100, 0,
                             [this] { AdvancedTrackBar1Change(); });
        auto* high = new QLabel(QString::fromLatin1(r.high), Body());
        high->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(r.high));
        grid->addWidget(high, row, 2);
        ++row;
    }
}

void TfrmColorBalance::Operation(TmyImagePal& image, bool preview)
{
    TmyAdjustments::AdjustColorBalance(image, TrackBar1->Position(), TrackBar2->Position(), TrackBar3->Position(),
                                       preview);
}

void TfrmColorBalance::Shown()
{
    for (TAdvancedTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3})
        bar->SetPosition(0);
}
