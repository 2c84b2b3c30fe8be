#pragma once
#include "editor/EditorHost.h"
#include "editor/dockmngr.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TThumbail;
class TfrmBatch;
class TfrmBrush;
class TfrmChangePal;
class TfrmColors;
class TfrmDesk;
class TfrmExplorer;
class TfrmExtract;
class TfrmFilter;
class TfrmImageBig;
class QUrl;
class TfrmAbout;
class TfrmNewImage;
class TfrmOptions;
class TfrmPreview;
class TfrmTools;
class TfrmProperties;
class TfrmDimension;
class TfrmImageToIco;
class TfrmNewImage;
class TfrmRotate;
class TfrmTools;
namespace glimt {
class IClipboard;
class TActionManager;
class TMenuAccessKeys;
class TToolFrame;
}

// The main window: menus, tool bar, status bar and the work area `Panel1` in which the
// document windows live. It keeps the document windows in slots 1..DeskCount, knows the
// active one, and runs every command through one wrapper (RunCommand). Split by aspect:
// formMain.cpp (creation, actions, start-up and shut-down), formMain_Desks.cpp (the document
// list and the Window menu), formMain_File.cpp (opening, saving, recent and dropped files),
// formMain_Docking.cpp (the tool windows and their docking), formMain_View.cpp (View, language
// and Help commands).
class TfrmMain : public QMainWindow, public glimt::IEditorHost {
    Q_OBJECT

public:
    static constexpr int MaxDesks = 20;

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The files to open once the window has been shown the first time, in order; relative
    // paths are made absolute against the current folder now.
    void SetCommandLineFiles(const QStringList& files);

    // --- Start-up and shut-down -----------------------------------------------------------
    // The first-activation work; runs once (later calls do nothing). Normally reached from a
    // queued call after the window is first shown.
    void FormActivate();
    bool FirstActivationDone() const { return !FirstActivation; }
    void RestoreLayout();
    // Loads the language file that TOptions.Language names from the program's "Languages"
    // folder and translates every window (a missing file leaves every text as it is).
    void LoadLanguage();
    // The folder holding "Languages" (the executable's folder unless set).
    void SetProgramFolder(const QString& folder) { m_programFolder = folder; }
    void SaveLayout();
    void ApplyPreferences(bool RedrawAll);

    // --- Document list (slots 1..DeskCount) ---------------------------------------------
    std::array<TfrmDesk*, MaxDesks + 1> Desks{};
    std::uint8_t CascadeIndex = 0;
    std::int32_t UntitledCount = 0;
    bool CanCloseAll = true;

    // A new, hidden document window in the next slot, made active; false (after the warning)
    // when MaxDesks are open. `Caption` is a file path, or exactly "Untitled" for a new
    // numbered untitled document.
    bool CreateDocumentWindow(const QString& Caption) override;
    void DisableDocumentActions();
    void EnableDocumentActions();
    void actTileExecute();
    void actTileHorizExecute();
    void actTileVertExecute();
    void actCascadeExecute();
    void actCloseExecute();
    void actCloseAllExecute();

    // --- Opening and saving -----------------------------------------------------------------
    // A new untitled document whose first image the new-image dialog asks for; Cancel closes
    // the new window again.
    void actnNewExecute();
    // The new-image dialog, made on first use and kept (its fields keep the last choice).
    TfrmNewImage* NewImageDialog();
    // The one open road; false tells callers of lists to stop.
    bool OpenDocumentFile(const QString& Path);
    // Opens `paths` in order through OpenDocumentFile, stopping at the first failure; false
    // when one failed.
    bool OpenFileList(const QStringList& paths);
    QString ResolveShortcut(const QString& Path);
    bool OpenIconFile(const QString& Path);
    bool ImportImageFile(const QString& Path);
    bool OpenInExtractor(const QString& Path);
    void actnOpenExecute();
    // Save and Save As of the active document; true when the file was written.
    bool actnSaveExecute();
    bool actnSaveAsExecute();
    void actnExitExecute();
    void AddRecentFile(const QString& Path);
    void BuildRecentFilesMenu();
    void actClearExecute();
    void TranslateDialogFilters();
    // Opens the local files of a drop (from a queued call, so that the dragging program is
    // not kept waiting while our questions run).
    void OpenDroppedFiles(const QStringList& paths);

