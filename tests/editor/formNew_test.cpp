#include "editor/formNew.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/thumbnail.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/FakeDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using glimt::test::FakeDialogs;
using glimt::test::ScopedEditor;

namespace {

TmyIcon EditingOrderIcon()
{
    TmyIcon icon;
    icon.AddImage(48, 48, 32);
    icon.AddImage(16, 16, 32);
    icon.AddImage(32, 32, 8);
    icon.Current = 0;
    return icon;
}

} // namespace

TEST(TfrmNewImage, NewImagesGoToTheirPlaceInEditingOrder)
{
    const TmyIcon icon = EditingOrderIcon();
    struct Row {
        const char* name;
        int w, h, depth, index;
    } rows[] = {
        {"32-bit 32x32 between the 32-bit sizes", 32, 32, 32, 1},
        {"24-bit 256x256 after the 32-bit images", 256, 256, 24, 2},
        {"1-bit 16x16 at the end", 16, 16, 1, 3},
        {"32-bit 48x16 after 48x48, before 16x16", 48, 16, 32, 1},
        {"32-bit 48x64 before 48x48", 48, 64, 32, 0},
        {"32-bit 256x256 first", 256, 256, 32, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(glimt::NewImageInsertIndex(icon, row.w, row.h, row.depth), row.index);
    }
}

TEST(TfrmNewImage, CustomEditsCorrectThemselvesAndFollowWhenSquare)
{
    TfrmNewImage dlg;
    dlg.rbCustom->click();
    EXPECT_TRUE(dlg.edtWidth->isEnabled());
    dlg.edtWidth->clear();
    QTest::keyClicks(dlg.edtWidth, QStringLiteral("300"));
    EXPECT_EQ(dlg.edtWidth->text(), QStringLiteral("256"));
    EXPECT_EQ(dlg.edtHeight->text(), QStringLiteral("256"));
    EXPECT_EQ(dlg.NewWidth, 256);
    EXPECT_EQ(dlg.NewHeight, 256);
    dlg.edtWidth->setText(QStringLiteral("0"));
    EXPECT_EQ(dlg.edtWidth->text(), QStringLiteral("1"));
    QTest::keyClicks(dlg.edtWidth, QStringLiteral("x7"));
    EXPECT_EQ(dlg.edtWidth->text(), QStringLiteral("17")); // letters are swallowed

    dlg.cbSquare->click();
    dlg.edtHeight->setText(QStringLiteral("20"));
    EXPECT_EQ(dlg.NewHeight, 20);
    EXPECT_EQ(dlg.NewWidth, 17);

    dlg.rb256->click();
    EXPECT_FALSE(dlg.edtWidth->isEnabled());
    EXPECT_EQ(dlg.NewWidth, 256);
    dlg.rb4Bit->click();
    EXPECT_EQ(dlg.NewDepth, 4);
}

TEST(TfrmNewImage, OkInsertsTheBlankImageAndShowsIt)
{
    ScopedEditor editor;
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs installed(&dialogs);
    TfrmDesk desk;
    desk.Tag = 1;
    *desk.Icon = EditingOrderIcon();
    desk.FillImageCombo(true);
    editor.host.Active = &desk;
    desk.Undo->Push(desk.Icon->Image(0));

    TfrmNewImage dlg;
    dlg.ShowSourceGroup(true);
    dlg.cbFromImage->setChecked(false);
    dlg.rb32->click();
    dlg.rb32Bit->click();
    dlg.FormShow();
    EXPECT_EQ(dlg.Thumbnails->Count(), 3);
    dlg.btnOKClick();

    ASSERT_EQ(desk.Icon->Count(), 4);
    EXPECT_EQ(desk.Icon->Current, 1);
    EXPECT_EQ(desk.Icon->Image(1).Width(), 32);
    EXPECT_EQ(desk.Icon->Image(1).BitDepth, 32);
    EXPECT_EQ(desk.Undo->Position, 0);
    EXPECT_FALSE(desk.Saved);
    EXPECT_EQ(desk.cmbImages->count(), 4);
    EXPECT_EQ(desk.cmbImages->currentIndex(), 1);
    EXPECT_EQ(desk.Thumbnails->Count(), 4);
    EXPECT_EQ(desk.Image1->size(), QSize(320, 320));
    EXPECT_EQ(dialogs.BoxCount(), 0);

    // The same format again: a warning and nothing changes.
    desk.Undo->Push(desk.Icon->Image(1));
    dlg.btnOKClick();
    EXPECT_EQ(dialogs.Texts(FakeDialogs::Kind::Warning),
        QStringList{QStringLiteral("There is already an image with this format in the icon!")});
    EXPECT_EQ(desk.Icon->Count(), 4);
    EXPECT_EQ(desk.Undo->Position, 1);

    // The OK button keeps the dialog open on a refused format, for another choice.
    dlg.setResult(QDialog::Rejected);
    dlg.show();
    dlg.btnOK->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dialogs.BoxCount(), 2);
    EXPECT_EQ(desk.Icon->Count(), 4);
    dlg.rb24Bit->click();
    dlg.btnOK->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(desk.Icon->Count(), 5);
    EXPECT_EQ(dialogs.BoxCount(), 2);
}

