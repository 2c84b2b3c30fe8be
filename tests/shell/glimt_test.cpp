// Starts the real program on an icon under a virtual X server, ends it with Alt+F4 and reads
// what it stored: the program opened the file without any message box in the way.
#include "engine/MyIcoIO.h"
#include "engine/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(glimt, OpensTheCommandLineIconAndEndsWithExit)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty())
        GTEST_SKIP() << "xvfb-run and xdotool are needed";
    // The build makes the program before this test and names it here.
    const QString program = QStringLiteral(GLIMT_PROGRAM);
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TmyIcon icon;
    icon.AddImage(16, 16, 32).Fill(TmyPixel::CreateRGBA(200, 10, 10, 255));
    const QString iconPath = QDir(dir.path()).absoluteFilePath(QStringLiteral("red.ico"));
    {
        QFile f(iconPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TmyIcoIO(false).SaveToBytes(icon, false));
    }

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    env.insert(QStringLiteral("GLIMT"), program);
    env.insert(QStringLiteral("ICON"), iconPath);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(dir.path());
    // The script waits for the window rather than a fixed time and gives it the keyboard focus
    // itself: there is no window manager under xvfb to do that. Every wait has an end, generous
    // for a loaded machine: a program that never shows, or never ends, is stopped.
    run.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                     QStringLiteral("sh"), QStringLiteral("-c"),
                     QStringLiteral("\"$GLIMT\" red.ico & pid=$!; "
                                    "( sleep 150; kill $pid ) 2>/dev/null & watchdog=$!; "
                                    "if timeout 120 xdotool search --sync --onlyvisible --name '^Glimt' "
                                    "windowfocus --sync >/dev/null; then sleep 2; xdotool key alt+F4; "
                                    "else echo 'the window never showed' >&2; fi; "
                                    "wait $pid; status=$?; kill $watchdog 2>/dev/null; exit $status")});
    ASSERT_TRUE(run.waitForStarted());
    const bool ended = run.waitForFinished(240000);
    if (!ended)
        run.kill();
    ASSERT_TRUE(ended) << run.readAllStandardError().toStdString();
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    glimt::IniFile config(QDir(dir.path()).absoluteFilePath(QStringLiteral("Glimt/config.cfg")));
    EXPECT_EQ(config.ReadString(QStringLiteral("General"), QStringLiteral("RecentFile1"), QString()), iconPath);
    EXPECT_EQ(config.ReadString(QStringLiteral("General"), QStringLiteral("RecentFile2"), QStringLiteral("x")), QString());
}
