#include "editor/ColorPanel.h"

#include "engine/BmpCodec.h"
#include "engine/Errors.h"
#include "engine/PaletteLibrary.h"
#include "engine/SafeFile.h"
#include "engine/language.h"

#include <QFileInfo>
#include <QPainter>
#include <array>
#include <cmath>

namespace glimt {

namespace {

QRgb ToRgb(TColor c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

constexpr TColor Rgb(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

constexpr std::array<TColor, kFavoriteColumns * kFavoriteRows> kFavoriteDefaults = {
    Rgb(0, 0, 0),       Rgb(255, 255, 255), Rgb(255, 204, 0),   Rgb(255, 255, 0),   Rgb(255, 255, 153),
    Rgb(255, 219, 157), Rgb(255, 153, 51),  Rgb(255, 121, 75),  Rgb(255, 51, 0),    Rgb(153, 0, 0),
    Rgb(51, 51, 102),   Rgb(0, 51, 153),    Rgb(0, 102, 204),   Rgb(0, 131, 215),   Rgb(0, 153, 255),
    Rgb(62, 154, 222),  Rgb(153, 204, 255), Rgb(180, 226, 255), Rgb(255, 204, 255), Rgb(204, 204, 255),
    Rgb(222, 255, 255), Rgb(153, 153, 255), Rgb(102, 102, 204), Rgb(153, 153, 204), Rgb(102, 102, 153),
    Rgb(0, 102, 0),     Rgb(0, 153, 0),     Rgb(102, 204, 51),  Rgb(153, 255, 102), Rgb(204, 255, 204),
};

// The full-strength colour of a hue in degrees (0..360), channels 0..1.
std::array<double, 3> PureHue(double degrees)
{
    const double h = std::fmod(degrees, 360.0) / 60.0;
    const int sector = int(std::floor(h));
    const double f = h - sector;
    switch (sector) {
    case 0: return {1, f, 0};
    case 1: return {1 - f, 1, 0};
    case 2: return {0, 1, f};
    case 3: return {0, 1 - f, 1};
    case 4: return {f, 0, 1};
    default: return {1, 0, 1 - f};
    }
}

} // namespace

QImage SpectrumPicture()
{
    QImage picture(kSpectrumSize, kSpectrumSize, QImage::Format_RGB32);
    constexpr int middle = kSpectrumSize / 2;
    constexpr int last = kSpectrumSize - 1;
    for (int y = 0; y < kSpectrumSize; ++y) {
        const std::array<double, 3> hue = PureHue(360.0 * y / last);
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kSpectrumSize; ++x) {
            std::array<int, 3> c{};
            for (int i = 0; i < 3; ++i) {
                const double full = 255.0 * hue[std::size_t(i)];
                const double v = x <= middle ? full * x / middle : full + (255.0 - full) * (x - middle) / (last - middle);
                c[std::size_t(i)] = int(std::lround(v));
            }
            row[x] = qRgb(c[0], c[1], c[2]);
        }
    }
    return picture;
}

TColor DefaultFavoriteColor(int index)
{
    if (index < 0 || index >= int(kFavoriteDefaults.size()))
        return 0;
    return kFavoriteDefaults[std::size_t(index)];
}

void FillFavoriteCell(QImage& picture, int index, TColor color)
{
    if (index < 0 || index >= kFavoriteColumns * kFavoriteRows)
        return;
    QPainter p(&picture);
    p.fillRect((index % kFavoriteColumns) * kFavoriteCell, (index / kFavoriteColumns) * kFavoriteCell, kFavoriteCell,
               kFavoriteCell, QColor(ToRgb(color)));
}

QImage DefaultFavoritesPicture()
{
    QImage picture(kFavoriteColumns * kFavoriteCell, kFavoriteRows * kFavoriteCell, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i < int(kFavoriteDefaults.size()); ++i)
        FillFavoriteCell(picture, i, kFavoriteDefaults[std::size_t(i)]);
    return picture;
}

QImage LoadFavoritesFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return DefaultFavoritesPicture();
    try {
        // A 60 x 72 bitmap is some 17 KB; anything far larger is not ours.
        const QByteArray bytes = ReadWholeFile(path, 1 << 20);
        const BmpPicture bmp = DecodeBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        if (bmp.Pixels.Width() != kFavoriteColumns * kFavoriteCell || bmp.Pixels.Height() != kFavoriteRows * kFavoriteCell)
            return DefaultFavoritesPicture();
        return bmp.Pixels.ToQImage().convertToFormat(QImage::Format_RGB32);
    } catch (const std::exception&) {
        return DefaultFavoritesPicture();
    }
}

void SaveFavoritesFile(const QImage& picture, const QString& path)
{
    WriteFileAtomically(path, EncodeBmp(TmyImage::FromQImage(picture.convertToFormat(QImage::Format_RGB32)), 24));
}

QSize PaletteGridSize(int count)
{
    if (count <= 0)
        return {};
    return {((count - 1) % kPaletteColumns) * kPaletteCell + kPaletteCell,
            ((count - 1) / kPaletteColumns) * kPaletteCell + kPaletteCell};
}

QImage PaletteGridPicture(const TmyPalette& palette)
{
    const QSize size = PaletteGridSize(palette.Count());
    if (size.isEmpty())
        return {};
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    for (int i = 0; i < palette.Count(); ++i)
        p.fillRect((i % kPaletteColumns) * kPaletteCell, (i / kPaletteColumns) * kPaletteCell, kPaletteCell,
                   kPaletteCell, QColor(ToRgb(palette.Colors[std::size_t(i)].GetColor())));
    return picture;
}

int PaletteGridIndex(int x, int y, int count)
{
    if (x < 0 || y < 0 || x >= kPaletteColumns * kPaletteCell)
        return -1;
    const int index = (y / kPaletteCell) * kPaletteColumns + x / kPaletteCell;
    return index < count ? index : -1;
}

void DrawSwatch(QImage& swatch, const TmyPixel& color, const Checkerboard& board)
{
    for (int y = 0; y < swatch.height() - 1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(swatch.scanLine(y));
        for (int x = 0; x < swatch.width() - 1; ++x) {
            if (color.A == 255) {
                row[x] = qRgb(color.R, color.G, color.B);
                continue;
            }
            const TmyPixel checker = TmyPixel::CreateColor(board.ColorAt(x, y));
            row[x] = qRgb(TmyPainter::LerpChannel(color.R, checker.R, color.A),
                          TmyPainter::LerpChannel(color.G, checker.G, color.A),
                          TmyPainter::LerpChannel(color.B, checker.B, color.A));
        }
    }
}

QString ClampEditText(const QString& text, int max)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    if (digits.isEmpty())
        return QStringLiteral("0");
    if (digits.size() > 3 || digits.toInt() > max)
        return QString::number(max);
    return digits;
}

