// The Icon commands of the main window: new and delete image, next and previous image, and the
// new icon made from the current image.
#include "shell/formMain.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/formImageToIco.h"
#include "editor/formNew.h"
#include "engine/language.h"

#include <QAction>

namespace {

void actnnewimageExecute(TfrmMain& main)
{
    TfrmNewImage* dialog = main.NewImageDialog();
    dialog->ShowSourceGroup(true);
    dialog->exec();
    main.UpdateImageNavActions();
}

void actndelimageExecute(TfrmMain& main)
{
    TfrmDesk* desk = main.ActiveDesk();
    if (!desk || !desk->Icon)
        return;
    TmyIcon& icon = *desk->Icon;
    if (icon.Count() < 2) {
        glimt::UserDialogs().Warning(glimt::Msg("msgDeleteLast", "Cannot delete last image!"));
        return;
    }
    if (!glimt::UserDialogs().YesNo(glimt::Msg("msgDeleteImg", "Delete the current image? (This can not be undone!)")))
        return;
    icon.DeleteImage(icon.Current);
    TmyImagePal& first = *icon.CurrentImage();
    desk->Zoom = std::uint8_t(std::clamp<int>(first.Zoom, 1, 10));
    desk->ShowImage(first);
    desk->Saved = false;
    desk->FillImageCombo(true);
    desk->Undo->Clear();
    main.UpdateUndoActions();
    desk->CenterImage();
    main.DocumentShown(desk);
    main.UpdateImageNavActions();
}

// Next (+1) and Previous (-1) image; the actions are enabled only while that image exists.
void StepImage(TfrmMain& main, int step)
{
    TfrmDesk* desk = main.ActiveDesk();
    if (!desk || !desk->Icon)
        return;
    if (glimt::IToolEngine* tools = glimt::ToolEngine())
        tools->DropSelection();
    TmyIcon& icon = *desk->Icon;
    const int next = icon.Current + step;
    if (next < 0 || next >= icon.Count())
        return;
    icon.Current = next;
    desk->ShowImage(*icon.CurrentImage());
    // The history belongs to one image.
    desk->Undo->Clear();
    main.UpdateUndoActions();
    desk->FillImageCombo(true);
    desk->CenterImage();
    main.DocumentShown(desk);
    main.UpdateImageNavActions();
}

} // namespace

void TfrmMain::CreateIconActions()
{
    const QString icon = QStringLiteral("Icon");
    AddAction("actnnewimage", tr("New Image"), icon, [this] { actnnewimageExecute(*this); });
    AddAction("actndelimage", tr("Delete Image"), icon, [this] { actndelimageExecute(*this); });
    AddAction("actnnext", tr("Next Image"), icon, [this] { StepImage(*this, 1); });
    AddAction("actnPrev", tr("Previous Image"), icon, [this] { StepImage(*this, -1); });
    QAction* a = AddAction("actnImagetoIco", tr("Create Icon From Image"), QStringLiteral("Edit"),
        [this] { ImageToIcoDialog()->exec(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
}

TfrmImageToIco* TfrmMain::ImageToIcoDialog()
{
    if (!m_frmImageToIco)
        m_frmImageToIco = new TfrmImageToIco(this);
    return m_frmImageToIco;
}
