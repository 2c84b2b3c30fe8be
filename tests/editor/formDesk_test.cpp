#include "editor/formDesk.h"

#include "editor/EditorHost.h"
#include "editor/KeyState.h"
#include "editor/UserDialogs.h"
#include "editor/thumbnail.h"
#include "engine/language.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::FakeDialogs;
using glimt::test::FakeTools;
using glimt::test::ScopedEditor;

namespace {

// A shown document window holding `icon`, at `zoom`, the first image current.
void Load(TfrmDesk& desk, const TmyIcon& icon, int zoom)
{
    *desk.Icon = icon;
    glimt::test::ShowDocument(desk, zoom, QSize(600, 400));
}

TmyIcon IconOf(std::initializer_list<std::array<int, 3>> formats) // width, height, depth
{
    TmyIcon icon;
    for (const auto& f : formats)
        icon.AddImage(f[1], f[0], f[2]);
    return icon;
}

QPoint CellCentre(int x, int y, int zoom)
{
    return QPoint(x * zoom + zoom / 2, y * zoom + zoom / 2);
}

} // namespace

TEST(TfrmDesk, CaptionFollowsPathOrUntitledNumber)
{
    TfrmDesk desk;
    desk.SetUntitled(3);
    EXPECT_EQ(desk.windowTitle(), QStringLiteral("Untitled - 3"));
    desk.SetFilePath(QStringLiteral("/tmp/a.ico"));
    EXPECT_EQ(desk.windowTitle(), QStringLiteral("/tmp/a.ico"));
    EXPECT_EQ(desk.CaptionFileName(), QStringLiteral("a.ico"));
    EXPECT_EQ(desk.UntitledNumber(), 0);
}

TEST(TfrmDesk, StrokeSendsPressMovesReleaseInCanvasPixelsWithOneSnapshot)
{
    for (int zoom : {1, 3, 10}) {
        SCOPED_TRACE(zoom);
        ScopedEditor editor;
        TfrmDesk desk;
        editor.tools.Desk = &desk;
        Load(desk, IconOf({{16, 8, 32}}), zoom);
        QWidget* canvas = desk.Image1;

        QTest::mousePress(canvas, Qt::LeftButton, {}, CellCentre(1, 2, zoom));
        QTest::mouseMove(canvas, CellCentre(4, 3, zoom));
        QTest::mouseMove(canvas, CellCentre(15, 7, zoom));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, CellCentre(15, 7, zoom));

        const auto& ev = editor.tools.Events;
        ASSERT_EQ(ev.size(), 4u);
        const std::uint8_t codes[] = {2, 1, 1, 0};
        const QPoint cells[] = {{1, 2}, {4, 3}, {15, 7}, {15, 7}};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(ev[i].code, codes[i]) << i;
            EXPECT_EQ(ev[i].button, 0) << i;
            EXPECT_EQ(QPoint(ev[i].x / zoom, ev[i].y / zoom), cells[i]) << i;
            EXPECT_TRUE(ev[i].hadBackup) << i;
        }
        EXPECT_EQ(desk.Undo->Position, 1);
        EXPECT_FALSE(desk.Saved);
        EXPECT_FALSE(desk.InStroke);
        EXPECT_EQ(desk.StrokeBackup, nullptr);
        EXPECT_EQ(desk.StrokeButton, 2);

        QTest::mousePress(canvas, Qt::RightButton, {}, CellCentre(0, 0, zoom));
        QTest::mouseRelease(canvas, Qt::RightButton, {}, CellCentre(0, 0, zoom));
        EXPECT_EQ(desk.Undo->Position, 2);
        EXPECT_EQ(ev.back().button, 1);
    }
}

