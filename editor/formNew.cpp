#include "editor/formNew.h"

#include "editor/EditorHost.h"
#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/thumbnail.h"
#include "engine/MyIcon.h"
#include "engine/language.h"

#if __has_include("engine/myadjustments.h") && __has_include("engine/PaletteLibrary.h")
#include "engine/PaletteLibrary.h"
#include "engine/myadjustments.h"
#define GLIMT_HAS_IMAGE_OPERATIONS 1
#endif

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace glimt {

bool HasImageFormat(const TmyIcon& icon, int width, int height, int depth)
{
    for (int i = 0; i < icon.Count(); ++i) {
        const TmyImagePal& im = icon.Image(i);
        if (im.Width() == width && im.Height() == height && im.BitDepth == depth)
            return true;
    }
    return false;
}

int NewImageInsertIndex(const TmyIcon& icon, int width, int height, int depth)
{
    for (int i = 0; i < icon.Count(); ++i) {
        const TmyImagePal& im = icon.Image(i);
        if (im.BitDepth < depth || (im.BitDepth == depth && im.Width() < width)
            || (im.BitDepth == depth && im.Width() == width && im.Height() < height))
            return i;
    }
    return icon.Count();
}

} // namespace glimt

using glimt::Make;

TfrmNewImage::TfrmNewImage(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNewImage"));
    setWindowTitle(QStringLiteral("New Image"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    glimt::TDialogBanner banner =
        glimt::MakeDialogBanner(this, 450, QStringLiteral("New Image"), QStringLiteral("Add a new image to your icon"));
    Image4 = banner.Image4;
    lblCaption = banner.lblCaption;
    lblHelp = banner.lblHelp;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &banner, QSize(450, 413));

    grpColors = Make<QGroupBox>(this, "grpColors", QStringLiteral(" Colors "));
    auto* colors = new QVBoxLayout(grpColors);
    colors->setSpacing(1);
    rb32Bit = Make<QRadioButton>(grpColors, "rb32Bit", QStringLiteral("True Color + Alpha Channel (32 bits)"));
    rb24Bit = Make<QRadioButton>(grpColors, "rb24Bit", QStringLiteral("True Color (24 bits)"));
    rb8Bit = Make<QRadioButton>(grpColors, "rb8Bit", QStringLiteral("256 Colors (8 bits)"));
    rb4Bit = Make<QRadioButton>(grpColors, "rb4Bit", QStringLiteral("16 Colors (4 bits)"));
    rb1Bit = Make<QRadioButton>(grpColors, "rb1Bit", QStringLiteral("2 Colors (1 bit)"));
    for (QRadioButton* rb : {rb32Bit, rb24Bit, rb8Bit, rb4Bit, rb1Bit})
        colors->addWidget(rb);
    colors->addStretch(1);
    rb32Bit->setChecked(true);

    grpSize = Make<QGroupBox>(this, "grpSize", QStringLiteral(" Size "));
    m_size = new glimt::TSizeChoice(grpSize, *this, NewWidth, NewHeight);
    auto* groups = new QHBoxLayout;
    groups->addWidget(grpColors, 1);
    groups->addWidget(grpSize);
    layout->addLayout(groups);

    grpImages = Make<QGroupBox>(this, "grpImages", QStringLiteral(" Source Image "));
    auto* images = new QVBoxLayout(grpImages);
    cbFromImage = Make<QCheckBox>(grpImages, "cbFromImage", QStringLiteral("Create the new image from the selected image:"));
    cbFromImage->setChecked(true);
    Thumbnails = new TThumbail(grpImages);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->setMinimumSize(405, 105);
    Thumbnails->CanDrag = false;
    Thumbnails->SelectionMode = TSelectMode::smSingle;
    Thumbnails->SetShowCaption(true);
    Thumbnails->SetThumbnailSize(75);
    Thumbnails->AlwaysSelected = true;
    images->addWidget(cbFromImage);
    images->addWidget(Thumbnails, 1);
    layout->addWidget(grpImages, 1);

    btnOK = glimt::MakeDialogButton(this, "btnOK", QStringLiteral("OK"));
    btnCancel = glimt::MakeDialogButton(this, "btnCancel", QStringLiteral("Cancel"));
    btnOK->setDefault(true);
    glimt::AddButtonRow(layout, {btnOK, btnCancel});

    for (QRadioButton* rb : {rb32Bit, rb24Bit, rb8Bit, rb4Bit, rb1Bit})
        connect(rb, &QRadioButton::clicked, this, &TfrmNewImage::rb8BitClick);
    connect(cbFromImage, &QCheckBox::clicked, this, &TfrmNewImage::cbFromImageClick);
    // A refused format keeps the dialog open, with the warning shown, for another choice.
    connect(btnOK, &QPushButton::clicked, this, [this] {
        if (btnOKClick())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        btnCancelClick();
        reject();
    });
    ShowSourceGroup(true);
    glimt::TranslateForm(this);
}

void TfrmNewImage::ShowSourceGroup(bool show)
{
    m_sourceShown = show;
    grpImages->setVisible(show);
    glimt::SetDialogLeastSize(this, QSize(450, show ? 413 : 254));
}

bool TfrmNewImage::IsFormatUnique(const TmyIcon& icon, int width, int height, int bitDepth)
{
    if (!glimt::HasImageFormat(icon, width, height, bitDepth))
        return true;
    glimt::UserDialogs().Warning(glimt::Msg("msgNotUnique", "There is already an image with this format in the icon!"));
    return false;
}

void TfrmNewImage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmNewImage::FormShow()
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->Icon)
        return;
    Thumbnails->LoadIconImages(*desk->Icon);
    if (Thumbnails->Count() > 0)
        Thumbnails->SelectIndex(0);
}

