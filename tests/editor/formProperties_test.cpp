#include "editor/formProperties.h"

#include "editor/formDesk.h"
#include "engine/MyIcon.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <gtest/gtest.h>

namespace {

// A document window holding images of these sizes and depths, in this order.
struct Document {
    TfrmDesk desk;
    explicit Document(std::initializer_list<std::array<int, 3>> images)
    {
        for (const auto& [w, h, depth] : images)
            desk.Icon->AddImage(h, w, depth);
        desk.Icon->Current = 0;
    }
};

TEST(TfrmProperties, SizesCountTheBitmapFormHeaderAndDirectory)
{
    Document d({{32, 32, 32}, {16, 16, 1}});
    EXPECT_EQ(glimt::StoredImageSize(d.desk.Icon->Image(0)), 40 + 4096 + 128);
    EXPECT_EQ(glimt::StoredImageSize(d.desk.Icon->Image(1)), 40 + 8 + 64 + 64);
    EXPECT_EQ(glimt::StoredIconSize(*d.desk.Icon), 4264 + 176 + 2 * 16 + 6);

    Document one({{32, 32, 32}});
    TfrmProperties dialog;
    dialog.ShowFor(&one.desk);
    dialog.FormActivate();
    EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("Size: 4286 bytes"));
    EXPECT_EQ(dialog.lblImageNo->text(), QStringLiteral("Image Number: 1"));
    ASSERT_EQ(dialog.Rows().size(), 1u);
    EXPECT_EQ(dialog.Rows()[0].Size->text(), QStringLiteral("Size: 4264 bytes"));
    EXPECT_EQ(dialog.Rows()[0].Type->text(), QStringLiteral("Data Type: 32 bits"));
    EXPECT_EQ(dialog.Rows()[0].Dimension->text(), QStringLiteral("Dimension: 32 x 32"));
}

TEST(TfrmProperties, RowsShowEachImageScaledDownOnlyWhenLarger)
{
    Document d({{256, 256, 32}, {48, 48, 8}, {200, 100, 24}, {3, 2, 4}});
    TfrmProperties dialog;
    dialog.ShowFor(&d.desk);
    dialog.FormActivate();
    ASSERT_EQ(dialog.Rows().size(), 4u);
    struct Row {
        QSize picture;
        const char* dimension;
    } rows[] = {{{85, 85}, "Dimension: 256 x 256"}, {{48, 48}, "Dimension: 48 x 48"},
                {{85, 42}, "Dimension: 200 x 100"}, {{3, 2}, "Dimension: 3 x 2"}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TfrmProperties::TImageRow& row = dialog.Rows()[i];
        EXPECT_EQ(row.Picture->pixmap().size(), rows[i].picture);
        EXPECT_EQ(row.Picture->geometry(), QRect(10, 90 * int(i), 85, 85));
        EXPECT_EQ(row.Picture->alignment(), Qt::AlignCenter);
        EXPECT_EQ(row.Dimension->text(), QString::fromLatin1(rows[i].dimension));
        EXPECT_EQ(row.Size->y(), 90 * int(i) + 50);
    }
    EXPECT_EQ(dialog.lblImageNo->text(), QStringLiteral("Image Number: 4"));
}

TEST(TfrmProperties, NameAndFolderComeFromThePathAndAnUntitledDocumentHasNoFolder)
{
    Document d({{16, 16, 32}});
    TfrmProperties dialog;
    dialog.ShowFor(&d.desk);
    d.desk.SetUntitled(3);
    dialog.FormActivate();
    EXPECT_EQ(dialog.lblName->text(), QStringLiteral("Name: ") + d.desk.Caption());
    EXPECT_EQ(dialog.lblLocation->text(), QStringLiteral("Location: "));

    const QString folder = QDir::tempPath() + QStringLiteral("/some folder");
    d.desk.SetFilePath(folder + QStringLiteral("/app.ico"));
    dialog.FormActivate();
    EXPECT_EQ(dialog.lblName->text(), QStringLiteral("Name: app.ico"));
    EXPECT_EQ(dialog.lblLocation->text(), QStringLiteral("Location: ") + QDir::toNativeSeparators(folder + '/'));
    EXPECT_EQ(dialog.lblLocation->toolTip(), dialog.lblLocation->text());
}

TEST(TfrmProperties, ShowingAgainRebuildsTheRowsAndHidingFreesThemAll)
{
    Document d({{16, 16, 32}, {32, 32, 8}, {48, 48, 4}});
    TfrmProperties dialog;
    dialog.ShowFor(&d.desk);
    const auto labels = [&] { return dialog.ScrollBox1->widget()->findChildren<QLabel*>().size(); };
    dialog.show();
    EXPECT_EQ(labels(), 12);
    dialog.FormActivate(); // activated again while shown
    EXPECT_EQ(labels(), 12);
    dialog.hide();
    EXPECT_EQ(labels(), 0);
    EXPECT_TRUE(dialog.Rows().empty());
    dialog.ShowFor(nullptr);
    dialog.show();
    EXPECT_EQ(labels(), 0);
}

} // namespace
