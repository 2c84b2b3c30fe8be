#include "shell/formMain.h"
#include "editor/ColorPanel.h"
#include "editor/MyScroll.h"
#include "editor/ToolFrame.h"
#include "editor/dockmngr.h"
#include "editor/formColors.h"
#include "editor/formDesk.h"
#include "editor/formNew.h"
#include "editor/formProperties.h"
#include "editor/formTools.h"
#include "editor/formbrush.h"
#include "engine/Errors.h"
#include "engine/MyIcoIO.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "shell/ShellPrompts.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeldButtons.h"
#include "tests/support/PixelFixtures.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using glimt::TAnswer;
using glimt::test::FakeDialogs;
using Kind = glimt::test::FakeDialogs::Kind;

namespace {

// Once for the shell test program: no test may leave QTest's mouse buttons held.
[[maybe_unused]] const bool g_heldButtons = glimt::test::HeldButtonsCheck::Install();

QByteArray IconBytes(int width, int height, std::uint8_t red)
{
    TmyIcon icon;
    TmyImagePal& image = icon.AddImage(height, width, 32);
    image.Fill(TmyPixel::CreateRGBA(red, 20, 30, 255));
    return TmyIcoIO(false).SaveToBytes(icon, false);
}

// An icon file's bytes with the type field saying "cursor".
QByteArray CursorBytes()
{
    QByteArray bytes = IconBytes(16, 16, 200);
    bytes[2] = 2;
    return bytes;
}

// A header whose directory is cut short.
QByteArray DamagedIconBytes()
{
    return IconBytes(16, 16, 1).left(10);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glimt::test::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        // What the window stores at close ("colors.dat") goes to a folder of this test.
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        Options() = TOptions();
        Options().MainMaximized = false;
        m_main = std::make_unique<TfrmMain>();
    }

    glimt::TToolFrame* ColorsFrame() const { return m_main->ToolFrame(TDockMngr::SlotColors); }
    void TearDown() override
    {
        glimt::test::CloseMainWindow(m_main);
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(m_dir.path()).absoluteFilePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void Start()
    {
        m_main->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_main->FirstActivationDone());
    }

    // A new untitled document with one changed image.
    TfrmDesk* NewChangedDocument()
    {
        TmyImagePal image(3, 2, 32);
        EXPECT_TRUE(m_main->CreateDocumentFromImage(image));
        return m_main->ActiveDesk();
    }

    void Trigger(const char* action)
    {
        QAction* a = m_main->Action(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    QStringList RecentCaptions() const
    {
        QStringList list;
        const QList<QAction*> actions = m_main->RecentFilesMenu()->actions();
        for (qsizetype i = 2; i < actions.size(); ++i)
            list.append(actions[i]->text());
        return list;
    }

    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    glimt::ShellPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
};

} // namespace

TEST_F(MainWindowTest, StartsEmptyWithTheDocumentActionsDisabledAndActivatesOnce)
{
    Start();
    EXPECT_EQ(m_main->DeskCount(), 0);
    for (const char* name : {"actnSave", "actnSaveAs", "actClose", "actCloseAll", "actTile", "actCascade"})
        EXPECT_FALSE(m_main->Action(QString::fromLatin1(name))->isEnabled()) << name;
    for (const char* name : {"actnOpen", "actnExit", "actClear"})
        EXPECT_TRUE(m_main->Action(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_EQ(m_main->Action(QStringLiteral("actnSave"))->shortcut(), QKeySequence(QKeySequence::Save));

    // A later activation does not restore the layout again.
    Options().MainLeft = 300;
    m_main->hide();
    m_main->show();
    QCoreApplication::processEvents();
    m_main->FormActivate();
    EXPECT_NE(m_main->x(), 300);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(MainWindowTest, CommandLineStopsAtTheFirstFileThatFails)
{
    Write(QStringLiteral("a.ico"), IconBytes(16, 16, 10));
    Write(QStringLiteral("b.ico"), DamagedIconBytes());
    Write(QStringLiteral("c.ico"), IconBytes(32, 32, 20));
    // Relative names are made absolute against the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    m_main->SetCommandLineFiles({QStringLiteral("a.ico"), QStringLiteral("b.ico"), QStringLiteral("c.ico")});
    QDir::setCurrent(previous);
    EXPECT_EQ(m_main->DeskCount(), 0); // nothing opens before the window is shown
    Start();

    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->FilePath(), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("a.ico")));
    EXPECT_EQ(m_dialogs.Texts(Kind::Error),
              QStringList{QStringLiteral("Invalid File Format!\n") + QDir(m_dir.path()).absoluteFilePath(QStringLiteral("b.ico"))});
    // Both attempts are recent files; c was never tried.
    EXPECT_EQ(Options().GetRecentFile(1), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("a.ico")));
    EXPECT_EQ(Options().GetRecentFile(2), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("b.ico")));
    EXPECT_TRUE(Options().GetRecentFile(3).isEmpty());
}

