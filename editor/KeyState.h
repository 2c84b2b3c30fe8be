#pragma once
#include <Qt>

namespace glimt {

// Where the program reads the state of Shift, Ctrl, Alt and Escape while it polls them (the
// stroke timer, the selection tool, the thumbnail view, long loops). The installed one is the
// keyboard as it is now; tests install a fake.
class IKeyState {
public:
    virtual ~IKeyState() = default;
    // Shift, Ctrl and Alt as they are held at this moment.
    virtual Qt::KeyboardModifiers Modifiers() = 0;
    // Held now, or tapped since the last time it was asked (a tap quicker than a poll).
    virtual bool EscapeDown() = 0;
    // Something new begins (a stroke): a tap of Escape from before it is not for it.
    virtual void ForgetEscapeTap() {}
};

// The installed key state (the live keyboard unless a test installed another).
IKeyState& KeyState();
// Installs `state` (not owned); null goes back to the live keyboard.
void SetKeyState(IKeyState* state);

// Installs a key state for one scope and goes back to the live keyboard afterwards.
class ScopedKeyState {
public:
    explicit ScopedKeyState(IKeyState* state) { SetKeyState(state); }
    ~ScopedKeyState() { SetKeyState(nullptr); }
    ScopedKeyState(const ScopedKeyState&) = delete;
    ScopedKeyState& operator=(const ScopedKeyState&) = delete;
};

// The live keyboard records Escape through an application-wide event filter, installed here
// (the document window does it on creation).
void InstallKeyStateFilter();

} // namespace glimt

// Shortcuts to the installed key state.
bool IsShiftDown();
bool IsCtrlDown();
bool IsAltDown();
bool IsEscDown();
inline bool IsEscapeDown() { return IsEscDown(); }
