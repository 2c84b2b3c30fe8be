#include "tests/shell/CommandFixture.h"

#include "engine/Clipboard.h"
#include "engine/MyIcoIO.h"

#include <QClipboard>
#include <QComboBox>
#include <QToolButton>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QTest>

using glimt::test::CommandTest;
using glimt::test::Numbered;
using Kind = glimt::test::FakeDialogs::Kind;

namespace {

using EditCommands = CommandTest;

TEST_F(EditCommands, UndoRestoresTheImageBeforeAChangeAndRedoBringsTheChangeBack)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    desk->CurrentImage()->Pixel(2, 1).A = 200;
    const TmyImagePal before = *desk->CurrentImage();
    EXPECT_FALSE(Enabled("actnUndo"));
    EXPECT_FALSE(Enabled("actnRedo"));

    m_main->ChangeColorDepth(24);
    EXPECT_EQ(desk->CurrentImage()->BitDepth, 24);
    EXPECT_EQ(desk->CurrentImage()->Pixel(2, 1).A, 255);
    EXPECT_EQ(desk->Undo->Count(), 1);
    EXPECT_TRUE(Enabled("actnUndo"));
    desk->Saved = true;

    Trigger("actnUndo");
    const TmyImagePal& undone = *desk->CurrentImage();
    EXPECT_EQ(undone.BitDepth, 32);
    EXPECT_EQ(undone.Width(), 3);
    EXPECT_EQ(undone.Height(), 2);
    EXPECT_TRUE(undone.SamePixels(before));
    EXPECT_FALSE(desk->Saved);
    EXPECT_FALSE(Enabled("actnUndo"));
    EXPECT_TRUE(Enabled("actnRedo"));
    // The present image was stored before stepping back, so that Redo can return to it.
    EXPECT_EQ(desk->Undo->Count(), 2);

    Trigger("actnRedo");
    EXPECT_EQ(desk->CurrentImage()->BitDepth, 24);
    EXPECT_EQ(desk->CurrentImage()->Pixel(2, 1).A, 255);
    EXPECT_FALSE(Enabled("actnRedo"));

    // A new change after an undo cuts the redo branch.
    Trigger("actnUndo");
    m_main->ChangeColorDepth(8);
    EXPECT_FALSE(Enabled("actnRedo"));
    EXPECT_TRUE(Enabled("actnUndo"));
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(EditCommands, UndoOfADepthChangePutsTheImagesBackIntoEditingOrder)
{
    TfrmDesk* desk = Document({Numbered(16, 16, 32), Numbered(16, 16, 4)});
    m_main->ChangeColorDepth(1);
    ASSERT_EQ(desk->Icon->Image(1).BitDepth, 1);
    ASSERT_EQ(desk->Icon->Current, 1);
    Trigger("actnUndo");
    EXPECT_EQ(desk->Icon->Image(0).BitDepth, 32);
    EXPECT_EQ(desk->Icon->Image(1).BitDepth, 4);
    EXPECT_EQ(desk->Icon->Current, 0);
    EXPECT_EQ(desk->cmbImages->currentIndex(), 0);
}

TEST_F(EditCommands, CopyCutAndDeleteFollowTheSelectionOfTheActiveDocument)
{
    TfrmDesk* first = Document({Numbered(3, 2)});
    for (const char* name : {"actnCopy", "actnCut", "actnDel"})
        EXPECT_FALSE(Enabled(name)) << name;

    TmyImagePal lifted = Numbered(2, 1);
    lifted.Pixel(1, 0).A = 128;
    Float(lifted, first->Tag);
    for (const char* name : {"actnCopy", "actnCut", "actnDel"})
        EXPECT_TRUE(Enabled(name)) << name;

    QApplication::clipboard()->clear();
    Trigger("actnCopy");
    EXPECT_FALSE(Selection().IsEmpty());
    const QImage onClipboard = QApplication::clipboard()->image();
    ASSERT_EQ(onClipboard.size(), QSize(2, 1));
    EXPECT_TRUE(Tools().ClipManager().OwnCopy.SamePixels(lifted));
    EXPECT_TRUE(Enabled("actnPaste"));

    // A second document: the selection is not its own.
    Document({Numbered(4, 4)});
    for (const char* name : {"actnCopy", "actnCut", "actnDel"})
        EXPECT_FALSE(Enabled(name)) << name;
    first->ActivateDocument();
    m_main->updateActions();
    EXPECT_TRUE(Enabled("actnCut"));

    Trigger("actnCut");
    EXPECT_TRUE(Selection().IsEmpty());
    EXPECT_TRUE(first->ImgSel->isHidden());
    EXPECT_FALSE(Enabled("actnCopy"));
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(2, 1));

