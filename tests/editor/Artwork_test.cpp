#include "editor/Artwork.h"

#include "editor/DialogParts.h"
#include "editor/formColors.h"
#include "editor/formTools.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <cmath>
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

TEST(Artwork, TheBannerIsDrawnForItsStripAtTheScreensDensity)
{
    for (const qreal dpr : {1.0, 1.5, 2.0}) {
        for (const QSize size : {QSize(300, 48), QSize(541, 49), QSize(700, 60)}) {
            SCOPED_TRACE(QStringLiteral("%1 x %2 at %3").arg(size.width()).arg(size.height()).arg(dpr).toStdString());
            const QPixmap banner = glimt::DialogBanner(size, dpr);
            EXPECT_EQ(banner.size(), size * dpr);
            EXPECT_EQ(banner.devicePixelRatio(), dpr);
            const QImage image = banner.toImage();
            EXPECT_EQ(image.pixelColor(int(10 * dpr), int(20 * dpr)), QColor(Qt::white)) << "white where the texts stand";
            // The picture of cells at the right end is sharp at every density: each cell is
            // whole device pixels of one colour, never a blend with its neighbours.
            const QPoint cells(int(std::lround((size.width() - 56) * dpr)), int(std::lround(6 * dpr)));
            const int cell = int(std::lround(5 * dpr));
            // Within one cell every pixel has the cell's colour.
            const QPoint c = cells + QPoint(3 * cell, 3 * cell);
            const QRgb inside = image.pixel(c);
            EXPECT_EQ(inside | 0xFF000000u, qRgb(230, 240, 255)) << "the gem's light heart";
            for (int y = 0; y < cell - int(std::lround(dpr)); ++y)
                for (int x = 0; x < cell - int(std::lround(dpr)); ++x)
                    EXPECT_EQ(image.pixel(c + QPoint(x, y)), inside) << x << "," << y;
        }
    }
}

TEST(Artwork, ButtonGlyphsAreDrawnAtTheScreensDensity)
{
    const QIcon icon = glimt::ButtonGlyph("pencil");
    const QImage large = icon.pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    for (const qreal dpr : {1.5, 2.0}) {
        SCOPED_TRACE(dpr);
        const QPixmap dense = icon.pixmap(QSize(16, 16), dpr);
        EXPECT_EQ(dense.size(), QSize(16, 16) * dpr);
        EXPECT_EQ(dense.devicePixelRatio(), dpr);
        // Drawn at that size, not a larger picture scaled down.
        const QImage scaled = large.scaled(dense.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (dpr != 2.0) {
            EXPECT_NE(dense.toImage().convertToFormat(QImage::Format_ARGB32), scaled);
        }
        EXPECT_EQ(dense.toImage().convertToFormat(QImage::Format_ARGB32),
                  icon.pixmap(dense.size(), 1.0).toImage().convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_FALSE(icon.pixmap(QSize(16, 16), QIcon::Disabled).isNull());
    EXPECT_NE(icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage(), icon.pixmap(QSize(16, 16)).toImage());
}

TEST(Artwork, TheDialogHeaderHoldsItsTextsBesideTheBannersDecoration)
{
    const QFont font = QApplication::font();
    for (const int larger : {0, 2, 8}) {
        SCOPED_TRACE(larger);
        QFont f = font;
        f.setPointSizeF(font.pointSizeF() + larger);
        QApplication::setFont(f);
        for (int width : {300, 541}) {
            QDialog dialog;
            glimt::TDialogHeader header;
            header.Create(&dialog, QStringLiteral("Title"), QStringLiteral("A line of help for the dialog"), width);
            glimt::MakeDialogLayout(&dialog, &header)->addWidget(new QLabel(QStringLiteral("body"), &dialog));
            dialog.show();
            QCoreApplication::processEvents();
            EXPECT_GE(header.Panel3->width(), width);
            EXPECT_EQ(header.Panel3->width(), dialog.width()) << "across the whole dialog";
            EXPECT_GE(header.Panel3->height(), 48);
            if (larger == 0) {
                EXPECT_EQ(header.Panel3->height(), 48) << "48 high unless the font needs more";
            }
            EXPECT_EQ(header.Image4->geometry(), header.Panel3->rect());
            for (QLabel* text : {header.lblCaption, header.lblHelp}) {
                EXPECT_GE(text->width(), text->sizeHint().width());
                EXPECT_GE(text->height(), text->sizeHint().height());
                EXPECT_TRUE(header.Panel3->rect().contains(text->geometry()));
                EXPECT_LE(text->geometry().right(), header.Panel3->width() - 56) << "clear of the decoration";
            }
            EXPECT_LT(header.lblCaption->geometry().bottom(), header.lblHelp->geometry().top());
            EXPECT_GT(header.lblHelp->geometry().left() + header.lblHelp->indent(), header.lblCaption->geometry().left());
            // The banner's decoration lands at the strip's right end.
            const QImage shown = header.Panel3->grab().toImage();
            const QImage banner = glimt::DialogBanner(header.Panel3->size(), 1.0).toImage();
            EXPECT_EQ(shown.pixelColor(shown.width() - 20, 20), banner.pixelColor(banner.width() - 20, 20)) << width;
            EXPECT_NE(shown.pixelColor(shown.width() - 20, 20), QColor(Qt::white));
        }
    }
    QApplication::setFont(font);
}

} // namespace
