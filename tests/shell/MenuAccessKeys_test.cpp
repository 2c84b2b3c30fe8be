// The menus' access keys beside the commands' shortcuts: every menu and every command can be
// reached from the keyboard, and each key does one thing.
#include "shell/MenuAccessKeys.h"

#include "tests/shell/CommandFixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

namespace {

using glimt::test::CommandTest;
using glimt::test::Numbered;

class MenuAccessKeysTest : public CommandTest {
protected:
    // The menu open after `keys`, then closed again by Escape (and the bar left by another);
    // null when none opened.
    QMenu* OpenedBy(const std::function<void()>& keys)
    {
        keys();
        QCoreApplication::processEvents();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu)
            QTest::keyClick(menu, Qt::Key_Escape);
        if (QApplication::focusWidget() == m_main->menuBar())
            QTest::keyClick(m_main->menuBar(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_NE(QApplication::focusWidget(), m_main->menuBar());
        return menu;
    }
    void AltKey(Qt::Key key) { QTest::keyClick(m_main.get(), key, Qt::AltModifier); }
    // Alt pressed and released on its own, then the letter.
    void AltThenKey(Qt::Key key)
    {
        QTest::keyPress(m_main.get(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(m_main.get(), Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), key);
    }
};

struct MenuKey {
    const char* menu;
    Qt::Key key;
    const char* command; // the window command that shares the Alt key, or null
};

const MenuKey kMenuKeys[] = {
    {"File", Qt::Key_F, nullptr},     {"Edit", Qt::Key_E, nullptr},       {"View", Qt::Key_V, "actTileVert"},
    {"Effect", Qt::Key_C, "actCascade"}, {"Image", Qt::Key_I, nullptr},   {"Icon", Qt::Key_O, nullptr},
    {"Options", Qt::Key_P, nullptr},  {"Window", Qt::Key_W, nullptr},     {"Help", Qt::Key_H, "actTileHoriz"},
};

} // namespace

TEST_F(MenuAccessKeysTest, AltKeysRunTheWindowCommandsWhileEnabledAndOpenTheMenusOtherwise)
{
    // Without a document the window commands are off: every Alt key opens its menu.
    for (const MenuKey& row : kMenuKeys) {
        SCOPED_TRACE(row.menu);
        EXPECT_EQ(OpenedBy([&] { AltKey(row.key); }), m_main->Menu(QString::fromLatin1(row.menu)));
    }

    Document({Numbered(3, 2)});
    Document({Numbered(3, 2)});
    for (const MenuKey& row : kMenuKeys) {
        SCOPED_TRACE(row.menu);
        if (!row.command) {
            EXPECT_EQ(OpenedBy([&] { AltKey(row.key); }), m_main->Menu(QString::fromLatin1(row.menu)));
            continue;
        }
        // Twice: Qt would hand a shared key to its owners in turn.
        QSignalSpy ran(Action(row.command), &QAction::triggered);
        EXPECT_EQ(OpenedBy([&] { AltKey(row.key); }), nullptr);
        EXPECT_EQ(OpenedBy([&] { AltKey(row.key); }), nullptr);
        EXPECT_EQ(ran.count(), 2);
    }
}

TEST_F(MenuAccessKeysTest, ALoneAltThenALetterOpensEveryMenuEvenOverAToolKey)
{
    Document({Numbered(3, 2)});
    const std::uint8_t tool = Tools().CurrentTool();
    for (const MenuKey& row : kMenuKeys) {
        SCOPED_TRACE(row.menu);
        EXPECT_EQ(OpenedBy([&] { AltThenKey(row.key); }), m_main->Menu(QString::fromLatin1(row.menu)));
    }
    // "c", "e", "f", "i", "o" and "p" are tools' keys too; none was chosen.
    EXPECT_EQ(Tools().CurrentTool(), tool);
}
