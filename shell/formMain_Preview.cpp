// The preview tool window as the main window sees it: made once, shown and hidden by the View
// menu's Preview command, placed from the saved layout and redrawn when the active document or
// its image changes.
#include "shell/formMain.h"

#include "editor/formDesk.h"
#include "editor/formPreview.h"
#include "editor/formTools.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"

#include <QAction>

void TfrmMain::CreatePreviewActions()
{
    QAction* a = AddAction("actnPreview", tr("Preview"), QStringLiteral("View"), [this] {
        if (m_frmPreview)
            m_frmPreview->setVisible(Action(QStringLiteral("actnPreview"))->isChecked());
    });
    a->setCheckable(true);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
}

void TfrmMain::CreatePreviewWindow()
{
    // A tool window of its own above the main window; it stays hidden until the layout is
    // restored.
    m_frmPreview = new TfrmPreview(this);
    m_frmPreview->setWindowFlags(Qt::Tool);
    m_frmPreview->OnHidden = [this] {
        // Closed by its close box: the menu check follows the window.
        if (QAction* a = Action(QStringLiteral("actnPreview")); a && a->isChecked())
            a->setChecked(false);
    };
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

// The window's place is kept relative to the main window's client area.
void TfrmMain::RestorePreviewLayout()
{
    const TOptions& o = Options();
    m_frmPreview->move(mapToGlobal(QPoint(o.PrevLeft, o.PrevTop)));
    m_frmPreview->resize(o.PrevWidth, o.PrevHeight);
    Action(QStringLiteral("actnPreview"))->setChecked(o.PrevVisible);
    m_frmPreview->setVisible(o.PrevVisible);
}

void TfrmMain::SavePreviewLayout()
{
    TOptions& o = Options();
    const QPoint at = mapFromGlobal(m_frmPreview->pos());
    o.PrevTop = at.y();
    o.PrevLeft = at.x();
    o.PrevHeight = m_frmPreview->height();
    o.PrevWidth = m_frmPreview->width();
    o.PrevVisible = m_frmPreview->isVisible();
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
