#pragma once
#include <QObject>

class QAction;
class QKeySequence;
class QMenuBar;

namespace glimt {

// The menu bar's access keys beside the commands' shortcuts of its window. Where a command's
// shortcut is also the Alt key of a menu (Alt+H is Tile Horizontally and the Help menu's key),
// the command runs while it is enabled, as accelerators do; otherwise the menu opens. Every
// menu also opens from Alt pressed and released on its own, then its letter, which reaches
// the menu bar even where the letter alone is a tool's key. Lives as a child of the bar.
class TMenuAccessKeys : public QObject {
public:
    explicit TMenuAccessKeys(QMenuBar* bar);

    // The menu of the bar whose access key is `key` (Alt and its letter); null when none.
    QAction* MenuFor(const QKeySequence& key) const;
    // The command of the bar's window whose shortcut is `key`; null when none.
    QAction* CommandFor(const QKeySequence& key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* m_bar;
};

} // namespace glimt
