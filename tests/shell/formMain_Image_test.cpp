#include "tests/shell/CommandFixture.h"

#include "editor/formDimension.h"
#include "editor/formRotate.h"
#include "engine/myadjustments.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using glimt::test::CommandTest;
using glimt::test::Numbered;
using Kind = glimt::test::FakeDialogs::Kind;

namespace {

using ImageCommands = CommandTest;

const char* const kNotUnique = "There is already an image with this format in the icon!";

TEST_F(ImageCommands, DataTypeActionsConvertTheCurrentImageWithAnUndoStep)
{
    const struct {
        const char* action;
        int depth;
    } rows[] = {{"actn24bit", 24}, {"actn8bit", 8}, {"actn4bit", 4}, {"actn1bit", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        TfrmDesk* desk = Document({Numbered(3, 2)});
        Trigger(row.action);
        const TmyImagePal& image = *desk->CurrentImage();
        EXPECT_EQ(image.BitDepth, row.depth);
        EXPECT_EQ(image.Width(), 3);
        EXPECT_EQ(image.Height(), 2);
        EXPECT_EQ(image.Palette.has_value(), row.depth < 24);
        EXPECT_EQ(desk->Undo->Count(), 1);
        EXPECT_TRUE(desk->Undo->Snapshot(1)->SamePixels(Numbered(3, 2)));
        EXPECT_FALSE(desk->Saved);
        EXPECT_TRUE(Enabled("actnUndo"));
    }
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(ImageCommands, ConvertingToAFormatTheIconHoldsIsRefused)
{
    TfrmDesk* desk = Document({Numbered(3, 2, 32), Numbered(3, 2, 8)});
    Trigger("actn32bit");
    Trigger("actn8bit");
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList({kNotUnique, kNotUnique}));
    EXPECT_EQ(desk->CurrentImage()->BitDepth, 32);
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->Saved);
    EXPECT_FALSE(Enabled("actnUndo"));
}

TEST_F(ImageCommands, AConvertedImageMovesToItsPlaceInEditingOrder)
{
    TfrmDesk* desk = Document({Numbered(16, 16, 32), Numbered(16, 16, 4)});
    Trigger("actn1bit");
    ASSERT_EQ(desk->Icon->Count(), 2);
    EXPECT_EQ(desk->Icon->Image(0).BitDepth, 4);
    EXPECT_EQ(desk->Icon->Image(1).BitDepth, 1);
    EXPECT_EQ(desk->Icon->Current, 1);
    EXPECT_EQ(desk->cmbImages->currentIndex(), 1);
    EXPECT_TRUE(desk->cmbImages->itemText(1).startsWith(QStringLiteral("16x16")));
    EXPECT_EQ(desk->Undo->Count(), 1);
}

// The Dimension dialog, driven through its controls without its modal loop.
TEST_F(ImageCommands, DimensionEditsStayWithinOneTo256AndFollowEachOtherWhenSquare)
{
    TfrmDimension* d = m_main->DimensionDialog();
    EXPECT_FALSE(d->edtWidth->isEnabled());
    d->rbCustom->click();
    EXPECT_TRUE(d->edtWidth->isEnabled());
    EXPECT_TRUE(d->cbSquare->isEnabled());
    d->edtWidth->setText(QStringLiteral("300"));
    EXPECT_EQ(d->edtWidth->text(), QStringLiteral("256"));
    d->edtWidth->setText(QStringLiteral("0"));
    EXPECT_EQ(d->edtWidth->text(), QStringLiteral("1"));
    d->edtHeight->clear();
    QTest::keyClicks(d->edtHeight, QStringLiteral("6-4"));
    EXPECT_EQ(d->edtHeight->text(), QStringLiteral("64"));
    EXPECT_EQ(d->edtWidth->text(), QStringLiteral("64"));
    EXPECT_EQ(d->NewWidth, 64);
    EXPECT_EQ(d->NewHeight, 64);
    d->cbSquare->setChecked(false);
    d->edtWidth->setText(QStringLiteral("5"));
    EXPECT_EQ(d->NewWidth, 5);
    EXPECT_EQ(d->NewHeight, 64);
    d->rb16->click();
    EXPECT_EQ(d->NewWidth, 16);
    EXPECT_EQ(d->NewHeight, 16);
    EXPECT_FALSE(d->edtWidth->isEnabled());
}

TEST_F(ImageCommands, DimensionResizesTheCurrentImageWithAnUndoStep)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    TfrmDimension* d = m_main->DimensionDialog();
    d->rbCustom->click();
    d->cbSquare->setChecked(false);
    d->edtWidth->setText(QStringLiteral("6"));
    d->edtHeight->setText(QStringLiteral("4"));
    EXPECT_TRUE(d->btnOKClick());
    const TmyImagePal& image = *desk->CurrentImage();
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(image.Height(), 4);
    // Doubling each side repeats every cell twice.
    EXPECT_EQ(image.Pixel(5, 3), Numbered(3, 2).Pixel(2, 1));
    EXPECT_EQ(image.Pixel(2, 1), Numbered(3, 2).Pixel(1, 0));
    EXPECT_EQ(desk->Image1->size(), QSize(6 * desk->Zoom, 4 * desk->Zoom));
    EXPECT_EQ(desk->Undo->Count(), 1);
    EXPECT_FALSE(desk->Saved);
    EXPECT_TRUE(Enabled("actnUndo"));
}