    // --- Long-lived windows, made once with the main window ------------------------------
    // The preview tool window (formMain_Preview.cpp).
    TfrmPreview* PreviewWindow() const { return m_frmPreview; }
    // Lets the preview follow the cells that the tools of `tools` paint.
    void ConnectPreview(TfrmTools& tools);
    // The two questions of the core (formMain_Dialogs.cpp), handed to the installed prompts.
    TfrmChangePal* ChangePalDialog() const { return m_frmChangePal; }
    TfrmImageBig* ImageBigDialog() const { return m_frmImageBig; }
    // --- Edit, image and icon commands (formMain_Edit.cpp, formMain_Image.cpp, formMain_Icon.cpp)
    // Converts the active document's current image to `Depth` bits with an undo step; refused
    // with a message when the icon holds an image of that size at that depth already (the
    // image itself included).
    void ChangeColorDepth(std::uint8_t Depth);
    // After the current image of `desk` was replaced whole (undo, redo, depth change): redraws
    // it, puts the images back into editing order and refills the image list.
    void ShowReplacedImage(TfrmDesk* desk);
    // The arrow commands' step of the floating selection: moves it one cell by (dx, dy) cells
    // through its window's own drag handlers. False, with nothing moved, when no selection
    // floats on the active document (the arrow command then shifts the image instead).
    bool NudgeSelection(int dx, int dy);
    // The enabled and checked states of the selection, stacking and switch commands.
    void UpdateEditActions();
    // Whether the clipboard holds a picture, as last heard: asked when the window is made, when
    // the clipboard says it changed and when a paste runs, never by an ordinary command (an
    // owner of the clipboard that does not answer would hold up every command).
    bool ClipboardHasPicture() const { return m_clipboardHasPicture; }
    void RefreshClipboardState();
    // The clipboard the window asks (the system's unless a test sets another; not owned,
    // null restores the system's).
    void SetClipboard(glimt::IClipboard* clipboard);
    // The dialogs of the image and icon commands, made on first use and kept.
    TfrmDimension* DimensionDialog();
    TfrmRotate* RotateDialog();
    TfrmImageToIco* ImageToIcoDialog();
    // --- Import, export, extract, batch and capture (formMain_Import.cpp) ----------------------
    void actnImportBMPExecute();
    void actexportExecute();
    void actnExtractExecute();
    void actnCaptureExecute();
    void actBatchExecute();
    // The extract and batch dialogs, made on first use and kept.
    TfrmExtract* ExtractDialog();
    TfrmBatch* BatchDialog();
    // Shows a document window whose icon has just been filled: image 0 current, zoom, views.
    void ShowLoadedDocument(TfrmDesk* desk);
    // Gives up a document window that never became a document (no question is asked).
    void DiscardDocumentWindow(TfrmDesk* desk);
    QString DataFolderPath() const { return DataFolder; }

    // --- The explorer window (formMain_Explorer.cpp) -------------------------------------------
    // Made on first use, placed as the settings say.
    TfrmExplorer* ExplorerWindow();
    void RestoreExplorerLayout();
    void SaveExplorerLayout();
    // Opens the files of the view's selected tiles in selection order, stopping at the first
    // that fails; false when one failed.
    bool OpenExplorerSelection(const TThumbail& Thumbnails);
    // A tile dropped on a document's canvas: its file, loaded as a square picture no wider
    // than the current image, floats there as the selection (a warning when it cannot load).
    void DropThumbnailOnDocument(const TThumbail& Thumbnails, TfrmDesk* Desk) override;
    // The preferences dialog (formMain_Options.cpp).
    TfrmOptions* OptionsDialog() const { return m_frmOptions; }

    // --- Actions ------------------------------------------------------------------------------
    // The action of that object name, or null.
    QAction* Action(const QString& name) const;
    // Runs `command` as the command of `action` (may be null): finishes the floating
    // selection first where the command needs it, turns any exception into an error box, and
    // refreshes the enabled states once when the outermost command ends.
    void RunCommand(QAction* action, const std::function<void()>& command);
    // The enabled and checked states of every action, from the document list.
    void updateActions();

    // The work area `Panel1`, parent of the document windows.
    QMdiArea* Panel1() const { return m_panel1; }
    // The colour panel (created with the window, kept for its lifetime).
    TfrmColors* ColorPanel() const { return m_frmColors; }
    // A menu of the menu bar by its key: "File", "Edit", "View", "Effect", "Image", "Icon",
    // "Options", "Window", "Help", and the submenus "Rotate/Flip", "Data Type", "Recent",
    // "Languages"; null for other keys.
    QMenu* Menu(const QString& key) const;
    // How the menus' access keys and the commands' shortcuts share the keyboard.
    glimt::TMenuAccessKeys* AccessKeys() const { return m_accessKeys; }
    QMenu* RecentFilesMenu() const { return m_recentMenu; }
    QMenu* WindowMenu() const { return m_windowMenu; }
    QLabel* StatusPanel() const { return m_statusPanel; }
    // View > Properties (formMain_Properties.cpp): the dialog, made on first use and kept.
    TfrmProperties* PropertiesDialog();
    void actnPropExecute();
    // The brush outline window (formMain_Brush.cpp).
    TfrmBrush* BrushWindow() const { return m_frmBrush; }

