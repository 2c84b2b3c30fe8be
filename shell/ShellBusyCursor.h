#pragma once
#include "engine/myUndo.h"

namespace glimt {

// The busy cursor as the application's override cursor. Showing it twice pushes it once, and
// the default cursor pops only what this object pushed, so override cursors set by others stay.
class ShellBusyCursor : public IBusyCursor {
public:
    ShellBusyCursor();
    ~ShellBusyCursor() override;
    ShellBusyCursor(const ShellBusyCursor&) = delete;
    ShellBusyCursor& operator=(const ShellBusyCursor&) = delete;

    void ShowBusy() override;
    void ShowDefault() override;
    bool Busy() const { return m_busy; }

private:
    bool m_busy = false;
    IBusyCursor* m_previous = nullptr;
};

} // namespace glimt
