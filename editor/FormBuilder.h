#pragma once
#include <QLatin1String>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace glimt {

// A control of a form laid out by hand: made with its text, named after its component, placed
// at (x, y) with the given size.
template <class T>
T* Make(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* widget = new T(text, parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

// The "OK" and "Cancel" buttons of a dialog that places them itself; neither is pressed by
// Enter on its own, the dialog decides what Enter does.
inline void MakeOkCancelButtons(QWidget* dialog, QPushButton*& btnOK, QPushButton*& btnCancel)
{
    btnOK = new QPushButton(QStringLiteral("OK"), dialog);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
}

} // namespace glimt
