#pragma once
#include "editor/UndoHistory.h"
#include "engine/MyIcon.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

class QComboBox;
class QFrame;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TMyScrollBox;
class TThumbail;

namespace glimt {

// The mouse state handed to the canvas handlers: bit 0 Shift, bit 3 left button, bit 4 right
// button (9 = Shift with left, 17 = Shift with right).
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;

// Mouse buttons as the canvas handlers number them.
enum class TMouseButton : std::uint8_t { Left = 0, Right = 1, Middle = 2 };

// The canvas: a 24-bit picture of Zoom x width by Zoom x height screen pixels. The document
// window renders into Bitmap and invalidates the rectangles it changed; paintEvent copies only
// the exposed part. Mouse events go to the owning window's Image1 handlers.
class TDeskCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TDeskCanvas(QWidget* parent);
    // The picture; always QImage::Format_RGB32, sized with the widget by SetCanvasSize.
    QImage Bitmap;
    void SetCanvasSize(int width, int height);
    // Repaints the rectangle `r` of canvas pixels. Every change of the picture goes through
    // here; the counters tell how many rectangles were repainted and their total area.
    void Invalidate(const QRect& r);
    std::int64_t Invalidations = 0;
    std::int64_t InvalidatedArea = 0;

signals:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace glimt

// The document window: owns one icon document, its undo history and its saved flag, shows the
// current image zoomed over the transparency checkerboard with an optional grid, turns mouse
// strokes on the canvas into tool events, and lists the document's images in a drop-down list
// and a side bar of thumbnails. The main window creates it, keeps it in a numbered slot (Tag)
// and is reached through glimt::EditorHost().
class TfrmDesk : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDesk(QWidget* parent = nullptr);
    ~TfrmDesk() override;

    // --- where the document comes from; the caption is derived from these -----------------
    // Absolute path of the document's file; empty for an untitled document.
    const QString& FilePath() const { return m_filePath; }
    void SetFilePath(const QString& path);
    // Running number of an untitled document (0 while it has a file path).
    int UntitledNumber() const { return m_untitledNumber; }
    void SetUntitled(int number);
    // The file path, or the translated "Untitled" and " - " followed by the number.
    QString Caption() const;
    // The file-name part of the caption (the "%s1" of the save question).
    QString CaptionFileName() const;

    // --- fields other code reads and writes -----------------------------------------------
    int Tag = 0;                       // slot number 1..20 (set by the main window)
    QPoint SelOffset;                  // x = left, y = top: layer offset from the canvas while dragged
    QSize SelSize;                     // unsnapped layer size while resized
    TThumbail* Thumbnails = nullptr;   // side bar view, owned through Qt parenting
    bool SelDragging = false;
    bool SelDraggingOut = false;       // the dragged layer's cursor has left the scroll box
    QPoint SelDragStart;               // the layer's position when its drag began
    bool SelResizing = false;
    QPoint LastCursor;                 // screen position at the previous drag or resize step
    QPoint LastMouse;                  // canvas pixels, replayed by the stroke timer
    bool Closing = false;
    bool InStroke = false;
    bool GridVisible = false;
    bool StrokeCancelled = false;
    QPoint SelDropOrigin;
    bool Saved = true;
    std::unique_ptr<tmyUndo> Undo;      // null after the window agreed to close
    std::unique_ptr<TmyIcon> Icon;      // null after the window agreed to close
    std::unique_ptr<TmyImagePal> StrokeBackup; // stroke-start copy, from press to release
    bool ShiftWasDown = false;
    std::uint8_t Zoom = 10;            // screen pixels per image cell, 1..10
    std::uint8_t StrokeButton = 2;     // 0 left, 1 right, 2 none

    // The current image of the document, or null (no document or no image yet).
    TmyImagePal* CurrentImage();
    // The current image is about to change: records it in the undo history, marks the
    // document unsaved and refreshes the undo commands. Every change of the current image
    // goes through here first; nothing happens without a current image.
    void BeginImageChange();

    // --- controls (object names are the component names) -------------------------------
    QWidget* CoolBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QComboBox* cmbImages = nullptr;
    QToolButton* btnNewImage = nullptr;
    QToolButton* btnDelImage = nullptr;
    QToolButton* btnZoomOut = nullptr;
    QComboBox* cmbZoom = nullptr;
    QToolButton* btnZoomIn = nullptr;
    QToolButton* btnGrid = nullptr;
    QToolButton* btnSideBar = nullptr;
    TMyScrollBox* ScrollBox1 = nullptr;
    QFrame* Bevel1 = nullptr;
    glimt::TDeskCanvas* Image1 = nullptr;
    glimt::TDeskCanvas* ImgSel = nullptr;   // the floating-selection layer
    QWidget* rpTop = nullptr;
    QWidget* rpLeft = nullptr;
    QWidget* rpBottom = nullptr;
    QWidget* rpRight = nullptr;
    QWidget* rpTopLeft = nullptr;
    QWidget* rpTopRight = nullptr;
    QWidget* rpBottomLeft = nullptr;
    QWidget* rpBottomRight = nullptr;
    QWidget* pnlSideBar = nullptr;
    QMenu* pmImages = nullptr;
    QTimer* Timer1 = nullptr;

