#include "shell/formMain.h"

#include "editor/KeyState.h"
#include "editor/ToolCursors.h"
#include "editor/ToolFrame.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "engine/Settings.h"
#include "shell/ShellPrompts.h"
#include "tests/shell/ShownMainWindow.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSizeGrip>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using DockingTest = glimt::test::ShownMainWindow;


TEST_F(DockingTest, TheToolWindowIsHostedInsideTheMainWindowAsTheToolEngine)
{
    EXPECT_EQ(m_frame->parentWidget(), m_main.get());
    EXPECT_EQ(m_frame->Content(), m_main->Tools());
    EXPECT_EQ(glimt::ToolEngine(), m_main->Tools());
    EXPECT_EQ(m_frame->Caption()->Title->text(), QStringLiteral("Tools"));
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(m_frame->pos(), QPoint(300, 200));
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotTools), &m_frame->DockRect);
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotWorkArea), &m_main->WorkArea);
    EXPECT_EQ(m_main->WorkArea.Right, Panel().x());
    EXPECT_EQ(m_main->WorkArea.Left, Panel().x() + Panel().width());

    QAction* toggle = m_main->Action(QStringLiteral("actnTools"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+T")));
    EXPECT_EQ(toggle->property("category").toString(), QStringLiteral("View"));
    EXPECT_TRUE(toggle->isChecked());
}

TEST_F(DockingTest, TheCloseBoxAndTheViewActionShowAndHideTheWindowTogether)
{
    QAction* toggle = m_main->Action(QStringLiteral("actnTools"));
    m_frame->Caption()->CloseButton->click();
    EXPECT_TRUE(m_frame->isHidden());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotTools), nullptr);

    toggle->trigger();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotTools), &m_frame->DockRect);
    toggle->trigger();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_TRUE(m_frame->isHidden());

    // Hiding the main window itself leaves the tool window's state alone.
    toggle->trigger();
    m_main->hide();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotTools), &m_frame->DockRect);
}

TEST_F(DockingTest, AWindowLetGoNearAnEdgeSnapsAndFollowsItWhenTheMainWindowIsResized)
{
    const QRect panel = Panel();
    // 9 pixels short of the work area's right inner edge, and 9 below its top.
    const int x = panel.x() + panel.width() - m_frame->width() - 9;
    DragFrameTo(QPoint(x, panel.y() + 9));
    EXPECT_EQ(m_frame->pos(), QPoint(x + 9, panel.y()));
    EXPECT_EQ(m_frame->DockRect.Left, x + 9);
    EXPECT_EQ(m_frame->DockRect.RightTo, &m_main->WorkArea.Left);

    Resize(900, 650);
    const QRect wider = Panel();
    ASSERT_NE(wider.width(), panel.width());
    EXPECT_EQ(m_frame->x() + m_frame->width(), wider.x() + wider.width());
    EXPECT_EQ(m_frame->y(), wider.y());

    // 10 pixels away it stays where it was let go, and does not follow.
    const QPoint free(wider.x() + wider.width() - m_frame->width() - 10, wider.y() + 100);
    DragFrameTo(free);
    EXPECT_EQ(m_frame->pos(), free);
    Resize(850, 650);
    EXPECT_EQ(m_frame->pos(), free);
}

TEST_F(DockingTest, AWindowBeyondTheShrunkenWorkAreaIsPulledBack)
{
    const QRect wide = Panel();
    const QPoint at(wide.x() + wide.width() - m_frame->width() - 50, wide.y() + wide.height() - 60);
    DragFrameTo(at);
    ASSERT_EQ(m_frame->pos(), at);
    Resize(600, 400);
    const QRect panel = Panel();
    ASSERT_LT(panel.x() + panel.width() - 10, at.x());
    EXPECT_EQ(m_frame->x(), panel.x() + panel.width() - 10);
    EXPECT_EQ(m_frame->y(), panel.y() + panel.height() - 10);
}

