#include "editor/ToolFrame.h"
#include "shell/formExplorer.h"

#include "editor/ToolEngine.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "editor/thumbnail.h"
#include "engine/MyIcoIO.h"
#include "engine/PngCodec.h"
#include "engine/Settings.h"
#include "shell/formBatch.h"
#include "shell/formMain.h"
#include "tests/shell/ShellFixtures.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileSystemModel>
#include <QPointer>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>
#include <QTest>
#include <QToolButton>
#include <QListWidget>
#include <QMenu>
#include <QTreeView>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class ExplorerTest : public glimt::test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_a = m_files.Write("a.ico", glimt::test::IconFileOf(1, {glimt::test::DibImage(16, 16, 32)}));
        m_b = m_files.Write("b.png", glimt::EncodePng(TmyImage(2, 3)));
        m_files.Write("c.txt", "not a picture");
    }

    // Shows the explorer on the test folder.
    TfrmExplorer* Show()
    {
        QAction* action = m_main->Action(QStringLiteral("actExplorer"));
        EXPECT_FALSE(action->isChecked());
        action->trigger();
        TfrmExplorer* explorer = m_main->ExplorerWindow();
        explorer->SelectFolder(QFileInfo(m_a).absolutePath());
        return explorer;
    }

    glimt::TToolFrame* Frame() const { return m_main->ToolFrame(TDockMngr::SlotExplorer); }
    glimt::test::TempFiles m_files;
    QString m_a, m_b;
};

} // namespace

TEST_F(ExplorerTest, ShowsTheFoldersPicturesAndHidingByItsCloseBoxUnchecksTheAction)
{
    TfrmExplorer* explorer = Show();
    EXPECT_TRUE(explorer->isVisible());
    ASSERT_NE(Frame(), nullptr);
    EXPECT_EQ(explorer->parentWidget(), Frame());
    ASSERT_EQ(explorer->Thumbnails->Count(), 2);
    EXPECT_EQ(explorer->Thumbnails->Items[0]->FileName, m_a);
    EXPECT_TRUE(explorer->stTree->isEnabled());

    // Refresh loads the folder once, not once more for the tree's own reselection.
    const int loads = explorer->FoldersLoaded;
    const QPointer<QItemSelectionModel> oldSelection = explorer->stTree->selectionModel();
    const qsizetype selectionModels = explorer->findChildren<QItemSelectionModel*>().size();
    explorer->btnRefresh->click();
    EXPECT_EQ(explorer->FoldersLoaded, loads + 1);
    EXPECT_TRUE(explorer->TreeChangeEnabled);
    EXPECT_EQ(explorer->CurrentPath(), QFileInfo(m_a).absolutePath());
    // The tree reads the folders on demand only, and each refresh leaves nothing behind.
    auto* model = qobject_cast<QFileSystemModel*>(explorer->stTree->model());
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->testOption(QFileSystemModel::DontWatchForChanges));
    for (int round = 0; round < 3; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldSelection.isNull());
    EXPECT_EQ(explorer->findChildren<QFileSystemModel*>().size(), 1);
    EXPECT_EQ(explorer->findChildren<QItemSelectionModel*>().size(), selectionModels);

    QTest::mouseClick(static_cast<QWidget*>(Frame()->Caption()->CloseButton), Qt::LeftButton);
    EXPECT_FALSE(m_main->Action(QStringLiteral("actExplorer"))->isChecked());
    m_main->Action(QStringLiteral("actExplorer"))->trigger();
    EXPECT_TRUE(explorer->isVisible());
    m_main->Action(QStringLiteral("actExplorer"))->trigger();
    EXPECT_FALSE(explorer->isVisible());
}

// A FIFO in the folder, or a link to one, gets no tile: listing the folder never waits on it.
TEST_F(ExplorerTest, AFifoInTheFolderGetsNoTile)
{
    ASSERT_TRUE(glimt::test::MakeFifo(m_files.Path("pipe.ico")));
    ASSERT_TRUE(QFile::link(m_files.Path("pipe.ico"), m_files.Path("link.png")));
    TfrmExplorer* explorer = Show();
    ASSERT_EQ(explorer->Thumbnails->Count(), 2);
    EXPECT_EQ(explorer->Thumbnails->Items[0]->FileName, m_a);
    EXPECT_EQ(explorer->Thumbnails->Items[1]->FileName, m_b);
}

