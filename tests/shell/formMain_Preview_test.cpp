#include "editor/ToolFrame.h"
#include "shell/formMain.h"

#include "editor/MyScroll.h"
#include "editor/formChangepal.h"
#include "editor/formDesk.h"
#include "editor/formPreview.h"
#include "editor/formTools.h"
#include "editor/formimagebig.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "shell/ShellPrompts.h"
#include "shell/formOptions.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glimt::test::EnsureApplication();
        Options() = TOptions();
        Options().MainMaximized = false;
        Options().MainLeft = 20;
        Options().MainTop = 10;
        Options().MainWidth = 700;
        Options().MainHeight = 500;
        m_main = std::make_unique<TfrmMain>();
    }
    void TearDown() override { glimt::test::CloseMainWindow(m_main); }
    void Start()
    {
        m_main->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_main->FirstActivationDone());
    }
    QAction* PreviewAction() const { return m_main->Action(QStringLiteral("actnPreview")); }
    TfrmPreview* Preview() const { return m_main->PreviewWindow(); }
    glimt::TToolFrame* Frame() const { return m_main->ToolFrame(TDockMngr::SlotPreview); }
    QColor Shown(int x, int y) const { return Preview()->preview1->Image1->Picture.pixelColor(x, y); }
    TfrmDesk* NewDocument(TmyPixel fill, int width = 3, int height = 2)
    {
        TmyImagePal image(height, width, 32);
        image.Fill(fill);
        EXPECT_TRUE(m_main->CreateDocumentFromImage(image));
        return m_main->ActiveDesk();
    }

    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    glimt::ShellPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
};

} // namespace