TEST_F(ImageCommands, DimensionEnterAppliesAndEscapeCancels)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    TfrmDimension* d = m_main->DimensionDialog();
    d->rb24->click();
    d->show();
    QTest::keyClick(d->rb24, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(desk->CurrentImage()->Width(), 3);

    d->show();
    QTest::keyClick(d->rb24, Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(desk->CurrentImage()->Width(), 24);
    EXPECT_EQ(desk->CurrentImage()->Height(), 24);
    EXPECT_EQ(desk->Undo->Count(), 1);
}

TEST_F(ImageCommands, DimensionToAFormatTheIconHoldsIsRefusedAndTheDialogStaysOpen)
{
    TfrmDesk* desk = Document({Numbered(48, 48), Numbered(32, 32)});
    TfrmDimension* d = m_main->DimensionDialog();
    d->rb32->click();
    d->show();
    d->btnOK->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList({kNotUnique}));
    EXPECT_EQ(desk->CurrentImage()->Width(), 48);
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->Saved);
}

TEST_F(ImageCommands, DimensionResizesOnlyTheSelectionOfTheActiveDocument)
{
    TfrmDesk* first = Document({Numbered(3, 2)});
    Float(Numbered(2, 1), first->Tag);
    TfrmDimension* d = m_main->DimensionDialog();
    d->rb16->click();
    EXPECT_TRUE(d->btnOKClick());
    EXPECT_EQ(Selection().Image.Width(), 16);
    EXPECT_EQ(Selection().Image.Height(), 16);
    EXPECT_EQ(first->CurrentImage()->Width(), 3);
    EXPECT_EQ(first->Undo->Count(), 0);
    EXPECT_TRUE(first->Saved);

    // A selection floating on another window does not take the active document's command.
    Float(Numbered(2, 1), first->Tag);
    TfrmDesk* second = Document({Numbered(5, 3)});
    EXPECT_TRUE(d->btnOKClick());
    EXPECT_EQ(second->CurrentImage()->Width(), 16);
    EXPECT_EQ(second->CurrentImage()->Height(), 16);
    EXPECT_EQ(second->Undo->Count(), 1);
    EXPECT_EQ(Selection().Image.Width(), 2);
}

TEST_F(ImageCommands, DimensionOnAPalettedImageFitsItBackToAPalette)
{
    Options().PaletteAction = 2;
    m_prompts.PaletteChoice = 0;
    TfrmDesk* desk = Document({Numbered(3, 2, 8)});
    TfrmDimension* d = m_main->DimensionDialog();
    d->rb16->click();
    EXPECT_TRUE(d->btnOKClick());
    EXPECT_EQ(m_prompts.PaletteQuestions, 1);
    EXPECT_EQ(desk->CurrentImage()->BitDepth, 8);
    ASSERT_TRUE(desk->CurrentImage()->Palette.has_value());
}

// The Free Rotate dialog without its modal loop.
TEST_F(ImageCommands, RotateAngleEntryStaysWithin0To359)
{
    TfrmRotate* r = m_main->RotateDialog();
    const struct {
        const char* typed;
        const char* shown;
    } rows[] = {{"45", "45"}, {"400", "359"}, {"12345", "359"}, {"360", "359"}, {"a7", "7"}, {"0", "0"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        r->Edit1->clear();
        QTest::keyClicks(r->Edit1, QString::fromLatin1(row.typed));
        EXPECT_EQ(r->Edit1->text(), QString::fromLatin1(row.shown));
    }
    r->SpinButton1DownClick();
    EXPECT_EQ(r->Edit1->text(), QStringLiteral("0"));
    r->SpinButton1UpClick();
    EXPECT_EQ(r->Edit1->text(), QStringLiteral("1"));
    r->Edit1->setText(QStringLiteral("359"));
    r->SpinButton1UpClick();
    EXPECT_EQ(r->Edit1->text(), QStringLiteral("359"));
}

TEST_F(ImageCommands, RotatePreviewsOnACopyAndOkTurnsTheImageWithAnUndoStep)
{
    TfrmDesk* desk = Document({Numbered(4, 2)});
    TfrmRotate* r = m_main->RotateDialog();
    r->rbRight->setChecked(true);
    r->Edit1->setText(QStringLiteral("90"));
    r->FormShow();
    const QPoint c = r->CenterDrag->CenterToImage(4, 2);
    TmyImagePal expected = Numbered(4, 2);
    TmyAdjustments::RotateImage(expected, c.x(), c.y(), 90);
    EXPECT_TRUE(r->WorkImage.SamePixels(expected));
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(Numbered(4, 2)));

    // To the left the angle turns the other way.
    r->rbLeft->click();
    TmyImagePal left = Numbered(4, 2);
    TmyAdjustments::RotateImage(left, c.x(), c.y(), -90);
    EXPECT_TRUE(r->WorkImage.SamePixels(left));
    EXPECT_FALSE(left.SamePixels(expected));

    EXPECT_TRUE(r->btnOKClick());
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(left));
    EXPECT_EQ(desk->Undo->Count(), 1);
    EXPECT_TRUE(desk->Undo->Snapshot(1)->SamePixels(Numbered(4, 2)));
    EXPECT_FALSE(desk->Saved);
}