TEST(TfrmNewImage, NewDocumentFlowKeepsSavedAndCancelClosesTheWindow)
{
    ScopedEditor editor;
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs installed(&dialogs);
    TfrmDesk desk;
    desk.Tag = 1;
    editor.host.Active = &desk;
    EXPECT_EQ(desk.CurrentImage(), nullptr); // no image yet while the dialog runs

    TfrmNewImage dlg;
    dlg.ShowSourceGroup(false);
    EXPECT_FALSE(dlg.grpImages->isVisibleTo(&dlg));
    dlg.rb16->click();
    dlg.btnOKClick();
    ASSERT_EQ(desk.Icon->Count(), 1);
    EXPECT_TRUE(desk.Saved);
    EXPECT_EQ(desk.Zoom, 10);

    TfrmDesk other;
    other.Tag = 2;
    editor.host.Active = &other;
    dlg.btnCancelClick();
    EXPECT_EQ(editor.host.Released, std::vector<int>{2});
    EXPECT_EQ(dialogs.BoxCount(), 0);
}

TEST(TfrmNewImage, FromSourceCopiesTheImageThatMovedPastTheInsertion)
{
    ScopedEditor editor;
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs installed(&dialogs);
    TfrmDesk desk;
    desk.Tag = 1;
    TmyIcon icon;
    icon.AddImage(48, 48, 32).Fill(TmyPixel::CreateRGBA(10, 10, 10, 255));
    icon.AddImage(16, 16, 32).Fill(TmyPixel::CreateRGBA(20, 20, 20, 255));
    icon.AddImage(16, 16, 24).Fill(TmyPixel::CreateRGBA(200, 100, 50, 255));
    icon.Current = 0;
    *desk.Icon = icon;
    desk.FillImageCombo(true);
    editor.host.Active = &desk;

    TfrmNewImage dlg;
    dlg.ShowSourceGroup(true);
    dlg.cbFromImage->setChecked(true);
    dlg.rb32->click();
    dlg.rb32Bit->click();
    dlg.FormShow();
    dlg.Thumbnails->SelectIndex(2); // the 24-bit image; the new one goes to position 1
    dlg.btnOKClick();

    ASSERT_EQ(desk.Icon->Count(), 4);
    const TmyImagePal& made = desk.Icon->Image(1);
    EXPECT_EQ(made.Width(), 32);
    EXPECT_EQ(made.Height(), 32);
    EXPECT_EQ(made.BitDepth, 32);
    EXPECT_EQ(made.Pixel(5, 5).R, 200);
    EXPECT_EQ(made.Pixel(5, 5).G, 100);
}
