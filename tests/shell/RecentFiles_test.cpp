#include "shell/RecentFiles.h"

#include "engine/Settings.h"

#include <gtest/gtest.h>

namespace {

QStringList Slots(const TOptions& o)
{
    QStringList list;
    for (int i = 1; i <= 10; ++i)
        list.append(o.GetRecentFile(i));
    return list;
}

QString P(int n)
{
    return QStringLiteral("/icons/%1.ico").arg(n);
}

} // namespace

TEST(RecentFiles, NewPathsFillSlotsAndAnEleventhDropsTheOldest)
{
    TOptions o;
    glimt::AddRecentFile(o, P(1));
    glimt::AddRecentFile(o, P(2));
    EXPECT_EQ(Slots(o), (QStringList{P(1), P(2), "", "", "", "", "", "", "", ""}));
    for (int n = 3; n <= 10; ++n)
        glimt::AddRecentFile(o, P(n));
    glimt::AddRecentFile(o, P(11));
    QStringList expected;
    for (int n = 2; n <= 11; ++n)
        expected.append(P(n));
    EXPECT_EQ(Slots(o), expected);
    EXPECT_EQ(glimt::RecentFilesNewestFirst(o).front(), P(11));
    EXPECT_EQ(glimt::RecentFilesNewestFirst(o).back(), P(2));
}

TEST(RecentFiles, ReopeningMovesThePathToTheNewestPlace)
{
    TOptions o;
    for (int n = 1; n <= 10; ++n)
        glimt::AddRecentFile(o, P(n));
    glimt::AddRecentFile(o, P(3));
    EXPECT_EQ(Slots(o), (QStringList{P(1), P(2), P(4), P(5), P(6), P(7), P(8), P(9), P(10), P(3)}));
    glimt::AddRecentFile(o, P(3)); // already the newest
    EXPECT_EQ(o.GetRecentFile(10), P(3));
    EXPECT_EQ(o.GetRecentFile(9), P(10));

    TOptions partial;
    glimt::AddRecentFile(partial, P(1));
    glimt::AddRecentFile(partial, P(2));
    glimt::AddRecentFile(partial, P(3));
    glimt::AddRecentFile(partial, P(1));
    EXPECT_EQ(Slots(partial), (QStringList{P(2), P(3), P(1), "", "", "", "", "", "", ""}));

    // Paths compare case-sensitively.
    glimt::AddRecentFile(partial, QStringLiteral("/icons/1.ICO"));
    EXPECT_EQ(partial.GetRecentFile(4), QStringLiteral("/icons/1.ICO"));
}

TEST(RecentFiles, CaptionsGiveTheirPathBack)
{
    for (const QString& path : {QStringLiteral("/a/b.ico"), QStringLiteral("/odd: name/x.ico"), QStringLiteral("/a b/c&d.ico")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(glimt::PathOfRecentFileCaption(glimt::RecentFileCaption(10, path)), path);
    }
    EXPECT_EQ(glimt::RecentFileCaption(1, P(1)), QStringLiteral("1: /icons/1.ico"));
}
