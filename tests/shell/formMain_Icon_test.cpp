#include "tests/shell/CommandFixture.h"

#include "editor/formImageToIco.h"

#include <QCheckBox>
#include <QComboBox>

using glimt::TAnswer;
using glimt::test::CommandTest;
using glimt::test::Numbered;
using Kind = glimt::test::FakeDialogs::Kind;

namespace {

using IconCommands = CommandTest;

TEST_F(IconCommands, DeleteImageRefusesTheLastImageAndAsksBeforeDeletingAnother)
{
    TfrmDesk* single = Document({Numbered(3, 2)});
    Trigger("actndelimage");
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList({"Cannot delete last image!"}));
    EXPECT_EQ(single->Icon->Count(), 1);
    EXPECT_TRUE(single->Saved);

    TfrmDesk* desk = Document({Numbered(5, 4), Numbered(3, 2), Numbered(2, 3)});
    desk->Icon->Current = 1;
    desk->Undo->Push(*desk->CurrentImage());
    m_main->updateActions();
    m_dialogs.Answers = {TAnswer::No};
    Trigger("actndelimage");
    EXPECT_EQ(m_dialogs.Texts(Kind::YesNo), QStringList({"Delete the current image? (This can not be undone!)"}));
    EXPECT_EQ(desk->Icon->Count(), 3);
    EXPECT_TRUE(desk->Saved);

    m_dialogs.Answers = {TAnswer::Yes};
    Trigger("actndelimage");
    ASSERT_EQ(desk->Icon->Count(), 2);
    EXPECT_EQ(desk->Icon->Current, 0);
    EXPECT_TRUE(desk->Icon->Image(0).SamePixels(Numbered(5, 4)));
    EXPECT_TRUE(desk->Icon->Image(1).SamePixels(Numbered(2, 3)));
    EXPECT_EQ(desk->Image1->size(), QSize(5 * desk->Zoom, 4 * desk->Zoom));
    EXPECT_EQ(desk->cmbImages->count(), 2);
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_FALSE(Enabled("actnUndo"));
    EXPECT_FALSE(desk->Saved);
    EXPECT_FALSE(Enabled("actnPrev"));
    EXPECT_TRUE(Enabled("actnnext"));
}

TEST_F(IconCommands, NextAndPreviousStepThroughTheImagesAndClearTheHistory)
{
    TfrmDesk* desk = Document({Numbered(5, 4), Numbered(3, 2), Numbered(2, 3)});
    EXPECT_FALSE(Enabled("actnPrev"));
    EXPECT_TRUE(Enabled("actnnext"));
    desk->Undo->Push(*desk->CurrentImage());
    m_main->updateActions();

    Trigger("actnnext");
    EXPECT_EQ(desk->Icon->Current, 1);
    EXPECT_EQ(desk->Image1->size(), QSize(3 * desk->Zoom, 2 * desk->Zoom));
    EXPECT_EQ(desk->cmbImages->currentIndex(), 1);
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_FALSE(Enabled("actnUndo"));
    EXPECT_TRUE(Enabled("actnPrev"));

    Trigger("actnnext");
    EXPECT_EQ(desk->Icon->Current, 2);
    EXPECT_FALSE(Enabled("actnnext"));
    Trigger("actnnext");
    EXPECT_EQ(desk->Icon->Current, 2);

    Trigger("actnPrev");
    Trigger("actnPrev");
    EXPECT_EQ(desk->Icon->Current, 0);
    EXPECT_EQ(desk->Image1->size(), QSize(5 * desk->Zoom, 4 * desk->Zoom));
    EXPECT_FALSE(Enabled("actnPrev"));
    EXPECT_TRUE(desk->Saved);
}

TEST_F(IconCommands, IconFromImageMakesOneImagePerTickedFormatInTableOrder)
{
    TfrmDesk* source = Document({Numbered(64, 64)});
    TfrmImageToIco* d = m_main->ImageToIcoDialog();
    EXPECT_TRUE(d->btnOKClick());
    ASSERT_EQ(m_main->DeskCount(), 2);
    TfrmDesk* made = m_main->ActiveDesk();
    ASSERT_NE(made, source);
    const struct {
        int size;
        int bits;
    } expected[] = {{256, 32}, {48, 32}, {32, 32}, {16, 32}, {48, 8}, {32, 8}, {16, 8}, {32, 4}, {16, 4}};
    ASSERT_EQ(made->Icon->Count(), 9);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const TmyImagePal& im = made->Icon->Image(i);
        EXPECT_EQ(im.Width(), expected[i].size);
        EXPECT_EQ(im.Height(), expected[i].size);
        EXPECT_EQ(im.BitDepth, expected[i].bits);
        EXPECT_EQ(im.Palette.has_value(), expected[i].bits < 24);
    }
    EXPECT_EQ(made->Icon->Current, 0);
    EXPECT_FALSE(made->Saved);
    EXPECT_TRUE(made->parentWidget()->isVisible());
    EXPECT_EQ(made->Image1->size(), QSize(256 * made->Zoom, 256 * made->Zoom));
    EXPECT_EQ(made->cmbImages->count(), 9);
    // The source document is untouched.
    EXPECT_TRUE(source->Saved);
    ASSERT_EQ(source->Icon->Count(), 1);
    EXPECT_TRUE(source->CurrentImage()->SamePixels(Numbered(64, 64)));
}

TEST_F(IconCommands, IconFromANonSquareImageScalesEachSide)
{
    Document({Numbered(4, 2)});
    TfrmImageToIco* d = m_main->ImageToIcoDialog();
    for (QCheckBox* cb : d->CheckBoxes)
        cb->setChecked(false);
    d->CheckBoxes[4]->setChecked(true); // 16 x 16 at 32 bits
    EXPECT_TRUE(d->btnOKClick());
    const TmyImagePal& im = m_main->ActiveDesk()->Icon->Image(0);
    ASSERT_EQ(im.Width(), 16);
    // Each source cell becomes 4 x 8 cells.
    EXPECT_EQ(im.Pixel(15, 15), Numbered(4, 2).Pixel(3, 1));
    EXPECT_EQ(im.Pixel(4, 7), Numbered(4, 2).Pixel(1, 0));
    EXPECT_EQ(im.Pixel(4, 8), Numbered(4, 2).Pixel(1, 1));
}

TEST_F(IconCommands, IconFromImageWithoutTicksWarnsAndMakesNothing)
{
    Document({Numbered(3, 2)});
    TfrmImageToIco* d = m_main->ImageToIcoDialog();
    for (QCheckBox* cb : d->CheckBoxes)
        cb->setChecked(false);
    EXPECT_FALSE(d->btnOKClick());
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList({"The icon must contain at least one image format!"}));
    EXPECT_EQ(m_main->DeskCount(), 1);
    // The ticks stay as they were left for the next use.
    EXPECT_FALSE(m_main->ImageToIcoDialog()->CheckBoxes[0]->isChecked());
}

TEST_F(IconCommands, IconFromImageWithTwentyWindowsOpenAddsNothingAnywhere)
{
    for (int i = 0; i < TfrmMain::MaxDesks; ++i)
        Document({Numbered(3, 2)});
    EXPECT_TRUE(m_main->ImageToIcoDialog()->btnOKClick());
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList({"Too many open windows!"}));
    EXPECT_EQ(m_main->DeskCount(), TfrmMain::MaxDesks);
    EXPECT_EQ(m_main->ActiveDesk()->Icon->Count(), 1);
}

} // namespace