    // --- Effects (formMain_Effects.cpp) ----------------------------------------------------------
    // The action of the last effect run; null until the first. "Last Effect" repeats it.
    QAction* LastEffect = nullptr;
    // The dispatcher of the tagged effect actions (the tag is the action's data, 0..50): on the
    // floating selection of the active document, else on its current image with an undo step.
    void ApplyEffect(QAction* action);
    void SetLastEffect(QAction* action);
    void actLastExecute();
    // Left, Right, Up and Down: the floating selection moves one cell, or without one the
    // image shifts one pixel through the dispatcher.
    void ArrowExecute(QAction* action);
    // Image > Opacity is enabled for a floating selection (on any document) or a 32-bit
    // current image of the active document.
    void UpdateOpacityAction();
    // The object name of the effect action of a tag 1..50; empty for other tags.
    static QString EffectActionName(int tag);
    // The custom filter dialog, made on first use and kept: its boxes hold the kernel that
    // the custom filter applies as the last effect.
    TfrmFilter* CustomFilterDialog();

    // --- glimt::IEditorHost --------------------------------------------------------------------
    TfrmDesk* ActiveDesk() override;
    int DeskCount() override { return m_deskCount; }
    TfrmDesk* Desk(int slot) override;
    void UpdateUndoActions() override;
    void UpdateClipboardActions() override;
    void UpdateImageNavActions() override;
    void SetStatusText(int panel, const QString& text) override;
    bool CreateDocumentFromImage(const TmyImagePal& image) override;
    QWidget* MainWidget() override { return this; }
    void DisableToolActions() override;
    void EnableToolActions() override;
    int ActiveSlot() override { return m_activeSlot; }
    void SetActiveSlot(int slot) override;
    void ExecuteAction(const QString& actionName) override;
    void ReleaseDocumentWindow(int slot) override;
    void CloseRefused() override { CanCloseAll = false; }
    void BuildWindowMenu() override;
    void DocumentShown(TfrmDesk* desk) override;
    void ShowPreview(TfrmDesk* desk) override { ShowPreviewOf(desk); }

    // --- Tool windows and docking (formMain_Docking.cpp) ----------------------------------------
    // Hosts `window` as a tool window: a child frame of the main window above the work area,
    // with a caption strip (its window title, and a close button that hides it), moved by
    // dragging the caption and snapped by DockMngr in `dockSlot` (2 preview, 3 colour panel,
    // 4 tools, 5 explorer). The frame takes `window` as its child and starts hidden. `toggle`
    // (may be null; normally a View action made by AddAction) becomes checkable and shows or
    // hides the frame; hiding the frame by its close box unchecks it. Returns the frame.
    glimt::TToolFrame* AddToolWindow(QWidget* window, int dockSlot, QAction* toggle);
    // The frame hosting the tool window of `dockSlot`, or null.
    glimt::TToolFrame* ToolFrame(int dockSlot) const;
    // The tool window (tool palette and tool engine); it lives as long as the main window.
    TfrmTools* Tools() const { return m_frmTools; }
    // Copies the tool windows' bounds and the work area into the docking manager's slots
    // (hidden windows leave theirs) and re-snaps every tool window.
    void UpdateDocking();
    // WorkArea := Panel1's bounds, mirrored.
    void UpdateWorkArea();
    // The work area changed size: glued windows follow their edges (five passes so that
    // chains settle), then windows beyond the work area are pulled back into it.
    void FormResize();
    // A maximized document window fills the work area between the tool windows docked along
    // its left and right inner edges (from a queued call, after the work area's own layout).
    void FitMaximizedDesks();

    TDockMngr DockMngr;

