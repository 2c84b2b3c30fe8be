#pragma once
#include "engine/Prompts.h"

#include <QApplication>

namespace glimt {

// The core's questions and messages, answered through the installed user dialogs.
class ShellPrompts : public IPrompts {
public:
    void Message(TMsgKind kind, const QString& text) override;
    bool Confirm(const QString& text) override;
    int AskChangePalette() override;
    int AskImageTooBig() override;
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
