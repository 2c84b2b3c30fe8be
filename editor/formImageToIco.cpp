#include "editor/formImageToIco.h"

#include "editor/EditorHost.h"
#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "engine/PaletteLibrary.h"
#include "engine/language.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using glimt::Make;

const std::array<TfrmImageToIco::TFormat, 15> TfrmImageToIco::Formats = {{
    {"cbXP256", 256, 32, true}, {"cbXP48", 48, 32, true},    {"cbXP32", 32, 32, true},
    {"cbXP24", 24, 32, false},  {"cbXP16", 16, 32, true},    {"cb256256", 256, 8, false},
    {"cb25648", 48, 8, true},   {"cb25632", 32, 8, true},    {"cb25624", 24, 8, false},
    {"cb25616", 16, 8, true},   {"cb16256", 256, 4, false},  {"cb1648", 48, 4, false},
    {"cb1632", 32, 4, true},    {"cb1624", 24, 4, false},    {"cb1616", 16, 4, true},
}};

TfrmImageToIco::TfrmImageToIco(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImageToIco"));
    setWindowTitle(QStringLiteral("Icon From Image"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    glimt::TDialogBanner banner = glimt::MakeDialogBanner(this, 450, QStringLiteral("Ico From Image"),
        QStringLiteral("Create icon from the current image"));
    Image4 = banner.Image4;
    lblCaption = banner.lblCaption;
    lblHelp = banner.lblHelp;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &banner, QSize(450, 216));

    layout->addWidget(Make<QLabel>(this, "Label1", QStringLiteral("Include the following image formats in the icon:")));
    // A row per colour depth under its label, a column per size.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setContentsMargins(0, 4, 0, 4);
    const char* rows[] = {"XP Colors", "256 Colors", "16 Colors"};
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(QString::fromLatin1(rows[r]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(r + 2));
        label->setMinimumWidth(78);
        grid->addWidget(label, r, 0);
        for (int c = 0; c < 5; ++c) {
            const std::size_t i = std::size_t(r * 5 + c);
            const TFormat& f = Formats[i];
            CheckBoxes[i] = Make<QCheckBox>(this, f.name, QStringLiteral("%1 x %1").arg(f.size));
            CheckBoxes[i]->setChecked(f.tickedAtFirst);
            grid->addWidget(CheckBoxes[i], r, c + 1);
        }
    }
    layout->addLayout(grid);
    layout->addStretch(1);
    glimt::MakeOkCancel(this, [this] { return btnOKClick(); }, btnOK, btnCancel);
    glimt::AddButtonRow(layout, {btnOK, btnCancel});
    glimt::TranslateForm(this);
}

void TfrmImageToIco::AddImageFormat(const TmyImagePal& source, int width, int height, int bits)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->Icon)
        return;
    TmyImagePal& image = desk->Icon->AddImage(height, width, bits);
    image.Assign(source);
    TmyAdjustments::ResizeImage(image, width, height);
    TPaletteLibrary::ConvertImageDepth(image, bits);
    image.UpdateZoom();
}

bool TfrmImageToIco::btnOKClick()
{
    const glimt::BusyGuard busy;
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* from = host ? host->ActiveDesk() : nullptr;
    const TmyImagePal* current = from ? from->CurrentImage() : nullptr;
    if (!current)
        return true;
    bool any = false;
    for (const QCheckBox* cb : CheckBoxes)
        any = any || cb->isChecked();
    if (!any) {
        EndBusy();
        glimt::UserDialogs().Warning(glimt::Msg("msgNoSelection", "The icon must contain at least one image format!"));
        return false;
    }
    // The source is copied first: the new document becomes the active one.
    const TmyImagePal source = *current;
    if (!host->CreateDocumentWindow(QStringLiteral("Untitled")))
        return true;
    for (std::size_t i = 0; i < Formats.size(); ++i) {
        if (CheckBoxes[i]->isChecked())
            AddImageFormat(source, Formats[i].size, Formats[i].size, Formats[i].bits);
    }
    TfrmDesk* desk = host->ActiveDesk();
    desk->Saved = false;
    desk->Icon->Current = 0;
    TmyImagePal& first = desk->Icon->Image(0);
    desk->Zoom = std::uint8_t(std::clamp<int>(first.Zoom, 1, 10));
    desk->FillImageCombo(true);
    desk->ShowImage(first);
    if (QWidget* frame = desk->parentWidget())
        frame->show();
    desk->show();
    desk->CenterImage();
    host->DocumentShown(desk);
    return true;
}
