#pragma once
#include "engine/language.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

// Applying a language file to windows. Texts are found by object name (the designed component
// names), in the section of the form they belong to:
//
//   <form>.Caption        the window title of a form
//   <name>.Caption        the text of a button, check box, radio button, tool button, label,
//                         the title of a group box, the tab text of a tab page, an action's text
//   <name>.Hint           the tool tip of those, and of combo boxes, sliders and track bars
//   <name>.Item<k>        item k (from 0) of a combo box
//   <n>-<j>.Menu          (section "Menu") the title of item j of the n-th item list entered,
//                         for items that have sub-items (see TranslateActionBars)
//
// A caption or a hint is looked up only when it is not empty; a missing key leaves the text as
// it is now (so switching languages restores nothing the new file does not hold). Objects
// without a name are never translated. A widget whose object name begins with "frm" is a form:
// when it is met below another form, its own section takes over for it, for everything below
// it and for the rest of its parent's children. Other widget classes (edits, list views,
// menus themselves) are left alone.

namespace glimt {

// A widget of the program's own kind (a picture control, a flat slider) whose hint is
// translated like a slider's carries this dynamic property set to true.
constexpr const char* kTranslatedHint = "glimtTranslatedHint";

// The action bars of one group of commands, in their designed order: menu bars, tool bars or
// menus. The language walk numbers the item lists of all bars of one manager together, so the
// order in which bars are added is part of the language-file format. Met as a child of a form
// during translation, it translates its bars.
class TActionManager : public QObject {
    Q_OBJECT
public:
    explicit TActionManager(QObject* parent = nullptr) : QObject(parent) {}
    void AddActionBar(QWidget* bar) { m_bars.append(bar); }
    QList<QWidget*> ActionBars() const;

private:
    QList<QPointer<QWidget>> m_bars;
};

// Translates a whole window as it is met at start-up or after a language change: its title
// under "<form>.Caption" in the section named after it, then everything below it.
void TranslateForm(QWidget* form, TLanguage& lang = Lang());

// Translates what lies below `form` with the texts of `section` (the document windows use
// "frmCanvas"); the form's own title is left alone.
void TranslateForm(const QString& section, QWidget* form, TLanguage& lang = Lang());

// Restarts lang.MenuCounter and translates the item lists of `bars` in order. Every list
// entered (a bar's items, any item's sub-menu) raises the counter by one on entry; an item j
// with a sub-menu reads its title under MenuKey(counter, j) from the section "Menu", where the
// counter is read after the earlier items' sub-menus have been entered. Separators count as
// items.
void TranslateActionBars(const QList<QWidget*>& bars, TLanguage& lang = Lang());

} // namespace glimt
