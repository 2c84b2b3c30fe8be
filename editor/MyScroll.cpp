#include "editor/MyScroll.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>
#include <QTimer>

TmyScroll::TmyScroll(QWidget* parent)
    : QWidget(parent)
    , m_thumb(new QWidget(this))
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &TmyScroll::TimerTick);
    resize(100, 10);
    m_thumb->setGeometry(1, 1, 16, 8);
    m_thumb->setAutoFillBackground(true);
    m_thumb->setBackgroundRole(QPalette::Button);
    m_thumb->installEventFilter(this);
}

void TmyScroll::SetPosition(int value)
{
    if (value == m_position)
        return;
    m_position = std::clamp(value, Min, std::max(Min, Max));
    emit OnChange();
    PlaceThumb();
}

void TmyScroll::PlaceThumb()
{
    if (Max == 0)
        return;
    int left = int((std::int64_t(width()) - m_thumb->width() - 1) * m_position / Max);
    if (left == 0)
        left = 1;
    m_thumb->move(left, m_thumb->y());
}

void TmyScroll::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void TmyScroll::DragStep(int cursorX)
{
    int a = cursorX;
    const int right = width() - m_thumb->width() - 1;
    if (a <= 0)
        a = 1;
    if (a > right)
        a = right;
    if (a == m_thumb->x())
        return;
    m_thumb->move(a, m_thumb->y());
    const int span = width() - m_thumb->width() - 2;
    // Set directly: the drag reports 0..Max whatever Min is.
    m_position = span > 0 ? int(std::int64_t(a - 1) * Max / span) : 0;
    emit OnChange();
}

void TmyScroll::TimerTick()
{
    DragStep(mapFromGlobal(QCursor::pos()).x() - m_dragOffset);
}

void TmyScroll::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionFrame opt;
    opt.initFrom(this);
    opt.lineWidth = 1;
    opt.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &opt, &p, this);
    if (!m_picture.isNull() && width() > 3 && height() > 3)
        p.drawImage(QRect(1, 1, width() - 3, height() - 3), m_picture);
}

void TmyScroll::mouseReleaseEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    const int half = m_thumb->width() / 2;
    if (x < half)
        SetPosition(0);
    else if (x > width() - half)
        SetPosition(Max);
    else if (width() - m_thumb->width() != 0)
        SetPosition(int(std::int64_t(x - half) * Max / (width() - m_thumb->width())));
    QWidget::mouseReleaseEvent(event);
}

bool TmyScroll::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_thumb && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint() + m_thumb->pos();
        if (event->type() == QEvent::MouseButtonPress) {
            m_dragOffset = me->position().toPoint().x();
            m_timer->start();
            emit OnMouseDown(me->button(), p.x(), p.y());
        } else {
            m_timer->stop();
            emit OnMouseUp(me->button(), p.x(), p.y());
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

TMyScrollBox::TMyScrollBox(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void TMyScrollBox::DoScroll()
{
    emit OnScroll();
}

void TMyScrollBox::SetContentSize(QSize size)
{
    const QSize box = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - box.width()));
    horizontalScrollBar()->setPageStep(box.width());
    verticalScrollBar()->setRange(0, std::max(0, size.height() - box.height()));
    verticalScrollBar()->setPageStep(box.height());
}

void TMyScrollBox::scrollContentsBy(int, int)
{
    DoScroll();
}
