#include "engine/myimport.h"

#include "engine/BmpCodec.h"
#include "engine/ColorQuantizationLibrary.h"
#include "engine/GifCodec.h"
#include "engine/JpegCodec.h"
#include "engine/MyPainter.h"
#include "engine/Mypreview.h"
#include "engine/PngCodec.h"
#include "engine/SafeFile.h"
#include "engine/Settings.h"
#include "engine/myUndo.h"

#include <QImage>

#include <array>
#include <cstdlib>
#include <unordered_map>

namespace {

// The image drawn over a background colour: an opaque picture.
TmyImage Flatten(const TmyImagePal& image, TColor background = Options().PrevColor)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, background);
    return TmyImage::FromQImage(picture);
}

// The twenty static colours of the Windows default palette: the first ten go to table
// entries 0-9, the last ten to 246-255.
constexpr std::array<TColor, 20> StaticColors = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
    0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

TmyPixel Opaque(TColor c)
{
    TmyPixel p = TmyPixel::CreateColor(c);
    p.A = 255;
    return p;
}

// Octree colours of the pixels for which `use` is true (at most maxColors).
std::vector<TmyPixel> OctreeColors(const TmyImage& picture, const std::vector<bool>& use, int maxColors)
{
    TColorQuantizer quantizer(maxColors, 8);
    for (std::size_t i = 0; i < picture.PixelCount(); ++i)
        if (use[i]) {
            const TmyPixel& p = picture.Data()[i];
            quantizer.AddColor(p.R, p.G, p.B);
        }
    std::vector<TmyPixel> colors;
    for (const TmyColor& c : quantizer.ExtractColorTable())
        colors.push_back(TmyPixel::CreateRGBA(c.R, c.G, c.B, 255));
    return colors;
}

// Nearest table entry by squared distance; the first of equals wins.
class NearestColor {
public:
    explicit NearestColor(const std::vector<TmyPixel>& table) : m_table(table) {}
    std::uint8_t operator()(int r, int g, int b)
    {
        const std::uint32_t key = std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
        const auto hit = m_cache.find(key);
        if (hit != m_cache.end())
            return hit->second;
        int best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < m_table.size(); ++i) {
            const long dr = r - m_table[i].R, dg = g - m_table[i].G, db = b - m_table[i].B;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = int(i);
            }
        }
        m_cache.emplace(key, std::uint8_t(best));
        return std::uint8_t(best);
    }

private:
    const std::vector<TmyPixel>& m_table;
    std::unordered_map<std::uint32_t, std::uint8_t> m_cache;
};

// Floyd-Steinberg error diffusion of the pixels for which `use` is true onto the table; the
// error is spread over used neighbours only. Other indices are left as they are.
void Dither(const TmyImage& picture, const std::vector<bool>& use, const std::vector<TmyPixel>& table,
            std::vector<std::uint8_t>& indices)
{
    const int w = picture.Width(), h = picture.Height();
    NearestColor nearest(table);
    // Errors of this row and the next, times 16, with a spare column on each side.
    std::vector<std::array<int, 3>> cur(std::size_t(w) + 2), next(std::size_t(w) + 2);
    for (int y = 0; y < h; ++y) {
        std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            if (!use[i])
                continue;
            const TmyPixel& p = picture.Data()[i];
            int c[3] = {p.R, p.G, p.B};
            for (int k = 0; k < 3; ++k)
                c[k] = std::clamp(c[k] + cur[std::size_t(x) + 1][std::size_t(k)] / 16, 0, 255);
            const std::uint8_t index = nearest(c[0], c[1], c[2]);
            indices[i] = index;
            const TmyPixel& q = table[index];
            const int e[3] = {c[0] - q.R, c[1] - q.G, c[2] - q.B};
            auto spread = [&](std::vector<std::array<int, 3>>& row, int nx, int ny, int weight) {
                if (nx < 0 || nx >= w || ny >= h || !use[std::size_t(ny) * std::size_t(w) + std::size_t(nx)])
                    return;
                for (int k = 0; k < 3; ++k)
                    row[std::size_t(nx) + 1][std::size_t(k)] += e[k] * weight;
            };
            spread(cur, x + 1, y, 7);
            spread(next, x - 1, y + 1, 3);
            spread(next, x, y + 1, 5);
            spread(next, x + 1, y + 1, 1);
        }
        std::swap(cur, next);
    }
}

void Save(const QString& fileName, const QByteArray& bytes)
{
    glimt::WriteFileAtomically(fileName, bytes);
}

} // namespace

