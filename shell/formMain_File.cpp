// Opening and saving: the one open road, Save and Save As, the recent files and the file
// dialogs' filters.
#include "shell/formMain.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/formNew.h"
#include "engine/Errors.h"
#include "engine/MyIcoIO.h"
#include "engine/Settings.h"
#include "engine/TypeCheck.h"
#include "engine/language.h"
#include "shell/RecentFiles.h"
#include "shell/ShellLink.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

bool TfrmMain::OpenFileList(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!OpenDocumentFile(path))
            return false;
    }
    return true;
}

QString TfrmMain::ResolveShortcut(const QString& Path)
{
    return glimt::ResolveShortcutPath(Path);
}

bool TfrmMain::OpenDocumentFile(const QString& Path)
{
    QString path = Path;
    if (QFileInfo(path).suffix().toLower() == QLatin1String("lnk")) {
        const QString target = ResolveShortcut(path);
        if (target.isEmpty()) {
            glimt::UserDialogs().Warning(glimt::MsgS("msgFileNotFound", "The file %s1 does not exist!", path));
            return false;
        }
        path = target;
    }
    path = QFileInfo(path).absoluteFilePath();

    // A missing or unreadable file (a stale recent entry, a dropped file that vanished) is
    // reported and stops a list like a failed open; it adds no recent entry.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        glimt::UserDialogs().Warning(glimt::MsgS("msgFileNotFound", "The file %s1 does not exist!", path));
        return false;
    }
    TImageFileKind kind;
    try {
        kind = ImageFileKind(path);
    } catch (const glimt::FileError& e) {
        glimt::UserDialogs().Warning(e.Text());
        return false;
    }

    bool result = false;
    activateWindow();
    switch (kind) {
    case ifkIcon:
        result = OpenIconFile(path);
        break;
    case ifkImage:
        result = ImportImageFile(path);
        break;
    default:
        result = OpenInExtractor(path);
        break;
    }
    AddRecentFile(path);
    activateWindow();
    return result;
}

bool TfrmMain::OpenIconFile(const QString& Path)
{
    if (!QFileInfo::exists(Path)) {
        glimt::UserDialogs().Warning(glimt::MsgS("msgFileNotFound", "The file %s1 does not exist!", Path));
        return false;
    }
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        TfrmDesk* desk = Desks[std::size_t(slot)];
        if (desk->FilePath() == Path) {
            if (QMdiSubWindow* sub = SubWindowOf(desk))
                m_panel1->setActiveSubWindow(sub);
            desk->ActivateDocument();
            glimt::UserDialogs().Warning(glimt::Msg("msgAlreadyOpen", "The file is already open!"));
            return true;
        }
    }
    if (!CreateDocumentWindow(Path))
        return false;

    TfrmDesk* desk = ActiveDesk();
    TmyIcoIO reader(true);
    bool loaded = false;
    try {
        loaded = reader.LoadFromFile(desk->Icon, Path) && desk->Icon && desk->Icon->Count() > 0;
    } catch (const glimt::FileError& e) {
        glimt::UserDialogs().Warning(e.Text());
    }
    if (!loaded) {
        DiscardDocumentWindow(desk);
        return false;
    }
    ShowLoadedDocument(desk);
    return true;
}

TfrmNewImage* TfrmMain::NewImageDialog()
{
    if (!m_frmNewImage) {
        m_frmNewImage = new TfrmNewImage(this);
        m_frmNewImage->setObjectName(QStringLiteral("frmNewImage"));
    }
    return m_frmNewImage;
}

bool TfrmMain::AskFirstImage(TfrmDesk* desk)
{
    TfrmNewImage* dialog = NewImageDialog();
    dialog->ShowSourceGroup(false);
    // OK adds the image to the new document; Cancel has closed the new window already.
    const bool ok = dialog->exec() == QDialog::Accepted;
    dialog->ShowSourceGroup(true);
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        if (Desks[std::size_t(slot)] != desk)
            continue;
        QMdiSubWindow* sub = SubWindowOf(desk);
        if (!sub)
            return false;
        // A dialog left through its close box leaves no empty document behind.
        if (!ok || !desk->Icon || desk->Icon->Count() == 0) {
            sub->close();
            return false;
        }
        return true;
    }
    return false;
}

void TfrmMain::actnNewExecute()
{
    if (!CreateDocumentWindow(QStringLiteral("Untitled")))
        return;
    TfrmDesk* desk = ActiveDesk();
    if (AskFirstImage(desk))
        SubWindowOf(desk)->show();
}

