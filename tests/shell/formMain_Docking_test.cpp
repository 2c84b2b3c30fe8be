#include "shell/formMain.h"

#include "editor/KeyState.h"
#include "editor/ToolFrame.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "engine/Settings.h"
#include "shell/ShellPrompts.h"
#include "tests/shell/ShellTestApp.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class DockingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glimt::test::EnsureShellApplication();
        Options() = TOptions();
        Options().MainMaximized = false;
        Options().MainLeft = 0;
        Options().MainTop = 0;
        Options().MainWidth = 800;
        Options().MainHeight = 600;
        Options().ToolsLeft = 300;
        Options().ToolsTop = 200;
        // Only the tool window shows, so that nothing else is there to snap to.
        Options().PrevVisible = false;
        Options().ColorsVisible = false;
        Options().ExplorerVisible = false;
        m_main = std::make_unique<TfrmMain>();
        m_main->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_main->FirstActivationDone());
        m_frame = m_main->ToolFrame(TDockMngr::SlotTools);
        ASSERT_NE(m_frame, nullptr);
    }

    void TearDown() override
    {
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Options() = TOptions();
    }

    QRect Panel() const { return m_main->Panel1()->geometry(); }

    // Drags the frame by its caption so that its top-left corner lands on `to` (main window
    // coordinates) and lets go.
    void DragFrameTo(QPoint to)
    {
        glimt::TToolCaption* caption = m_frame->Caption();
        const QPoint grip(30, caption->height() / 2);
        const QPoint delta = to - m_frame->pos();
        QTest::mousePress(caption, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + delta), caption->mapToGlobal(QPointF(grip + delta)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(caption, &move);
        QTest::mouseRelease(caption, Qt::LeftButton, Qt::NoModifier, grip + delta);
    }

    void Resize(int width, int height)
    {
        m_main->resize(width, height);
        QCoreApplication::processEvents();
    }

    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    glimt::ShellPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
    glimt::TToolFrame* m_frame = nullptr;
};

} // namespace

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
    const int zoom = desk->Zoom;
    const QPoint at(3 * zoom + 1, 2 * zoom + 1);
    QTest::mousePress(desk->Image1, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(desk->Image1, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(desk->CurrentImage()->Pixel(3, 2), m_main->Tools()->ForeColor);
    EXPECT_EQ(desk->CurrentImage()->Pixel(4, 2), TmyPixel::CreateRGBA(255, 255, 255, 255));
}
