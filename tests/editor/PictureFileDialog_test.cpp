#include "editor/PictureFileDialog.h"

#include "engine/MyImage.h"
#include "engine/PngCodec.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/TempFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

QByteArray Png(int width, int height)
{
    TmyImage image(height, width);
    image.Fill(TmyPixel::CreateRGBA(200, 30, 40, 255));
    return glimt::EncodePng(image);
}

} // namespace

TEST(PreviewPicture, FitsPicturesIconsAndCursorsIntoTheBoxAndRefusesTheRest)
{
    glimt::test::TempFiles files;
    const struct {
        const char* name;
        QByteArray bytes;
        QSize shown; // invalid: no picture
        QSize full;
    } rows[] = {
        {"small.png", Png(40, 20), {40, 20}, {40, 20}},
        {"wide.png", Png(400, 100), {160, 40}, {400, 100}},
        {"tall.png", Png(30, 600), {8, 160}, {30, 600}},
        {"icon.ico", glimt::test::IconFileOf(1, {glimt::test::DibImage(16, 16, 32)}), {16, 16}, {16, 16}},
        {"pointer.cur", glimt::test::IconFileOf(2, {glimt::test::DibImage(32, 32, 4)}), {32, 32}, {32, 32}},
        {"cut.png", Png(40, 20).left(60), {}, {}},
        {"notes.txt", "not a picture", {}, {}},
        {"empty.bmp", "", {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QSize full(1, 1);
        const QImage picture = glimt::PreviewPicture(files.Write(QString::fromLatin1(row.name), row.bytes), {160, 160}, &full);
        EXPECT_EQ(picture.isNull(), !row.shown.isValid());
        if (row.shown.isValid()) {
            EXPECT_EQ(picture.size(), row.shown);
        }
        EXPECT_EQ(full, row.full);
    }
    EXPECT_TRUE(glimt::PreviewPicture(QDir::tempPath(), {160, 160}).isNull());
}

TEST(TPictureFileDialog, ShowsThePictureAndItsSizeBesideTheList)
{
    glimt::test::TempFiles files;
    const QString wide = files.Write(QStringLiteral("wide.png"), Png(400, 100));
    const QString text = files.Write(QStringLiteral("notes.txt"), "not a picture");
    glimt::TPictureFileDialog dialog(nullptr, QStringLiteral("Import Image"), QFileInfo(wide).absolutePath(),
                                     QStringLiteral("All (*)"));
    EXPECT_TRUE(dialog.Preview->isVisibleTo(&dialog));
    dialog.ShowPreview(wide);
    EXPECT_EQ(dialog.Preview->pixmap().size(), QSize(160, 40));
    EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("400 x 100"));
    // Moving on to a file that is not a picture leaves the preview empty.
    dialog.ShowPreview(text);
    EXPECT_TRUE(dialog.Preview->pixmap().isNull());
    EXPECT_TRUE(dialog.lblSize->text().isEmpty());
    // The dialog itself follows the file under the cursor of its list, once the list has read
    // the folder.
    dialog.show();
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(model, nullptr);
    for (QDeadlineTimer deadline(20000); !model->index(wide).isValid() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    list->setCurrentIndex(model->index(wide));
    EXPECT_EQ(dialog.lblSize->text(), QStringLiteral("400 x 100"));
}
