#include "editor/Translate.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace glimt {

QList<QWidget*> TActionManager::ActionBars() const
{
    QList<QWidget*> bars;
    for (const QPointer<QWidget>& bar : m_bars)
        if (bar)
            bars.append(bar.data());
    return bars;
}

namespace {

bool IsForm(const QObject* object)
{
    return object->isWidgetType() && object->objectName().startsWith(QLatin1String("frm"));
}

// One text with its getter and setter: looked up only when not empty.
template <class Get, class Set>
void TranslateText(const TLanguage& lang, const QString& section, const QString& key, Get get, Set set)
{
    const QString text = get();
    if (!text.isEmpty())
        set(lang.ReadString(section, key, text));
}

// An action's tool tip falls back to its text when none is set; only a tool tip of its own is
// translated, so that the fallback keeps following the translated text.
bool HasOwnToolTip(const QAction* action)
{
    QAction probe(action->text());
    return action->toolTip() != probe.toolTip();
}

QTabWidget* TabWidgetOfPage(QWidget* page)
{
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

void TranslateWidgetHint(const TLanguage& lang, const QString& section, QWidget* w)
{
    TranslateText(lang, section, HintKey(w->objectName()), [w] { return w->toolTip(); },
                  [w](const QString& t) { w->setToolTip(t); });
}

// The texts of one object, by its class.
void TranslateObject(const TLanguage& lang, const QString& section, QObject* object)
{
    const QString name = object->objectName();
    const QString caption = CaptionKey(name);

    if (auto* action = qobject_cast<QAction*>(object)) {
        const bool ownTip = HasOwnToolTip(action);
        TranslateText(lang, section, caption, [action] { return action->text(); },
                      [action](const QString& t) { action->setText(t); });
        if (ownTip)
            TranslateText(lang, section, HintKey(name), [action] { return action->toolTip(); },
                          [action](const QString& t) { action->setToolTip(t); });
        return;
    }
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return;

    if (IsForm(w)) {
        TranslateText(lang, section, caption, [w] { return w->windowTitle(); },
                      [w](const QString& t) { w->setWindowTitle(t); });
        TranslateWidgetHint(lang, section, w);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        TranslateText(lang, section, caption, [button] { return button->text(); },
                      [button](const QString& t) { button->setText(t); });
        TranslateWidgetHint(lang, section, w);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        TranslateText(lang, section, caption, [label] { return label->text(); },
                      [label](const QString& t) { label->setText(t); });
        TranslateWidgetHint(lang, section, w);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        TranslateText(lang, section, caption, [group] { return group->title(); },
                      [group](const QString& t) { group->setTitle(t); });
        TranslateWidgetHint(lang, section, w);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        TranslateWidgetHint(lang, section, w);
        const int current = combo->currentIndex();
        for (int k = 0; k < combo->count(); ++k)
            combo->setItemText(k, lang.ReadString(section, ItemKey(name, k), combo->itemText(k)));
        combo->setCurrentIndex(current);
    } else if (qobject_cast<QAbstractSlider*>(w) || w->property(kTranslatedHint).toBool()) {
        TranslateWidgetHint(lang, section, w);
    }

    if (QTabWidget* tabs = TabWidgetOfPage(w)) {
        const int i = tabs->indexOf(w);
        TranslateText(lang, section, caption, [tabs, i] { return tabs->tabText(i); },
                      [tabs, i](const QString& t) { tabs->setTabText(i, t); });
        TranslateText(lang, section, HintKey(name), [tabs, i] { return tabs->tabToolTip(i); },
                      [tabs, i](const QString& t) { tabs->setTabToolTip(i, t); });
    }
}

void TranslateChildren(TLanguage& lang, const QString& section, QObject* owner, bool switchToForms);

void TranslateComponent(TLanguage& lang, QString& working, QObject* object, bool switchToForms)
{
    if (switchToForms && IsForm(object))
        working = object->objectName();
    if (auto* manager = qobject_cast<TActionManager*>(object))
        TranslateActionBars(manager->ActionBars(), lang);
    TranslateObject(lang, working, object);
    TranslateChildren(lang, working, object, true);
}

void TranslateChildren(TLanguage& lang, const QString& section, QObject* owner, bool switchToForms)
{
    QString working = section;
    const QObjectList children = owner->children();
    for (QObject* child : children)
        TranslateComponent(lang, working, child, switchToForms);
}

void TranslateMenu(TLanguage& lang, const QList<QAction*>& items)
{
    ++lang.MenuCounter;
    for (int j = 0; j < items.size(); ++j) {
        QMenu* sub = items[j]->menu();
        if (!sub)
            continue;
        sub->setTitle(lang.ReadString(QStringLiteral("Menu"), MenuKey(lang.MenuCounter, j), sub->title()));
        TranslateMenu(lang, sub->actions());
    }
}

} // namespace

void TranslateForm(QWidget* form, TLanguage& lang)
{
    QString working = QStringLiteral("APP");
    TranslateComponent(lang, working, form, true);
}

void TranslateForm(const QString& section, QWidget* form, TLanguage& lang)
{
    TranslateChildren(lang, section, form, false);
}

void TranslateActionBars(const QList<QWidget*>& bars, TLanguage& lang)
{
    lang.MenuCounter = 0;
    for (QWidget* bar : bars)
        TranslateMenu(lang, bar->actions());
}

} // namespace glimt
