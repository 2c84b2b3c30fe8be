#include "shell/ShellPrompts.h"

#include "editor/UserDialogs.h"
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

// The frame picker is not part of the program yet: it cannot run.
bool ShellPrompts::PickGifFrames(const QString&, int, int, int)
{
    return false;
}

bool GlimtApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& e) {
        UserDialogs().Error(e.Text());
    } catch (const std::exception& e) {
        UserDialogs().Error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        UserDialogs().Error(QStringLiteral("An unexpected error stopped the command."));
    }
    return false;
}

} // namespace glimt
