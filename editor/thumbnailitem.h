#pragma once
#include <QImage>
#include <QString>
#include <QWidget>

// One tile of a thumbnail view: a square picture area of Size pixels, the picture fitted into
// Size - 10 of them (never enlarged beyond the source picture), and, optionally, a caption strip
// below it, 20 pixels high or as high as the tile's font needs. With a caption the tile is as
// wide as the view asks (MinWidth, for captions that must read whole), the picture area in
// its middle. The tile keeps only the bitmap at its fitted size. Its parent is the view's
// viewport.
class TThumbnailItem : public QWidget {
    Q_OBJECT
public:
    TThumbnailItem(QWidget* parent, int size, int index);

    QString Caption;
    QString FileName;
    int Size = 100;
    bool ShowCaption = false;
    bool Selected = false;
    int Index = 0;
    QImage Bitmap;
    bool Enabled = true;
    int PictureWidth = 0;
    int PictureHeight = 0;
    // The width a captioned tile takes at least (0: Size).
    int MinWidth = 0;

    void SetCaption(const QString& text);
    // Stores the path and captions the tile with its file-name part.
    void SetFileName(const QString& path);
    void SetThumbnailSize(int n);
    void SetShowCaption(bool b);
    void SetEnabled(bool b);
    void SetMinWidth(int width);
    // The height of the caption strip in the tile's font.
    int CaptionHeight() const;
    // The tile's picture: `graphic` fitted and stretched into Bitmap. `pictureWidth` and
    // `pictureHeight` are the source's own size (larger than the graphic when it was decoded
    // at a reduced scale); 0 takes the graphic's size.
    void SetGraphic(const QImage& graphic, int pictureWidth = 0, int pictureHeight = 0);
    // Fitted size of a graphicWidth x graphicHeight picture whose source measures origW x origH.
    QSize FitSize(int graphicWidth, int graphicHeight, int origH, int origW) const;
    // The text shortened with "..." until it is narrower than the tile.
    QString FitCaption(const QString& text) const;
    // Places the tile in the grid of the view's width (content coordinates).
    void UpdatePosition();

signals:
    void MouseDown(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y);
    void MouseMove(TThumbnailItem* item, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y);
    void MouseUp(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y);
    void DblClick(TThumbnailItem* item);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Sizes the tile for Size, the caption and MinWidth, and places it.
    void Fit();
};

namespace glimt {
// Left edge and top of tile `index` (w x h pixels) in a view of client width `parentWidth`
// with a vertical scroll bar of `scrollBarWidth`.
QPoint TilePosition(int parentWidth, int scrollBarWidth, int w, int h, int index);
} // namespace glimt
