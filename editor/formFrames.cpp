#include "editor/formFrames.h"

#include "editor/FormBuilder.h"
#include "editor/EditorHost.h"
#include "editor/Translate.h"
#include "editor/thumbnail.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"
#include "engine/MyImage.h"
#include "engine/PaletteLibrary.h"
#include "engine/SafeFile.h"
#include "engine/TypeCheck.h"
#include "engine/myimport.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace glimt {

TmyImagePal GifFrameImage(const GifPicture& gif, int frame, bool overimpose, int targetWidth, int targetHeight,
                          int targetDepth)
{
    PictureBitmap bitmap{ComposeGifFrames(gif, frame, overimpose), BitmapAlpha::Straight};
    TmyImagePal image(targetHeight, targetWidth, 32);
    TmyImport::BitmapToImage(bitmap, image, targetHeight, targetWidth);
    TPaletteLibrary::ConvertImageDepth(image, targetDepth);
    image.UpdateZoom();
    return image;
}

namespace {

// The decoded GIF of `fileName`; throws glimt::Error (or FileError) when it cannot be read.
GifPicture LoadGif(const QString& fileName)
{
    const QByteArray bytes = ReadWholeFile(fileName);
    return DecodeGif(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

} // namespace

TfrmFrames* FramesDialog()
{
    static QPointer<TfrmFrames> dialog;
    if (!dialog) {
        IEditorHost* host = EditorHost();
        dialog = new TfrmFrames(host ? host->MainWidget() : nullptr);
    }
    return dialog;
}

bool RunFramesDialog(const QString& fileName, int targetWidth, int targetHeight, int targetDepth)
{
    GifPicture gif;
    try {
        if (DetectImageFileType(fileName) != iftGif)
            return false;
        gif = LoadGif(fileName);
        if (gif.Frames.empty())
            return false;
    } catch (const std::exception&) {
        return false;
    }
    TfrmFrames* dialog = FramesDialog();
    dialog->SetGif(fileName, std::move(gif));
    dialog->FileName = fileName;
    dialog->TargetWidth = targetWidth;
    dialog->TargetHeight = targetHeight;
    dialog->TargetDepth = targetDepth;
    dialog->exec();
    return true;
}

} // namespace glimt

TfrmFrames::TfrmFrames(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFrames"));
    setWindowTitle(QStringLiteral("Frames"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Header.Create(this, QStringLiteral("Frames"), QStringLiteral("Select a frame to import"), 496);
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &Header, QSize(), glimt::TDialogSizing::Resizable);
    layout->setContentsMargins(0, 0, 0, 0);

    Thumbnails = new TThumbail(this);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->CanDrag = false;
    Thumbnails->SelectionMode = TSelectMode::smMultiple;
    Thumbnails->SetShowCaption(false);
    Thumbnails->SetThumbnailSize(150);
    Thumbnails->setFrameShape(QFrame::NoFrame);

    cbOverimpose = new QCheckBox(QStringLiteral("Over-impose frames"), this);
    cbOverimpose->setObjectName(QStringLiteral("cbOverimpose"));
    cbOverimpose->setChecked(true);
    glimt::MakeOkCancelButtons(this, btnOK, btnCancel);
    layout->addWidget(Thumbnails, 1);
    QHBoxLayout* bottom = glimt::AddButtonRow(layout, {btnOK, btnCancel});
    bottom->setContentsMargins(10, 8, 10, 8);
    bottom->insertWidget(0, cbOverimpose);
    resize(QSize(496, 429).expandedTo(sizeHint()));

    connect(btnOK, &QPushButton::clicked, this, &TfrmFrames::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbOverimpose, &QCheckBox::clicked, this, &TfrmFrames::FillFrames);
    connect(Thumbnails, &TThumbail::OnItemDblClicked, btnOK, &QPushButton::click);
    glimt::TranslateForm(this);
}

void TfrmFrames::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FillFrames();
}

const glimt::GifPicture* TfrmFrames::Gif()
{
    if (!m_gif || m_gifFile != FileName) {
        m_gif.reset();
        try {
            if (DetectImageFileType(FileName) != iftGif)
                return nullptr;
            m_gif = glimt::LoadGif(FileName);
            m_gifFile = FileName;
        } catch (const std::exception&) {
            return nullptr;
        }
    }
    return &*m_gif;
}

void TfrmFrames::SetGif(const QString& fileName, glimt::GifPicture gif)
{
    m_gif = std::move(gif);
    m_gifFile = fileName;
}

void TfrmFrames::FillFrames()
{
    Thumbnails->ClearItems();
    if (const glimt::GifPicture* gif = Gif())
        Thumbnails->LoadGifFrames(*gif, cbOverimpose->isChecked());
    if (Thumbnails->Count() > 0)
        Thumbnails->SelectIndex(0);
}

void TfrmFrames::done(int result)
{
    QDialog::done(result);
    Thumbnails->ClearItems();
    m_gif.reset();
    m_gifFile.clear();
}

void TfrmFrames::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btnOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmFrames::btnOKClick()
{
    if (Thumbnails->SelectedIndices.empty())
        return;
    const std::vector<int> frames = Thumbnails->SelectedIndices;
    const glimt::GifPicture* gif = Gif();
    hide();
    // Runs from a button's signal: a failure is reported here and ends the picker.
    glimt::ReportFailures([&] {
        glimt::IEditorHost* host = glimt::EditorHost();
        for (int k : frames) {
            if (!gif || !host || k < 0 || k >= int(gif->Frames.size()))
                break;
            const TmyImagePal image =
                glimt::GifFrameImage(*gif, k, cbOverimpose->isChecked(), TargetWidth, TargetHeight, TargetDepth);
            if (!host->CreateDocumentFromImage(image))
                break;
        }
    });
    accept();
}
