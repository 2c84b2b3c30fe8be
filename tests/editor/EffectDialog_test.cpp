#include "editor/EffectDialog.h"

#include "editor/advancedtrackbar.h"
#include "editor/formBrightness.h"
#include "editor/formColorBalance.h"
#include "editor/formHue.h"
#include "editor/formOpacity.h"
#include "engine/Mypreview.h"
#include "engine/Settings.h"
#include "engine/myadjustments.h"
#include "tests/editor/EffectDialogFakes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using glimt::test::EffectDialogEnv;
using glimt::test::SmallPicture;

namespace {

QImage Rendered(const TmyImagePal& image)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, Options().PrevColor);
    return picture;
}

// Types `text` into the number box of a track bar, as the user would.
void Type(TAdvancedTrackBar* bar, const QString& text)
{
    bar->Edit()->selectAll();
    QTest::keyClick(bar->Edit(), Qt::Key_Backspace);
    QTest::keyClicks(bar->Edit(), text);
}

TmyImagePal Brightened(TmyImagePal image, int brightness, int contrast)
{
    TmyAdjustments::AdjustBrightnessContrast(image, brightness, contrast, true);
    return image;
}

} // namespace

TEST(TEffectDialog, ShowingStartsAtZeroAndThePreviewStartsAgainFromTheSourceOnEveryChange)
{
    EffectDialogEnv env(SmallPicture());
    const TmyImagePal original = env.Image();
    TfrmBrightness dialog;
    dialog.show();
    EXPECT_EQ(dialog.Source, &env.Image());
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(original));
    EXPECT_EQ(dialog.PreviewPicture().size(), QSize(3, 2));

    Type(dialog.TrackBar1, QStringLiteral("40"));
    Type(dialog.TrackBar2, QStringLiteral("-30"));
    EXPECT_EQ(dialog.TrackBar1->Position(), 40);
    EXPECT_EQ(dialog.TrackBar2->Position(), -30);
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(Brightened(original, 40, -30)));
    EXPECT_TRUE(env.Image().SamePixels(original));

    // Cancel leaves the image, the history and the saved state as they were.
    dialog.btnCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(env.Image().SamePixels(original));
    EXPECT_EQ(env.desk.Undo->Count(), 0);
    EXPECT_TRUE(env.desk.Saved);

    // Shown again, the bars are back at 0 and the preview shows the unchanged image.
    dialog.show();
    EXPECT_EQ(dialog.TrackBar1->Position(), 0);
    EXPECT_EQ(dialog.TrackBar2->Position(), 0);
    EXPECT_EQ(dialog.TrackBar1->Edit()->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(original));
}

TEST(TEffectDialog, OkChangesTheImageWithAnUndoStepEvenWithTheBarsAtZero)
{
    EffectDialogEnv env(SmallPicture());
    const TmyImagePal original = env.Image();
    TfrmBrightness dialog;
    dialog.show();
    dialog.btnOK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(env.desk.Undo->Count(), 1);
    EXPECT_FALSE(env.desk.Saved);
    EXPECT_GE(env.host.UndoUpdates, 1);

    env.desk.Saved = true;
    dialog.show();
    Type(dialog.TrackBar1, QStringLiteral("10"));
    // Enter is OK.
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(env.desk.Undo->Count(), 2);
    EXPECT_EQ(env.Image().Pixel(0, 0).R, original.Pixel(0, 0).R + 25);
    EXPECT_EQ(env.Image().Pixel(2, 1), original.Pixel(2, 1)); // transparent pixels stay
}

TEST(TEffectDialog, TheSelectionOfTheActiveDocumentChangesAloneWithoutUndo)
{
    EffectDialogEnv env(SmallPicture());
    const TmyImagePal original = env.Image();
    TmyImagePal picture(3, 2, 32); // 2 wide, 3 high
    picture.Fill(TmyPixel::CreateRGBA(100, 100, 100, 255));
    tmyselection& s = env.Float(picture, 1);

    TfrmColorBalance dialog;
    dialog.show();
    EXPECT_EQ(dialog.Source, &s.Image);
    Type(dialog.TrackBar1, QStringLiteral("20"));
    dialog.btnOK->click();
    EXPECT_EQ(s.Image.Pixel(1, 2).R, 151);
    EXPECT_TRUE(s.OriginalImage.SamePixels(s.Image));
    EXPECT_TRUE(env.Image().SamePixels(original));
    EXPECT_EQ(env.desk.Undo->Count(), 0);
    EXPECT_TRUE(env.desk.Saved);

    // A selection of another document leaves the dialog to the active image.
    env.Float(picture, 2);
    dialog.show();
    EXPECT_EQ(dialog.Source, &env.Image());
    Type(dialog.TrackBar1, QStringLiteral("20"));
    dialog.btnOK->click();
    EXPECT_EQ(env.desk.Undo->Count(), 1);
    EXPECT_EQ(env.Image().Pixel(0, 0).R, original.Pixel(0, 0).R + 51);
    EXPECT_TRUE(env.tools.Floating.Image.SamePixels(picture));
}

TEST(TEffectDialog, OpacityLeavesOtherDepthsAloneYetTakesTheUndoStep)
{
    for (int depth : {32, 24}) {
        SCOPED_TRACE(depth);
        EffectDialogEnv env(SmallPicture(depth));
        const TmyImagePal original = env.Image();
        TfrmOpacity dialog;
        dialog.show();
        Type(dialog.TrackBar1, QStringLiteral("-50"));
        dialog.btnOK->click();
        EXPECT_EQ(env.desk.Undo->Count(), 1);
        if (depth == 24) {
            EXPECT_TRUE(env.Image().SamePixels(original));
        } else {
            EXPECT_EQ(env.Image().Pixel(0, 0).A, 255 - 127);
            EXPECT_EQ(env.Image().Pixel(1, 1).A, 1);
            EXPECT_EQ(env.Image().Pixel(2, 1).A, 0);
        }
    }
}

TEST(TEffectDialog, TheLowerHueStripFollowsTheHue)
{
    EXPECT_EQ(TfrmHue::StripLeft(0), -152);
    EXPECT_EQ(TfrmHue::StripLeft(180), -304);
    EXPECT_EQ(TfrmHue::StripLeft(-180), 0);
    EXPECT_EQ(TfrmHue::StripLeft(90), -228);
    const QImage strip = TfrmHue::HueStrip();
    EXPECT_EQ(strip.size(), QSize(610, 9));
    EXPECT_EQ(strip.pixel(0, 4), qRgb(255, 0, 0));
    EXPECT_EQ(strip.pixel(304, 4), qRgb(255, 0, 0));

    EffectDialogEnv env(SmallPicture());
    TfrmHue dialog;
    dialog.show();
    EXPECT_EQ(dialog.Image3->x(), -152);
    EXPECT_EQ(dialog.Image2->x(), -152);
    Type(dialog.TrackBar1, QStringLiteral("90"));
    EXPECT_EQ(dialog.Image3->x(), -228);
    EXPECT_EQ(dialog.Image2->x(), -152);
    TmyImagePal want = env.Image();
    TmyAdjustments::AdjustHueSatLight(want, 90, 0, 0, true);
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(want));
    dialog.btnCancel->click();
}