    // --- drawing ----------------------------------------------------------------------------
    // Sizes the canvas to Zoom x the image and redraws it whole (image, grid, thumbnail, zoom
    // controls).
    void ShowImage(const TmyImagePal& image);
    // Draws the image zoomed into the canvas bitmap (which must measure Zoom x the image).
    void RenderZoomed(const TmyImagePal& image, glimt::TDeskCanvas* target);
    // The pixel grid over the whole canvas.
    void DrawGrid();
    // Redraws cell (X, Y) of the current image (cells, inside the image): blended over the
    // checkerboard or solid, then its grid lines. Repaints only that cell.
    void DrawCellAt(int X, int Y, bool Blended, const TmyPixel& pixel);
    // Redraws the cells of `image` (the current image) inside `cells` as DrawCellAt does and
    // repaints their bounding rectangle once.
    void DrawCells(const TmyImagePal& image, const QRect& cells);
    void DrawCellBlended(int X, int Y, glimt::TDeskCanvas* target, const TmyPixel& pixel);
    void DrawCellSolid(int X, int Y, glimt::TDeskCanvas* target, const TmyPixel& pixel);
    void DrawCellGrid(int X, int Y);
    void CenterImage();
    // The side bar as wide as its tiles, and its thumbnail view's scroll bar while it shows.
    void SizeSideBar();
    void UpdateScrollRange();
    void ActivateDocument();
    void FillImageCombo(bool RefillThumbnails);
    void SetGrid(bool Visible);
    void SetSideBar(bool Visible);
    void UpdateZoomButtons();
    void FillThumbnails();
    void UpdateThumbnail();
    // Makes the image chosen in cmbImages current.
    void cmbImagesChange();

    // --- mouse on the canvas (also called by the brush window and the Selection tool) ----
    // X, Y in canvas pixels. `sender` is Image1 for the canvas's own events.
    void Image1MouseDown(QObject* sender, glimt::TMouseButton button, glimt::TShiftState shift, int X, int Y);
    void Image1MouseMove(QObject* sender, glimt::TShiftState shift, int X, int Y);
    void Image1MouseUp(QObject* sender, glimt::TMouseButton button, glimt::TShiftState shift, int X, int Y);
    // Ends a running stroke without a tool event (the stroke-start copy goes, the tool keys
    // come back, the timer stops); nothing more when no stroke runs.
    void EndStroke();
    void Timer1Timer();
    // Status read-out after a tool event: anchor and position in cells.
    void ShowToolStatus(int AnchorX, int AnchorY, int X, int Y, std::uint8_t Button, std::uint8_t Tool);

    // --- selection layer ---------------------------------------------------------------------
    // Positions are scroll-box client pixels; the layer always sits on whole cells of the canvas.
    void ShowSelectionHandles();
    void HideSelectionHandles();
    void PlaceHandles();
    void RefreshSelection();
    // Draws the layer: the selection image over or under the image, over the checkerboard, at
    // SelDropOrigin while Dragging, else at the layer's own position.
    void RenderSelection(const TmyImagePal& image, const TmyImagePal& selection, bool inFront, bool Dragging,
        glimt::TDeskCanvas* target);
    void DrawSelectionGrid(int X0, int X1, int Y1, int Y0);
    void DrawSelectionFrame();
    // Resamples the floating selection to W x H cells and redraws the layer.
    void ResizeSelection(int W, int H);
    void ShowSelectionStatus();
    // Moving the layer. The main window's arrow-key moves pass itself as sender with X or Y
    // plus or minus Zoom.
    void ImgSelMouseDown(QObject* sender, glimt::TMouseButton button, glimt::TShiftState shift, int X, int Y);
    void ImgSelMouseMove(QObject* sender, glimt::TShiftState shift, int X, int Y);
    void ImgSelMouseUp(QObject* sender, glimt::TMouseButton button, glimt::TShiftState shift, int X, int Y);
    // One step of a drag with the cursor at screen position `cursor`.
    void SelectionDragStep(QPoint cursor, bool fromMouse);
    // The layer dragged out of the scroll box, cursor at screen position `cursor`: the
    // read-out and the cursor shape tell whether a drop there would be taken.
    void SelectionDragOver(QPoint cursor);
    // The layer released outside the scroll box: onto another document's canvas it moves
    // there, onto the empty work area it becomes a new document. True when it was taken;
    // otherwise the layer goes back to where the drag began.
    bool SelectionDragDrop(QPoint cursor);
    // Resizing by one of the eight handles (the handle is known by its name).
    void rpBottomRightMouseDown(QWidget* handle);
    void rpBottomRightMouseMove(QWidget* handle);
    void rpBottomRightMouseUp(QWidget* handle);
    // One resize step: the cursor moved by `delta` screen pixels since the last step.
    void SelectionResizeStep(QWidget* handle, QPoint delta);

    // Tiles of a thumbnail view dropped on the canvas or the layer: the first selected file
    // becomes a floating selection here (through the main window).
    void Image1DragDrop(const TThumbail& Thumbnails);

    // The close question: true when the window may close (asks to save an unsaved document).
    bool FormCloseQuery();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void FormCreate();
    void CreateSelectionLayer(QWidget* viewport);
    void UpdateCaption();
    void cmbZoomChange();
    void btnZoomOutClick();
    void btnZoomInClick();

    QString m_filePath;
    int m_untitledNumber = 0;
};

// Translated name of a bit depth ("True Color+Alpha" for 32), empty for other depths.
QString ColorDepthName(std::uint8_t depth);
