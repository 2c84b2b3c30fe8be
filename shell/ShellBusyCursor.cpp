#include "shell/ShellBusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace glimt {

ShellBusyCursor::ShellBusyCursor() : m_previous(SetBusyCursor(this)) {}

ShellBusyCursor::~ShellBusyCursor()
{
    ShowDefault();
    SetBusyCursor(m_previous);
}

void ShellBusyCursor::ShowBusy()
{
    if (m_busy)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_busy = true;
}

void ShellBusyCursor::ShowDefault()
{
    if (!m_busy)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_busy = false;
}

} // namespace glimt
