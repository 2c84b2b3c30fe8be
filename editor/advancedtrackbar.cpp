#include "editor/advancedtrackbar.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace glimt {

bool ReadTrackBarNumber(const QString& text, std::int32_t& value)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty())
        return false;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        value = negative ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
    else
        value = std::int32_t(v);
    return true;
}

} // namespace glimt

TAdvancedTrackBar::TAdvancedTrackBar(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    m_trackBar = new QSlider(Qt::Horizontal, this);
    m_trackBar->setRange(m_min, m_max);
    m_trackBar->setFocusPolicy(Qt::StrongFocus);
    m_edit = new QLineEdit(QStringLiteral("0"), this);
    setTabOrder(m_trackBar, m_edit);
    resize(sizeHint());
    SetTickStyle(tsAuto);

    m_edit->installEventFilter(this);
    connect(m_trackBar, &QSlider::valueChanged, this, &TAdvancedTrackBar::TrackBarChange);
    connect(m_edit, &QLineEdit::textChanged, this, &TAdvancedTrackBar::EditChange);
    connect(m_edit, &QLineEdit::editingFinished, this, &TAdvancedTrackBar::EditFinished);
}

QSize TAdvancedTrackBar::EditSize() const
{
    // Room for the widest number of the range, never less than the designed 49 x 21.
    const QFontMetrics fm(m_edit->font());
    const int digits = std::max(fm.horizontalAdvance(QString::number(m_min)), fm.horizontalAdvance(QString::number(m_max)));
    const QMargins margins = m_edit->textMargins();
    const int frame = 2 * m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edit);
    return {std::max(49, digits + margins.left() + margins.right() + frame + 8),
            std::max(21, fm.height() + margins.top() + margins.bottom() + frame + 2)};
}

QSize TAdvancedTrackBar::sizeHint() const
{
    const QSize edit = EditSize();
    return {std::max(241, 192 + edit.width()), edit.height() + 2};
}

QSize TAdvancedTrackBar::minimumSizeHint() const
{
    const QSize edit = EditSize();
    return {std::max(100, 51 + edit.width()), edit.height() + 2};
}

void TAdvancedTrackBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PlaceParts();
}

void TAdvancedTrackBar::PlaceParts()
{
    // The bar takes what the number box and its gap leave.
    const int w = EditSize().width();
    m_trackBar->setGeometry(0, 0, std::max(1, width() - w - 7), height());
    m_edit->setGeometry(width() - w - 1, 1, w, std::max(1, height() - 2));
}

void TAdvancedTrackBar::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        PlaceParts();
    }
}

void TAdvancedTrackBar::SetMin(std::int32_t v)
{
    if (v >= m_max)
        return;
    m_min = v;
    m_trackBar->setMinimum(v);
    SetTickStyle(m_tickStyle);
    updateGeometry();
    PlaceParts();
}

void TAdvancedTrackBar::SetMax(std::int32_t v)
{
    if (v <= m_min)
        return;
    m_max = v;
    m_trackBar->setMaximum(v);
    SetTickStyle(m_tickStyle);
    updateGeometry();
    PlaceParts();
}

void TAdvancedTrackBar::SetRange(std::int32_t min, std::int32_t max)
{
    if (min >= max)
        return;
    m_min = min;
    m_max = max;
    m_trackBar->setRange(min, max);
    SetTickStyle(m_tickStyle);
    updateGeometry();
    PlaceParts();
    // The slider moved itself into the range (and told us) unless it already lay inside.
    SetPosition(std::clamp(m_position, m_min, m_max));
}

void TAdvancedTrackBar::SetPosition(std::int32_t v)
{
    if (v == m_position)
        return;
    m_position = std::clamp(v, m_min, m_max);
    m_trackBar->setValue(m_position);
    emit Change();
}

void TAdvancedTrackBar::SetTickStyle(TTickStyle style)
{
    m_tickStyle = style;
    switch (style) {
    case tsNone: m_trackBar->setTickPosition(QSlider::NoTicks); break;
    case tsAuto:
        m_trackBar->setTickPosition(QSlider::TicksBelow);
        m_trackBar->setTickInterval(1);
        break;
    case tsManual:
        // Ticks only at the two ends.
        m_trackBar->setTickPosition(QSlider::TicksBelow);
        m_trackBar->setTickInterval(std::max(1, m_max - m_min));
        break;
    }
}

void TAdvancedTrackBar::TrackBarChange()
{
    const int bar = m_trackBar->value();
    std::int32_t shown = 0;
    // A box left empty or holding a lone "-" shows the bar's value again when the bar moves.
    if (!glimt::ReadTrackBarNumber(m_edit->text(), shown) || shown != bar) {
        m_settingText = true;
        m_edit->setText(QString::number(bar));
        m_settingText = false;
    }
    SetPosition(bar);
}

void TAdvancedTrackBar::EditChange()
{
    if (m_settingText)
        return;
    std::int32_t v = 0;
    if (!glimt::ReadTrackBarNumber(m_edit->text(), v))
        return; // wait for a number: empty, "-" or pasted text
    const std::int32_t clamped = std::clamp(v, m_min, m_max);
    if (clamped != v) {
        m_settingText = true;
        m_edit->setText(QString::number(clamped));
        m_settingText = false;
    }
    m_trackBar->setValue(clamped);
    SetPosition(m_trackBar->value());
}

void TAdvancedTrackBar::EditFinished()
{
    std::int32_t v = 0;
    if (!glimt::ReadTrackBarNumber(m_edit->text(), v) || v != m_position) {
        m_settingText = true;
        m_edit->setText(QString::number(m_position));
        m_settingText = false;
    }
}

bool TAdvancedTrackBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.at(0).isPrint()) {
                const QChar c = text.at(0);
                const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
                const bool minus = c == QLatin1Char('-') && m_min < 0;
                if (!digit && !minus)
                    return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            EditFinished();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            QTimer::singleShot(0, m_edit, &QLineEdit::selectAll);
        }
    }
    return QFrame::eventFilter(watched, event);
}
