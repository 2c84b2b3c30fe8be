#include "shell/ShellPrompts.h"

#include "editor/DialogParts.h"
#include "editor/UserDialogs.h"
#include "editor/formFrames.h"
#include "engine/Errors.h"

namespace glimt {

void ShellPrompts::Message(TMsgKind kind, const QString& text)
{
    switch (kind) {
    case TMsgKind::Warning:
        UserDialogs().Warning(text);
        break;
    case TMsgKind::Error:
        UserDialogs().Error(text);
        break;
    case TMsgKind::Information:
        UserDialogs().Information(text);
        break;
    }
}

bool ShellPrompts::Confirm(const QString& text)
{
    return UserDialogs().YesNo(text);
}

bool ShellPrompts::PickGifFrames(const QString& fileName, int targetWidth, int targetHeight, int targetDepth)
{
    return RunFramesDialog(fileName, targetWidth, targetHeight, targetDepth);
}

bool GlimtApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    ReportFailures([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace glimt