TEST(TfrmDesk, ToolsThatChangeNoPixelsPushNoSnapshot)
{
    for (std::uint8_t tool : {1, 3, 13, 14}) {
        SCOPED_TRACE(int(tool));
        ScopedEditor editor;
        editor.tools.Tool = tool;
        TfrmDesk desk;
        Load(desk, IconOf({{4, 4, 32}}), 10);
        QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(desk.Image1, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(desk.Undo->Position, 0);
        EXPECT_TRUE(desk.Saved);
        EXPECT_EQ(editor.tools.Events.size(), 2u);
    }
}

TEST(TfrmDesk, EscapeCancelsTheStrokeAndTheReleaseAddsNothing)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{8, 8, 32}}), 5);
    QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(12, 12));
    QTest::keyPress(desk.Image1, Qt::Key_Escape);
    desk.Timer1Timer();
    QTest::keyRelease(desk.Image1, Qt::Key_Escape);
    QTest::mouseRelease(desk.Image1, Qt::LeftButton, {}, QPoint(12, 12));

    const auto& ev = editor.tools.Events;
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].code, 3);
    EXPECT_EQ(ev[1].x, 0);
    EXPECT_EQ(ev[1].y, 0);
    EXPECT_FALSE(desk.InStroke);
    EXPECT_FALSE(desk.Timer1->isActive());
}

TEST(TfrmDesk, ATapOfEscapeQuickerThanATickStillCancelsTheStroke)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{8, 8, 32}}), 5);
    QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(12, 12));
    QTest::keyClick(desk.Image1, Qt::Key_Escape); // down and up between two ticks
    desk.Timer1Timer();
    QTest::mouseRelease(desk.Image1, Qt::LeftButton, {}, QPoint(12, 12));
    const auto& ev = editor.tools.Events;
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].code, 3);
    EXPECT_FALSE(IsEscDown()) << "a tap is reported once";
}

TEST(TfrmDesk, MiddleButtonAndLostReleasesEndTheStroke)
{
    ScopedEditor editor;
    TfrmDesk desk;
    glimt::test::Elsewhere outside;
    Load(desk, IconOf({{8, 8, 32}}), 4);
    // Middle button: no snapshot and no press event; the first move ends the pending stroke
    // with a release that carries no button.
    QTest::mousePress(desk.Image1, Qt::MiddleButton, {}, QPoint(4, 4));
    EXPECT_TRUE(desk.InStroke);
    EXPECT_NE(desk.StrokeBackup, nullptr);
    EXPECT_TRUE(editor.tools.Events.empty());
    desk.Image1MouseMove(desk.Image1, 0, 5, 5);
    EXPECT_FALSE(desk.InStroke);
    ASSERT_EQ(editor.tools.Events.size(), 1u);
    EXPECT_EQ(editor.tools.Events[0].button, 2);
    EXPECT_EQ(editor.tools.Events[0].code, 0);
    EXPECT_EQ(desk.Undo->Position, 0);
    EXPECT_TRUE(desk.Saved);
    QTest::mouseRelease(&outside, Qt::MiddleButton);
    editor.tools.Events.clear();

    // A left release that happened outside the window: the next move without a button ends it.
    QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mousePress(desk.Image1, Qt::RightButton, {}, QPoint(4, 4)); // ignored during a stroke
    QTest::mouseRelease(&outside, Qt::RightButton);
    QTest::mouseRelease(&outside, Qt::LeftButton);
    desk.Image1MouseMove(desk.Image1, 0, 9, 9);
    ASSERT_EQ(editor.tools.Events.size(), 2u);
    EXPECT_EQ(editor.tools.Events[1].code, 0);
    EXPECT_EQ(editor.tools.Events[1].x, 9);
    EXPECT_FALSE(desk.InStroke);
    EXPECT_EQ(desk.Undo->Position, 1);
}