// An icon cut inside its image data is no silent failure: with some images left it opens with
// them and one warning naming the file; with none it is "Invalid File Format!" and the file.
TEST_F(MainWindowTest, DamagedIconsNameTheFileWhenOpened)
{
    Start();
    TmyIcon three;
    for (int side : {48, 32, 16})
        three.AddImage(side, side, 32).Fill(TmyPixel::CreateRGBA(9, 8, 7, 255));
    const QByteArray whole = TmyIcoIO(false).SaveToBytes(three, false);
    // The file holds the 48, 32 and 16 pixel images in that order: the cut loses the last.
    const QString partly = Write(QStringLiteral("partly.ico"), whole.left(whole.size() - 50));
    const QString cut = Write(QStringLiteral("cut.ico"), whole.left(6 + 3 * 16 + 200));
    const QString good = Write(QStringLiteral("good.ico"), IconBytes(16, 16, 1));

    EXPECT_TRUE(m_main->OpenDocumentFile(partly));
    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->Icon->Count(), 2);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{partly + QStringLiteral(" is damaged: 1 of its 3 images could not be read.")});

    // A list stops at the file that could not be read, and says which it was.
    EXPECT_FALSE(m_main->OpenFileList({cut, good}));
    EXPECT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_dialogs.Texts(Kind::Error), QStringList{QStringLiteral("Invalid File Format!\n") + cut});
}

TEST_F(MainWindowTest, OpeningShowsTheIconAndASecondOpenActivatesTheFirstWindow)
{
    Start();
    const QString a = Write(QStringLiteral("a.ico"), IconBytes(16, 16, 10));
    const QString upper = Write(QStringLiteral("A.ico"), IconBytes(16, 16, 11));
    const QString b = Write(QStringLiteral("b.ico"), IconBytes(48, 48, 12));
    m_dialogs.OpenResults.push_back(QStringList{a, b});
    Trigger("actnOpen");
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_main->ActiveSlot(), 2);
    TfrmDesk* first = m_main->Desk(1);
    ASSERT_NE(first->CurrentImage(), nullptr);
    EXPECT_EQ(first->CurrentImage()->Width(), 16);
    EXPECT_TRUE(first->Saved);
    EXPECT_EQ(first->windowTitle(), a);
    EXPECT_TRUE(m_main->Action(QStringLiteral("actnSave"))->isEnabled());

    EXPECT_TRUE(m_main->OpenDocumentFile(a));
    EXPECT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_main->ActiveSlot(), 1);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("The file is already open!")});

    EXPECT_TRUE(m_main->OpenDocumentFile(upper)); // names compare case-sensitively
    EXPECT_EQ(m_main->DeskCount(), 3);

    // The Window menu lists the documents by file name, the active one checked.
    QStringList names;
    QString checked;
    const QList<QAction*> items = m_main->WindowMenu()->actions();
    for (qsizetype i = 5; i < items.size(); ++i) {
        names.append(items[i]->text());
        if (items[i]->isChecked())
            checked = items[i]->text();
    }
    EXPECT_EQ(names, (QStringList{"a.ico", "b.ico", "A.ico"}));
    EXPECT_EQ(checked, QStringLiteral("A.ico"));
    items[5]->trigger();
    EXPECT_EQ(m_main->ActiveSlot(), 1);
}

TEST_F(MainWindowTest, MissingFilesAndStaleLinksWarnAndStopTheList)
{
    Start();
    const QString good = Write(QStringLiteral("good.ico"), IconBytes(16, 16, 1));
    const QString gone = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("gone.ico"));
    EXPECT_FALSE(m_main->OpenFileList({gone, good}));
    EXPECT_EQ(m_main->DeskCount(), 0);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("The file %1 does not exist!").arg(gone)});
    EXPECT_TRUE(Options().GetRecentFile(1).isEmpty());

    // A recent entry whose file has vanished.
    Options().SetRecentFile(1, gone);
    m_main->BuildRecentFilesMenu();
    m_main->RecentFilesMenu()->actions().at(2)->trigger();
    EXPECT_EQ(m_dialogs.Count(Kind::Warning), 2);
    EXPECT_EQ(m_dialogs.Count(Kind::Error), 0);

    // A shortcut named in capitals opens its target, and the target is the recent file.
    const QString link = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("shortcut.LNK"));
    ASSERT_TRUE(QFile::link(good, link));
    EXPECT_TRUE(m_main->OpenDocumentFile(link));
    EXPECT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->FilePath(), good);
    EXPECT_EQ(Options().GetRecentFile(2), good);

    const QString broken = Write(QStringLiteral("broken.lnk"), "no link");
    EXPECT_FALSE(m_main->OpenDocumentFile(broken));
    EXPECT_EQ(m_main->DeskCount(), 1);
}

// A FIFO given to the open road (a dropped name, a recent entry, the command line) is refused
// at once with the usual message; it never becomes a recent file.
TEST_F(MainWindowTest, AFifoIsRefusedWithoutWaiting)
{
    Start();
    const QString fifo = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("pipe.ico"));
    ASSERT_TRUE(glimt::test::MakeFifo(fifo));
    const QString good = Write(QStringLiteral("good.ico"), IconBytes(16, 16, 1));
    const QString notFound = QStringLiteral("The file %1 does not exist!").arg(fifo);

    m_main->OpenDroppedFiles({fifo, good});
    EXPECT_EQ(m_main->DeskCount(), 0) << "the list stops at the refused name";
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{notFound});
    EXPECT_TRUE(Options().GetRecentFile(1).isEmpty());

    Options().SetRecentFile(1, fifo);
    m_main->BuildRecentFilesMenu();
    m_main->RecentFilesMenu()->actions().at(2)->trigger();
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), (QStringList{notFound, notFound}));
    EXPECT_EQ(m_main->DeskCount(), 0);
}

