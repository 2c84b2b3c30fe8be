#include "editor/MyScroll.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>

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
    setFocusPolicy(Qt::StrongFocus);
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
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TmyScroll::mousePressEvent(QMouseEvent* event)
{
    // Only the first button down opens the click; others pressed meanwhile are ignored.
    if (m_trackPressed || m_thumbPressed)
        return;
    EndKeyInteraction();
    m_trackPressed = true;
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(event->button(), at.x(), at.y());
}

void TmyScroll::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_trackPressed || event->buttons() != Qt::NoButton)
        return;
    m_trackPressed = false;
    const QPoint at = event->position().toPoint();
    const int x = at.x();
    const int half = m_thumb->width() / 2;
    if (x < half)
        SetPosition(0);
    else if (x > width() - half)
        SetPosition(Max);
    else if (width() - m_thumb->width() != 0)
        SetPosition(int(std::int64_t(x - half) * Max / (width() - m_thumb->width())));
    emit OnMouseUp(event->button(), at.x(), at.y());
}

void TmyScroll::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (m_trackPressed || m_thumbPressed)
        return;
    // A notch is 120 eighths of a degree; fine-grained wheels send parts of one.
    m_wheelAngle += event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    for (int i = 0; i < std::abs(notches); ++i) {
        EndKeyInteraction();
        emit OnMouseDown(Qt::NoButton, m_thumb->x(), m_thumb->y());
        SetPosition(m_position + (notches > 0 ? 1 : -1));
        emit OnMouseUp(Qt::NoButton, m_thumb->x(), m_thumb->y());
    }
}

int TmyScroll::KeyTarget(int key) const
{
    const int page = std::max(1, Max / 16);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down: return std::max(Min, m_position - 1);
    case Qt::Key_Right:
    case Qt::Key_Up: return std::min(Max, m_position + 1);
    case Qt::Key_PageDown: return std::max(Min, m_position - page);
    case Qt::Key_PageUp: return std::min(Max, m_position + page);
    case Qt::Key_Home: return Min;
    case Qt::Key_End: return Max;
    default: return -1;
    }
}

void TmyScroll::keyPressEvent(QKeyEvent* event)
{
    const int target = KeyTarget(event->key());
    if (target < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_trackPressed || m_thumbPressed)
        return;
    // A held key repeats its step inside one interaction, which ends with its release.
    if (m_keyDown != event->key()) {
        EndKeyInteraction();
        m_keyDown = event->key();
        emit OnMouseDown(Qt::NoButton, m_thumb->x(), m_thumb->y());
    }
    SetPosition(target);
}

void TmyScroll::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat() || event->key() != m_keyDown) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    EndKeyInteraction();
}

void TmyScroll::focusOutEvent(QFocusEvent* event)
{
    // The key's release goes elsewhere now.
    EndKeyInteraction();
    QWidget::focusOutEvent(event);
}

void TmyScroll::EndKeyInteraction()
{
    if (m_keyDown == 0)
        return;
    m_keyDown = 0;
    emit OnMouseUp(Qt::NoButton, m_thumb->x(), m_thumb->y());
}

bool TmyScroll::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_thumb && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint() + m_thumb->pos();
        if (event->type() == QEvent::MouseButtonPress) {
            // Further buttons pressed during a drag belong to it.
            if (m_thumbPressed)
                return true;
            setFocus(Qt::MouseFocusReason);
            EndKeyInteraction();
            m_thumbPressed = true;
            m_dragOffset = me->position().toPoint().x();
            m_timer->start();
            emit OnMouseDown(me->button(), p.x(), p.y());
        } else if (m_thumbPressed && me->buttons() == Qt::NoButton) {
            m_thumbPressed = false;
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
