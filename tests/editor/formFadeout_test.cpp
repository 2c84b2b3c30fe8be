#include "editor/formFadeout.h"

#include "editor/advancedtrackbar.h"
#include "engine/MyPainter.h"
#include "tests/editor/EffectDialogFakes.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::EffectDialogEnv;

namespace {

TmyImagePal Opaque(int width, int height, int depth = 32)
{
    TmyImagePal image(height, width, depth);
    image.Fill(TmyPixel::CreateRGBA(200, 150, 100, 255));
    return image;
}

} // namespace

TEST(TfrmFadeout, PercentsBecomeBytesRoundedToEven)
{
    EXPECT_EQ(TfrmFadeout::PercentToByte(50), 128);
    EXPECT_EQ(TfrmFadeout::PercentToByte(10), 26);
    EXPECT_EQ(TfrmFadeout::PercentToByte(0), 0);
    EXPECT_EQ(TfrmFadeout::PercentToByte(100), 255);
}

TEST(TfrmFadeout, AlphaFallsLinearlyFromTheStartColumnToTheEndColumn)
{
    TmyImagePal image = Opaque(16, 3);
    image.Pixel(4, 2).A = 128; // half transparent: the factor multiplies its alpha
    TfrmFadeout::ApplyFadeout(image, 1, 100, 0);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(image.Pixel(0, y).A, 255);
        EXPECT_EQ(image.Pixel(8, y).A, 119);
        EXPECT_EQ(image.Pixel(15, y), TmyPixel::CreateRGBA(0, 0, 0, 0));
    }
    EXPECT_EQ(image.Pixel(4, 2).A, 94); // round(128 x 73.33 / 100)
    EXPECT_EQ(image.Pixel(8, 1).R, 200);

    // Vertically the rows take the factors.
    TmyImagePal tall = Opaque(2, 3);
    TfrmFadeout::ApplyFadeout(tall, 0, 0, 100);
    EXPECT_EQ(tall.Pixel(1, 0), TmyPixel::CreateRGBA(0, 0, 0, 0));
    EXPECT_EQ(tall.Pixel(1, 1).A, 128);
    EXPECT_EQ(tall.Pixel(0, 2).A, 255);
}

TEST(TfrmFadeout, ASingleRowOrColumnTakesTheStartValueAlone)
{
    struct Row {
        const char* name;
        int width, height;
        std::uint8_t direction;
    };
    const Row rows[] = {{"one row, vertical", 4, 1, 0}, {"one column, horizontal", 1, 4, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TmyImagePal image = Opaque(r.width, r.height);
        TfrmFadeout::ApplyFadeout(image, r.direction, 50, 0);
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                EXPECT_EQ(image.Pixel(x, y).A, 128);
    }
}

TEST(TfrmFadeout, BelowThirtyTwoBitsAlphaEndsOpaqueOrTransparent)
{
    TmyImagePal image = Opaque(7, 2, 24);
    TfrmFadeout::ApplyFadeout(image, 1, 100, 0);
    for (int x = 0; x < 7; ++x) {
        const std::uint8_t a = image.Pixel(x, 1).A;
        EXPECT_TRUE(a == 0 || a == 255) << x;
        if (x != 3) { // column 3 sits on the threshold itself
            EXPECT_EQ(a, x < 3 ? 255 : 0) << x;
        }
    }
}

TEST(TfrmFadeout, TheDialogFadesOnOkAndKeepsItsChoicesForTheNextShowing)
{
    EffectDialogEnv env(Opaque(4, 3));
    TfrmFadeout dialog;
    dialog.show();
    EXPECT_EQ(dialog.FillDirection, 1);
    EXPECT_TRUE(dialog.btnHoriz->isChecked());
    EXPECT_EQ(dialog.TrackBar1->Position(), 100);
    EXPECT_EQ(dialog.TrackBar2->Position(), 0);
    // The samples: black at the opacity over the checkerboard.
    const QImage start = dialog.Image1->pixmap().toImage();
    const QImage end = dialog.Image2->pixmap().toImage();
    EXPECT_EQ(start.size(), QSize(30, 23));
    EXPECT_EQ(end.size(), QSize(31, 23));
    EXPECT_EQ(QColor(start.pixel(0, 0)), QColor(0, 0, 0));
    const TColor c = TmyPainter::CheckerColor(0, 0);
    EXPECT_EQ(qRed(end.pixel(0, 0)), int((255 * (c & 0xFF)) >> 8));

    dialog.btnVert->click();
    EXPECT_EQ(dialog.FillDirection, 0);
    const QImage preview = dialog.PreviewPicture();
    dialog.btnOK->click();
    EXPECT_EQ(env.desk.Undo->Count(), 1);
    EXPECT_FALSE(env.desk.Saved);
    EXPECT_EQ(env.Image().Pixel(3, 0).A, 255);
    EXPECT_EQ(env.Image().Pixel(3, 1).A, 128);
    EXPECT_EQ(env.Image().Pixel(0, 2).A, 0);
    EXPECT_EQ(preview.pixel(0, 2), dialog.PreviewPicture().pixel(0, 2));

    dialog.show();
    EXPECT_EQ(dialog.FillDirection, 0);
    EXPECT_TRUE(dialog.btnVert->isChecked());
    dialog.btnCancel->click();
}