TEST_F(MainWindowTest, RecentFilesMenuShowsTheNewestFirstAndOpensExactlyThatPath)
{
    Start();
    QStringList paths;
    for (int n = 1; n <= 11; ++n)
        paths.append(Write(QStringLiteral("r%1.ico").arg(n), IconBytes(16, 16, std::uint8_t(n))));
    for (const QString& p : paths)
        ASSERT_TRUE(m_main->OpenDocumentFile(p));
    const QStringList captions = RecentCaptions();
    ASSERT_EQ(captions.size(), 10);
    EXPECT_EQ(captions.front(), QStringLiteral("1: ") + paths[10]);
    EXPECT_EQ(captions.back(), QStringLiteral("10: ") + paths[1]); // r1 dropped out

    // Choosing the oldest entry opens exactly its path (already open: activated).
    m_main->RecentFilesMenu()->actions().last()->trigger();
    EXPECT_EQ(m_main->ActiveDesk()->FilePath(), paths[1]);
    EXPECT_EQ(RecentCaptions().front(), QStringLiteral("1: ") + paths[1]);

    Trigger("actClear");
    EXPECT_TRUE(RecentCaptions().isEmpty());
    EXPECT_TRUE(Options().GetRecentFile(1).isEmpty());
}

TEST_F(MainWindowTest, TheTwentyFirstDocumentIsRefused)
{
    Start();
    for (int n = 0; n < TfrmMain::MaxDesks; ++n)
        ASSERT_TRUE(m_main->CreateDocumentFromImage(TmyImagePal(2, 3, 32)));
    EXPECT_FALSE(m_main->CreateDocumentFromImage(TmyImagePal(2, 3, 32)));
    EXPECT_EQ(m_main->DeskCount(), TfrmMain::MaxDesks);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("Too many open windows!")});
}

TEST_F(MainWindowTest, ReleasingASlotRenumbersTheLaterWindowsAndActivatesTheLast)
{
    Start();
    for (int n = 0; n < 4; ++n)
        NewChangedDocument();
    TfrmDesk* third = m_main->Desk(3);
    TfrmDesk* fourth = m_main->Desk(4);
    m_main->Desk(2)->Saved = true;
    m_main->Desk(2)->ActivateDocument();
    Trigger("actClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_main->DeskCount(), 3);
    EXPECT_EQ(m_main->Desk(2), third);
    EXPECT_EQ(m_main->Desk(3), fourth);
    EXPECT_EQ(third->Tag, 2);
    EXPECT_EQ(fourth->Tag, 3);
    EXPECT_EQ(m_main->ActiveSlot(), 3);
    EXPECT_EQ(m_main->Desk(4), nullptr);
    m_main->ReleaseDocumentWindow(0);
    m_main->ReleaseDocumentWindow(4);
    EXPECT_EQ(m_main->DeskCount(), 3);

    // New, New, close the first, New: the untitled numbers are not reused.
    EXPECT_EQ(m_main->Desk(3)->UntitledNumber(), 4);
    NewChangedDocument();
    EXPECT_EQ(m_main->ActiveDesk()->UntitledNumber(), 5);
}

TEST_F(MainWindowTest, AFailedOpenWhileTheWindowIsInactiveActivatesTheLastSlot)
{
    // After the Open dialog, or a drop from another program, the main window is not the active
    // window while the file opens.
    Start();
    const QString a = Write(QStringLiteral("a.ico"), IconBytes(16, 16, 1));
    const QString b = Write(QStringLiteral("b.ico"), IconBytes(16, 16, 2));
    const QString bad = Write(QStringLiteral("bad.ico"), DamagedIconBytes());
    ASSERT_TRUE(m_main->OpenDocumentFile(a));
    ASSERT_TRUE(m_main->OpenDocumentFile(b));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_main->OpenDocumentFile(bad));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    other.close();
    QApplication::setActiveWindow(m_main.get());
    QCoreApplication::processEvents();
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_main->ActiveSlot(), 2);
    EXPECT_EQ(m_main->ActiveDesk()->FilePath().toStdString(), b.toStdString());
    ASSERT_NE(m_main->Panel1()->activeSubWindow(), nullptr);
    EXPECT_EQ(m_main->Panel1()->activeSubWindow()->widget(), m_main->Desk(2));

    // The same after a New cancelled in its dialog, which had the keyboard meanwhile.
    m_main->Desk(1)->ActivateDocument();
    m_main->Panel1()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_main->Desk(1)->parentWidget()));
    QTimer::singleShot(0, m_main.get(), [this] { m_main->NewImageDialog()->btnCancel->click(); });
    Trigger("actnNew");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_main->ActiveSlot(), 2);
    ASSERT_NE(m_main->Panel1()->activeSubWindow(), nullptr);
    EXPECT_EQ(m_main->Panel1()->activeSubWindow()->widget(), m_main->Desk(2));
}

TEST_F(MainWindowTest, ClosingTheProgramAsksEveryDocumentAndCancelKeepsItRunning)
{
    Start();
    for (int n = 0; n < 3; ++n)
        NewChangedDocument();
    m_dialogs.Answers = {TAnswer::No, TAnswer::Cancel};
    EXPECT_FALSE(m_main->close());
    EXPECT_EQ(m_dialogs.Count(Kind::YesNoCancel), 2);
    EXPECT_EQ(m_main->DeskCount(), 2);
    EXPECT_TRUE(m_main->isVisible());

    // Exit takes the same road: questions, and Cancel keeps the program running.
    Options().MainWidth = 1;
    m_dialogs.Answers = {TAnswer::Cancel};
    Trigger("actnExit");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs.Count(Kind::YesNoCancel), 3);
    EXPECT_TRUE(m_main->isVisible());
    EXPECT_EQ(Options().MainWidth, 1);

    m_dialogs.Answers = {TAnswer::No, TAnswer::No};
    m_main->resize(700, 500);
    Trigger("actnExit");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs.Count(Kind::YesNoCancel), 5);
    EXPECT_FALSE(m_main->isVisible());
    EXPECT_EQ(m_main->DeskCount(), 0);
    EXPECT_EQ(Options().MainWidth, 700); // the layout was stored
    EXPECT_EQ(m_dialogs.Unexpected, 0);
}

