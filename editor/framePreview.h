#pragma once
#include "engine/MyImage.h"
#include "engine/MyPixel.h"

#include <QFrame>
#include <QImage>
#include <QPoint>

class TMyScrollBox;

namespace glimt {

// The picture control of a preview: shows Picture at its own size, one screen pixel per
// picture pixel, and reports the mouse with screen positions.
class TPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewImage(QWidget* parent);
    QImage Picture;

signals:
    void MouseDown(Qt::MouseButton button, QPoint screen);
    void MouseMove(QPoint screen);
    void MouseUp(Qt::MouseButton button, QPoint screen);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace glimt

// A preview of an image at its real size in a scroll box. A picture smaller than the box sits
// centred; a larger one starts at the top-left corner and is panned by dragging it with the
// left button (the picture follows the hand). Used by the preview window and by the dialogs
// that preview their working copy.
class Tpreview : public QFrame {
    Q_OBJECT
public:
    explicit Tpreview(QWidget* parent = nullptr);

    TMyScrollBox* ScrollBox1 = nullptr;
    glimt::TPreviewImage* Image1 = nullptr;

    QPoint LastCursor;   // screen position at the previous pan step
    QPoint CursorPos;    // screen position of the current pan step
    bool Dragging = false;

    // Renders `image` over `background` into the picture (sized to the image) and centres it.
    void Render(const TmyImagePal& image, TColor background);
    // Shows nothing: the picture is sized 0 x 0.
    void Clear();
    // One picture pixel drawn as the preview routines draw it (outside the picture: ignored).
    void DrawPixel(int X, int Y, bool Blended, const TmyPixel& pixel);
    // The colour of the box around the picture.
    void SetBoxColor(TColor color);

    // Image1 shows `cursor` while a scroll bar is needed, else the default cursor.
    void SetPanCursor(Qt::CursorShape cursor);
    // Image1's position in the box: centred where it is smaller than the box, else at the
    // scroll position.
    void CenterPreview();

    // The pan handlers; positions on the screen.
    void Image1MouseDown(Qt::MouseButton button, QPoint screen);
    void Image1MouseMove(QPoint screen);
    void Image1MouseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Image1 takes the picture's size; the scroll ranges follow.
    void PictureResized();
};
