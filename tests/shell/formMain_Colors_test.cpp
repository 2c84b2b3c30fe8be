#include "shell/formMain.h"

#include "editor/ColorPanel.h"
#include "editor/MyScroll.h"
#include "editor/formColors.h"
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/PixelFixtures.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::Px;

namespace {

void EnsureApplication()
{
    if (!qApp) {
        static int argc = 1;
        static char name[] = "glimt_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

// A main window whose data folder lies in a temporary folder.
class ColorPanelShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        Options() = TOptions();
        Options().MainMaximized = false;
        m_main = std::make_unique<TfrmMain>();
    }

    void TearDown() override
    {
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Options() = TOptions();
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }

    void Start()
    {
        m_main->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_main->FirstActivationDone());
    }

    TfrmColors& Colors() { return *m_main->ColorPanel(); }
    QAction* Toggle() { return m_main->Action(QStringLiteral("actnColors")); }
    QString ColorsFile() const { return QDir(m_dir.path()).absoluteFilePath(QStringLiteral("Glimt/colors.dat")); }

    TfrmDesk* Document(int depth)
    {
        TmyImagePal image(3, 2, depth);
        image.Fill(Px(255, 0, 0, 255));
        EXPECT_TRUE(m_main->CreateDocumentFromImage(image));
        return m_main->ActiveDesk();
    }

    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    std::unique_ptr<TfrmMain> m_main;
};

TEST_F(ColorPanelShellTest, ViewColorsTogglesThePanel)
{
    Start();
    QAction* a = Toggle();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QStringLiteral("Colors"));
    EXPECT_EQ(a->property("category").toString(), QStringLiteral("View"));
    EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    EXPECT_TRUE(m_main->Menu(QStringLiteral("View"))->actions().contains(a));
    EXPECT_TRUE(a->isChecked()) << "shown by default";
    EXPECT_TRUE(Colors().isVisible());
    EXPECT_EQ(frmColors(), &Colors());

    a->trigger();
    EXPECT_FALSE(a->isChecked());
    EXPECT_FALSE(Colors().isVisible());
    a->trigger();
    EXPECT_TRUE(Colors().isVisible());
    Colors().close();
    EXPECT_FALSE(a->isChecked()) << "closing the panel unchecks the command";
}

TEST_F(ColorPanelShellTest, LayoutAndColoursComeFromTheSettings)
{
    TOptions& o = Options();
    o.ShowRGB = false;
    o.ColorsVisible = false;
    o.ColorsLeft = 123;
    o.ColorsTop = 45;
    o.FavoritColorPosition = 7;
    o.ForeColor = Px(10, 20, 30, 40);
    o.BackColor = Px(1, 2, 3, 4);
    Start();
    EXPECT_TRUE(Colors().btnHSB->isChecked());
    EXPECT_FALSE(Colors().Panel4->isHidden());
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_TRUE(Colors().isHidden());
    EXPECT_EQ(Colors().pos(), QPoint(123, 45));
    EXPECT_EQ(Colors().GetFavoriteIndex(), 7);
    EXPECT_EQ(Colors().ForeColor(), Px(10, 20, 30, 40));
    EXPECT_EQ(Colors().BackColor(), Px(1, 2, 3, 4));
    EXPECT_EQ(Colors().Edits[0]->text(), QStringLiteral("10"));
    EXPECT_EQ(Colors().Edits[3]->text(), QStringLiteral("40"));
    EXPECT_EQ(Colors().FavoritesPicture().pixel(2 * 12 + 6, 12 + 6), qRgb(10, 20, 30))
        << "the selected favourite shows the fore colour";
}

TEST_F(ColorPanelShellTest, ClosingStoresTheLayoutColoursAndFavourites)
{
    Start();
    Colors().btnHSB->click();
    Colors().SetFavoriteIndex(12);
    Colors().PickForeColor(Px(200, 100, 50, 255));
    Colors().PickBackColor(Px(5, 6, 7, 0));
    Colors().move(60, 70);
    m_main->close();

    const TOptions& o = Options();
    EXPECT_FALSE(o.ShowRGB);
    EXPECT_TRUE(o.ColorsVisible);
    EXPECT_EQ(o.FavoritColorPosition, 12);
    EXPECT_EQ(o.ForeColor, Px(200, 100, 50, 255));
    EXPECT_EQ(o.BackColor, Px(5, 6, 7, 0));
    EXPECT_EQ(o.ColorsLeft, 60);
    EXPECT_EQ(o.ColorsTop, 70);
    ASSERT_TRUE(QFile::exists(ColorsFile()));
    const QImage stored = glimt::LoadFavoritesFile(ColorsFile());
    EXPECT_EQ(stored, Colors().FavoritesPicture());
    EXPECT_EQ(stored.pixel(2 * 12 + 1, 2 * 12 + 1), qRgb(200, 100, 50));

    // The next run starts from the stored picture.
    m_main.reset();
    m_main = std::make_unique<TfrmMain>();
    EXPECT_EQ(Colors().FavoritesPicture(), stored);
}

TEST_F(ColorPanelShellTest, FavouritesThatCannotBeStoredDoNotStopTheClose)
{
    Start();
    QDir(m_dir.path()).mkpath(QStringLiteral("Glimt/colors.dat")); // a folder in its way
    m_main->close();
    EXPECT_FALSE(m_main->isVisible());
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(ColorPanelShellTest, TheShownDocumentsPaletteAndDepthReachThePanel)
{
    Start();
    TfrmDesk* paletted = Document(8);
    EXPECT_FALSE(Colors().Image6->isHidden());
    EXPECT_TRUE(Colors().Image1->isHidden());
    EXPECT_EQ(Colors().Image6->size(), QSize(160, 160));
    EXPECT_TRUE(Colors().ScrollBars[3]->isHidden()) << "no opacity below 32 bits";
    EXPECT_EQ(Colors().ForeColor(), paletted->CurrentImage()->Palette->Colors[0]);

    Document(32);
    EXPECT_TRUE(Colors().Image6->isHidden());
    EXPECT_FALSE(Colors().ScrollBars[3]->isHidden());

    paletted->ActivateDocument();
    EXPECT_FALSE(Colors().Image6->isHidden());

    for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
        m_main->Desk(slot)->Saved = true;
    m_main->actCloseAllExecute();
    ASSERT_EQ(m_main->DeskCount(), 0);
    EXPECT_TRUE(Colors().Image6->isHidden());
    EXPECT_FALSE(Colors().Image1->isHidden());
    EXPECT_FALSE(Colors().ScrollBars[3]->isHidden());
}

TEST_F(ColorPanelShellTest, PreferencesRedrawTheSwatches)
{
    Start();
    Colors().PickBackColor(Px(0, 0, 0, 0));
    Options().Color2 = 0x0000FF;
    m_main->ApplyPreferences(false);
    EXPECT_EQ(Colors().Image4->Picture.pixel(0, 0), qRgb(254, 0, 0));
}

} // namespace
