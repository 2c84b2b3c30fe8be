#include "editor/formProperties.h"

#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/formDesk.h"
#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/Mypreview.h"
#include "engine/Settings.h"
#include "engine/language.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace glimt {

std::int64_t StoredImageSize(const TmyImagePal& image)
{
    return 40 + TmyIcoIO::XorDataSize(image.Height(), image.Width(), image.BitDepth)
           + TmyIcoIO::AndMaskSize(image.Height(), image.Width());
}

std::int64_t StoredIconSize(const TmyIcon& icon)
{
    std::int64_t total = 0;
    for (int i = 0; i < icon.Count(); ++i)
        total += StoredImageSize(icon.Image(i));
    return total + 16 * std::int64_t(icon.Count()) + 6;
}

} // namespace glimt

namespace {

// A row of the images' list: the picture at the left, three lines of text beside it. The
// lines keep their designed 15-pixel step unless the font needs more.
constexpr int kRowHeight = 90;
constexpr int kPictureSize = 85;
constexpr int kLabelLeft = 100;
constexpr int kFirstLine = 20;
constexpr int kLineStep = 15;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    return label;
}

// The image over the preview colour, 1:1 when it fits the picture control, else scaled down
// with its proportions.
QPixmap PreviewPicture(const TmyImagePal& image)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, Options().PrevColor);
    if (picture.width() > kPictureSize || picture.height() > kPictureSize)
        picture = picture.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio, Qt::FastTransformation);
    return QPixmap::fromImage(picture);
}

} // namespace

TfrmProperties::TfrmProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Properties"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    glimt::TDialogHeader header;
    header.Create(this, QStringLiteral("Properties"), QString(), 257);
    Image4 = header.Image4;
    lblCaption = header.lblCaption;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &header, QSize(257, 304));

    grpFile = new QGroupBox(QStringLiteral(" File "), this);
    grpFile->setObjectName(QStringLiteral("grpFile"));
    auto* file = new QVBoxLayout(grpFile);
    file->setSpacing(2);
    lblName = MakeLabel(grpFile, "lblName", QString());
    lblLocation = MakeLabel(grpFile, "lblLocation", QString());
    lblSize = MakeLabel(grpFile, "lblSize", QString());
    lblImageNo = MakeLabel(grpFile, "lblImageNo", QString());
    // A long file name or folder does not widen the dialog: its hint shows it whole.
    for (QLabel* label : {lblName, lblLocation})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel* label : {lblName, lblLocation, lblSize, lblImageNo})
        file->addWidget(label);
    layout->addWidget(grpFile);

    grpImages = new QGroupBox(QStringLiteral(" Images "), this);
    grpImages->setObjectName(QStringLiteral("grpImages"));
    auto* images = new QVBoxLayout(grpImages);
    images->setContentsMargins(4, images->contentsMargins().top(), 4, 4);
    ScrollBox1 = new QScrollArea(grpImages);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setMinimumHeight(96);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowsHost = new QWidget;
    ScrollBox1->setWidget(m_rowsHost);
    images->addWidget(ScrollBox1);
    layout->addWidget(grpImages, 1);

    btnOK = glimt::MakeDialogButton(this, "btnOK", QStringLiteral("OK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    glimt::AddButtonRow(layout, {btnOK});

    glimt::TranslateForm(this);
}

void TfrmProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
    // Centred at the size the rows gave it.
    layout()->activate();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
}

void TfrmProperties::hideEvent(QHideEvent* event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void TfrmProperties::FormActivate()
{
    // Showing again builds the rows afresh instead of piling new ones over the old.
    FormHide();
    const TmyIcon* icon = m_desk ? m_desk->Icon.get() : nullptr;
    if (!icon)
        return;
    // An untitled document has its caption as the name and no folder.
    const QString path = m_desk->FilePath();
    const QString name = path.isEmpty() ? m_desk->Caption() : QFileInfo(path).fileName();
    const QString folder = path.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(path).path() + QLatin1Char('/'));
    lblName->setText(glimt::MsgS("msglblName", "Name: %s1", name));
    lblName->setToolTip(lblName->text());
    lblLocation->setText(glimt::MsgS("msglblLocation", "Location: %s1", folder));
    lblLocation->setToolTip(lblLocation->text());
    lblImageNo->setText(glimt::MsgI("msglblImageNo", "Image Number: %i1", icon->Count()));

    m_rows.reserve(std::size_t(icon->Count()));
    const int step = std::max(kLineStep, QFontMetrics(font()).height() + 1);
    const int rowHeight = std::max(kRowHeight, kFirstLine + 3 * step + 5);
    int textWidth = 0;
    for (int i = 0; i < icon->Count(); ++i) {
        const TmyImagePal& image = icon->Image(i);
        const int top = rowHeight * i;
        TImageRow row;
        row.Picture = MakeLabel(m_rowsHost, nullptr, QString());
        row.Picture->setGeometry(10, top, kPictureSize, kPictureSize);
        row.Picture->setAlignment(Qt::AlignCenter);
        row.Picture->setPixmap(PreviewPicture(image));
        row.Type = MakeLabel(m_rowsHost, nullptr, glimt::MsgI("msglblType", "Data Type: %i1 bits", image.BitDepth));
        row.Dimension = MakeLabel(m_rowsHost, nullptr,
                                  glimt::MsgII("msglblDim", "Dimension: %i1 x %i2", image.Width(), image.Height()));
        row.Size = MakeLabel(m_rowsHost, nullptr,
                             glimt::MsgI("msglblSize", "Size: %i1 bytes", glimt::StoredImageSize(image)));
        int line = 0;
        for (QLabel* label : {row.Type, row.Dimension, row.Size}) {
            const QSize hint = label->sizeHint();
            label->setGeometry(kLabelLeft, top + kFirstLine + step * line++, hint.width(), std::max(hint.height(), kLineStep));
            textWidth = std::max(textWidth, hint.width());
        }
        for (QLabel* label : {row.Picture, row.Type, row.Dimension, row.Size})
            label->show();
        m_rows.push_back(row);
    }
    // The rows take the width their texts need, and the list room for them beside its bar.
    const int bar = ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int rowsWidth = std::max(kLabelLeft + textWidth + 4, ScrollBox1->viewport()->width());
    m_rowsHost->resize(rowsWidth, rowHeight * icon->Count());
    ScrollBox1->setMinimumWidth(kLabelLeft + textWidth + 4 + bar);
    lblSize->setText(glimt::MsgI("msglblSize", "Size: %i1 bytes", glimt::StoredIconSize(*icon)));
}

void TfrmProperties::FormHide()
{
    for (const TImageRow& row : m_rows)
        for (QLabel* label : {row.Picture, row.Type, row.Dimension, row.Size})
            delete label;
    m_rows.clear();
}
