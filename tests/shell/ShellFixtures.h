#pragma once
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "shell/ShellPrompts.h"
#include "shell/formMain.h"
#include "tests/support/FakeDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace glimt::test {

// The application object the widget tests need, made once.
inline void EnsureApplication()
{
    if (!qApp) {
        static int argc = 1;
        static char name[] = "glimt_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

// Answers modal dialogs of the code under test while their loops run: each step waits until
// its dialog is visible, then acts on it (clicks a button, picks tiles). A dialog that is still
// unanswered after a few seconds is rejected and the test fails, so a question nobody planned
// for ends the loop instead of hanging the test.
class ModalAnswers {
public:
    using Find = std::function<QWidget*()>;
    using Act = std::function<void(QWidget*)>;

    ModalAnswers()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    ~ModalAnswers() { EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " planned dialog(s) never shown"; }

    void Then(Find find, Act act)
    {
        m_steps.push_back({std::move(find), std::move(act)});
        m_timer.start();
    }

private:
    void Tick()
    {
        ++m_ticks;
        if (!m_steps.empty()) {
            QWidget* w = m_steps.front().find();
            if (w && w->isVisible()) {
                const Act act = m_steps.front().act;
                m_steps.pop_front();
                m_ticks = 0;
                act(w);
                return;
            }
        }
        if (m_ticks > 600) {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "unanswered dialog " << modal->objectName().toStdString();
                modal->reject();
            }
            m_ticks = 0;
        }
    }

    struct Step {
        Find find;
        Act act;
    };
    std::deque<Step> m_steps;
    QTimer m_timer;
    int m_ticks = 0;
};

// A shown main window with fresh settings, file dialogs and questions answered by fakes and
// modal dialogs by scripted steps. Whatever a test leaves open closes without questions.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        Options() = TOptions();
        Options().MainMaximized = false;
        m_main = std::make_unique<TfrmMain>();
        m_main->show();
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Options() = TOptions();
    }

    FakeDialogs m_dialogs;
    ScopedUserDialogs m_installDialogs{&m_dialogs};
    ShellPrompts m_prompts;
    ScopedPrompts m_installPrompts{&m_prompts};
    ModalAnswers m_modals;
    std::unique_ptr<TfrmMain> m_main;
};

} // namespace glimt::test
