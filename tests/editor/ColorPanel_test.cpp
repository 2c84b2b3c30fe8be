#include "editor/ColorPanel.h"

#include "engine/BmpCodec.h"
#include "engine/Errors.h"
#include "engine/language.h"
#include "tests/support/PixelFixtures.h"
#include "tests/support/TempFiles.h"

#include <QFile>
#include <gtest/gtest.h>

using glimt::test::Px;

namespace {

TmyPixel At(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return Px(qRed(c), qGreen(c), qBlue(c), 255);
}

TEST(ColorPanel, SpectrumRunsHuesDownAndBlackToWhiteAcross)
{
    const QImage s = glimt::SpectrumPicture();
    ASSERT_EQ(s.size(), QSize(160, 160));
    EXPECT_EQ(At(s, 80, 0), Px(255, 0, 0, 255)) << "red in the top row";
    EXPECT_EQ(At(s, 80, 159), Px(255, 0, 0, 255)) << "back to red in the bottom row";
    const TmyPixel green = At(s, 80, 53); // 120 degrees
    EXPECT_EQ(green.G, 255);
    EXPECT_LT(green.R, 10);
    const TmyPixel blue = At(s, 80, 106); // 240 degrees
    EXPECT_EQ(blue.B, 255);
    EXPECT_LT(blue.G, 10);
    for (int y : {0, 40, 100, 159}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(At(s, 0, y), Px(0, 0, 0, 255));
        EXPECT_EQ(At(s, 159, y), Px(255, 255, 255, 255));
    }
    EXPECT_EQ(At(s, 40, 0), Px(128, 0, 0, 255)) << "half way to the full hue";
}

TEST(ColorPanel, FavoritesDefaultsFillTwelvePixelCells)
{
    const QImage f = glimt::DefaultFavoritesPicture();
    ASSERT_EQ(f.size(), QSize(60, 72));
    struct Row {
        int index;
        TmyPixel color;
    } rows[] = {{0, Px(0, 0, 0, 255)}, {2, Px(255, 204, 0, 255)}, {9, Px(153, 0, 0, 255)},
                {13, Px(0, 131, 215, 255)}, {29, Px(204, 255, 204, 255)}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const int x = (r.index % 5) * 12, y = (r.index / 5) * 12;
        EXPECT_EQ(At(f, x, y), r.color);
        EXPECT_EQ(At(f, x + 11, y + 11), r.color);
    }
}

TEST(ColorPanel, FavoritesFileRoundTripsAndFallsBackToTheDefaults)
{
    glimt::test::TempFiles files;
    QImage picture = glimt::DefaultFavoritesPicture();
    glimt::FillFavoriteCell(picture, 7, 0x123456);
    const QString path = files.Path(QStringLiteral("colors.dat"));
    glimt::SaveFavoritesFile(picture, path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "BM") << "a Windows bitmap";
    f.close();
    const QImage back = glimt::LoadFavoritesFile(path);
    EXPECT_EQ(back, picture);
    EXPECT_EQ(At(back, 2 * 12 + 5, 12 + 5), Px(0x56, 0x34, 0x12, 255));

    struct Bad {
        const char* name;
        QByteArray bytes;
    } bad[] = {
        {"garbage", QByteArray("not a bitmap at all")},
        {"truncated", glimt::EncodeBmp(TmyImage::FromQImage(picture), 24).left(100)},
        {"wrong size", glimt::EncodeBmp(TmyImage(3, 2), 24)},
    };
    const QImage defaults = glimt::DefaultFavoritesPicture();
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(glimt::LoadFavoritesFile(files.Write(QString::fromLatin1(b.name), b.bytes)), defaults);
    }
    EXPECT_EQ(glimt::LoadFavoritesFile(files.Path(QStringLiteral("missing"))), defaults);
}

TEST(ColorPanel, FavoritesFileFailureKeepsTheOldFile)
{
    glimt::test::TempFiles files;
    const QString path = files.Path(QStringLiteral("no such folder/colors.dat"));
    EXPECT_THROW(glimt::SaveFavoritesFile(glimt::DefaultFavoritesPicture(), path), glimt::Error);
}

