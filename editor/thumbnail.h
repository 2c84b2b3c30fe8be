#pragma once
#include "editor/KeyState.h"
#include "editor/thumbnailitem.h"

#include <QMimeData>
#include <functional>
#include <QPoint>
#include <QPointer>
#include <QScrollArea>
#include <QSize>
#include <vector>

class QMenu;
class QRubberBand;
class QStatusBar;
class TmyIcon;
class TmyImagePal;

enum class TSelectMode { smNone, smSingle, smMultiple };

namespace glimt {
struct GifPicture;
class TShellIcons;
// One icon of a file as the views list it: its number among the icons the shell reports, and
// the number of images of its icon group (-1 when the file is not a module).
struct TListedIcon {
    int Index = 0;
    int Images = -1;
};
} // namespace glimt

// A scrolling view of square tiles with single, multiple and rubber-band selection, filled
// by its loaders. Items and SelectedIndices are read directly by the view's users.
class TThumbail : public QScrollArea {
    Q_OBJECT
public:
    explicit TThumbail(QWidget* parent = nullptr);
    ~TThumbail() override;

    int ThumbnailSize() const { return m_thumbnailSize; }
    void SetThumbnailSize(int size);
    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool show);
    TSelectMode SelectionMode = TSelectMode::smMultiple;
    QStatusBar* StatusBar = nullptr;
    QMenu* PopupMenu = nullptr;
    bool CanDrag = false;
    bool AlwaysSelected = false;
    void SetEnabled(bool enabled);

    // Tiles in index order, owned by the view.
    std::vector<TThumbnailItem*> Items;
    // Selected tile indices in the order they were selected (index order after a band).
    std::vector<int> SelectedIndices;
    int AnchorIndex = 0;
    bool Busy = false;
    bool MouseIsDown = false;
    QPoint DownPos;
    QPoint BandStart;
    QRubberBand* RubberBand = nullptr;
    int ScrollLimit = 0;
    QSize LastSize;
    bool LayoutEnabled = true;

    TThumbnailItem* AddItem();
    void ClearItems();
    int Count() const { return int(Items.size()); }
    void SelectIndex(int i);
    void SetStatusText(const QString& text);
    void ShowSelectionStatus();
    void BeginLoad();
    void EndLoad();

    // The images of an icon document, rendered over white, captioned "WxH - depth".
    void LoadIconImages(const TmyIcon& icon);
    // The icons of an executable or library (or any file the shell draws icons of). The file
    // is read once; ListedIcons() then tells which icon each tile stands for.
    void LoadExeIcons(const QString& fileName);
    // The icons the last LoadExeIcons listed, in tile order (see glimt::ListExeIcons).
    const std::vector<glimt::TListedIcon>& ListedIcons() const { return m_listedIcons; }
    // The frames of a GIF file over white; with `overImpose` each tile shows the frames up to
    // its own played one after the other (each earlier frame's disposal applied), as the frame
    // picker imports them. A file that is not a GIF changes nothing.
    void LoadGifFrames(const QString& fileName, bool overImpose);
    // The same from a GIF decoded already.
    void LoadGifFrames(const glimt::GifPicture& gif, bool overImpose);
    // The icon and picture files of a folder, each tile carrying its file name.
    void LoadFolder(const QString& folder);

    int SelectionPos(int i) const;
    bool IsSelected(int i) const { return SelectionPos(i) != -1; }
    int SelectedCount() const;
    void SelectItem(int i);
    void DeselectItem(int i);
    void ToggleItem(int i);
    void ClearSelection();
    void RebuildSelection();
    // Re-places every tile (after a resize, scroll or a change of tile size).
    void LayoutItems();
    // The width of the view's tiles: ThumbnailSize, or with captions shown as much wider as
    // the widest caption the program made itself needs (image formats, icon and frame
    // numbers read whole; a file name too long for its tile ends in "..." instead).
    int TileWidth() const;
    // Sizes every tile for the captions it now carries, in the view's present font.
    void FitTilesToCaptions();

signals:
    void OnItemClicked(TThumbail* sender);
    void OnItemDblClicked(TThumbail* sender);
    void OnClick(TThumbail* sender);
    // A drag of the selection begins (CanDrag); the receiver reads SelectedIndices.
    void OnStartDrag(TThumbail* sender);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Each notch of the wheel moves the view one line of 50 pixels.
    void wheelEvent(QWheelEvent* event) override;

private:
    void ItemMouseDown(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y);
    void ItemMouseMove(TThumbnailItem* item, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y);
    void ItemMouseUp(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y);
    // Shift and Ctrl as of the mouse event being handled; the keyboard's state outside one.
    bool ShiftHeld() const;
    bool CtrlHeld() const;
    void ItemDblClick(TThumbnailItem* item);
    void PopupAtCursor();
    void UpdateContentHeight();

    int m_thumbnailSize = 0;
    bool m_showCaption = false;
    Qt::KeyboardModifiers m_eventMods;
    bool m_inMouseEvent = false;
    bool m_wheelDetached = false; // a button is down on empty space
    int m_wheelAngle = 0;         // wheel turn not yet worth a notch, in eighths of a degree
    std::vector<glimt::TListedIcon> m_listedIcons;
    friend class EventModifiers;
};

// What a drag of tiles carries: the view it started from, whose SelectedIndices the drop
// target reads. Drops from other programs never carry it.
class TThumbnailDragData : public QMimeData {
    Q_OBJECT
public:
    explicit TThumbnailDragData(TThumbail* view);
    QPointer<TThumbail> View;
    // The view a drag of tiles started from, or null for any other drag (or a view since gone).
    static TThumbail* DraggedView(const QMimeData* data);
    // Serves a drag event (enter, move, drop) over a target of tiles: taken when it carries
    // tiles and `takesAt` agrees for the event's position in the target. A drop runs `dropped`
    // with the view once the platform's drag has ended (it may ask questions), unless
    // `context` is gone by then. True when the event was taken.
    static bool ServeDragEvent(QEvent* event, QObject* context, const std::function<bool(QPoint)>& takesAt,
                               const std::function<void(TThumbail&)>& dropped);
};

namespace glimt {
// The icons of a file that LoadExeIcons shows, in tile order: every icon the shell reports
// except groups the group reader refuses (more than MaxGroupImages images). Tile p stands for
// icon ListExeIcons(file)[p].Index.
std::vector<TListedIcon> ListExeIcons(const QString& fileName);
// The same for a file already read.
std::vector<TListedIcon> ListExeIcons(const TShellIcons& shell);

// Caption of an image's tile: width "x" height and the depth suffix (" - 256", " - XP" ...).
QString ImageTileCaption(const TmyImagePal& image);
} // namespace glimt