bool ColorPresent(const TmyImage& bitmap, std::uint8_t R, std::uint8_t G, std::uint8_t B)
{
    const TmyPixel* p = bitmap.Data();
    for (std::size_t i = 0; i < bitmap.PixelCount(); ++i)
        if (std::abs(p[i].R - R) < 15 && std::abs(p[i].G - G) < 15 && std::abs(p[i].B - B) < 15)
            return true;
    return false;
}

namespace glimt {

GifExport ReduceForGif(const TmyImagePal& image, bool exportAlpha, TColor background)
{
    GifExport out;
    out.Indices.assign(image.PixelCount(), 0);
    if (!exportAlpha) {
        const TmyImage flat = Flatten(image, background);
        const std::vector<bool> all(flat.PixelCount(), true);
        std::vector<TmyPixel> chosen = OctreeColors(flat, all, 236);
        chosen.resize(236, Opaque(0));
        for (int i = 0; i < 10; ++i)
            out.Colors.push_back(Opaque(StaticColors[std::size_t(i)]));
        out.Colors.insert(out.Colors.end(), chosen.begin(), chosen.end());
        for (int i = 10; i < 20; ++i)
            out.Colors.push_back(Opaque(StaticColors[std::size_t(i)]));
        Dither(flat, all, out.Colors, out.Indices);
        return out;
    }

    // Pixels of A above 126 are flattened onto white and become opaque; the others are the
    // transparent ones. Only the opaque pixels are reduced, to at most 255 colours, so that
    // one table entry stays free for the key colour; the transparent pixels, and exactly
    // those, get the key's index.
    TmyImage work = image;
    std::vector<bool> solid(work.PixelCount());
    const TmyPixel white = TmyPixel::CreateRGBA(255, 255, 255, 255);
    bool anyTransparent = false;
    for (std::size_t i = 0; i < work.PixelCount(); ++i) {
        TmyPixel& p = work.Data()[i];
        solid[i] = p.A > 126;
        if (solid[i]) {
            TmyPainter::CompositePixel(p, white, false);
            p.A = 255;
        } else {
            p = TmyPixel{};
            anyTransparent = true;
        }
    }
    out.Colors = OctreeColors(work, solid, 255);
    if (!out.Colors.empty())
        Dither(work, solid, out.Colors, out.Indices);
    if (!anyTransparent)
        return out;

    // The key: the first colour from white downwards (blue fastest, then green, then red)
    // that is not within 14 of any colour of the table.
    TmyPixel key = white;
    bool found = out.Colors.empty();
    TmyImage distinct(1, std::max(1, int(out.Colors.size())));
    std::copy(out.Colors.begin(), out.Colors.end(), distinct.Data());
    for (int r = 255; r >= 0 && !found; --r)
        for (int g = 255; g >= 0 && !found; --g)
            for (int b = 255; b >= 0 && !found; --b)
                if (!ColorPresent(distinct, std::uint8_t(r), std::uint8_t(g), std::uint8_t(b))) {
                    key = TmyPixel::CreateRGBA(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 255);
                    found = true;
                }
    out.TransparentIndex = int(out.Colors.size());
    out.Colors.push_back(key);
    for (std::size_t i = 0; i < work.PixelCount(); ++i)
        if (!solid[i])
            out.Indices[i] = std::uint8_t(out.TransparentIndex);
    return out;
}

} // namespace glimt

void TmyImport::ExportBmp(const QString& FileName, const TmyImagePal& image)
{
    glimt::BusyGuard busy;
    if (Options().ExportAlpha)
        Save(FileName, glimt::EncodeBmp(image, 32));
    else
        Save(FileName, glimt::EncodeBmp(Flatten(image), 24));
}

void TmyImport::ExportJpeg(const QString& FileName, const TmyImagePal& image)
{
    glimt::BusyGuard busy;
    Save(FileName, glimt::EncodeJpeg(Flatten(image)));
}

void TmyImport::ExportPng(const QString& FileName, const TmyImagePal& image)
{
    glimt::BusyGuard busy;
    Save(FileName, glimt::EncodePng(Options().ExportAlpha ? static_cast<const TmyImage&>(image) : Flatten(image)));
}

void TmyImport::ExportGif(const QString& FileName, const TmyImagePal& image)
{
    glimt::BusyGuard busy;
    const glimt::GifExport gif = glimt::ReduceForGif(image, Options().ExportAlpha, Options().PrevColor);
    std::vector<TmyPixel> colors = gif.Colors;
    if (colors.empty())
        colors.push_back(TmyPixel::CreateRGBA(0, 0, 0, 255));
    Save(FileName, glimt::EncodeGif(image.Width(), image.Height(), gif.Indices, colors, gif.TransparentIndex));
}
