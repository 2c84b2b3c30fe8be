#include "shell/formExplorer.h"

#include "editor/Translate.h"
#include "editor/thumbnail.h"
#include "shell/formMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QHideEvent>
#include <QMenu>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The folders as they are now; the tree reads them again only on Refresh.
QFileSystemModel* FolderModel(QObject* parent)
{
    auto* model = new QFileSystemModel(parent);
    model->setOption(QFileSystemModel::DontWatchForChanges);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QStringLiteral("/"));
    return model;
}

} // namespace

TfrmExplorer::TfrmExplorer(TfrmMain* main) : QWidget(main, Qt::Tool), m_main(main)
{
    setObjectName(QStringLiteral("frmExplorer"));
    setWindowTitle(QStringLiteral("Explorer"));
    resize(238, 526);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(25);
    ToolBar1->setIconSize(QSize(16, 16));
    btnRefresh = new QToolButton(ToolBar1);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnRefresh->setToolTip(QStringLiteral("Refresh"));
    btnRefresh->setIcon(QIcon::fromTheme(QStringLiteral("view-refresh"), style()->standardIcon(QStyle::SP_BrowserReload)));
    btnFileName = new QToolButton(ToolBar1);
    btnFileName->setObjectName(QStringLiteral("btnFileName"));
    btnFileName->setToolTip(QStringLiteral("Show/Hide File Names"));
    btnFileName->setCheckable(true);
    btnFileName->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    tbSize = new QSlider(Qt::Horizontal, ToolBar1);
    tbSize->setObjectName(QStringLiteral("tbSize"));
    tbSize->setToolTip(QStringLiteral("Thumbnail Size"));
    tbSize->setRange(30, 200);
    tbSize->setValue(100);
    ToolBar1->addWidget(btnRefresh);
    ToolBar1->addWidget(btnFileName);
    ToolBar1->addWidget(tbSize);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    stTree = new QTreeView(Splitter1);
    stTree->setObjectName(QStringLiteral("stTree"));
    stTree->setHeaderHidden(true);
    stTree->setRootIsDecorated(false);
    m_model = FolderModel(this);
    stTree->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        stTree->hideColumn(c);

    pmExtract = new QMenu(this);
    pmExtract->setObjectName(QStringLiteral("pmExtract"));
    for (const char* name : {"actBatch1", "actBatch2"}) {
        if (QAction* a = m_main->Action(QString::fromLatin1(name)))
            pmExtract->addAction(a);
    }

    Thumbnails = new TThumbail(Splitter1);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->SetThumbnailSize(100);
    Thumbnails->CanDrag = true;
    Thumbnails->SelectionMode = TSelectMode::smMultiple;
    Thumbnails->StatusBar = m_main->statusBar();
    Thumbnails->PopupMenu = pmExtract;
    Splitter1->setSizes({176, 350});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Splitter1, 1);

    connect(btnRefresh, &QToolButton::clicked, this, &TfrmExplorer::btnRefreshClick);
    connect(btnFileName, &QToolButton::clicked, this, &TfrmExplorer::btnFileNameClick);
    connect(tbSize, &QSlider::valueChanged, this, &TfrmExplorer::tbSizeChange);
    connect(stTree->selectionModel(), &QItemSelectionModel::currentChanged, this, &TfrmExplorer::stTreeChange);
    connect(Thumbnails, &TThumbail::OnItemDblClicked, this, &TfrmExplorer::ThumbDblClick);
    SelectFolder(QDir::homePath());
    glimt::TranslateForm(this);
}

void TfrmExplorer::SaveDockRect()
{
    const QPoint topLeft = m_main->mapFromGlobal(frameGeometry().topLeft());
    DockRect = QRect(topLeft, frameGeometry().size());
}

QString TfrmExplorer::CurrentPath() const
{
    const QModelIndex index = stTree->currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}

void TfrmExplorer::SelectFolder(const QString& folder)
{
    const QModelIndex index = m_model->index(folder);
    if (!index.isValid())
        return;
    stTree->setCurrentIndex(index);
    stTree->scrollTo(index);
}

void TfrmExplorer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    SaveDockRect();
    ShowFolder(CurrentPath());
}

void TfrmExplorer::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Hidden by its close box: View > Explorer follows. A window hidden with its minimized
    // main window stays checked.
    // Nothing is asked of a main window that is being destroyed.
    if (event->spontaneous() || frmMain() != m_main || m_main->isMinimized())
        return;
    QAction* action = m_main->Action(QStringLiteral("actExplorer"));
    if (action && action->isChecked())
        action->trigger();
}

void TfrmExplorer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The tool bar spans the window; its own width follows only once the layout has run.
    tbSize->setFixedWidth(std::max(10, width() - btnRefresh->width() - btnFileName->width() - 10));
}

void TfrmExplorer::stTreeChange()
{
    if (TreeChangeEnabled && isVisible())
        ShowFolder(CurrentPath());
}

void TfrmExplorer::btnRefreshClick()
{
    const QString path = CurrentPath();
    TreeChangeEnabled = false;
    struct Enable {
        bool& flag;
        ~Enable() { flag = true; }
    } enable{TreeChangeEnabled};
    // A new model reads the folders again; the selection it restores loads nothing.
    QFileSystemModel* old = m_model;
    QItemSelectionModel* oldSelection = stTree->selectionModel();
    m_model = FolderModel(this);
    // The view makes a selection model for the new model and leaves the old one to us.
    stTree->setModel(m_model);
    oldSelection->deleteLater();
    for (int c = 1; c < m_model->columnCount(); ++c)
        stTree->hideColumn(c);
    connect(stTree->selectionModel(), &QItemSelectionModel::currentChanged, this, &TfrmExplorer::stTreeChange);
    old->deleteLater();
    SelectFolder(path);
    ShowFolder(CurrentPath());
}

void TfrmExplorer::btnFileNameClick()
{
    Thumbnails->SetShowCaption(!Thumbnails->ShowCaption());
    btnFileName->setChecked(Thumbnails->ShowCaption());
}

void TfrmExplorer::tbSizeChange()
{
    Thumbnails->SetThumbnailSize(tbSize->value());
}

void TfrmExplorer::ShowFolder(const QString& path)
{
    if (!Thumbnails)
        return;
    const QList<QWidget*> controls = {stTree, btnRefresh, btnFileName, tbSize};
    for (QWidget* w : controls)
        w->setEnabled(false);
    struct Enable {
        const QList<QWidget*>& controls;
        ~Enable()
        {
            for (QWidget* w : controls)
                w->setEnabled(true);
        }
    } enable{controls};
    ++FoldersLoaded;
    if (path.isEmpty())
        Thumbnails->ClearItems();
    else
        Thumbnails->LoadFolder(path);
}

void TfrmExplorer::ThumbDblClick()
{
    m_main->OpenExplorerSelection(*Thumbnails);
}
