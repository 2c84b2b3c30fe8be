// Pictures in and out: Import Image, the picture road of the open road, Export Image, the
// extract dialog's road, Capture and Batch Process.
#include "shell/formMain.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/formNew.h"
#include "engine/Errors.h"
#include "engine/PaletteLibrary.h"
#include "engine/TypeCheck.h"
#include "engine/language.h"
#include "engine/myimport.h"
#include "shell/PictureExport.h"
#include "shell/formBatch.h"
#include "shell/formCapture.h"
#include "shell/formExtract.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

using glimt::Msg;

QString OpenImageFilter()
{
    return Msg("msgBmp", "Bitmap") + QStringLiteral(" (*.bmp);;") + Msg("msgJpg", "Jpg Image")
           + QStringLiteral(" (*.jpg *.jpeg);;") + Msg("msgPng", "Portable Network Graphic") + QStringLiteral(" (*.png);;")
           + Msg("msgGif", "Graphics Interchange Format") + QStringLiteral(" (*.gif);;") + Msg("msgCur", "Windows Cursor")
           + QStringLiteral(" (*.cur);;") + Msg("msgAllFormats", "All Formats")
           + QStringLiteral(" (*.bmp *.jpg *.jpeg *.png *.gif *.cur)");
}

QString SaveImageFilter()
{
    return Msg("msgBmp", "Bitmap") + QStringLiteral(" (*.bmp);;") + Msg("msgJpg", "Jpg Image") + QStringLiteral(" (*.jpg);;")
           + Msg("msgPng", "Portable Network Graphic") + QStringLiteral(" (*.png);;")
           + Msg("msgGif", "Graphics Interchange Format") + QStringLiteral(" (*.gif)");
}

QString ExtractIconFilter()
{
    return Msg("msgExe", "Executable") + QStringLiteral(" (*.exe);;") + Msg("msgDll", "Dynamic Link Library")
           + QStringLiteral(" (*.dll);;") + Msg("msgOcx", "OCX Files") + QStringLiteral(" (*.ocx);;")
           + Msg("msgIcl", "Icon Library") + QStringLiteral(" (*.icl);;") + Msg("msgAll", "All Files") + QStringLiteral(" (*)");
}

// The files chosen in an open dialog; empty when it was cancelled.
QStringList AskFiles(const QString& title, const QString& filter, int filterIndex, bool multiple,
                     bool picturePreview = false)
{
    glimt::TFileRequest request;
    request.title = title;
    request.filter = filter;
    request.filterIndex = filterIndex;
    request.picturePreview = picturePreview;
    QStringList files;
    if (!glimt::UserDialogs().OpenFileNames(request, multiple, files))
        files.clear();
    return files;
}

} // namespace

