#pragma once
#include <QRect>
#include <QWidget>

class QFileSystemModel;
class QMenu;
class QSlider;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeView;
class TThumbail;
class TfrmMain;

// The explorer: a tool window of the main window with a folder tree above thumbnails of the
// icon and picture files of the chosen folder. A double-click opens the selected files, the
// pop-up menu starts the two batch conversions on them. Made once by the main window, shown
// and hidden by View > Explorer.
class TfrmExplorer : public QWidget {
    Q_OBJECT
public:
    explicit TfrmExplorer(TfrmMain* main);

    TThumbail* Thumbnails = nullptr;
    // The window's rectangle in the main window's client coordinates (left, top, right, bottom).
    QRect DockRect;
    // False while the tree re-reads itself, so that its selection changes load nothing.
    bool TreeChangeEnabled = true;
    // How many folders have been loaded (each showing and each refresh loads one).
    int FoldersLoaded = 0;

    void SaveDockRect();
    // The folder selected in the tree ("" when none).
    QString CurrentPath() const;
    // Selects `folder` in the tree (which loads it, as a click would).
    void SelectFolder(const QString& folder);
    void stTreeChange();
    void btnRefreshClick();
    void btnFileNameClick();
    void tbSizeChange();
    void ShowFolder(const QString& path);
    void ThumbDblClick();

    QToolBar* ToolBar1 = nullptr;
    QToolButton* btnRefresh = nullptr;
    QToolButton* btnFileName = nullptr;
    QSlider* tbSize = nullptr;
    QTreeView* stTree = nullptr;
    QSplitter* Splitter1 = nullptr;
    QMenu* pmExtract = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TfrmMain* m_main;
    QFileSystemModel* m_model = nullptr;
};
