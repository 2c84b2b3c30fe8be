#include "editor/formFilter.h"

#include "editor/UserDialogs.h"
#include "engine/Errors.h"
#include "engine/Settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The sample list: its texts and the preset entries they load ("Shake" and "Shake Less" are
// stored the other way round).
struct TSample {
    const char* text;
    int entry;
};
constexpr TSample kSamples[] = {
    {"None", -1},
    {"Emboss Color", 0},
    {"Emboss Light", 1},
    {"Emboss Medium", 2},
    {"Emboss Dark", 3},
    {"Blur", 4},
    {"Blur Soft", 5},
    {"Blur More", 6},
    {"Motion Blur", 7},
    {"Sharpen", 8},
    {"Sharpen More", 9},
    {"Sharpen Less", 10},
    {"Sharpen Directional", 11},
    {"Find Edges (Vertical)", 12},
    {"Find Edges (Horizontal)", 13},
    {"Enhance Edges", 14},
    {"Detect Edges", 15},
    {"Edges Strong", 16},
    {"Edges Weak", 17},
    {"Contour", 18},
    {"Average", 19},
    {"Glow", 20},
    {"Waggle", 21},
    {"Pattern", 22},
    {"Paint Dark", 23},
    {"Paint Bright", 24},
    {"Shake", 26},
    {"Shake Less", 25},
    {"Pale", 27},
    {"Scene", 28},
};

} // namespace

TfrmFilter::TfrmFilter(QWidget* parent)
    : TEffectDialog(parent, "frmFilter", QStringLiteral("Custom Filter"), QStringLiteral("Create custom filter"), true)
{
    lblCaption->setText(QStringLiteral("Custom Filer"));
    auto* layout = new QHBoxLayout(Body());
    auto* weights = new QGridLayout;
    weights->setSpacing(2);
    for (int i = 0; i < 27; ++i) {
        auto* edit = new QLineEdit(i == 12 || i == 25 ? QStringLiteral("1") : QStringLiteral("0"), Body());
        edit->setObjectName(QStringLiteral("Edit") + QString::number(i + 1));
        edit->setFixedWidth(44);
        edit->setAlignment(Qt::AlignRight);
        edit->installEventFilter(this);
        Edits[std::size_t(i)] = edit;
        if (i < 25) {
            weights->addWidget(edit, i / 5, i % 5);
            connect(edit, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
        }
    }
    layout->addLayout(weights);

    auto* side = new QGridLayout;
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), Body());
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    side->addWidget(label("Label1", "Divided by:"), 0, 0);
    side->addWidget(Edits[25], 0, 1);
    side->addWidget(label("Label2", "Offset:"), 1, 0);
    side->addWidget(Edits[26], 1, 1);
    side->addWidget(label("Label3", "Samples"), 2, 0, 1, 2);
    cmbSample = new QComboBox(Body());
    cmbSample->setObjectName(QStringLiteral("cmbSample"));
    for (const TSample& s : kSamples)
        cmbSample->addItem(QString::fromLatin1(s.text));
    side->addWidget(cmbSample, 3, 0, 1, 2);
    btnReset = new QPushButton(QStringLiteral("Reset"), Body());
    btnReset->setObjectName(QStringLiteral("btnReset"));
    btnReset->setAutoDefault(false);
    btnTest = new QPushButton(QStringLiteral("Test"), Body());
    btnTest->setObjectName(QStringLiteral("btnTest"));
    btnTest->setAutoDefault(false);
    side->addWidget(btnReset, 4, 0);
    side->addWidget(btnTest, 4, 1);
    layout->addLayout(side);

    connect(cmbSample, &QComboBox::currentIndexChanged, this, [this] { cmbSampleChange(); });
    connect(btnReset, &QPushButton::clicked, this, [this] { btnResetClick(); });
    connect(btnTest, &QPushButton::clicked, this, [this] { btnTestClick(); });
}

int TfrmFilter::SampleEntry(int item)
{
    return item >= 0 && item < int(std::size(kSamples)) ? kSamples[item].entry : -1;
}

void TfrmFilter::SetFilterEdits(const TFilterKernel& kernel)
{
    for (int i = 0; i < 25; ++i)
        Edits[std::size_t(i)]->setText(QString::number(kernel.Weights[std::size_t(i)]));
    // Written last, so that the kernel's own divisor stands and not the sum of its weights.
    Edits[25]->setText(QString::number(kernel.Divisor));
    Edits[26]->setText(QString::number(kernel.Offset));
}

TFilterKernel TfrmFilter::GetFilterKernel() const
{
    TFilterKernel kernel;
    std::array<std::int32_t, 27> values{};
    for (std::size_t i = 0; i < Edits.size(); ++i) {
        const QString text = Edits[i]->text();
        bool ok = false;
        const int v = text.toInt(&ok);
        if (!ok)
            throw glimt::Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
        values[i] = v;
    }
    std::copy(values.begin(), values.begin() + 25, kernel.Weights.begin());
    kernel.Divisor = values[25];
    kernel.Offset = values[26];
    return kernel;
}

bool TfrmFilter::ReadKernel(TFilterKernel& kernel) const
{
    try {
        kernel = GetFilterKernel();
        return true;
    } catch (const glimt::Error& e) {
        glimt::UserDialogs().Error(e.Text());
        return false;
    }
}

void TfrmFilter::Edit1Change()
{
    auto* edit = qobject_cast<QLineEdit*>(sender());
    if (edit && (edit->text().isEmpty() || edit->text() == QLatin1String("-")))
        return;
    std::int64_t sum = 0;
    for (int i = 0; i < 25; ++i) {
        bool ok = false;
        const int v = Edits[std::size_t(i)]->text().toInt(&ok);
        if (!ok)
            return; // another box holds no number yet: the divisor waits
        sum += v;
    }
    Edits[25]->setText(QString::number(sum));
}

void TfrmFilter::cmbSampleChange()
{
    const int entry = SampleEntry(cmbSample->currentIndex());
    if (entry >= 0)
        SetFilterEdits(FilterPresets[std::size_t(entry)]);
}

void TfrmFilter::btnResetClick()
{
    TFilterKernel identity;
    identity.Weights[12] = 1;
    SetFilterEdits(identity);
    const QSignalBlocker block(cmbSample);
    cmbSample->setCurrentIndex(0);
}

void TfrmFilter::btnTestClick()
{
    TFilterKernel kernel;
    if (!Source || !ReadKernel(kernel))
        return;
    WorkImage = *Source;
    TmyFilter::ApplyFilterKernel(WorkImage, kernel, Options().FilterOnAlpha);
    RenderPreview(WorkImage);
}

void TfrmFilter::btnOKClick()
{
    TFilterKernel kernel;
    if (!ReadKernel(kernel))
        return;
    const bool onAlpha = Options().FilterOnAlpha;
    Commit([&](TmyImagePal& image) { TmyFilter::ApplyFilterKernel(image, kernel, onAlpha); });
    emit FilterApplied();
}

void TfrmFilter::Operation(TmyImagePal& image, bool)
{
    TmyFilter::ApplyFilterKernel(image, GetFilterKernel(), Options().FilterOnAlpha);
}

void TfrmFilter::Shown()
{
    const QSignalBlocker block(cmbSample);
    cmbSample->setCurrentIndex(0);
}

bool TfrmFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            const QChar c = text.at(0);
            if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('-'))
                return true;
        }
    }
    return TEffectDialog::eventFilter(watched, event);
}
