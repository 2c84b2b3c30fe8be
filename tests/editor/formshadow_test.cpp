#include "editor/formshadow.h"

#include "editor/advancedtrackbar.h"
#include "tests/editor/EffectDialogFakes.h"

#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::EffectDialogEnv;

namespace {

// A 7 x 5 transparent picture with one opaque red pixel at (2, 1).
TmyImagePal Dot(int depth = 32)
{
    TmyImagePal image(5, 7, depth);
    image.Pixel(2, 1) = TmyPixel::CreateRGBA(220, 10, 10, 255);
    return image;
}

} // namespace

TEST(TfrmShadow, ACentredUnblurredShadowHidesUnderOpaquePixels)
{
    TmyImagePal image = Dot();
    TfrmShadow::ApplyShadow(image, 4, 0, 3, 3, 0);
    EXPECT_EQ(image.Pixel(2, 1), TmyPixel::CreateRGBA(220, 10, 10, 255));
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 1), QPoint(6, 4)})
        EXPECT_EQ(image.Pixel(p.x(), p.y()), TmyPixel::CreateRGBA(255, 255, 255, 0));

    // A fully opaque picture hides its shadow whatever the style.
    TmyImagePal full(2, 3, 32);
    full.Fill(TmyPixel::CreateRGBA(9, 80, 200, 255));
    TmyImagePal shadowed = full;
    TfrmShadow::ApplyShadow(shadowed, 1, 3, 1, 1, 2);
    EXPECT_TRUE(shadowed.SamePixels(full));
}

TEST(TfrmShadow, TheShadowFallsByTheStyleAndEachBlurPassWidensItsEdge)
{
    struct Row {
        std::uint8_t style;
        QPoint at; // where the unblurred shadow of the dot lands with x = 2, y = 1
    };
    const Row rows[] = {{0, {0, 2}}, {1, {4, 2}}, {2, {0, 0}}, {3, {4, 0}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.style));
        TmyImagePal image = Dot();
        TfrmShadow::ApplyShadow(image, r.style, 0, 2, 1, 0);
        const TmyPixel s = image.Pixel(r.at.x(), r.at.y());
        EXPECT_EQ(s.A, 255);
        EXPECT_NEAR(s.R, s.G, 1); // grey
        EXPECT_NEAR(s.G, s.B, 1);
        int shaded = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                shaded += image.Pixel(x, y).A != 0 ? 1 : 0;
        EXPECT_EQ(shaded, 2); // the dot and its hard-edged shadow
    }

    TmyImagePal blurred = Dot();
    TfrmShadow::ApplyShadow(blurred, 1, 1, 2, 1, 0);
    EXPECT_GT(blurred.Pixel(5, 2).A, 0);
    EXPECT_GT(blurred.Pixel(4, 3).A, 0);
    EXPECT_LT(blurred.Pixel(4, 2).A, 255);
    EXPECT_EQ(blurred.Pixel(6, 2).A, 0);
    EXPECT_EQ(blurred.Pixel(4, 4).A, 0);
}

TEST(TfrmShadow, BelowThirtyTwoBitsAlphaEndsOpaqueOrTransparentWhite)
{
    TmyImagePal image = Dot(24);
    TfrmShadow::ApplyShadow(image, 1, 2, 1, 1, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const TmyPixel p = image.Pixel(x, y);
            EXPECT_TRUE(p.A == 0 || p.A == 255);
            if (p.A == 0) {
                EXPECT_EQ(p, TmyPixel::CreateRGBA(255, 255, 255, 0));
            }
        }
}

TEST(TfrmShadow, TheDialogPreviewsEachChangeAndAppliesOnOk)
{
    EffectDialogEnv env(Dot());
    TfrmShadow dialog;
    dialog.show();
    EXPECT_EQ(dialog.ShadowStyle, 1);
    EXPECT_EQ(dialog.TrackBar1->Position(), 2);
    EXPECT_EQ(dialog.TrackBar2->Position(), 1);
    EXPECT_EQ(dialog.TrackBar3->Position(), 1);
    EXPECT_EQ(dialog.TrackBar4->Position(), 0);
    dialog.TrackBar1->SetPosition(0);
    dialog.btnTopLeft->click();
    EXPECT_EQ(dialog.ShadowStyle, 2);
    TmyImagePal want = Dot();
    TfrmShadow::ApplyShadow(want, 2, 0, 1, 1, 0);
    EXPECT_TRUE(dialog.WorkImage.SamePixels(want));
    EXPECT_TRUE(env.Image().SamePixels(Dot()));

    dialog.btnOK->click();
    EXPECT_TRUE(env.Image().SamePixels(want));
    EXPECT_EQ(env.desk.Undo->Count(), 1);
    // The style and values stay for the next showing.
    dialog.show();
    EXPECT_EQ(dialog.ShadowStyle, 2);
    EXPECT_EQ(dialog.TrackBar1->Position(), 0);
    dialog.btnCancel->click();
}
