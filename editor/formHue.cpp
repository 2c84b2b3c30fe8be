#include "editor/formHue.h"

#include "editor/advancedtrackbar.h"
#include "engine/MyPainter.h"
#include "engine/myadjustments.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <cmath>

namespace {

QFrame* StripPanel(QWidget* parent, const char* name, const char* image, QLabel*& strip, const QPixmap& picture)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFixedSize(305, 9);
    strip = new QLabel(panel);
    strip->setObjectName(QString::fromLatin1(image));
    strip->setPixmap(picture);
    strip->setGeometry(-152, 0, 610, 9);
    return panel;
}

} // namespace

TfrmHue::TfrmHue(QWidget* parent)
    : TEffectDialog(parent, "frmHue", QStringLiteral("Hue/Saturation"),
                    QStringLiteral("Adjust hue, saturation and brightness"), false)
{
    auto* grid = new QGridLayout(Body());
    TrackBar1 = AddTrackBar(grid, 0, "TrackBar1", QStringLiteral("Hue"), -180, 180, 0, [this] { AdvancedTrackBar1Change(); });
    TrackBar2 = AddTrackBar(grid, 1, "TrackBar2", QStringLiteral("Saturation"), -100, 100, 0,
                            [this] { AdvancedTrackBar1Change(); });
    TrackBar3 = AddTrackBar(grid, 2, "TrackBar3", QStringLiteral("Brightness"), -100, 100, 0,
                            [this] { AdvancedTrackBar1Change(); });
    if (auto* label = Body()->findChild<QLabel*>(QStringLiteral("lblTrackBar3")))
        label->setObjectName(QStringLiteral("lblBrightnes"));
    const QPixmap strip = QPixmap::fromImage(HueStrip());
    Panel1 = StripPanel(Body(), "Panel1", "Image2", Image2, strip);
    Panel2 = StripPanel(Body(), "Panel2", "Image3", Image3, strip);
    grid->addWidget(Panel1, 3, 1);
    grid->addWidget(Panel2, 4, 1);
}

QImage TfrmHue::HueStrip()
{
    QImage strip(610, 9, QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x) {
        std::int32_t r = 0, g = 0, b = 0;
        TmyPainter::HSVToRGB(std::int32_t((x % 304) * 360 / 304), 100, 100, r, g, b);
        for (int y = 0; y < strip.height(); ++y)
            strip.setPixel(x, y, qRgb(r, g, b));
    }
    return strip;
}

int TfrmHue::StripLeft(int hue)
{
    return -int(std::nearbyint(hue * 152.0 / 180.0)) - 152;
}

void TfrmHue::AdvancedTrackBar1Change()
{
    UpdatePreview();
    Image3->move(StripLeft(TrackBar1->Position()), 0);
}

void TfrmHue::Operation(TmyImagePal& image, bool preview)
{
    TmyAdjustments::AdjustHueSatLight(image, TrackBar1->Position(), TrackBar2->Position(), TrackBar3->Position(),
                                      preview);
}

void TfrmHue::Shown()
{
    for (TAdvancedTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3})
        bar->SetPosition(0);
    Image3->move(StripLeft(0), 0);
}