TEST_F(DockingTest, TheLayoutStoresAndRestoresTheToolWindow)
{
    DragFrameTo(QPoint(120, 140));
    m_frame->hide();
    m_main->SaveLayout();
    EXPECT_EQ(Options().ToolsLeft, 120);
    EXPECT_EQ(Options().ToolsTop, 140);
    EXPECT_FALSE(Options().ToolsVisible);

    Options().ToolsVisible = true;
    Options().ToolsLeft = 150;
    m_main->RestoreLayout();
    EXPECT_EQ(m_frame->pos(), QPoint(150, 140));
    EXPECT_FALSE(m_frame->isHidden());
    EXPECT_TRUE(m_main->Action(QStringLiteral("actnTools"))->isChecked());
}

TEST_F(DockingTest, DigitKeysPickTheBrushSizeOnlyWhileTheSizePanelShows)
{
    TmyImagePal image(8, 8, 32);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    TfrmTools* tools = m_main->Tools();
    QWidget* focus = m_main->ActiveDesk()->Image1;
    focus->setFocus();
    QApplication::setActiveWindow(m_main.get());
    ASSERT_EQ(QApplication::focusWidget(), focus);
    auto press = [&](const char* text) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key(text[0]), Qt::NoModifier, QString::fromLatin1(text));
        QApplication::sendEvent(focus, &key);
    };

    tools->PressToolButton(8); // Pencil: no size panel
    press("5");
    EXPECT_EQ(tools->Engine.BrushSize, 1);
    tools->PressToolButton(7); // Brush
    press("5");
    EXPECT_EQ(tools->Engine.BrushSize, 5);
    EXPECT_TRUE(tools->SizeButtons[4]->isChecked());
    press("8");
    EXPECT_EQ(tools->Engine.BrushSize, 5);

    // The Escape key is recorded for the running stroke wherever it is pressed.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(tools, &esc);
    EXPECT_TRUE(IsEscDown());
    QKeyEvent escUp(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(tools, &escUp);
    EXPECT_FALSE(IsEscDown());
}

