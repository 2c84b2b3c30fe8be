#include "bench/BenchSupport.h"

#include "engine/SafeFile.h"
#include "tests/support/IcoBuilder.h"

#include <QDir>
#include <QImage>

#include <cmath>

namespace glimt::bench {

namespace {

std::uint8_t Clamp(double v)
{
    return std::uint8_t(std::clamp(v, 0.0, 255.0));
}

// A small deterministic generator (the same pictures on every machine).
struct Grain {
    std::uint32_t state;
    int Next(int spread)
    {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % std::uint32_t(2 * spread + 1)) - spread;
    }
};

// Distance of (x, y) from the middle of a side x side square, 0 at the centre, 1 at `radius`.
double Radial(int x, int y, int side, double radius)
{
    const double c = (side - 1) / 2.0;
    return std::hypot(x - c, y - c) / radius;
}

// A shaded disc with a light from the top left, as icon artwork is drawn: `level` 0..1 of the
// shade inside the disc, negative outside it.
double DiscShade(int x, int y, int side)
{
    const double d = Radial(x, y, side, side * 0.45);
    if (d > 1.0)
        return -1;
    const double c = (side - 1) / 2.0;
    const double light = std::clamp(0.5 - ((x - c) + (y - c)) / (2.2 * side), 0.0, 1.0);
    return std::clamp(0.25 + 0.6 * light + (d > 0.9 ? -0.3 : 0.0) + 0.15 * (1 - d), 0.0, 1.0);
}

TmyPixel ShadeColour(double level)
{
    return TmyPixel::CreateRGBA(Clamp(40 + 200 * level), Clamp(90 + 140 * level), Clamp(200 - 120 * level), 255);
}

// The disc as a bitmap entry of `depth` bits: a palette of shades for 4 and 8 bits, soft
// alpha at the rim for 32 bits; the mask is set outside the disc.
glimt::test::DibSpec DiscDib(int side, int depth, unsigned seed)
{
    glimt::test::DibSpec spec;
    spec.Width = spec.Height = side;
    spec.BitDepth = depth;
    const int entries = depth == 4 ? 16 : 256;
    if (depth <= 8) {
        spec.Palette.push_back(TmyPixel::CreateRGBA(0, 0, 0, 255));
        for (int i = 1; i < entries; ++i)
            spec.Palette.push_back(ShadeColour(double(i) / (entries - 1)));
    }
    Grain grain{seed};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double level = DiscShade(x, y, side);
            const bool inside = level >= 0;
            spec.Mask.push_back(inside ? 0 : 1);
            if (depth <= 8) {
                const int i = inside ? std::clamp(1 + int(level * (entries - 2) + 0.5) + grain.Next(1), 1, entries - 1) : 0;
                spec.Indices.push_back(i);
            } else {
                TmyPixel p = inside ? ShadeColour(level) : TmyPixel{};
                if (inside && depth == 32) {
                    const double d = Radial(x, y, side, side * 0.45);
                    p.A = d > 0.93 ? Clamp(255 * (1.0 - d) / 0.07) : 255;
                }
                spec.Colors.push_back(p);
            }
        }
    return spec;
}

} // namespace

// The disc at 256x256 as a palette PNG: 255 shades and a transparent entry 0 (tRNS).
QByteArray DiscPalettePng(unsigned seed)
{
    QImage img(256, 256, QImage::Format_Indexed8);
    QList<QRgb> table;
    table.push_back(qRgba(0, 0, 0, 0));
    for (int i = 1; i < 256; ++i) {
        const TmyPixel c = ShadeColour(double(i) / 255);
        table.push_back(qRgb(c.R, c.G, c.B));
    }
    img.setColorTable(table);
    Grain grain{seed};
    for (int y = 0; y < 256; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < 256; ++x) {
            const double level = DiscShade(x, y, 256);
            row[x] = level < 0 ? 0 : uchar(std::clamp(1 + int(level * 253 + 0.5) + grain.Next(2), 1, 255));
        }
    }
    return glimt::test::QtPngBytes(img);
}

TmyImage PhotoLike(int width, int height, unsigned seed)
{
    TmyImage img(height, width);
    Grain grain{seed};
    const double phase = seed * 0.37;
    for (int y = 0; y < height; ++y) {
        TmyPixel* row = img.Row(y);
        for (int x = 0; x < width; ++x) {
            const double u = x * 256.0 / width, v = y * 256.0 / height;
            const double field = 60 * std::sin(u * 0.031 + 0.7 * std::sin(v * 0.023 + phase))
                                 + 25 * std::sin((u + v) * 0.071 + phase) + 12 * std::sin(u * 0.19) * std::sin(v * 0.17);
            const int g = grain.Next(6);
            row[x] = TmyPixel::CreateRGBA(Clamp(128 + field + g), Clamp(110 + 0.8 * field - 20 * std::sin(v * 0.05) + g),
                                          Clamp(90 - 0.5 * field + 30 * std::cos(u * 0.043) + g), 255);
        }
    }
    return img;
}

TmyImage PhotoIcon(int side, unsigned seed)
{
    TmyImage img = PhotoLike(side, side, seed);
    const double r = side * 0.16, c = (side - 1) / 2.0, half = side / 2.0 - 0.5;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            // Distance outside the rounded square, in pixels.
            const double dx = std::max(0.0, std::abs(x - c) - (half - r));
            const double dy = std::max(0.0, std::abs(y - c) - (half - r));
            const double out = std::hypot(dx, dy) - r;
            TmyPixel& p = img.Pixel(x, y);
            if (out >= 0.5)
                p = TmyPixel{};
            else if (out > -0.5)
                p.A = Clamp(255 * (0.5 - out));
        }
    return img;
}

QByteArray RealShapedIcon(unsigned seed)
{
    glimt::test::IcoBuilder ico;
    ico.AddPng(DiscPalettePng(seed), 256, 256, 8);
    for (int depth : {32, 8, 4})
        for (int side : {48, 32, 16})
            ico.AddDib(DiscDib(side, depth, seed));
    return ico.Build();
}

std::vector<QByteArray> RealIcons(int minImages)
{
    std::vector<QByteArray> icons;
    const QDir root(QStringLiteral(GLIMT_TESTDATA_DIR));
    for (const QString& folder : {QStringLiteral("nsis-graphics/Icons"), QStringLiteral("ico-pillow")}) {
        const QDir dir(root.filePath(folder));
        for (const QString& name : dir.entryList({QStringLiteral("*.ico")}, QDir::Files, QDir::Name)) {
            QByteArray bytes;
            try {
                bytes = glimt::ReadWholeFile(dir.filePath(name));
            } catch (const std::exception&) {
                continue;
            }
            const int count = bytes.size() >= 6 ? std::uint8_t(bytes[4]) | (std::uint8_t(bytes[5]) << 8) : 0;
            if (count >= minImages)
                icons.push_back(bytes);
        }
    }
    return icons;
}

} // namespace glimt::bench
