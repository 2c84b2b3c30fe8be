#pragma once
#include "editor/dockmngr.h"

#include <QFrame>
#include <QPoint>
#include <functional>

class QLabel;
class QSizeGrip;
class QToolButton;

namespace glimt {

// The caption strip of a tool frame: the hosted window's title and a close button. Dragging
// it moves the frame inside its parent.
class TToolCaption : public QWidget {
    Q_OBJECT
public:
    explicit TToolCaption(QWidget* frame);
    QLabel* Title = nullptr;
    QToolButton* CloseButton = nullptr;
    // The frame was dragged by its caption and the button has been let go.
    std::function<void()> DragEnded;

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitCloseButton();

    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_startPos;
};

// A tool window hosted inside the main window: a child frame above the work area with a caption
// strip of its own, placed in the main window's coordinates. Programs may not place top-level
// windows under every windowing system; child frames they always may.
//
// The frame owns the dock rectangle of the window it hosts (its own bounds, the caption
// included) and tells its host, through the callbacks, when it was shown or hidden on its own
// (not when the main window is) and when the user has let go of it after a drag.
class TToolFrame : public QFrame {
    Q_OBJECT
public:
    // Takes `content` as its child; `slot` is its docking slot.
    TToolFrame(QWidget* content, std::uint8_t slot, QWidget* parent);

    QWidget* Content() const { return m_content; }
    std::uint8_t Slot() const { return m_slot; }
    TToolCaption* Caption() const { return m_caption; }

    TDockRect DockRect;
    // DockRect := the frame's bounds in its parent.
    void SaveDockRect();

    std::function<void()> FormShow;
    std::function<void()> FormHide;
    std::function<void()> Moved;

    // Sizes the frame to its content's size hint plus the caption.
    void FitToContent();
    // A size grip in the lower right corner lets the user resize the frame (letting go of it
    // counts as a move); off by default.
    void SetResizable(bool resizable);
    QSizeGrip* SizeGrip() const { return m_grip; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refit();

    QWidget* m_content;
    std::uint8_t m_slot;
    TToolCaption* m_caption;
    QSizeGrip* m_grip = nullptr;
    bool m_refitPending = false;
};

} // namespace glimt
