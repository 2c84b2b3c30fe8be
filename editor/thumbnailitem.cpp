#include "editor/thumbnailitem.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace glimt {

QPoint TilePosition(int parentWidth, int scrollBarWidth, int w, int h, int index)
{
    const int a = parentWidth - scrollBarWidth - 4;
    const int columns = std::max(1, a / (w + 5));
    const int gap = (a - columns * w) / columns;
    const int left = (index % columns) * (w + gap) + (gap < 10 ? 5 : gap / 2);
    const int top = (index / columns) * (h + 5) + 5;
    return QPoint(left, top);
}

} // namespace glimt

TThumbnailItem::TThumbnailItem(QWidget* parent, int size, int index)
    : QWidget(parent)
    , Index(index)
{
    SetThumbnailSize(size);
}

void TThumbnailItem::SetCaption(const QString& text)
{
    Caption = text;
    setToolTip(text);
}

void TThumbnailItem::SetFileName(const QString& path)
{
    FileName = path;
    const int slash = int(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    SetCaption(path.mid(slash + 1));
}

void TThumbnailItem::SetThumbnailSize(int n)
{
    Size = n;
    Fit();
}

void TThumbnailItem::SetShowCaption(bool b)
{
    if (b == ShowCaption)
        return;
    ShowCaption = b;
    Fit();
}

void TThumbnailItem::SetMinWidth(int width)
{
    if (width == MinWidth)
        return;
    MinWidth = width;
    Fit();
}

int TThumbnailItem::CaptionHeight() const
{
    return std::max(20, fontMetrics().height() + 4);
}

void TThumbnailItem::Fit()
{
    if (ShowCaption)
        resize(std::max(Size, MinWidth), Size + CaptionHeight());
    else
        resize(Size, Size);
    UpdatePosition();
}

void TThumbnailItem::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Fit();
}

void TThumbnailItem::SetEnabled(bool b)
{
    Enabled = b;
    setEnabled(b);
    update();
}

QSize TThumbnailItem::FitSize(int graphicWidth, int graphicHeight, int origH, int origW) const
{
    const int s = Size - 10;
    if (graphicWidth == 0 || graphicHeight == 0)
        return QSize(0, 0);
    int w, h;
    if (graphicHeight >= graphicWidth) {
        h = s;
        w = int(std::int64_t(graphicWidth) * s / graphicHeight);
    } else {
        w = s;
        h = int(std::int64_t(graphicHeight) * s / graphicWidth);
    }
    // A picture is never enlarged.
    if (s >= origH && s >= origW)
        return QSize(origW, origH);
    return QSize(w, h);
}

void TThumbnailItem::SetGraphic(const QImage& graphic, int pictureWidth, int pictureHeight)
{
    PictureWidth = pictureWidth > 0 ? pictureWidth : graphic.width();
    PictureHeight = pictureHeight > 0 ? pictureHeight : graphic.height();
    const QSize fit = FitSize(graphic.width(), graphic.height(), graphic.height(), graphic.width());
    if (fit.isEmpty())
        Bitmap = QImage();
    else
        Bitmap = graphic.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    update();
}

QString TThumbnailItem::FitCaption(const QString& text) const
{
    const QFontMetrics fm(font());
    if (fm.horizontalAdvance(text) <= width())
        return text;
    QString t = text;
    const QString dots = QStringLiteral("...");
    while (!t.isEmpty()) {
        t.chop(1);
        if (fm.horizontalAdvance(t + dots) < width())
            break;
    }
    return t + dots;
}

void TThumbnailItem::UpdatePosition()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    // Tiles live on the view's content widget, which the view scrolls; the grid follows the
    // width of the view itself.
    QWidget* view = parent;
    for (QWidget* w = parent; w; w = w->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea*>(w)) {
            view = w;
            break;
        }
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    move(glimt::TilePosition(view->width(), bar, width(), height(), Index));
}

void TThumbnailItem::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor pen = Enabled && Selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid);
    p.setPen(QPen(pen, Selected ? 3 : 1));
    p.setBrush(Qt::white);
    const int w = width();
    const int h = height();
    // The picture area above the caption strip (the whole tile without one).
    const int strip = ShowCaption ? h - Size : 0;
    const int ph = h - strip;
    if (ShowCaption) {
        if (Selected)
            p.drawRoundedRect(QRect(1, 1, w - 3, ph - 3), 5, 5);
        else
            p.drawRoundedRect(QRect(0, 0, w - 1, ph - 1), 5, 5);
        const QString text = FitCaption(Caption);
        p.setPen(pen);
        if (!Enabled)
            p.fillRect(QRect(0, ph, w, strip), pal.color(QPalette::Window));
        const int tw = p.fontMetrics().horizontalAdvance(text);
        p.drawText(QPoint((w - tw) / 2, ph + 2 + p.fontMetrics().ascent()), text);
    } else {
        if (Selected)
            p.drawRoundedRect(QRect(1, 1, w - 3, h - 3), 5, 5);
        else
            p.drawRoundedRect(QRect(0, 0, w - 1, h - 1), 5, 5);
    }
    if (!Bitmap.isNull()) {
        const QSize fit = FitSize(Bitmap.width(), Bitmap.height(), PictureHeight, PictureWidth);
        const int x = (w - fit.width() - 10) / 2;
        const int y = (ph - fit.height() - 10) / 2;
        p.drawImage(QRect(x + 5, y + 5, fit.width(), fit.height()), Bitmap);
    }
}

void TThumbnailItem::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseDown(this, e->button(), e->modifiers(), p.x(), p.y());
}

void TThumbnailItem::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseMove(this, e->buttons(), e->modifiers(), p.x(), p.y());
}

void TThumbnailItem::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseUp(this, e->button(), e->modifiers(), p.x(), p.y());
}

void TThumbnailItem::mouseDoubleClickEvent(QMouseEvent*)
{
    emit DblClick(this);
}
