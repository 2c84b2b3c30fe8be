// The explorer window: View > Explorer, its layout in the settings, opening its selection, and
// the two batch conversions of its pop-up menu.
#include "shell/formMain.h"

#include "editor/ToolEngine.h"
#include "editor/ToolFrame.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "editor/thumbnail.h"
#include "engine/Settings.h"
#include "shell/formBatch.h"
#include "shell/formExplorer.h"
#include "engine/myselection.h"

#include <QAction>
#include <QMdiArea>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>

void TfrmMain::CreateExplorerActions()
{
    AddAction("actBatch1", tr("Batch convert images to icon"), QString(), [this] {
        BatchDialog()->PrepareIconsFromImages(*ExplorerWindow()->Thumbnails);
        BatchDialog()->exec();
    });
    AddAction("actBatch2", tr("Batch convert icons to images"), QString(), [this] {
        BatchDialog()->PrepareImagesFromIcons(*ExplorerWindow()->Thumbnails);
        BatchDialog()->exec();
    });
    // After the batch actions: the explorer's pop-up menu holds them.
    // Docked in the work area like the other tool windows; AddToolWindow gives View > Explorer
    // its handler, which shows and hides the explorer's frame.
    QAction* a = AddAction("actExplorer", tr("Explorer"), QStringLiteral("View"), nullptr);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    if (glimt::TToolFrame* frame = AddToolWindow(ExplorerWindow(), TDockMngr::SlotExplorer, a))
        frame->SetResizable(true);
}

TfrmExplorer* TfrmMain::ExplorerWindow()
{
    if (!m_frmExplorer)
        m_frmExplorer = new TfrmExplorer(this);
    return m_frmExplorer;
}

// The frame's place, size and visibility come with the other tool windows'; these are the
// explorer's own parts of the layout.
void TfrmMain::RestoreExplorerLayout()
{
    const TOptions& o = Options();
    TfrmExplorer* explorer = ExplorerWindow();
    explorer->Splitter1->setSizes({std::max(20, o.TreeHeight), std::max(20, o.ExplorerHeight - o.TreeHeight)});
    explorer->tbSize->setValue(std::clamp(o.ThumbSize, 30, 200));
    explorer->Thumbnails->SetShowCaption(o.ShowLabel);
    explorer->btnFileName->setChecked(o.ShowLabel);
}

void TfrmMain::SaveExplorerLayout()
{
    TOptions& o = Options();
    if (!m_frmExplorer)
        return;
    o.TreeHeight = m_frmExplorer->Splitter1->sizes().value(0, o.TreeHeight);
    o.ThumbSize = m_frmExplorer->tbSize->value();
    o.ShowLabel = m_frmExplorer->Thumbnails->ShowCaption();
}

bool TfrmMain::OpenExplorerSelection(const TThumbail& Thumbnails)
{
    QStringList files;
    for (int i : Thumbnails.SelectedIndices) {
        if (i >= 0 && i < Thumbnails.Count())
            files.append(Thumbnails.Items[std::size_t(i)]->FileName);
    }
    bool opened = true;
    RunCommand(nullptr, [&] { opened = OpenFileList(files); });
    return opened;
}

// ---------------------------------------------------------------------------------------------
// Tiles dragged onto the work area and onto the documents

bool TfrmMain::Panel1DragEvent(QEvent* event)
{
    // Only the empty work area takes tiles; over a document window's frame or bars they are
    // refused (its canvas takes them itself).
    return TThumbnailDragData::ServeDragEvent(
        event, this, [this](QPoint pos) { return !m_panel1->viewport()->childAt(pos); },
        [this](TThumbail& view) { OpenExplorerSelection(view); });
}

void TfrmMain::DropThumbnailOnDocument(const TThumbail& Thumbnails, TfrmDesk* Desk)
{
    RunCommand(nullptr, [&] {
        TfrmTools* tools = Tools();
        const TmyImagePal* current = Desk ? Desk->CurrentImage() : nullptr;
        const int first = Thumbnails.SelectedIndices.empty() ? -1 : Thumbnails.SelectedIndices.front();
        if (!tools || !current || first < 0 || first >= Thumbnails.Count())
            return;
        TmyImagePal working(current->Height(), current->Width(), 32);
        const QString error = TfrmBatch::LoadImageFile(working, Thumbnails.Items[std::size_t(first)]->FileName);
        if (!error.isEmpty()) {
            glimt::UserDialogs().Warning(error);
            return;
        }
        tools->DropSelection();
        // The Selection tool first: choosing it later would merge the new selection at once.
        tools->PressToolButton(glimt::toolSelection);
        tmyselection& s = *tools->Selection();
        working.BitDepth = 32;
        working.Palette.reset();
        s.Image = working;
        s.OriginalImage = working;
        s.DocumentSlot = std::uint8_t(Desk->Tag);
        s.InFront = true;
        s.SetBounds(0, 0, working.Width(), working.Height());
        Desk->ActivateDocument();
        Desk->ImgSel->move(Desk->Image1->pos());
        Desk->ShowSelectionHandles();
        tools->ShowSelectionLayer(true);
        UpdateClipboardActions();
    });
}