TEST_F(DockingTest, AStrokeOnTheCanvasPaintsTheImage)
{
    TmyImagePal image(8, 8, 32);
    image.Fill(TmyPixel::CreateRGBA(255, 255, 255, 255));
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    TfrmDesk* desk = m_main->ActiveDesk();
    m_main->Tools()->PressToolButton(8);
    // The first activation loaded the tool cursors: the canvas shows the pencil.
    EXPECT_EQ(desk->Image1->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(desk->Image1->cursor().hotSpot(), glimt::ScreenCursor(6).hotSpot());
    const int zoom = desk->Zoom;
    const QPoint at(3 * zoom + 1, 2 * zoom + 1);
    QTest::mousePress(desk->Image1, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(desk->Image1, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(desk->CurrentImage()->Pixel(3, 2), m_main->Tools()->ForeColor);
    EXPECT_EQ(desk->CurrentImage()->Pixel(4, 2), TmyPixel::CreateRGBA(255, 255, 255, 255));
}

TEST_F(DockingTest, AMaximizedDocumentFillsTheWorkAreaBetweenTheDockedWindows)
{
    DragFrameTo(QPoint(Panel().x() + 5, Panel().y() + 40));
    const int L = m_main->DockMngr.DockedWidthLeft();
    ASSERT_EQ(L, m_frame->width());
    TmyImagePal image(8, 8, 32);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    auto* sub = qobject_cast<QMdiSubWindow*>(m_main->ActiveDesk()->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->showMaximized();
    QCoreApplication::processEvents();
    const QSize area = m_main->Panel1()->viewport()->size();
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->geometry(), QRect(L, 0, area.width() - L, area.height()));

    // It keeps to that room when the main window grows.
    Resize(900, 650);
    QCoreApplication::processEvents();
    const QSize wider = m_main->Panel1()->viewport()->size();
    EXPECT_EQ(sub->geometry(), QRect(L, 0, wider.width() - L, wider.height()));
}

TEST_F(DockingTest, AResizableFrameGrowsByItsGripAndSnapsWhenLetGo)
{
    Resize(800, 700); // room below the tool window for the grip to grow it
    m_frame->SetResizable(true);
    QSizeGrip* grip = m_frame->SizeGrip();
    ASSERT_NE(grip, nullptr);
    const QRect before = m_frame->geometry();
    const QRect panel = Panel();
    // Drag the lower right corner to 5 pixels short of the work area's right edge.
    const int grow = panel.x() + panel.width() - 5 - (before.x() + before.width());
    const QPoint at(grip->width() / 2, grip->height() / 2);
    QTest::mousePress(grip, Qt::LeftButton, Qt::NoModifier, at);
    const QPoint to = at + QPoint(grow, 20);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), grip->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grip, &move);
    QTest::mouseRelease(grip, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(m_frame->height(), before.height() + 20);
    EXPECT_EQ(m_frame->width(), before.width() + grow);
    // Letting go snapped the grown frame's right edge to the work area's: it moved by 5.
    EXPECT_EQ(m_frame->x() + m_frame->width(), panel.x() + panel.width());
    EXPECT_EQ(m_frame->DockRect.RightTo, &m_main->WorkArea.Left);
    EXPECT_EQ(grip->geometry().bottomRight(), m_frame->rect().bottomRight());
}

TEST_F(DockingTest, EscapeDuringALineStrokeCancelsItWhereverTheKeyWentTo)
{
    const TmyPixel white = TmyPixel::CreateRGBA(255, 255, 255, 255);
    TmyImagePal image(8, 8, 32);
    image.Fill(white);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    TfrmDesk* desk = m_main->ActiveDesk();
    m_main->Tools()->PressToolButton(9); // Line
    const int zoom = desk->Zoom;
    auto cellPoint = [zoom](int x, int y) { return QPoint(x * zoom + 1, y * zoom + 1); };
    auto stroke = [&](bool escape) {
        QTest::mousePress(desk->Image1, Qt::LeftButton, Qt::NoModifier, cellPoint(1, 1));
        QMouseEvent move(QEvent::MouseMove, QPointF(cellPoint(6, 1)), desk->Image1->mapToGlobal(QPointF(cellPoint(6, 1))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(desk->Image1, &move);
        if (escape) {
            // The key goes to the tool window; the running stroke still sees it.
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(m_main->Tools()->ToolButtons[0], &esc);
            desk->Timer1Timer();
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(m_main->Tools()->ToolButtons[0], &up);
        }
        QTest::mouseRelease(desk->Image1, Qt::LeftButton, Qt::NoModifier, cellPoint(6, 1));
    };
    stroke(true);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(desk->CurrentImage()->Pixel(x, 1), white) << x;
    stroke(false);
    EXPECT_EQ(desk->CurrentImage()->Pixel(1, 1), m_main->Tools()->ForeColor);
    EXPECT_EQ(desk->CurrentImage()->Pixel(6, 1), m_main->Tools()->ForeColor);
}

TEST_F(DockingTest, AnotherHostedWindowKeepsItsPlaceAndSizeInTheLayout)
{
    // The preview's slot is taken, and slot 1 is the work area's.
    glimt::TToolFrame* frame = m_main->ToolFrame(TDockMngr::SlotPreview);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(m_main->AddToolWindow(new QWidget(m_main.get()), TDockMngr::SlotPreview, nullptr), nullptr);
    EXPECT_EQ(m_main->AddToolWindow(new QWidget(m_main.get()), 1, nullptr), nullptr);
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(frame->Caption()->Title->text(), QStringLiteral("Preview"));

    Options().PrevLeft = 40;
    Options().PrevTop = 300;
    Options().PrevWidth = 231;
    Options().PrevHeight = 170;
    Options().PrevVisible = true;
    m_main->RestoreLayout();
    EXPECT_EQ(frame->geometry(), QRect(40, 300, 231, 170));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotPreview), &frame->DockRect);

    frame->setGeometry(50, 310, 200, 150);
    frame->hide();
    m_main->SaveLayout();
    EXPECT_EQ(Options().PrevLeft, 50);
    EXPECT_EQ(Options().PrevTop, 310);
    EXPECT_EQ(Options().PrevWidth, 200);
    EXPECT_EQ(Options().PrevHeight, 150);
    EXPECT_FALSE(Options().PrevVisible);
    EXPECT_EQ(m_main->DockMngr.Window(TDockMngr::SlotPreview), nullptr);
}
