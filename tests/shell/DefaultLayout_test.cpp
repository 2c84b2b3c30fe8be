#include "shell/formMain.h"

#include "editor/ToolFrame.h"
#include "engine/Settings.h"
#include "shell/ShellPrompts.h"
#include "tests/shell/ShellTestApp.h"
#include "tests/support/FakeDialogs.h"

#include <QMdiArea>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The first start: no settings file, so every place is the default for the screen.
TEST(DefaultLayout, OnFirstStartTheToolWindowsLieSideBySideInsideTheWorkArea)
{
    glimt::test::EnsureShellApplication();
    glimt::test::FakeDialogs dialogs;
    glimt::ScopedUserDialogs installDialogs(&dialogs);
    glimt::ShellPrompts prompts;
    glimt::ScopedPrompts installPrompts(&prompts);
    QTemporaryDir dir;
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    Options() = TOptions();
    Options().Load(dir.filePath(QStringLiteral("config.cfg")), screen->geometry().width());
    ASSERT_TRUE(Options().MainMaximized);

    auto main = std::make_unique<TfrmMain>();
    main->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(main->FirstActivationDone());

    const QRect work = main->Panel1()->geometry();
    EXPECT_GE(main->width(), screen->availableGeometry().width() - 16) << "the window takes the screen";
    std::vector<QRect> placed;
    for (int slot : {TDockMngr::SlotPreview, TDockMngr::SlotTools, TDockMngr::SlotColors}) {
        const glimt::TToolFrame* frame = main->ToolFrame(slot);
        ASSERT_NE(frame, nullptr) << slot;
        ASSERT_TRUE(frame->isVisible()) << slot;
        const QRect r = frame->geometry();
        EXPECT_TRUE(work.contains(r)) << slot << ": the whole window can be seen";
        for (const QRect& other : placed)
            EXPECT_FALSE(r.intersects(other)) << slot << ": windows do not cover one another";
        placed.push_back(r);
    }
    // The preview above, the tools and the colours below it, glued to the work area's right edge.
    const QRect preview = placed[0], tools = placed[1], colors = placed[2];
    EXPECT_EQ(preview.right(), work.right());
    EXPECT_EQ(colors.right(), work.right());
    EXPECT_LE(preview.bottom(), tools.top());
    EXPECT_LE(tools.right(), colors.left());

    main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Options() = TOptions();
}

} // namespace