TEST_F(ExplorerTest, ToolBarSetsCaptionsAndTileSizeAndFollowsTheWidth)
{
    TfrmExplorer* explorer = Show();
    EXPECT_FALSE(explorer->Thumbnails->ShowCaption());
    explorer->btnFileName->click();
    EXPECT_TRUE(explorer->Thumbnails->ShowCaption());
    EXPECT_TRUE(explorer->btnFileName->isChecked());
    explorer->tbSize->setValue(60);
    EXPECT_EQ(explorer->Thumbnails->ThumbnailSize(), 60);
    Frame()->resize(300, 500);
    QCoreApplication::processEvents();
    const int wide = explorer->tbSize->width();
    Frame()->resize(200, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(explorer->ToolBar1->width(), explorer->width());
    EXPECT_EQ(explorer->tbSize->width(),
              explorer->ToolBar1->width() - explorer->btnRefresh->width() - explorer->btnFileName->width() - 10);
    EXPECT_LT(explorer->tbSize->width(), wide);

    // The layout goes into the settings and comes back from them.
    m_main->SaveLayout();
    EXPECT_TRUE(Options().ExplorerVisible);
    EXPECT_EQ(Options().ThumbSize, 60);
    EXPECT_TRUE(Options().ShowLabel);
    EXPECT_EQ(Options().ExplorerWidth, Frame()->width());
    const TOptions saved = Options();
    m_main.reset();
    Options() = saved;
    m_main = std::make_unique<TfrmMain>();
    m_main->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_main->FirstActivationDone());
    EXPECT_TRUE(m_main->Action(QStringLiteral("actExplorer"))->isChecked());
    TfrmExplorer* again = m_main->ExplorerWindow();
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(again->Thumbnails->ThumbnailSize(), 60);
    EXPECT_TRUE(again->Thumbnails->ShowCaption());
}

TEST_F(ExplorerTest, DoubleClickOpensTheSelectionAndThePopUpPresetsTheBatchDialog)
{
    TfrmExplorer* explorer = Show();
    ASSERT_EQ(explorer->Thumbnails->Count(), 2);
    explorer->Thumbnails->ClearSelection();
    explorer->Thumbnails->SelectItem(0);
    emit explorer->Thumbnails->OnItemDblClicked(explorer->Thumbnails);
    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->FilePath(), m_a);

    // Both tiles, pictures first: the batch dialog comes up in that mode with both files.
    explorer->Thumbnails->ClearSelection();
    explorer->Thumbnails->SelectItem(1);
    explorer->Thumbnails->SelectItem(0);
    QStringList listed;
    m_modals.Then([this] { return m_main->BatchDialog(); },
                  [&listed](QWidget* w) {
                      auto* dialog = static_cast<TfrmBatch*>(w);
                      EXPECT_TRUE(dialog->rbIconImage->isChecked());
                      listed = dialog->Files();
                      dialog->btnCancel->click();
                  });
    ASSERT_TRUE(explorer->pmExtract->actions().contains(m_main->Action(QStringLiteral("actBatch1"))));
    m_main->Action(QStringLiteral("actBatch1"))->trigger();
    EXPECT_EQ(listed, QStringList({m_b, m_a}));
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

