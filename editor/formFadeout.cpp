#include "editor/formFadeout.h"

#include "editor/advancedtrackbar.h"
#include "editor/framePreview.h"
#include "engine/MyPainter.h"
#include "engine/myUndo.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <cmath>

TfrmFadeout::TfrmFadeout(QWidget* parent)
    : TEffectDialog(parent, "frmFadeout", QStringLiteral("Fadeout"), QStringLiteral("Fadeout your image"), true)
{
    auto* layout = new QVBoxLayout(Body());
    auto* typeRow = new QHBoxLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Fill type"), Body());
    typeLabel->setObjectName(QStringLiteral("Label1"));
    typeRow->addWidget(typeLabel);
    auto* group = new QButtonGroup(this);
    auto makeButton = [&](const char* name, const char* hint, const char* glyph) {
        auto* b = new QToolButton(Body());
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(hint));
        b->setText(QString::fromUtf8(glyph));
        b->setCheckable(true);
        group->addButton(b);
        typeRow->addWidget(b);
        return b;
    };
    btnHoriz = makeButton("btnHoriz", "Horizontal", "\u2192");
    btnVert = makeButton("btnVert", "Vertical", "\u2193");
    btnHoriz->setChecked(true);
    typeRow->addStretch(1);
    layout->addLayout(typeRow);

    auto* opacity = new QGroupBox(QStringLiteral(" Opacity precent "), Body());
    opacity->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(opacity);
    TrackBar1 = AddTrackBar(grid, 0, "TrackBar1", QStringLiteral("Start"), 0, 100, 100, [this] { TrackBar1Change(); });
    TrackBar2 = AddTrackBar(grid, 1, "TrackBar2", QStringLiteral("End"), 0, 100, 0, [this] { TrackBar2Change(); });
    Image1 = new QLabel(opacity);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(30, 23);
    Image2 = new QLabel(opacity);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setFixedSize(31, 23);
    grid->addWidget(Image1, 0, 2);
    grid->addWidget(Image2, 1, 2);
    layout->addWidget(opacity);

    connect(btnHoriz, &QToolButton::clicked, this, [this] { btnHorizClick(); });
    connect(btnVert, &QToolButton::clicked, this, [this] { btnVertClick(); });
    DrawStartSwatch();
    DrawEndSwatch();
}

std::uint8_t TfrmFadeout::PercentToByte(int percent)
{
    return std::uint8_t(std::clamp(std::nearbyint(percent * 255.0 / 100.0), 0.0, 255.0));
}

void TfrmFadeout::ApplyFadeout(TmyImagePal& image, std::uint8_t direction, int start, int end)
{
    const glimt::BusyGuard busy;
    const bool vertical = direction == 0;
    const int n = vertical ? image.Height() : image.Width();
    // A single row (or column) takes the start value alone.
    const double step = n >= 2 ? double(end - start) / double(n - 1) : 0.0;
    const bool twoLevels = image.BitDepth < 32;
    double f = start;
    for (int i = 0; i < n; ++i) {
        const int others = vertical ? image.Width() : image.Height();
        for (int j = 0; j < others; ++j) {
            TmyPixel& p = vertical ? image.Pixel(j, i) : image.Pixel(i, j);
            const double a = std::nearbyint(p.A * f / 100.0);
            p.A = std::uint8_t(std::clamp(a, 0.0, 255.0));
            if (twoLevels)
                p.A = p.A >= 128 ? 255 : 0;
            if (p.A == 0)
                p.SetRGB(0, 0, 0);
        }
        f += step;
    }
}

QImage TfrmFadeout::Swatch(int percent, int w, int h)
{
    const unsigned p = PercentToByte(percent);
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = TmyPainter::CheckerColor(x, y);
            auto channel = [p](unsigned v) { return int(((255 - p) * v) >> 8); };
            picture.setPixel(x, y, qRgb(channel(c & 0xFF), channel((c >> 8) & 0xFF), channel((c >> 16) & 0xFF)));
        }
    return picture;
}

void TfrmFadeout::DrawStartSwatch()
{
    Image1->setPixmap(QPixmap::fromImage(Swatch(TrackBar1->Position(), Image1->width(), Image1->height())));
}

void TfrmFadeout::DrawEndSwatch()
{
    Image2->setPixmap(QPixmap::fromImage(Swatch(TrackBar2->Position(), Image2->width(), Image2->height())));
}

void TfrmFadeout::btnHorizClick()
{
    FillDirection = 1;
    UpdatePreview();
}

void TfrmFadeout::btnVertClick()
{
    FillDirection = 0;
    UpdatePreview();
}

void TfrmFadeout::TrackBar1Change()
{
    DrawStartSwatch();
    UpdatePreview();
}

void TfrmFadeout::TrackBar2Change()
{
    DrawEndSwatch();
    UpdatePreview();
}

void TfrmFadeout::Operation(TmyImagePal& image, bool)
{
    ApplyFadeout(image, FillDirection, TrackBar1->Position(), TrackBar2->Position());
}

void TfrmFadeout::Shown()
{
    UpdatePreview();
    preview1->CenterPreview();
    DrawStartSwatch();
    DrawEndSwatch();
}
