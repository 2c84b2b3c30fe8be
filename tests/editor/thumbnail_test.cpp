#include "editor/thumbnail.h"

#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "tests/support/TestPaths.h"

#include <QApplication>
#include <QMouseEvent>
#include <QFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// A shown view with `n` tiles of 100 pixels, no captions.
struct View {
    TThumbail view;
    explicit View(int n, TSelectMode mode = TSelectMode::smMultiple)
    {
        view.SelectionMode = mode;
        view.SetThumbnailSize(100);
        view.resize(400, 300);
        for (int i = 0; i < n; ++i)
            view.AddItem();
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    TThumbnailItem* tile(int i) { return view.Items[std::size_t(i)]; }
    void click(int i, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(tile(i), Qt::LeftButton, mods, QPoint(50, 50));
    }
};

std::vector<int> Flags(const TThumbail& v)
{
    std::vector<int> on;
    for (std::size_t i = 0; i < v.Items.size(); ++i)
        if (v.Items[i]->Selected)
            on.push_back(int(i));
    return on;
}

} // namespace

TEST(TThumbail, TilesFillColumnsWithTheGap)
{
    // 300 - 17 - 4 = 279: two columns of 100, gap 39, left margin 19.
    EXPECT_EQ(glimt::TilePosition(300, 17, 100, 100, 0), QPoint(19, 5));
    EXPECT_EQ(glimt::TilePosition(300, 17, 100, 100, 1), QPoint(158, 5));
    EXPECT_EQ(glimt::TilePosition(300, 17, 100, 100, 2), QPoint(19, 110));
    // 231 - 17 - 4 = 210: two columns, gap 5 below 10, so the margin is 5.
    EXPECT_EQ(glimt::TilePosition(231, 17, 100, 120, 1), QPoint(110, 5));
    EXPECT_EQ(glimt::TilePosition(231, 17, 100, 120, 3), QPoint(110, 130));
    // Too narrow for one tile: still one column.
    EXPECT_EQ(glimt::TilePosition(50, 17, 100, 100, 1), QPoint(5, 110));
}

TEST(TThumbnailItem, PicturesFitWithoutEnlarging)
{
    TThumbnailItem tile(nullptr, 100, 0);
    EXPECT_EQ(tile.FitSize(32, 32, 32, 32), QSize(32, 32));
    EXPECT_EQ(tile.FitSize(200, 100, 100, 200), QSize(90, 45));
    EXPECT_EQ(tile.FitSize(100, 300, 300, 100), QSize(30, 90));
    EXPECT_EQ(tile.FitSize(0, 10, 10, 0), QSize(0, 0));
    // A graphic decoded at a reduced scale fits by the source's size.
    EXPECT_EQ(tile.FitSize(50, 25, 100, 200), QSize(90, 45));

    tile.SetGraphic(QImage(200, 100, QImage::Format_RGB32));
    EXPECT_EQ(tile.Bitmap.size(), QSize(90, 45));
}

TEST(TThumbnailItem, CaptionsShortenWithDots)
{
    TThumbnailItem tile(nullptr, 75, 0);
    EXPECT_EQ(tile.FitCaption(QStringLiteral("16x16")), QStringLiteral("16x16"));
    const QString longName = QStringLiteral("a-very-long-file-name-of-an-icon.ico");
    const QString fitted = tile.FitCaption(longName);
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("...")));
    EXPECT_LT(QFontMetrics(tile.font()).horizontalAdvance(fitted), tile.width());
    EXPECT_TRUE(longName.startsWith(fitted.chopped(3)));

    tile.SetFileName(QStringLiteral("/some/folder/pic.png"));
    EXPECT_EQ(tile.Caption, QStringLiteral("pic.png"));
    EXPECT_EQ(tile.FileName, QStringLiteral("/some/folder/pic.png"));
    tile.SetShowCaption(true);
    EXPECT_EQ(tile.size(), QSize(75, 95));
}