namespace {

// Sends a drag's enter, move and drop of `data` to `target` at `pos`, as the platform would
// at the end of a drag; true when the target took the drop. The drop is served once queued
// events run.
bool SendDrop(QWidget* target, QPoint pos, const QMimeData& data)
{
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return enter.isAccepted() && drop.isAccepted();
}

// A point of the work area that no window covers.
QPoint EmptyWorkAreaPoint(QWidget* viewport)
{
    for (int y = 2; y < viewport->height(); y += 7)
        for (int x = 2; x < viewport->width(); x += 7)
            if (!viewport->childAt(x, y))
                return {x, y};
    ADD_FAILURE() << "the work area is covered";
    return {};
}

TEST_F(ExplorerTest, TilesDroppedOnTheEmptyWorkAreaOpenTheirFilesInSelectionOrder)
{
    TfrmExplorer* explorer = Show();
    ASSERT_EQ(explorer->Thumbnails->Count(), 2);
    QWidget* area = m_main->Panel1()->viewport();

    // Other drags are not the work area's: the main window's own file drop serves them.
    QMimeData plain;
    plain.setText(QStringLiteral("text"));
    EXPECT_FALSE(SendDrop(area, EmptyWorkAreaPoint(area), plain));

    explorer->Thumbnails->ClearSelection();
    explorer->Thumbnails->SelectItem(0);
    const TThumbnailDragData tiles(explorer->Thumbnails);
    EXPECT_TRUE(SendDrop(area, EmptyWorkAreaPoint(area), tiles));
    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(m_main->Desk(1)->FilePath(), m_a);

    // Over a document window's frame and bars the tiles are refused; its canvas takes them.
    TfrmDesk* desk = m_main->Desk(1);
    EXPECT_FALSE(SendDrop(area, desk->ToolBar1->mapTo(area, QPoint(2, 2)), tiles));
    EXPECT_EQ(m_main->DeskCount(), 1);

    // Files dragged from other programs still reach the main window's own drop through it.
    const QString other = m_files.Write("d.ico", glimt::test::IconFileOf(1, {glimt::test::DibImage(16, 16, 32)}));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(other)});
    EXPECT_TRUE(SendDrop(area, EmptyWorkAreaPoint(area), files));
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_main->Desk(2)->FilePath(), other);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(ExplorerTest, ATileDroppedOnACanvasFloatsThereAsASquareSelection)
{
    TfrmExplorer* explorer = Show();
    ASSERT_TRUE(m_main->OpenDocumentFile(m_a));
    TfrmDesk* desk = m_main->ActiveDesk();
    ASSERT_NE(desk, nullptr);
    const TmyImagePal before = *desk->CurrentImage();
    desk->Saved = true;

    explorer->Thumbnails->ClearSelection();
    explorer->Thumbnails->SelectItem(1); // b.png, 2 x 3
    const TThumbnailDragData tiles(explorer->Thumbnails);
    QMimeData plain;
    EXPECT_FALSE(SendDrop(desk->Image1, QPoint(3, 3), plain));
    EXPECT_TRUE(SendDrop(desk->Image1, QPoint(3, 3), tiles));

    const tmyselection& s = *m_main->Tools()->Selection();
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_EQ(s.DocumentSlot, desk->Tag);
    // The 2 x 3 picture on a square canvas of its longer side (within the 16-wide image).
    EXPECT_EQ(s.Image.Width(), 3);
    EXPECT_EQ(s.Image.Height(), 3);
    EXPECT_EQ(s.Image.BitDepth, 32);
    EXPECT_TRUE(s.OriginalImage.SamePixels(s.Image));
    EXPECT_EQ(m_main->Tools()->CurrentTool(), glimt::toolSelection);
    EXPECT_FALSE(desk->ImgSel->isHidden());
    EXPECT_EQ(desk->ImgSel->pos(), desk->Image1->pos());
    // Floating, not yet merged: the document is as it was.
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(before));
    EXPECT_TRUE(desk->Saved);

    // A file gone since the folder was listed gives its warning and leaves the selection alone.
    const TmyImagePal floating = s.Image;
    explorer->Thumbnails->ClearSelection();
    explorer->Thumbnails->SelectItem(0);
    ASSERT_TRUE(QFile::remove(m_a));
    EXPECT_TRUE(SendDrop(desk->ImgSel, QPoint(1, 1), tiles));
    EXPECT_EQ(m_dialogs.Texts(glimt::test::FakeDialogs::Kind::Warning).size(), 1);
    EXPECT_TRUE(s.Image.SamePixels(floating));
    EXPECT_EQ(s.DocumentSlot, desk->Tag);
}

} // namespace