TEST(TfrmDesk, TheSideBarWidensForItsScrollBarAndItsCaptionsWhenTheyCome)
{
    ScopedEditor editor;
    TfrmDesk desk;
    // Two images: every tile is seen, no scroll bar; each caption reads whole.
    Load(desk, IconOf({{256, 256, 24}, {16, 16, 1}}), 1);
    QCoreApplication::processEvents();
    QScrollBar* bar = desk.Thumbnails->verticalScrollBar();
    const int tile = desk.Thumbnails->TileWidth();
    const QFontMetrics fm(desk.Thumbnails->Items[0]->font());
    EXPECT_GE(tile, 75);
    EXPECT_GE(tile, fm.horizontalAdvance(QStringLiteral("256x256 - True")));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(desk.pnlSideBar->width(), tile + 13);

    // Twelve images in a short window: the scroll bar comes, and the side bar makes room for
    // it beside the tiles, without any other call.
    desk.resize(600, 250);
    *desk.Icon = IconOf({{256, 256, 24}, {48, 48, 32}, {48, 48, 8}, {32, 32, 32}, {32, 32, 8}, {32, 32, 4},
                         {24, 24, 32}, {24, 24, 8}, {16, 16, 32}, {16, 16, 8}, {16, 16, 4}, {16, 16, 1}});
    desk.Icon->Current = 0;
    desk.FillImageCombo(true);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(desk.pnlSideBar->width(), desk.Thumbnails->TileWidth() + 13 + bar->width());
    const int barLeft = bar->mapTo(desk.pnlSideBar, QPoint(0, 0)).x();
    for (const TThumbnailItem* item : desk.Thumbnails->Items)
        EXPECT_LE(item->mapTo(desk.pnlSideBar, QPoint(item->width(), 0)).x(), barLeft) << "the tiles lie beside the bar";

    // Back to two images: the bar goes and the side bar narrows again.
    *desk.Icon = IconOf({{32, 32, 32}, {16, 16, 4}});
    desk.Icon->Current = 0;
    desk.FillImageCombo(true);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(desk.pnlSideBar->width(), desk.Thumbnails->TileWidth() + 13);
}

TEST(TfrmDesk, ImageListAndSideBarListEveryImageAndSwitchingClearsHistory)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{48, 48, 32}, {16, 16, 8}, {32, 24, 1}}), 10);
    ASSERT_EQ(desk.cmbImages->count(), 3);
    EXPECT_EQ(desk.cmbImages->itemText(0), QStringLiteral("48x48 - True Color+Alpha"));
    EXPECT_EQ(desk.cmbImages->itemText(1), QStringLiteral("16x16 - 256 Colors"));
    EXPECT_EQ(desk.cmbImages->itemText(2), QStringLiteral("32x24 - 2 Colors"));
    ASSERT_EQ(desk.Thumbnails->Count(), 3);
    EXPECT_EQ(desk.Thumbnails->Items[2]->Caption, QStringLiteral("32x24 - 2"));
    EXPECT_EQ(desk.Thumbnails->SelectedIndices, std::vector<int>{0});

    QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(desk.Image1, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(desk.Undo->Position, 1);

    TThumbnailItem* tile = desk.Thumbnails->Items[2];
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(desk.Icon->Current, 2);
    EXPECT_EQ(desk.cmbImages->currentIndex(), 2);
    EXPECT_EQ(desk.Undo->Position, 0);
    EXPECT_EQ(desk.Thumbnails->SelectedIndices, std::vector<int>{2});
    // Each image keeps its own zoom: 512 div 32 is above 10, so 10; the canvas follows it.
    EXPECT_EQ(desk.Image1->size(), QSize(320, 240));
}

TEST(TfrmDesk, ZoomButtonsStopAtTheLimits)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{3, 2, 32}}), 1);
    EXPECT_FALSE(desk.btnZoomOut->isEnabled());
    EXPECT_EQ(desk.Image1->size(), QSize(3, 2));
    desk.btnZoomOut->click(); // disabled: nothing
    EXPECT_EQ(desk.Zoom, 1);
    desk.cmbZoom->setCurrentIndex(8);
    QTest::mouseClick(desk.btnZoomIn, Qt::LeftButton);
    EXPECT_EQ(desk.Zoom, 10);
    EXPECT_EQ(desk.CurrentImage()->Zoom, 10);
    EXPECT_EQ(desk.Image1->size(), QSize(30, 20));
    EXPECT_FALSE(desk.btnZoomIn->isEnabled());
    EXPECT_EQ(desk.cmbZoom->currentText(), QStringLiteral("1000%"));
}

