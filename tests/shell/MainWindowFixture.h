#pragma once
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "shell/formMain.h"

#include "tests/shell/ShellTestApp.h"

#include <memory>

namespace glimt::test {

// The shell tests run on real widgets: one QApplication for the whole program, made on first
// use.
inline void EnsureApplication()
{
    EnsureShellApplication();
}

// Ends a test's main window: whatever the test left open goes without questions, and the
// settings return to their defaults.
inline void CloseMainWindow(std::unique_ptr<TfrmMain>& main)
{
    for (int slot = 1; slot <= main->DeskCount(); ++slot)
        main->Desk(slot)->Saved = true;
    main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Options() = TOptions();
}

} // namespace glimt::test
