#pragma once
#include <QLatin1String>
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

} // namespace glimt