    Float(lifted, first->Tag);
    Trigger("actnDel");
    EXPECT_TRUE(Selection().IsEmpty());
    EXPECT_TRUE(first->ImgSel->isHidden());
    EXPECT_FALSE(Enabled("actnDel"));
    // Neither command touches the image or its history.
    EXPECT_TRUE(first->CurrentImage()->SamePixels(Numbered(3, 2)));
    EXPECT_EQ(first->Undo->Count(), 0);
}

TEST_F(EditCommands, PasteFloatsOurOwnCopyWithItsAlphaAtTheTopLeftWithTheSelectionTool)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    TmyImagePal copied = Numbered(2, 1);
    copied.Pixel(0, 0).A = 60;
    Float(copied, desk->Tag);
    Trigger("actnCopy");
    Trigger("actnDel");
    Tools().PressToolButton(glimt::toolPencil);

    Trigger("actnPaste");
    const tmyselection& s = Selection();
    ASSERT_FALSE(s.IsEmpty());
    EXPECT_EQ(s.DocumentSlot, desk->Tag);
    EXPECT_TRUE(s.InFront);
    EXPECT_EQ(s.Image.BitDepth, 32);
    EXPECT_EQ(s.Image.Width(), 2);
    EXPECT_EQ(s.Image.Height(), 1);
    EXPECT_EQ(s.Image.Pixel(0, 0).A, 60);
    EXPECT_TRUE(s.Image.SamePixels(copied));
    EXPECT_TRUE(s.OriginalImage.SamePixels(copied));
    EXPECT_EQ(Tools().CurrentTool(), glimt::toolSelection);
    EXPECT_TRUE(Tools().ToolButtons[0]->isChecked());
    EXPECT_FALSE(desk->ImgSel->isHidden());
    EXPECT_EQ(desk->ImgSel->pos(), desk->Image1->pos());
    EXPECT_EQ(desk->ImgSel->size(), QSize(2 * desk->Zoom, desk->Zoom));
    EXPECT_TRUE(Enabled("actnCopy"));
    // Pasting floats; only the drop changes the image.
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(Numbered(3, 2)));
}

TEST_F(EditCommands, PasteFollowsWhatTheClipboardHolds)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    QApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Enabled("actnPaste"));
    Trigger("actnPaste");
    EXPECT_TRUE(Selection().IsEmpty());

    // A picture of another program comes in opaque.
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 100, 50, 255));
    QApplication::clipboard()->setImage(picture);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Enabled("actnPaste"));
    Trigger("actnPaste");
    ASSERT_FALSE(Selection().IsEmpty());
    EXPECT_EQ(Selection().Image.Pixel(1, 1), TmyPixel::CreateRGBA(200, 100, 50, 255));
    EXPECT_EQ(Selection().DocumentSlot, desk->Tag);
}

// A clipboard that counts the questions put to it.
class CountingClipboard : public glimt::IClipboard {
public:
    mutable int Questions = 0;
    bool Picture = false;
    bool HasBitmap() const override
    {
        ++Questions;
        return Picture;
    }
    QImage Bitmap() const override
    {
        ++Questions;
        return Picture ? QImage(2, 2, QImage::Format_RGB32) : QImage();
    }
    void SetBitmap(const QImage&) override {}
};