TEST_F(MainWindowTest, SaveAsWritesTheFileAndNoToOverwriteWritesNothing)
{
    Start();
    TfrmDesk* desk = NewChangedDocument();
    const QString existing = Write(QStringLiteral("existing.ico"), "old bytes");

    // Save on an untitled document runs Save As; No to overwriting writes nothing.
    m_dialogs.SaveResults.push_back(existing);
    m_dialogs.Answers = {TAnswer::No};
    Trigger("actnSave");
    EXPECT_EQ(m_dialogs.Count(Kind::Save), 1);
    EXPECT_EQ(m_dialogs.Texts(Kind::YesNo), QStringList{QStringLiteral("existing.ico already exists! Overwrite?")});
    EXPECT_EQ(Read(existing), QByteArray("old bytes"));
    EXPECT_FALSE(desk->Saved);
    EXPECT_TRUE(desk->FilePath().isEmpty());

    // A name without extension gets ".ico".
    m_dialogs.SaveResults.push_back(QDir(m_dir.path()).absoluteFilePath(QStringLiteral("fresh")));
    Trigger("actnSaveAs");
    const QString fresh = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("fresh.ico"));
    EXPECT_TRUE(desk->Saved);
    EXPECT_EQ(desk->FilePath(), fresh);
    EXPECT_EQ(desk->windowTitle(), fresh);
    EXPECT_EQ(Options().GetRecentFile(1), fresh);
    std::unique_ptr<TmyIcon> back;
    ASSERT_TRUE(TmyIcoIO(false).LoadFromFile(back, fresh));
    EXPECT_EQ(back->Image(0).Width(), 2);
    EXPECT_EQ(back->Image(0).Height(), 3);

    // Save on a document with a path writes without asking.
    desk->Saved = false;
    Trigger("actnSave");
    EXPECT_TRUE(desk->Saved);
    EXPECT_EQ(m_dialogs.Count(Kind::Save), 2);
    EXPECT_EQ(m_dialogs.Unexpected, 0);
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheOldFileTheWindowAndTheUnsavedState)
{
    Start();
    const QString path = Write(QStringLiteral("keep.ico"), IconBytes(16, 16, 50));
    const QByteArray before = Read(path);
    ASSERT_TRUE(m_main->OpenDocumentFile(path));
    TfrmDesk* desk = m_main->ActiveDesk();
    desk->Icon->AddImage(64, 64, 32); // more than the file limit below allows
    desk->Saved = false;
    for (int i = 1; i <= 10; ++i)
        Options().SetRecentFile(i, QString());

    // A full disk: writes beyond 256 bytes fail.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 256;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    Trigger("actnSave");

    // Yes to the close question, then the same failure: the window stays.
    m_dialogs.Answers = {TAnswer::Yes};
    Trigger("actClose");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(m_dialogs.Count(Kind::Error) + m_dialogs.Count(Kind::Warning), 2);
    EXPECT_EQ(Read(path), before);
    EXPECT_FALSE(desk->Saved);
    EXPECT_EQ(m_main->DeskCount(), 1);
    EXPECT_TRUE(Options().GetRecentFile(1).isEmpty());
    const QStringList leftovers = QDir(m_dir.path()).entryList(QDir::Files);
    EXPECT_EQ(leftovers, QStringList{QStringLiteral("keep.ico")});

    // Yes, then a cancelled Save As, keeps an untitled window open too.
    NewChangedDocument();
    m_dialogs.Answers = {TAnswer::Yes};
    m_dialogs.SaveResults.push_back(std::nullopt);
    Trigger("actClose");
    EXPECT_EQ(m_main->DeskCount(), 2);
}

TEST_F(MainWindowTest, SaveOnACursorGoesThroughSaveAsSuggestingAnIconName)
{
    Start();
    const QString cursor = Write(QStringLiteral("pointer.cur"), CursorBytes());
    const QByteArray before = Read(cursor);
    ASSERT_TRUE(m_main->OpenDocumentFile(cursor));
    TfrmDesk* desk = m_main->ActiveDesk();
    desk->Saved = false;
    m_dialogs.SaveResults.push_back(std::nullopt);
    Trigger("actnSave");
    ASSERT_EQ(m_dialogs.Count(Kind::Save), 1);
    EXPECT_EQ(m_dialogs.Log.back().request.fileName, QStringLiteral("pointer.ico"));
    EXPECT_EQ(Read(cursor), before);
    EXPECT_FALSE(desk->Saved);
}