TEST(TfrmDesk, TurningTheGridOffRedrawsTheWholeCanvas)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{4, 4, 24}}), 8);
    desk.SetGrid(true);
    const QRgb board = desk.Image1->Bitmap.pixel(1, 1);
    EXPECT_NE(desk.Image1->Bitmap.pixel(8, 8), board); // a cell corner carries the grid
    desk.SetGrid(false);
    EXPECT_EQ(desk.Image1->Bitmap.pixel(8, 8), desk.Image1->Bitmap.pixel(9, 9));
    EXPECT_FALSE(desk.btnGrid->isChecked());
}

TEST(TfrmDesk, CloseQuestionOfAnUnsavedDocument)
{
    using glimt::TAnswer;
    struct Row {
        const char* name;
        TAnswer answer;
        bool saveSucceeds;
        bool closes;
    } rows[] = {
        {"cancel keeps the window", TAnswer::Cancel, false, false},
        {"no closes and loses the changes", TAnswer::No, false, true},
        {"yes and a save that worked closes", TAnswer::Yes, true, true},
        {"yes and a cancelled or failed save keeps the window", TAnswer::Yes, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedEditor editor;
        FakeDialogs dialogs;
        glimt::ScopedUserDialogs installed(&dialogs);
        dialogs.Answers.push_back(row.answer);
        TfrmDesk desk;
        Load(desk, IconOf({{16, 16, 32}}), 4);
        desk.SetFilePath(QStringLiteral("/tmp/some/doc.ico"));
        desk.Saved = false;
        editor.host.OnAction = [&](const QString& name) {
            if (name == QLatin1String("actnSave") && row.saveSucceeds)
                desk.Saved = true;
        };
        EXPECT_EQ(desk.close(), row.closes);
        EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::YesNoCancel), QStringList{QStringLiteral("Save changes to doc.ico ?")});
        EXPECT_EQ(editor.host.Released.size(), row.closes ? 1u : 0u);
        EXPECT_EQ(editor.host.Refused, row.closes ? 0 : 1);
        EXPECT_EQ(desk.Icon != nullptr, !row.closes);
        EXPECT_EQ(desk.CurrentImage() != nullptr, !row.closes);
    }
}

TEST(TfrmDesk, SavedDocumentClosesWithoutAsking)
{
    ScopedEditor editor;
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs installed(&dialogs);
    TfrmDesk desk;
    Load(desk, IconOf({{16, 16, 32}}), 4);
    EXPECT_TRUE(desk.close());
    EXPECT_EQ(dialogs.BoxCount(), 0);
    EXPECT_EQ(editor.host.Released, std::vector<int>{1});
}

TEST(TfrmDesk, StatusReadoutOfARectangleAndAGreyPixel)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{16, 16, 32}}), 4);
    desk.ShowToolStatus(0, 0, 15, 15, 0, 10);
    EXPECT_EQ(editor.host.Status, QStringLiteral("(0,0)-(16,16) W:16 H:16"));
    desk.CurrentImage()->Pixel(2, 3) = TmyPixel::CreateRGBA(128, 128, 128, 200);
    desk.ShowToolStatus(0, 0, 2, 3, 2, 13);
    EXPECT_EQ(editor.host.Status, QStringLiteral("(2,3)  R:128 G:128 B:128   H:0 S:0 B:50   Opacity:200"));
    desk.ShowToolStatus(0, 0, 2, 3, 2, 14);
    EXPECT_EQ(editor.host.Status, QStringLiteral("400%"));
}