TEST_F(EditCommands, NoOrdinaryCommandAsksTheClipboard)
{
    // A clipboard owner that does not answer would hold up every command that asked.
    QApplication::clipboard()->clear();
    CountingClipboard clipboard;
    m_main->SetClipboard(&clipboard);
    Document({Numbered(3, 2)});
    Document({Numbered(4, 3)});
    const int asked = clipboard.Questions;
    for (const char* command : {"actnInvert", "actnUndo", "actnRedo", "actnFlipHoriz", "actnLeft", "actn24bit",
                                "actSelectAll", "actDropSelection", "actnGrid", "actSideBar", "actTile", "actCascade",
                                "actpen", "actnRotateLeft", "actClose"}) {
        SCOPED_TRACE(command);
        Trigger(command);
        EXPECT_EQ(clipboard.Questions, asked);
    }
    EXPECT_FALSE(Enabled("actnPaste"));

    // The clipboard says it changed: it is asked once, and Paste follows its answer.
    clipboard.Picture = true;
    emit QApplication::clipboard()->dataChanged();
    EXPECT_EQ(clipboard.Questions, asked + 1);
    EXPECT_TRUE(Enabled("actnPaste"));
    Trigger("actnInvert");
    EXPECT_EQ(clipboard.Questions, asked + 1);

    // A paste asks anew and settles the state on what it found.
    clipboard.Picture = false;
    Trigger("actnPaste");
    EXPECT_FALSE(Enabled("actnPaste"));
    m_main->SetClipboard(nullptr);
}

TEST_F(EditCommands, FitToScreenAndOriginalSizeResizeTheFloatingSelection)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    EXPECT_FALSE(Enabled("actFitToScreen"));
    EXPECT_FALSE(Enabled("actOriginalSize"));
    Float(Numbered(2, 1), desk->Tag);
    desk->ImgSel->move(desk->Image1->pos() + QPoint(desk->Zoom, desk->Zoom));
    m_main->updateActions();
    EXPECT_TRUE(Enabled("actFitToScreen"));
    EXPECT_TRUE(Enabled("actOriginalSize"));

    Trigger("actFitToScreen");
    EXPECT_EQ(Selection().Image.Width(), 3);
    EXPECT_EQ(Selection().Image.Height(), 2);
    EXPECT_EQ(desk->ImgSel->pos(), desk->Image1->pos());
    EXPECT_EQ(desk->ImgSel->size(), QSize(3 * desk->Zoom, 2 * desk->Zoom));

    Trigger("actOriginalSize");
    EXPECT_EQ(Selection().Image.Width(), 2);
    EXPECT_EQ(Selection().Image.Height(), 1);
    EXPECT_TRUE(Selection().Image.SamePixels(Numbered(2, 1)));
    EXPECT_EQ(desk->ImgSel->size(), QSize(2 * desk->Zoom, desk->Zoom));
}

TEST_F(EditCommands, BringToFrontAndSendToBackToggleWhereTheSelectionLies)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    Float(Numbered(2, 1), desk->Tag);
    m_main->updateActions();
    EXPECT_FALSE(Enabled("actBringToFront"));
    EXPECT_TRUE(Enabled("actSendToBack"));
    Trigger("actSendToBack");
    EXPECT_FALSE(Selection().InFront);
    EXPECT_TRUE(Enabled("actBringToFront"));
    EXPECT_FALSE(Enabled("actSendToBack"));
    Trigger("actBringToFront");
    EXPECT_TRUE(Selection().InFront);
}

TEST_F(EditCommands, SwitchesFlipTheirSettingAndShowIt)
{
    struct Row {
        const char* action;
        bool TOptions::* field;
        Qt::Key key;
    };
    const Row rows[] = {
        {"actFilterOnAlpha", &TOptions::FilterOnAlpha, Qt::Key_A},
        {"actSmooth", &TOptions::SmoothEdges, Qt::Key_Slash},
        {"actTransSel", &TOptions::TransparentSelection, Qt::Key_Backslash},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        const bool before = Options().*row.field;
        Trigger(row.action);
        EXPECT_EQ(Options().*row.field, !before);
        EXPECT_EQ(Action(row.action)->isChecked(), !before);
        EXPECT_TRUE(Action(row.action)->shortcuts().contains(QKeySequence(row.key)));
        Trigger(row.action);
        EXPECT_EQ(Options().*row.field, before);
        EXPECT_EQ(Action(row.action)->isChecked(), before);
    }
}