TEST_F(MainWindowTest, SaveAsOfACursorNameWritesTheIconNameAndSaysSo)
{
    Start();
    TfrmDesk* desk = NewChangedDocument();
    const QString asked = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("hand.CUR"));
    const QString written = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("hand.ico"));
    const QByteArray old = IconBytes(16, 16, 9);
    Write(QStringLiteral("hand.ico"), old);

    // The overwrite question is about the icon's name; No writes nothing.
    m_dialogs.SaveResults = {asked, asked};
    m_dialogs.Answers = {TAnswer::No, TAnswer::Yes};
    EXPECT_FALSE(m_main->actnSaveAsExecute());
    ASSERT_EQ(m_dialogs.Texts(Kind::YesNo).size(), 1);
    EXPECT_EQ(m_dialogs.Texts(Kind::YesNo).front(), QStringLiteral("hand.ico already exists! Overwrite?"));
    EXPECT_EQ(Read(written), old);

    EXPECT_TRUE(m_main->actnSaveAsExecute());
    EXPECT_FALSE(QFileInfo::exists(asked));
    EXPECT_NE(Read(written), old);
    EXPECT_EQ(desk->FilePath(), written);
    EXPECT_TRUE(desk->Saved);
    const QStringList told = m_dialogs.Texts(Kind::Information);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told.front().contains(QStringLiteral("hand.ico"))) << told.front().toStdString();
    EXPECT_EQ(Options().GetRecentFile(1), written);
}

