#include "editor/framePreview.h"

#include "editor/MyScroll.h"
#include "engine/Mypreview.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

namespace glimt {

TPreviewImage::TPreviewImage(QWidget* parent)
    : QWidget(parent)
{
    // Not marked as painting opaquely (see TDeskCanvas): a tool window moved over the preview
    // must stay painted over it.
    setMouseTracking(true);
}

void TPreviewImage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), Picture, r);
}

void TPreviewImage::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->globalPosition().toPoint());
}

void TPreviewImage::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->globalPosition().toPoint());
}

void TPreviewImage::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->globalPosition().toPoint());
}

} // namespace glimt

Tpreview::Tpreview(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("preview1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new TMyScrollBox(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    layout->addWidget(ScrollBox1);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ScrollBox1->viewport()->installEventFilter(this);
    SetBoxColor(0xC0C0C0);

    Image1 = new glimt::TPreviewImage(ScrollBox1->viewport());
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("Preview"));
    Image1->Picture = QImage(256, 256, QImage::Format_RGB888);
    Image1->Picture.fill(Qt::white);
    Image1->resize(0, 0);

    connect(Image1, &glimt::TPreviewImage::MouseDown, this,
            [this](Qt::MouseButton button, QPoint screen) { Image1MouseDown(button, screen); });
    connect(Image1, &glimt::TPreviewImage::MouseMove, this, [this](QPoint screen) { Image1MouseMove(screen); });
    connect(Image1, &glimt::TPreviewImage::MouseUp, this, [this] { Image1MouseUp(); });
    connect(ScrollBox1, &TMyScrollBox::OnScroll, this, &Tpreview::CenterPreview);
}

void Tpreview::Render(const TmyImagePal& image, TColor background)
{
    TmyPreview::RenderToImage(image, Image1->Picture, background);
    PictureResized();
    Image1->update();
    CenterPreview();
}

void Tpreview::Clear()
{
    Image1->Picture = QImage();
    PictureResized();
    Image1->update();
    CenterPreview();
}

void Tpreview::DrawPixel(int X, int Y, bool Blended, const TmyPixel& pixel)
{
    TmyPreview::PreviewPixel(X, Y, Image1->Picture, Blended, pixel);
    Image1->update(X, Y, 1, 1);
}

void Tpreview::SetBoxColor(TColor color)
{
    QPalette pal = ScrollBox1->viewport()->palette();
    pal.setColor(QPalette::Window, QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
    ScrollBox1->viewport()->setPalette(pal);
}

void Tpreview::PictureResized()
{
    Image1->resize(Image1->Picture.size());
    ScrollBox1->SetContentSize(Image1->size());
}

void Tpreview::SetPanCursor(Qt::CursorShape cursor)
{
    // The bars show exactly when there is something to scroll.
    const bool scrollable =
        ScrollBox1->horizontalScrollBar()->maximum() > 0 || ScrollBox1->verticalScrollBar()->maximum() > 0;
    if (scrollable)
        Image1->setCursor(cursor);
    else
        Image1->unsetCursor();
}

void Tpreview::CenterPreview()
{
    const QWidget* vp = ScrollBox1->viewport();
    const int left = std::max(0, (vp->width() - Image1->width()) / 2) - ScrollBox1->horizontalScrollBar()->value();
    const int top = std::max(0, (vp->height() - Image1->height()) / 2) - ScrollBox1->verticalScrollBar()->value();
    Image1->move(left, top);
}

void Tpreview::Image1MouseDown(Qt::MouseButton button, QPoint screen)
{
    if (button == Qt::LeftButton)
        Dragging = true;
    LastCursor = screen;
}

void Tpreview::Image1MouseMove(QPoint screen)
{
    SetPanCursor(Qt::OpenHandCursor);
    if (!Dragging)
        return;
    CursorPos = screen;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    h->setValue(h->value() + LastCursor.x() - CursorPos.x());
    v->setValue(v->value() + LastCursor.y() - CursorPos.y());
    LastCursor = CursorPos;
}

void Tpreview::Image1MouseUp()
{
    Dragging = false;
}

bool Tpreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize) {
        ScrollBox1->SetContentSize(Image1->size());
        CenterPreview();
    }
    return QFrame::eventFilter(watched, event);
}