TEST_F(EditCommands, ToolActionsPressTheirToolButtonByLetterInEitherCase)
{
    const struct {
        const char* action;
        Qt::Key key;
        std::uint8_t tool;
    } rows[] = {
        {"actselect", Qt::Key_S, 1},  {"actcrop", Qt::Key_C, 2},   {"acttext", Qt::Key_T, 3},
        {"acterase", Qt::Key_E, 4},   {"actfill", Qt::Key_F, 5},   {"actspray", Qt::Key_R, 6},
        {"actbrush", Qt::Key_B, 7},   {"actpen", Qt::Key_P, 8},    {"actline", Qt::Key_L, 9},
        {"actrect", Qt::Key_X, 10},   {"actround", Qt::Key_Y, 11}, {"actell", Qt::Key_Z, 12},
        {"actpick", Qt::Key_I, 13},   {"actzoom", Qt::Key_M, 14},  {"actopac", Qt::Key_O, 15},
        {"actgrad", Qt::Key_G, 16},   {"actbright", Qt::Key_BracketLeft, 17},
        {"actblur", Qt::Key_BracketRight, 18},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        Tools().PressToolButton(row.tool == 8 ? 7 : 8);
        Trigger(row.action);
        EXPECT_EQ(Tools().CurrentTool(), row.tool);
        EXPECT_TRUE(Tools().ToolButtons[std::size_t(row.tool - 1)]->isChecked());
        const QList<QKeySequence> keys = Action(row.action)->shortcuts();
        EXPECT_TRUE(keys.contains(QKeySequence(row.key)));
        if (row.key >= Qt::Key_A && row.key <= Qt::Key_Z) {
            EXPECT_TRUE(keys.contains(QKeySequence(Qt::SHIFT | row.key)));
        }
    }
}

TEST_F(EditCommands, ALetterKeyDoesNotChangeTheToolInMidStroke)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    Tools().PressToolButton(glimt::toolPencil);
    desk->Image1MouseDown(desk->Image1, glimt::TMouseButton::Left, glimt::ssLeft, 1, 1);
    EXPECT_FALSE(Enabled("actbrush"));
    QTest::keyClick(m_main.get(), Qt::Key_B);
    Trigger("actbrush");
    EXPECT_EQ(Tools().CurrentTool(), glimt::toolPencil);
    desk->Image1MouseUp(desk->Image1, glimt::TMouseButton::Left, glimt::ssLeft, 1, 1);
    EXPECT_TRUE(Enabled("actbrush"));
    QTest::keyClick(m_main.get(), Qt::Key_B);
    EXPECT_EQ(Tools().CurrentTool(), glimt::toolBrush);
    // The pencil's stroke took its undo step; the key took none.
    EXPECT_EQ(desk->Undo->Count(), 1);
}

TEST_F(EditCommands, SelectAllDragsTheSelectionToolOverTheWholeCanvas)
{
    EXPECT_FALSE(Enabled("actSelectAll"));
    TfrmDesk* desk = Document({Numbered(3, 2)});
    EXPECT_TRUE(Enabled("actSelectAll"));
    Tools().PressToolButton(glimt::toolBrush);
    Trigger("actSelectAll");
    EXPECT_EQ(Tools().CurrentTool(), glimt::toolSelection);
    // The synthetic drag ended: no stroke is left open and the tools are usable again.
    EXPECT_FALSE(desk->InStroke);
    EXPECT_EQ(desk->StrokeButton, 2);
    EXPECT_TRUE(Enabled("actbrush"));
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

} // namespace

namespace {

TEST_F(EditCommands, TheSelectionKeepsItsWindowWhenOtherWindowsClose)
{
    TfrmDesk* first = Document({Numbered(3, 2)});
    Document({Numbered(4, 4)});
    TfrmDesk* third = Document({Numbered(5, 5)});
    Float(Numbered(2, 1), third->Tag);
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(third->Tag, 2);
    EXPECT_EQ(Selection().DocumentSlot, 2);
    EXPECT_EQ(m_main->ActiveDesk(), third);
    EXPECT_TRUE(Enabled("actnCopy"));

    third->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_main->DeskCount(), 1);
    EXPECT_EQ(Selection().DocumentSlot, 0);
    EXPECT_FALSE(Enabled("actnCopy"));
}

