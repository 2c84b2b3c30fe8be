#include "editor/formDesk.h"

#include "editor/EditorHost.h"
#include "editor/UserDialogs.h"
#include "tests/support/FakeDialogs.h"

#include <QComboBox>
#include <gtest/gtest.h>

using glimt::test::FakeDialogs;

TEST(TfrmDesk, CaptionFollowsPathOrUntitledNumber)
{
    TfrmDesk desk;
    desk.SetUntitled(3);
    EXPECT_EQ(desk.windowTitle(), QStringLiteral("Untitled - 3"));
    desk.SetFilePath(QStringLiteral("/tmp/a.ico"));
    EXPECT_EQ(desk.windowTitle(), QStringLiteral("/tmp/a.ico"));
    EXPECT_EQ(desk.CaptionFileName(), QStringLiteral("a.ico"));
    EXPECT_EQ(desk.UntitledNumber(), 0);
}