void TfrmMain::CreateImportActions()
{
    const QString file = QStringLiteral("File");
    QAction* a = AddAction("actnImportBMP", tr("Import Image..."), file, [this] { actnImportBMPExecute(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    a = AddAction("actnExtract", tr("Extract..."), file, [this] { actnExtractExecute(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    a = AddAction("actexport", tr("Export Image..."), file, [this] { actexportExecute(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    AddAction("actnCapture", tr("Capture..."), file, [this] { actnCaptureExecute(); });
    AddAction("actBatch", tr("Batch Process..."), file, [this] { actBatchExecute(); });
}

// ---------------------------------------------------------------------------------------------
// Document windows filled from outside

void TfrmMain::ShowLoadedDocument(TfrmDesk* desk)
{
    SubWindowOf(desk)->show();
    desk->Icon->Current = 0;
    desk->FillImageCombo(true);
    TmyImagePal* image = desk->CurrentImage();
    desk->Zoom = std::uint8_t(std::clamp(image->Zoom, 1, 10));
    desk->ShowImage(*image);
    DocumentShown(desk);
    desk->CenterImage();
    UpdateUndoActions();
    UpdateImageNavActions();
}

void TfrmMain::DiscardDocumentWindow(TfrmDesk* desk)
{
    QMdiSubWindow* sub = SubWindowOf(desk);
    desk->Saved = true;
    desk->Closing = true;
    // The window leaves the work area before the list activates its last slot: taken out
    // afterwards, the work area would activate a window of its own choice, the first one
    // while the main window is inactive (after the Open dialog, or a drop from another
    // program).
    if (sub)
        m_panel1->removeSubWindow(sub);
    ReleaseDocumentWindow(desk->Tag);
    delete sub;
}

// ---------------------------------------------------------------------------------------------
// Pictures

bool TfrmMain::ImportImageFile(const QString& Path)
{
    if (!CreateDocumentWindow(QStringLiteral("Untitled")))
        return false;
    TfrmDesk* desk = ActiveDesk();
    // Cancel closes the new window; the open road still goes on with the next file.
    if (!AskFirstImage(desk))
        return true;
    TmyImagePal* current = desk->CurrentImage();
    const int width = current->Width(), height = current->Height(), depth = current->BitDepth;
    TmyImagePal work(height, width, 32);

    QString failure;
    try {
        switch (DetectImageFileType(Path)) {
        case iftBmp:
            if (!TmyImport::ImportBmp(Path, work, height, width, false))
                failure = Msg("msgNotBMP", "Invalid bmp file!");
            break;
        case iftJpeg:
            if (!TmyImport::ImportJpeg(Path, work, height, width, false))
                failure = Msg("msgNotJPG", "Invalid jpg file!");
            break;
        case iftPng:
            if (!TmyImport::ImportPng(Path, work, height, width, false))
                failure = Msg("msgNotPNG", "Invalid png file!");
            break;
        case iftGif:
            // The frame picker makes a document per chosen frame; the window made for the
            // format question never shows and gives its cascade place back. Its number stays
            // used: the untitled numbers of a run never repeat.
            DiscardDocumentWindow(desk);
            CascadeIndex = CascadeIndex == 0 ? 10 : std::uint8_t(CascadeIndex - 1);
            if (TmyImport::ImportGifFrames(Path, work, depth) == 2)
                glimt::UserDialogs().Warning(Msg("msgNotGIF", "Invalid gif file!"));
            return true;
        default:
            failure = Msg("msgUnknown", "Unknown file type!");
            break;
        }
        if (failure.isEmpty())
            TPaletteLibrary::ConvertImageDepth(work, depth);
    } catch (const glimt::Error& e) {
        failure = e.Text();
    } catch (...) {
        DiscardDocumentWindow(desk);
        throw;
    }
    if (!failure.isEmpty()) {
        DiscardDocumentWindow(desk);
        glimt::UserDialogs().Warning(failure);
        return true;
    }
    SubWindowOf(desk)->show();
    desk->Saved = false;
    current->Assign(work);
    desk->FillImageCombo(true);
    desk->ShowImage(*current);
    DocumentShown(desk);
    return true;
}

void TfrmMain::actnImportBMPExecute()
{
    OpenFileList(AskFiles(tr("Import Image"), OpenImageFilter(), 5, true, true));
}

void TfrmMain::actexportExecute()
{
    TfrmDesk* desk = ActiveDesk();
    const TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image) {
        glimt::UserDialogs().Warning(Msg("msgNotSelected", "No image is selected!"));
        return;
    }
    QAction* action = Action(QStringLiteral("actexport"));
    glimt::TFileRequest request;
    request.title = tr("Export Image");
    request.filter = SaveImageFilter();
    // The dialog offers the format chosen last.
    request.filterIndex = action->property("filterIndex").toInt();
    QString path;
    if (!glimt::UserDialogs().SaveFileName(request, path))
        return;
    action->setProperty("filterIndex", request.filterIndex);
    if (QFileInfo(path).suffix().isEmpty())
        path += glimt::ExportFilterExtension(request.filterIndex);
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(path)
        && !glimt::UserDialogs().YesNo(glimt::MsgS("msgAlredyExists", "%s1 already exists! Overwrite?", QFileInfo(path).fileName())))
        return;
    if (!glimt::ExportPicture(path, *image))
        glimt::UserDialogs().Warning(Msg("msgInvalidType", "Invalid file type!"));
}

// ---------------------------------------------------------------------------------------------
// Executables and libraries

TfrmExtract* TfrmMain::ExtractDialog()
{
    if (!m_frmExtract)
        m_frmExtract = new TfrmExtract(this);
    return m_frmExtract;
}

bool TfrmMain::OpenInExtractor(const QString& Path)
{
    TfrmExtract* dialog = ExtractDialog();
    dialog->FileName = Path;
    dialog->exec();
    return true;
}

void TfrmMain::actnExtractExecute()
{
    const QStringList files = AskFiles(tr("Open"), ExtractIconFilter(), 4, false);
    if (!files.isEmpty())
        OpenDocumentFile(files.front());
}

// ---------------------------------------------------------------------------------------------
// Capture

void TfrmMain::actnCaptureExecute()
{
    if (!CreateDocumentWindow(QStringLiteral("Untitled")))
        return;
    TfrmDesk* desk = ActiveDesk();
    if (!AskFirstImage(desk))
        return;
    TmyImagePal* image = desk->CurrentImage();

    // The main window gets out of the way while the frame follows the pointer. The frame has
    // no parent: a child window of a minimized window may be hidden with it.
    const Qt::WindowStates state = windowState();
    setWindowState((state & ~Qt::WindowActive) | Qt::WindowMinimized);
    SubWindowOf(desk)->show();
    desk->Saved = false;
    QRect area;
    {
        TfrmCapture capture;
        capture.resize(image->Width(), image->Height());
        capture.exec();
        area = capture.geometry();
        capture.hide();
    }
    // The frame must be off the screen before the screen is read.
    QCoreApplication::processEvents();
    try {
        TmyImport::CaptureScreen(*image, area.top(), area.left(), area.width(), area.height());
    } catch (const glimt::Error& e) {
        // A screen that gives no picture makes no document of black pixels.
        setWindowState(state);
        DiscardDocumentWindow(desk);
        glimt::UserDialogs().Error(e.Text());
        return;
    }
    TPaletteLibrary::ConvertImageDepth(*image, image->BitDepth);
    setWindowState(state);
    desk->FillImageCombo(true);
    desk->ShowImage(*image);
    DocumentShown(desk);
}

// ---------------------------------------------------------------------------------------------
// Batch

TfrmBatch* TfrmMain::BatchDialog()
{
    if (!m_frmBatch)
        m_frmBatch = new TfrmBatch(this);
    return m_frmBatch;
}

void TfrmMain::actBatchExecute()
{
    BatchDialog()->exec();
}
