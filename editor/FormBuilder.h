#pragma once
#include <QLatin1String>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace glimt {

// A control of a form: made with its text and named after its component; a layout places it.
template <class T>
T* Make(QWidget* parent, const char* name, const QString& text)
{
    auto* widget = new T(text, parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A push button of a dialog, at least the designed 75 x 25 and wider for a longer text.
inline QPushButton* MakeDialogButton(QWidget* dialog, const char* name, const QString& text)
{
    auto* button = Make<QPushButton>(dialog, name, text);
    button->setMinimumSize(75, 25);
    button->setAutoDefault(false);
    return button;
}

// The "OK" and "Cancel" buttons of a dialog that places them itself; neither is pressed by
// Enter on its own, the dialog decides what Enter does.
inline void MakeOkCancelButtons(QWidget* dialog, QPushButton*& btnOK, QPushButton*& btnCancel)
{
    btnOK = MakeDialogButton(dialog, "btnOK", QStringLiteral("OK"));
    btnCancel = MakeDialogButton(dialog, "btnCancel", QStringLiteral("Cancel"));
}

} // namespace glimt