TEST_F(EditCommands, DigitKeysChooseTheBrushSizeWhileTheToolShowsSizes)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    Tools().PressToolButton(glimt::toolBrush);
    desk->cmbImages->setFocus();
    QApplication::setActiveWindow(m_main.get());
    ASSERT_EQ(QApplication::focusWidget(), desk->cmbImages);
    QTest::keyClick(desk->cmbImages, Qt::Key_3);
    EXPECT_EQ(Tools().Engine.BrushSize, 3);
    // The Pencil shows no sizes: the key leaves the size alone.
    Tools().PressToolButton(glimt::toolPencil);
    QTest::keyClick(desk->cmbImages, Qt::Key_5);
    EXPECT_EQ(Tools().Engine.BrushSize, 3);
}

} // namespace

namespace {

TEST_F(EditCommands, TheMenusAndTheToolBarHoldTheCommandsByName)
{
    const struct {
        const char* menu;
        std::initializer_list<const char*> actions;
    } rows[] = {
        {"Edit", {"actnUndo", "actnRedo", "actnDel", "actnCut", "actnCopy", "actnPaste", "actSelectAll", "actFitToScreen",
                  "actOriginalSize", "actBringToFront", "actSendToBack"}},
        {"Data Type", {"actn32bit", "actn24bit", "actn8bit", "actn4bit", "actn1bit"}},
        {"Rotate/Flip", {"actRotateFree"}},
        {"Image", {"actnDim"}},
        {"Icon", {"actnnewimage", "actndelimage", "actnnext", "actnPrev", "actnImagetoIco"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.menu);
        QMenu* menu = m_main->Menu(QString::fromLatin1(row.menu));
        ASSERT_NE(menu, nullptr);
        for (const char* name : row.actions)
            EXPECT_TRUE(menu->actions().contains(Action(name))) << name;
    }
    const QToolBar* bar = m_main->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"));
    ASSERT_NE(bar, nullptr);
    for (const char* name : {"actnCut", "actnCopy", "actnPaste", "actnUndo", "actnRedo", "actFilterOnAlpha", "actSmooth", "actTransSel"})
        EXPECT_TRUE(bar->actions().contains(Action(name))) << name;
}

} // namespace

namespace {

TEST_F(EditCommands, NudgingMovesTheSelectionOfTheActiveDocumentOneCell)
{
    TfrmDesk* first = Document({Numbered(3, 2)});
    EXPECT_FALSE(m_main->NudgeSelection(1, 0));
    Float(Numbered(2, 1), first->Tag);
    const QPoint start = first->ImgSel->pos();
    const int z = first->Zoom;
    const struct {
        int dx, dy;
        QPoint moved;
    } rows[] = {{1, 0, {z, 0}}, {0, 1, {z, z}}, {-1, 0, {0, z}}, {0, -1, {0, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dx * 10 + row.dy);
        EXPECT_TRUE(m_main->NudgeSelection(row.dx, row.dy));
        EXPECT_EQ(first->ImgSel->pos() - start, row.moved);
        EXPECT_FALSE(first->SelDragging);
    }
    // Moving the selection changes neither the image nor its history.
    EXPECT_TRUE(first->CurrentImage()->SamePixels(Numbered(3, 2)));
    EXPECT_EQ(first->Undo->Count(), 0);

    // A selection on another window is not the active document's to move.
    TfrmDesk* second = Document({Numbered(4, 4)});
    const QPoint other = second->ImgSel->pos();
    EXPECT_FALSE(m_main->NudgeSelection(1, 0));
    EXPECT_EQ(second->ImgSel->pos(), other);
}

} // namespace

namespace {

TEST_F(EditCommands, TheArrowsMoveASelectionOfTheActiveDocumentElseShiftItsImage)
{
    TfrmDesk* first = Document({Numbered(3, 2)});
    Float(Numbered(2, 1), first->Tag);
    const QPoint start = first->ImgSel->pos();
    const int z = first->Zoom;
    const struct {
        const char* action;
        QPoint moved;
    } rows[] = {{"actnRight", {z, 0}}, {"actnDown", {z, z}}, {"actnLeft", {0, z}}, {"actnUp", {0, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        Trigger(row.action);
        EXPECT_EQ(first->ImgSel->pos() - start, row.moved);
        EXPECT_EQ(Selection().DocumentSlot, first->Tag);
    }
    EXPECT_TRUE(first->CurrentImage()->SamePixels(Numbered(3, 2)));
    EXPECT_TRUE(Selection().Image.SamePixels(Numbered(2, 1)));
    EXPECT_EQ(first->Undo->Count(), 0);

    // The tool window's nudge buttons take the same road ("btnRight" is the one that moves left).
    Tools().findChild<QToolButton*>(QStringLiteral("btnLeft"))->click();
    EXPECT_EQ(first->ImgSel->pos() - start, QPoint(z, 0));

    // With the selection on another window the active document's image shifts, with an undo step.
    TfrmDesk* second = Document({Numbered(3, 2)});
    Trigger("actnLeft");
    EXPECT_EQ(second->CurrentImage()->Pixel(0, 1), Numbered(3, 2).Pixel(1, 1));
    EXPECT_EQ(second->CurrentImage()->Pixel(2, 0).A, 0);
    EXPECT_EQ(second->Undo->Count(), 1);
    EXPECT_EQ(first->ImgSel->pos() - start, QPoint(z, 0));
    EXPECT_TRUE(Selection().Image.SamePixels(Numbered(2, 1)));
}

TEST_F(EditCommands, FlipsAndTurnsReachTheSelectionOfTheActiveDocumentElseTheImage)
{
    const TmyImagePal picture = Numbered(3, 2);
    const struct {
        const char* action;
        int width, height;
        QPoint from; // the cell of the result that the picture's cell (0, 0) went to
    } rows[] = {
        {"actnFlipHoriz", 3, 2, {2, 0}}, {"actnFlipVert", 3, 2, {0, 1}}, {"actnRotate", 3, 2, {2, 1}},
        {"actnRotateLeft", 2, 3, {0, 2}}, {"actnRotateRight", 2, 3, {1, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        TfrmDesk* desk = Document({Numbered(4, 4)});
        Float(picture, desk->Tag);
        Trigger(row.action);
        const TmyImagePal& turned = Selection().Image;
        ASSERT_EQ(turned.Width(), row.width);
        ASSERT_EQ(turned.Height(), row.height);
        EXPECT_EQ(turned.Pixel(row.from.x(), row.from.y()), picture.Pixel(0, 0));
        EXPECT_TRUE(Selection().OriginalImage.SamePixels(turned));
        EXPECT_TRUE(desk->CurrentImage()->SamePixels(Numbered(4, 4)));
        EXPECT_EQ(desk->Undo->Count(), 0);

        // Without a selection on it, the document's own image turns, with an undo step.
        TfrmDesk* plain = Document({picture});
        Trigger(row.action);
        ASSERT_EQ(plain->CurrentImage()->Width(), row.width);
        EXPECT_EQ(plain->CurrentImage()->Pixel(row.from.x(), row.from.y()), picture.Pixel(0, 0));
        EXPECT_EQ(plain->Undo->Count(), 1);
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        Trigger("actCloseAll");
    }
}

TEST_F(EditCommands, EveryCommandExistsOnce)
{
    QHash<QString, int> names;
    for (QAction* a : m_main->findChildren<QAction*>()) {
        if (a->objectName().isEmpty())
            continue;
        EXPECT_EQ(++names[a->objectName()], 1) << a->objectName().toStdString();
    }
    for (const char* arrow : {"actnLeft", "actnRight", "actnUp", "actnDown"})
        EXPECT_EQ(names.value(QString::fromLatin1(arrow)), 1) << arrow;
}

} // namespace
