// The explorer window: View > Explorer, its layout in the settings, opening its selection, and
// the two batch conversions of its pop-up menu.
#include "shell/formMain.h"

#include "editor/thumbnail.h"
#include "engine/Settings.h"
#include "shell/formBatch.h"
#include "shell/formExplorer.h"

#include <QAction>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>

void TfrmMain::CreateExplorerActions()
{
    QAction* a = AddAction("actExplorer", tr("Explorer"), QStringLiteral("View"), [this] { actExplorerExecute(); });
    a->setCheckable(true);
    AddAction("actBatch1", tr("Batch convert images to icon"), QString(), [this] {
        BatchDialog()->PrepareIconsFromImages(*ExplorerWindow()->Thumbnails);
        BatchDialog()->exec();
    });
    AddAction("actBatch2", tr("Batch convert icons to images"), QString(), [this] {
        BatchDialog()->PrepareImagesFromIcons(*ExplorerWindow()->Thumbnails);
        BatchDialog()->exec();
    });
}

TfrmExplorer* TfrmMain::ExplorerWindow()
{
    if (!m_frmExplorer) {
        m_frmExplorer = new TfrmExplorer(this);
        const TOptions& o = Options();
        m_frmExplorer->setGeometry(QRect(mapToGlobal(QPoint(o.ExplorerLeft, o.ExplorerTop)),
                                         QSize(std::max(100, o.ExplorerWidth), std::max(100, o.ExplorerHeight))));
        m_frmExplorer->Splitter1->setSizes({std::max(20, o.TreeHeight), std::max(20, o.ExplorerHeight - o.TreeHeight)});
        m_frmExplorer->tbSize->setValue(std::clamp(o.ThumbSize, 30, 200));
        m_frmExplorer->Thumbnails->SetShowCaption(o.ShowLabel);
        m_frmExplorer->btnFileName->setChecked(o.ShowLabel);
    }
    return m_frmExplorer;
}

void TfrmMain::actExplorerExecute()
{
    QAction* action = Action(QStringLiteral("actExplorer"));
    ExplorerWindow()->setVisible(action->isChecked());
}

void TfrmMain::RestoreExplorerLayout()
{
    QAction* action = Action(QStringLiteral("actExplorer"));
    action->setChecked(Options().ExplorerVisible);
    if (Options().ExplorerVisible)
        ExplorerWindow()->show();
}

void TfrmMain::SaveExplorerLayout()
{
    TOptions& o = Options();
    o.ExplorerVisible = Action(QStringLiteral("actExplorer"))->isChecked();
    if (!m_frmExplorer)
        return;
    m_frmExplorer->SaveDockRect();
    const QRect r = m_frmExplorer->DockRect;
    o.ExplorerLeft = r.left();
    o.ExplorerTop = r.top();
    o.ExplorerWidth = r.width();
    o.ExplorerHeight = r.height();
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
