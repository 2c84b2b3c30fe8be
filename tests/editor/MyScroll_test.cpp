#include "editor/MyScroll.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>
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

// A user of the slider sees every change inside one OnMouseDown ... OnMouseUp pair, however
// it was made.
TEST(TmyScroll, EveryWayOfMovingItIsOnePressAndRelease)
{
    struct Row {
        const char* name;
        std::function<void(TmyScroll&)> act;
        int position;
    } rows[] = {
        {"drag of the thumb", [](TmyScroll& s) {
             QTest::mousePress(s.Thumb(), Qt::LeftButton, {}, QPoint(2, 2));
             s.DragStep(41);
             QTest::mouseRelease(s.Thumb(), Qt::LeftButton, {}, QPoint(2, 2));
         }, 40 * 255 / 82},
        {"click on the track", [](TmyScroll& s) { QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(95, 5)); }, 255},
        {"right click on the track", [](TmyScroll& s) { QTest::mouseClick(&s, Qt::RightButton, {}, QPoint(3, 5)); }, 0},
        {"wheel notch", [](TmyScroll& s) {
             QWheelEvent up(QPointF(50, 5), s.mapToGlobal(QPointF(50, 5)), {}, QPoint(0, 120), Qt::NoButton, {},
                            Qt::NoScrollPhase, false);
             QApplication::sendEvent(&s, &up);
         }, 101},
        {"arrow key", [](TmyScroll& s) { QTest::keyClick(&s, Qt::Key_Left); }, 99},
        {"page key", [](TmyScroll& s) { QTest::keyClick(&s, Qt::Key_PageUp); }, 115},
        {"end key", [](TmyScroll& s) { QTest::keyClick(&s, Qt::Key_End); }, 255},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TmyScroll s;
        s.Max = 255;
        s.SetPosition(100);
        s.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
        s.setFocus();
        QStringList log;
        QObject::connect(&s, &TmyScroll::OnMouseDown, [&] { log << QStringLiteral("down"); });
        QObject::connect(&s, &TmyScroll::OnChange, [&] { log << QStringLiteral("change"); });
        QObject::connect(&s, &TmyScroll::OnMouseUp, [&] { log << QStringLiteral("up"); });
        row.act(s);
        EXPECT_EQ(s.Position(), row.position);
        EXPECT_EQ(log, QStringList({QStringLiteral("down"), QStringLiteral("change"), QStringLiteral("up")}));
    }
}

TEST(TmyScroll, AHeldKeyIsOneInteractionUntilItComesUp)
{
    TmyScroll s;
    s.Max = 255;
    s.SetPosition(10);
    int downs = 0, ups = 0;
    QObject::connect(&s, &TmyScroll::OnMouseDown, [&] { ++downs; });
    QObject::connect(&s, &TmyScroll::OnMouseUp, [&] { ++ups; });
    // The window system repeats a held key as releases and presses marked as repeats.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, {});
    QApplication::sendEvent(&s, &press);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Right, {}, QString(), true);
        QKeyEvent again(QEvent::KeyPress, Qt::Key_Right, {}, QString(), true);
        QApplication::sendEvent(&s, &up);
        QApplication::sendEvent(&s, &again);
    }
    EXPECT_EQ(s.Position(), 14);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, {});
    QApplication::sendEvent(&s, &release);
    EXPECT_EQ(ups, 1);
}
