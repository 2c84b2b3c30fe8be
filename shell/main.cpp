#include "editor/UserDialogs.h"
#include "engine/Settings.h"
#include "shell/ShellBusyCursor.h"
#include "shell/ShellPrompts.h"
#include "shell/formMain.h"

#include <QScreen>

int main(int argc, char* argv[])
{
    glimt::GlimtApplication app(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    Options().Load(TOptions::DefaultFileName(), screen ? screen->geometry().width() : 1024);

    int status = 0;
    {
        glimt::QtUserDialogs dialogs;
        glimt::ScopedUserDialogs installDialogs(&dialogs);
        glimt::ShellBusyCursor busyCursor;
        glimt::ShellPrompts prompts;
        glimt::ScopedPrompts installPrompts(&prompts);

        TfrmMain mainWindow;
        dialogs.SetParent(&mainWindow);
        prompts.SetDialogs(mainWindow.ChangePalDialog(), mainWindow.ImageBigDialog());
        mainWindow.SetCommandLineFiles(QCoreApplication::arguments().mid(1));
        mainWindow.show();
        status = app.exec();
    }

    // The settings are written once, at the end of the run; a failure is not reported.
    try {
        Options().Save(TOptions::DefaultFileName());
    } catch (...) {
    }
    return status;
}
