#include "editor/formNew.h"

#include "editor/EditorHost.h"
#include "editor/FormBuilder.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>

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

    auto* Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, 0, 450, 48);
    Panel3->setAutoFillBackground(true);
    Panel3->setBackgroundRole(QPalette::Base);
    Image4 = new QLabel(Panel3);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setGeometry(450 - 48, 0, 48, 48);
    lblCaption = Make<QLabel>(Panel3, "lblCaption", QStringLiteral("New Image"), 10, 6, 380, 18);
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblHelp = Make<QLabel>(Panel3, "lblHelp", QStringLiteral("Add a new image to your icon"), 20, 24, 380, 18);

    grpColors = Make<QGroupBox>(this, "grpColors", QStringLiteral(" Colors "), 10, 56, 240, 155);
    rb32Bit = Make<QRadioButton>(grpColors, "rb32Bit", QStringLiteral("True Color + Alpha Channel (32 bits)"), 10, 20, 225, 20);
    rb24Bit = Make<QRadioButton>(grpColors, "rb24Bit", QStringLiteral("True Color (24 bits)"), 10, 41, 225, 20);
    rb8Bit = Make<QRadioButton>(grpColors, "rb8Bit", QStringLiteral("256 Colors (8 bits)"), 10, 62, 225, 20);
    rb4Bit = Make<QRadioButton>(grpColors, "rb4Bit", QStringLiteral("16 Colors (4 bits)"), 10, 83, 225, 20);
    rb1Bit = Make<QRadioButton>(grpColors, "rb1Bit", QStringLiteral("2 Colors (1 bit)"), 10, 104, 225, 20);
    rb32Bit->setChecked(true);

    grpSize = Make<QGroupBox>(this, "grpSize", QStringLiteral(" Size "), 258, 56, 182, 155);
    rb16 = Make<QRadioButton>(grpSize, "rb16", QStringLiteral("16 x 16"), 10, 20, 80, 20);
    rb24 = Make<QRadioButton>(grpSize, "rb24", QStringLiteral("24 x 24"), 10, 41, 80, 20);
    rb32 = Make<QRadioButton>(grpSize, "rb32", QStringLiteral("32 x 32"), 10, 62, 80, 20);
    rb48 = Make<QRadioButton>(grpSize, "rb48", QStringLiteral("48 x 48"), 95, 20, 80, 20);
    rb256 = Make<QRadioButton>(grpSize, "rb256", QStringLiteral("256 x 256"), 95, 41, 85, 20);
    rbCustom = Make<QRadioButton>(grpSize, "rbCustom", QStringLiteral("Custom:"), 10, 84, 160, 20);
    lblWidth = Make<QLabel>(grpSize, "lblWidth", QStringLiteral("Width:"), 10, 106, 45, 22);
    edtWidth = Make<QLineEdit>(grpSize, "edtWidth", QStringLiteral("128"), 55, 106, 36, 22);
    lblHeight = Make<QLabel>(grpSize, "lblHeight", QStringLiteral("Height:"), 96, 106, 45, 22);
    edtHeight = Make<QLineEdit>(grpSize, "edtHeight", QStringLiteral("128"), 140, 106, 36, 22);
    cbSquare = Make<QCheckBox>(grpSize, "cbSquare", QStringLiteral("Square"), 10, 130, 120, 20);
    rb48->setChecked(true);
    cbSquare->setChecked(true);

    grpImages = Make<QGroupBox>(this, "grpImages", QStringLiteral(" Source Image "), 10, 218, 430, 155);
    cbFromImage = Make<QCheckBox>(grpImages, "cbFromImage", QStringLiteral("Create the new image from the selected image:"), 10, 18, 410, 20);
    cbFromImage->setChecked(true);
    Thumbnails = new TThumbail(grpImages);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->setGeometry(10, 40, 405, 105);
    Thumbnails->CanDrag = false;
    Thumbnails->SelectionMode = TSelectMode::smSingle;
    Thumbnails->SetShowCaption(true);
    Thumbnails->SetThumbnailSize(75);
    Thumbnails->AlwaysSelected = true;

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOK->setDefault(true);

    for (QRadioButton* rb : {rb32Bit, rb24Bit, rb8Bit, rb4Bit, rb1Bit})
        connect(rb, &QRadioButton::clicked, this, &TfrmNewImage::rb8BitClick);
    for (QRadioButton* rb : {rb16, rb24, rb32, rb48, rb256, rbCustom})
        connect(rb, &QRadioButton::clicked, this, &TfrmNewImage::rbCustomClick);
    connect(edtWidth, &QLineEdit::textChanged, this, &TfrmNewImage::edtWidthChange);
    connect(edtHeight, &QLineEdit::textChanged, this, &TfrmNewImage::edtHeightChange);
    edtWidth->installEventFilter(this);
    edtHeight->installEventFilter(this);
    connect(cbFromImage, &QCheckBox::clicked, this, &TfrmNewImage::cbFromImageClick);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        btnCancelClick();
        reject();
    });
    rbCustomClick();
    ShowSourceGroup(true);
    glimt::TranslateForm(this);
}

