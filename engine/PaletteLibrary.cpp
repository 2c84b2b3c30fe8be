#include "engine/PaletteLibrary.h"

#include "engine/ColorQuantizationLibrary.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

// Nearest palette entry by the sum of absolute channel differences, the lowest index on a tie:
// the choice of TmyPalette::NearestIndex, with the answers for recent colours remembered.
class NearestMapper {
public:
    explicit NearestMapper(const TmyPalette& palette)
    {
        for (const TmyPixel& c : palette.Colors) {
            m_r.push_back(c.R);
            m_g.push_back(c.G);
            m_b.push_back(c.B);
        }
    }

    int Index(const TmyPixel& p)
    {
        const std::uint32_t key = (std::uint32_t(p.R) | (std::uint32_t(p.G) << 8) | (std::uint32_t(p.B) << 16)) | kValid;
        Slot& slot = m_cache[(key ^ (key >> 11) ^ (key >> 17)) & (kCacheSize - 1)];
        if (slot.key == key)
            return slot.index;
        const int index = Search(p);
        slot = {key, index};
        return index;
    }

    void Map(TmyImage& image)
    {
        if (m_r.empty())
            return;
        for (int y = 0; y < image.Height(); ++y) {
            TmyPixel* row = image.Row(y);
            for (int x = 0; x < image.Width(); ++x) {
                const int i = Index(row[x]);
                row[x].SetRGB(m_r[std::size_t(i)], m_g[std::size_t(i)], m_b[std::size_t(i)]);
            }
        }
    }

private:
    static constexpr std::uint32_t kValid = 0x80000000u;
    static constexpr std::size_t kCacheSize = 4096;
    struct Slot {
        std::uint32_t key = 0;
        int index = 0;
    };

    int Search(const TmyPixel& p) const
    {
        int best = 0;
        int bestDistance = 1 << 30;
        const int n = int(m_r.size());
        for (int i = 0; i < n; ++i) {
            const int d = std::abs(int(m_r[std::size_t(i)]) - p.R) + std::abs(int(m_g[std::size_t(i)]) - p.G) + std::abs(int(m_b[std::size_t(i)]) - p.B);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
                if (d == 0)
                    break;
            }
        }
        return best;
    }

    std::vector<std::uint8_t> m_r, m_g, m_b;
    std::vector<Slot> m_cache = std::vector<Slot>(kCacheSize);
};

// Below 128 a pixel becomes fully transparent black; from 128 to 254 it is laid over opaque
// white and made opaque.
void FlattenAlpha(TmyImage& image)
{
    for (int y = 0; y < image.Height(); ++y) {
        TmyPixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            TmyPixel& p = row[x];
            if (p.A < 128) {
                p = TmyPixel{};
            } else if (p.A < 255) {
                const int a = p.A;
                const int white = 255 * (255 - a);
                p.SetRGBA(std::uint8_t((white + a * p.R) / 255), std::uint8_t((white + a * p.G) / 255), std::uint8_t((white + a * p.B) / 255), 255);
            }
        }
    }
}

// The colours of the image as drawn opaque onto a black 24-bit bitmap (pixels with A above
// 128 in their colour, the others black), fed in the row order of a bottom-up bitmap.
void ScanOverBlack(const TmyImage& image, TColorQuantizer& quantizer)
{
    for (int y = image.Height() - 1; y >= 0; --y) {
        const TmyPixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            const TmyPixel& p = row[x];
            if (p.A > 128)
                quantizer.AddColor(p.R, p.G, p.B);
            else
                quantizer.AddColor(0, 0, 0);
        }
    }
}

} // namespace

void TPaletteLibrary::MapToOwnPalette(TmyImagePal& image)
{
    if (image.Palette)
        NearestMapper(*image.Palette).Map(image);
}

void TPaletteLibrary::MapToPalette(TmyImagePal& image, const TmyPalette& palette)
{
    NearestMapper(palette).Map(image);
}

void TPaletteLibrary::ConvertImageDepth(TmyImagePal& image, int bits)
{
    if (!TmyImagePal::IsValidDepth(bits))
        throw std::invalid_argument("colour depth must be 1, 4, 8, 24 or 32");
    const int entries = TmyImagePal::PaletteSizeFor(bits);
    if (entries > 0) {
        FlattenAlpha(image);
        TColorQuantizer quantizer(entries - 1, 6);
        ScanOverBlack(image, quantizer);
        const std::vector<TmyColor> table = quantizer.ExtractColorTable();

        if (image.Palette)
            image.Palette->SetCount(entries);
        else
            image.Palette.emplace(entries);
        TmyPalette& palette = *image.Palette;
        const int n = int(table.size());
        for (int i = 0; i < n; ++i)
            palette.Colors[std::size_t(i)].SetRGB(table[std::size_t(i)].R, table[std::size_t(i)].G, table[std::size_t(i)].B);
        // Transparent pixels are written as black, so the palette always holds it.
        if (palette.IndexOfColor(0) < 0 && n < palette.Count())
            palette.Colors[std::size_t(n)].SetRGB(0, 0, 0);
        MapToOwnPalette(image);
    } else {
        image.Palette.reset();
        if (image.BitDepth < 32) {
            for (std::size_t i = 0; i < image.PixelCount(); ++i) {
                TmyPixel& p = image.Data()[i];
                p.A = p.A != 0 ? 255 : 0;
            }
        } else if (bits != 32) {
            FlattenAlpha(image);
        }
    }
    image.BitDepth = std::uint8_t(bits);
}
