#include "editor/PictureFileDialog.h"

#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/Mypreview.h"
#include "engine/TypeCheck.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace glimt {

QImage PreviewPicture(const QString& fileName, QSize box, QSize* fullSize)
{
    if (fullSize)
        *fullSize = QSize();
    if (!QFileInfo(fileName).isFile() || box.isEmpty())
        return {};
    TImageFileType type = iftUnknown;
    try {
        type = DetectImageFileType(fileName);
    } catch (const std::exception&) {
        return {};
    }
    QImage picture;
    QSize full;
    if (type == iftIco || type == iftCur) {
        std::unique_ptr<TmyIcon> icon;
        if (!TmyIcoIO(false).LoadFromFile(icon, fileName) || !icon || icon->Count() == 0)
            return {};
        TmyPreview::RenderToImage(icon->Image(0), picture, 0xFFFFFF);
        full = picture.size();
    } else if (type == iftBmp || type == iftJpeg || type == iftPng || type == iftGif) {
        QImageReader reader(fileName);
        full = reader.size();
        // A large picture is decoded at the size it is shown.
        if (full.isValid() && (full.width() > box.width() || full.height() > box.height()))
            reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        picture = reader.read();
    }
    if (picture.isNull() || !full.isValid())
        return {};
    if (fullSize)
        *fullSize = full;
    if (picture.width() > box.width() || picture.height() > box.height())
        picture = picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return picture;
}

TPictureFileDialog::TPictureFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                                       const QString& filter)
    : QFileDialog(parent, caption, directory, filter)
{
    // The preview lives in the dialog's own layout, which only Qt's dialog has.
    setOption(QFileDialog::DontUseNativeDialog);
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("pnlPreview"));
    Preview = new QLabel(pane);
    Preview->setObjectName(QStringLiteral("imgPreview"));
    Preview->setFixedSize(PreviewSide + 4, PreviewSide + 4);
    Preview->setFrameShape(QFrame::StyledPanel);
    Preview->setAlignment(Qt::AlignCenter);
    lblSize = new QLabel(pane);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    lblSize->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Preview);
    column->addWidget(lblSize);
    column->addStretch(1);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);
    // The list keeps its room beside the preview.
    resize(sizeHint().expandedTo(QSize(width() + PreviewSide, height())));
    connect(this, &QFileDialog::currentChanged, this, &TPictureFileDialog::ShowPreview);
}

void TPictureFileDialog::ShowPreview(const QString& fileName)
{
    QSize full;
    const QImage picture = PreviewPicture(fileName, QSize(PreviewSide, PreviewSide), &full);
    if (picture.isNull()) {
        Preview->clear();
        lblSize->clear();
        return;
    }
    Preview->setPixmap(QPixmap::fromImage(picture));
    lblSize->setText(QString::number(full.width()) + QStringLiteral(" x ") + QString::number(full.height()));
}

} // namespace glimt
