#include "editor/formFilter.h"

#include "editor/UserDialogs.h"
#include "engine/Mypreview.h"
#include "engine/Settings.h"
#include "tests/editor/EffectDialogFakes.h"
#include "tests/support/FakeDialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using glimt::test::EffectDialogEnv;
using glimt::test::FakeDialogs;
using glimt::test::SmallPicture;

namespace {

QStringList Texts(const TfrmFilter& dialog)
{
    QStringList texts;
    for (const QLineEdit* e : dialog.Edits)
        texts << e->text();
    return texts;
}

QImage Rendered(const TmyImagePal& image)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, Options().PrevColor);
    return picture;
}

} // namespace

TEST(TfrmFilter, SamplesLoadTheirKernelsWithTheirOwnDivisor)
{
    TfrmFilter dialog;
    EXPECT_EQ(dialog.Edits[12]->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.Edits[25]->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.cmbSample->count(), 30);
    EXPECT_EQ(dialog.Edits[0]->objectName(), QStringLiteral("Edit1"));
    EXPECT_EQ(dialog.Edits[26]->objectName(), QStringLiteral("Edit27"));

    dialog.cmbSample->setCurrentIndex(5); // "Blur"
    const QStringList blur = Texts(dialog);
    const QStringList centre = {blur[6], blur[7], blur[8], blur[11], blur[12], blur[13], blur[16], blur[17], blur[18]};
    EXPECT_EQ(centre, (QStringList{"1", "2", "1", "2", "2", "2", "1", "2", "1"}));
    EXPECT_EQ(blur[25], QStringLiteral("14"));
    EXPECT_EQ(blur[26], QStringLiteral("0"));

    // "Shake" and "Shake Less" load the entries stored the other way round.
    EXPECT_EQ(dialog.cmbSample->itemText(26), QStringLiteral("Shake"));
    EXPECT_EQ(TfrmFilter::SampleEntry(26), 26);
    EXPECT_EQ(TfrmFilter::SampleEntry(27), 25);
    EXPECT_EQ(TfrmFilter::SampleEntry(0), -1);
    dialog.cmbSample->setCurrentIndex(27);
    const TFilterKernel k = dialog.GetFilterKernel();
    EXPECT_EQ(k.Weights, FilterPresets[25].Weights);
    EXPECT_EQ(k.Divisor, FilterPresets[25].Divisor);

    // "None" loads nothing.
    dialog.cmbSample->setCurrentIndex(0);
    EXPECT_EQ(dialog.GetFilterKernel().Weights, FilterPresets[25].Weights);
}

TEST(TfrmFilter, TypingAWeightMakesTheDivisorTheSumOfTheWeightsInSixtyFourBits)
{
    TfrmFilter dialog;
    dialog.cmbSample->setCurrentIndex(5); // "Blur", divisor 14
    dialog.Edits[0]->selectAll();
    QTest::keyClicks(dialog.Edits[0], QStringLiteral("3"));
    EXPECT_EQ(dialog.Edits[25]->text(), QStringLiteral("17"));
    // The key filter passes digits and the minus sign only.
    QTest::keyClicks(dialog.Edits[1], QStringLiteral("x-"));
    EXPECT_EQ(dialog.Edits[1]->text(), QStringLiteral("0-"));

    dialog.btnResetClick();
    dialog.Edits[0]->setText(QStringLiteral("2147483647"));
    dialog.Edits[1]->setText(QStringLiteral("2147483647"));
    EXPECT_EQ(dialog.Edits[25]->text(), QStringLiteral("4294967295"));
    // While a weight box holds no number the divisor waits.
    dialog.Edits[2]->setText(QStringLiteral("-"));
    dialog.Edits[3]->setText(QStringLiteral("5"));
    EXPECT_EQ(dialog.Edits[25]->text(), QStringLiteral("4294967295"));
}

TEST(TfrmFilter, TestPreviewsAndResetGivesTheIdentity)
{
    EffectDialogEnv env(SmallPicture());
    TfrmFilter dialog;
    dialog.show();
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(env.Image()));
    dialog.cmbSample->setCurrentIndex(9); // "Sharpen": no preview until Test
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(env.Image()));
    dialog.btnTest->click();
    TmyImagePal sharpened = env.Image();
    TmyFilter::ApplyFilterKernel(sharpened, FilterPresets[8], Options().FilterOnAlpha);
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(sharpened));

    dialog.btnReset->click();
    EXPECT_EQ(dialog.cmbSample->currentIndex(), 0);
    dialog.btnTest->click();
    EXPECT_EQ(dialog.PreviewPicture(), Rendered(env.Image()));
    dialog.btnCancel->click();
}

TEST(TfrmFilter, OkAppliesTheKernelAndTheBoxesKeepItForTheNextShowing)
{
    EffectDialogEnv env(SmallPicture());
    const TmyImagePal original = env.Image();
    TfrmFilter dialog;
    QSignalSpy applied(&dialog, &TfrmFilter::FilterApplied);
    dialog.show();
    dialog.cmbSample->setCurrentIndex(2); // "Emboss Light"
    dialog.btnOK->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(env.desk.Undo->Count(), 1);
    TmyImagePal want = original;
    TmyFilter::ApplyFilterKernel(want, FilterPresets[1], Options().FilterOnAlpha);
    EXPECT_TRUE(env.Image().SamePixels(want));

    dialog.show();
    EXPECT_EQ(dialog.cmbSample->currentIndex(), 0);
    EXPECT_EQ(dialog.GetFilterKernel().Weights, FilterPresets[1].Weights);
    dialog.btnCancel->click();
}

TEST(TfrmFilter, ABoxWithoutANumberStopsOkBeforeAnythingChanges)
{
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs install(&dialogs);
    EffectDialogEnv env(SmallPicture());
    const TmyImagePal original = env.Image();
    TfrmFilter dialog;
    QSignalSpy applied(&dialog, &TfrmFilter::FilterApplied);
    for (const char* bad : {"", "-", "12x", "99999999999"}) {
        SCOPED_TRACE(bad);
        dialog.show();
        dialog.btnResetClick();
        dialog.Edits[26]->setText(QString::fromLatin1(bad)); // the offset, read last
        dialog.btnOK->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(env.Image().SamePixels(original));
        EXPECT_EQ(env.desk.Undo->Count(), 0);
        EXPECT_TRUE(env.desk.Saved);
        EXPECT_EQ(applied.count(), 0);
        dialog.btnTest->click(); // Test reports it too and keeps the preview
        EXPECT_EQ(dialog.PreviewPicture(), Rendered(original));
        dialog.btnCancel->click();
    }
    EXPECT_EQ(dialogs.Count(FakeDialogs::Kind::Error), 8);
    EXPECT_TRUE(dialogs.Texts(FakeDialogs::Kind::Error).first().contains(QStringLiteral("not a valid integer")));
}