QString ColorStatusText(const TmyPixel& color)
{
    std::int32_t h = 0, s = 0, v = 0;
    TmyPainter::RGBToHSV(color.R, color.G, color.B, h, s, v);
    if (h < 0)
        h = 0;
    return QStringLiteral("%1:%2 %3:%4 %5:%6   %7:%8 %9:%10 %11:%12")
        .arg(Msg("msgRed", "R"))
        .arg(color.R)
        .arg(Msg("msgGreen", "G"))
        .arg(color.G)
        .arg(Msg("msgBlue", "B"))
        .arg(color.B)
        .arg(Msg("msgHue", "H"))
        .arg(h)
        .arg(Msg("msgSaturation", "S"))
        .arg(s)
        .arg(Msg("msgBrightness", "B"))
        .arg(v);
}

TPaletteFit FitColorsToPalette(const TmyPalette& palette, const TmyPixel& fore, const TmyPixel& back, int selected)
{
    TPaletteFit fit{fore, back, -1, false};
    if (palette.Count() == 0)
        return fit;
    if (selected >= 0 && selected < palette.Count() && palette.Colors[std::size_t(selected)] == fore) {
        fit.ForeIndex = selected;
    } else {
        fit.ForeIndex = palette.IndexOf(fore);
        if (fit.ForeIndex < 0) {
            fit.ForeIndex = 0;
            fit.Fore = Opaque(palette.Colors[0]);
        }
    }
    if (palette.IndexOf(back) < 0) {
        fit.Back = Opaque(palette.Colors.back());
        fit.BackMoved = true;
    }
    return fit;
}

bool ReplacePaletteEntry(TmyImagePal& image, int index, const TmyPixel& oldColor, const TmyPixel& newColor)
{
    if (!image.Palette || index < 0 || index >= image.Palette->Count() || oldColor == newColor || oldColor.A == 0
        || newColor.A == 0)
        return false;
    TmyPalette& palette = *image.Palette;
    int holders = 0;
    for (const TmyPixel& entry : palette.Colors)
        holders += entry == oldColor ? 1 : 0;
    const TmyPixel entry = Opaque(newColor);
    palette.Colors[std::size_t(index)] = entry;
    if (holders > 1)
        return false;
    bool rewritten = false;
    TmyPixel* p = image.Data();
    for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i) {
        if (p[i] == oldColor) {
            p[i] = entry;
            rewritten = true;
        }
    }
    return rewritten;
}

void LoadPaletteInto(TmyImagePal& image, const QString& fileName)
{
    if (!image.Palette)
        return;
    // The mapping runs whatever the file gave, so the pixels always match the palette shown.
    try {
        image.Palette->LoadFromFile(fileName);
    } catch (...) {
        TPaletteLibrary::MapToPalette(image, *image.Palette);
        throw;
    }
    TPaletteLibrary::MapToPalette(image, *image.Palette);
}

bool PaletteEditChanged(const TmyImagePal& before, const TmyImagePal& after)
{
    if (before.Palette.has_value() != after.Palette.has_value())
        return true;
    if (before.Palette && !(*before.Palette == *after.Palette))
        return true;
    return !before.SamePixels(after);
}

} // namespace glimt
