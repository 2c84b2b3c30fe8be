#include "editor/MyScroll.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(TmyScroll, SetPositionClampsAndPlacesTheThumb)
{
    TmyScroll s;
    QSignalSpy changed(&s, &TmyScroll::OnChange);
    s.SetPosition(150);
    EXPECT_EQ(s.Position(), 100);
    EXPECT_EQ(changed.count(), 1);
    s.SetPosition(100);
    EXPECT_EQ(changed.count(), 1); // unchanged: nothing fires
    s.SetPosition(50);
    EXPECT_EQ(s.Thumb()->x(), 41); // (100 - 16 - 1) x 50 div 100
    s.SetPosition(0);
    EXPECT_EQ(s.Thumb()->x(), 1);
    s.Min = 20;
    s.SetPosition(5);
    EXPECT_EQ(s.Position(), 20);
}

TEST(TmyScroll, DraggingReportsZeroToMaxAndTrackClicksJump)
{
    TmyScroll s;
    s.Min = 30;
    s.SetPosition(60);
    s.DragStep(-40);
    EXPECT_EQ(s.Thumb()->x(), 1);
    EXPECT_EQ(s.Position(), 0); // whatever Min is
    s.DragStep(500);
    EXPECT_EQ(s.Thumb()->x(), 83);
    EXPECT_EQ(s.Position(), 100); // 82 x 100 div 82

    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    s.Min = 0;
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(3, 5));
    EXPECT_EQ(s.Position(), 0);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(95, 5));
    EXPECT_EQ(s.Position(), 100);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(s.Position(), (50 - 8) * 100 / 84);
}

TEST(TMyScrollBox, EveryScrollStepFiresOnScroll)
{
    TMyScrollBox box;
    box.resize(100, 100);
    box.verticalScrollBar()->setRange(0, 500);
    box.verticalScrollBar()->setPageStep(100);
    QSignalSpy scrolled(&box, &TMyScrollBox::OnScroll);
    box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    box.verticalScrollBar()->setValue(300);
    EXPECT_EQ(scrolled.count(), 3);
    box.verticalScrollBar()->setValue(300); // no change, no event
    EXPECT_EQ(scrolled.count(), 3);
}
