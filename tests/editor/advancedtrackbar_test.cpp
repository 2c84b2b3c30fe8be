#include "editor/advancedtrackbar.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Clear(QLineEdit* edit)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
}

} // namespace

TEST(TAdvancedTrackBar, ANewControlReadsZeroInARangeOfZeroToTen)
{
    TAdvancedTrackBar bar;
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 10);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.TrackBar()->value(), 0);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("0"));
    EXPECT_EQ(bar.size(), QSize(241, 23));
    // The number box keeps its width at the right; the bar takes the rest.
    bar.show();
    bar.resize(341, 23);
    EXPECT_EQ(bar.Edit()->width(), 49);
    EXPECT_EQ(bar.Edit()->x(), 291);
    EXPECT_EQ(bar.TrackBar()->width(), 285);
}

TEST(TAdvancedTrackBar, RangeEndsAreAcceptedOnlyOnTheirSideOfTheOther)
{
    TAdvancedTrackBar bar;
    bar.SetMax(0); // not above Min
    EXPECT_EQ(bar.Max(), 10);
    bar.SetMin(10); // not below Max
    EXPECT_EQ(bar.Min(), 0);
    // A stored range of -180..180 loads Min first, then Max.
    bar.SetMin(-180);
    bar.SetMax(180);
    EXPECT_EQ(bar.Min(), -180);
    EXPECT_EQ(bar.Max(), 180);
    EXPECT_EQ(bar.TrackBar()->minimum(), -180);

    // A position outside a narrowed range moves into it, and says so.
    bar.SetPosition(150);
    QSignalSpy changes(&bar, &TAdvancedTrackBar::Change);
    bar.SetMax(100);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("100"));
    EXPECT_EQ(changes.count(), 1);
}

TEST(TAdvancedTrackBar, EachNewValueFiresChangeOnceWhicheverSideMoved)
{
    TAdvancedTrackBar bar;
    bar.SetRange(0, 20);
    QSignalSpy changes(&bar, &TAdvancedTrackBar::Change);

    bar.SetPosition(7);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(bar.TrackBar()->value(), 7);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("7"));
    bar.SetPosition(7);
    EXPECT_EQ(changes.count(), 1);

    bar.TrackBar()->setValue(12);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(bar.Position(), 12);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("12"));

    // Typing past the end leaves the end in the box.
    Clear(bar.Edit());
    QTest::keyClicks(bar.Edit(), QStringLiteral("25"));
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("20"));
    EXPECT_EQ(bar.Position(), 20);
    EXPECT_EQ(bar.TrackBar()->value(), 20);
    EXPECT_EQ(changes.count(), 4); // 2, then 20

    bar.SetPosition(-5); // clamped
    EXPECT_EQ(bar.Position(), 0);
}

TEST(TAdvancedTrackBar, TheNumberBoxTakesDigitsAndAMinusOnlyForNegativeRanges)
{
    TAdvancedTrackBar positive;
    positive.SetRange(0, 20);
    Clear(positive.Edit());
    QTest::keyClicks(positive.Edit(), QStringLiteral("-x1a"));
    EXPECT_EQ(positive.Edit()->text(), QStringLiteral("1"));
    EXPECT_EQ(positive.Position(), 1);

    TAdvancedTrackBar signedBar;
    signedBar.SetRange(-5, 5);
    signedBar.SetPosition(2);
    QSignalSpy changes(&signedBar, &TAdvancedTrackBar::Change);
    Clear(signedBar.Edit());
    QTest::keyClicks(signedBar.Edit(), QStringLiteral("-"));
    EXPECT_EQ(signedBar.Edit()->text(), QStringLiteral("-"));
    EXPECT_EQ(signedBar.Position(), 2);
    EXPECT_EQ(changes.count(), 0);
    QTest::keyClicks(signedBar.Edit(), QStringLiteral("3"));
    EXPECT_EQ(signedBar.Position(), -3);
    EXPECT_EQ(changes.count(), 1);
}

TEST(TAdvancedTrackBar, ABoxLeftWithoutANumberShowsThePositionAgain)
{
    TAdvancedTrackBar bar;
    bar.SetRange(-5, 5);
    bar.SetPosition(3);

    // Emptied, then the bar dragged: the box follows the bar.
    Clear(bar.Edit());
    EXPECT_EQ(bar.Edit()->text(), QString());
    bar.TrackBar()->setValue(4);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("4"));
    EXPECT_EQ(bar.Position(), 4);

    // A lone "-" left behind when editing ends.
    Clear(bar.Edit());
    QTest::keyClicks(bar.Edit(), QStringLiteral("-"));
    emit bar.Edit()->editingFinished();
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("4"));
    EXPECT_EQ(bar.Position(), 4);

    // Pasted text that is no number changes nothing and is replaced when editing ends.
    bar.Edit()->setText(QStringLiteral("abc"));
    EXPECT_EQ(bar.Position(), 4);
    emit bar.Edit()->editingFinished();
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("4"));
}

TEST(TAdvancedTrackBar, NumbersBeyondThirtyTwoBitsReadAsTheNearestEnd)
{
    struct Row {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Row rows[] = {{"", false, 0},         {"-", false, 0},           {"12", true, 12},
                        {"-7", true, -7},       {"1-2", false, 0},         {" 3", false, 0},
                        {"99999999999", true, 2147483647}, {"-99999999999", true, -2147483647 - 1}};
    for (const Row& r : rows) {
        std::int32_t v = 0;
        EXPECT_EQ(glimt::ReadTrackBarNumber(QString::fromLatin1(r.text), v), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
    TAdvancedTrackBar bar;
    bar.SetRange(0, 20);
    bar.Edit()->setText(QStringLiteral("99999999999"));
    EXPECT_EQ(bar.Position(), 20);
    EXPECT_EQ(bar.Edit()->text(), QStringLiteral("20"));
}