void TfrmMain::actnOpenExecute()
{
    glimt::TFileRequest request;
    request.title = tr("Open");
    request.filter = m_filterOpenIcon;
    QStringList files;
    if (glimt::UserDialogs().OpenFileNames(request, true, files))
        OpenFileList(files);
}

bool TfrmMain::WriteActiveIcon(const QString& path)
{
    TfrmDesk* desk = ActiveDesk();
    TmyIcoIO writer(true);
    try {
        writer.SaveToFile(*desk->Icon, path, Options().Compress);
    } catch (const glimt::Error& e) {
        glimt::UserDialogs().Error(e.Text());
        return false;
    }
    return true;
}

bool TfrmMain::actnSaveExecute()
{
    TfrmDesk* desk = ActiveDesk();
    if (!desk || !desk->Icon)
        return false;
    // A document read from a cursor file goes through Save As: the writer writes icons only,
    // and writing over the cursor would lose its hot spots.
    if (desk->FilePath().isEmpty() || desk->Icon->Kind == iftCur)
        return actnSaveAsExecute();
    if (!WriteActiveIcon(desk->FilePath()))
        return false;
    desk->Saved = true;
    AddRecentFile(desk->FilePath());
    return true;
}

bool TfrmMain::actnSaveAsExecute()
{
    TfrmDesk* desk = ActiveDesk();
    if (!desk || !desk->Icon)
        return false;
    glimt::TFileRequest request;
    request.title = tr("Save As");
    request.filter = m_filterSaveIcon;
    if (desk->FilePath().isEmpty()) {
        request.fileName = desk->Caption();
    } else {
        const QFileInfo info(desk->FilePath());
        request.directory = info.absolutePath();
        request.fileName = desk->Icon->Kind == iftCur ? info.completeBaseName() + QStringLiteral(".ico") : info.fileName();
    }
    QString path;
    if (!glimt::UserDialogs().SaveFileName(request, path))
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ico");
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo(path).suffix().compare(QLatin1String("cur"), Qt::CaseInsensitive) == 0) {
        // The writer writes icons only: an icon under a cursor's name would pass for one.
        path.chop(4);
        path += QStringLiteral(".ico");
        glimt::UserDialogs().Information(glimt::MsgS("msgSavedAsIcon",
            "Cursors cannot be written: the document is saved as the icon %s1.", QFileInfo(path).fileName()));
    }
    if (QFileInfo::exists(path)
        && !glimt::UserDialogs().YesNo(
            glimt::MsgS("msgAlredyExists", "%s1 already exists! Overwrite?", QFileInfo(path).fileName())))
        return false;
    if (!WriteActiveIcon(path))
        return false;
    desk->SetFilePath(path);
    desk->Icon->Kind = iftIco;
    desk->Saved = true;
    AddRecentFile(path);
    BuildWindowMenu();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Recent files

void TfrmMain::AddRecentFile(const QString& Path)
{
    glimt::AddRecentFile(Options(), Path);
    BuildRecentFilesMenu();
}

void TfrmMain::BuildRecentFilesMenu()
{
    for (QAction* a : m_recentActions) {
        m_recentMenu->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    int number = 0;
    for (const QString& path : glimt::RecentFilesNewestFirst(Options())) {
        QString caption = glimt::RecentFileCaption(++number, path);
        auto* a = new QAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        a->setData(path);
        connect(a, &QAction::triggered, this,
                [this, a] { RunCommand(nullptr, [&] { OpenDocumentFile(a->data().toString()); }); });
        m_recentMenu->addAction(a);
        m_recentActions.append(a);
    }
}

void TfrmMain::actClearExecute()
{
    for (int i = 1; i <= 10; ++i)
        Options().SetRecentFile(i, QString());
    BuildRecentFilesMenu();
}

void TfrmMain::TranslateDialogFilters()
{
    using glimt::Msg;
    m_filterSaveIcon = Msg("msgIco", "Windows Icon") + QStringLiteral(" (*.ico)");
    m_filterOpenIcon = Msg("msgIco", "Windows Icon") + QStringLiteral(" (*.ico);;")
                       + Msg("msgImages", "Images") + QStringLiteral(" (*.bmp *.jpg *.png *.gif *.cur);;")
                       + Msg("msgBinary", "Binary") + QStringLiteral(" (*.exe *.dll *.ocx *.icl)");
}