TEST(TThumbail, ClicksSelectByModeAndModifiers)
{
    View v(5);
    // Shift-click without an earlier click extends from tile 0.
    v.click(2, Qt::ShiftModifier);
    EXPECT_EQ(v.view.SelectedIndices, (std::vector<int>{0, 1, 2}));
    // Ctrl-click toggles one tile in and out.
    v.click(4, Qt::ControlModifier);
    EXPECT_EQ(v.view.SelectedIndices, (std::vector<int>{0, 1, 2, 4}));
    v.click(1, Qt::ControlModifier);
    EXPECT_EQ(v.view.SelectedIndices, (std::vector<int>{0, 2, 4}));
    // A plain click collapses the selection to its tile.
    v.click(2);
    EXPECT_EQ(v.view.SelectedIndices, std::vector<int>{2});
    EXPECT_EQ(Flags(v.view), std::vector<int>{2});

    View single(3, TSelectMode::smSingle);
    single.view.AlwaysSelected = true;
    single.click(1);
    single.click(2, Qt::ControlModifier);
    EXPECT_EQ(single.view.SelectedIndices, std::vector<int>{2});
    QTest::mouseClick(single.view.viewport(), Qt::LeftButton, {}, QPoint(390, 290));
    EXPECT_EQ(single.view.SelectedIndices, std::vector<int>{2}); // empty space keeps it

    View none(2, TSelectMode::smNone);
    none.click(1);
    EXPECT_TRUE(none.view.SelectedIndices.empty());
}

