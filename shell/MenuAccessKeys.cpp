#include "shell/MenuAccessKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcutEvent>
#include <QStyleFactory>

namespace glimt {

namespace {

// The application's style with keyboard navigation of the menu bar: Alt pressed and released
// on its own gives the bar the keyboard, and a letter then opens its menu.
class TAltKeyNavigationStyle : public QProxyStyle {
public:
    TAltKeyNavigationStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TMenuAccessKeys::TMenuAccessKeys(QMenuBar* bar) : QObject(bar), m_bar(bar)
{
    auto* style = new TAltKeyNavigationStyle;
    style->setParent(bar);
    bar->setStyle(style);
    qApp->installEventFilter(this);
}

QAction* TMenuAccessKeys::MenuFor(const QKeySequence& key) const
{
    for (QAction* menu : m_bar->actions()) {
        if (!menu->isSeparator() && QKeySequence::mnemonic(menu->text()) == key)
            return menu;
    }
    return nullptr;
}

QAction* TMenuAccessKeys::CommandFor(const QKeySequence& key) const
{
    for (QAction* command : m_bar->window()->actions()) {
        if (command->shortcuts().contains(key))
            return command;
    }
    return nullptr;
}

bool TMenuAccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        // Qt hands a key that both a command and a menu claim to each in turn, flagged
        // ambiguous, and neither acts on it: the command takes it while enabled.
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous())
            return false;
        QAction* command = CommandFor(shortcut->key());
        QAction* menu = MenuFor(shortcut->key());
        if (!menu || !command || (watched != m_bar && watched != command))
            return false;
        if (command->isEnabled())
            command->trigger();
        else if (menu->isEnabled())
            m_bar->setActiveAction(menu);
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && watched == m_bar && QApplication::focusWidget() == m_bar) {
        // The bar has the keyboard (after a lone Alt): its letters open menus, never tools.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
            event->accept();
            return true;
        }
    }
    return false;
}

} // namespace glimt