TEST(ColorPanel, PaletteGridSizesAndIndexes)
{
    EXPECT_EQ(glimt::PaletteGridSize(2), QSize(20, 10));
    EXPECT_EQ(glimt::PaletteGridSize(16), QSize(160, 10));
    EXPECT_EQ(glimt::PaletteGridSize(256), QSize(160, 160));
    EXPECT_TRUE(glimt::PaletteGridSize(0).isEmpty());
    EXPECT_EQ(glimt::PaletteGridIndex(0, 0, 256), 0);
    EXPECT_EQ(glimt::PaletteGridIndex(159, 159, 256), 255);
    EXPECT_EQ(glimt::PaletteGridIndex(35, 12, 256), 19);
    EXPECT_EQ(glimt::PaletteGridIndex(25, 5, 2), -1) << "past the entries";
    EXPECT_EQ(glimt::PaletteGridIndex(5, 15, 16), -1);

    const TmyPalette p16(16);
    const QImage grid = glimt::PaletteGridPicture(p16);
    ASSERT_EQ(grid.size(), QSize(160, 10));
    EXPECT_EQ(At(grid, 7 * 10 + 4, 4), Px(128, 128, 128, 255));
    EXPECT_EQ(At(grid, 15 * 10 + 9, 9), Px(255, 255, 255, 255));
}

