#pragma once
#include "editor/ToolFrame.h"
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "shell/ShellPrompts.h"
#include "shell/formMain.h"
#include "tests/shell/ShellTestApp.h"
#include "tests/support/FakeDialogs.h"

#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace glimt::test {

// A shown, first-activated 800 x 600 main window whose tool window was stored at (300, 200),
// with questions answered by fakes.
class ShownMainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureShellApplication();
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
        BeforeShow();
        m_main->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_main->FirstActivationDone());
        m_frame = m_main->ToolFrame(TDockMngr::SlotTools);
        ASSERT_NE(m_frame, nullptr);
    }

    // Runs between the creation of the window and its first showing.
    virtual void BeforeShow() {}

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

    FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    glimt::ShellPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
    glimt::TToolFrame* m_frame = nullptr;
};

} // namespace glimt::test
