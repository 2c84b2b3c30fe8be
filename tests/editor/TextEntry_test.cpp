#include "editor/TextEntry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

int DarkColumns(const QImage& image)
{
    int columns = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qRed(image.pixel(x, y)) < 128) {
                ++columns;
                break;
            }
    return columns;
}

} // namespace

TEST(TfrmText, StartsOnTheFirstFontAtTwelveWithoutStylesAndAWhitePreview)
{
    TfrmText dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmText"));
    dialog.show();
    EXPECT_GE(dialog.width(), 362);
    EXPECT_GE(dialog.height(), 264);
    QStringList sorted;
    for (int i = 0; i < dialog.cmbfont->count(); ++i)
        sorted << dialog.cmbfont->itemText(i);
    QStringList expected = sorted;
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(dialog.cmbfont->currentIndex(), dialog.cmbfont->count() > 0 ? 0 : -1);
    ASSERT_EQ(dialog.cmbSize->count(), 26);
    EXPECT_EQ(dialog.cmbSize->itemText(0), QStringLiteral("5"));
    EXPECT_EQ(dialog.cmbSize->itemText(25), QStringLiteral("30"));
    EXPECT_EQ(dialog.cmbSize->currentText(), QStringLiteral("12"));
    for (QToolButton* b : {dialog.btnBold, dialog.btnItalic, dialog.btnUnderLine, dialog.btnStrike})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_TRUE(dialog.edtText->text().isEmpty());
    EXPECT_EQ(dialog.Preview().size(), QSize(329, 57));
    EXPECT_EQ(DarkColumns(dialog.Preview()), 0);
    EXPECT_EQ(dialog.btnBold->toolTip(), QStringLiteral("Bold"));
    EXPECT_EQ(dialog.btnStrike->toolTip(), QStringLiteral("Strikethrough"));
}

TEST(TfrmText, OkAndEnterAcceptEscapeAndCancelDoNotAndTheChoiceStays)
{
    TfrmText dialog;
    dialog.show();
    EXPECT_FALSE(dialog.Accepted);
    QTest::keyClicks(dialog.edtText, QStringLiteral("Glimt"));
    dialog.btnBold->click();
    dialog.cmbSize->setCurrentIndex(0);
    QTest::keyClick(dialog.edtText, Qt::Key_Return);
    EXPECT_TRUE(dialog.Accepted);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show(); // a new use: not accepted yet, the last choice kept
    EXPECT_FALSE(dialog.Accepted);
    glimt::TTextChoice text;
    ASSERT_TRUE(dialog.Choice(text));
    EXPECT_EQ(text.Text, QStringLiteral("Glimt"));
    EXPECT_EQ(text.Size, 5);
    EXPECT_TRUE(text.Bold);
    EXPECT_FALSE(text.Italic);
    EXPECT_EQ(text.FontName, dialog.cmbfont->currentText());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.Accepted);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.btnCancel->click();
    EXPECT_FALSE(dialog.Accepted);
    dialog.show();
    dialog.btnOK->click();
    EXPECT_TRUE(dialog.Accepted);
}

TEST(TfrmText, PreviewCentresTheTextAndCutsItAtBothSides)
{
    TfrmText dialog;
    if (dialog.cmbfont->count() == 0)
        GTEST_SKIP() << "no fonts";
    dialog.edtText->setText(QStringLiteral("I"));
    const QImage narrow = dialog.Preview();
    int first = -1, last = -1;
    for (int x = 0; x < narrow.width(); ++x)
        for (int y = 0; y < narrow.height(); ++y)
            if (qRed(narrow.pixel(x, y)) < 128) {
                last = x;
                if (first < 0)
                    first = x;
            }
    ASSERT_GE(first, 0);
    EXPECT_NEAR((first + last) / 2.0, narrow.width() / 2.0, 4.0);

    dialog.edtText->setText(QString(80, QLatin1Char('M')));
    const QImage wide = dialog.Preview();
    auto darkAt = [&](int x) {
        for (int y = 0; y < wide.height(); ++y)
            if (qRed(wide.pixel(x, y)) < 128)
                return true;
        return false;
    };
    bool left = false, right = false;
    for (int x = 0; x < 6; ++x) {
        left = left || darkAt(x);
        right = right || darkAt(wide.width() - 1 - x);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST(TfrmText, ASizeThatIsNoNumberKeepsThePreviewAndGivesNoChoice)
{
    TfrmText dialog;
    dialog.edtText->setText(QStringLiteral("Ab"));
    const QImage before = dialog.Preview();
    dialog.cmbSize->setEditText(QString());
    glimt::TTextChoice text;
    EXPECT_FALSE(dialog.Choice(text));
    EXPECT_EQ(dialog.Preview(), before);
    // Letters cannot be typed into the size box.
    QTest::keyClicks(dialog.cmbSize, QStringLiteral("x1"));
    EXPECT_EQ(dialog.cmbSize->currentText(), QStringLiteral("1"));
}