TEST(ColorPanel, EditTextStaysDigitsWithinRange)
{
    struct Row {
        const char* text;
        int max;
        const char* kept;
    } rows[] = {
        {"400", 359, "359"}, {"150", 100, "100"}, {"", 255, "0"},    {"1234", 255, "255"},
        {"99", 100, "99"},   {"12a", 255, "12"},  {"abc", 255, "0"}, {"-5", 255, "5"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(glimt::ClampEditText(QString::fromLatin1(r.text), r.max), QString::fromLatin1(r.kept));
    }
}

TEST(ColorPanel, StatusTextShowsRgbAndHsb)
{
    EXPECT_EQ(glimt::ColorStatusText(Px(255, 0, 0, 255)), QStringLiteral("R:255 G:0 B:0   H:0 S:100 B:100"));
    EXPECT_EQ(glimt::ColorStatusText(Px(128, 128, 128, 255)), QStringLiteral("R:128 G:128 B:128   H:0 S:0 B:50"))
        << "a grey's hue shows 0";
}

TEST(ColorPanel, SwatchBlendsOverTheCheckerboardAndKeepsItsLastRowAndColumn)
{
    QImage swatch(6, 5, QImage::Format_RGB32);
    swatch.fill(qRgb(1, 2, 3));
    const glimt::Checkerboard board{2, 0xFFFFFF, 0x000000};
    glimt::DrawSwatch(swatch, Px(200, 100, 50, 255), board);
    EXPECT_EQ(At(swatch, 0, 0), Px(200, 100, 50, 255));
    EXPECT_EQ(At(swatch, 4, 3), Px(200, 100, 50, 255));
    EXPECT_EQ(At(swatch, 5, 0), Px(1, 2, 3, 255)) << "last column untouched";
    EXPECT_EQ(At(swatch, 0, 4), Px(1, 2, 3, 255)) << "last row untouched";

    glimt::DrawSwatch(swatch, Px(200, 100, 50, 128), board);
    // (0, 0) lies on Color2 (black), (2, 0) on Color1 (white).
    EXPECT_EQ(At(swatch, 0, 0), Px(100, 50, 25, 255));
    EXPECT_EQ(At(swatch, 2, 0), Px((128 * 200 + 127 * 255) >> 8, (128 * 100 + 127 * 255) >> 8,
                                   (128 * 50 + 127 * 255) >> 8, 255));
    glimt::DrawSwatch(swatch, Px(200, 100, 50, 0), board);
    EXPECT_EQ(At(swatch, 2, 0), Px(254, 254, 254, 255)) << "transparent shows the board";
}

TEST(ColorPanel, FitPutsBothColoursOnEntries)
{
    const TmyPalette p16(16);
    struct Row {
        const char* name;
        TmyPixel fore, back;
        int selected;
        TmyPixel wantFore, wantBack;
        int wantIndex;
    } rows[] = {
        {"both absent", Px(1, 2, 3, 255), Px(4, 5, 6, 255), -1, Px(0, 0, 0, 255), Px(255, 255, 255, 255), 0},
        {"transparent never matches", Px(0, 0, 0, 0), Px(0, 0, 0, 0), -1, Px(0, 0, 0, 255), Px(255, 255, 255, 255), 0},
        {"present stay", Px(128, 128, 128, 255), Px(255, 0, 0, 255), -1, Px(128, 128, 128, 255), Px(255, 0, 0, 255), 7},
        {"stale selection", Px(255, 0, 0, 255), Px(255, 0, 0, 255), 3, Px(255, 0, 0, 255), Px(255, 0, 0, 255), 8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const glimt::TPaletteFit fit = glimt::FitColorsToPalette(p16, r.fore, r.back, r.selected);
        EXPECT_EQ(fit.Fore, r.wantFore);
        EXPECT_EQ(fit.Back, r.wantBack);
        EXPECT_EQ(fit.ForeIndex, r.wantIndex);
    }
    TmyPalette twins(16);
    twins.Colors[9] = twins.Colors[8];
    EXPECT_EQ(glimt::FitColorsToPalette(twins, Px(255, 0, 0, 255), Px(0, 0, 0, 255), 9).ForeIndex, 9)
        << "the selected one of two equal entries stays selected";
}

TEST(ColorPanel, ReplacePaletteEntryRewritesTheSelectedEntryAndItsPixels)
{
    const TmyPixel red = Px(255, 0, 0, 255), green = Px(0, 255, 0, 255), clear = Px(0, 0, 0, 0);
    struct Row {
        const char* name;
        int index;
        TmyPixel from, to;
        bool twins; // entry 1 holds red too
        bool entryChanged, pixelsFollow;
    } rows[] = {
        {"single holder", 8, red, green, false, true, true},
        {"two holders keep the pixels", 8, red, green, true, true, false},
        {"no entry selected", -1, red, green, false, false, false},
        {"index past the palette", 16, red, green, false, false, false},
        {"same colour", 8, red, red, false, false, false},
        {"transparent old colour", 8, clear, green, false, false, false},
        {"transparent new colour", 8, red, clear, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TmyImagePal image = glimt::test::MakeImage(3, 2, 4, {red, clear, red, green, red, clear});
        if (r.twins)
            image.Palette->Colors[1] = red;
        const TmyImagePal before = image;
        EXPECT_EQ(glimt::ReplacePaletteEntry(image, r.index, r.from, r.to), r.pixelsFollow);
        EXPECT_EQ(image.Palette->Colors[8] != before.Palette->Colors[8], r.entryChanged);
        if (r.entryChanged) {
            EXPECT_EQ(image.Palette->Colors[8], green);
        }
        EXPECT_EQ(image.Pixel(0, 0) == green, r.pixelsFollow);
        EXPECT_EQ(image.Pixel(1, 0), clear) << "transparent pixels stay";
        EXPECT_EQ(glimt::PaletteEditChanged(before, image), r.entryChanged || r.pixelsFollow);
    }
}

TEST(ColorPanel, LoadPaletteMapsThePixelsToTheLoadedColours)
{
    glimt::test::TempFiles files;
    // A colour table whose first entry is a dark red and the rest white.
    QByteArray act(768, char(255));
    act[0] = char(200);
    act[1] = 0;
    act[2] = 0;
    const QString path = files.Write(QStringLiteral("reds.act"), act);
    TmyImagePal image = glimt::test::MakeImage(2, 1, 4, {Px(255, 0, 0, 255), Px(0, 0, 0, 0)});
    const TmyImagePal before = image;
    glimt::LoadPaletteInto(image, path);
    EXPECT_EQ(image.Palette->Colors[0], Px(200, 0, 0, 255));
    EXPECT_EQ(image.Pixel(0, 0), Px(200, 0, 0, 255)) << "the red pixel went to the nearest loaded entry";
    EXPECT_EQ(image.Pixel(1, 0).A, 0);
    EXPECT_TRUE(glimt::PaletteEditChanged(before, image));

    TmyImagePal again = image;
    glimt::LoadPaletteInto(again, path);
    EXPECT_FALSE(glimt::PaletteEditChanged(image, again)) << "loading the same palette changes nothing";

    TmyImagePal missing = image;
    EXPECT_THROW(glimt::LoadPaletteInto(missing, files.Path(QStringLiteral("none.pal"))), glimt::Error);
    EXPECT_FALSE(glimt::PaletteEditChanged(image, missing));
}

} // namespace
