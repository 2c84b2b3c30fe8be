#pragma once
#include <QFrame>
#include <cstdint>

class QLineEdit;
class QSlider;

// A slider with a number box beside it, kept in step: one integer Position, always within
// Min..Max, and one Change signal fired once for each new value, whether the bar was dragged,
// a number typed or Position set from code. The bar stretches with the control; the number box
// keeps its width at the right.
class TAdvancedTrackBar : public QFrame {
    Q_OBJECT
public:
    enum TTickStyle { tsNone, tsAuto, tsManual };

    explicit TAdvancedTrackBar(QWidget* parent = nullptr);

    std::int32_t Min() const { return m_min; }
    std::int32_t Max() const { return m_max; }
    std::int32_t Position() const { return m_position; }
    TTickStyle TickStyle() const { return m_tickStyle; }

    // Accepted only below Max (SetMin) or above Min (SetMax); other values are ignored. A
    // position outside the new range is moved into it.
    void SetMin(std::int32_t v);
    void SetMax(std::int32_t v);
    // Both ends at once, for ranges that do not overlap the present one.
    void SetRange(std::int32_t min, std::int32_t max);
    // Nothing when v is the present position; else v clamped to Min..Max becomes the position
    // and Change fires.
    void SetPosition(std::int32_t v);
    void SetTickStyle(TTickStyle style);

    QSlider* TrackBar() const { return m_trackBar; }
    QLineEdit* Edit() const { return m_edit; }
    // 241 x 23 as designed; higher and wider when the number box's font needs more.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Change();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The number box's size, fitted to the widest number of the range in its font.
    QSize EditSize() const;
    void PlaceParts();
    void TrackBarChange();
    void EditChange();
    // The number box shows the position again (after it was left empty or holding "-").
    void EditFinished();

    QSlider* m_trackBar = nullptr;
    QLineEdit* m_edit = nullptr;
    std::int32_t m_min = 0;
    std::int32_t m_max = 10;
    std::int32_t m_position = 0;
    TTickStyle m_tickStyle = tsAuto;
    bool m_settingText = false;
};

namespace glimt {

// The number a track bar's number box holds: false for an empty box, a lone "-" or anything
// else that is not a whole number; a number too long for 32 bits reads as the nearest end of
// the 32-bit range.
bool ReadTrackBarNumber(const QString& text, std::int32_t& value);

} // namespace glimt
