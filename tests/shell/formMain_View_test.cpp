#include "shell/formMain.h"

#include "editor/formTools.h"
#include "engine/language.h"
#include "shell/About.h"
#include "tests/shell/ShownMainWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ViewTest : public glimt::test::ShownMainWindow {
protected:
    void BeforeShow() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_main->SetProgramFolder(m_dir.path());
        m_main->OpenUrl = [this](const QUrl& url) { m_opened.append(url); };
    }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(name).path());
        QFile f(QDir(m_dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QAction* Action(const char* name) const { return m_main->Action(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    QList<QUrl> m_opened;
};

} // namespace

TEST_F(ViewTest, HidingTheMainToolbarGrowsTheWorkAreaAndTheGluedWindowsFollow)
{
    QAction* toolbar = Action("acttoolbar");
    ASSERT_TRUE(toolbar->isChecked());
    EXPECT_TRUE(m_main->Menu(QStringLiteral("View"))->actions().contains(toolbar));
    const QRect before = Panel();
    DragFrameTo(QPoint(300, before.y() + 4));
    ASSERT_EQ(m_frame->y(), before.y());

    toolbar->trigger();
    EXPECT_FALSE(toolbar->isChecked());
    EXPECT_TRUE(m_main->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"))->isHidden());
    EXPECT_FALSE(Options().ToolbarVisible);
    const QRect after = Panel();
    EXPECT_LT(after.y(), before.y());
    EXPECT_EQ(m_frame->y(), after.y());
    EXPECT_EQ(m_main->WorkArea.Bottom, after.y());

    QAction* status = Action("actnStatusbar");
    status->trigger();
    EXPECT_TRUE(m_main->statusBar()->isHidden());
    EXPECT_FALSE(Options().StatusbarVisible);
    EXPECT_GT(Panel().height(), after.height());
}

TEST_F(ViewTest, GridSideBarAndLocalToolbarReachEveryDocumentAndTheSettings)
{
    TmyImagePal image(4, 3, 32);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    const bool grid = Options().GridVisible;
    Action("actnGrid")->trigger();
    EXPECT_EQ(Options().GridVisible, !grid);
    EXPECT_EQ(Action("actnGrid")->isChecked(), !grid);
    EXPECT_EQ(Action("actnGrid")->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    for (int slot = 1; slot <= 2; ++slot)
        EXPECT_EQ(m_main->Desk(slot)->GridVisible, !grid) << slot;

    const bool side = Options().SidebarVisible;
    Action("actSideBar")->trigger();
    EXPECT_EQ(Options().SidebarVisible, !side);
    EXPECT_EQ(Action("actSideBar")->isChecked(), !side);

    ASSERT_TRUE(Action("actnWindowToolbar")->isChecked());
    Action("actnWindowToolbar")->trigger();
    EXPECT_FALSE(Options().LocalToolbarVisible);
    for (int slot = 1; slot <= 2; ++slot)
        EXPECT_TRUE(m_main->Desk(slot)->CoolBar1->isHidden()) << slot;
}

TEST_F(ViewTest, TheLanguageMenuListsTheFilesAndSwitchesEveryWindow)
{
    Write(QStringLiteral("Languages/A.lng"),
          "[frmMain]\nactnOpen.Caption=Open A\n[frmTools]\nbtnPencil.Hint=Pencil A\n"
          "[frmAbout]\nlblMem.Caption=Memory A\n[MSG]\nmsgUntitled=Untitled A\n");
    Write(QStringLiteral("Languages/B.lng"),
          "[frmMain]\nactnOpen.Caption=Open B\n[frmTools]\nbtnPencil.Hint=Pencil B\n"
          "[frmAbout]\nlblMem.Caption=Memory B\n[MSG]\nmsgUntitled=Untitled B\n");
    Write(QStringLiteral("Languages/notes.txt"), "not a language");
    Options().Language = QStringLiteral("B");
    m_main->BuildLanguageMenu();

    const QList<QAction*> items = m_main->LanguageActions();
    ASSERT_EQ(items.size(), 2);
    QStringList captions;
    for (QAction* a : items)
        captions.append(a->text());
    captions.sort();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(m_main->Menu(QStringLiteral("Languages"))->actions(), items);
    QAction* a = items[0]->text() == QLatin1String("A") ? items[0] : items[1];
    QAction* b = a == items[0] ? items[1] : items[0];
    EXPECT_TRUE(b->isChecked());
    EXPECT_FALSE(a->isChecked());
    EXPECT_EQ(Action("actnOpen")->text(), QStringLiteral("Open B"));
    EXPECT_EQ(m_main->Tools()->ToolButtons[7]->toolTip(), QStringLiteral("Pencil B"));
    EXPECT_EQ(m_main->About()->lblMem->text(), QStringLiteral("Memory B"));

    TmyImagePal image(4, 3, 32);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    EXPECT_EQ(m_main->ActiveDesk()->windowTitle(), QStringLiteral("Untitled B - 1"));
    a->trigger();
    EXPECT_EQ(Options().Language, QStringLiteral("A"));
    EXPECT_TRUE(a->isChecked());
    EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(Action("actnOpen")->text(), QStringLiteral("Open A"));
    EXPECT_EQ(m_main->ActiveDesk()->windowTitle(), QStringLiteral("Untitled A - 1"));

    // Building the menu again does not double it.
    m_main->BuildLanguageMenu();
    EXPECT_EQ(m_main->LanguageActions().size(), 2);
    Lang().SetFileName(QString()); // later tests see the English defaults again
}

TEST_F(ViewTest, HelpOpensTheLanguagesHelpFileOrTheEnglishOne)
{
    Options().Language = QStringLiteral("B");
    QAction* help = Action("actHelp");
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0], QUrl::fromLocalFile(QDir(m_dir.path()).filePath(QStringLiteral("Help/english.chm"))));

    Write(QStringLiteral("Help/B.chm"), "help");
    help->trigger();
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened[1], QUrl::fromLocalFile(QDir(m_dir.path()).filePath(QStringLiteral("Help/B.chm"))));
}

TEST(TfrmAbout, MemoryIsShownInKilobytesGroupedByTheLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(glimt::MemorySizeText(std::uint64_t(2) << 30, english), QStringLiteral("2,097,152 KB"));
    EXPECT_EQ(glimt::MemorySizeText(1023, english), QStringLiteral(" KB"));
    EXPECT_EQ(glimt::MemorySizeText(std::uint64_t(64) << 40, english), QStringLiteral("68,719,476,736 KB"));
}

TEST(TfrmAbout, TheSystemLineComesFromOsReleaseAndTheKernel)
{
    struct Row {
        const char* name;
        const char* osRelease;
        const char* expected;
    };
    const Row rows[] = {
        {"pretty name, quoted", "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm) (Linux 6.1.0)"},
        {"name and version", "NAME=Alpine\nVERSION='3.19'\n", "Alpine 3.19 (Linux 6.1.0)"},
        {"nothing usable", "garbage\n=\nPRETTY_NAME\n", "Linux 6.1.0"},
        {"empty", "", "Linux 6.1.0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(glimt::OsVersionText(QString::fromUtf8(row.osRelease), QStringLiteral("Linux"), QStringLiteral("6.1.0")),
                  QString::fromUtf8(row.expected));
    }
    EXPECT_FALSE(glimt::RunningOsVersion().isEmpty());
}

TEST_F(ViewTest, TheAboutBoxSetsItsFixedTextsAgainWhenShown)
{
    TfrmAbout* about = m_main->About();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->objectName(), QStringLiteral("frmAbout"));
    about->lblVersion->setText(QStringLiteral("from a language file"));
    about->FormShow();
    EXPECT_TRUE(about->lblVersion->text().startsWith(QStringLiteral("Glimt")));
    about->FormActivate();
    EXPECT_TRUE(about->lblSize->text().endsWith(QStringLiteral(" KB")));
    EXPECT_FALSE(about->lblOS->text().isEmpty());
    EXPECT_EQ(about->lblMem->text(), QStringLiteral("Memory Available to Windows:"));
}
