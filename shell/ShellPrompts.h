#pragma once
#include "editor/DialogPrompts.h"

#include <QApplication>

namespace glimt {

// The core's questions and messages: messages and confirmations through the installed user
// dialogs, the change-palette and image-too-big questions through the main window's dialogs
// (handed over by SetDialogs).
class ShellPrompts : public TDialogPrompts {
public:
    void Message(TMsgKind kind, const QString& text) override;
    bool Confirm(const QString& text) override;
    bool PickGifFrames(const QString& fileName, int targetWidth, int targetHeight, int targetDepth) override;
};

// The application object: an exception that escapes an event handler is shown in an error
// box instead of crossing Qt's event loop.
class GlimtApplication : public QApplication {
public:
    GlimtApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace glimt