void TfrmNewImage::rb8BitClick()
{
    if (rb32Bit->isChecked())
        NewDepth = 32;
    else if (rb24Bit->isChecked())
        NewDepth = 24;
    else if (rb8Bit->isChecked())
        NewDepth = 8;
    else if (rb4Bit->isChecked())
        NewDepth = 4;
    else if (rb1Bit->isChecked())
        NewDepth = 1;
}

void TfrmNewImage::cbFromImageClick()
{
    Thumbnails->SetEnabled(cbFromImage->isChecked());
}

void TfrmNewImage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btnOK->click();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        btnCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmNewImage::btnOKClick()
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->Icon)
        return true;
    TmyIcon& icon = *desk->Icon;
    if (!IsFormatUnique(icon, NewWidth, NewHeight, NewDepth))
        return false;
    desk->Undo->Clear();
    host->UpdateUndoActions();
    if (m_sourceShown)
        desk->Saved = false;
    const int i = glimt::NewImageInsertIndex(icon, NewWidth, NewHeight, NewDepth);
    TmyImagePal& image = icon.InsertImage(NewHeight, NewWidth, NewDepth, i);
    if (m_sourceShown && cbFromImage->isChecked() && !Thumbnails->SelectedIndices.empty()) {
        const int s = Thumbnails->SelectedIndices.front();
        const int source = s < i ? s : s + 1;
        if (source >= 0 && source < icon.Count() && source != i) {
#ifdef GLIMT_HAS_IMAGE_OPERATIONS
            image.Assign(icon.Image(source));
            TmyAdjustments::ResizeImage(image, NewWidth, NewHeight);
            TPaletteLibrary::ConvertImageDepth(image, NewDepth);
            image.UpdateZoom();
#endif
        }
    }
    desk->Zoom = std::uint8_t(std::clamp<int>(image.Zoom, 1, 10));
    desk->FillImageCombo(true);
    desk->ShowImage(image);
    host->DocumentShown(desk);
    if (glimt::IToolEngine* tools = glimt::ToolEngine())
        tools->UpdateBrushPreview();
    desk->CenterImage();
    return true;
}

void TfrmNewImage::btnCancelClick()
{
    if (m_sourceShown)
        return;
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(desk->parentWidget()))
        sub->close();
    else
        desk->close();
}