TEST(TThumbail, RubberBandReplacesAddsOrInverts)
{
    // Three tiles of 100 per row; a band from the top-left corner into the second tile
    // touches tiles 0 and 1. Tile 0 and tile 3 are selected before the band.
    struct Row {
        const char* name;
        Qt::KeyboardModifiers mods;
        std::vector<int> after;
    } rows[] = {
        {"plain band replaces", {}, {0, 1}},
        {"shift adds", Qt::ShiftModifier, {0, 1, 3}},
        {"ctrl inverts", Qt::ControlModifier, {1, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        View v(5);
        v.view.SelectIndex(0);
        v.view.SelectIndex(3);
        const QPoint start(2, 2);
        const QPoint end(v.tile(1)->x() + 10, 20);
        QWidget* vp = v.view.viewport();
        QTest::mousePress(vp, Qt::LeftButton, row.mods, start);
        // QTest's moves carry no modifiers; the band reads them from the event.
        QMouseEvent move(QEvent::MouseMove, QPointF(end), vp->mapToGlobal(QPointF(end)), Qt::NoButton, Qt::LeftButton, row.mods);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, row.mods, end);
        EXPECT_EQ(v.view.SelectedIndices, row.after);
        EXPECT_EQ(Flags(v.view), row.after);
    }
}

TEST(TThumbail, IconImagesBecomeCaptionedTiles)
{
    TmyIcon icon;
    icon.AddImage(16, 16, 1);
    icon.AddImage(32, 48, 4);
    icon.AddImage(256, 256, 32);
    icon.Image(2).Fill(TmyPixel::CreateRGBA(255, 0, 0, 255));
    TThumbail view;
    view.SetShowCaption(true);
    view.SetThumbnailSize(75);
    view.LoadIconImages(icon);
    ASSERT_EQ(view.Count(), 3);
    EXPECT_EQ(view.Items[0]->Caption, QStringLiteral("16x16 - 2"));
    EXPECT_EQ(view.Items[1]->Caption, QStringLiteral("48x32 - 16"));
    EXPECT_EQ(view.Items[2]->Caption, QStringLiteral("256x256 - XP"));
    EXPECT_EQ(view.Items[2]->Bitmap.size(), QSize(65, 65));
    EXPECT_EQ(view.Items[2]->Bitmap.pixel(30, 30), qRgb(254, 0, 0));
    EXPECT_FALSE(view.Busy);
    EXPECT_TRUE(view.SelectedIndices.empty());
}

TEST(TThumbail, FolderLoaderTilesIconsAndPicturesOnly)
{
    QTemporaryDir dir;
    TmyIcon icon;
    icon.AddImage(16, 16, 32).Fill(TmyPixel::CreateRGBA(0, 0, 255, 255));
    TmyIcoIO(false).SaveToFile(icon, dir.filePath(QStringLiteral("b.ico")), false);
    QImage(40, 20, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("a.png")));
    QFile text(dir.filePath(QStringLiteral("c.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    QFile broken(dir.filePath(QStringLiteral("d.ico")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("\0\0\1\0\5\0", 6)); // an icon header promising entries it lacks
    broken.close();

    QStatusBar status;
    TThumbail view;
    view.StatusBar = &status;
    view.SetThumbnailSize(100);
    // An Escape tapped a moment before (closing some dialog) does not stop the listing.
    glimt::InstallKeyStateFilter();
    QTest::keyClick(&status, Qt::Key_Escape);
    view.LoadFolder(dir.path());
    ASSERT_EQ(view.Count(), 3);
    EXPECT_EQ(view.Items[0]->Caption, QStringLiteral("a.png"));
    EXPECT_EQ(view.Items[0]->Bitmap.size(), QSize(40, 20));
    EXPECT_EQ(view.Items[1]->FileName, dir.filePath(QStringLiteral("b.ico")));
    EXPECT_EQ(view.Items[1]->Bitmap.pixel(8, 8), qRgb(0, 0, 254));
    EXPECT_TRUE(view.Items[2]->Bitmap.isNull()); // refused icon: a blank tile
    EXPECT_EQ(status.currentMessage(), QStringLiteral("3 objects"));
    EXPECT_FALSE(view.Busy);
}

TEST(TThumbail, ExecutableLoaderOnAFileWithoutIcons)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("x.exe")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("MZ but nothing more");
    file.close();
    QStatusBar status;
    TThumbail view;
    view.StatusBar = &status;
    view.AddItem();
    view.LoadExeIcons(file.fileName());
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(status.currentMessage(), QStringLiteral("0 objects"));
}

TEST(TThumbail, GifLoaderMakesOneTilePerFrameAndIgnoresOtherFiles)
{
    GLIMT_REQUIRE_TESTDATA();
    const QString gif = glimt::test::TestDataDir() + QStringLiteral("/gif-pygif/dispose-keep.gif");
    if (!QFile::exists(gif))
        GTEST_SKIP() << "no animated GIF in the corpora";
    TThumbail view;
    view.SetThumbnailSize(100);
    view.LoadGifFrames(gif, true);
    ASSERT_EQ(view.Count(), 4);
    EXPECT_EQ(view.Items[3]->Caption, QStringLiteral("Frame 4"));
    EXPECT_EQ(view.Items[0]->Bitmap.size(), QSize(2, 2));

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("p.png"));
    QImage(4, 4, QImage::Format_RGB32).save(png);
    view.LoadGifFrames(png, false);
    EXPECT_EQ(view.Count(), 4); // not a GIF: nothing changes
}

TEST(TThumbail, EachWheelNotchScrollsFiftyPixelsExceptWhileAButtonIsDownOnEmptySpace)
{
    View v(40);
    QScrollBar* bar = v.view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 300);
    const auto wheel = [&](QWidget* at, int angle) {
        QWheelEvent e(QPointF(5, 5), at->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, angle), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        // As from the window system (sendEvent would make it a synthesized one, which stays
        // with its receiver): from a tile it climbs to the view.
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(at, &e);
    };
    wheel(v.view.viewport(), -120);
    EXPECT_EQ(bar->value(), 50);
    wheel(v.tile(0), -240); // over a tile, two notches
    EXPECT_EQ(bar->value(), 150);
    wheel(v.view.viewport(), 60); // half a notch waits for the other half
    EXPECT_EQ(bar->value(), 150);
    wheel(v.view.viewport(), 60);
    EXPECT_EQ(bar->value(), 100);

    // With a button down on empty space (a band may be dragged) the wheel rests.
    const QPoint empty(v.view.viewport()->width() - 3, 3);
    QTest::mousePress(v.view.viewport(), Qt::LeftButton, {}, empty);
    wheel(v.view.viewport(), -120);
    EXPECT_EQ(bar->value(), 100);
    QTest::mouseRelease(v.view.viewport(), Qt::LeftButton, {}, empty);
    wheel(v.view.viewport(), -120);
    EXPECT_EQ(bar->value(), 150);
}
