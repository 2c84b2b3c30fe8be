#pragma once

// The state of Shift, Ctrl, Alt and Escape as the program last saw it. Shift, Ctrl and Alt
// come from the platform's keyboard modifiers; Escape is recorded by an application-wide
// event filter, installed by InstallKeyStateFilter (the document window does it on creation).
bool IsShiftDown();
bool IsCtrlDown();
bool IsAltDown();
bool IsEscDown();
inline bool IsEscapeDown() { return IsEscDown(); }

namespace glimt {
void InstallKeyStateFilter();
} // namespace glimt