namespace {

// A language file "Test.lng" of that content in `dir`; its path.
QString WriteLanguageFile(const QTemporaryDir& dir, const char* content)
{
    const QString path = dir.filePath(QStringLiteral("Test.lng"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

} // namespace

TEST(TfrmDesk, LanguageFileTranslatesHintsAndListTextsByComponentName)
{
    QTemporaryDir dir;
    const QString path = WriteLanguageFile(dir, "[frmCanvas]\r\nbtnGrid.Hint=Raster an/aus\r\ncmbImages.Hint=Bilder\r\n"
                                                "NewImage1.Caption=Neues Bild\r\n"
                                                "[MSG]\r\nmsgTrauColAlpha=Echtfarben+Alpha\r\n");
    Lang().SetFileName(path);
    {
        ScopedEditor editor;
        TfrmDesk desk;
        Load(desk, IconOf({{48, 48, 32}}), 4);
        EXPECT_EQ(desk.btnGrid->toolTip(), QStringLiteral("Raster an/aus"));
        EXPECT_EQ(desk.cmbImages->toolTip(), QStringLiteral("Bilder"));
        EXPECT_EQ(desk.btnZoomIn->toolTip(), QStringLiteral("Zoom In"));
        EXPECT_EQ(desk.cmbImages->itemText(0), QStringLiteral("48x48 - Echtfarben+Alpha"));
        EXPECT_EQ(desk.pmImages->actions().value(0)->text(), QStringLiteral("Neues Bild"));
    }
    Lang().SetFileName(QString());
}

TEST(TfrmDesk, StatusReadOutsTakeTheChannelLabelsOfTheLanguageFile)
{
    QTemporaryDir dir;
    const QString path = WriteLanguageFile(dir, "[MSG]\r\nmsgRed=Rt\r\nmsgGreen=Gr\r\nmsgBlue=Bl\r\nmsgHue=Ft\r\n"
                                                "msgSaturation=St\r\nmsgBrightness=Hl\r\nmsgOpacity=Deckkraft\r\n"
                                                "msgHeight=Ho\r\nmsgWidth=Br\r\n");
    {
        ScopedEditor editor;
        TfrmDesk desk;
        Load(desk, IconOf({{16, 8, 32}}), 4);
        desk.CurrentImage()->Pixel(3, 2) = TmyPixel::CreateRGBA(255, 0, 0, 128);
        const auto readOuts = [&] {
            QStringList texts;
            desk.ShowToolStatus(0, 0, 3, 2, 2, 13);
            texts << editor.host.Status;
            desk.ShowToolStatus(0, 0, 15, 7, 0, 10);
            texts << editor.host.Status;
            return texts;
        };
        EXPECT_EQ(readOuts(), QStringList({QStringLiteral("(3,2)  R:255 G:0 B:0   H:0 S:100 B:100   Opacity:128"),
                                           QStringLiteral("(0,0)-(16,8) W:16 H:8")}));
        // A language loaded later reaches the next read-out; no window needs rebuilding.
        Lang().SetFileName(path);
        EXPECT_EQ(readOuts(),
                  QStringList({QStringLiteral("(3,2)  Rt:255 Gr:0 Bl:0   Ft:0 St:100 Hl:100   Deckkraft:128"),
                               QStringLiteral("(0,0)-(16,8) Br:16 Ho:8")}));
    }
    Lang().SetFileName(QString());
}

TEST(TfrmDesk, HoldingShiftRedrawsTheConstrainedShapeUntilItIsLetGo)
{
    ScopedEditor editor;
    glimt::test::FakeKeys keys;
    glimt::ScopedKeyState installKeys(&keys);
    TfrmDesk desk;
    Load(desk, IconOf({{8, 8, 32}}), 5);
    QTest::mousePress(desk.Image1, Qt::LeftButton, {}, QPoint(7, 7));
    desk.Image1MouseMove(desk.Image1, glimt::ssLeft, 20, 30);
    keys.Held = Qt::ShiftModifier;
    desk.Timer1Timer();
    desk.Timer1Timer();
    // The key has gone up, though the last key event the program saw still carried Shift (on
    // X11 the modifiers of the last event stay until the next one): the timer goes by the
    // keyboard as it is.
    QTest::keyPress(desk.Image1, Qt::Key_Shift, Qt::ShiftModifier);
    keys.Held = {};
    desk.Timer1Timer();
    desk.Timer1Timer();
    QTest::keyRelease(desk.Image1, Qt::Key_Shift);
    QTest::mouseRelease(desk.Image1, Qt::LeftButton, {}, QPoint(20, 30));
    const auto& ev = editor.tools.Events;
    ASSERT_EQ(ev.size(), 6u); // press, move, two shifted replays, one unshifted, release
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(ev[i].code, 1);
        EXPECT_EQ(QPoint(ev[i].x, ev[i].y), QPoint(20, 30));
    }
    EXPECT_TRUE(ev[2].shift);
    EXPECT_TRUE(ev[3].shift);
    EXPECT_FALSE(ev[4].shift);
    EXPECT_EQ(ev[5].code, 0);
}

TEST(TfrmDesk, OnlyTheReleaseOfTheStrokesOwnButtonEndsIt)
{
    for (const Qt::MouseButton first : {Qt::LeftButton, Qt::RightButton}) {
        SCOPED_TRACE(int(first));
        const Qt::MouseButton other = first == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        ScopedEditor editor;
        glimt::test::FakeKeys keys;
        glimt::ScopedKeyState installKeys(&keys);
        TfrmDesk desk;
        Load(desk, IconOf({{8, 8, 32}}), 5);
        QTest::mousePress(desk.Image1, first, {}, QPoint(7, 7));
        QTest::mouseMove(desk.Image1, QPoint(30, 30));
        // A click of the other button changes nothing: the stroke runs on, the tool keys stay
        // locked and the timer keeps watching the keys.
        QTest::mousePress(desk.Image1, other, {}, QPoint(30, 30));
        QTest::mouseRelease(desk.Image1, other, {}, QPoint(30, 30));
        EXPECT_TRUE(desk.InStroke);
        EXPECT_NE(desk.StrokeBackup, nullptr);
        EXPECT_FALSE(editor.host.ToolActionsEnabled);
        EXPECT_TRUE(desk.Timer1->isActive());
        ASSERT_EQ(editor.tools.Events.size(), 2u) << "press and move only";

        // Escape cancels the stroke; the release of its button adds nothing.
        keys.Escape = true;
        desk.Timer1Timer();
        keys.Escape = false;
        QTest::mouseRelease(desk.Image1, first, {}, QPoint(30, 30));
        const auto& ev = editor.tools.Events;
        ASSERT_EQ(ev.size(), 3u);
        EXPECT_EQ(ev[2].code, 3);
        EXPECT_EQ(ev[2].button, first == Qt::LeftButton ? 0 : 1);
        EXPECT_FALSE(desk.InStroke);
        EXPECT_TRUE(editor.host.ToolActionsEnabled);
        EXPECT_FALSE(desk.Timer1->isActive());
    }
}

TEST(TfrmDesk, SideBarMenuInsertsAndDeletesImages)
{
    ScopedEditor editor;
    TfrmDesk desk;
    Load(desk, IconOf({{16, 16, 32}}), 4);
    ASSERT_EQ(desk.Thumbnails->PopupMenu, desk.pmImages);
    const QList<QAction*> items = desk.pmImages->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("NewImage1"));
    EXPECT_EQ(items[0]->text(), QStringLiteral("New Image"));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("DeleteImage1"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Delete Image"));
    // Another document was active: the menu's command works on this one.
    editor.host.Slot = 2;
    items[0]->trigger();
    EXPECT_EQ(editor.host.Slot, 1);
    items[1]->trigger();
    EXPECT_EQ(editor.host.Actions, QStringList({QStringLiteral("actnnewimage"), QStringLiteral("actndelimage")}));
}