void TfrmNewImage::ShowSourceGroup(bool show)
{
    m_sourceShown = show;
    grpImages->setVisible(show);
    const int h = show ? 442 : 283;
    setFixedSize(450, h - 29);
    btnOK->setGeometry(270, h - 29 - 34, 80, 26);
    btnCancel->setGeometry(360, h - 29 - 34, 80, 26);
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

void TfrmNewImage::rbCustomClick()
{
    const bool custom = rbCustom->isChecked();
    edtWidth->setEnabled(custom);
    edtHeight->setEnabled(custom);
    cbSquare->setEnabled(custom);
    const struct {
        QRadioButton* button;
        int side;
    } presets[] = {{rb16, 16}, {rb24, 24}, {rb32, 32}, {rb48, 48}, {rb256, 256}};
    for (const auto& p : presets) {
        if (p.button->isChecked()) {
            NewHeight = NewWidth = p.side;
            return;
        }
    }
    if (custom) {
        bool okH = false, okW = false;
        const int h = edtHeight->text().toInt(&okH);
        const int w = edtWidth->text().toInt(&okW);
        if (okH)
            NewHeight = h;
        if (okW)
            NewWidth = w;
    }
}

int TfrmNewImage::CorrectSizeEdit(QLineEdit* edit, QLineEdit* other)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return -1;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        glimt::UserDialogs().Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return -1;
    }
    if (value > 256 || value <= 0) {
        // Setting the corrected text runs this again through the edit's change signal.
        edit->setText(value > 256 ? QStringLiteral("256") : QStringLiteral("1"));
        return -1;
    }
    if (cbSquare->isChecked() && other->text() != text)
        other->setText(text);
    return value;
}

void TfrmNewImage::edtWidthChange()
{
    const int v = CorrectSizeEdit(edtWidth, edtHeight);
    if (v > 0)
        NewWidth = v;
}

void TfrmNewImage::edtHeightChange()
{
    const int v = CorrectSizeEdit(edtHeight, edtWidth);
    if (v > 0)
        NewHeight = v;
}

void TfrmNewImage::cbFromImageClick()
{
    Thumbnails->SetEnabled(cbFromImage->isChecked());
}

bool TfrmNewImage::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == edtWidth || watched == edtHeight) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0).isDigit();
        const bool editing = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Left || key->key() == Qt::Key_Right
            || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape
            || key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
        if (!digit && !editing)
            return true;
    }
    if ((watched == edtWidth || watched == edtHeight) && event->type() == QEvent::MouseButtonRelease) {
        static_cast<QLineEdit*>(watched)->selectAll();
    }
    return QDialog::eventFilter(watched, event);
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

void TfrmNewImage::btnOKClick()
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->Icon)
        return;
    TmyIcon& icon = *desk->Icon;
    if (!IsFormatUnique(icon, NewWidth, NewHeight, NewDepth))
        return;
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
