#include "editor/Artwork.h"

#include "editor/DialogParts.h"
#include "editor/formColors.h"
#include "editor/formTools.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

namespace {

// The glyph at 16 pixels; counts its visible pixels.
int VisiblePixels(const QIcon& icon)
{
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 64;
    return n;
}

TEST(Artwork, EveryButtonOfTheToolAndColourWindowsShowsAPictureOfItsOwn)
{
    TfrmTools tools;
    TfrmColors colors{QString()};
    std::set<QByteArray> pictures;
    int buttons = 0;
    for (QWidget* window : {static_cast<QWidget*>(&tools), static_cast<QWidget*>(&colors)}) {
        for (QToolButton* b : window->findChildren<QToolButton*>()) {
            if (window == &colors && b != colors.btnResetColor && b != colors.btnTwistColor)
                continue;
            ++buttons;
            ASSERT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
            const int visible = VisiblePixels(b->icon());
            EXPECT_GT(visible, 4) << b->objectName().toStdString();
            EXPECT_LT(visible, 16 * 16) << b->objectName().toStdString();
            EXPECT_FALSE(b->text().isEmpty()) << "the text stays for the button's name";
            const QImage image = b->icon().pixmap(16, 16).toImage();
            pictures.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes())));
        }
    }
    // 18 tools, 8 commands, 16 option buttons, 2 colour buttons: no two look the same.
    EXPECT_EQ(buttons, 18 + 8 + 16 + 2);
    EXPECT_EQ(int(pictures.size()), buttons);
    EXPECT_TRUE(glimt::ButtonGlyph("no such glyph").isNull());
}

TEST(Artwork, TheToolWindowFitsItsButtonsInTwoColumns)
{
    // The default layout puts the tool window beside the colour panel below the preview,
    // which leaves it 60 pixels with its frame.
    TfrmTools tools;
    tools.PressToolButton(glimt::toolBrush); // size and shape panels, side by side
    tools.show();
    EXPECT_LE(tools.sizeHint().width(), 56);
    EXPECT_LE(tools.minimumSizeHint().width(), 56);
    EXPECT_TRUE(tools.Panel1->isVisible());
    EXPECT_TRUE(tools.Panel2->isVisible());
    EXPECT_EQ(tools.Panel1->y(), tools.Panel2->y());
    EXPECT_LE(tools.Panel2->geometry().right(), tools.width());
    EXPECT_LE(tools.Panel1->geometry().bottom(), tools.height());
}

TEST(Artwork, TheDialogHeaderShowsTheBannerRightAlignedBeneathItsTexts)
{
    const QPixmap& banner = glimt::DialogBanner();
    EXPECT_EQ(banner.size(), QSize(541, 49));
    const QImage image = banner.toImage();
    EXPECT_EQ(image.pixelColor(10, 20), QColor(Qt::white)) << "white where the texts stand";
    EXPECT_NE(image.pixelColor(520, 20), QColor(Qt::white)) << "decorated at the right end";

    for (int width : {300, 541, 700}) {
        QWidget dialog;
        glimt::TDialogHeader header;
        header.Create(&dialog, QStringLiteral("Title"), QStringLiteral("Help"), width);
        ASSERT_FALSE(header.Image4->pixmap().isNull());
        EXPECT_EQ(header.Image4->pixmap().size(), banner.size());
        EXPECT_EQ(header.Image4->geometry().right(), width - 1) << width;
        EXPECT_TRUE(header.Image4->alignment() & Qt::AlignRight);
        dialog.resize(width, 100);
        dialog.show();
        EXPECT_EQ(header.Panel3->childAt(header.lblCaption->geometry().center()), header.lblCaption) << width;
        EXPECT_EQ(header.Panel3->childAt(header.lblHelp->geometry().center()), header.lblHelp) << width;
        // The banner's right end lands at the strip's right end.
        const QImage shown = header.Panel3->grab().toImage();
        EXPECT_EQ(shown.pixelColor(width - 541 + 520, 20), image.pixelColor(520, 20)) << width;
    }
}

} // namespace
