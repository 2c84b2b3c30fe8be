// The editor tests run on real widgets: one QApplication for the whole test program, made
// before the first test (another environment of this program may have made it already).
#include "tests/support/HeldButtons.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class EditorApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "glimt_editor_tests";
            static char* argv[] = {name, nullptr};
            m_app = new QApplication(argc, argv);
        }
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_editorApp = ::testing::AddGlobalTestEnvironment(new EditorApplication);
[[maybe_unused]] const bool g_heldButtons = glimt::test::HeldButtonsCheck::Install();

} // namespace