TEST_F(MainWindowTest, DroppedFilesOpenFromAQueuedCallAndStopAtAFailure)
{
    Start();
    const QString a = Write(QStringLiteral("a.ico"), IconBytes(16, 16, 1));
    const QString bad = Write(QStringLiteral("bad.ico"), DamagedIconBytes());
    const QString c = Write(QStringLiteral("c.ico"), IconBytes(16, 16, 3));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(bad), QUrl::fromLocalFile(c),
                  QUrl(QStringLiteral("https://example.org/x.ico"))});

    const QPointF at(50, 50);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_main.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_main.get(), &drop);
    EXPECT_EQ(m_main->DeskCount(), 0); // nothing runs while the dragging program waits
    QCoreApplication::processEvents();
    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->FilePath(), a);

    QMimeData text;
    text.setText(QStringLiteral("just text"));
    QDragEnterEvent refused(at.toPoint(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(m_main.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MainWindowTest, ACommandThatThrowsEndsInAnErrorBox)
{
    Start();
    m_main->RunCommand(nullptr, [] { throw glimt::Error(QStringLiteral("it broke")); });
    m_main->RunCommand(nullptr, [] { throw std::runtime_error("plain failure"); });
    EXPECT_EQ(m_dialogs.Texts(Kind::Error), (QStringList{"it broke", "plain failure"}));
}

TEST_F(MainWindowTest, TileAndCascadePlaceTheWindowsInSlotOrder)
{
    Options().ToolsLeft = 0;
    Start();
    m_main->resize(900, 700);
    QCoreApplication::processEvents();
    for (int n = 0; n < 5; ++n)
        NewChangedDocument();
    // The tool window, stored at the work area's left edge, is docked there: the windows are
    // arranged right of it.
    const int L = m_main->DockMngr.DockedWidthLeft();
    ASSERT_GT(L, 0);
    ASSERT_EQ(m_main->DockMngr.DockedWidth(), L);
    const int W = m_main->Panel1()->viewport()->width() - L;
    const int H = m_main->Panel1()->viewport()->height();
    Trigger("actTile"); // 5 windows: 2 columns, 3 rows
    auto geometry = [this](int slot) { return m_main->Desk(slot)->parentWidget()->geometry(); };
    EXPECT_EQ(geometry(1).topLeft(), QPoint(L, 0));
    EXPECT_EQ(geometry(2).topLeft(), QPoint(L + W / 2, 0));
    EXPECT_EQ(geometry(3).topLeft(), QPoint(L, H / 3));
    EXPECT_EQ(geometry(5).topLeft(), QPoint(L, 2 * (H / 3)));
    EXPECT_EQ(geometry(5).size(), QSize(W / 2, H / 3));

    Trigger("actTileVert");
    EXPECT_EQ(geometry(3), QRect(L + 2 * (W / 5), 0, W / 5, H));

    Trigger("actCascade");
    EXPECT_EQ(geometry(1).size(), QSize(645, 580));
    EXPECT_EQ(geometry(1).topLeft(), QPoint(L, 0));
    // The active window (slot 5) comes last, one step after slot 4.
    EXPECT_GT(geometry(5).top(), geometry(4).top());
}

TEST_F(MainWindowTest, TheChosenLanguageTranslatesMenusActionsAndDialogFilters)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Languages")));
    // Menu titles are addressed by position: the bar's list is counted as 1, the File menu's
    // as 2 and its Recent Files submenu as 3, so the Edit menu (the bar's item 1) reads 3-1.
    const int recentAt = m_main->Menu(QStringLiteral("File"))->actions().indexOf(m_main->RecentFilesMenu()->menuAction());
    ASSERT_GE(recentAt, 0);
    // The extension in capitals: the file is still the language "Test".
    Write(QStringLiteral("Languages/Test.LNG"),
          "[frmMain]\nactnOpen.Caption=Oeffnen...\n"
          "[Menu]\n1-0.Menu=&Datei\n2-" + QByteArray::number(recentAt) + ".Menu=&Zuletzt\n3-1.Menu=&Bearbeiten\n"
          "[MSG]\nmsgIco=Windows-Symbol\nmsgAlreadyOpen=Schon offen!\nmsgUntitled=Unbenannt\n"
          "[frmCanvas]\nbtnGrid.Hint=Raster\n");
    m_main->SetProgramFolder(m_dir.path());
    Options().Language = QStringLiteral("Test");
    Start();
    EXPECT_EQ(NewChangedDocument()->windowTitle(), QStringLiteral("Unbenannt - 1"));
    Lang().SetFileName(QString()); // later tests see the English defaults again

    EXPECT_EQ(m_main->Action(QStringLiteral("actnOpen"))->text(), QStringLiteral("Oeffnen..."));
    EXPECT_EQ(m_main->Action(QStringLiteral("actnSaveAs"))->text(), QStringLiteral("SaveAs..."));
    EXPECT_EQ(m_main->RecentFilesMenu()->title(), QStringLiteral("&Zuletzt"));
    EXPECT_EQ(m_main->Menu(QStringLiteral("Edit"))->title(), QStringLiteral("&Bearbeiten"));
    QStringList languages;
    for (QAction* a : m_main->Menu(QStringLiteral("Languages"))->actions())
        if (a->isCheckable())
            languages << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(languages, QStringList{QStringLiteral("Test*")});

    m_dialogs.OpenResults.push_back(std::nullopt);
    Trigger("actnOpen");
    ASSERT_EQ(m_dialogs.Count(Kind::Open), 1);
    EXPECT_TRUE(m_dialogs.Log.back().request.filter.startsWith(QStringLiteral("Windows-Symbol (*.ico)")));
}

TEST_F(MainWindowTest, PlusAndMinusZoomTheActiveDocumentWhateverHasTheFocus)
{
    Start();
    QKeyEvent plusWithoutDocument(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QApplication::sendEvent(m_main.get(), &plusWithoutDocument);

    TfrmDesk* desk = NewChangedDocument();
    desk->cmbZoom->setCurrentIndex(4);
    desk->cmbZoom->activated(4);
    const int before = desk->Zoom;
    QWidget* focus = desk->cmbImages;
    focus->setFocus();
    QApplication::setActiveWindow(m_main.get());
    ASSERT_EQ(QApplication::focusWidget(), focus);
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"));
    QApplication::sendEvent(focus, &minus);
    EXPECT_EQ(desk->Zoom, before - 1);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QApplication::sendEvent(focus, &plus);
    QApplication::sendEvent(focus, &plus);
    EXPECT_EQ(desk->Zoom, before + 1);
}

TEST_F(MainWindowTest, NewAsksForTheFirstImageAndCancelLeavesNoDocument)
{
    Start();
    // Answers the modal new-image dialog once it runs, recording whether its source group was
    // hidden at that moment.
    auto answer = [this](bool ok, bool* sourceHidden) {
        QTimer::singleShot(0, m_main.get(), [this, ok, sourceHidden] {
            TfrmNewImage* dialog = m_main->NewImageDialog();
            *sourceHidden = !dialog->SourceGroupShown();
            dialog->NewWidth = 16;
            dialog->NewHeight = 16;
            dialog->NewDepth = 8;
            (ok ? dialog->btnOK : dialog->btnCancel)->click();
        });
    };

    bool hidden = false;
    answer(true, &hidden);
    Trigger("actnNew");
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(m_main->NewImageDialog()->SourceGroupShown());
    ASSERT_EQ(m_main->DeskCount(), 1);
    TfrmDesk* desk = m_main->ActiveDesk();
    ASSERT_NE(desk, nullptr);
    EXPECT_TRUE(desk->parentWidget()->isVisible());
    ASSERT_EQ(desk->Icon->Count(), 1);
    EXPECT_TRUE(m_main->Action(QStringLiteral("actnSave"))->isEnabled());

    hidden = false;
    answer(false, &hidden);
    Trigger("actnNew");
    EXPECT_TRUE(hidden);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->ActiveDesk(), desk);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(MainWindowTest, SelectionDraggedOntoTheWorkAreaBecomesAnUnsavedUntitledDocument)
{
    TfrmTools tools;
    glimt::IToolEngine* previousTools = glimt::ToolEngine();
    glimt::SetToolEngine(&tools);
    Start();
    TmyImagePal picture(6, 8, 32);
    picture.Zoom = 4;
    picture.Fill(TmyPixel::CreateRGBA(0, 0, 255, 255));
    picture.Pixel(2, 1) = TmyPixel::CreateRGBA(255, 0, 0, 255);
    ASSERT_TRUE(m_main->CreateDocumentFromImage(picture));
    TfrmDesk* source = m_main->ActiveDesk();
    source->Saved = true;
    source->parentWidget()->setGeometry(0, 0, 300, 250);
    source->CenterImage();
    tools.PressToolButton(glimt::toolSelection);
    tools.LiftSelection(1, 1, 2, 2);
    ASSERT_EQ(tools.SelectionDocumentSlot(), 1);

    QWidget* layer = source->ImgSel;
    const QWidget* area = m_main->Panel1()->viewport();
    const QPoint empty = area->mapToGlobal(QPoint(area->width() - 20, area->height() - 20));
    QTest::mousePress(layer, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(layer, layer->mapFromGlobal(empty));
    QTest::mouseRelease(layer, Qt::LeftButton, {}, layer->mapFromGlobal(empty));

    ASSERT_EQ(m_main->DeskCount(), 2);
    TfrmDesk* made = m_main->ActiveDesk();
    ASSERT_EQ(made, m_main->Desk(2));
    EXPECT_TRUE(made->FilePath().isEmpty());
    EXPECT_FALSE(made->Saved);
    EXPECT_TRUE(source->Saved);
    EXPECT_EQ(tools.SelectionDocumentSlot(), 2);
    tools.DropSelection();
    const TmyImagePal& image = *made->CurrentImage();
    ASSERT_EQ(QSize(image.Width(), image.Height()), QSize(2, 2));
    EXPECT_EQ(image.Pixel(1, 0), TmyPixel::CreateRGBA(255, 0, 0, 255));
    EXPECT_EQ(image.Pixel(0, 1), TmyPixel::CreateRGBA(0, 0, 255, 255));

    // Closing it asks to save.
    m_dialogs.Answers.push_back(TAnswer::No);
    made->parentWidget()->close();
    EXPECT_EQ(m_dialogs.Count(Kind::YesNoCancel), 1);
    glimt::SetToolEngine(previousTools);
}

TEST_F(MainWindowTest, TheBrushOutlineLivesInTheMainWindowOverTheDocumentAndStopsAtClose)
{
    Start();
    TfrmBrush* brush = m_main->BrushWindow();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->parentWidget(), m_main.get());
    EXPECT_EQ(frmBrush(), brush);
    EXPECT_FALSE(brush->isVisible());

    ASSERT_NE(m_main->Tools(), nullptr);
    TfrmTools& tools = *m_main->Tools();
    TfrmDesk* desk = NewChangedDocument();
    ASSERT_NE(desk, nullptr);
    desk->Saved = true;
    QCoreApplication::processEvents();
    tools.PressToolButton(glimt::toolBrush);
    tools.PressSizeKey(3);
    ASSERT_TRUE(brush->Timer1->isActive());
    const int zoom = desk->Zoom;
    brush->FollowCursor(desk->Image1->mapToGlobal(QPoint(zoom + 1, zoom + 1)));
    ASSERT_TRUE(brush->isVisible());
    const QPoint ringOnCanvas = desk->Image1->mapFromGlobal(brush->mapToGlobal(brush->WindowRegion().boundingRect().topLeft()));
    EXPECT_EQ(ringOnCanvas, QPoint(-1, -1)) << "cell (1, 1) is the centre of the size-3 ring";
    // Over the work area, under the docked tool windows.
    const QObjectList& layers = m_main->children();
    QObject* toolFrame = m_main->ToolFrame(TDockMngr::SlotTools);
    ASSERT_NE(toolFrame, nullptr);
    EXPECT_EQ(layers.indexOf(brush), layers.indexOf(m_main->Panel1()) + 1);
    EXPECT_LT(layers.indexOf(brush), layers.indexOf(toolFrame));

    EXPECT_TRUE(m_main->close());
    EXPECT_FALSE(brush->Timer1->isActive());
    EXPECT_FALSE(brush->isVisible());
}

TEST_F(MainWindowTest, PropertiesShowsTheActiveDocumentModallyAndOkClosesIt)
{
    Start();
    QAction* prop = m_main->Action(QStringLiteral("actnProp"));
    ASSERT_NE(prop, nullptr);
    EXPECT_FALSE(prop->isEnabled()) << "no document";
    EXPECT_EQ(prop->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Return));
    ASSERT_NE(NewChangedDocument(), nullptr);
    m_main->ActiveDesk()->Saved = true;
    EXPECT_TRUE(prop->isEnabled());

    QString shown;
    bool modal = false;
    QTimer::singleShot(0, m_main.get(), [&] {
        TfrmProperties* dialog = m_main->PropertiesDialog();
        modal = dialog->isModal() && dialog->isVisible();
        shown = dialog->lblImageNo->text() + QLatin1Char('|') + dialog->lblSize->text();
        dialog->btnOK->click();
    });
    Trigger("actnProp");
    EXPECT_TRUE(modal);
    // One image 2 wide and 3 high: header 40, colour rows 3 x 8, mask rows 3 x 4; then the file
    // header 6 and one directory entry 16.
    EXPECT_EQ(shown, QStringLiteral("Image Number: 1|Size: 98 bytes"));
    EXPECT_FALSE(m_main->PropertiesDialog()->isVisible());
    EXPECT_TRUE(m_main->PropertiesDialog()->Rows().empty());
    EXPECT_EQ(m_main->Menu(QStringLiteral("Icon"))->actions().last(), prop);
}

// --- the colour panel ------------------------------------------------------------------------

namespace {

using glimt::test::Px;

// A new untitled document of one red 2 x 3 image of `depth` bits.
TfrmDesk* DocumentOfDepth(TfrmMain& main, int depth)
{
    TmyImagePal image(3, 2, depth);
    image.Fill(TmyPixel::CreateRGBA(255, 0, 0, 255));
    EXPECT_TRUE(main.CreateDocumentFromImage(image));
    return main.ActiveDesk();
}

} // namespace

TEST_F(MainWindowTest, ColorsViewColorsTogglesThePanel)
{
    TfrmColors& colors = *m_main->ColorPanel();
    Start();
    QAction* a = m_main->Action(QStringLiteral("actnColors"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QStringLiteral("Colors"));
    EXPECT_EQ(a->property("category").toString(), QStringLiteral("View"));
    EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    EXPECT_TRUE(m_main->Menu(QStringLiteral("View"))->actions().contains(a));
    EXPECT_TRUE(a->isChecked()) << "shown by default";
    EXPECT_TRUE(colors.isVisible());
    EXPECT_EQ(frmColors(), &colors);

    a->trigger();
    EXPECT_FALSE(a->isChecked());
    EXPECT_FALSE(colors.isVisible());
    a->trigger();
    EXPECT_TRUE(colors.isVisible());
    QTest::mouseClick(static_cast<QWidget*>(ColorsFrame()->Caption()->CloseButton), Qt::LeftButton);
    EXPECT_FALSE(a->isChecked()) << "closing the panel unchecks the command";
}

TEST_F(MainWindowTest, ColorsLayoutAndColoursComeFromTheSettings)
{
    TfrmColors& colors = *m_main->ColorPanel();
    TOptions& o = Options();
    o.ShowRGB = false;
    o.ColorsVisible = false;
    o.ColorsLeft = 123;
    o.ColorsTop = 45;
    o.FavoritColorPosition = 7;
    o.ForeColor = Px(10, 20, 30, 40);
    o.BackColor = Px(1, 2, 3, 4);
    Start();
    EXPECT_TRUE(colors.btnHSB->isChecked());
    EXPECT_FALSE(colors.Panel4->isHidden());
    EXPECT_FALSE(m_main->Action(QStringLiteral("actnColors"))->isChecked());
    EXPECT_TRUE(ColorsFrame()->isHidden());
    EXPECT_EQ(ColorsFrame()->pos(), QPoint(123, 45));
    EXPECT_EQ(colors.GetFavoriteIndex(), 7);
    EXPECT_EQ(colors.ForeColor(), Px(10, 20, 30, 40));
    EXPECT_EQ(colors.BackColor(), Px(1, 2, 3, 4));
    EXPECT_EQ(colors.Edits[0]->text(), QStringLiteral("10"));
    EXPECT_EQ(colors.Edits[3]->text(), QStringLiteral("40"));
    EXPECT_EQ(colors.FavoritesPicture().pixel(2 * 12 + 6, 12 + 6), qRgb(10, 20, 30))
        << "the selected favourite shows the fore colour";
}

TEST_F(MainWindowTest, ColorsClosingStoresTheLayoutColoursAndFavourites)
{
    TfrmColors& colors = *m_main->ColorPanel();
    Start();
    colors.btnHSB->click();
    colors.SetFavoriteIndex(12);
    colors.PickForeColor(Px(200, 100, 50, 255));
    colors.PickBackColor(Px(5, 6, 7, 0));
    ColorsFrame()->move(60, 70);
    m_main->close();

    const TOptions& o = Options();
    EXPECT_FALSE(o.ShowRGB);
    EXPECT_TRUE(o.ColorsVisible);
    EXPECT_EQ(o.FavoritColorPosition, 12);
    EXPECT_EQ(o.ForeColor, Px(200, 100, 50, 255));
    EXPECT_EQ(o.BackColor, Px(5, 6, 7, 0));
    EXPECT_EQ(o.ColorsLeft, 60);
    EXPECT_EQ(o.ColorsTop, 70);
    ASSERT_TRUE(QFile::exists(QDir(m_dir.path()).absoluteFilePath(QStringLiteral("Glimt/colors.dat"))));
    const QImage stored = glimt::LoadFavoritesFile(QDir(m_dir.path()).absoluteFilePath(QStringLiteral("Glimt/colors.dat")));
    EXPECT_EQ(stored, colors.FavoritesPicture());
    EXPECT_EQ(stored.pixel(2 * 12 + 1, 2 * 12 + 1), qRgb(200, 100, 50));

    // The next run starts from the stored picture.
    m_main.reset();
    m_main = std::make_unique<TfrmMain>();
    EXPECT_EQ(m_main->ColorPanel()->FavoritesPicture(), stored);
}

TEST_F(MainWindowTest, ColorsFavouritesThatCannotBeStoredDoNotStopTheClose)
{
    Start();
    QDir(m_dir.path()).mkpath(QStringLiteral("Glimt/colors.dat")); // a folder in its way
    m_main->close();
    EXPECT_FALSE(m_main->isVisible());
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(MainWindowTest, ColorsTheShownDocumentsPaletteAndDepthReachThePanel)
{
    TfrmColors& colors = *m_main->ColorPanel();
    Start();
    TfrmDesk* paletted = DocumentOfDepth(*m_main, 8);
    EXPECT_FALSE(colors.Image6->isHidden());
    EXPECT_TRUE(colors.Image1->isHidden());
    EXPECT_EQ(colors.Image6->size(), QSize(160, 160));
    EXPECT_TRUE(colors.ScrollBars[3]->isHidden()) << "no opacity below 32 bits";
    EXPECT_EQ(colors.ForeColor(), paletted->CurrentImage()->Palette->Colors[0]);

    DocumentOfDepth(*m_main, 32);
    EXPECT_TRUE(colors.Image6->isHidden());
    EXPECT_FALSE(colors.ScrollBars[3]->isHidden());

    paletted->ActivateDocument();
    EXPECT_FALSE(colors.Image6->isHidden());

    for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
        m_main->Desk(slot)->Saved = true;
    m_main->actCloseAllExecute();
    ASSERT_EQ(m_main->DeskCount(), 0);
    EXPECT_TRUE(colors.Image6->isHidden());
    EXPECT_FALSE(colors.Image1->isHidden());
    EXPECT_FALSE(colors.ScrollBars[3]->isHidden());
}

TEST_F(MainWindowTest, ColorsPreferencesRedrawTheSwatches)
{
    TfrmColors& colors = *m_main->ColorPanel();
    Start();
    colors.PickBackColor(Px(0, 0, 0, 0));
    Options().Color2 = 0x0000FF;
    m_main->ApplyPreferences(false);
    EXPECT_EQ(colors.Image4->Picture.pixel(0, 0), qRgb(254, 0, 0));
}
