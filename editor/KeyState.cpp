#include "editor/KeyState.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>

namespace {

bool g_escDown = false;
bool g_escSeen = false;   // the press was reported while the key was held
bool g_escTapped = false; // pressed and let go again before anyone asked
QElapsedTimer g_escReleased;
// How long a tap stays to be seen: longer than the stroke timer's tick of 100 ms, so that a
// tap quicker than one tick still cancels the stroke.
constexpr qint64 kTapMs = 250;

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
            if (key->key() != Qt::Key_Escape || key->isAutoRepeat())
                break;
            g_escDown = event->type() == QEvent::KeyPress;
            if (g_escDown)
                g_escSeen = false;
            g_escTapped = !g_escDown && !g_escSeen;
            if (g_escTapped)
                g_escReleased.start();
            break;
        }
        case QEvent::ApplicationDeactivate:
            g_escDown = false;
            g_escTapped = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

EscapeFilter* g_filter = nullptr;

// The keyboard as it is now. The modifiers are asked of the window system: the ones Qt keeps
// from its last input event stay set after a key goes up until the next event arrives, so a
// timer polling them would see Shift held long after it was let go.
class LiveKeyState : public glimt::IKeyState {
public:
    Qt::KeyboardModifiers Modifiers() override { return QGuiApplication::queryKeyboardModifiers(); }
    // Held now, or tapped a moment ago and not reported yet (a tap is reported once).
    bool EscapeDown() override
    {
        if (g_escDown) {
            g_escSeen = true;
            return true;
        }
        const bool tapped = g_escTapped && g_escReleased.isValid() && g_escReleased.elapsed() < kTapMs;
        g_escTapped = false;
        return tapped;
    }
    void ForgetEscapeTap() override { g_escTapped = false; }
};

LiveKeyState g_live;
glimt::IKeyState* g_installed = nullptr;

} // namespace

namespace glimt {

IKeyState& KeyState()
{
    return g_installed ? *g_installed : g_live;
}

void SetKeyState(IKeyState* state)
{
    g_installed = state;
}

void InstallKeyStateFilter()
{
    if (g_filter || !QCoreApplication::instance())
        return;
    g_filter = new EscapeFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(g_filter);
}

} // namespace glimt

bool IsShiftDown()
{
    return glimt::KeyState().Modifiers().testFlag(Qt::ShiftModifier);
}

bool IsCtrlDown()
{
    return glimt::KeyState().Modifiers().testFlag(Qt::ControlModifier);
}

bool IsAltDown()
{
    return glimt::KeyState().Modifiers().testFlag(Qt::AltModifier);
}

bool IsEscDown()
{
    return glimt::KeyState().EscapeDown();
}
