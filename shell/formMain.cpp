#include "shell/formMain.h"

#include "editor/ToolCursors.h"
#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formColors.h"
#include "editor/formDesk.h"
#include "engine/Errors.h"
#include "engine/Settings.h"
#include "engine/TypeCheck.h"
#include "engine/language.h"
#include "shell/MenuAccessKeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace {

TfrmMain* g_frmMain = nullptr;

// Commands that need the floating selection merged into its image before they run.
const QStringList& DropSelectionFirst()
{
    static const QStringList names = {
        QStringLiteral("actn32bit"),      QStringLiteral("actn24bit"),     QStringLiteral("actn8bit"),
        QStringLiteral("actn4bit"),       QStringLiteral("actn1bit"),      QStringLiteral("actnUndo"),
        QStringLiteral("actnRedo"),       QStringLiteral("actnPaste"),     QStringLiteral("actnImagetoIco"),
        QStringLiteral("actnSave"),       QStringLiteral("actnSaveAs"),    QStringLiteral("actnnewimage"),
        QStringLiteral("actndelimage"),
    };
    return names;
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

} // namespace

TfrmMain* frmMain()
{
    return g_frmMain;
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    g_frmMain = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Glimt"));
    setMinimumSize(600, 400);
    resize(665, 423);

    m_panel1 = new QMdiArea(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_panel1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_panel1->viewport()->setMouseTracking(true);
    m_panel1->viewport()->installEventFilter(this);
    m_panel1->viewport()->setAcceptDrops(true);
    setCentralWidget(m_panel1);
    connect(m_panel1, &QMdiArea::subWindowActivated, this, &TfrmMain::Panel1SubWindowActivated);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel = new QLabel(this);
    m_statusPanel->setMinimumWidth(50);
    statusBar()->addWidget(m_statusPanel, 1);

    // FormCreate: the data folder, no document yet, drops accepted.
    DataFolder = glimt::DataFolder();
    if (!DataFolder.isEmpty())
        QDir().mkpath(DataFolder);
    m_programFolder = QCoreApplication::applicationDirPath();

    CreateActions();
    CreateMenus();
    CreatePreviewWindow();
    CreateDialogs();
    TranslateDialogFilters();
    m_deskCount = 0;
    DisableDocumentActions();
    setAcceptDrops(true);
    CascadeIndex = 0;
    FirstActivation = true;
    CreateToolWindows();
    ConnectPreview(*m_frmTools);

    qApp->installEventFilter(this);
    glimt::SetEditorHost(this);
    CreateBrushWindow();
    // Once the tool window exists: it paints with the colour panel's colours.
    WireColorPanel();
}

TfrmMain::~TfrmMain()
{
    // The work area, the tool windows and the actions outlive this object's own part of the
    // destruction.
    DetachToolWindows();
    disconnect(m_panel1, nullptr, this, nullptr);
    for (QAction* a : m_windowActions + m_recentActions + m_actions.values())
        disconnect(a, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    if (glimt::EditorHost() == this)
        glimt::SetEditorHost(nullptr);
    if (g_frmMain == this)
        g_frmMain = nullptr;
}

void TfrmMain::SetCommandLineFiles(const QStringList& files)
{
    m_commandLine.clear();
    for (const QString& f : files)
        m_commandLine.append(QFileInfo(f).absoluteFilePath());
}

// ---------------------------------------------------------------------------------------------
// Actions and menus

QAction* TfrmMain::AddAction(const char* name, const QString& caption, const QString& category,
                             const std::function<void()>& handler)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("category", category);
    action->setData(0);
    m_actions.insert(action->objectName(), action);
    m_handlers.insert(action->objectName(), handler);
    connect(action, &QAction::triggered, this, [this, action] { RunCommand(action, m_handlers.value(action->objectName())); });
    addAction(action);
    return action;
}

void TfrmMain::CreateActions()
{
    const QString file = QStringLiteral("File");
    const QString window = QStringLiteral("Window");

    QAction* a = AddAction("actnNew", tr("&New"), file, [this] { actnNewExecute(); });
    a->setShortcut(QKeySequence::New);
    a->setIcon(ThemeIcon("document-new", QStyle::SP_FileIcon));

    a = AddAction("actnOpen", tr("&Open..."), file, [this] { actnOpenExecute(); });
    a->setShortcut(QKeySequence::Open);
    a->setIcon(ThemeIcon("document-open", QStyle::SP_DialogOpenButton));

    a = AddAction("actnSave", tr("&Save"), file, [this] { actnSaveExecute(); });
    a->setShortcut(QKeySequence::Save);
    a->setIcon(ThemeIcon("document-save", QStyle::SP_DialogSaveButton));

    a = AddAction("actnSaveAs", tr("SaveAs..."), file, [this] { actnSaveAsExecute(); });
    a->setShortcut(QKeySequence::SaveAs);
    a->setIcon(ThemeIcon("document-save-as", QStyle::SP_DialogSaveButton));

    a = AddAction("actClose", tr("&Close"), file, [this] { actCloseExecute(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4)); // Ctrl+W belongs to Shadow

    AddAction("actCloseAll", tr("Close All"), file, [this] { actCloseAllExecute(); });

    a = AddAction("actnExit", tr("E&xit"), file, [this] { actnExitExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4)); // Ctrl+Q belongs to Opacity
    a->setIcon(ThemeIcon("application-exit", QStyle::SP_DialogCloseButton));

    AddAction("actClear", tr("Clear"), QStringLiteral("Recent Files"), [this] { actClearExecute(); });

    a = AddAction("actTile", tr("Tile"), window, [this] { actTileExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_T));
    a = AddAction("actTileHoriz", tr("Tile Horizontally"), window, [this] { actTileHorizExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_H));
    a = AddAction("actTileVert", tr("Tile Vertically"), window, [this] { actTileVertExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_V));
    a = AddAction("actCascade", tr("Cascade"), window, [this] { actCascadeExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));

    CreateDockingActions();
    CreatePreviewActions();
    CreatePropertiesActions();
    CreateEffectActions();
    CreateColorsActions();
    CreateEditActions();
    CreateImageActions();
    CreateIconActions();
    CreateImportActions();
    CreateExplorerActions();
    CreateViewActions();
    CreateOptionsActions();
}

namespace {

// The menu bar's layout: each menu's title and its items, "-" a separator, ">Title" opens a
// submenu and "<" closes it. Items name actions; an action that does not exist (yet) is left
// out, and the separators around it collapse.
struct MenuLayout {
    const char* key;
    const char* title;
    std::initializer_list<const char*> items;
};

const std::initializer_list<MenuLayout>& MenuBarLayout()
{
    static const std::initializer_list<MenuLayout> layout = {
        {"File", QT_TRANSLATE_NOOP("TfrmMain", "&File"),
         {"actnNew", "actnOpen", "actnSave", "actnSaveAs", "actBatch", "actClose", "actCloseAll", "-",
          "actnCapture", "actnExtract", "actnImportBMP", "actexport", "-", "@Recent", "-", "actnExit"}},
        {"Edit", QT_TRANSLATE_NOOP("TfrmMain", "&Edit"),
         {"actnUndo", "actnRedo", "-", "actnDel", "actnCut", "actnCopy", "actnPaste", "-", "actSelectAll",
          "actFitToScreen", "actOriginalSize", "actBringToFront", "actSendToBack"}},
        {"View", QT_TRANSLATE_NOOP("TfrmMain", "&View"),
         {"actnTools", "actnPreview", "actnColors", "actExplorer", "acttoolbar", "actnWindowToolbar",
          "actnStatusbar", "-", "actSideBar", "actnGrid"}},
        // Its items are built by the effect commands from the effect tags.
        {"Effect", QT_TRANSLATE_NOOP("TfrmMain", "Effe&ct"), {}},
        {"Image", QT_TRANSLATE_NOOP("TfrmMain", "&Image"),
         {"actnBrightness", "ActnHue", "actnColor", "actOpacity", "actnDim", "actFadeout", "actAdvancedShadow",
          "-", ">Rotate/Flip", "actRotateFree", "actnRotateLeft", "actnRotateRight", "actnRotate", "-",
          "actnFlipHoriz", "actnFlipVert", "<", "-", ">Data Type", "actn32bit", "actn24bit", "actn8bit",
          "actn4bit", "actn1bit", "<"}},
        {"Icon", QT_TRANSLATE_NOOP("TfrmMain", "Ic&on"),
         {"actnnewimage", "actndelimage", "-", "actnnext", "actnPrev", "-", "actnImagetoIco", "-", "actnProp"}},
        {"Options", QT_TRANSLATE_NOOP("TfrmMain", "O&ptions"), {"actPreferences", "-", "@Languages"}},
        {"Window", QT_TRANSLATE_NOOP("TfrmMain", "&Window"),
         {"actTile", "actTileHoriz", "actTileVert", "actCascade", "-"}},
        {"Help", QT_TRANSLATE_NOOP("TfrmMain", "&Help"), {"actHelp", "actHomepage", "actnAbout"}},
    };
    return layout;
}

const char* const SubmenuTitles[] = {QT_TRANSLATE_NOOP("TfrmMain", "&Rotate/Flip"),
                                     QT_TRANSLATE_NOOP("TfrmMain", "D&ata Type"),
                                     QT_TRANSLATE_NOOP("TfrmMain", "&Recent Files"),
                                     QT_TRANSLATE_NOOP("TfrmMain", "&Languages")};

QString SubmenuTitle(const QString& plain)
{
    for (const char* t : SubmenuTitles) {
        const QString title = QString::fromLatin1(t);
        if (QString(title).remove(QLatin1Char('&')) == plain)
            return TfrmMain::tr(t);
    }
    return plain;
}

// The tool bar: images only.
const std::initializer_list<const char*>& ToolBarLayout()
{
    static const std::initializer_list<const char*> items = {
        "actnNew", "actnOpen", "actnSave", "-", "actnCut", "actnCopy", "actnPaste", "-",
        "actnUndo", "actnRedo", "-", "actFilterOnAlpha", "actSmooth", "actTransSel"};
    return items;
}

} // namespace

void TfrmMain::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    for (const MenuLayout& m : MenuBarLayout()) {
        QMenu* menu = menuBar()->addMenu(tr(m.title));
        menu->setObjectName(QStringLiteral("mnu") + QString::fromLatin1(m.key));
        m_menus.insert(QString::fromLatin1(m.key), menu);
        QList<QMenu*> stack{menu};
        for (const char* item : m.items) {
            const QString name = QString::fromLatin1(item);
            QMenu* into = stack.last();
            if (name == QLatin1String("-")) {
                into->addSeparator();
            } else if (name.startsWith(QLatin1Char('>'))) {
                QMenu* sub = into->addMenu(SubmenuTitle(name.mid(1)));
                m_menus.insert(name.mid(1), sub);
                stack.append(sub);
            } else if (name == QLatin1String("<")) {
                stack.removeLast();
            } else if (name.startsWith(QLatin1Char('@'))) {
                QMenu* sub = into->addMenu(SubmenuTitle(name.mid(1) == QLatin1String("Recent")
                                                            ? QStringLiteral("Recent Files")
                                                            : name.mid(1)));
                m_menus.insert(name.mid(1), sub);
            } else if (QAction* a = Action(name)) {
                into->addAction(a);
            }
        }
    }
    m_fileMenu = Menu(QStringLiteral("File"));
    m_recentMenu = Menu(QStringLiteral("Recent"));
    m_recentMenu->addAction(Action(QStringLiteral("actClear")));
    m_recentMenu->addSeparator();
    m_windowMenu = Menu(QStringLiteral("Window"));
    BuildEffectMenu();

    m_toolBar = addToolBar(tr("Main Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("ActionToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const char* item : ToolBarLayout()) {
        if (qstrcmp(item, "-") == 0)
            m_toolBar->addSeparator();
        else if (QAction* a = Action(QString::fromLatin1(item)))
            m_toolBar->addAction(a);
    }

    // The window commands' Alt keys meet the access keys of View, Effect and Help.
    m_accessKeys = new glimt::TMenuAccessKeys(menuBar());

    m_actionManager = new glimt::TActionManager(this);
    m_actionManager->setObjectName(QStringLiteral("ActionManager1"));
    m_actionManager->AddActionBar(menuBar());
    m_actionManager->AddActionBar(m_toolBar);
}

QMenu* TfrmMain::Menu(const QString& key) const
{
    return m_menus.value(key, nullptr);
}

QAction* TfrmMain::Action(const QString& name) const
{
    return m_actions.value(name, nullptr);
}

void TfrmMain::RunCommand(QAction* action, const std::function<void()>& command)
{
    ++m_commandDepth;
    glimt::ReportFailures([&] {
        if (action && DropSelectionFirst().contains(action->objectName())) {
            glimt::IToolEngine* tools = glimt::ToolEngine();
            if (tools && m_activeSlot != 0 && tools->SelectionDocumentSlot() == m_activeSlot)
                tools->DropSelection();
        }
        if (command)
            command();
    });
    if (--m_commandDepth == 0)
        updateActions();
}

void TfrmMain::ExecuteAction(const QString& actionName)
{
    if (QAction* action = Action(actionName))
        RunCommand(action, m_handlers.value(actionName));
}

void TfrmMain::updateActions()
{
    UpdateEditActions();
    if (m_deskCount == 0) {
        DisableDocumentActions();
        return;
    }
    EnableDocumentActions();
    UpdateImageNavActions();
}

// ---------------------------------------------------------------------------------------------
// Start-up

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Window activation is unreliable without a window manager: the first-activation work
    // runs from a queued call once the window is shown, and only once.
    if (FirstActivation)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TfrmMain::FormActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    RunCommand(nullptr, [this] {
        RestoreLayout();
        UpdateDocking();
        FormResize();
        glimt::LoadToolCursors();
        if (m_frmColors)
            m_frmColors->ApplyPickerCursor();
        QCoreApplication::processEvents();
        OpenFileList(m_commandLine);
    });
}

void TfrmMain::RestoreLayout()
{
    const TOptions& o = Options();
    const bool wasMaximized = isMaximized();
    if (wasMaximized)
        showNormal();
    move(o.MainLeft, o.MainTop);
    resize(o.MainWidth, o.MainHeight);
    if (o.MainMaximized) {
        // The tool windows are placed against the window's edges next, before the window
        // manager has maximized the window (or where none does): it takes the room now.
        if (const QScreen* s = screen())
            setGeometry(s->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    RestoreToolLayout();
    RestoreColorsLayout();
    RestoreViewLayout();
    ApplyPreferences(false);
    RestoreExplorerLayout();
    BuildRecentFilesMenu();
    BuildLanguageMenu();
    if (wasMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::ApplyPreferences(bool RedrawAll)
{
    ApplyPreviewPreferences();
    m_frmColors->RedrawSwatches();
    if (RedrawAll)
        RedrawDocuments();
}

// ---------------------------------------------------------------------------------------------
// Shut-down

void TfrmMain::SaveLayout()
{
    TOptions& o = Options();
    o.MainTop = y();
    o.MainLeft = x();
    if (isMaximized()) {
        o.MainMaximized = true;
    } else {
        o.MainMaximized = false;
        o.MainHeight = height();
        o.MainWidth = width();
    }
    SaveToolLayout();
    SaveColorsLayout();
    SaveExplorerLayout();
}

bool TfrmMain::FormCloseQuery()
{
    CanCloseAll = true;
    const int count = m_deskCount;
    for (int i = 0; i < count && CanCloseAll && m_deskCount > 0; ++i) {
        TfrmDesk* desk = Desks[1];
        QMdiSubWindow* sub = SubWindowOf(desk);
        const bool closed = sub ? sub->close() : false;
        if (!closed)
            CanCloseAll = false;
    }
    return CanCloseAll;
}

void TfrmMain::FormClose()
{
    StopBrushWindow();
    // Failures while storing the layout and clearing the clipboard never stop the program.
    try {
        SaveLayout();
        SaveColorsFile();
        if (Options().ClearClipboard && m_clipboardHasPicture)
            QApplication::clipboard()->clear();
    } catch (...) {
    }
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    RunCommand(nullptr, [&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmMain::actnExitExecute()
{
    // Exit takes the road of the close box: each unsaved document is asked about, a Cancel
    // keeps the program running, and the layout is stored.
    QTimer::singleShot(0, this, [this] { close(); });
}

// ---------------------------------------------------------------------------------------------
// Keys and the work area

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->window() == this && w == QApplication::focusWidget()) {
            auto* key = static_cast<QKeyEvent*>(event);
            FormKeyPress(key->key(), key->text());
        }
    } else if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched == m_panel1) {
        FormResize();
    } else if (event->type() == QEvent::MouseMove && watched == m_panel1->viewport()) {
        SetStatusText(0, QString());
    } else if (watched == m_panel1->viewport() && Panel1DragEvent(event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::SetStatusText(int panel, const QString& text)
{
    if (panel == 0)
        m_statusPanel->setText(text);
}

// ---------------------------------------------------------------------------------------------
// Dropped files

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    QMainWindow::dragEnterEvent(event);
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    QStringList paths;
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile() && !url.toLocalFile().isEmpty())
                paths.append(url.toLocalFile());
        }
    }
    if (paths.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, paths] { OpenDroppedFiles(paths); });
}

void TfrmMain::OpenDroppedFiles(const QStringList& paths)
{
    RunCommand(nullptr, [&] { OpenFileList(paths); });
}
