#include "editor/formshadow.h"

#include "editor/advancedtrackbar.h"
#include "editor/framePreview.h"
#include "engine/MyFilter.h"
#include "engine/MyPainter.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

TfrmShadow::TfrmShadow(QWidget* parent)
    : TEffectDialog(parent, "frmShadow", QStringLiteral("Shadow"), QStringLiteral("Add shadow to your image"), true)
{
    auto* layout = new QVBoxLayout(Body());
    auto* styleRow = new QHBoxLayout;
    auto* styleLabel = new QLabel(QStringLiteral("Style"), Body());
    styleLabel->setObjectName(QStringLiteral("Label1"));
    styleRow->addWidget(styleLabel);
    auto* group = new QButtonGroup(this);
    const struct {
        QToolButton** button;
        const char* name;
        const char* hint;
        const char* glyph;
        std::uint8_t style;
    } buttons[] = {{&btnBottomRight, "btnBottomRight", "Bottom Right", "\u2198", 1},
                   {&btnBottomLeft, "btnBottomLeft", "Bottom Left", "\u2199", 0},
                   {&btnTopRight, "btnTopRight", "Top Right", "\u2197", 3},
                   {&btnTopLeft, "btnTopLeft", "Top Left", "\u2196", 2},
                   {&btnCenter, "btnCenter", "Center", "\u25cf", 4}};
    for (const auto& b : buttons) {
        auto* button = new QToolButton(Body());
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setText(QString::fromUtf8(b.glyph));
        button->setCheckable(true);
        group->addButton(button);
        styleRow->addWidget(button);
        const std::uint8_t style = b.style;
        connect(button, &QToolButton::clicked, this, [this, style] { StyleClick(style); });
        *b.button = button;
    }
    btnBottomRight->setChecked(true);
    styleRow->addStretch(1);
    layout->addLayout(styleRow);

    auto* grid = new QGridLayout;
    auto change = [this] { TrackBar4Change(); };
    TrackBar4 = AddTrackBar(grid, 0, "TrackBar4", QStringLiteral("Intensity"), -5, 5, 0, change);
    TrackBar1 = AddTrackBar(grid, 1, "TrackBar1", QStringLiteral("Size"), 0, 20, 2, change);
    TrackBar2 = AddTrackBar(grid, 2, "TrackBar2", QStringLiteral("X-offset"), 0, 10, 1, change);
    TrackBar3 = AddTrackBar(grid, 3, "TrackBar3", QStringLiteral("Y-offset"), 0, 10, 1, change);
    layout->addLayout(grid);
}

void TfrmShadow::ApplyShadow(TmyImagePal& image, std::uint8_t style, std::uint8_t size, std::uint8_t x,
                             std::uint8_t y, int intensity)
{
    using namespace TmyAdjustments;
    const glimt::BusyGuard busy;
    TmyImagePal shadow = image;
    switch (style) {
    case 0:
        ShiftDown(shadow, y);
        ShiftLeft(shadow, x);
        break;
    case 1:
        ShiftDown(shadow, y);
        ShiftRight(shadow, x);
        break;
    case 2:
        ShiftUp(shadow, y);
        ShiftLeft(shadow, x);
        break;
    case 3:
        ShiftUp(shadow, y);
        ShiftRight(shadow, x);
        break;
    default: break;
    }
    AdjustBrightnessContrast(shadow, -10 * intensity, -100, true);
    for (int pass = 0; pass < size; ++pass)
        TmyFilter::ApplyFilterKernel(shadow, FilterPresets[4], true);

    const bool twoLevels = image.BitDepth < 32;
    for (int row = 0; row < image.Height(); ++row) {
        TmyPixel* out = image.Row(row);
        const TmyPixel* under = shadow.Row(row);
        for (int col = 0; col < image.Width(); ++col) {
            TmyPixel& p = out[col];
            if (under[col].A != 0)
                TmyPainter::CompositePixel(p, under[col], true);
            if (twoLevels)
                p.A = p.A >= 128 ? 255 : 0;
            if (p.A == 0)
                p.SetRGB(255, 255, 255);
        }
    }
}

void TfrmShadow::StyleClick(std::uint8_t style)
{
    ShadowStyle = style;
    UpdatePreview();
}

void TfrmShadow::Operation(TmyImagePal& image, bool)
{
    ApplyShadow(image, ShadowStyle, std::uint8_t(TrackBar1->Position()), std::uint8_t(TrackBar2->Position()),
                std::uint8_t(TrackBar3->Position()), TrackBar4->Position());
}

void TfrmShadow::Shown()
{
    UpdatePreview();
    preview1->CenterPreview();
}
