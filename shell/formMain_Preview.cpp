// The preview tool window as the main window sees it: made once, shown and hidden by the View
// menu's Preview command, placed from the saved layout and redrawn when the active document or
// its image changes.
#include "shell/formMain.h"

#include "editor/ToolFrame.h"
#include "editor/formDesk.h"
#include "editor/formPreview.h"
#include "editor/formTools.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"

#include <QAction>

void TfrmMain::CreatePreviewActions()
{
    // AddToolWindow gives the action its handler: it shows and hides the preview's frame.
    QAction* a = AddAction("actnPreview", tr("Preview"), QStringLiteral("View"), nullptr);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
}

void TfrmMain::CreatePreviewWindow()
{
    // Docked in the work area like the other tool windows; hidden until the layout is restored.
    m_frmPreview = new TfrmPreview(this);
    AddToolWindow(m_frmPreview, TDockMngr::SlotPreview, Action(QStringLiteral("actnPreview")));
}

void TfrmMain::ConnectPreview(TfrmTools& tools)
{
    auto previous = tools.CellsPainted;
    tools.CellsPainted = [this, previous](const TmyImagePal& image, const QRect& cells) {
        if (previous)
            previous(image, cells);
        if (m_frmPreview)
            m_frmPreview->PaintCells(image, cells);
    };
}

// The frame's place is kept in the main window's coordinates, like the other tool windows'.
void TfrmMain::RestorePreviewLayout()
{
    const TOptions& o = Options();
    glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotPreview);
    if (!frame)
        return;
    frame->move(o.PrevLeft, o.PrevTop);
    frame->resize(o.PrevWidth, o.PrevHeight);
    Action(QStringLiteral("actnPreview"))->setChecked(o.PrevVisible);
    frame->setVisible(o.PrevVisible);
}

void TfrmMain::SavePreviewLayout()
{
    TOptions& o = Options();
    const glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotPreview);
    if (!frame)
        return;
    o.PrevTop = frame->y();
    o.PrevLeft = frame->x();
    o.PrevHeight = frame->height();
    o.PrevWidth = frame->width();
    o.PrevVisible = !frame->isHidden();
}

void TfrmMain::ApplyPreviewPreferences()
{
    m_frmPreview->preview1->SetBoxColor(Options().PrevColor);
    ShowPreviewOf(ActiveDesk());
}

void TfrmMain::ShowPreviewOf(TfrmDesk* desk)
{
    if (!m_frmPreview || !desk || desk != ActiveDesk())
        return;
    if (const TmyImagePal* image = desk->CurrentImage())
        m_frmPreview->ShowPreview(*image);
}
