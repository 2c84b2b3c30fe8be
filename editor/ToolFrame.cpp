#include "editor/ToolFrame.h"

#include <QEvent>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSizeGrip>
#include <QToolButton>
#include <QVBoxLayout>

namespace glimt {

namespace {

// Part of a dragged frame that stays inside its parent, so that its caption can be reached.
constexpr int kKeepVisible = 20;

} // namespace

TToolCaption::TToolCaption(QWidget* frame) : QWidget(frame)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Highlight);
    setCursor(Qt::SizeAllCursor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 1, 1);
    layout->setSpacing(2);
    Title = new QLabel(this);
    Title->setForegroundRole(QPalette::HighlightedText);
    QFont f = Title->font();
    f.setBold(true);
    Title->setFont(f);
    layout->addWidget(Title, 1);
    CloseButton = new QToolButton(this);
    CloseButton->setAutoRaise(true);
    CloseButton->setCursor(Qt::ArrowCursor);
    CloseButton->setText(QStringLiteral("\u2715"));
    CloseButton->setForegroundRole(QPalette::HighlightedText);
    QPalette pal = CloseButton->palette();
    pal.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
    CloseButton->setPalette(pal);
    FitCloseButton();
    layout->addWidget(CloseButton);
}

void TToolCaption::FitCloseButton()
{
    // A square of 14 pixels, or as large as its cross needs in the caption's font.
    const QFontMetrics fm(CloseButton->font());
    const int side = std::max({14, fm.height() + 2, fm.horizontalAdvance(CloseButton->text()) + 6});
    CloseButton->setFixedSize(side, side);
}

void TToolCaption::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && CloseButton)
        FitCloseButton();
}

void TToolCaption::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_pressGlobal = event->globalPosition().toPoint();
    m_startPos = parentWidget()->pos();
    parentWidget()->raise();
    event->accept();
}

void TToolCaption::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    QWidget* frame = parentWidget();
    QPoint p = m_startPos + (event->globalPosition().toPoint() - m_pressGlobal);
    if (QWidget* host = frame->parentWidget()) {
        p.setX(std::clamp(p.x(), kKeepVisible - frame->width(), std::max(0, host->width() - kKeepVisible)));
        p.setY(std::clamp(p.y(), 0, std::max(0, host->height() - height())));
    }
    frame->move(p);
    event->accept();
}

void TToolCaption::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    event->accept();
    if (DragEnded)
        DragEnded();
}

TToolFrame::TToolFrame(QWidget* content, std::uint8_t slot, QWidget* parent)
    // A sub-window, so that a size grip inside resizes this frame and not the main window.
    : QFrame(parent, Qt::SubWindow), m_content(content), m_slot(slot)
{
    // Not "frm...": the frame is no form of its own for the translator.
    setObjectName(QStringLiteral("Dock") + content->objectName());
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_caption = new TToolCaption(this);
    m_caption->Title->setText(content->windowTitle());
    layout->addWidget(m_caption);
    content->setParent(this);
    content->setWindowFlags(Qt::Widget);
    layout->addWidget(content, 1);
    content->show();
    content->installEventFilter(this);
    connect(m_caption->CloseButton, &QToolButton::clicked, this, &QWidget::hide);
    m_caption->DragEnded = [this] {
        if (Moved)
            Moved();
    };
    FitToContent();
}

void TToolFrame::SaveDockRect()
{
    DockRect.SetBounds(geometry());
}

void TToolFrame::FitToContent()
{
    resize(sizeHint().expandedTo(minimumSizeHint()));
}

bool TToolFrame::event(QEvent* event)
{
    const bool handled = QFrame::event(event);
    // The content or the caption asked for another size (a new language, another font). The
    // frame refits once the requests of its children have been served too, so that it sees
    // their new sizes.
    if (event->type() == QEvent::LayoutRequest && !m_refitPending) {
        m_refitPending = true;
        QMetaObject::invokeMethod(this, &TToolFrame::Refit, Qt::QueuedConnection);
    }
    return handled;
}

void TToolFrame::Refit()
{
    m_refitPending = false;
    // A frame of fixed size takes the size asked for; one the user sizes grows only where it
    // has become too small.
    const QSize least = minimumSizeHint();
    const QSize fitted = m_grip ? size().expandedTo(least) : sizeHint().expandedTo(least);
    if (fitted != size()) {
        resize(fitted);
        SaveDockRect();
        // Placed again among the other windows, as after a move.
        if (isVisible() && Moved)
            Moved();
    }
}

void TToolFrame::SetResizable(bool resizable)
{
    if (resizable == (m_grip != nullptr))
        return;
    if (!resizable) {
        delete m_grip;
        m_grip = nullptr;
        return;
    }
    m_grip = new QSizeGrip(this);
    m_grip->resize(m_grip->sizeHint());
    m_grip->installEventFilter(this);
    m_grip->move(width() - m_grip->width(), height() - m_grip->height());
    m_grip->show();
    m_grip->raise();
}

void TToolFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (m_grip)
        m_grip->move(width() - m_grip->width(), height() - m_grip->height());
}

bool TToolFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_content && event->type() == QEvent::WindowTitleChange)
        m_caption->Title->setText(m_content->windowTitle());
    if (watched == m_grip && event->type() == QEvent::MouseButtonRelease && Moved)
        Moved();
    return QFrame::eventFilter(watched, event);
}

void TToolFrame::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (!event->spontaneous() && FormShow)
        FormShow();
}

void TToolFrame::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    // Only a hide of the frame itself: the main window's own hiding or minimizing hides its
    // children too, and leaves them "visible" for when it comes back.
    if (isHidden() && FormHide)
        FormHide();
}

} // namespace glimt
