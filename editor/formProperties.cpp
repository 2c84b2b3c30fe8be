#include "editor/formProperties.h"

#include "editor/Artwork.h"
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

constexpr int kRowHeight = 90;
constexpr int kPictureSize = 85;
constexpr int kFormWidth = 300;
constexpr int kLabelLeft = 100;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, w, h);
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
    // Wider than its 257 pixels of old, so that "Dimension: 256 x 256" fits beside the picture
    // in this platform's fonts.
    setFixedSize(kFormWidth, 304);

    auto* Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, 0, kFormWidth, 48);
    Panel3->setAutoFillBackground(true);
    Panel3->setBackgroundRole(QPalette::Base);
    Image4 = MakeLabel(Panel3, "Image4", QString(), kFormWidth - 48, 0, 48, 48);
    glimt::ShowDialogBanner(Image4, kFormWidth);
    lblCaption = MakeLabel(Panel3, "lblCaption", QStringLiteral("Properties"), 10, 15, 190, 18);
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);

    grpFile = new QGroupBox(QStringLiteral(" File "), this);
    grpFile->setObjectName(QStringLiteral("grpFile"));
    grpFile->setGeometry(8, 54, kFormWidth - 16, 90);
    lblName = MakeLabel(grpFile, "lblName", QString(), 10, 18, kFormWidth - 36, 16);
    lblLocation = MakeLabel(grpFile, "lblLocation", QString(), 10, 34, kFormWidth - 36, 16);
    lblSize = MakeLabel(grpFile, "lblSize", QString(), 10, 50, kFormWidth - 36, 16);
    lblImageNo = MakeLabel(grpFile, "lblImageNo", QString(), 10, 66, kFormWidth - 36, 16);

    grpImages = new QGroupBox(QStringLiteral(" Images "), this);
    grpImages->setObjectName(QStringLiteral("grpImages"));
    grpImages->setGeometry(8, 148, kFormWidth - 16, 118);
    ScrollBox1 = new QScrollArea(grpImages);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(4, 18, kFormWidth - 24, 96);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowsHost = new QWidget;
    ScrollBox1->setWidget(m_rowsHost);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(kFormWidth - 83, 272, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    glimt::TranslateForm(this);
}

void TfrmProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    FormActivate();
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
    // Room for the vertical scroll bar, which shows from the third row on.
    const int rowsWidth = ScrollBox1->width() - ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int labelWidth = rowsWidth - kLabelLeft;
    for (int i = 0; i < icon->Count(); ++i) {
        const TmyImagePal& image = icon->Image(i);
        const int top = kRowHeight * i;
        TImageRow row;
        row.Picture = MakeLabel(m_rowsHost, nullptr, QString(), 10, top, kPictureSize, kPictureSize);
        row.Picture->setAlignment(Qt::AlignCenter);
        row.Picture->setPixmap(PreviewPicture(image));
        row.Type = MakeLabel(m_rowsHost, nullptr, glimt::MsgI("msglblType", "Data Type: %i1 bits", image.BitDepth),
                             kLabelLeft, top + 20, labelWidth, 15);
        row.Dimension = MakeLabel(m_rowsHost, nullptr,
                                  glimt::MsgII("msglblDim", "Dimension: %i1 x %i2", image.Width(), image.Height()),
                                  kLabelLeft, top + 35, labelWidth, 15);
        row.Size = MakeLabel(m_rowsHost, nullptr,
                             glimt::MsgI("msglblSize", "Size: %i1 bytes", glimt::StoredImageSize(image)), kLabelLeft,
                             top + 50, labelWidth, 15);
        for (QLabel* label : {row.Picture, row.Type, row.Dimension, row.Size})
            label->show();
        m_rows.push_back(row);
    }
    m_rowsHost->resize(rowsWidth, kRowHeight * icon->Count());
    lblSize->setText(glimt::MsgI("msglblSize", "Size: %i1 bytes", glimt::StoredIconSize(*icon)));
}

void TfrmProperties::FormHide()
{
    for (const TImageRow& row : m_rows)
        for (QLabel* label : {row.Picture, row.Type, row.Dimension, row.Size})
            delete label;
    m_rows.clear();
}