TEST_F(ImageCommands, RotateTurnsTheSelectionOfTheActiveDocumentWithoutUndo)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    Float(Numbered(4, 2), desk->Tag);
    TfrmRotate* r = m_main->RotateDialog();
    r->rbRight->setChecked(true);
    r->Edit1->setText(QStringLiteral("180"));
    r->FormShow();
    EXPECT_TRUE(r->btnOKClick());
    const QPoint c = r->CenterDrag->CenterToImage(4, 2);
    TmyImagePal expected = Numbered(4, 2);
    TmyAdjustments::RotateImage(expected, c.x(), c.y(), 180);
    EXPECT_TRUE(Selection().Image.SamePixels(expected));
    EXPECT_TRUE(Selection().OriginalImage.SamePixels(expected));
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(Numbered(3, 2)));
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->Saved);
}

TEST_F(ImageCommands, RotateWithAnEmptyAngleTurnsNothing)
{
    TfrmDesk* desk = Document({Numbered(3, 2)});
    TfrmRotate* r = m_main->RotateDialog();
    r->Edit1->clear();
    EXPECT_FALSE(r->btnOKClick());
    EXPECT_EQ(m_dialogs.Count(Kind::Error), 1);
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(Numbered(3, 2)));
}

TEST_F(ImageCommands, RotatePinCentreScalesToTheImageAndThePinStaysOnThePad)
{
    QWidget pad;
    pad.resize(150, 74);
    QWidget pin(&pad);
    pin.setGeometry(68, 30, 13, 13);
    TMove move(&pin);
    move.Bounds = {0, 0, 150, 74};
    EXPECT_EQ(move.CenterToImage(32, 32), QPoint(15, 15));
    EXPECT_EQ(move.CenterToImage(3, 2), QPoint(1, 0));

    // Dragged 100 pixels up, the pin stops with its centre on the top edge.
    move.BeginDrag(QPoint(500, 500));
    move.DragTo(QPoint(500, 400));
    EXPECT_EQ(pin.pos(), QPoint(68, -6));
    // It follows again only once the cursor is back where the pin stopped.
    move.DragTo(QPoint(500, 430));
    EXPECT_EQ(pin.pos(), QPoint(68, -6));
    move.DragTo(QPoint(500, 465));
    EXPECT_EQ(pin.pos(), QPoint(68, -5));
    move.DragTo(QPoint(700, 465));
    EXPECT_EQ(pin.pos(), QPoint(144, -5));
    move.EndDrag();
    move.DragTo(QPoint(0, 0));
    EXPECT_EQ(pin.pos(), QPoint(144, -5));
}

TEST_F(ImageCommands, RotatePadClicksMoveAndResetThePin)
{
    TfrmRotate* r = m_main->RotateDialog();
    r->pbCenterMouseDown(Qt::LeftButton, QPoint(20, 10), QPoint(0, 0));
    EXPECT_EQ(r->spCenter->pos(), QPoint(14, 4));
    EXPECT_TRUE(r->CenterDrag->Dragging);
    r->spCenterMouseUp(Qt::LeftButton);
    EXPECT_FALSE(r->CenterDrag->Dragging);
    r->spCenterMouseDown(Qt::RightButton, QPoint(0, 0));
    EXPECT_EQ(r->spCenter->pos(), QPoint(150 / 2 - 6, 74 / 2 - 6));

    // The same through the mouse on the real pad and pin.
    QTest::mouseClick(r->pbCenter, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_EQ(r->spCenter->pos(), QPoint(24, 14));
    EXPECT_FALSE(r->CenterDrag->Dragging);
    QTest::mouseClick(r->spCenter, Qt::RightButton, {}, QPoint(6, 6));
    EXPECT_EQ(r->spCenter->pos(), QPoint(150 / 2 - 6, 74 / 2 - 6));
}

} // namespace
