#include "editor/KeyState.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

bool g_escDown = false;

// Records presses and releases of Escape anywhere in the program; forgets a held Escape when
// the program loses the keyboard (its release would go elsewhere).
class EscapeFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
                g_escDown = event->type() == QEvent::KeyPress;
            break;
        }
        case QEvent::ApplicationDeactivate:
            g_escDown = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

EscapeFilter* g_filter = nullptr;

Qt::KeyboardModifiers Modifiers()
{
    return QGuiApplication::queryKeyboardModifiers() | QGuiApplication::keyboardModifiers();
}

} // namespace

bool IsShiftDown()
{
    return Modifiers().testFlag(Qt::ShiftModifier);
}

bool IsCtrlDown()
{
    return Modifiers().testFlag(Qt::ControlModifier);
}

bool IsAltDown()
{
    return Modifiers().testFlag(Qt::AltModifier);
}

bool IsEscDown()
{
    return g_escDown;
}

namespace glimt {

void InstallKeyStateFilter()
{
    if (g_filter || !QCoreApplication::instance())
        return;
    g_filter = new EscapeFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(g_filter);
}

} // namespace glimt