    // --- View, language and help commands (formMain_View.cpp) -------------------------------
    // Fills Options > Languages with one item per language file of the program's "Languages"
    // folder, and switches to the one TOptions.Language names.
    void BuildLanguageMenu();
    // Switches the whole user interface to the language of `sender` (a Languages item).
    void actLanguageExecute(QAction* sender);
    QList<QAction*> LanguageActions() const { return m_languageActions; }
    // The help file: Help/<language>.chm in the program's folder, else Help/english.chm there.
    QString HelpFileName() const;
    void actHelpExecute();
    void actHomepageExecute();
    void actnAboutExecute();
    // How Help and Home Page hand an address to the desktop (tests replace it).
    std::function<void(const QUrl&)> OpenUrl;
    TfrmAbout* About() const { return m_frmAbout; }
    // Panel1's bounds as slot 1 of DockMngr, stored mirrored (see TDockRect).
    TDockRect WorkArea;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The work area's share of drag events: tiles of a thumbnail view dragged onto its empty
    // part are taken, and dropped their files open. True when taken.
    bool Panel1DragEvent(QEvent* event);

private:
    // Closing: every document window is asked in turn; false when one refused.
    bool FormCloseQuery();
    void FormClose();
    void FormKeyPress(int key, const QString& text);
    void CreateActions();
    void CreateToolWindows();
    void CreateViewActions();
    void RestoreViewLayout();
    // Shows or hides the main tool bar or the status bar after its View action, stores that,
    // and re-docks the tool windows against the changed work area.
    void ShowBar(QWidget* bar, const char* actionName);
    void actnWindowToolbarExecute();
    void actnGridExecute();
    void actSideBarExecute();
    void CreateDockingActions();
    // Restores and stores the tool windows' positions, the preview's and the explorer's sizes,
    // and their visibility.
    void RestoreToolLayout();
    void SaveToolLayout();
    // Cuts the tool frames and the document windows' frames loose from this window before it
    // is destroyed.
    void DetachToolWindows();
    // The user let go of a dragged tool frame.
    void ToolWindowMoved(glimt::TToolFrame* frame);
    void CreateEditActions();
    void CreateImageActions();
    void CreateIconActions();
    void CreateMenus();
    void CreatePreviewActions();
    void CreatePreviewWindow();
    void ApplyPreviewPreferences();
    void ShowPreviewOf(TfrmDesk* desk);
    void CreatePropertiesActions();
    void CreateBrushWindow();
    void StopBrushWindow();
    void CreateEffectActions();
    void BuildEffectMenu();
    // formMain_Colors.cpp: the colour panel and View > Colors.
    void CreateColorsActions();
    void WireColorPanel();
    void RestoreColorsLayout();
    void SaveColorsLayout();
    void SaveColorsFile();
    void ShowDocumentColors(TfrmDesk* desk);
    QString ColorsFileName() const;
    void CreateImportActions();
    void CreateExplorerActions();
    // The new-image dialog for a new document `desk` (source group hidden); true when it
    // added an image, else the window has been closed.
    bool AskFirstImage(TfrmDesk* desk);
    void CreateDialogs();
    void CreateOptionsActions();
    // Every document window draws its current image again (and the floating selection's layer).
    void RedrawDocuments();
    QAction* AddAction(const char* name, const QString& caption, const QString& category,
                       const std::function<void()>& handler);
    QMdiSubWindow* SubWindowOf(TfrmDesk* desk) const;
    void Panel1SubWindowActivated(QMdiSubWindow* sub);
    // Writes the active document to `path`; false (after the error box) when that failed,
    // in which case the old file is untouched.
    bool WriteActiveIcon(const QString& path);

    bool FirstActivation = true;
    QString DataFolder;
    QString m_programFolder;
    glimt::TActionManager* m_actionManager = nullptr;
    glimt::TMenuAccessKeys* m_accessKeys = nullptr;
    glimt::IClipboard* m_clipboard = nullptr;
    bool m_clipboardHasPicture = false;
    TfrmNewImage* m_frmNewImage = nullptr;
    TfrmPreview* m_frmPreview = nullptr;
    TfrmChangePal* m_frmChangePal = nullptr;
    TfrmImageBig* m_frmImageBig = nullptr;
    TfrmBrush* m_frmBrush = nullptr;
    TfrmProperties* m_frmProperties = nullptr;
    TfrmColors* m_frmColors = nullptr;
    TfrmDimension* m_frmDimension = nullptr;
    TfrmRotate* m_frmRotate = nullptr;
    TfrmImageToIco* m_frmImageToIco = nullptr;
    TfrmExtract* m_frmExtract = nullptr;
    TfrmBatch* m_frmBatch = nullptr;
    TfrmExplorer* m_frmExplorer = nullptr;
    TfrmOptions* m_frmOptions = nullptr;
    QStringList m_commandLine;
    int m_deskCount = 0;
    int m_activeSlot = 0;
    int m_commandDepth = 0;

    QMdiArea* m_panel1 = nullptr;
    std::array<glimt::TToolFrame*, TDockMngr::SlotCount + 1> m_toolFrames{};
    std::array<QAction*, TDockMngr::SlotCount + 1> m_toolToggles{};
    TfrmTools* m_frmTools = nullptr;
    TfrmAbout* m_frmAbout = nullptr;
    QList<QAction*> m_languageActions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_statusPanel = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QAction*> m_actions;
    QHash<QString, std::function<void()>> m_handlers;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_windowActions;

    // File-dialog filters in Qt's form, rebuilt from the translated texts.
    QString m_filterOpenIcon;
    QString m_filterSaveIcon;
};

// The single main window (null while none exists).
TfrmMain* frmMain();
