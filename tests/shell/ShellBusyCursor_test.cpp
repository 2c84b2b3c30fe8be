#include "shell/ShellBusyCursor.h"
#include "tests/shell/ShellTestApp.h"

#include <QApplication>
#include <QCursor>
#include <gtest/gtest.h>

namespace {

Qt::CursorShape OverrideShape()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BlankCursor;
}

} // namespace

TEST(ShellBusyCursor, GuardsShowTheWaitCursorOnceAndLeaveOtherOverridesAlone)
{
    glimt::test::EnsureShellApplication();
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    {
        glimt::ShellBusyCursor cursor;
        {
            glimt::BusyGuard outer;
            EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
            {
                glimt::BusyGuard inner;
                EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
            }
            // The inner guard's end restores the default; a further default changes nothing.
            EXPECT_EQ(OverrideShape(), Qt::CrossCursor);
        }
        EXPECT_EQ(OverrideShape(), Qt::CrossCursor);

        // Left busy, the cursor is restored when the object goes.
        cursor.ShowBusy();
        cursor.ShowBusy();
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(OverrideShape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
