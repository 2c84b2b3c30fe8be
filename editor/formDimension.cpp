#include "editor/formDimension.h"

#include "editor/EditorHost.h"
#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/formDesk.h"
#include "editor/formNew.h"
#include "engine/MyIcoIO.h"
#include "engine/myadjustments.h"
#include "engine/myselection.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfrmDimension::TfrmDimension(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDimension"));
    setWindowTitle(QStringLiteral("Dimension"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    glimt::TDialogBanner banner =
        glimt::MakeDialogBanner(this, 300, QStringLiteral("Dimension"), QStringLiteral("Change image dimension"));
    Image4 = banner.Image4;
    lblCaption = banner.lblCaption;
    lblHelp = banner.lblHelp;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &banner, QSize(300, 250));

    // The size choice stands in the middle, the buttons below it at the right.
    auto* sizes = new QWidget(this);
    m_size = new glimt::TSizeChoice(sizes, *this, NewWidth, NewHeight);
    auto* middle = new QHBoxLayout;
    middle->addStretch(1);
    middle->addWidget(sizes);
    middle->addStretch(1);
    layout->addLayout(middle, 1);

    glimt::MakeOkCancel(this, [this] { return btnOKClick(); }, btnOK, btnCancel);
    glimt::AddButtonRow(layout, {btnOK, btnCancel});
    glimt::TranslateForm(this);
}

bool TfrmDimension::btnOKClick()
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image)
        return true;
    // A selection floating on another document window is not this document's: the size then
    // goes to the current image, as for every other command.
    glimt::IToolEngine* tools = glimt::ToolEngine();
    const tmyselection* selection = tools ? tools->Selection() : nullptr;
    if (selection && !selection->IsEmpty() && selection->DocumentSlot == host->ActiveSlot()) {
        desk->ResizeSelection(NewWidth, NewHeight);
        return true;
    }
    if (!TfrmNewImage::IsFormatUnique(*desk->Icon, NewWidth, NewHeight, image->BitDepth))
        return false;
    desk->Undo->Push(*image);
    desk->Saved = false;
    host->UpdateUndoActions();
    TmyAdjustments::ResizeImage(*image, NewWidth, NewHeight);
    desk->Zoom = std::uint8_t(std::clamp<int>(image->Zoom, 1, 10));
    host->ApplyPaletteAction(*image);
    desk->ShowImage(*image);
    TmyIcoIO::SortImages(*desk->Icon);
    desk->FillImageCombo(true);
    desk->CenterImage();
    host->DocumentShown(desk);
    return true;
}