TEST_F(PreviewWindowTest, TheLayoutPlacesItAndItsActionShowsAndHidesIt)
{
    Options().PrevLeft = 30;
    Options().PrevTop = 140;
    Options().PrevWidth = 150;
    Options().PrevHeight = 120;
    ASSERT_NE(PreviewAction(), nullptr);
    EXPECT_TRUE(m_main->Menu(QStringLiteral("View"))->actions().contains(PreviewAction()));
    EXPECT_EQ(PreviewAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    EXPECT_EQ(PreviewAction()->property("category").toString(), QStringLiteral("View"));
    EXPECT_EQ(PreviewAction()->text(), QStringLiteral("Preview"));
    EXPECT_FALSE(Preview()->isVisible()); // nothing shows before the layout is restored
    Start();
    EXPECT_TRUE(Preview()->isVisible());
    EXPECT_TRUE(PreviewAction()->isChecked());
    EXPECT_EQ(Frame()->size(), QSize(150, 120));
    EXPECT_EQ(Frame()->pos(), QPoint(30, 140));
    EXPECT_EQ(Frame()->parentWidget(), m_main.get());

    PreviewAction()->trigger();
    EXPECT_FALSE(Preview()->isVisible());
    EXPECT_FALSE(PreviewAction()->isChecked());
    PreviewAction()->trigger();
    EXPECT_TRUE(Preview()->isVisible());
    // Closed by its own close box: the menu check follows.
    QTest::mouseClick(static_cast<QWidget*>(Frame()->Caption()->CloseButton), Qt::LeftButton);
    EXPECT_FALSE(PreviewAction()->isChecked());

    Frame()->resize(90, 70);
    Frame()->move(12, 134);
    m_main->SaveLayout();
    EXPECT_EQ(Options().PrevWidth, 90);
    EXPECT_EQ(Options().PrevHeight, 70);
    EXPECT_EQ(Options().PrevLeft, 12);
    EXPECT_EQ(Options().PrevTop, 134);
    EXPECT_FALSE(Options().PrevVisible);
}

TEST_F(PreviewWindowTest, AHiddenLayoutLeavesItHiddenAndUnchecked)
{
    Options().PrevVisible = false;
    Start();
    EXPECT_FALSE(Preview()->isVisible());
    EXPECT_FALSE(PreviewAction()->isChecked());
    PreviewAction()->trigger();
    EXPECT_TRUE(Preview()->isVisible());
    m_main->SaveLayout();
    EXPECT_TRUE(Options().PrevVisible);
}

TEST_F(PreviewWindowTest, ShowsTheActiveDocumentOverThePreviewColour)
{
    Start();
    TfrmDesk* red = NewDocument(TmyPixel::CreateRGBA(255, 0, 0, 255));
    EXPECT_EQ(Preview()->preview1->Image1->size(), QSize(3, 2));
    EXPECT_EQ(Shown(2, 1), QColor(254, 0, 0));
    NewDocument(TmyPixel::CreateRGBA(0, 255, 0, 128), 5, 4);
    EXPECT_EQ(Preview()->preview1->Image1->size(), QSize(5, 4));
    // Half transparent over the white default background.
    EXPECT_EQ(Shown(4, 3), QColor(126, 254, 126));

    red->ActivateDocument();
    ASSERT_EQ(m_main->ActiveDesk(), red);
    EXPECT_EQ(Shown(2, 1), QColor(254, 0, 0));

    red->CurrentImage()->Pixel(0, 0) = TmyPixel::CreateRGBA(0, 0, 0, 0);
    Options().PrevColor = 0xFF0000; // blue
    m_main->ApplyPreferences(false);
    EXPECT_EQ(Shown(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(Preview()->preview1->ScrollBox1->viewport()->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST_F(PreviewWindowTest, ClosingTheLastDocumentEmptiesIt)
{
    Start();
    NewDocument(TmyPixel::CreateRGBA(255, 0, 0, 255));
    TfrmDesk* green = NewDocument(TmyPixel::CreateRGBA(0, 255, 0, 255), 5, 4);
    green->Saved = true;
    m_main->actCloseExecute();
    // The other document shows; closing it too leaves nothing to show.
    EXPECT_EQ(Preview()->preview1->Image1->size(), QSize(3, 2));
    m_main->ActiveDesk()->Saved = true;
    m_main->actCloseExecute();
    ASSERT_EQ(m_main->DeskCount(), 0);
    EXPECT_EQ(Preview()->preview1->Image1->size(), QSize(0, 0));
    EXPECT_TRUE(Preview()->preview1->Image1->Picture.isNull());
}

TEST_F(PreviewWindowTest, StrokesOfTheToolsRedrawTheirCells)
{
    TfrmTools tools;
    glimt::SetToolEngine(&tools);
    int earlierListener = 0;
    tools.CellsPainted = [&](const TmyImagePal&, const QRect&) { ++earlierListener; };
    m_main->ConnectPreview(tools);
    Start();
    TfrmDesk* desk = NewDocument(TmyPixel::CreateRGBA(255, 255, 255, 255), 8, 8);
    const int zoom = desk->Zoom;
    EXPECT_EQ(Shown(3, 2), QColor(254, 254, 254));

    // The pencil paints black with the left button.
    const QPoint at(3 * zoom + zoom / 2, 2 * zoom + zoom / 2);
    QTest::mousePress(desk->Image1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(desk->Image1, Qt::LeftButton, {}, at);
    glimt::SetToolEngine(nullptr);
    EXPECT_EQ(desk->CurrentImage()->Pixel(3, 2), TmyPixel::CreateRGBA(0, 0, 0, 255));
    EXPECT_EQ(Shown(3, 2), QColor(0, 0, 0));
    EXPECT_EQ(Shown(4, 2), QColor(254, 254, 254));
    EXPECT_GT(earlierListener, 0);
}

TEST_F(PreviewWindowTest, TheQuestionDialogsBelongToTheMainWindowAndAreTranslatedWithIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Languages")));
    QFile f(QDir(dir.path()).absoluteFilePath(QStringLiteral("Languages/Test.lng")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[frmChangePal]\nrbNotChange.Caption=Palette behalten\n"
            "[frmImageBig]\nlblMsg.Caption=Zu gross!\n"
            "[frmPreview]\nfrmPreview.Caption=Vorschau\n");
    f.close();
    m_main->SetProgramFolder(dir.path());
    Options().Language = QStringLiteral("Test");
    Start();
    Lang().SetFileName(QString());

    ASSERT_NE(m_main->ChangePalDialog(), nullptr);
    ASSERT_NE(m_main->ImageBigDialog(), nullptr);
    EXPECT_EQ(m_main->ChangePalDialog()->parentWidget(), m_main.get());
    EXPECT_EQ(m_main->ChangePalDialog()->rbNotChange->text(), QStringLiteral("Palette behalten"));
    EXPECT_EQ(m_main->ImageBigDialog()->lblMsg->text(), QStringLiteral("Zu gross!"));
    EXPECT_EQ(Preview()->windowTitle(), QStringLiteral("Vorschau"));
}

TEST_F(PreviewWindowTest, PreferencesCommandAndTheRedrawOfTheLook)
{
    QAction* prefs = m_main->Action(QStringLiteral("actPreferences"));
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->text(), QStringLiteral("Preferences..."));
    EXPECT_EQ(prefs->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(m_main->Menu(QStringLiteral("Options"))->actions().contains(prefs));
    ASSERT_NE(m_main->OptionsDialog(), nullptr);
    EXPECT_EQ(m_main->OptionsDialog()->parentWidget(), m_main.get());

    Start();
    TfrmDesk* desk = NewDocument(TmyPixel::CreateRGBA(0, 0, 0, 0), 4, 4);
    const QRgb before = desk->Image1->Bitmap.pixel(0, 0);
    Options().Color2 = 0x0000FF;
    Options().Color1 = 0x0000FF;
    m_main->ApplyPreferences(false);
    EXPECT_EQ(desk->Image1->Bitmap.pixel(0, 0), before);
    m_main->ApplyPreferences(true);
    EXPECT_EQ(desk->Image1->Bitmap.pixel(0, 0), qRgb(254, 0, 0)); // the board, blended as 32-bit pixels are
}
